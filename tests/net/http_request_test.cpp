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
  int completions = 0, status = 0;
  String text;
};

// Requests in flight together get their own answers; each completes once, inside an update,
// and closes its socket. The last one names a server that does not resolve.
TEST(HttpRequestTest, RequestsInFlightTogetherGetTheirOwnAnswers) {
  const std::string ok = "HTTP/1.0 200 OK\r\n\r\n", head = " /p HTTP/1.0\r\nHost: 127.0.0.1\r\n";
  const struct {
    std::vector<std::string> pieces;  // none: nothing listens
    const char* type;                 // a body of this type is posted
    int status;
    std::string text, request;
  } rows[] = {
      {{ok, "hello"}, nullptr, 200, "hello", "GET" + head + "\r\n"},
      {{ok},
       "text/plain",
       200,
       "",
       "POST" + head + "Content-Type: text/plain\r\nContent-Length: 6\r\n\r\nh\xC3\xA9llo"},
      {{}, nullptr, -1, "", ""},
      {{}, nullptr, -1, "", ""},
  };
  constexpr size_t kCount = std::size(rows);
  std::unique_ptr<ScriptedServer> servers[kCount];
  std::vector<std::shared_ptr<HttpRequest>> requests;
  Result results[kCount];
  for (size_t i = 0; i < kCount; ++i) {
    if (!rows[i].pieces.empty()) servers[i] = std::make_unique<ScriptedServer>(rows[i].pieces);
    const int port = servers[i] ? servers[i]->Port() : ClosedPort();
    const String host = i + 1 < kCount ? "127.0.0.1:" + String::FromInt(port) : "nothing.invalid";
    requests.push_back(
        HttpRequest::Create(rows[i].type ? "POST" : "GET", "http://" + host + "/p", &results[i]));
    rows[i].type ? requests[i]->Send2(u"h\u00E9llo", rows[i].type, "utf8") : requests[i]->Send();
  }
  PumpUntil([&] {
    return std::all_of(results, std::end(results), [](auto& r) { return r.completions; });
  });
  PumpFor(20ms);  // a second completion would come now
  for (size_t i = 0; i < kCount; ++i) {
    SCOPED_TRACE("request " + std::to_string(i));
    EXPECT_EQ(results[i].completions, 1);
    EXPECT_FALSE(requests[i]->socket->IsOpen());
    EXPECT_EQ(results[i].status, rows[i].status);
    EXPECT_EQ(results[i].text, String(rows[i].text));
    EXPECT_EQ(servers[i] ? servers[i]->Request() : "", rows[i].request);
  }
}

}  // namespace
