#include "game/runs/runs.h"

#include <algorithm>
#include <cstdio>

#include "base/random.h"
#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/my_app.h"

namespace {

void ApplyAxes(const LineEntry& entry, const float* v, InputAxes& axes) {
  switch (entry.kind) {
    case LineEntry::kMouse:
      // As on the device, the mouse and the first touch are one pointer.
      axes.mouseX = axes.touchX[0] = v[0];
      axes.mouseY = axes.touchY[0] = v[1];
      break;
    case LineEntry::kTouch:
      axes.touchX[entry.device] = v[0];
      axes.touchY[entry.device] = v[1];
      break;
    case LineEntry::kJoy:
      std::copy_n(v, kJoyAxes, axes.joy[entry.device].begin());
      break;
    case LineEntry::kAccel:
      std::copy_n(v, kAccelAxes, axes.accel.begin());
      break;
    default:
      break;
  }
}

// The three item states as digits, e.g. "012".
void ItemDigits(const MyApp& app, char digits[world::kPaths + 1]) {
  for (int item = 0; item < world::kPaths; ++item) {
    const auto state = static_cast<int>(app.play.Player[player::Item(item, player::kItemState)]);
    digits[item] = static_cast<char>('0' + std::clamp(state, 0, 9));
  }
  digits[world::kPaths] = '\0';
}

int LiveObjects(const MyApp& app) {
  int live = 0;
  for (int r = 0; r < object::kRecords; ++r)
    if (app.play.Objects[static_cast<size_t>(r * object::kFloats + object::kKind)] > 0) ++live;
  return live;
}

const char* ResultName(RunResult result) {
  switch (result) {
    case RunResult::kComplete:
      return "complete";
    case RunResult::kLost:
      return "lost";
    default:
      return "running";
  }
}

size_t Clip(int written, size_t size) {
  if (written < 0 || size == 0) return 0;
  return std::min(static_cast<size_t>(written), size - 1);
}

}  // namespace

void LinePlayer::Next(InputFrame& frame) {
  const std::bitset<kKeyCount> before = current_.held;
  if (line_ < input_->lines.size()) {
    const RunLine& line = input_->lines[line_];
    if (usedOfLine_ == 0) StartLine(line);
    if (++usedOfLine_ >= line.count) {
      ++line_;
      usedOfLine_ = 0;
    }
  } else {
    current_.held.reset();
    current_.charCount = 0;
    hitGiven_.reset();
  }
  DeriveHits(before, current_);
  for (int key = 0; key < kKeyCount; ++key)
    if (hitGiven_[key]) current_.hits[key] = hitCounts_[key];
  frame = current_;
}

void LinePlayer::StartLine(const RunLine& line) {
  current_.held.reset();
  for (size_t i = 0; i < kKeyLetters.size(); ++i)
    if (line.letters >> i & 1) current_.held[kKeyLetters[i].key] = true;
  current_.charCount = 0;
  hitGiven_.reset();
  const auto first = input_->entries.begin() + line.firstEntry;
  std::for_each(first, first + line.entryCount, [this](const LineEntry& entry) { Take(entry); });
}

void LinePlayer::Take(const LineEntry& entry) {
  switch (entry.kind) {
    case LineEntry::kHeld:
      current_.held[entry.key] = true;
      break;
    case LineEntry::kHit:
      hitGiven_[entry.key] = true;
      hitCounts_[entry.key] = static_cast<std::uint8_t>(entry.value);
      break;
    case LineEntry::kChar:
      if (current_.charCount < kCharQueueSize) current_.chars[current_.charCount++] = entry.value;
      break;
    default:
      ApplyAxes(entry, &input_->axisValues[static_cast<size_t>(entry.value)], current_.axes);
      break;
  }
}

RunHeader CaptureHeader(const MyApp& app, std::uint32_t seedBeforeBuild) {
  RunHeader header;
  header.level = app.world.Level;
  header.seed = seedBeforeBuild;
  header.screenWidth = DeviceWidth();
  header.screenHeight = DeviceHeight();
  RunCarry& c = header.carry;
  c.keyLatch = app.controls.KeyLatch;
  c.rampX = app.controls.KeyAnalogX;
  c.rampY = app.controls.KeyAnalogY;
  c.hudHidden = app.play.HudHidden;
  c.icade = app.controls.ICade;
  std::copy_n(app.controls.PadKeys.begin(), kCarriedPadKeys, c.padKeys.begin());
  c.stickX = app.controls.StickOriginX;
  c.stickY = app.controls.StickOriginY;
  c.pointerX = app.controls.PointerX;
  c.pointerY = app.controls.PointerY;
  c.pointerWasDown = app.controls.PointerWasDown;
  c.pointerActive = app.controls.PointerActive;
  return header;
}

