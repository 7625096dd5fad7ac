#include "game/runs/window_runs.h"

#include <cstdio>

#include "base/runtime.h"
#include "game/my_app.h"
#include "game/runs/pilot.h"

namespace {

MyApp& TheApp() {
  return static_cast<MyApp&>(*_app);
}

// Any key, button or click of the player's, except the quit key, which keeps quitting.
bool PlayerPressedAKey(const InputDevice& live) {
  for (int i = 0; i < live.keyHitQueueLength; ++i)
    if (!IsQuitKey(live.keyHitQueue[i])) return true;
  return false;
}

}  // namespace

WindowRuns::WindowRuns(std::unique_ptr<RunRecorder> recorder, std::vector<RecordedRun> replay,
                       bool demo)
    : recorder_(std::move(recorder)),
      replay_(std::move(replay)),
      demo_(demo),
      state_(demo || !replay_.empty() ? State::kWaitForMenu : State::kOff) {}

InputDevice& WindowRuns::BeforeUpdate(InputDevice& live) {
  MyApp& app = TheApp();
  InputDevice& seen = Spectating() ? Spectate(app, live) : live;
  if (recorder_) recorder_->BeforeUpdate(app, seen);
  return seen;
}

void WindowRuns::AfterUpdate() {
  MyApp& app = TheApp();
  if (recorder_) {
    recorder_->AfterUpdate(app);
    TellRecordingProblem();
  }
  switch (state_) {
    case State::kBuilding:
      if (app.screens.ScreenMode == ModeInGame) {
        ApplyCarry(header_.carry, app);
        frames_ = 0;
        state_ = State::kPlaying;
      }
      break;
    case State::kPlaying:
      ++frames_;
      if (app.play.GameOverTimer > 0 || frames_ >= runUpdates_) {
        // The outcome on standard output, as the simulator prints it; a recording of what is
        // shown ends there too.
        std::printf("%s\n", EndLine(app, frames_).c_str());
        std::fflush(stdout);
        if (recorder_) recorder_->Cut(app);
        endShown_ = kEndedLevelShown;
        state_ = State::kShowingEnd;
      }
      break;
    case State::kLeaving:
      app.play.Spectating = false;
      state_ = State::kDone;
      break;
    default:
      break;
  }
}

int WindowRuns::Quit() {
  if (!recorder_) return kExitQuit;
  recorder_->Cut(TheApp());
  TellRecordingProblem();
  return recorder_->Failed() ? kExitRunFile : kExitQuit;
}

// Once, when it happens: play goes on unrecorded.
void WindowRuns::TellRecordingProblem() {
  if (toldProblem_ || !recorder_->Failed()) return;
  kvWarn(recorder_->Problem().c_str());
  toldProblem_ = true;
}

InputDevice& WindowRuns::Spectate(MyApp& app, InputDevice& live) {
  if (live.KeyHit(key::kF4)) return live;
  if (state_ == State::kWaitForMenu) {
    // One update of the menu first: it settles the selected level the demo starts from.
    if (app.frame.LoadStep != 0 || app.screens.ScreenMode != ModeMenu) return live;
    if (!menuShown_) {
      menuShown_ = true;
      return live;
    }
    StartRun(app);
    return Blank();
  }
  if (PlayerPressedAKey(live)) {
    Leave(app);
    return Blank();
  }
  if (state_ == State::kShowingEnd && --endShown_ <= 0) {
    if (demo_ || nextRun_ < replay_.size()) {
      StartRun(app);
    } else {
      Leave(app);
    }
    return Blank();
  }
  if (state_ != State::kPlaying) return Blank();
  source_->Next(app, frame_);
  ApplyFrame(frame_, device_);
  return device_;
}

void WindowRuns::StartRun(MyApp& app) {
  if (demo_) {
    header_ = RunHeader();
    // The demo goes on from level to level after the selected one.
    header_.level = state_ == State::kWaitForMenu ? app.world.Level
                                                  : std::min(app.world.Level + 1, world::kLevels);
    source_ = std::make_unique<Pilot>();
    runUpdates_ = kMaxShownRunUpdates;
  } else {
    const RecordedRun& run = replay_[nextRun_++];
    header_ = run.header;
    source_ = std::make_unique<LinePlayer>(run.input);
    runUpdates_ = run.endFrames.value_or(kMaxShownRunUpdates);
  }
  app.play.Spectating = true;
  app.io.StopTune();
  RequestLevel(app, header_);
  state_ = State::kBuilding;
}

void WindowRuns::Leave(MyApp& app) {
  app.io.StopTune();
  app.pause.Paused = 0;
  // A key still held from leaving must not act on the menu until it is released.
  app.controls.KeyLatch = 1;
  app.screens.ScreenMode = ModeLoadMenu;
  state_ = State::kLeaving;
}

InputDevice& WindowRuns::Blank() {
  ApplyFrame(InputFrame(), device_);
  return device_;
}

bool PrepareWindowRuns(const LaunchOptions& options, std::unique_ptr<WindowRuns>& runs,
                       std::string& message) {
  std::vector<RecordedRun> replay;
  if (!options.replayPath.empty()) {
    if (!ReadRunFile(options.replayPath, replay, message)) return false;
    if (replay.empty()) {
      message = options.replayPath + ": holds no run";
      return false;
    }
  }
  std::unique_ptr<RunRecorder> recorder;
  if (!options.recordPath.empty()) {
    recorder = std::make_unique<RunRecorder>();
    if (!recorder->Open(options.recordPath, message)) return false;
  }
  if (!recorder && replay.empty() && !options.demo) return true;
  runs = std::make_unique<WindowRuns>(std::move(recorder), std::move(replay), options.demo);
  return true;
}
