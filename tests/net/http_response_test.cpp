// Reading responses split in every way a socket may split them, without a network.
#include <gtest/gtest.h>

#include <string>

#include "response_feeder.h"

namespace {

struct Outcome {
  int status;
  String text;
  int bytesReceived;
  int completions;
};

Outcome Read(std::string_view stream, const std::vector<int>& pieces = {}) {
  CompletionCounter listener;
  auto request = HttpRequest::Create("GET", "http://127.0.0.1/", &listener);
  FeedResponse(*request, stream, pieces);
  return {request->Status(), request->ResponseText(), request->bytesReceived, listener.completions};
}

std::vector<int> OneBytePieces(std::string_view stream) {
  return std::vector<int>(stream.size(), 1);
}

constexpr std::string_view kHello = "HTTP/1.0 200 OK\r\nServer: test\r\n\r\nhello";

TEST(HttpResponseTest, StatusAndBodyAreTheSameHoweverTheBytesArrive) {
  for (const auto& pieces : {std::vector<int>{}, OneBytePieces(kHello), std::vector<int>{10, 3},
                             std::vector<int>{22, 11, 1}, std::vector<int>{33, 1, 1}}) {
    const Outcome got = Read(kHello, pieces);
    EXPECT_EQ(got.status, 200);
    EXPECT_EQ(got.text, String("hello"));
    EXPECT_EQ(got.bytesReceived, 5);
    EXPECT_EQ(got.completions, 1);
  }
}

TEST(HttpResponseTest, BareLineFeedsEndLinesToo) {
  EXPECT_EQ(Read("HTTP/1.0 201 Created\nA: b\n\nbody").status, 201);
  EXPECT_EQ(Read("HTTP/1.0 201 Created\nA: b\n\nbody").text, String("body"));
}

TEST(HttpResponseTest, MalformedOrUnfinishedHeadsFinishWithoutStatus) {
  // Only two parts in the status line.
  EXPECT_EQ(Read("HTTP/1.1 204\r\n\r\nignored").status, -1);
  EXPECT_EQ(Read("HTTP/1.1 204\r\n\r\nignored").text, String());
  // Not an HTTP status line.
  EXPECT_EQ(Read("ICY 200 OK\r\n\r\n").status, -1);
  // A blank line before any head line.
  EXPECT_EQ(Read("\r\nHTTP/1.0 200 OK\r\n\r\n").status, -1);
  // The connection closes before the blank line.
  const Outcome cut = Read("HTTP/1.0 200 OK\r\nServer: x\r\n", {5, 5, 5});
  EXPECT_EQ(cut.status, -1);
  EXPECT_EQ(cut.text, String());
  EXPECT_EQ(cut.completions, 1);
  // Nothing at all.
  EXPECT_EQ(Read("").status, -1);
}

TEST(HttpResponseTest, StatusLineIsReadCaseBlind) {
  const Outcome got = Read("http/1.0 404 not found\r\n\r\ngone");
  EXPECT_EQ(got.status, 404);
  EXPECT_EQ(got.text, String("gone"));
  EXPECT_EQ(Read("HTTP/1.0 abc OK\r\n\r\n").status, 0);
}

TEST(HttpResponseTest, AHeadLineThatFillsTheBufferFinishes) {
  const std::string stream =
      "HTTP/1.0 200 OK\r\nX-Big: " + std::string(HttpRequest::kReceiveBufferSize, 'a') +
      "\r\n\r\nhello";
  for (const auto& pieces : {std::vector<int>{}, std::vector<int>{1000, 7}}) {
    const Outcome got = Read(stream, pieces);
    EXPECT_EQ(got.status, -1);
    EXPECT_EQ(got.text, String());
    EXPECT_EQ(got.completions, 1);
  }
  // A line one byte shorter than the buffer still fits.
  const std::string fits =
      "HTTP/1.0 200 OK\r\nX: " + std::string(HttpRequest::kReceiveBufferSize - 6, 'a') +
      "\r\n\r\nok";
  EXPECT_EQ(Read(fits, {17}).status, 200);
}

TEST(HttpResponseTest, LongBodiesArriveInManyReceives) {
  const std::string body(3 * HttpRequest::kReceiveBufferSize + 123, 'z');
  const Outcome got = Read("HTTP/1.0 200 OK\r\n\r\n" + body);
  EXPECT_EQ(got.bytesReceived, static_cast<int>(body.size()));
  EXPECT_EQ(got.text, String(body));
}

TEST(HttpResponseTest, EachBodyPieceIsDecodedOnItsOwn) {
  const std::string stream = "HTTP/1.0 200 OK\r\n\r\n\xC3\xA9t\xC3\xA9";
  EXPECT_EQ(Read(stream).text, String(u"\u00E9t\u00E9"));
  // The second character split between two pieces: both pieces fall back to bytes.
  EXPECT_EQ(Read(stream, {static_cast<int>(stream.size()) - 1, 1}).text,
            String(u"\u00C3\u00A9t\u00C3\u00A9"));
}

TEST(HttpResponseTest, OpenBuildsTheRequestHead) {
  auto request = HttpRequest::Create("GET", "http://host:8080/p?x=1#frag", nullptr);
  EXPECT_EQ(request->url.Port(), 8080);
  EXPECT_EQ(request->Status(), -1);
  EXPECT_EQ(request->TakeRequestHead(), String("GET /p?x=1#frag HTTP/1.0\r\nHost: host\r\n\r\n"));
  EXPECT_TRUE(request->lines.empty());
  request->Open("PUT", "h", nullptr);
  EXPECT_EQ(request->TakeRequestHead(), String("PUT / HTTP/1.0\r\nHost: h\r\n\r\n"));
}

}  // namespace
