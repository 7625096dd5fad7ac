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
using net_test::ClosedPort;
using net_test::ScriptedServer;

// Runs game updates, which deliver network completions, until the report has its answer.
void StepUntilReported(HeadlessGame& game) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (game.app().report.Done == 0 && std::chrono::steady_clock::now() < deadline) {
    game.Step();
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(game.app().report.Done, 1) << "no answer in time";
}

// Starts the report toward a loopback port, as OnCreate would toward the real endpoint.
void Ask(MyApp& app, int port) {
  EXPECT_EQ(app.report.GetURL("http://127.0.0.1:" + String::FromInt(port) + "/housecall.php",
                              "hello=1&gameID=" + String::FromInt(kGameNumber)),
            0);
}

TEST(VisitReport, IsOffByDefaultAndNeedsAnEndpoint) {
  HeadlessGame game;
  MyApp& app = game.app();
  EXPECT_FALSE(app.platform.visitReports);
  app.report.Send(app.platform.visitReports);
  EXPECT_EQ(app.report.Request, nullptr);
  EXPECT_EQ(app.report.Answer, String("N/A"));
  if (VisitReport::ReportAddress().Empty()) {
    app.platform.visitReports = true;
    app.report.Send(app.platform.visitReports);
    EXPECT_EQ(app.report.Request, nullptr);
    app.platform.visitReports = false;
  }
  EXPECT_EQ(app.report.Able, 0);
}

TEST(VisitReport, AnAnswerLightsTheCreditsDisc) {
  ScriptedServer server({"HTTP/1.0 200 OK\r\nServer: script\r\n\r\n", "thanks"});
  HeadlessGame game;
  MyApp& app = game.app();
  testing::internal::CaptureStdout();
  Ask(app, server.Port());
  EXPECT_EQ(app.report.Done, 0);
  EXPECT_EQ(app.report.Answer, String("N/A"));
  StepUntilReported(game);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(server.Request(),
            "GET /housecall.php?hello=1&gameID=402 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_NE(printed.find("Requesting URL\nHttp GET complete! 200\n"), std::string::npos) << printed;
  EXPECT_EQ(app.report.Answer, String("thanks"));
  EXPECT_EQ(app.report.Able, 1);
}

TEST(VisitReport, NoAnswerLeavesTheDiscAsItWas) {
  HeadlessGame game;
  MyApp& app = game.app();
  testing::internal::CaptureStdout();
  Ask(app, ClosedPort());
  StepUntilReported(game);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Http GET complete! -1\n"),
            std::string::npos);
  EXPECT_EQ(app.report.Answer, String());

  ScriptedServer silent({"HTTP/1.0 204 No Content\r\n\r\n"});
  Ask(app, silent.Port());
  StepUntilReported(game);
  EXPECT_EQ(app.report.Answer, String());
  EXPECT_EQ(app.report.Able, 0);
}

TEST(VisitReport, OnlyTheCurrentRequestCounts) {
  HeadlessGame game;
  MyApp& app = game.app();
  auto stranger = HttpRequest::Create("GET", "http://127.0.0.1/", nullptr);
  FeedResponse(*stranger, "HTTP/1.0 200 OK\r\n\r\nnot ours", {});
  app.report.OnHttpRequestComplete(*stranger);
  EXPECT_EQ(app.report.Done, 0);
  EXPECT_EQ(app.report.Answer, String("N/A"));
  EXPECT_EQ(app.report.Able, 0);

  // A request replaced while in flight is ignored whenever it completes.
  ScriptedServer first({"HTTP/1.0 200 OK\r\n\r\n", "first"});
  ScriptedServer second({"HTTP/1.0 200 OK\r\n\r\n", "second"});
  Ask(app, first.Port());
  Ask(app, second.Port());
  StepUntilReported(game);
  first.Request();
  game.Step(30);
  EXPECT_EQ(app.report.Answer, String("second"));
}

}  // namespace
