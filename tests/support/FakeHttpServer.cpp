#include "FakeHttpServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

#include "framework/Unicode.h"

namespace gaugery::test {

namespace {

constexpr int PollMs = 20;

// The request's head, read until its blank line (or until the client stops sending).
std::string ReadHead(int Connection) {
  std::string Head;
  char Chunk[4096];
  while (Head.find("\r\n\r\n") == std::string::npos) {
    pollfd Poll{Connection, POLLIN, 0};
    if (poll(&Poll, 1, 2000) <= 0) break;
    const ssize_t Read = recv(Connection, Chunk, sizeof Chunk, 0);
    if (Read <= 0) break;
    Head.append(Chunk, static_cast<std::size_t>(Read));
  }
  return Head;
}

std::string TargetOf(const std::string& Head) {
  const std::size_t Start = Head.find(' ');
  const std::size_t End = Head.find(' ', Start + 1);
  return Start == std::string::npos || End == std::string::npos
             ? std::string()
             : Head.substr(Start + 1, End - Start - 1);
}

// The bytes sent before the client hung up.
std::size_t SendAll(int Connection, const std::string& Bytes) {
  std::size_t Sent = 0;
  while (Sent < Bytes.size()) {
    const ssize_t Written = send(Connection, Bytes.data() + Sent, Bytes.size() - Sent, MSG_NOSIGNAL);
    if (Written <= 0) break;
    Sent += static_cast<std::size_t>(Written);
  }
  return Sent;
}

}  // namespace

TFakeHttpServer::TFakeHttpServer(THandler Handler) : Handler_(std::move(Handler)) {
  Listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t Size = sizeof Address;
  if (Listener_ < 0 || bind(Listener_, reinterpret_cast<sockaddr*>(&Address), Size) != 0 ||
      listen(Listener_, 16) != 0 ||
      getsockname(Listener_, reinterpret_cast<sockaddr*>(&Address), &Size) != 0)
    throw std::runtime_error("the fake HTTP server cannot listen");
  Port_ = ntohs(Address.sin_port);
  Thread_ = std::thread([this] { Serve(); });
}

TFakeHttpServer::~TFakeHttpServer() {
  Stopping_ = true;
  Thread_.join();
  close(Listener_);
}

std::string TFakeHttpServer::ComputerName() const { return "127.0.0.1:" + std::to_string(Port_); }

void TFakeHttpServer::Serve() {
  std::vector<int> Waiting;  // connections left without a reply
  while (!Stopping_) {
    pollfd Poll{Listener_, POLLIN, 0};
    if (poll(&Poll, 1, PollMs) <= 0) continue;
    const int Connection = accept4(Listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (Connection < 0) continue;
    ++Requests_;
    const std::string Reply = Handler_(TargetOf(ReadHead(Connection)));
    if (Reply.empty()) {
      Waiting.push_back(Connection);
      continue;
    }
    LastReplySent_ = SendAll(Connection, Reply);
    close(Connection);
  }
  for (const int Connection : Waiting) close(Connection);
}

std::string GaugeryReply(const std::string& Body, int Status) {
  return "HTTP/1.1 " + std::to_string(Status) + " Status\r\nServer: gaugery/test\r\n" +
         "Content-Length: " + std::to_string(Body.size()) + "\r\n\r\n" + Body;
}

std::string MultiStringBytes(const std::vector<TPerfNameEntry>& Pairs) {
  WideString Text;
  for (const TPerfNameEntry& Pair : Pairs) {
    Text += ToWide(std::to_string(Pair.Index));
    Text += u'\0';
    Text += ToWide(Pair.Text);
    Text += u'\0';
  }
  Text += u'\0';
  std::string Bytes;
  for (const WCHAR Unit : Text) {
    Bytes += static_cast<char>(Unit & 0xFF);
    Bytes += static_cast<char>(Unit >> 8);
  }
  return Bytes;
}

}  // namespace gaugery::test
