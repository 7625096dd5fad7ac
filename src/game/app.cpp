#include "game/app.h"

#include <set>

#include "audio/audio_device.h"
#include "base/runtime.h"
#include "graphics/graphics.h"
#include "input/input_device.h"

App* _app = nullptr;
GameDelegate* _delegate = nullptr;
KvGame* _game = nullptr;
int _updateRate = 0;
int _devWidth = 0;
int _devHeight = 0;
std::vector<DisplayMode> _displayModes;
DisplayMode _desktopMode;

App::App() {
  if (_app) kvError("App has already been created");
  _app = this;
  _delegate = new GameDelegate();
  _game->SetDelegate(_delegate);
}

App::~App() {
  if (_app != this) return;
  _game->SetDelegate(nullptr);
  delete _delegate;
  _delegate = nullptr;
  _app = nullptr;
}

void App::OnClose() {
  EndApp();
}

void App::OnBack() {
  EndApp();
}

void GameDelegate::StartGame() {
  if (!_graphics) _graphics = new gxtkGraphics(_game->GetDeviceWidth(), _game->GetDeviceHeight());
  SetGraphicsDevice(_graphics);
  SetFont(nullptr, 32);
  if (!_audio) _audio = new gxtkAudio();
  SetAudioDevice(_audio);
  if (!_input) _input = new InputDevice();
  SetInputDevice(_input);
  ValidateDeviceWindow(false);
  EnumDisplayModes();
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

void GameDelegate::RenderGame() {
  ValidateDeviceWindow(false);
  const int mode = _graphics->BeginRender();
  if (mode) BeginRender();
  if (mode && mode != 2) _app->OnRender();
  if (mode) EndRender();
  _graphics->EndRender();
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
  _updateRate = hertz;
  _game->SetUpdateRate(hertz);
}

int UpdateRate() {
  return _updateRate;
}

int Millisecs() {
  return _game->Millisecs();
}

void EndApp() {
  kvExit(_delegate && _delegate->_tap ? _delegate->_tap->Quit() : kExitQuit);
}

int DeviceWidth() {
  return _devWidth;
}

int DeviceHeight() {
  return _devHeight;
}

void ValidateDeviceWindow(bool) {
  _devWidth = _game->GetDeviceWidth();
  _devHeight = _game->GetDeviceHeight();
}

void SetFullscreen(bool on) {
  if (_game) _game->SetFullscreen(on);
}

void EnumDisplayModes() {
  std::set<int> seen;
  _displayModes.clear();
  for (const auto& mode : _game->GetDisplayModes()) {
    if (seen.insert(mode.width << 16 | mode.height).second) {
      _displayModes.push_back({mode.width, mode.height});
    }
  }
  const KvDisplayMode desktop = _game->GetDesktopMode();
  _desktopMode = desktop.width || desktop.height ? DisplayMode{desktop.width, desktop.height}
                                                 : DisplayMode{_devWidth, _devHeight};
}

void SaveState(const String& state) {
  _game->SaveState(state);
}

String LoadState() {
  return _game->LoadState();
}

void KeepDamagedState() {
  _game->KeepDamagedState();
}
