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

// Waits for each request's one completion (and a little longer, for a second one).
void Await(const std::vector<std::shared_ptr<HttpRequest>>& requests, Result* results) {
  const size_t count = requests.size();
  PumpUntil([&] {
    for (size_t i = 0; i < count; ++i) {
      if (results[i].completions == 0) return false;
    }
    return true;
  });
  PumpFor(20ms);
  for (size_t i = 0; i < count; ++i) {
    EXPECT_EQ(results[i].completions, 1) << "request " << i;
    EXPECT_FALSE(requests[i]->socket->IsOpen()) << "request " << i;
  }
}

Result Get(const String& url) {
  Result result;
  auto request = HttpRequest::Create("GET", url, &result);
  request->Send();
  Await({request}, &result);
  return result;
}

TEST(HttpRequestTest, ReadsResponsesHoweverTheScriptedServerSplitsThem) {
  const std::string hello = "HTTP/1.0 200 OK\r\nServer: script\r\n\r\nhello";
  std::vector<std::string> oneByte;
  for (const char c : hello) oneByte.emplace_back(1, c);
  const struct {
    const char* name;
    std::vector<std::string> pieces;
    int status;
    const char* text;
  } cases[] = {
      {"whole", {hello}, 200, "hello"},
      {"one byte at a time", oneByte, 200, "hello"},
      {"closed before the blank line", {"HTTP/1.0 200 OK\r\n", "Server: script\r\n"}, -1, ""},
      {"oversized head line",
       {"HTTP/1.0 200 OK\r\nX-Big: ", std::string(HttpRequest::kReceiveBufferSize + 100, 'a'),
        "\r\n\r\nhello"},
       -1,
       ""},
  };
  for (const auto& c : cases) {
    ScriptedServer server(c.pieces);
    const Result got = Get("http://127.0.0.1:" + String::FromInt(server.Port()) + "/p?x=1");
    EXPECT_EQ(server.Request(), "GET /p?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n") << c.name;
    EXPECT_EQ(got.status, c.status) << c.name;
    EXPECT_EQ(got.text, String(c.text)) << c.name;
  }
}

TEST(HttpRequestTest, UnreachableServersFinishWithoutStatus) {
  for (const String& url : {"http://127.0.0.1:" + String::FromInt(ClosedPort()) + "/",
                            String("http://nothing.invalid/")}) {
    const Result got = Get(url);
    EXPECT_EQ(got.status, -1) << url.ToUtf8();
    EXPECT_EQ(got.text, String()) << url.ToUtf8();
  }
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

TEST_F(PythonServerTest, RequestsInFlightTogetherKeepTheirOwnResults) {
  const struct {
    const char* path;
    int status;
    std::string text;
  } cases[] = {
      {"/hello", 200, "hello"},
      {"/missing", 404, ""},  // an HTML page about the error
      {"/empty", 200, ""},
      {"/big", 200, std::string(100000, 'x')},
      {"/housecall.php?hello=1&gameID=402", 200, "/housecall.php?hello=1&gameID=402 127.0.0.1"},
  };
  constexpr size_t kCount = std::size(cases);
  Result results[kCount];
  std::vector<std::shared_ptr<HttpRequest>> requests;
  for (size_t i = 0; i < kCount; ++i) {
    requests.push_back(HttpRequest::Create("GET", At(cases[i].path), &results[i]));
    requests.back()->Send();
  }
  Await(requests, results);
  for (size_t i = 0; i < kCount; ++i) {
    EXPECT_EQ(results[i].status, cases[i].status) << cases[i].path;
    if (cases[i].status == 404) {
      EXPECT_TRUE(results[i].text.Contains("404")) << cases[i].path;
    } else {
      EXPECT_EQ(results[i].text, String(cases[i].text)) << cases[i].path;
    }
  }
}

TEST_F(PythonServerTest, Send2SendsTheBodyAfterTheHead) {
  Result results[2];
  const auto typed = HttpRequest::Create("POST", At("/form"), &results[0]);
  typed->Send2(u"h\u00E9llo", "text/plain", "utf8");
  const auto untyped = HttpRequest::Create("POST", At("/form"), &results[1]);
  untyped->Send2(u"h\u00E9llo", "", "ascii");
  Await({typed, untyped}, results);
  EXPECT_EQ(results[0].status, 200);
  EXPECT_EQ(results[0].text, String(u"text/plain|h\u00E9llo"));
  // The server sends the Latin-1 byte back; it is not UTF-8, so it reads as one character.
  EXPECT_EQ(results[1].text, String(u"none|h\u00E9llo"));
}

}  // namespace
