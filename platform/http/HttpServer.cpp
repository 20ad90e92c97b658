#include "http/HttpServer.h"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <algorithm>
#include <thread>
#include <vector>

#include "http/HttpConnection.h"
#include "http/SocketRecords.h"

namespace gaugery::http {

namespace {

namespace asio = boost::asio;
using asio::ip::tcp;

constexpr auto Await = asio::as_tuple(asio::use_awaitable);

// A failed accept (out of descriptors, say) is tried again after this pause, rather
// than at once in a loop.
constexpr std::chrono::milliseconds AcceptRetryPause{100};

// A context per serving thread, each run by that thread alone: a connection lives on
// one, so its handlers never run at the same time and need no strand (whose shared
// locks the loop would make one at a time, among the connections' memory).
std::vector<std::unique_ptr<asio::io_context>> MakeContexts(unsigned Threads) {
  std::vector<std::unique_ptr<asio::io_context>> Contexts;
  for (unsigned I = 0; I < std::max(Threads, 1u); ++I)
    Contexts.push_back(std::make_unique<asio::io_context>(1));
  return Contexts;
}

std::vector<asio::io_context*> Pointers(const std::vector<std::unique_ptr<asio::io_context>>& Contexts) {
  std::vector<asio::io_context*> All;
  for (const auto& Context : Contexts) All.push_back(Context.get());
  return All;
}

}  // namespace

struct TServer::TImpl {
  explicit TImpl(TServerLimits Limits)
      : Contexts(MakeContexts(Limits.Threads)),
        Acceptor(Main()),
        Records(Pointers(Contexts)),
        Setup(std::make_shared<TServerSetup>()),
        Counts(std::make_shared<TAddressCounts>(Limits.MaxConnectionsPerAddress)) {
    Setup->Limits = Limits;
  }

  // Accepting, the timers of RunAt and the resolver are on the first context.
  asio::io_context& Main() { return *Contexts.front(); }
  // The contexts take the connections in turn.
  asio::io_context& NextContext() { return *Contexts[Accepted++ % Contexts.size()]; }
  asio::awaitable<void> Accept();
  void Admit(tcp::socket Socket);

  std::vector<std::unique_ptr<asio::io_context>> Contexts;
  std::size_t Accepted = 0;
  tcp::acceptor Acceptor;
  TSocketRecords Records;
  std::shared_ptr<TServerSetup> Setup;
  std::shared_ptr<TAddressCounts> Counts;
};

asio::awaitable<void> TServer::TImpl::Accept() {
  asio::steady_timer Pause(Main());
  for (;;) {
    auto [Error, Socket] = co_await Acceptor.async_accept(NextContext(), Await);
    if (Error == asio::error::operation_aborted || !Acceptor.is_open()) co_return;
    if (!Error) {
      Admit(std::move(Socket));
      continue;
    }
    Pause.expires_after(AcceptRetryPause);
    co_await Pause.async_wait(Await);
  }
}

void TServer::TImpl::Admit(tcp::socket Socket) {
  boost::system::error_code Error;
  const tcp::endpoint Peer = Socket.remote_endpoint(Error);
  if (Error) return;
  std::string Client = Peer.address().to_string();
  std::unique_ptr<TAddressSlot> Slot = Counts->Take(Client);
  if (!Slot) return;  // the socket closes as it goes out of scope
  Records.ReserveFor(Counts->Total());
  std::make_shared<TConnection>(std::move(Socket), Setup, std::move(Slot), std::move(Client))->Start();
}

TServer::TServer(TServerLimits Limits) : Impl_(std::make_shared<TImpl>(Limits)) {}

TServer::~TServer() = default;

void TServer::Handle(std::string Path, THandler Handler) {
  Impl_->Setup->Routes.Add(std::move(Path), std::move(Handler));
}

void TServer::HandleUnder(std::string Prefix, THandler Handler) {
  Impl_->Setup->Routes.AddUnder(std::move(Prefix), std::move(Handler));
}

void TServer::SetFilter(TFilter Filter) { Impl_->Setup->Filter = std::move(Filter); }

void TServer::SetLogger(TLogger Logger) { Impl_->Setup->Logger = std::move(Logger); }

void TServer::SetDefaultHeader(std::string Name, std::string Value) {
  Impl_->Setup->DefaultHeaders.emplace_back(std::move(Name), std::move(Value));
}

void TServer::RunAt(std::chrono::steady_clock::time_point When, std::function<void()> Work) {
  auto Timer = std::make_shared<asio::steady_timer>(Impl_->Main(), When);
  Timer->async_wait([Timer, Work = std::move(Work)](boost::system::error_code Error) {
    if (!Error) Work();
  });
}

int TServer::Bind(const std::string& Host, int Port) {
  boost::system::error_code Error;
  tcp::resolver Resolver(Impl_->Main());
  const auto Found = Resolver.resolve(Host, std::to_string(Port),
                                      tcp::resolver::passive | tcp::resolver::numeric_service, Error);
  if (Error || Found.empty()) throw EBindError("cannot find the address " + Host, false);
  tcp::acceptor& Acceptor = Impl_->Acceptor;
  const tcp::endpoint Endpoint = Found.begin()->endpoint();
  Acceptor.open(Endpoint.protocol(), Error);
#ifndef _WIN32
  // A restarted server binds while old connections linger. (On Windows the same option
  // would let a second server take the address.)
  if (!Error) Acceptor.set_option(tcp::acceptor::reuse_address(true), Error);
#endif
  if (!Error) Acceptor.bind(Endpoint, Error);
  if (!Error) Acceptor.listen(asio::socket_base::max_listen_connections, Error);
  if (Error) {
    boost::system::error_code Ignored;
    Acceptor.close(Ignored);
    throw EBindError(Error.message(), Error == asio::error::address_in_use);
  }
  return Acceptor.local_endpoint().port();
}

void TServer::Run() {
  asio::co_spawn(Impl_->Main(), Impl_->Accept(), asio::detached);
  std::vector<std::thread> Helpers;
  for (std::size_t I = 1; I < Impl_->Contexts.size(); ++I) {
    asio::io_context& Context = *Impl_->Contexts[I];
    // A context has no work of its own until a first connection comes to it.
    Helpers.emplace_back([&Context, Waiting = asio::make_work_guard(Context)] { Context.run(); });
  }
  Impl_->Main().run();
  for (std::thread& Helper : Helpers) Helper.join();
}

void TServer::Stop() {
  for (const auto& Context : Impl_->Contexts) Context->stop();
}

}  // namespace gaugery::http
