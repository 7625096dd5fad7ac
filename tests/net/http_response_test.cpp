// Reading responses split in every way a socket may split them, without a network.
#include <gtest/gtest.h>

#include <string>

#include "net_test_support.h"
#include "response_feeder.h"

namespace {

constexpr int kBufferSize = HttpRequest::kReceiveBufferSize;

TEST(HttpResponseTest, StatusAndBodyAreTheSameHoweverTheBytesArrive) {
  const struct {
    const char* name;
    std::string stream;
    int status;
    std::string text;
  } cases[] = {
      {"one header line", "HTTP/1.0 200 OK\r\nServer: test\r\n\r\nhello", 200, "hello"},
      {"bare line feeds", "HTTP/1.0 201 Created\nA: b\n\nbody", 201, "body"},
      {"lower-case status line", "http/1.0 404 not found\r\n\r\ngone", 404, "gone"},
      {"status that is no number", "HTTP/1.0 abc OK\r\n\r\n", 0, ""},
      {"two-part status line", "HTTP/1.1 204\r\n\r\nignored", -1, ""},
      {"negative status", "HTTP/1.0 -01.1 OK\r\n\r\nbody", -1, ""},
      {"not HTTP", "ICY 200 OK\r\n\r\n", -1, ""},
      {"blank line first", "\r\nHTTP/1.0 200 OK\r\n\r\n", -1, ""},
      {"closed before the blank line", "HTTP/1.0 200 OK\r\nServer: x\r\n", -1, ""},
      {"head line that fills the buffer",
       "HTTP/1.0 200 OK\r\nX-Big: " + std::string(kBufferSize, 'a') + "\r\n\r\nhello", -1, ""},
      {"head line one byte short of the buffer",
       "HTTP/1.0 200 OK\r\nX: " + std::string(kBufferSize - 6, 'a') + "\r\n\r\nok", 200, "ok"},
      {"body longer than the buffer",
       "HTTP/1.0 200 OK\r\n\r\n" + std::string(3 * kBufferSize + 123, 'z'), 200,
       std::string(3 * kBufferSize + 123, 'z')},
  };
  for (const auto& c : cases) {
    // Whole, byte by byte, then cut in the status line and in later lines.
    const std::vector<int> splits[] = {
        {}, std::vector<int>(c.stream.size(), 1), {10, 3}, {22, 11, 1}, {1000, 7}};
    for (const auto& pieces : splits) {
      SCOPED_TRACE(std::string(c.name) + ", split " + std::to_string(&pieces - splits));
      CompletionCounter listener;
      auto request = HttpRequest::Create("GET", "http://127.0.0.1/", &listener);
      FeedResponse(*request, c.stream, pieces);
      EXPECT_EQ(request->Status(), c.status);
      EXPECT_EQ(request->ResponseText(), String(c.text));
      EXPECT_EQ(request->bytesReceived, static_cast<int>(c.text.size()));
      EXPECT_EQ(listener.completions, 1);
    }
  }
}

}  // namespace
