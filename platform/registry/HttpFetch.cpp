#include "registry/HttpFetch.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace gaugery {

namespace {

using TClock = std::chrono::steady_clock;

constexpr std::size_t ReceiveChunk = 64 * 1024;

// --- Reading the head

bool IsAsciiAlnum(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9');
}

bool IsTokenChar(char C) {
  return IsAsciiAlnum(C) || std::string_view("!#$%&'*+-.^_`|~").find(C) != std::string_view::npos;
}

bool SameAsciiWord(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           return (X | 0x20) == (Y | 0x20);
         });
}

std::string_view TrimmedBlanks(std::string_view Text) {
  while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) Text.remove_prefix(1);
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
  return Text;
}

bool ParseStatusLine(std::string_view Line, int& Status) {
  if (!Line.starts_with("HTTP/1.0 ") && !Line.starts_with("HTTP/1.1 ")) return false;
  Line.remove_prefix(9);
  if (Line.size() < 3 || (Line.size() > 3 && Line[3] != ' ')) return false;
  const auto [End, Error] = std::from_chars(Line.data(), Line.data() + 3, Status);
  return Error == std::errc() && End == Line.data() + 3 && Status >= 200 && Status <= 599;
}

bool ParseContentLength(std::string_view Value, std::size_t& Length) {
  std::size_t Parsed = 0;
  const auto [End, Error] = std::from_chars(Value.data(), Value.data() + Value.size(), Parsed);
  if (Value.empty() || Value.size() > 18 || Error != std::errc() ||
      End != Value.data() + Value.size())
    return false;
  Length = Parsed;
  return true;
}

// One "Name: value" line; false for a malformed line or a header the client refuses.
bool ReadHeaderLine(std::string_view Line, THttpReplyHead& Head, bool& HasLength) {
  const std::size_t Colon = Line.find(':');
  if (Colon == 0 || Colon == std::string_view::npos) return false;
  const std::string_view Name = Line.substr(0, Colon);
  if (!std::all_of(Name.begin(), Name.end(), IsTokenChar)) return false;
  const std::string_view Value = TrimmedBlanks(Line.substr(Colon + 1));
  if (SameAsciiWord(Name, "Transfer-Encoding")) return false;
  if (SameAsciiWord(Name, "Server")) Head.Server = std::string(Value);
  if (!SameAsciiWord(Name, "Content-Length")) return true;
  std::size_t Length = 0;
  if (!ParseContentLength(Value, Length) || (HasLength && Length != Head.ContentLength))
    return false;
  Head.ContentLength = Length;
  HasLength = true;
  return true;
}

bool HasNoBody(int Status) { return Status == 204 || Status == 304; }

// --- The connection

// A socket, closed when it goes out of scope.
class TSocket {
 public:
  explicit TSocket(int Fd) : Fd_(Fd) {}
  ~TSocket() {
    if (Fd_ >= 0) close(Fd_);
  }
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;
  int Fd() const { return Fd_; }

 private:
  int Fd_;
};

int MillisecondsLeft(TClock::time_point Deadline) {
  const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - TClock::now());
  return static_cast<int>(std::max<std::chrono::milliseconds::rep>(Left.count(), 0));
}

// Waits until the socket is ready for Events; false when the deadline passes first.
bool WaitFor(int Fd, short Events, TClock::time_point Deadline) {
  for (;;) {
    pollfd Poll{Fd, Events, 0};
    const int Ready = poll(&Poll, 1, MillisecondsLeft(Deadline));
    if (Ready > 0) return true;
    if (Ready == 0 || errno != EINTR) return false;
  }
}

// The result of getaddrinfo, shared between the caller and the thread that looks it up.
struct TLookup {
  std::mutex Lock;
  std::condition_variable Finished;
  bool Done = false;
  addrinfo* Result = nullptr;
  ~TLookup() {
    if (Result) freeaddrinfo(Result);
  }
};

using TAddresses = std::vector<std::pair<sockaddr_storage, socklen_t>>;

