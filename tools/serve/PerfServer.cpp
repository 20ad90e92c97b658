#include "PerfServer.h"

#include <algorithm>
#include <iostream>
#include <mutex>
#include <thread>

#include "ServeRequests.h"
#include "ServeSamples.h"
#include "ServedNames.h"
#include "WebData.h"
#include "WebRoutes.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "http/HttpServer.h"
#include "registry/RemoteProtocol.h"

namespace gaugery::cli {

namespace {

using http::TRequest;
using http::TResponse;

// Threads of the server: samples and their rendering take a lock, so a few suffice.
constexpr unsigned MostThreads = 4;

constexpr char TextType[] = "text/plain; charset=utf-8";
constexpr char BinaryType[] = "application/octet-stream";

std::string ContentTypeOf(exposition::TExpositionFormat Format) {
  return Format == exposition::TExpositionFormat::OpenMetrics
             ? "application/openmetrics-text; version=1.0.0; charset=utf-8"
             : "text/plain; version=0.0.4; charset=utf-8";
}

// Text from the network, fit for one log line: control characters as "?", at most
// 200 bytes.
std::string LoggableText(std::string_view Text) {
  constexpr std::size_t Longest = 200;
  std::string Line;
  for (const char C : Text.substr(0, Longest))
    Line += static_cast<unsigned char>(C) < 0x20 || C == 0x7F ? '?' : C;
  if (Text.size() > Longest) Line += "...";
  return Line;
}

void Answer(TResponse& Res, int Status, const std::string& Text) {
  Res.Status = Status;
  Res.SetBody(Text + "\n", TextType);
}

// A handler that answers at once; one that throws answers 500.
template <typename TServe>
http::THandler AtOnce(TServe Serve) {
  return [Serve = std::move(Serve)](const TRequest& Req, http::TResponder Responder) {
    TResponse Res;
    try {
      Serve(Req, Res);
    } catch (const std::exception&) {
      Res = TResponse();
      Answer(Res, 500, "The request could not be answered");
    }
    Responder.Send(std::move(Res));
  };
}

http::TServerLimits ServerLimits() {
  http::TServerLimits Limits;
  Limits.Threads = std::clamp(std::thread::hardware_concurrency(), 2u, MostThreads);
  return Limits;
}

}  // namespace

struct TPerfServer::TImpl {
  explicit TImpl(TServeOptions Given)
      : Options(std::move(Given)),
        Samples(Options.Interval, EnglishHelpTexts()),
        Perflib(ReadServedPerflib()),
        Web({std::chrono::duration_cast<std::chrono::milliseconds>(Options.Interval), Options.History}),
        Http(ServerLimits()) {}

  void Configure();
  bool CheckRequest(const TRequest& Req, TResponse& Res) const;
  void ServeMetrics(const TRequest& Req, TResponse& Res);
  void ServePerfDataWhenNewer(const TRequest& Req, http::TResponder Responder);
  void ServePerfData(const std::optional<std::string>& Value, TResponse& Res);
  void ServeLocaleValue(const TRequest& Req, TResponse& Res) const;
  void LogError(const TRequest& Req, const TResponse& Res);

