#include "sim/sim.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "game/runs/pilot.h"
#include "game/runs/runs.h"
#include "host/signals.h"
#include "input/input_device.h"
#include "sim/headless_game.h"

const char* const kSimUsage =
    "usage: zorvane-sim (--level L | --levels A-B) [--replay FILE | --pilot | --keys SCRIPT] "
    "[--frames N] [--trace] [--record FILE]";

namespace {

constexpr int kMaxFrames = 100'000'000;

bool ParseWhole(std::string_view text, int low, int high, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && text.front() != '-' && error == std::errc() &&
         end == text.data() + text.size() && value >= low && value <= high;
}

bool ParseRange(std::string_view text, SimOptions& options) {
  const size_t dash = text.find('-');
  return dash != std::string_view::npos &&
         ParseWhole(text.substr(0, dash), 1, world::kLevels, options.firstLevel) &&
         ParseWhole(text.substr(dash + 1), options.firstLevel, world::kLevels, options.lastLevel);
}

// One option: its value's name (null for none), its help line, and what it sets from its
// value, or "" when the value is fine.
struct SimOptionRow {
  std::string_view name;
  const char* value;
  const char* help;
  const char* (*set)(SimOptions& options, std::string_view value);
};

const char* SetHelp(SimOptions& options, std::string_view) {
  options.help = true;
  return "";
}

const char* SetSource(SimOptions& options, SimOptions::Source source) {
  if (options.source != SimOptions::Source::kNone)
    return "only one of --replay, --pilot and --keys";
  options.source = source;
  return "";
}

constexpr SimOptionRow kSimOptionRows[] = {
    {"--level", "L", "play level L",
     [](SimOptions& o, std::string_view v) -> const char* {
       if (o.lastLevel != 0) return "only one of --level and --levels";
       return ParseWhole(v, 1, world::kLevels, o.firstLevel) && (o.lastLevel = o.firstLevel)
                  ? ""
                  : "--level L with L from 1 to 1000";
     }},
    {"--levels", "A-B", "play levels A to B, then a summary line",
     [](SimOptions& o, std::string_view v) -> const char* {
       if (o.lastLevel != 0) return "only one of --level and --levels";
       o.levelRange = true;
       return ParseRange(v, o) ? "" : "--levels A-B with 1 <= A <= B <= 1000";
     }},
    {"--replay", "FILE", "replay the runs of FILE (of level L with --level)",
     [](SimOptions& o, std::string_view v) -> const char* {
       o.replayPath = v;
       return SetSource(o, SimOptions::Source::kReplay);
     }},
    {"--pilot", nullptr, "the autopilot plays",
     [](SimOptions& o, std::string_view) { return SetSource(o, SimOptions::Source::kPilot); }},
    {"--keys", "SCRIPT", "hold the keys of the script's COUNT:KEYS items",
     [](SimOptions& o, std::string_view v) -> const char* {
       o.keys = v;
       return SetSource(o, SimOptions::Source::kKeys);
     }},
    {"--frames", "N", "stop a level after N updates (36000, or a replayed run's end)",
     [](SimOptions& o, std::string_view v) -> const char* {
       return ParseWhole(v, 1, kMaxFrames, o.frames) ? "" : "--frames N with N from 1 to 100000000";
     }},
    {"--trace", nullptr, "print a line after every update",
     [](SimOptions& o, std::string_view) -> const char* {
       o.trace = true;
       return "";
     }},
    {"--record", "FILE", "append every level played to FILE as a run file",
     [](SimOptions& o, std::string_view v) -> const char* {
       o.recordPath = v;
       return "";
     }},
    {"--help", nullptr, "print this help", SetHelp},
    {"-h", nullptr, "the same", SetHelp},
};

const SimOptionRow* FindRow(std::string_view name) {
  for (const SimOptionRow& row : kSimOptionRows)
    if (row.name == name) return &row;
  return nullptr;
}

// What is wrong with the options together, or "".
const char* CheckCombination(const SimOptions& o) {
  if (o.help) return "";
  if (o.source == SimOptions::Source::kReplay)
    return o.levelRange ? "--levels cannot be used with --replay" : "";
  return o.lastLevel == 0 ? "expected --level L or --levels A-B" : "";
}

// ---- Playing ----

class Simulator {
 public:
  Simulator(const SimOptions& options, std::FILE* out, RunRecorder* recorder)
      : options_(options),
        out_(out),
        recorder_(recorder),
        game_(HeadlessGame::StateFile::kIgnored) {
    // Sound plays nowhere; off, it costs nothing.
    game_.app().save.Settings[kSoundModeSetting] = 0;
    game_.StepUntilLoaded();
  }

  // Plays the level for at most `limit` updates.
  RunResult Play(const RunHeader& header, InputSource& source, int limit, int& frames) {
    MyApp& app = game_.app();
    HeadlessHost& host = game_.host();
    host.width = header.screenWidth;
    host.height = header.screenHeight;
    app.frame.LastDevWidth = header.screenWidth;
    app.frame.LastDevHeight = header.screenHeight;
    app.frame.FitScreen(static_cast<float>(header.screenWidth),
                        static_cast<float>(header.screenHeight));
    InputDevice& device = *GetInputDevice();
    ApplyFrame(InputFrame(), device);
    RequestLevel(app, header);
    Step(device);
    ApplyCarry(header.carry, app);
    frames = 0;
    while (frames < limit && app.play.GameOverTimer == 0 && !StopRequested()) {
      source.Next(app, frame_);
      ApplyFrame(frame_, device);
      Step(device);
      ++frames;
      if (options_.trace) WriteLine(FormatTraceLine(app, frames, line_, sizeof line_));
    }
    if (recorder_) recorder_->Cut(app);
    WriteLine(FormatEndLine(app, frames, line_, sizeof line_));
    // Each level's outcome is out as soon as it is known, whatever ends the program later.
    std::fflush(out_);
    return ResultOf(app);
  }

