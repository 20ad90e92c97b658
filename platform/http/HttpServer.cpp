#include "http/HttpServer.h"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/use_awaitable.hpp>

#include "http/HttpConnection.h"
#include "http/ServingContexts.h"
#include "http/SocketRecords.h"

namespace gaugery::http {

namespace {

namespace asio = boost::asio;
using asio::ip::tcp;

constexpr auto Await = asio::as_tuple(asio::use_awaitable);

// A failed accept (out of descriptors, say) is tried again after this pause, rather
// than at once in a loop.
constexpr std::chrono::milliseconds AcceptRetryPause{100};

}  // namespace

struct TServer::TImpl {
  explicit TImpl(TServerLimits Limits)
      : Contexts(Limits.Threads),
        Acceptor(Contexts.Main()),
        Records(Contexts.All()),
        Setup(std::make_shared<TServerSetup>()),
        Counts(std::make_shared<TAddressCounts>(Limits.MaxConnectionsPerAddress,
                                                [this] { Contexts.ReturnFreedMemory(); })) {
    Setup->Limits = Limits;
  }

  asio::awaitable<void> Accept();
  void Admit(tcp::socket Socket);

  TServingContexts Contexts;
  tcp::acceptor Acceptor;
  TSocketRecords Records;
  std::shared_ptr<TServerSetup> Setup;
  std::shared_ptr<TAddressCounts> Counts;
};

asio::awaitable<void> TServer::TImpl::Accept() {
  asio::steady_timer Pause(Contexts.Main());
  for (;;) {
    auto [Error, Socket] = co_await Acceptor.async_accept(Contexts.NextExecutor(), Await);
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
  auto Timer = std::make_shared<asio::steady_timer>(Impl_->Contexts.Main(), When);
  Timer->async_wait([Timer, Work = std::move(Work)](boost::system::error_code Error) {
    if (!Error) Work();
  });
}

int TServer::Bind(const std::string& Host, int Port) {
  boost::system::error_code Error;
  tcp::resolver Resolver(Impl_->Contexts.Main());
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
  asio::co_spawn(Impl_->Contexts.Main(), Impl_->Accept(), asio::detached);
  Impl_->Contexts.Run();
}

void TServer::Stop() { Impl_->Contexts.Stop(); }

}  // namespace gaugery::http
