// The HTTP server on loopback, with short limits: routing and answers, the refusals,
// the limits of time and of connections per address, and its stop.
#include "http/HttpServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "RawConnection.h"

namespace gaugery::test {
namespace {

using namespace std::chrono_literals;
using http::TRequest;
using http::TResponder;
using http::TResponse;
using http::TServer;
using http::TServerLimits;

const std::string GetRoot = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";

TServerLimits ShortLimits() {
  TServerLimits Limits;
  Limits.HeadTimeout = 600ms;
  Limits.IdleTimeout = 900ms;
  Limits.SendTimeout = 2s;
  Limits.MaxHeadBytes = 1024;
  Limits.MaxBodyBytes = 16;
  Limits.MaxConnectionsPerAddress = 4;
  return Limits;
}

TResponse TextAnswer(std::string Text) {
  TResponse Response;
  Response.SetBody(std::move(Text), "text/plain");
  return Response;
}

// Answers "/" with "root", "/under/..." with its path, "/body" with the request's body,
// "/throw" by throwing, "/later" from another thread and "/soon" from a server thread
// after a while; logs every answer.
struct TLoggedServer {
  explicit TLoggedServer(TServerLimits Limits = ShortLimits())
      : Running(Limits, [this](TServer& Server) {
          Server.SetDefaultHeader("Server", "test/1");
          Server.Handle("/", [](const TRequest&, TResponder Responder) { Responder.Send(TextAnswer("root")); });
          Server.HandleUnder("/under/", [](const TRequest& Request, TResponder Responder) {
            Responder.Send(TextAnswer(std::string(Request.Path()) + "?" + std::string(Request.Query())));
          });
          Server.Handle("/body", [](const TRequest& Request, TResponder Responder) {
            Responder.Send(TextAnswer(Request.Body));
          });
          Server.Handle("/soon", [&Server](const TRequest&, TResponder Responder) {
            Server.RunAt(std::chrono::steady_clock::now() + 150ms,
                         [Responder = std::make_shared<TResponder>(std::move(Responder))] {
                           Responder->Send(TextAnswer("soon"));
                         });
          });
          Server.Handle("/throw", [](const TRequest&, TResponder) { throw std::runtime_error("no"); });
          Server.Handle("/later", [this](const TRequest&, TResponder Responder) {
            Later.emplace_back([Responder = std::move(Responder)]() mutable {
              std::this_thread::sleep_for(200ms);
              Responder.Send(TextAnswer("later"));
            });
          });
          Server.SetFilter([](const TRequest& Request, TResponse& Response) {
            if (Request.Header("x-refuse").empty()) return false;
            Response = http::StatusAnswer(401);
            Response.Headers.emplace_back("X-Twice", "1");
            Response.Headers.emplace_back("X-Twice", "2");
            Response.SetHeader("Server", "filter/1");
            return true;
          });
          Server.SetLogger([this](const TRequest& Request, const TResponse& Response) {
            const std::lock_guard<std::mutex> Guard(Lock);
            Log.push_back((Request.Method.empty() ? "?" : Request.Method) + " " + std::to_string(Response.Status));
          });
        }) {}
  ~TLoggedServer() {
    for (std::thread& Thread : Later) Thread.join();
  }

  std::vector<std::string> Logged() {
    const std::lock_guard<std::mutex> Guard(Lock);
    return Log;
  }

