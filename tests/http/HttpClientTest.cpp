// The HTTP client: the reply heads it frames, and exchanges with a server on loopback
// that answers, holds its answer or is not there.
#include "http/HttpClient.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "RawConnection.h"
#include "http/ReplyHead.h"

namespace gaugery::test {
namespace {

using namespace std::chrono_literals;
using http::THeadParse;
using http::TReplyHead;

TEST(HttpReplyHead, ReadsStatusLengthAndServer) {
  TReplyHead Head;
  const std::string Reply =
      "HTTP/1.1 200 OK\r\nServer: gaugery/4.1\r\ncontent-length:  5 \r\nX: y\r\n\r\nhello";
  ASSERT_EQ(http::ParseReplyHead(Reply, Head), THeadParse::Complete);
  EXPECT_EQ(Head.Status, 200);
  EXPECT_EQ(Head.Server, "gaugery/4.1");
  EXPECT_EQ(Head.ContentLength, 5u);
  EXPECT_EQ(Head.Length, Reply.size() - 5);
  EXPECT_EQ(http::ParseReplyHead("HTTP/1.0 204\r\n\r\n", Head), THeadParse::Complete);
  EXPECT_EQ(Head.ContentLength, 0u);
  EXPECT_EQ(http::ParseReplyHead("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", Head),
            THeadParse::Incomplete);
}

TEST(HttpReplyHead, RefusesWhatItCannotFrame) {
  TReplyHead Head;
  for (const std::string Reply : {
           "HTTP/1.1 200 OK\r\n\r\n",                                  // no length
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",    // chunked
           "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n",
           "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n",
           "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n",
           "HTTP/2 200\r\nContent-Length: 0\r\n\r\n",
           "HTTP/1.1 2000 OK\r\nContent-Length: 0\r\n\r\n",
           "HTTP/1.1 100 Continue\r\n\r\n",
           "HTTP/1.1 200 OK\r\nNo colon here\r\nContent-Length: 0\r\n\r\n",
           "HTTP/1.1 200 OK\r\n folded: x\r\nContent-Length: 0\r\n\r\n",
           "HTTP/1.1 200 OK\r\nA\nB: c\r\nContent-Length: 0\r\n\r\n",
           "garbage\r\n\r\n"}) {
    EXPECT_EQ(http::ParseReplyHead(Reply, Head), THeadParse::Invalid) << Reply;
  }
}

const std::string GetRequest = "GET /x HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n";

TEST(HttpClient, TakesAWholeReplyAndGivesUpOnOneOverItsLimitsOrLate) {
  std::mutex Lock;
  std::vector<http::TResponder> Held;  // answers never sent while the test runs
  TRunningServer Server({}, [&](http::TServer& Serving) {
    Serving.SetDefaultHeader("Server", "gaugery/test");
    Serving.Handle("/x", [](const http::TRequest&, http::TResponder Responder) {
      http::TResponse Response;
      Response.SetBody("fine", "text/plain");
      Responder.Send(std::move(Response));
    });
    Serving.Handle("/big", [](const http::TRequest&, http::TResponder Responder) {
      http::TResponse Response;
      Response.SetBody(std::string(5000, 'x'), "text/plain");
      Responder.Send(std::move(Response));
    });
    Serving.Handle("/hang", [&](const http::TRequest&, http::TResponder Responder) {
      const std::lock_guard<std::mutex> Guard(Lock);
      Held.push_back(std::move(Responder));
    });
  });
  const auto Port = static_cast<std::uint16_t>(Server.Port());
  http::TClientLimits Limits;
  Limits.Timeout = 400ms;
  Limits.MaxBodyBytes = 4096;

  const std::optional<http::TReply> Fine = http::Exchange("127.0.0.1", Port, GetRequest, Limits);
  ASSERT_TRUE(Fine);
  EXPECT_EQ(Fine->Status, 200);
  EXPECT_EQ(Fine->Server, "gaugery/test");
  EXPECT_EQ(Fine->Body, "fine");
  EXPECT_TRUE(http::Exchange("localhost", Port, GetRequest, Limits)) << "a name is looked up";

  EXPECT_FALSE(http::Exchange("127.0.0.1", Port, "GET /big HTTP/1.1\r\n\r\n", Limits));
  const auto Start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http::Exchange("127.0.0.1", Port, "GET /hang HTTP/1.1\r\n\r\n", Limits));
  const auto Waited = std::chrono::steady_clock::now() - Start;
  EXPECT_GE(Waited, 350ms);
  EXPECT_LT(Waited, 2s) << "one deadline over the whole exchange";
  Limits.MaxHeadBytes = 20;
  EXPECT_FALSE(http::Exchange("127.0.0.1", Port, GetRequest, Limits)) << "a head over its limit";
  {
    const std::lock_guard<std::mutex> Guard(Lock);
    for (http::TResponder& Responder : Held) Responder.Send(http::StatusAnswer(503));
  }
}

TEST(HttpClient, GivesUpOnAddressesThatDoNotAnswer) {
  std::uint16_t Port = 0;
  {
    TRunningServer Gone({}, [](http::TServer&) {});
    Port = static_cast<std::uint16_t>(Gone.Port());
  }
  // Each exchange starts and ends an event loop with a timer thread of its own: one
  // after the other, none may find what an earlier one left.
  for (int Attempt = 0; Attempt < 40; ++Attempt)
    ASSERT_FALSE(http::Exchange("127.0.0.1", Port, GetRequest)) << "attempt " << Attempt;
}

TEST(HttpClient, GivesUpOnNamesThatDoNotResolve) {
  const std::uint16_t Port = 9;
  http::TClientLimits Limits;
  Limits.Timeout = 2s;
  const auto Start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http::Exchange("no.such.host.invalid", Port, GetRequest, Limits));
  EXPECT_LT(std::chrono::steady_clock::now() - Start, 3s);
}

}  // namespace
}  // namespace gaugery::test
