// The transport to remote computers: names, the bounded HTTP client, and the registry
// calls on the keys of a machine that a fake server stands in for.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FakeHttpServer.h"
#include "framework/Unicode.h"
#include "registry/HttpFetch.h"
#include "registry/Registry.h"
#include "registry/RemoteAddress.h"

namespace gaugery {
namespace {

using test::GaugeryReply;
using test::MultiStringBytes;
using test::TFakeHttpServer;

constexpr const char16_t* kPerflib = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib";

TEST(RemoteAddress, ReadsTheFormsOfAComputerName) {
  const std::map<std::string, std::string> Valid = {
      {"host", "host:9441"},          {"\\\\host:9000", "host:9000"},
      {"host.example.org:1", "host.example.org:1"}, {"10.0.0.7", "10.0.0.7:9441"},
      {"[::1]:9000", "[::1]:9000"},   {"::1", "[::1]:9441"},
      {"[fe80::1]", "[fe80::1]:9441"}, {"my_host-2:0", "my_host-2:0"}};
  for (const auto& [Name, Text] : Valid) {
    const std::optional<TRemoteAddress> Address = ParseRemoteAddress(Name);
    ASSERT_TRUE(Address) << Name;
    EXPECT_EQ(AddressText(*Address), Text);
  }
  for (const std::string Name :
       {"", ":9000", "host:", "host:65536", "host:9x", "host name", "host/x", "host\\share",
        "\\\\\\\\host", "[::1", "[::1]9000", "[host]", "a..b", ".host", "host:1:2", "h\r\nX: y",
        "host:+1", "host:123456"}) {
    EXPECT_FALSE(ParseRemoteAddress(Name)) << "'" << Name << "'";
  }
}

TEST(RemoteAddress, OnlyAWrittenPortNamesAServeMachine) {
  for (const char* Name :
       {"host:9000", "\\\\host:9000", "10.0.0.7:0", "[::1]:9441", "\\\\[fe80::1]:1"})
    EXPECT_TRUE(NamesServePort(Name)) << Name;
  for (const char* Name : {"host", "\\\\host", "10.0.0.7", "::1", "[::1]", "fe80::1:2",
                           "host:", "host:65536", "host:1:2", "", "\\\\"})
    EXPECT_FALSE(NamesServePort(Name)) << "'" << Name << "'";
}

TEST(HttpGet, GivesUpOnServersThatHangCutShortOverflowOrRefuse) {
  TFakeHttpServer Server([](const std::string& Target) -> std::string {
    if (Target == "/hang") return {};
    if (Target == "/short") return "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly ten b";
    if (Target == "/big") return GaugeryReply(std::string(5000, 'x'));
    return GaugeryReply("fine");
  });
  const TRemoteAddress Address{"127.0.0.1", static_cast<std::uint16_t>(Server.Port())};
  THttpLimits Limits;
  Limits.Timeout = std::chrono::milliseconds(300);
  Limits.MaxBodyBytes = 4096;

  const std::optional<THttpReply> Fine = HttpGet(Address, "/fine", Limits);
  ASSERT_TRUE(Fine);
  EXPECT_EQ(Fine->Status, 200);
  EXPECT_EQ(Fine->Server, "gaugery/test");
  EXPECT_EQ(Fine->Body, "fine");

  const auto Start = std::chrono::steady_clock::now();
  EXPECT_FALSE(HttpGet(Address, "/hang", Limits));
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(2));
  EXPECT_FALSE(HttpGet(Address, "/short", Limits));
  EXPECT_FALSE(HttpGet(Address, "/big", Limits));