  const char* LastLine() const { return line_; }

 private:
  void Step(InputDevice& device) {
    if (recorder_) recorder_->BeforeUpdate(game_.app(), device);
    game_.Step();
    if (recorder_) recorder_->AfterUpdate(game_.app());
  }

  void WriteLine(size_t length) {
    std::fwrite(line_, 1, length, out_);
    std::fputc('\n', out_);
  }

  const SimOptions& options_;
  std::FILE* out_;
  RunRecorder* recorder_;
  HeadlessGame game_;
  InputFrame frame_;
  char line_[512] = {};
};

struct Tally {
  int levels = 0, complete = 0, lost = 0, running = 0;
  long long frames = 0;
  void Add(RunResult result, int runFrames) {
    ++levels;
    frames += runFrames;
    if (result == RunResult::kComplete) ++complete;
    if (result == RunResult::kLost) ++lost;
    if (result == RunResult::kRunning) ++running;
  }
};

std::unique_ptr<InputSource> MakeSource(const SimOptions& options, const RunInput& input) {
  if (options.source == SimOptions::Source::kPilot) return std::make_unique<Pilot>();
  return std::make_unique<LinePlayer>(input);
}

int Fail(std::FILE* err, const std::string& message) {
  std::fprintf(err, "zorvane-sim: %s\n", message.c_str());
  return kSimExitBadFile;
}

// Where a level stops: at --frames, and a replayed run at its recorded end if sooner.
int UpdateLimit(const SimOptions& options, const RecordedRun& run) {
  const int given = options.frames > 0 ? options.frames : kDefaultSimFrames;
  if (!run.endFrames) return given;
  return options.frames > 0 ? std::min(options.frames, *run.endFrames) : *run.endFrames;
}

}  // namespace

bool ParseSimOptions(int argc, const char* const* argv, SimOptions& options, std::string& message) {
  SimOptions parsed;
  for (int i = 1; i < argc; ++i) {
    const SimOptionRow* row = FindRow(argv[i]);
    if (!row) {
      message = "unknown option " + std::string(argv[i]);
      return false;
    }
    std::string_view value;
    if (row->value) {
      if (i + 1 >= argc) {
        message = std::string(argv[i]) + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (const char* expected = row->set(parsed, value); *expected) {
      message = std::string("expected ") + expected;
      return false;
    }
  }
  if (const char* wrong = CheckCombination(parsed); *wrong) {
    message = wrong;
    return false;
  }
  RunInput keys;
  if (parsed.source == SimOptions::Source::kKeys && !ParseKeyScript(parsed.keys, keys, message)) {
    message = "--keys: " + message;
    return false;
  }
  options = std::move(parsed);
  return true;
}

std::string SimHelp() {
  std::string text = std::string(kSimUsage) + "\n\noptions:\n";
  for (const SimOptionRow& row : kSimOptionRows) {
    const std::string option =
        std::string(row.name) + (row.value ? " " : "") + (row.value ? row.value : "");
    char line[160];
    std::snprintf(line, sizeof line, "  %-16s  %s\n", option.c_str(), row.help);
    text += line;
  }
  return text;
}

int RunSim(const SimOptions& options, std::FILE* out, std::FILE* err) {
  if (options.help) {
    std::fputs(SimHelp().c_str(), out);
    return kSimExitDone;
  }
  std::string message;
  std::vector<RecordedRun> runs;
  if (options.source == SimOptions::Source::kReplay) {
    std::vector<RecordedRun> all;
    if (!ReadRunFile(options.replayPath, all, message)) return Fail(err, message);
    for (RecordedRun& run : all)
      if (options.firstLevel == 0 || run.header.level == options.firstLevel)
        runs.push_back(std::move(run));
    if (runs.empty()) return Fail(err, options.replayPath + ": holds no run to replay");
  } else {
    for (int level = options.firstLevel; level <= options.lastLevel; ++level) {
      runs.emplace_back();
      runs.back().header.level = level;
    }
  }
  RunInput keys;
  if (options.source == SimOptions::Source::kKeys) ParseKeyScript(options.keys, keys, message);

  std::unique_ptr<RunRecorder> recorder;
  if (!options.recordPath.empty()) {
    recorder = std::make_unique<RunRecorder>();
    if (!recorder->Open(options.recordPath, message)) return Fail(err, message);
  }
  const auto start = std::chrono::steady_clock::now();
  Simulator simulator(options, out, recorder.get());
  Tally tally;
  for (const RecordedRun& run : runs) {
    if (StopRequested()) break;
    const bool replay = options.source == SimOptions::Source::kReplay;
    const std::unique_ptr<InputSource> source = MakeSource(options, replay ? run.input : keys);
    int frames = 0;
    const RunResult result = simulator.Play(run.header, *source, UpdateLimit(options, run), frames);
    tally.Add(result, frames);
    if (recorder && recorder->Failed()) return Fail(err, recorder->Problem());
    // A level a stop signal cut was not played out: there is no difference to tell.
    if (replay && !StopRequested() && !run.endLine.empty() && run.endLine != simulator.LastLine())
      std::fprintf(err, "zorvane-sim: %s:%d: the replay ended otherwise than recorded: %s\n",
                   options.replayPath.c_str(), run.fileLine, run.endLine.c_str());
  }
  if (options.levelRange) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(out, "summary levels=%d complete=%d lost=%d running=%d frames=%lld seconds=%.2f\n",
                 tally.levels, tally.complete, tally.lost, tally.running, tally.frames, seconds);
  }
  std::fflush(out);
  return kSimExitDone;
}
