// Drives a request's response reading the way its socket would, without a network: each
// receive gets at most the next piece and never more than the room left in the buffer.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "net/http_request.h"

struct CompletionCounter : IOnHttpRequestComplete {
  void OnHttpRequestComplete(HttpRequest&) override { ++completions; }
  int completions = 0;
};

// Pieces are sizes of at least 1; the stream after the last piece comes in receives as large
// as the buffer allows. The end of the stream is a receive of 0 bytes (the server closed).
inline void FeedResponse(HttpRequest& request, std::string_view stream,
                         const std::vector<int>& pieces) {
  request.TakeRequestHead();  // as when it was sent
  DataBuffer& buffer = request.ReceiveBuffer();
  size_t at = 0;
  size_t piece = 0;
  int leftInPiece = 0;
  int offset = 0;
  for (;;) {
    if (leftInPiece == 0 && at < stream.size()) {
      leftInPiece = piece < pieces.size() ? pieces[piece++] : static_cast<int>(stream.size());
    }
    const int wanted = std::min<int>(leftInPiece, static_cast<int>(stream.size() - at));
    const int count = std::min(wanted, buffer.Length() - offset);
    std::memcpy(buffer.Data() + offset, stream.data() + at, count);
    at += count;
    leftInPiece -= count;
    const int next = request.ReadResponse(offset, count);
    if (next == HttpRequest::kFinished) {
      request.Finish();
      return;
    }
    offset = next;
  }
}