  TRemoteAddress Closed = Address;
  { const TFakeHttpServer Gone([](const std::string&) { return std::string(); });
    Closed.Port = static_cast<std::uint16_t>(Gone.Port()); }
  EXPECT_FALSE(HttpGet(Closed, "/fine", Limits));
}

// A head of 32 MiB without the blank line that ends it: the client stops at its limit
// and hangs up instead of reading on until the server is done.
TEST(HttpGet, StopsReadingAHeadThatDoesNotEndAtItsLimit) {
  std::string Endless = "HTTP/1.1 200 OK\r\nServer: gaugery/test\r\n";
  while (Endless.size() < (std::size_t{32} << 20))
    Endless += "X-Filler: " + std::string(100, 'x') + "\r\n";
  TFakeHttpServer Server([&](const std::string&) { return Endless; });
  const TRemoteAddress Address{"127.0.0.1", static_cast<std::uint16_t>(Server.Port())};
  THttpLimits Limits;
  Limits.Timeout = std::chrono::seconds(20);
  EXPECT_FALSE(HttpGet(Address, "/endless", Limits));
  // Let the server finish its send, then look at how far it got.
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (Server.LastReplySent() == 0 && std::chrono::steady_clock::now() < Deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_LT(Server.LastReplySent(), Endless.size());
}

// A machine running `gaugery serve`, as far as the registry asks it.
class FakeGaugeryServer {
 public:
  FakeGaugeryServer()
      : Server_([this](const std::string& Target) { return Answer(Target); }) {}

  std::string Name() const { return Server_.ComputerName(); }
  int Asked(const std::string& Target) {
    const std::lock_guard<std::mutex> Guard(Lock_);
    return Asked_[Target];
  }

  const std::string Counter = MultiStringBytes({{1, "4"}, {2, "System"}, {4, "Memory"}});
  const std::string Help = MultiStringBytes({{3, "The system."}});
  const std::string Block = std::string(300, '\x5A');

 private:
  std::string Answer(const std::string& Target) {
    {
      const std::lock_guard<std::mutex> Guard(Lock_);
      ++Asked_[Target];
    }
    if (Target == "/perflib/") return GaugeryReply("009\n007\n");
    if (Target == "/perflib/009/Counter") return GaugeryReply(Counter);
    if (Target == "/perflib/009/Help") return GaugeryReply(Help);
    if (Target == "/perfdata?value=Global") return GaugeryReply(Block);
    return GaugeryReply("no\n", 404);
  }

  std::mutex Lock_;
  std::map<std::string, int> Asked_;
  TFakeHttpServer Server_;
};

HKEY Connect(const std::string& Name, HKEY Key, LONG Expected = ERROR_SUCCESS) {
  HKEY Remote = nullptr;
  EXPECT_EQ(RegConnectRegistryW(ToWide(Name).c_str(), Key, &Remote), Expected) << Name;
  return Remote;
}

std::string ValueBytes(HKEY Key, const char16_t* Name) {
  DWORD Size = 0;
  EXPECT_EQ(RegQueryValueExW(Key, Name, nullptr, nullptr, nullptr, &Size), ERROR_SUCCESS);
  std::string Bytes(Size, '\0');
  EXPECT_EQ(RegQueryValueExW(Key, Name, nullptr, nullptr, reinterpret_cast<LPBYTE>(Bytes.data()),
                             &Size),
            ERROR_SUCCESS);
  return Bytes;
}

TEST(RemoteRegistry, PerflibKeysHoldTheServersNames) {
  FakeGaugeryServer Server;
  const HKEY Machine = Connect("\\\\" + Server.Name(), HKEY_LOCAL_MACHINE);
  ASSERT_NE(Machine, nullptr);
  EXPECT_NE(Machine, HKEY_LOCAL_MACHINE);
  HKEY Perflib = nullptr;
  ASSERT_EQ(RegOpenKeyExW(Machine, kPerflib, 0, KEY_READ, &Perflib), ERROR_SUCCESS);
  std::vector<std::string> Locales;
  WCHAR Name[16];
  for (DWORD Index = 0;; ++Index) {
    DWORD Length = 16;
    if (RegEnumKeyExW(Perflib, Index, Name, &Length, nullptr, nullptr, nullptr, nullptr) != 0) break;
    Locales.push_back(ToUtf8(Name));
  }
  EXPECT_EQ(Locales, (std::vector<std::string>{"009", "007"}));
  EXPECT_EQ(Server.Asked("/perflib/009/Counter"), 0) << "names are fetched when a locale opens";

  HKEY English = nullptr;
  ASSERT_EQ(RegOpenKeyExW(Perflib, u"009", 0, KEY_READ, &English), ERROR_SUCCESS);
  DWORD Largest = 0;
  EXPECT_EQ(RegQueryInfoKeyW(English, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, &Largest, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(Largest, Server.Counter.size());
  EXPECT_EQ(ValueBytes(English, u"Counter"), Server.Counter);
  EXPECT_EQ(ValueBytes(English, u"help"), Server.Help);
  HKEY German = nullptr;
  EXPECT_EQ(RegOpenKeyExW(Perflib, u"007", 0, KEY_READ, &German), ERROR_FILE_NOT_FOUND)
      << "the server refuses the German names";

  for (const HKEY Key : {English, Perflib, Machine}) EXPECT_EQ(RegCloseKey(Key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(English), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExW(English, u"Counter", nullptr, nullptr, nullptr, nullptr),
            ERROR_INVALID_HANDLE);
}

TEST(RemoteRegistry, APerformanceDataQueryFetchesTheBlockOnceForItsRetry) {
  FakeGaugeryServer Server;
  const HKEY Data = Connect(Server.Name(), HKEY_PERFORMANCE_DATA);
  std::string Buffer(100, '\0');
  DWORD Size = 100;
  DWORD Type = 0;
  auto* Bytes = reinterpret_cast<LPBYTE>(Buffer.data());
  EXPECT_EQ(RegQueryValueExW(Data, u"Global", nullptr, &Type, Bytes, &Size), ERROR_MORE_DATA);
  Buffer.assign(400, '\0');
  Size = 400;
  Bytes = reinterpret_cast<LPBYTE>(Buffer.data());
  ASSERT_EQ(RegQueryValueExW(Data, u"Global", nullptr, &Type, Bytes, &Size), ERROR_SUCCESS);
  EXPECT_EQ(Type, REG_BINARY);
  EXPECT_EQ(Buffer.substr(0, Size), Server.Block);
  EXPECT_EQ(Server.Asked("/perfdata?value=Global"), 1);
  ASSERT_EQ(RegQueryValueExW(Data, u"Global", nullptr, &Type, Bytes, &Size), ERROR_SUCCESS);
  EXPECT_EQ(Server.Asked("/perfdata?value=Global"), 2) << "a new query fetches a new block";
  EXPECT_EQ(RegQueryValueExW(Data, u"238 2", nullptr, &Type, Bytes, &Size), ERROR_BAD_NETPATH)
      << "the server refuses that value";
  EXPECT_EQ(Server.Asked("/perfdata?value=238%202"), 1);
  RegCloseKey(Data);
}

TEST(RemoteRegistry, AnythingButAReachableGaugeryServerIsBadNetpath) {
  const TFakeHttpServer Stranger([](const std::string&) {
    return std::string("HTTP/1.1 200 OK\r\nServer: other\r\nContent-Length: 4\r\n\r\n009\n");
  });
  const TFakeHttpServer Refusing([](const std::string&) { return GaugeryReply("no", 404); });
  const TFakeHttpServer Garbage([](const std::string&) { return std::string("\x16\x03\x01garbage"); });
  const TFakeHttpServer BadList([](const std::string&) { return GaugeryReply("009\n0\\7\n"); });
  std::string Stopped;
  { const TFakeHttpServer Gone([](const std::string&) { return std::string(); });
    Stopped = Gone.ComputerName(); }
  for (const std::string& Name :
       {Stranger.ComputerName(), Refusing.ComputerName(), Garbage.ComputerName(),
        BadList.ComputerName(), Stopped, std::string("127.0.0.1:0"), std::string("a b:1")}) {
    Connect(Name, HKEY_PERFORMANCE_DATA, ERROR_BAD_NETPATH);
    Connect(Name, HKEY_LOCAL_MACHINE, ERROR_BAD_NETPATH);
  }
}

}  // namespace
}  // namespace gaugery
