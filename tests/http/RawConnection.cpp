#include "RawConnection.h"

#include <boost/asio/buffer.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>

namespace gaugery::test {

namespace {

namespace asio = boost::asio;
using asio::ip::tcp;

}  // namespace

TRawConnection::TRawConnection(int Port, const std::string& Source) : Socket_(Io_) {
  boost::system::error_code Error;
  tcp::socket& Socket = Socket_;
  Socket.open(tcp::v4(), Error);
  if (!Source.empty()) Socket.bind(tcp::endpoint(asio::ip::make_address(Source), 0), Error);
  Socket.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<std::uint16_t>(Port)),
                 Error);
  Closed_ = static_cast<bool>(Error);
}

bool TRawConnection::Send(const std::string& Bytes) {
  boost::system::error_code Error;
  asio::write(Socket_, asio::buffer(Bytes), Error);
  return !Error;
}

bool TRawConnection::ReadSome(std::string& Into, std::chrono::steady_clock::time_point Deadline) {
  char Chunk[16 * 1024];
  boost::system::error_code Result;
  std::size_t Read = 0;
  asio::steady_timer Timer(Io_, Deadline);
  Timer.async_wait([&](boost::system::error_code Error) {
    if (!Error) Socket_.cancel();
  });
  Socket_.async_read_some(asio::buffer(Chunk), [&](boost::system::error_code Error, std::size_t Bytes) {
    Result = Error;
    Read = Bytes;
    Timer.cancel();
  });
  Io_.restart();
  Io_.run();
  Into.append(Chunk, Read);
  // Cancelled by the timer: the time is up, the connection stays.
  if (Result && Result != asio::error::operation_aborted) Closed_ = true;
  return !Result;
}

std::string TRawConnection::Receive(std::chrono::milliseconds Timeout) {
  const auto Deadline = std::chrono::steady_clock::now() + Timeout;
  std::string Received;
  while (!Closed_ && ReadSome(Received, Deadline)) {
  }
  return Received;
}

std::string TRawConnection::ReceiveAnswer(std::chrono::milliseconds Timeout) {
  const auto Deadline = std::chrono::steady_clock::now() + Timeout;
  std::string Received = std::move(Unread_);
  Unread_.clear();
  for (;;) {
    const std::size_t HeadEnd = Received.find("\r\n\r\n");
    if (HeadEnd != std::string::npos) {
      const std::size_t Length = Received.find("Content-Length: ");
      const std::size_t End = HeadEnd + 4 + (Length < HeadEnd ? std::stoul(Received.substr(Length + 16)) : 0);
      if (Received.size() >= End) {
        Unread_ = Received.substr(End);
        return Received.substr(0, End);
      }
    }
    if (Closed_ || !ReadSome(Received, Deadline)) return Received;
  }
}

int StatusOf(const std::string& Answer) {
  return Answer.starts_with("HTTP/1.") && Answer.size() >= 12 ? std::stoi(Answer.substr(9, 3)) : 0;
}

std::string BodyOf(const std::string& Answer) {
  const std::size_t HeadEnd = Answer.find("\r\n\r\n");
  return HeadEnd == std::string::npos ? std::string() : Answer.substr(HeadEnd + 4);
}

TRunningServer::TRunningServer(const http::TServerLimits& Limits,
                               const std::function<void(http::TServer&)>& Setup)
    : Server_(Limits) {
  Setup(Server_);
  Port_ = Server_.Bind("127.0.0.1", 0);
  Thread_ = std::thread([this] { Server_.Run(); });
}

TRunningServer::~TRunningServer() {
  Server_.Stop();
  Thread_.join();
}

}  // namespace gaugery::test
