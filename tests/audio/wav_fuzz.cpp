// Feeds arbitrary bytes to the WAVE reader: no crash, no read outside the input, and an
// accepted file always holds every frame it claims.
#include <cstdint>
#include <cstdlib>

#include "audio/audio_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int length = 0, channels = 0, bytesPerSample = 0, hertz = 0;
  const auto samples = LoadWAV({data, size}, length, channels, bytesPerSample, hertz);
  if (samples) {
    const uint64_t claimed = uint64_t{1} * length * channels * bytesPerSample;
    if (length < 0 || channels < 1 || bytesPerSample < 1 || hertz < 1 ||
        samples->size() < claimed) {
      std::abort();
    }
  }
  return 0;
}
