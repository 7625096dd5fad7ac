// WAVE and Ogg Vorbis writers.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "audio_assets.h"

namespace assets {
namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

File OpenForWriting(const std::filesystem::path& path) {
  return File(std::fopen(path.c_str(), "wb"), &std::fclose);
}

void PutU32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void PutU16(std::vector<unsigned char>& out, uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void PutTag(std::vector<unsigned char>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

int16_t ToPcm16(float s) {
  return static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
}

// Vorbis wants the samples split into channel planes.
void FeedAnalysis(vorbis_dsp_state& dsp, std::span<const float> interleaved, int channels) {
  constexpr size_t kChunk = 4096;
  size_t frames = interleaved.size() / channels;
  for (size_t start = 0; start < frames; start += kChunk) {
    size_t n = std::min(kChunk, frames - start);
    float** planes = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
    for (size_t i = 0; i < n; ++i) {
      for (int c = 0; c < channels; ++c) planes[c][i] = interleaved[(start + i) * channels + c];
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));
  }
  vorbis_analysis_wrote(&dsp, 0);
}

bool WritePages(ogg_stream_state& stream, FILE* file, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    if (std::fwrite(page.header, 1, page.header_len, file) != size_t(page.header_len) ||
        std::fwrite(page.body, 1, page.body_len, file) != size_t(page.body_len)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool WriteWav(const std::filesystem::path& path, std::span<const float> samples, int channels,
              int rate) {
  std::vector<unsigned char> out;
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, channels);
  PutU32(out, rate);
  PutU32(out, rate * channels * 2);
  PutU16(out, channels * 2);
  PutU16(out, 16);
  PutTag(out, "data");
  PutU32(out, dataBytes);
  for (float s : samples) PutU16(out, static_cast<uint16_t>(ToPcm16(s)));
  File file = OpenForWriting(path);
  return file && std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
}

bool WriteOgg(const std::filesystem::path& path, std::span<const float> interleaved, int channels,
              int rate) {
  constexpr int kStreamSerial = 0x5a6f7276;
  constexpr float kQuality = 0.3f;
  File file = OpenForWriting(path);
  if (!file) return false;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, kQuality) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "zorvane_assetgen");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kStreamSerial);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  bool ok = WritePages(stream, file.get(), true);

  FeedAnalysis(dsp, interleaved, channels);
  ogg_packet packet;
  while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (ok && vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      ok = WritePages(stream, file.get(), false);
    }
  }
  ok = ok && WritePages(stream, file.get(), true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return ok;
}

}  // namespace assets
