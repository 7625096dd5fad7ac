#include "game/core/app.h"

#include "audio/audio_device.h"
#include "base/runtime.h"
#include "graphics/graphics.h"
#include "input/input_device.h"

App* _app = nullptr;

App::App() {
  if (_app) kvError("App has already been created");
  _app = this;
  delegate_ = std::make_unique<GameDelegate>();
  KvGame::_game->SetDelegate(delegate_.get());
}

App::~App() {
  if (_app != this) return;
  KvGame::_game->SetDelegate(nullptr);
  _app = nullptr;
}

void App::AttachTap(std::unique_ptr<UpdateTap> tap) {
  tap_ = std::move(tap);
  delegate_->_tap = tap_.get();
}

void App::OnClose() {
  EndApp();
}

void App::OnBack() {
  EndApp();
}

void GameDelegate::StartGame() {
  if (!_graphics) {
    _graphics = new gxtkGraphics(KvGame::_game->GetDeviceWidth(), KvGame::_game->GetDeviceHeight());
  }
  SetGraphicsDevice(_graphics);
  SetFont(nullptr, 32);
  if (!_audio) _audio = new gxtkAudio();
  SetAudioDevice(_audio);
  if (!_input) _input = new InputDevice();
  SetInputDevice(_input);
  ValidateDeviceWindow(false);
  _app->OnCreate();
}

void GameDelegate::SuspendGame() {
  _app->OnSuspend();
  _audio->Suspend();
}

void GameDelegate::ResumeGame() {
  _audio->Resume();
  _app->OnResume();
}

void GameDelegate::UpdateGame() {
  ValidateDeviceWindow(false);
  _input->BeginUpdate();
  InputDevice& seen = _tap ? _tap->BeforeUpdate(*_input) : *_input;
  SetInputDevice(&seen);
  _app->OnUpdate();
  if (_tap) _tap->AfterUpdate();
  seen.EndUpdate();
  if (&seen != _input) {
    _input->EndUpdate();
    SetInputDevice(_input);
  }
}

bool GameDelegate::RenderGame(bool redraw) {
  ValidateDeviceWindow(false);
  if (!redraw && _app->FrameUnchanged()) return false;
  const int mode = _graphics->BeginRender();
  if (mode) BeginRender();
  if (mode && mode != 2) _app->OnRender();
  if (mode) EndRender();
  _graphics->EndRender();
  return true;
}

void GameDelegate::KeyEvent(int event, int data) {
  _input->KeyEvent(event, data);
  if (event == kEventKeyDown && (data == key::kConsoleBack || data == key::kWindowClose)) EndApp();
}

void GameDelegate::MouseEvent(int event, int data, float x, float y) {
  _input->MouseEvent(event, data, x, y);
}

void GameDelegate::TouchEvent(int event, int data, float x, float y) {
  _input->TouchEvent(event, data, x, y);
}

void GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
  _input->MotionEvent(event, data, x, y, z);
}

void GameDelegate::DiscardGraphics() {
  _graphics->DiscardGraphics();
}

void SetUpdateRate(int hertz) {
  _app->updateRate = hertz;
  KvGame::_game->SetUpdateRate(hertz);
}

int UpdateRate() {
  return _app ? _app->updateRate : 0;
}

int Millisecs() {
  return KvGame::_game->Millisecs();
}

void EndApp() {
  if (KvGame::_game) KvGame::_game->KeepWindowPlace();
  UpdateTap* tap = _app ? _app->Delegate()._tap : nullptr;
  kvExit(tap ? tap->Quit() : kExitQuit);
}

int DeviceWidth() {
  return _app ? _app->deviceWidth : 0;
}

int DeviceHeight() {
  return _app ? _app->deviceHeight : 0;
}

void ValidateDeviceWindow(bool) {
  _app->deviceWidth = KvGame::_game->GetDeviceWidth();
  _app->deviceHeight = KvGame::_game->GetDeviceHeight();
}

void SetFullscreen(bool on) {
  if (KvGame::_game) KvGame::_game->SetFullscreen(on);
}

void SaveState(const String& state) {
  KvGame::_game->SaveState(state);
}

String LoadState() {
  return KvGame::_game->LoadState();
}

std::string LoadControls() {
  return KvGame::_game->LoadControls();
}

bool SaveControls(std::span<const std::string_view> words, std::string_view lines) {
  return KvGame::_game->SaveControls(words, lines);
}

void KeepDamagedState() {
  KvGame::_game->KeepDamagedState();
}
