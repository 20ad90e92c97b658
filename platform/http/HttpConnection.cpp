#include "http/HttpConnection.h"

#include <algorithm>

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/span_body.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>

#include "http/AsciiText.h"

namespace gaugery::http {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace bhttp = boost::beast::http;

constexpr auto Await = asio::as_tuple(asio::use_awaitable);

// Bytes asked of the socket at once while waiting for the next request.
constexpr std::size_t FirstReadBytes = 4096;

// After an answer that ends the connection, what the client still sends is read and
// dropped for a while: closing on unread bytes would reset the connection, and the
// client could lose the answer.
constexpr std::chrono::seconds DrainTime{1};
constexpr std::size_t MostDrainedBytes = 256 * 1024;

using TRequestParser = bhttp::request_parser<bhttp::string_body>;

TRequest RequestOf(const TRequestParser::value_type& Message, const std::string& Client) {
  TRequest Request;
  Request.Method = std::string(Message.method_string());
  Request.Target = std::string(Message.target());
  Request.Client = Client;
  for (const auto& Field : Message)
    Request.Headers.emplace_back(std::string(Field.name_string()), std::string(Field.value()));
  return Request;
}

// Whether the head announces a body beyond Most bytes (a chunked one may be any size).
bool BodyOverLimit(const TRequestParser& Parser, std::size_t Most) {
  return Parser.chunked() || Parser.content_length().value_or(0) > Most;
}

// Errors after which the connection just ends: the client left or ran out of time.
bool IsDeparture(const boost::system::error_code& Error) {
  return Error == bhttp::error::end_of_stream || Error == bhttp::error::partial_message ||
         Error == beast::error::timeout || Error == asio::error::eof ||
         Error == asio::error::connection_reset || Error == asio::error::operation_aborted ||
         Error == asio::error::connection_aborted;
}

}  // namespace

TConnection::TConnection(asio::ip::tcp::socket Socket, std::shared_ptr<const TServerSetup> Setup,
                         std::unique_ptr<TAddressSlot> Slot, std::string Client)
    : Stream_(std::move(Socket)),
      AnswerReady_(Stream_.get_executor()),
      Setup_(std::move(Setup)),
      Slot_(std::move(Slot)),
      Client_(std::move(Client)) {}

void TConnection::Start() {
  asio::co_spawn(Stream_.get_executor(), Serve(shared_from_this()), asio::detached);
}

void TConnection::Deliver(TResponse Response) {
  asio::post(Stream_.get_executor(), [Self = shared_from_this(), Response = std::move(Response)]() mutable {
    Self->Pending_ = std::move(Response);
    Self->AnswerReady_.cancel();
  });
}

asio::awaitable<void> TConnection::Serve(std::shared_ptr<TConnection> Self) {
  // The first head is due within its time from the connection on; a further one may
  // keep the client idle first.
  Stream_.expires_after(Setup_->Limits.HeadTimeout);
  for (bool First = true;; First = false) {
    if (!First && !co_await AwaitNextRequest()) break;
    std::optional<TIncoming> Incoming = co_await ReadRequest();
    if (!Incoming) break;
    // (No co_await within a conditional expression: GCC 12 miscompiles it.)
    TResponse Response = StatusAnswer(Incoming->Refusal);
    if (!Incoming->Refusal) Response = co_await Answer(Incoming->Request);
    const bool KeepAlive = Incoming->KeepAlive && !Incoming->Refusal && !Response.Close;
    if (Setup_->Logger) Setup_->Logger(Incoming->Request, Response);
    const bool Sent = co_await Send(Incoming->Request, Response, KeepAlive);
    if (!Sent) break;
    if (!KeepAlive) {
      co_await Drain();
      break;
    }
  }
  Close();
  (void)Self;
}

asio::awaitable<bool> TConnection::AwaitNextRequest() {
  if (Buffer_.size() > 0) {  // a request sent before the answer came
    Stream_.expires_after(Setup_->Limits.HeadTimeout);
    co_return true;
  }
  Stream_.expires_after(Setup_->Limits.IdleTimeout);
  const auto [Error, Read] = co_await Stream_.async_read_some(Buffer_.prepare(FirstReadBytes), Await);
  if (Error) co_return false;
  Buffer_.commit(Read);
  Stream_.expires_after(Setup_->Limits.HeadTimeout);
  co_return true;
}

