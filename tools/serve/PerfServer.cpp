#include "PerfServer.h"

#include <httplib.h>

#include <cerrno>
#include <iostream>
#include <mutex>

#include "ServeRequests.h"
#include "ServeSamples.h"
#include "ServedNames.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "registry/RemoteProtocol.h"

namespace gaugery::cli {

namespace {

using httplib::Request;
using httplib::Response;
using THandled = httplib::Server::HandlerResponse;

// Worker threads: a scraper or reader keeps its connection for its next request, so
// the pool is larger than the cores to let many of them wait at once.
constexpr std::size_t WorkerThreads = 64;
constexpr time_t RequestTimeoutSeconds = 5;
constexpr std::size_t KeepAliveRequests = 100;
// GET requests carry no body; a request with one is refused with 413 (so is a body
// the library would read, beyond this size).
constexpr std::size_t LargestBody = 1024;

constexpr char TextType[] = "text/plain; charset=utf-8";
constexpr char BinaryType[] = "application/octet-stream";

std::string_view ContentTypeOf(exposition::TExpositionFormat Format) {
  return Format == exposition::TExpositionFormat::OpenMetrics
             ? "application/openmetrics-text; version=1.0.0; charset=utf-8"
             : "text/plain; version=0.0.4; charset=utf-8";
}

std::string_view StatusText(int Status) {
  switch (Status) {
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 413:
      return "Payload Too Large";
    case 414:
      return "URI Too Long";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Error";
  }
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

// Sends a text of the samples without copying it: the answer holds a share of it while
// it is being sent, however many answers send the same text at once.
void ShareContent(Response& Res, std::shared_ptr<const std::string> Text, const std::string& Type) {
  const std::size_t Size = Text->size();
  Res.set_content_provider(
      Size, Type,
      [Text = std::move(Text)](std::size_t Offset, std::size_t Length, httplib::DataSink& Sink) {
        return Sink.write(Text->data() + Offset, Length);
      });
}

void Answer(Response& Res, int Status, const std::string& Text) {
  Res.status = Status;
  Res.set_content(Text + "\n", TextType);
}

}  // namespace

struct TPerfServer::TImpl {
  explicit TImpl(TServeOptions Given)
      : Options(std::move(Given)),
        Samples(Options.Interval, EnglishHelpTexts()),
        Perflib(ReadServedPerflib()) {}

  void Configure();
  THandled CheckRequest(const Request& Req, Response& Res) const;
  void ServeIndex(Response& Res) const;
  void ServeMetrics(const Request& Req, Response& Res);
  void ServePerfData(const Request& Req, Response& Res);
  void ServeLocaleValue(const Request& Req, Response& Res) const;
  void LogError(const Request& Req, const Response& Res);

