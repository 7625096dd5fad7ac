#include "sim/headless_game.h"

#include <cstdlib>

#include "audio/audio_device.h"
#include "graphics/renderer.h"
#include "input/input_device.h"

namespace {
constexpr int kUpdateMillisecs = 16;
}

HeadlessGame::HeadlessGame(StateFile stateFile) {
  // No sound card: OpenAL Soft plays into nothing.
  setenv("ALSOFT_DRIVERS", "null", 0);
  host_.usesStateFile = stateFile == StateFile::kUsed;
  kvInit();
  app_ = std::make_unique<MyApp>();
  host_.StartGame();
}

HeadlessGame::~HeadlessGame() {
  GameDelegate* delegate = &app_->Delegate();
  gxtkGraphics* graphics = delegate->_graphics;
  gxtkAudio* audio = delegate->_audio;
  InputDevice* input = delegate->_input;
  app_.reset();
  delete graphics;
  delete audio;
  delete input;
}

void HeadlessGame::Step(int updates) {
  for (int i = 0; i < updates; ++i) {
    host_.millisecs += kUpdateMillisecs;
    host_.UpdateGame();
  }
}

void HeadlessGame::StepUntilLoaded(int limit) {
  for (int i = 0; i < limit && app_->frame.LoadStep > 0; ++i) Step();
}

void HeadlessGame::KeyDown(int key) {
  host_.KeyEvent(kEventKeyDown, key);
}

void HeadlessGame::KeyUp(int key) {
  host_.KeyEvent(kEventKeyUp, key);
}

void HeadlessGame::TapKey(int key) {
  KeyDown(key);
  Step();
  KeyUp(key);
}

void HeadlessGame::TypeChar(int character) {
  host_.KeyEvent(kEventChar, character);
}

void HeadlessGame::MouseMove(float x, float y) {
  host_.MouseEvent(kEventMouseMove, -1, x, y);
}

void HeadlessGame::MouseButton(int button, bool down) {
  auto* input = GetInputDevice();
  host_.MouseEvent(down ? kEventMouseDown : kEventMouseUp, button, input->mouseX, input->mouseY);
}
