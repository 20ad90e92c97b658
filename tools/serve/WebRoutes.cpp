#include "WebRoutes.h"

#include <httplib.h>

#include "WebAssets.h"
#include "WebData.h"

namespace gaugery::cli {

namespace {

constexpr char JsonType[] = "application/json; charset=utf-8";

void Send(httplib::Response& Res, const TWebAnswer& Answer) {
  Res.status = Answer.Status;
  // Values change at every sample: a browser asks again rather than keep one.
  Res.set_header("Cache-Control", "no-store");
  Res.set_content(Answer.Body, JsonType);
}

void SendAsset(const httplib::Request& Req, httplib::Response& Res) {
  const std::optional<TWebAsset> Asset = FindWebAsset(Req.path);
  if (!Asset) {
    Res.status = 404;
    return;
  }
  // A newer program serves a newer page: the browser checks before it uses its copy.
  Res.set_header("Cache-Control", "no-cache");
  Res.set_header("X-Content-Type-Options", "nosniff");
  Res.set_content(Asset->Bytes.data(), Asset->Bytes.size(), std::string(Asset->Type));
}

TQueryParameters QueryOf(const httplib::Request& Req) {
  return {Req.params.begin(), Req.params.end()};
}

}  // namespace

bool IsWebViewPath(const std::string& Path) {
  return Path == "/" || Path.starts_with("/web/") || Path.starts_with("/api/");
}

void AddWebRoutes(httplib::Server& Http, TWebData& Data) {
  Http.Get("/", SendAsset);
  Http.Get("/web/[^/]+", SendAsset);
  Http.Get("/api/values", [&Data](const httplib::Request& Req, httplib::Response& Res) {
    Send(Res, Data.Values(QueryOf(Req)));
  });
  Http.Get("/api/names",
           [&Data](const httplib::Request&, httplib::Response& Res) { Send(Res, Data.Names()); });
  Http.Get("/api/processes", [&Data](const httplib::Request&, httplib::Response& Res) {
    Send(Res, Data.Processes());
  });
}

}  // namespace gaugery::cli
