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

String Address(int port) {
  return "http://127.0.0.1:" + String::FromInt(port) + "/p?x=1";
}

// Requests in flight together get their own answers, however their servers split the bytes;
// each completes once, inside an update, and closes its socket.
TEST(HttpRequestTest, RequestsInFlightTogetherGetTheirOwnAnswers) {
  const std::string hello = "HTTP/1.0 200 OK\r\nServer: script\r\n\r\nhello";
  const std::string get = "GET /p?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  const std::string post = "POST /p?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n";
  std::vector<std::string> oneByte;
  for (const char c : hello) oneByte.emplace_back(1, c);
  const struct {
    std::vector<std::string> pieces;  // none: nothing listens
    const char *type, *encoding;      // a body of this type is posted
    int status;
    std::string text, request;
  } rows[] = {
      {{hello}, nullptr, nullptr, 200, "hello", get},
      {oneByte, nullptr, nullptr, 200, "hello", get},
      {{"HTTP/1.0 404 Not Found\r\n\r\n", "gone"}, nullptr, nullptr, 404, "gone", get},
      {{"HTTP/1.0 200 OK\r\n\r\n"},
       "text/plain",
       "utf8",
       200,
       "",
       post + "Content-Type: text/plain\r\nContent-Length: 6\r\n\r\nh\xC3\xA9llo"},
      {{"HTTP/1.0 200 OK\r\n\r\n"},
       "",
       "ascii",
       200,
       "",
       post + "Content-Length: 5\r\n\r\nh\xE9llo"},
      {{}, nullptr, nullptr, -1, "", ""},
  };
  constexpr size_t kCount = std::size(rows);
  std::unique_ptr<ScriptedServer> servers[kCount + 1];
  std::vector<std::shared_ptr<HttpRequest>> requests;
  Result results[kCount + 1];
  for (size_t i = 0; i < kCount; ++i) {
    const auto& row = rows[i];
    if (!row.pieces.empty()) servers[i] = std::make_unique<ScriptedServer>(row.pieces);
    requests.push_back(HttpRequest::Create(row.type ? "POST" : "GET",
                                           Address(servers[i] ? servers[i]->Port() : ClosedPort()),
                                           &results[i]));
    row.type ? requests.back()->Send2(u"h\u00E9llo", row.type, row.encoding)
             : requests.back()->Send();
  }
  requests.push_back(HttpRequest::Create("GET", "http://nothing.invalid/", &results[kCount]));
  requests.back()->Send();
  PumpUntil([&] {
    return std::all_of(results, std::end(results), [](auto& r) { return r.completions; });
  });
  PumpFor(20ms);  // a second completion would come now
  for (size_t i = 0; i <= kCount; ++i) {
    SCOPED_TRACE("request " + std::to_string(i));
    EXPECT_EQ(results[i].completions, 1);
    EXPECT_FALSE(requests[i]->socket->IsOpen());
    EXPECT_EQ(results[i].status, i < kCount ? rows[i].status : -1);
    EXPECT_EQ(results[i].text, String(i < kCount ? rows[i].text : ""));
    EXPECT_EQ(servers[i] ? servers[i]->Request() : "", i < kCount ? rows[i].request : "");
  }
}

}  // namespace
