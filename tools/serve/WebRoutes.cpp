#include "WebRoutes.h"

#include "ServeRequests.h"
#include "WebAssets.h"
#include "WebData.h"
#include "http/HttpServer.h"

namespace gaugery::cli {

namespace {

using http::TRequest;
using http::TResponder;
using http::TResponse;

constexpr char JsonType[] = "application/json; charset=utf-8";

void Send(TResponder& Responder, const TWebAnswer& Answer) {
  TResponse Res;
  Res.Status = Answer.Status;
  // Values change at every sample: a browser asks again rather than keep one.
  Res.SetHeader("Cache-Control", "no-store");
  Res.SetBody(Answer.Body, JsonType);
  Responder.Send(std::move(Res));
}

void SendAsset(const TRequest& Req, TResponder Responder) {
  const std::optional<TWebAsset> Asset = FindWebAsset(Req.Path());
  if (!Asset) return Responder.Send(http::StatusAnswer(404));
  TResponse Res;
  // A newer program serves a newer page: the browser checks before it uses its copy.
  Res.SetHeader("Cache-Control", "no-cache");
  Res.SetHeader("X-Content-Type-Options", "nosniff");
  Res.SetBody(std::string(Asset->Bytes.data(), Asset->Bytes.size()), std::string(Asset->Type));
  Responder.Send(std::move(Res));
}

}  // namespace

bool IsWebViewPath(std::string_view Path) {
  return Path == "/" || Path.starts_with("/web/") || Path.starts_with("/api/");
}

void AddWebRoutes(http::TServer& Http, TWebData& Data) {
  Http.Handle("/", SendAsset);
  Http.HandleUnder("/web/", SendAsset);
  Http.Handle("/api/values", [&Data](const TRequest& Req, TResponder Responder) {
    Send(Responder, Data.Values(QueryParameters(Req.Query())));
  });
  Http.Handle("/api/names", [&Data](const TRequest&, TResponder Responder) { Send(Responder, Data.Names()); });
  Http.Handle("/api/processes", [&Data](const TRequest& Req, TResponder Responder) {
    Send(Responder, Data.Processes(QueryParameters(Req.Query())));
  });
}

}  // namespace gaugery::cli
