#include "http/HttpClient.h"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/buffer.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "http/ReplyHead.h"

namespace gaugery::http {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
using asio::ip::tcp;
using TClock = std::chrono::steady_clock;
using TEndpoints = std::vector<tcp::endpoint>;

constexpr auto Await = asio::as_tuple(asio::use_awaitable);
constexpr std::size_t ReceiveChunk = 64 * 1024;

// What a lookup found, shared between the caller and the thread that looks it up.
struct TLookup {
  std::mutex Lock;
  std::condition_variable Finished;
  bool Done = false;
  TEndpoints Found;
};

// The addresses of a host. A numeric address is read at once; a name is looked up on a
// thread of its own, so that a slow resolver cannot keep the caller past the deadline
// (the thread finishes on its own time).
TEndpoints LookUp(const std::string& Host, std::uint16_t Port, TClock::time_point Deadline) {
  boost::system::error_code Error;
  const asio::ip::address Numeric = asio::ip::make_address(Host, Error);
  if (!Error) return {tcp::endpoint(Numeric, Port)};
  auto Lookup = std::make_shared<TLookup>();
  try {
    std::thread([Lookup, Host, Port] {
      asio::io_context Io;
      boost::system::error_code LookupError;
      const auto Results = tcp::resolver(Io).resolve(Host, std::to_string(Port),
                                                     tcp::resolver::numeric_service, LookupError);
      TEndpoints Found;
      if (!LookupError)
        for (const auto& Entry : Results) Found.push_back(Entry.endpoint());
      const std::lock_guard<std::mutex> Guard(Lookup->Lock);
      Lookup->Found = std::move(Found);
      Lookup->Done = true;
      Lookup->Finished.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return {};
  }
  std::unique_lock<std::mutex> Guard(Lookup->Lock);
  if (!Lookup->Finished.wait_until(Guard, Deadline, [&] { return Lookup->Done; })) return {};
  return Lookup->Found;
}

// Reads the reply until its head and Content-Length bytes of body have arrived.
asio::awaitable<std::optional<TReply>> ReceiveReply(beast::tcp_stream& Stream, const TClientLimits& Limits) {
  std::string Received;
  TReplyHead Head;
  bool HeadRead = false;
  std::vector<char> Chunk(ReceiveChunk);
  while (!HeadRead || Received.size() < Head.Length + Head.ContentLength) {
    const auto [Error, Read] = co_await Stream.async_read_some(asio::buffer(Chunk), Await);
    if (Error) co_return std::nullopt;  // out of time, or closed before the reply was complete
    Received.append(Chunk.data(), Read);
    if (HeadRead) continue;
    switch (ParseReplyHead(Received, Head)) {
      case THeadParse::Invalid:
        co_return std::nullopt;
      case THeadParse::Incomplete:
        if (Received.size() > Limits.MaxHeadBytes) co_return std::nullopt;
        break;
      case THeadParse::Complete:
        if (Head.Length > Limits.MaxHeadBytes || Head.ContentLength > Limits.MaxBodyBytes)
          co_return std::nullopt;
        HeadRead = true;
        Received.reserve(Head.Length + Head.ContentLength);
        break;
    }
  }
  Received.erase(0, Head.Length);
  Received.resize(Head.ContentLength);
  co_return TReply{Head.Status, std::move(Head.Server), std::move(Received)};
}

asio::awaitable<std::optional<TReply>> Converse(beast::tcp_stream& Stream, const TEndpoints& Endpoints,
                                                const std::string& Request, const TClientLimits& Limits) {
  const auto [ConnectError, Connected] = co_await Stream.async_connect(Endpoints, Await);
  if (ConnectError) co_return std::nullopt;
  const auto [WriteError, Written] = co_await asio::async_write(Stream, asio::buffer(Request), Await);
  if (WriteError) co_return std::nullopt;
  co_return co_await ReceiveReply(Stream, Limits);
}

}  // namespace

std::optional<TReply> Exchange(const std::string& Host, std::uint16_t Port, const std::string& Request,
                               const TClientLimits& Limits) {
  const TClock::time_point Deadline = TClock::now() + Limits.Timeout;
  const TEndpoints Endpoints = LookUp(Host, Port, Deadline);
  if (Endpoints.empty()) return std::nullopt;
  asio::io_context Io;
  beast::tcp_stream Stream(Io);
  Stream.expires_at(Deadline);
  std::optional<TReply> Reply;
  asio::co_spawn(Io, Converse(Stream, Endpoints, Request, Limits),
                 [&Reply](std::exception_ptr, std::optional<TReply> Result) { Reply = std::move(Result); });
  Io.run();
  return Reply;
}

}  // namespace gaugery::http