  TServeOptions Options;
  TServeSamples Samples;
  const TServedPerflib Perflib;
  TWebData Web;
  http::TServer Http;
  std::mutex LogLock;
};

void TPerfServer::TImpl::Configure() {
  Http.SetDefaultHeader("Server", "gaugery/" GAUGERY_VERSION);
  Http.SetFilter([this](const TRequest& Req, TResponse& Res) { return CheckRequest(Req, Res); });
  AddWebRoutes(Http, Web);
  Http.Handle("/metrics", AtOnce([this](const TRequest& Req, TResponse& Res) { ServeMetrics(Req, Res); }));
  Http.Handle(std::string(PerfDataPath), [this](const TRequest& Req, http::TResponder Responder) {
    ServePerfDataWhenNewer(Req, std::move(Responder));
  });
  const auto LocaleList = AtOnce([this](const TRequest&, TResponse& Res) {
    Res.SetBody(Perflib.LocaleList(), TextType);
  });
  // With its slash or without.
  Http.Handle(std::string(PerflibPath.substr(0, PerflibPath.size() - 1)), LocaleList);
  Http.Handle(std::string(PerflibPath), LocaleList);
  Http.HandleUnder(std::string(PerflibPath), AtOnce([this](const TRequest& Req, TResponse& Res) {
    ServeLocaleValue(Req, Res);
  }));
  Http.SetLogger([this](const TRequest& Req, const TResponse& Res) {
    if (Res.Status >= 400) LogError(Req, Res);
  });
}

bool TPerfServer::TImpl::CheckRequest(const TRequest& Req, TResponse& Res) const {
  if (Req.Method != "GET" && Req.Method != "HEAD") {
    Res.SetHeader("Allow", "GET, HEAD");
    Answer(Res, 405, "Only GET and HEAD are answered: the server only reads");
    return true;
  }
  if (!Req.Body.empty() || Req.HasHeader("Transfer-Encoding")) {
    // The body is not taken: the connection ends with the answer.
    Res.Close = true;
    Answer(Res, 413, "A request body is not accepted");
    return true;
  }
  if (!Options.Token.empty() && !IsAuthorized(Req.Header("Authorization"), Options.Token)) {
    // A browser asks for the token as a password.
    if (IsWebViewPath(Req.Path())) Res.Headers.emplace_back("WWW-Authenticate", "Basic realm=\"gaugery\"");
    Res.Headers.emplace_back("WWW-Authenticate", "Bearer realm=\"gaugery\"");
    Answer(Res, 401, "A bearer token is required");
    return true;
  }
  return false;
}

void TPerfServer::TImpl::ServeMetrics(const TRequest& Req, TResponse& Res) {
  const exposition::TExpositionFormat Format = NegotiatedFormat(Req.Header("Accept"));
  const bool Gzip = AcceptsGzip(Req.Header("Accept-Encoding"));
  std::shared_ptr<const std::string> Text = Samples.Metrics(Format, Gzip);
  if (!Text) return Answer(Res, 503, "No performance data could be read");
  Res.SetHeader("Vary", "Accept-Encoding");
  if (Gzip) Res.SetHeader("Content-Encoding", "gzip");
  Res.ShareBody(std::move(Text), ContentTypeOf(Format));
}

void TPerfServer::TImpl::ServePerfDataWhenNewer(const TRequest& Req, http::TResponder Responder) {
  std::optional<std::string> Value = PerfDataValue(Req.Query());
  const std::optional<std::int64_t> Held = HeldSample(Req.Header(HeldSampleHeader));
  const auto Due = Value && Held ? Samples.NewerSampleDue(*Held) : std::nullopt;
  auto Answering = AtOnce([this, Value = std::move(Value)](const TRequest&, TResponse& Res) {
    ServePerfData(Value, Res);
  });
  if (!Due) return Answering(Req, std::move(Responder));
  // The request ends with this handler; the answer made later reads nothing of it.
  Http.RunAt(*Due, [Answering = std::move(Answering), Request = TRequest(),
                    Responder = std::make_shared<http::TResponder>(std::move(Responder))] {
    Answering(Request, std::move(*Responder));
  });
}

void TPerfServer::TImpl::ServePerfData(const std::optional<std::string>& Value, TResponse& Res) {
  if (!Value) return Answer(Res, 400, "Expected /perfdata?value=Global or value=INDEX+INDEX...");
  std::shared_ptr<const std::string> Block = Samples.Block(*Value);
  if (!Block) return Answer(Res, 503, "No performance data could be read");
  Res.ShareBody(std::move(Block), BinaryType);
}

void TPerfServer::TImpl::ServeLocaleValue(const TRequest& Req, TResponse& Res) const {
  const std::optional<TLocaleValuePath> Path = LocaleValuePath(Req.Path());
  const TServedLocale* Locale = Path ? Perflib.Find(Path->Locale) : nullptr;
  const bool Counter = Locale && SameText(Path->Value, std::string(CounterValueName));
  if (Locale == nullptr || (!Counter && !SameText(Path->Value, std::string(HelpValueName))))
    return Answer(Res, 404, "No such locale or value; see /perflib/");
  Res.SetBody(Counter ? Locale->Counter : Locale->Help, BinaryType);
}

void TPerfServer::TImpl::LogError(const TRequest& Req, const TResponse& Res) {
  const std::string Request = Req.Method.empty() ? std::string("(unreadable request)")
                                                 : Req.Method + " " + LoggableText(Req.Target);
  const std::lock_guard<std::mutex> Guard(LogLock);
  const std::string Client = Req.Client.empty() ? std::string("?") : Req.Client;
  std::cerr << "gaugery serve: " << Client << " " << Request << ": " << Res.Status << " "
            << http::StatusText(Res.Status) << std::endl;
}

TPerfServer::TPerfServer(TServeOptions Options) : Impl_(std::make_unique<TImpl>(std::move(Options))) {
  Impl_->Configure();
}

TPerfServer::~TPerfServer() = default;

int TPerfServer::Bind() {
  const TRemoteAddress& Listen = Impl_->Options.Listen;
  try {
    return Impl_->Http.Bind(Listen.Host, Listen.Port);
  } catch (const http::EBindError& Error) {
    if (Error.AddressInUse())
      throw Exception("Cannot listen on " + AddressText(Listen) + ": address already in use");
    throw Exception("Cannot listen on " + AddressText(Listen));
  }
}

void TPerfServer::Run() { Impl_->Http.Run(); }

void TPerfServer::Stop() { Impl_->Http.Stop(); }

}  // namespace gaugery::cli
