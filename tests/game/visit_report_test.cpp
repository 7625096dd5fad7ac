// The visit report against a loopback endpoint, delivered through the game's own updates.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "game/core/globals.h"
#include "net/http_request.h"
#include "net_test_support.h"
#include "response_feeder.h"
#include "sim/headless_game.h"

namespace {

using namespace std::chrono_literals;
using net_test::ScriptedServer;

class VisitReport : public ::testing::Test {
 protected:
  // Starts the report toward a loopback port, as OnCreate would toward the real endpoint, and
  // runs updates, which deliver network completions, until it has its answer.
  void Report(int port) {
    app.report.Done = 0;
    ASSERT_EQ(app.report.GetURL("http://127.0.0.1:" + String::FromInt(port) + "/housecall.php",
                                "hello=1&gameID=" + String::FromInt(kGameNumber)),
              0);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (app.report.Done == 0 && std::chrono::steady_clock::now() < deadline) {
      game.Step();
      std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(app.report.Done, 1) << "no answer in time";
  }
  HeadlessGame game;
  MyApp& app = game.app();
};

TEST_F(VisitReport, IsOffByDefault) {
  app.report.Send(app.platform.visitReports);
  EXPECT_EQ(app.report.Request, nullptr);
  EXPECT_EQ(app.report.Able, 0);
}

// An answer lights the credits disc; no answer or an empty one leaves it dark.
TEST_F(VisitReport, AnAnswerLightsTheCreditsDisc) {
  ScriptedServer silent({"HTTP/1.0 204 No Content\r\n\r\n"});
  Report(silent.Port());
  Report(net_test::ClosedPort());
  EXPECT_EQ(app.report.Answer, String());
  EXPECT_EQ(app.report.Able, 0);
  ScriptedServer server({"HTTP/1.0 200 OK\r\nServer: script\r\n\r\n", "thanks"});
  Report(server.Port());
  EXPECT_EQ(server.Request(),
            "GET /housecall.php?hello=1&gameID=402 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(app.report.Answer, String("thanks"));
  EXPECT_EQ(app.report.Able, 1);
}

// A stranger's completion, or that of a request replaced while in flight, is ignored.
TEST_F(VisitReport, OnlyTheCurrentRequestCounts) {
  auto stranger = HttpRequest::Create("GET", "http://127.0.0.1/", nullptr);
  FeedResponse(*stranger, "HTTP/1.0 200 OK\r\n\r\nnot ours", {});
  app.report.OnHttpRequestComplete(*stranger);
  EXPECT_EQ(app.report.Done, 0);
  EXPECT_EQ(app.report.Answer, String("N/A"));
  ScriptedServer first({"HTTP/1.0 200 OK\r\n\r\n", "first"});
  ScriptedServer second({"HTTP/1.0 200 OK\r\n\r\n", "second"});
  ASSERT_EQ(app.report.GetURL("http://127.0.0.1:" + String::FromInt(first.Port()) + "/", ""), 0);
  Report(second.Port());
  first.Request();
  game.Step(30);
  EXPECT_EQ(app.report.Answer, String("second"));
}

}  // namespace