TAddresses CopyAddresses(const addrinfo* List) {
  TAddresses Addresses;
  for (const addrinfo* At = List; At; At = At->ai_next) {
    sockaddr_storage Storage{};
    const auto Length = std::min<socklen_t>(At->ai_addrlen, sizeof Storage);
    std::copy_n(reinterpret_cast<const char*>(At->ai_addr), Length,
                reinterpret_cast<char*>(&Storage));
    Addresses.emplace_back(Storage, Length);
  }
  return Addresses;
}

// The addresses of a host. A numeric address is read at once; a name is looked up on a
// thread of its own, so that a slow resolver cannot keep the caller past the deadline
// (the thread finishes on its own time and frees what it found).
TAddresses LookUp(const TRemoteAddress& Address, TClock::time_point Deadline) {
  const std::string Port = std::to_string(Address.Port);
  addrinfo Hints{};
  Hints.ai_socktype = SOCK_STREAM;
  Hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* Numeric = nullptr;
  if (getaddrinfo(Address.Host.c_str(), Port.c_str(), &Hints, &Numeric) == 0) {
    TAddresses Addresses = CopyAddresses(Numeric);
    freeaddrinfo(Numeric);
    return Addresses;
  }
  auto Lookup = std::make_shared<TLookup>();
  try {
    std::thread([Lookup, Host = Address.Host, Port] {
      addrinfo NameHints{};
      NameHints.ai_socktype = SOCK_STREAM;
      NameHints.ai_flags = AI_NUMERICSERV;
      addrinfo* Found = nullptr;
      if (getaddrinfo(Host.c_str(), Port.c_str(), &NameHints, &Found) != 0) Found = nullptr;
      const std::lock_guard<std::mutex> Guard(Lookup->Lock);
      Lookup->Result = Found;
      Lookup->Done = true;
      Lookup->Finished.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return {};
  }
  std::unique_lock<std::mutex> Guard(Lookup->Lock);
  if (!Lookup->Finished.wait_until(Guard, Deadline, [&] { return Lookup->Done; })) return {};
  return CopyAddresses(Lookup->Result);
}

bool ConnectWithin(int Fd, const sockaddr_storage& Storage, socklen_t Length,
                   TClock::time_point Deadline) {
  if (connect(Fd, reinterpret_cast<const sockaddr*>(&Storage), Length) != 0 &&
      (errno != EINPROGRESS || !WaitFor(Fd, POLLOUT, Deadline)))
    return false;
  int Error = 0;
  socklen_t ErrorSize = sizeof Error;
  return getsockopt(Fd, SOL_SOCKET, SO_ERROR, &Error, &ErrorSize) == 0 && Error == 0;
}

// A connected socket to the first address that accepts, or -1.
int Connect(const TAddresses& Addresses, TClock::time_point Deadline) {
  for (const auto& [Storage, Length] : Addresses) {
    const int Fd = socket(Storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (Fd < 0) continue;
    if (ConnectWithin(Fd, Storage, Length, Deadline)) return Fd;
    close(Fd);
  }
  return -1;
}

bool SendAll(int Fd, std::string_view Bytes, TClock::time_point Deadline) {
  while (!Bytes.empty()) {
    if (!WaitFor(Fd, POLLOUT, Deadline)) return false;
    const ssize_t Sent = send(Fd, Bytes.data(), Bytes.size(), MSG_NOSIGNAL);
    if (Sent < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (Sent > 0) Bytes.remove_prefix(static_cast<std::size_t>(Sent));
  }
  return true;
}

// Reads the reply until its head and Content-Length bytes of body have arrived.
std::optional<THttpReply> ReceiveReply(int Fd, const THttpLimits& Limits,
                                       TClock::time_point Deadline) {
  std::string Received;
  THttpReplyHead Head;
  bool HeadRead = false;
  char Chunk[ReceiveChunk];
  while (!HeadRead || Received.size() < Head.Length + Head.ContentLength) {
    if (!WaitFor(Fd, POLLIN, Deadline)) return std::nullopt;
    const ssize_t Read = recv(Fd, Chunk, sizeof Chunk, 0);
    if (Read == 0) return std::nullopt;  // closed before the reply was complete
    if (Read < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return std::nullopt;
    }
    Received.append(Chunk, static_cast<std::size_t>(Read));
    if (HeadRead) continue;
    switch (ParseHttpReplyHead(Received, Head)) {
      case THeadParse::Invalid:
        return std::nullopt;
      case THeadParse::Incomplete:
        if (Received.size() > Limits.MaxHeadBytes) return std::nullopt;
        break;
      case THeadParse::Complete:
        if (Head.Length > Limits.MaxHeadBytes || Head.ContentLength > Limits.MaxBodyBytes)
          return std::nullopt;
        HeadRead = true;
        Received.reserve(Head.Length + Head.ContentLength);
        break;
    }
  }
  Received.erase(0, Head.Length);
  Received.resize(Head.ContentLength);
  return THttpReply{Head.Status, std::move(Head.Server), std::move(Received)};
}

}  // namespace

THeadParse ParseHttpReplyHead(std::string_view Received, THttpReplyHead& Head) {
  const std::size_t End = Received.find("\r\n\r\n");
  if (End == std::string_view::npos) return THeadParse::Incomplete;
  Head = THttpReplyHead{};
  Head.Length = End + 4;
  std::string_view Lines = Received.substr(0, End + 2);
  std::size_t LineEnd = Lines.find("\r\n");
  if (!ParseStatusLine(Lines.substr(0, LineEnd), Head.Status)) return THeadParse::Invalid;
  bool HasLength = false;
  for (Lines.remove_prefix(LineEnd + 2); !Lines.empty(); Lines.remove_prefix(LineEnd + 2)) {
    LineEnd = Lines.find("\r\n");
    const std::string_view Line = Lines.substr(0, LineEnd);
    if (Line.find_first_of("\r\n") != std::string_view::npos ||
        !ReadHeaderLine(Line, Head, HasLength))
      return THeadParse::Invalid;
  }
  if (HasNoBody(Head.Status)) Head.ContentLength = 0;
  return HasLength || HasNoBody(Head.Status) ? THeadParse::Complete : THeadParse::Invalid;
}

std::optional<THttpReply> HttpGet(const TRemoteAddress& Address, std::string_view Target,
                                  const THttpLimits& Limits, std::string_view Token) {
  if (!std::all_of(Token.begin(), Token.end(), [](char C) { return C > 0x20 && C < 0x7F; }))
    return std::nullopt;  // it would break the request's head
  const TClock::time_point Deadline = TClock::now() + Limits.Timeout;
  const TSocket Socket(Connect(LookUp(Address, Deadline), Deadline));
  if (Socket.Fd() < 0) return std::nullopt;
  const std::string Authorization =
      Token.empty() ? std::string() : "Authorization: Bearer " + std::string(Token) + "\r\n";
  const std::string Request = "GET " + std::string(Target) + " HTTP/1.1\r\nHost: " +
                              AddressText(Address) +
                              "\r\nUser-Agent: gaugery\r\nAccept: */*\r\n" + Authorization +
                              "Connection: close\r\n\r\n";
  if (!SendAll(Socket.Fd(), Request, Deadline)) return std::nullopt;
  return ReceiveReply(Socket.Fd(), Limits, Deadline);
}

std::string PercentEncoded(std::string_view Text) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string Encoded;
  for (const char C : Text) {
    const auto Byte = static_cast<unsigned char>(C);
    if (IsAsciiAlnum(C) || C == '-' || C == '.' || C == '_' || C == '~') {
      Encoded += C;
    } else {
      Encoded += '%';
      Encoded += Hex[Byte >> 4];
      Encoded += Hex[Byte & 0xF];
    }
  }
  return Encoded;
}

}  // namespace gaugery
