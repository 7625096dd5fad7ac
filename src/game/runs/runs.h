// Runs: levels played as runs, starting a level the way the menu does with what it inherits,
// feeding it input from a source, recording what it read, and telling how it ended; run files,
// the window's replays and recordings, and the autopilot.
// May use: core, frame, world, play, save, screens. Nothing includes runs.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/runs/run_file.h"
#include "game/runs/run_writer.h"

class MyApp;

// Where the input of a run's next update comes from: a run file, a script or the autopilot.
class InputSource {
 public:
  virtual ~InputSource() = default;
  virtual void Next(const MyApp& app, InputFrame& frame) = 0;
};

// The input lines of a run or a key script, update by update; after the last line no key is
// held and positions and axes stay where they were.
class LinePlayer : public InputSource {
 public:
  explicit LinePlayer(const RunInput& input) : input_(&input) {}
  void Next(const MyApp&, InputFrame& frame) override { Next(frame); }
  void Next(InputFrame& frame);

 private:
  // Takes a line's input once, as it starts: its held keys, characters and axes stay for all
  // its updates, and its hit= presses are given again in each.
  void StartLine(const RunLine& line);
  void Take(const LineEntry& entry);

  const RunInput* input_;
  size_t line_ = 0;
  int usedOfLine_ = 0;
  InputFrame current_;
  std::bitset<kKeyCount> hitGiven_;
  std::array<std::uint8_t, kKeyCount> hitCounts_{};
};

// What the level about to start inherits, as a run file's level line tells it.
RunHeader CaptureHeader(const MyApp& app, std::uint32_t seedBeforeBuild);
// Asks for the level as the menu does: the next update builds it from the header's seed.
void RequestLevel(MyApp& app, const RunHeader& header);
// After the update that built the level: the inherited control state.
void ApplyCarry(const RunCarry& carry, MyApp& app);

enum class RunResult { kRunning, kComplete, kLost };
RunResult ResultOf(const MyApp& app);
// "end level=L frames=F result=R score=S lives=N items=ABC"
size_t FormatEndLine(const MyApp& app, int frames, char* out, size_t size);
std::string EndLine(const MyApp& app, int frames);
// "f=F x=X y=Y vx=VX vy=VY room=RX,RY exit=E intro=I lives=N score=S items=ABC weapon=W
// ammo=M objects=K seed=R"
size_t FormatTraceLine(const MyApp& app, int frame, char* out, size_t size);

// Records every level started into a run file: told about each update before and after it
// runs, it notices a level being built, writes the input of each update that ran to its end,
// and the end line once the level has ended or been left.
class RunRecorder {
 public:
  bool Open(const std::string& path, std::string& message) { return writer_.Open(path, message); }
  void BeforeUpdate(const MyApp& app, const InputDevice& device);
  void AfterUpdate(const MyApp& app);
  // A run still going ends here, with its end line as the level stands (result=running).
  void Cut(const MyApp& app);
  // A write failed: nothing more is recorded; Problem() says why.
  bool Failed() const { return writer_.Failed(); }
  const std::string& Problem() const { return writer_.Problem(); }

 private:
  enum class State { kIdle, kBuilding, kBuilt, kRecording };
  void Begin(const MyApp& app);
  void End(const MyApp& app);

  RunWriter writer_;
  State state_ = State::kIdle;
  std::uint32_t seedBeforeBuild_ = 0;
  int frames_ = 0;
  InputFrame frame_;
  char endLine_[128] = {};
};
