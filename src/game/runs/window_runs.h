// Runs in the window: recording what the player plays, and replays and the demo, which take
// the game over from the menu and hand it back when they end or a key is pressed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/core/app.h"
#include "game/runs/runs.h"
#include "host/launch_options.h"

class MyApp;

// How long an ended level stays on screen before the next run starts, in updates.
constexpr int kEndedLevelShown = 180;
// A demonstrated level, or a replayed one whose file gives no end, that has not ended by then
// is ended by the spectator.
constexpr int kMaxShownRunUpdates = 36000;
// The exit status when a run file cannot be read or recorded into.
constexpr int kExitRunFile = 1;

class WindowRuns : public UpdateTap {
 public:
  // Replays the runs given, or the demo when `demo` is set; records when a path is open.
  WindowRuns(std::unique_ptr<RunRecorder> recorder, std::vector<RecordedRun> replay, bool demo);
  InputDevice& BeforeUpdate(InputDevice& live) override;
  void AfterUpdate() override;
  // The recording ends with the level as it stands; kExitRunFile when it could not be written.
  int Quit() override;

  bool Spectating() const { return state_ != State::kOff && state_ != State::kDone; }

 private:
  enum class State { kOff, kWaitForMenu, kBuilding, kPlaying, kShowingEnd, kLeaving, kDone };
  InputDevice& Spectate(MyApp& app, InputDevice& live);
  void StartRun(MyApp& app);
  void Leave(MyApp& app);
  InputDevice& Blank();
  void TellRecordingProblem();

  std::unique_ptr<RunRecorder> recorder_;
  std::vector<RecordedRun> replay_;
  bool demo_;
  State state_;
  size_t nextRun_ = 0;
  RunHeader header_;
  std::unique_ptr<InputSource> source_;
  InputDevice device_;
  InputFrame frame_;
  int frames_ = 0;
  int runUpdates_ = kMaxShownRunUpdates;  // where the level shown is ended
  int endShown_ = 0;
  bool menuShown_ = false;  // the menu has had an update since loading ended
  bool toldProblem_ = false;
};

// Reads the replay file and opens the record file the options name into runs (left empty when
// the options ask for neither, nor for the demo); false with a message.
bool PrepareWindowRuns(const LaunchOptions& options, std::unique_ptr<WindowRuns>& runs,
                       std::string& message);