void RequestLevel(MyApp& app, const RunHeader& header) {
  app.world.Level = header.level;
  app.screens.ScreenMode = ModeLoadGame;
  Seed = static_cast<int>(header.seed);
}

void ApplyCarry(const RunCarry& c, MyApp& app) {
  app.controls.KeyLatch = c.keyLatch;
  app.controls.KeyAnalogX = c.rampX;
  app.controls.KeyAnalogY = c.rampY;
  app.play.HudHidden = c.hudHidden;
  app.controls.ICade = c.icade;
  std::copy_n(c.padKeys.begin(), kCarriedPadKeys, app.controls.PadKeys.begin());
  app.controls.StickOriginX = c.stickX;
  app.controls.StickOriginY = c.stickY;
  app.controls.PointerX = app.controls.LastPointerX = c.pointerX;
  app.controls.PointerY = app.controls.LastPointerY = c.pointerY;
  app.controls.PointerWasDown = c.pointerWasDown;
  app.controls.PointerActive = c.pointerActive;
}

RunResult ResultOf(const MyApp& app) {
  if (app.play.GameOverTimer <= 0) return RunResult::kRunning;
  if (app.play.ExitState < 0) return RunResult::kComplete;
  if (app.play.Lives < 1) return RunResult::kLost;
  return RunResult::kRunning;
}

size_t FormatEndLine(const MyApp& app, int frames, char* out, size_t size) {
  char items[world::kPaths + 1];
  ItemDigits(app, items);
  return Clip(
      std::snprintf(out, size, "end level=%d frames=%d result=%s score=%d lives=%d items=%s",
                    app.world.Level, frames, ResultName(ResultOf(app)), app.play.Score,
                    app.play.Lives, items),
      size);
}

std::string EndLine(const MyApp& app, int frames) {
  char line[160];
  return std::string(line, FormatEndLine(app, frames, line, sizeof line));
}

size_t FormatTraceLine(const MyApp& app, int frame, char* out, size_t size) {
  char items[world::kPaths + 1];
  ItemDigits(app, items);
  const auto p = [&app](int index) { return static_cast<double>(app.play.Player[index]); };
  return Clip(
      std::snprintf(out, size,
                    "f=%d x=%g y=%g vx=%g vy=%g room=%g,%g exit=%d intro=%d lives=%d score=%d "
                    "items=%s weapon=%g ammo=%g objects=%d seed=%u",
                    frame, p(player::kX), p(player::kY), p(player::kVX), p(player::kVY),
                    p(player::kRoomX), p(player::kRoomY), app.play.ExitState, app.play.LevelIntro,
                    app.play.Lives, app.play.Score, items, p(player::kWeapon), p(player::kAmmo),
                    LiveObjects(app), static_cast<unsigned>(Seed)),
      size);
}

void RunRecorder::BeforeUpdate(const MyApp& app, const InputDevice& device) {
  if (state_ == State::kBuilt) Begin(app);
  // Written once the update has run: an update the program quits in is no part of the run.
  if (state_ == State::kRecording) CaptureFrame(device, frame_);
  if (app.frame.LoadStep == 0 && app.screens.ScreenMode == ModeLoadGame) {
    seedBeforeBuild_ = static_cast<std::uint32_t>(Seed);
    state_ = State::kBuilding;
  }
}

void RunRecorder::AfterUpdate(const MyApp& app) {
  if (state_ == State::kBuilding) {
    state_ = app.screens.ScreenMode == ModeInGame ? State::kBuilt : State::kIdle;
    return;
  }
  if (state_ != State::kRecording) return;
  writer_.Add(frame_);
  ++frames_;
  // The level ended, or the player left it through the pause panel.
  if (app.play.GameOverTimer > 0 || app.screens.ScreenMode != ModeInGame) End(app);
}

void RunRecorder::Cut(const MyApp& app) {
  // A level built and not yet played is a run of no updates.
  if (state_ == State::kBuilt) Begin(app);
  if (state_ == State::kRecording) End(app);
  state_ = State::kIdle;
}

void RunRecorder::Begin(const MyApp& app) {
  writer_.BeginRun(CaptureHeader(app, seedBeforeBuild_));
  frames_ = 0;
  state_ = State::kRecording;
}

void RunRecorder::End(const MyApp& app) {
  writer_.EndRun(
      std::string_view(endLine_, FormatEndLine(app, frames_, endLine_, sizeof endLine_)));
  state_ = State::kIdle;
}