asio::awaitable<std::optional<TIncoming>> TConnection::ReadRequest() {
  const TServerLimits& Limits = Setup_->Limits;
  TRequestParser Parser;
  Parser.header_limit(static_cast<std::uint32_t>(Limits.MaxHeadBytes));
  Parser.body_limit(Limits.MaxBodyBytes);
  TIncoming Incoming;
  Incoming.Request.Client = Client_;
  const auto [HeadError, HeadBytes] = co_await bhttp::async_read_header(Stream_, Buffer_, Parser, Await);
  if (HeadError && IsDeparture(HeadError)) co_return std::nullopt;
  // A Content-Length over the limit ends the head's reading with that error.
  if (HeadError && HeadError != bhttp::error::body_limit) {
    Incoming.Refusal = 400;
    co_return Incoming;
  }
  Version_ = Parser.get().version();
  Incoming.Request = RequestOf(Parser.get(), Client_);
  // A Content-Length over the limit can end the head before its last field.
  Incoming.KeepAlive = Parser.is_header_done() && Parser.keep_alive();
  if (HeadError || BodyOverLimit(Parser, Limits.MaxBodyBytes)) {
    Incoming.Refusal = 413;  // refused unread: the connection ends with the answer
    co_return Incoming;
  }
  if (!Parser.is_done()) {
    const auto [BodyError, BodyBytes] = co_await bhttp::async_read(Stream_, Buffer_, Parser, Await);
    if (BodyError) co_return std::nullopt;
  }
  Incoming.Request.Body = std::move(Parser.get().body());
  co_return Incoming;
}

asio::awaitable<TResponse> TConnection::Answer(const TRequest& Request) {
  TResponse Response;
  if (Setup_->Filter && Setup_->Filter(Request, Response)) co_return Response;
  const THandler* Handler = Setup_->Routes.Find(Request.Path());
  if (!Handler) co_return StatusAnswer(404);
  Pending_.reset();
  try {
    (*Handler)(Request, TResponder(shared_from_this()));
  } catch (...) {
    // The responder, dropped on the way out, answers 500 unless the answer was sent.
  }
  while (!Pending_) {
    AnswerReady_.expires_at(asio::steady_timer::time_point::max());
    co_await AnswerReady_.async_wait(Await);
  }
  co_return std::move(*Pending_);
}

asio::awaitable<bool> TConnection::Send(const TRequest& Request, const TResponse& Response,
                                        bool KeepAlive) {
  bhttp::response<bhttp::span_body<const char>> Message;
  Message.version(Version_);
  Message.result(static_cast<unsigned>(Response.Status));
  for (const auto& [Name, Value] : Setup_->DefaultHeaders) Message.set(Name, Value);
  // A header of the answer replaces a default one of its name; repeated, it is sent as
  // often as it is given.
  for (auto At = Response.Headers.begin(); At != Response.Headers.end(); ++At) {
    const bool Repeated = std::any_of(Response.Headers.begin(), At, [&](const auto& Earlier) {
      return SameAsciiWord(Earlier.first, At->first);
    });
    if (Repeated)
      Message.insert(At->first, At->second);
    else
      Message.set(At->first, At->second);
  }
  if (Response.Body) Message.body() = {Response.Body->data(), Response.Body->size()};
  Message.keep_alive(KeepAlive);
  Message.prepare_payload();
  Stream_.expires_after(Setup_->Limits.SendTimeout);
  boost::system::error_code Error;
  if (Request.Method == "HEAD") {
    bhttp::response_serializer<bhttp::span_body<const char>> Serializer(Message);
    std::tie(Error, std::ignore) = co_await bhttp::async_write_header(Stream_, Serializer, Await);
  } else {
    std::tie(Error, std::ignore) = co_await bhttp::async_write(Stream_, Message, Await);
  }
  co_return !Error;
}

asio::awaitable<void> TConnection::Drain() {
  boost::system::error_code Error;
  Stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, Error);
  Stream_.expires_after(DrainTime);
  for (std::size_t Drained = 0; !Error && Drained < MostDrainedBytes;) {
    std::size_t Read = 0;
    std::tie(Error, Read) = co_await Stream_.async_read_some(Buffer_.prepare(FirstReadBytes), Await);
    Drained += Read;
  }
}

void TConnection::Close() {
  boost::system::error_code Ignored;
  Stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, Ignored);
  Stream_.socket().close(Ignored);
}

TResponder::TResponder(std::shared_ptr<TConnection> Connection) : Connection_(std::move(Connection)) {}

TResponder::TResponder(TResponder&& Other) noexcept = default;

TResponder::~TResponder() {
  if (Connection_) Connection_->Deliver(StatusAnswer(500));
}

void TResponder::Send(TResponse Response) {
  if (!Connection_) return;
  Connection_->Deliver(std::move(Response));
  Connection_.reset();
}

}  // namespace gaugery::http
