#include "net/http_request.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net_test_support.h"

namespace {

using namespace net_test;

struct Result : IOnHttpRequestComplete {
  void OnHttpRequestComplete(HttpRequest& request) override {
    ExpectInsideUpdate();
    ++completions;
    status = request.Status();
    text = request.ResponseText();
  }
  int completions = 0;
  int status = 0;
  String text;
};

// Sends the request and waits for its one completion (and a little longer, for a second).
void Await(const std::shared_ptr<HttpRequest>& request, Result& result) {
  PumpUntil([&] { return result.completions > 0; });
  PumpFor(20ms);
  EXPECT_EQ(result.completions, 1);
  EXPECT_FALSE(request->socket->IsOpen());
}

Result Get(const String& url) {
  Result result;
  auto request = HttpRequest::Create("GET", url, &result);
  request->Send();
  Await(request, result);
  return result;
}

String Local(int port, const String& path) {
  return "http://127.0.0.1:" + String::FromInt(port) + path;
}

class PythonServerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { server = new PythonHttpServer; }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  static String At(const String& path) { return server->Address() + path; }

  static PythonHttpServer* server;
};

PythonHttpServer* PythonServerTest::server = nullptr;

TEST_F(PythonServerTest, GetReturnsStatusAndBody) {
  const Result hello = Get(At("/hello"));
  EXPECT_EQ(hello.status, 200);
  EXPECT_EQ(hello.text, String("hello"));
  const Result missing = Get(At("/missing"));
  EXPECT_EQ(missing.status, 404);
  EXPECT_TRUE(missing.text.Contains("404"));
  const Result empty = Get(At("/empty"));
  EXPECT_EQ(empty.status, 200);
  EXPECT_EQ(empty.text, String());
}

TEST_F(PythonServerTest, LongBodyIsCollectedWhole) {
  const Result big = Get(At("/big"));
  EXPECT_EQ(big.status, 200);
  EXPECT_EQ(big.text, String(std::string(100000, 'x')));
}

TEST_F(PythonServerTest, Send2SendsTheBodyAfterTheHead) {
  Result typed;
  auto request = HttpRequest::Create("POST", At("/form"), &typed);
  request->Send2(u"h\u00E9llo", "text/plain", "utf8");
  Await(request, typed);
  EXPECT_EQ(typed.status, 200);
  EXPECT_EQ(typed.text, String(u"text/plain|h\u00E9llo"));

  Result untyped;
  request = HttpRequest::Create("POST", At("/form"), &untyped);
  request->Send2(u"h\u00E9llo", "", "ascii");
  Await(request, untyped);
  // The server sends the Latin-1 byte back; it is not UTF-8, so it reads as one character.
  EXPECT_EQ(untyped.text, String(u"none|h\u00E9llo"));
}

TEST_F(PythonServerTest, RequestsInFlightTogetherKeepTheirOwnResults) {
  Result results[3];
  const String paths[3] = {"/hello", "/missing", "/housecall.php?hello=1&gameID=402"};
  std::shared_ptr<HttpRequest> requests[3];
  for (int i = 0; i < 3; ++i) {
    requests[i] = HttpRequest::Create("GET", At(paths[i]), &results[i]);
    requests[i]->Send();
  }
  PumpUntil(
      [&] { return results[0].completions && results[1].completions && results[2].completions; });
  EXPECT_EQ(results[0].text, String("hello"));
  EXPECT_EQ(results[1].status, 404);
  EXPECT_EQ(results[2].text, String("/housecall.php?hello=1&gameID=402 127.0.0.1"));
}

TEST(HttpRequestTest, SendsExactlyTheRequestHead) {
  ScriptedServer server({"HTTP/1.0 200 OK\r\nServer: script\r\n\r\nhello"});
  const Result got = Get(Local(server.Port(), "/p?x=1"));
  EXPECT_EQ(server.Request(), "GET /p?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(got.status, 200);
  EXPECT_EQ(got.text, String("hello"));
}

TEST(HttpRequestTest, ResponseInOneBytePieces) {
  const std::string response = "HTTP/1.0 200 OK\r\nServer: script\r\n\r\nhello";
  std::vector<std::string> pieces;
  for (char c : response) pieces.emplace_back(1, c);
  ScriptedServer server(pieces);
  const Result got = Get(Local(server.Port(), "/"));
  EXPECT_EQ(got.status, 200);
  EXPECT_EQ(got.text, String("hello"));
}

TEST(HttpRequestTest, HeadSplitInTheMiddleOfLines) {
  ScriptedServer server({"HTTP/1.0 2", "00 OK\r\nServer: scr", "ipt\r", "\n\r", "\nhel", "lo"});
  const Result got = Get(Local(server.Port(), "/"));
  EXPECT_EQ(got.status, 200);
  EXPECT_EQ(got.text, String("hello"));
}

TEST(HttpRequestTest, StatusLineRules) {
  ScriptedServer lower({"http/1.0 404 not found\r\n\r\n"});
  EXPECT_EQ(Get(Local(lower.Port(), "/")).status, 404);
  ScriptedServer twoParts({"HTTP/1.1 204\r\n\r\n"});
  const Result got = Get(Local(twoParts.Port(), "/"));
  EXPECT_EQ(got.status, -1);
  EXPECT_EQ(got.text, String());
}

TEST(HttpRequestTest, BrokenHeadsFinishWithoutStatus) {
  ScriptedServer cut({"HTTP/1.0 200 OK\r\n", "Server: script\r\n"});
  const Result closed = Get(Local(cut.Port(), "/"));
  EXPECT_EQ(closed.status, -1);
  EXPECT_EQ(closed.text, String());

  ScriptedServer oversized(
      {"HTTP/1.0 200 OK\r\nX-Big: ", std::string(HttpRequest::kReceiveBufferSize + 100, 'a'),
       "\r\n\r\nhello"});
  const Result tooLong = Get(Local(oversized.Port(), "/"));
  EXPECT_EQ(tooLong.status, -1);
  EXPECT_EQ(tooLong.text, String());
}

TEST(HttpRequestTest, UnreachableServersFinishWithoutStatus) {
  const Result refused = Get(Local(ClosedPort(), "/"));
  EXPECT_EQ(refused.status, -1);
  EXPECT_EQ(refused.text, String());
  const Result unknown = Get("http://nothing.invalid/");
  EXPECT_EQ(unknown.status, -1);
  EXPECT_EQ(unknown.text, String());
}

}  // namespace
