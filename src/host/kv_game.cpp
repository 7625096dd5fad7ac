#include "host/kv_game.h"

#include <ctime>
#include <new>

#include "base/runtime.h"
#include "host/files.h"
#include "host/state_file.h"

KvGame* KvGame::_game = nullptr;

KvGame::KvGame() {
  _game = this;
}

KvGame::~KvGame() {
  if (_game == this) _game = nullptr;
}

void KvGame::GetDate(std::vector<int>& date) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const int fields[] = {local.tm_year + 1900,
                        local.tm_mon + 1,
                        local.tm_mday,
                        local.tm_hour,
                        local.tm_min,
                        local.tm_sec,
                        0};
  for (size_t i = 0; i < date.size() && i < std::size(fields); ++i) date[i] = fields[i];
}

int KvGame::SaveState(const String& state) {
  return WriteStateFile(state);
}

String KvGame::LoadState() {
  return ReadStateFile();
}

void KvGame::KeepDamagedState() {
  KeepDamagedStateFile();
}

std::string KvGame::LoadControls() {
  return ReadControlsFile();
}

bool KvGame::SaveControls(std::span<const std::string_view> words, std::string_view lines) {
  return WriteControlsLines(words, lines);
}

String KvGame::LoadString(const String& path) {
  return ::LoadString(path);
}

bool KvGame::PollJoystick(int, JoyAxes&, JoyAxes&, JoyAxes&, JoyButtons&) {
  return false;
}

void KvGame::OpenUrl(const String& url) {
  ::OpenUrl(url);
}

String KvGame::PathToFilePath(const String& path) {
  return ::PathToFilePath(path);
}

void KvGame::Die() {
  kvPrint(String(kRuntimeErrorPrefix) + "Uncaught Brisko Exception");
  kvExit(kExitError);
}

template <typename Call>
void KvGame::Guarded(Call call) {
  try {
    call();
  } catch (const BriskoThrowable&) {
    Die();
  } catch (const std::bad_alloc&) {
    kvOutOfMemory();
  }
}

void KvGame::StartGame() {
  if (started) return;
  started = true;
  Guarded([this] { delegate->StartGame(); });
}

void KvGame::SuspendGame() {
  if (!started || suspended) return;
  suspended = true;
  Guarded([this] { delegate->SuspendGame(); });
}

void KvGame::ResumeGame() {
  if (!started || !suspended) return;
  suspended = false;
  Guarded([this] { delegate->ResumeGame(); });
}

void KvGame::UpdateGame() {
  if (!started || suspended) return;
  Guarded([this] { delegate->UpdateGame(); });
}

bool KvGame::RenderGame(bool redraw) {
  if (!started) return false;
  bool drawn = true;
  Guarded([&] { drawn = delegate->RenderGame(redraw); });
  return drawn;
}

void KvGame::KeyEvent(int event, int data) {
  if (!started) return;
  Guarded([&] { delegate->KeyEvent(event, data); });
}

void KvGame::MouseEvent(int event, int data, float x, float y) {
  if (!started) return;
  Guarded([&] { delegate->MouseEvent(event, data, x, y); });
}

void KvGame::TouchEvent(int event, int data, float x, float y) {
  if (!started) return;
  Guarded([&] { delegate->TouchEvent(event, data, x, y); });
}

void KvGame::MotionEvent(int event, int data, float x, float y, float z) {
  if (!started) return;
  Guarded([&] { delegate->MotionEvent(event, data, x, y, z); });
}

void KvGame::DiscardGraphics() {
  Guarded([this] { delegate->DiscardGraphics(); });
}
