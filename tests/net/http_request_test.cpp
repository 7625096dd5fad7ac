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
  PumpUntil([&] {
    return std::all_of(results, results + requests.size(), [](auto& r) { return r.completions; });
  });
  PumpFor(20ms);
  for (size_t i = 0; i < requests.size(); ++i) {
    EXPECT_EQ(results[i].completions, 1) << "request " << i;
    EXPECT_FALSE(requests[i]->socket->IsOpen()) << "request " << i;
  }
}

String Address(int port, const char* path) {
  return "http://127.0.0.1:" + String::FromInt(port) + path;
}

TEST(HttpRequestTest, ResponsesAreReadHoweverTheServerSplitsThem) {
  const std::string hello = "HTTP/1.0 200 OK\r\nServer: script\r\n\r\nhello";
  std::vector<std::string> oneByte;
  for (const char c : hello) oneByte.emplace_back(1, c);
  const struct {
    const char* name;
    std::vector<std::string> pieces;
    int status;
    std::string text;
  } rows[] = {
      {"whole", {hello}, 200, "hello"},
      {"one byte at a time", oneByte, 200, "hello"},
      {"not found", {"HTTP/1.0 404 Not Found\r\n\r\n", "gone"}, 404, "gone"},
  };
  constexpr size_t kCount = std::size(rows);
  std::vector<std::unique_ptr<ScriptedServer>> servers;
  std::vector<std::shared_ptr<HttpRequest>> requests;
  Result results[kCount + 2];
  for (size_t i = 0; i < kCount; ++i) {
    servers.push_back(std::make_unique<ScriptedServer>(rows[i].pieces));
    requests.push_back(
        HttpRequest::Create("GET", Address(servers.back()->Port(), "/p?x=1"), &results[i]));
  }
  // Unreachable servers finish without a status.
  requests.push_back(HttpRequest::Create("GET", Address(ClosedPort(), "/"), &results[kCount]));
  requests.push_back(HttpRequest::Create("GET", "http://nothing.invalid/", &results[kCount + 1]));
  for (const auto& request : requests) request->Send();
  Await(requests, results);
  for (size_t i = 0; i < kCount; ++i) {
    EXPECT_EQ(servers[i]->Request(), "GET /p?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n")
        << rows[i].name;
    EXPECT_EQ(results[i].status, rows[i].status) << rows[i].name;
    EXPECT_EQ(results[i].text, String(rows[i].text)) << rows[i].name;
  }
  for (size_t i = kCount; i < kCount + 2; ++i) {
    EXPECT_EQ(results[i].status, -1);
    EXPECT_EQ(results[i].text, String());
  }
}

TEST(HttpRequestTest, Send2SendsTheEncodedBodyAfterTheHead) {
  const struct {
    const char *type, *encoding;
    std::string head, body;
  } rows[] = {
      {"text/plain", "utf8", "Content-Type: text/plain\r\nContent-Length: 6\r\n", "h\xC3\xA9llo"},
      {"", "ascii", "Content-Length: 5\r\n", "h\xE9llo"},
  };
  for (const auto& row : rows) {
    ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\n"});
    Result result;
    auto request = HttpRequest::Create("POST", Address(server.Port(), "/form"), &result);
    request->Send2(u"h\u00E9llo", row.type, row.encoding);
    Await({request}, &result);
    EXPECT_EQ(server.Request(),
              "POST /form HTTP/1.0\r\nHost: 127.0.0.1\r\n" + row.head + "\r\n" + row.body);
  }
}

}  // namespace
