// Response reading fed arbitrary byte streams in random splits: it finishes exactly once,
// never reads outside its buffer, and how the bytes were split does not change the status or
// the body length (nor the body text when it is all ASCII).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "response_feeder.h"

namespace {

struct Outcome {
  int status;
  int bytesReceived;
  String text;
};

Outcome Read(std::string_view stream, const std::vector<int>& pieces) {
  CompletionCounter listener;
  auto request = HttpRequest::Create("GET", "http://127.0.0.1/", &listener);
  FeedResponse(*request, stream, pieces);
  if (listener.completions != 1) std::abort();
  if (request->Status() == -1 && !request->ResponseText().Empty()) std::abort();
  return {request->Status(), request->bytesReceived, request->ResponseText()};
}

// Mostly small pieces, now and then one larger than the receive buffer.
std::vector<int> PiecesFromSeed(uint32_t seed, size_t streamSize) {
  std::vector<int> pieces;
  size_t covered = 0;
  while (covered < streamSize) {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t draw = seed >> 8;
    const int size = draw % 16 == 0 ? 1 + static_cast<int>(draw % 20000) : 1 + draw % 64;
    pieces.push_back(size);
    covered += size;
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kSeedBytes = 4;
  if (size < kSeedBytes) return 0;
  const uint32_t seed =
      data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  const std::string_view stream(reinterpret_cast<const char*>(data + kSeedBytes),
                                size - kSeedBytes);

  const Outcome whole = Read(stream, {});
  const Outcome split = Read(stream, PiecesFromSeed(seed, stream.size()));
  if (whole.status != split.status || whole.bytesReceived != split.bytesReceived) std::abort();
  const bool ascii = std::all_of(stream.begin(), stream.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii && whole.text != split.text) std::abort();
  return 0;
}
