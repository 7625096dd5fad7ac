// Arbitrary bytes as a run file: the reader never crashes; a file it accepts, written out again
// by the writer from the input it stands for, reads back into the same runs and the same
// input, update by update.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "game/runs/run_file.h"
#include "game/runs/run_writer.h"
#include "game/runs/runs.h"

namespace {

// Enough updates to pass every line of a small file; a longer run is compared this far.
constexpr long long kUpdatesCompared = 4000;

void Check(bool holds) {
  if (!holds) std::abort();
}

std::vector<InputFrame> Play(const RecordedRun& run, long long updates) {
  LinePlayer player(run.input);
  std::vector<InputFrame> frames(static_cast<size_t>(updates));
  for (InputFrame& frame : frames) player.Next(frame);
  return frames;
}

long long Updates(const RecordedRun& run) {
  return std::accumulate(run.input.lines.begin(), run.input.lines.end(), 0LL,
                         [](long long sum, const RunLine& line) { return sum + line.count; });
}

std::string Write(const RecordedRun& run, const std::vector<InputFrame>& frames) {
  char* text = nullptr;
  size_t size = 0;
  {
    RunWriter writer;
    writer.Adopt(open_memstream(&text, &size), "memory");
    writer.BeginRun(run.header);
    for (const InputFrame& frame : frames) writer.Add(frame);
    writer.EndRun(run.endLine);
  }
  std::string written(text, size);
  std::free(text);
  return written;
}

bool SameFrame(const InputFrame& a, const InputFrame& b) {
  return a.held == b.held && a.hits == b.hits && a.charCount == b.charCount &&
         std::equal(a.chars.begin(), a.chars.begin() + a.charCount, b.chars.begin()) &&
         SameAxes(a.axes, b.axes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<RecordedRun> runs;
  std::string message;
  if (!ParseRuns(std::string_view(reinterpret_cast<const char*>(data), size), runs, message)) {
    Check(!message.empty() && runs.empty());
    return 0;
  }
  for (const RecordedRun& run : runs) {
    const long long updates = std::min(Updates(run), kUpdatesCompared);
    const std::vector<InputFrame> frames = Play(run, updates);
    std::vector<RecordedRun> again;
    Check(ParseRuns(Write(run, frames), again, message));
    Check(again.size() == 1 && again[0].header == run.header && again[0].endLine == run.endLine);
    Check(Updates(again[0]) == updates);
    const std::vector<InputFrame> replayed = Play(again[0], updates);
    for (size_t i = 0; i < frames.size(); ++i) Check(SameFrame(frames[i], replayed[i]));
  }
  return 0;
}