  TServeOptions Options;
  TServeSamples Samples;
  const TServedPerflib Perflib;
  httplib::Server Http;
  std::mutex LogLock;
};

void TPerfServer::TImpl::Configure() {
  // Address reuse lets a restarted server bind while old connections linger; the
  // library's default would add port reuse, with which a second server binds the same
  // address and takes a share of its requests.
  Http.set_socket_options([](socket_t Socket) {
    const int Yes = 1;
    setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Yes, sizeof Yes);
  });
  Http.new_task_queue = [] { return new httplib::ThreadPool(WorkerThreads); };
  Http.set_default_headers({{"Server", "gaugery/" GAUGERY_VERSION}});
  Http.set_read_timeout(RequestTimeoutSeconds);
  Http.set_write_timeout(RequestTimeoutSeconds);
  Http.set_keep_alive_timeout(RequestTimeoutSeconds);
  Http.set_keep_alive_max_count(KeepAliveRequests);
  Http.set_payload_max_length(LargestBody);
  Http.set_pre_routing_handler([this](const Request& Req, Response& Res) {
    return CheckRequest(Req, Res);
  });
  Http.Get("/", [this](const Request&, Response& Res) { ServeIndex(Res); });
  Http.Get("/metrics", [this](const Request& Req, Response& Res) { ServeMetrics(Req, Res); });
  Http.Get(std::string(PerfDataPath),
           [this](const Request& Req, Response& Res) { ServePerfData(Req, Res); });
  Http.Get(std::string(PerflibPath) + "?", [this](const Request&, Response& Res) {
    Res.set_content(Perflib.LocaleList(), TextType);
  });
  Http.Get(std::string(PerflibPath) + "([^/]+)/([^/]+)",
           [this](const Request& Req, Response& Res) { ServeLocaleValue(Req, Res); });
  Http.set_error_handler([](const Request&, Response& Res) {
    if (Res.body.empty()) Answer(Res, Res.status, std::string(StatusText(Res.status)));
  });
  Http.set_exception_handler([](const Request&, Response& Res, std::exception_ptr) {
    Answer(Res, 500, "The request could not be answered");
  });
  Http.set_logger([this](const Request& Req, const Response& Res) {
    if (Res.status >= 400) LogError(Req, Res);
  });
}

THandled TPerfServer::TImpl::CheckRequest(const Request& Req, Response& Res) const {
  if (Req.method != "GET" && Req.method != "HEAD") {
    Res.set_header("Allow", "GET, HEAD");
    Answer(Res, 405, "Only GET and HEAD are answered: the server only reads");
    return THandled::Handled;
  }
  if (Req.get_header_value<std::uint64_t>("Content-Length") > 0 || Req.has_header("Transfer-Encoding")) {
    // The body is not read: the connection ends with the answer.
    Res.set_header("Connection", "close");
    Answer(Res, 413, "A request body is not accepted");
    return THandled::Handled;
  }
  if (!Options.Token.empty() &&
      !IsAuthorized(Req.get_header_value("Authorization"), Options.Token)) {
    Res.set_header("WWW-Authenticate", "Bearer realm=\"gaugery\"");
    Answer(Res, 401, "A bearer token is required");
    return THandled::Handled;
  }
  return THandled::Unhandled;
}

void TPerfServer::TImpl::ServeIndex(Response& Res) const {
  Res.set_content(
      "gaugery serve: the performance data of this computer\n"
      "  /metrics                 Prometheus exposition of the latest sample\n"
      "  /perfdata?value=Global   the raw performance data block (or ?value=INDEX+INDEX...)\n"
      "  /perflib/                the installed locales of the name tables\n"
      "  /perflib/LOCALE/Counter  a locale's names, /perflib/LOCALE/Help its help texts\n",
      TextType);
}

void TPerfServer::TImpl::ServeMetrics(const Request& Req, Response& Res) {
  const exposition::TExpositionFormat Format = NegotiatedFormat(Req.get_header_value("Accept"));
  const bool Gzip = AcceptsGzip(Req.get_header_value("Accept-Encoding"));
  std::shared_ptr<const std::string> Text = Samples.Metrics(Format, Gzip);
  if (!Text) return Answer(Res, 503, "No performance data could be read");
  Res.set_header("Vary", "Accept-Encoding");
  if (Gzip) Res.set_header("Content-Encoding", "gzip");
  ShareContent(Res, std::move(Text), std::string(ContentTypeOf(Format)));
}

void TPerfServer::TImpl::ServePerfData(const Request& Req, Response& Res) {
  const std::size_t Question = Req.target.find('?');
  const std::optional<std::string> Value =
      PerfDataValue(Question == std::string::npos ? std::string_view()
                                                  : std::string_view(Req.target).substr(Question + 1));
  if (!Value) return Answer(Res, 400, "Expected /perfdata?value=Global or value=INDEX+INDEX...");
  std::shared_ptr<const std::string> Block = Samples.Block(*Value);
  if (!Block) return Answer(Res, 503, "No performance data could be read");
  ShareContent(Res, std::move(Block), BinaryType);
}

void TPerfServer::TImpl::ServeLocaleValue(const Request& Req, Response& Res) const {
  const TServedLocale* Locale = Perflib.Find(Req.matches[1].str());
  const std::string Value = Req.matches[2].str();
  if (Locale == nullptr || (!SameText(Value, std::string(CounterValueName)) &&
                            !SameText(Value, std::string(HelpValueName))))
    return Answer(Res, 404, "No such locale or value; see /perflib/");
  Res.set_content(SameText(Value, std::string(CounterValueName)) ? Locale->Counter : Locale->Help,
                  BinaryType);
}

void TPerfServer::TImpl::LogError(const Request& Req, const Response& Res) {
  const std::string Request = Req.method.empty() ? std::string("(unreadable request)")
                                                 : Req.method + " " + LoggableText(Req.target);
  const std::lock_guard<std::mutex> Guard(LogLock);
  const std::string Client = Req.remote_addr.empty() ? std::string("?") : Req.remote_addr;
  std::cerr << "gaugery serve: " << Client << " " << Request << ": " << Res.status << " "
            << StatusText(Res.status) << std::endl;
}

TPerfServer::TPerfServer(TServeOptions Options) : Impl_(std::make_unique<TImpl>(std::move(Options))) {
  Impl_->Configure();
}

TPerfServer::~TPerfServer() = default;

int TPerfServer::Bind() {
  const TRemoteAddress& Listen = Impl_->Options.Listen;
  errno = 0;
  const int Port = Listen.Port == 0 ? Impl_->Http.bind_to_any_port(Listen.Host)
                                    : (Impl_->Http.bind_to_port(Listen.Host, Listen.Port)
                                           ? int{Listen.Port}
                                           : -1);
  if (Port < 0 && errno == EADDRINUSE)
    throw Exception("Cannot listen on " + AddressText(Listen) + ": address already in use");
  if (Port < 0) throw Exception("Cannot listen on " + AddressText(Listen));
  return Port;
}

void TPerfServer::Run() { Impl_->Http.listen_after_bind(); }

void TPerfServer::Stop() { Impl_->Http.stop(); }

}  // namespace gaugery::cli