  std::vector<std::thread> Later;
  std::mutex Lock;
  std::vector<std::string> Log;
  TRunningServer Running;
};

std::string Exchange(int Port, const std::string& Request) {
  TRawConnection Connection(Port);
  Connection.Send(Request);
  return Connection.ReceiveAnswer(2s);
}

TEST(HttpServer, RoutesExactPathsThenPrefixesAndAnswersTheRestNotFound) {
  TLoggedServer Server;
  const int Port = Server.Running.Port();
  const std::string Root = Exchange(Port, GetRoot);
  EXPECT_EQ(StatusOf(Root), 200);
  EXPECT_EQ(BodyOf(Root), "root");
  EXPECT_NE(Root.find("Server: test/1\r\n"), std::string::npos);
  EXPECT_EQ(BodyOf(Exchange(Port, "GET /under/a/b?q=1 HTTP/1.1\r\n\r\n")), "/under/a/b?q=1");
  const std::string Missing = Exchange(Port, "GET /under HTTP/1.1\r\n\r\n");
  EXPECT_EQ(StatusOf(Missing), 404);
  EXPECT_EQ(BodyOf(Missing), "Not Found\n");
  const std::string Refused = Exchange(Port, "GET / HTTP/1.1\r\nX-Refuse: 1\r\n\r\n");
  EXPECT_EQ(StatusOf(Refused), 401) << "the filter comes first";
  EXPECT_NE(Refused.find("X-Twice: 1\r\nX-Twice: 2\r\n"), std::string::npos) << "repeated as given";
  EXPECT_NE(Refused.find("Server: filter/1\r\n"), std::string::npos) << "the default replaced";
  EXPECT_EQ(Refused.find("test/1"), std::string::npos);
  EXPECT_EQ(StatusOf(Exchange(Port, "GET /throw HTTP/1.1\r\n\r\n")), 500);
  EXPECT_EQ(BodyOf(Exchange(Port, "GET /later HTTP/1.1\r\n\r\n")), "later") << "answered from another thread";
  const auto Asked = std::chrono::steady_clock::now();
  EXPECT_EQ(BodyOf(Exchange(Port, "GET /soon HTTP/1.1\r\n\r\n")), "soon") << "answered at a time of its choosing";
  EXPECT_GE(std::chrono::steady_clock::now() - Asked, 150ms);
  EXPECT_EQ(BodyOf(Exchange(Port, "POST /body HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello")), "hello");
}

TEST(HttpServer, AnswersHeadWithoutTheBodyAndKeepsTheConnectionForMore) {
  TLoggedServer Server;
  TRawConnection Connection(Server.Running.Port());
  Connection.Send("HEAD / HTTP/1.1\r\n\r\n");
  const std::string Head = Connection.Receive(300ms);
  EXPECT_EQ(StatusOf(Head), 200);
  EXPECT_NE(Head.find("Content-Length: 4\r\n"), std::string::npos);
  EXPECT_EQ(BodyOf(Head), "");
  // Two requests sent at once are answered in order on the same connection.
  Connection.Send(GetRoot + "GET /under/x HTTP/1.1\r\n\r\n");
  const std::string First = Connection.ReceiveAnswer(2s);
  EXPECT_EQ(BodyOf(First), "root");
  EXPECT_EQ(BodyOf(Connection.ReceiveAnswer(2s)), "/under/x?");
  EXPECT_FALSE(Connection.Closed());
  Connection.Send("GET / HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(BodyOf(Connection.ReceiveAnswer(2s)), "root");
  Connection.Receive(1s);
  EXPECT_TRUE(Connection.Closed()) << "the client asked for it";
}

TEST(HttpServer, RefusesUnreadableHeadsAndBodiesOverTheLimitThenHangsUp) {
  TLoggedServer Server;
  const int Port = Server.Running.Port();
  for (const std::string& Request :
       {std::string("\x16\x03\x01\x02\x00\r\n\r\n", 9), std::string("GET / HTTP/1.1\r\nX-Big: ") +
                                                            std::string(2000, 'a') + "\r\n\r\n",
        std::string("GET / HTTP/9.9\r\n\r\n")}) {
    TRawConnection Connection(Port);
    Connection.Send(Request);
    const std::string Answer = Connection.Receive(2s);
    EXPECT_EQ(StatusOf(Answer), 400) << Request.substr(0, 20);
    EXPECT_TRUE(Connection.Closed());
  }
  // The body is announced, not sent: it is refused before anything of it is read.
  for (const std::string& Request : {std::string("POST /body HTTP/1.1\r\nContent-Length: 17\r\n\r\n"),
                                    std::string("POST /body HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n")}) {
    TRawConnection Connection(Port);
    Connection.Send(Request);
    EXPECT_EQ(StatusOf(Connection.Receive(2s)), 413) << Request;
    EXPECT_TRUE(Connection.Closed());
  }
  EXPECT_EQ(StatusOf(Exchange(Port, GetRoot)), 200) << "still serving";
  const std::vector<std::string> Expected{"? 400", "? 400", "? 400", "POST 413", "POST 413", "GET 200"};
  EXPECT_EQ(Server.Logged(), Expected);
}

TEST(HttpServer, AHeadMustArriveInTimeHoweverSlowlyItTrickles) {
  TLoggedServer Server;
  const int Port = Server.Running.Port();
  TRawConnection Slow(Port);
  const auto Start = std::chrono::steady_clock::now();
  Slow.Send("GET / HTTP/1.1\r\n");
  while (!Slow.Closed() && std::chrono::steady_clock::now() - Start < 3s) {
    Slow.Send("X-Slow: 1\r\n");
    Slow.Receive(100ms);
  }
  const auto Lasted = std::chrono::steady_clock::now() - Start;
  EXPECT_TRUE(Slow.Closed());
  EXPECT_GE(Lasted, 500ms);
  EXPECT_LT(Lasted, 1500ms) << "one head timeout, not one per line";
  EXPECT_TRUE(Server.Logged().empty()) << "a client that ran out of time gets no answer and no log line";

  TRawConnection Silent(Port);
  Silent.Receive(2s);
  EXPECT_TRUE(Silent.Closed()) << "a connection that never sends is closed as well";
}

TEST(HttpServer, AnIdleConnectionIsClosedAfterItsTimeNotBefore) {
  TLoggedServer Server;
  TRawConnection Connection(Server.Running.Port());
  Connection.Send(GetRoot);
  EXPECT_EQ(BodyOf(Connection.ReceiveAnswer(2s)), "root");
  // Idle for longer than the head timeout: the head's time only starts with its first byte.
  Connection.Receive(700ms);
  ASSERT_FALSE(Connection.Closed());
  Connection.Send(GetRoot);
  EXPECT_EQ(BodyOf(Connection.ReceiveAnswer(2s)), "root");
  const auto Again = std::chrono::steady_clock::now();
  Connection.Receive(3s);
  EXPECT_TRUE(Connection.Closed());
  const auto Idle = std::chrono::steady_clock::now() - Again;
  EXPECT_GE(Idle, 800ms);
  EXPECT_LT(Idle, 2s);
}

TEST(HttpServer, OneAddressHoldsABoundedNumberOfConnections) {
  TLoggedServer Server;
  const int Port = Server.Running.Port();
  std::vector<std::unique_ptr<TRawConnection>> Held;
  for (int I = 0; I < 4; ++I) {
    Held.push_back(std::make_unique<TRawConnection>(Port));
    Held.back()->Send(GetRoot);
    ASSERT_EQ(BodyOf(Held.back()->ReceiveAnswer(2s)), "root");
  }
  TRawConnection Fifth(Port);
  Fifth.Send(GetRoot);
  EXPECT_EQ(Fifth.Receive(2s), "");
  EXPECT_TRUE(Fifth.Closed()) << "closed at once, unanswered";
  Held.pop_back();
  // The place comes back once the server has seen the close.
  std::string Answer;
  for (int Try = 0; Try < 20 && StatusOf(Answer) != 200; ++Try) {
    std::this_thread::sleep_for(20ms);
    Answer = Exchange(Port, GetRoot);
  }
  EXPECT_EQ(StatusOf(Answer), 200);
}

TEST(HttpServer, StopsCleanlyWhileConnectionsAreOpenAndBeforeItRuns) {
  {
    TServer Early;
    Early.Bind("127.0.0.1", 0);
    Early.Stop();
    Early.Run();  // returns at once
  }
  auto Server = std::make_unique<TLoggedServer>();
  TRawConnection Idle(Server->Running.Port());
  TRawConnection Partial(Server->Running.Port());
  Partial.Send("GET / HTTP/1.1\r\n");
  Server.reset();
  Idle.Receive(1s);
  Partial.Receive(1s);
  EXPECT_TRUE(Idle.Closed());
  EXPECT_TRUE(Partial.Closed());
}

TEST(HttpServer, ABoundAddressCannotBeBoundAgain) {
  TServer First;
  const int Port = First.Bind("127.0.0.1", 0);
  TServer Second;
  try {
    Second.Bind("127.0.0.1", Port);
    ADD_FAILURE() << "bound twice";
  } catch (const http::EBindError& Error) {
    EXPECT_TRUE(Error.AddressInUse()) << Error.what();
  }
  EXPECT_THROW(Second.Bind("no.such.host.invalid", 0), http::EBindError);
}

}  // namespace
}  // namespace gaugery::test
