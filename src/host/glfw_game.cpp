#include "host/glfw_game.h"

#include <array>
#include <cstdlib>
#include <string>

#include "base/runtime.h"
#include "host/keys.h"
#include "host/signals.h"
#include "host/state_file.h"

KvGlfwGame* KvGlfwGame::_glfwGame = nullptr;

namespace {
constexpr int kRefreshRate = 60;
constexpr int kLastHostKey = glfw2::KEY_LAST;
constexpr int kMaxMouseButton = 2;
constexpr const char* kWindowTitle = "Zorvane";
}  // namespace

String WindowFailureReason() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return "no X display (DISPLAY is not set)";
  const char* reason = glfw2::LastError();
  return reason ? String(reason) : String("the window library gave no reason");
}

KvGlfwGame::KvGlfwGame() {
  _glfwGame = this;
}

KvGlfwGame::~KvGlfwGame() {
  if (_glfwGame == this) _glfwGame = nullptr;
}

void KvGlfwGame::SetUpdateRate(int hertz) {
  KvGame::SetUpdateRate(hertz);
  if (hertz) updatePeriod = 1.0 / hertz;
  nextUpdate = 0.0;
}

int KvGlfwGame::Millisecs() {
  return static_cast<int>(Now() * 1000.0);
}

void KvGlfwGame::SetMouseVisible(bool visible) {
  if (visible) {
    glfw2::Enable(glfw2::MOUSE_CURSOR);
  } else {
    glfw2::Disable(glfw2::MOUSE_CURSOR);
  }
}

int KvGlfwGame::GetDeviceWidth() {
  int width, height;
  glfw2::GetWindowSize(&width, &height);
  return width;
}

int KvGlfwGame::GetDeviceHeight() {
  int width, height;
  glfw2::GetWindowSize(&width, &height);
  return height;
}

void KvGlfwGame::SetDeviceWindow(int width, int height, int flags) {
  SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

void KvGlfwGame::SetFullscreen(bool on) {
  const KvGlfwVideoMode desktop = GetGlfwDesktopMode();
  if (on) {
    RememberWindowed();
    SetGlfwWindow(desktop.width, desktop.height, desktop.red, desktop.green, desktop.blue, 0, 0, 0,
                  true);
  } else {
    OpenWindowed(windowed_, desktop.red, desktop.green, desktop.blue);
  }
}

void KvGlfwGame::KeepWindowPlace() {
  if (windowFailed) return;
  RememberWindowed();
  const std::string_view words[] = {kWindowWord};
  SaveControls(words, FormatWindowLine({windowed_, isFullscreen}));
}

void KvGlfwGame::RememberWindowed() {
  if (isFullscreen) return;
  ScreenRect frame;
  glfw2::GetWindowFrame(&frame.x, &frame.y, &frame.width, &frame.height);
  if (frame.width > 0 && frame.height > 0) windowed_ = frame;
}

void KvGlfwGame::OpenWindowed(const ScreenRect& frame, int red, int green, int blue) {
  SetGlfwWindow(frame.width, frame.height, red, green, blue, 0, 0, 0, false);
  glfw2::SetWindowPos(frame.x, frame.y);
}

std::vector<ScreenRect> KvGlfwGame::WorkAreas() {
  constexpr int kMostMonitors = 16;
  std::array<int, 4 * kMostMonitors> ints{};
  const int count = glfw2::GetMonitorWorkAreas(ints.data(), kMostMonitors);
  std::vector<ScreenRect> areas;
  for (int i = 0; i < count; ++i)
    areas.push_back({ints[4 * i], ints[4 * i + 1], ints[4 * i + 2], ints[4 * i + 3]});
  if (areas.empty()) {
    const KvGlfwVideoMode desktop = GetGlfwDesktopMode();
    areas.push_back({0, 0, desktop.width, desktop.height});
  }
  return areas;
}

WindowPlace KvGlfwGame::StartPlace() {
  const std::vector<ScreenRect> areas = WorkAreas();
  WindowPlace place{FirstWindow(areas.front()), false};
  std::string problem;
  startControls = KvGame::LoadControls();
  if (const auto kept = FindWindowLine(*startControls, problem))
    place = {FitToMonitors(kept->frame, areas), kept->fullscreen};
  if (!problem.empty()) kvWarn(String(ControlsFilePath()) + ": " + String(problem));
  if (windowChosen) place.fullscreen = startFullscreen;
  return place;
}

std::string KvGlfwGame::LoadControls() {
  if (!startControls) return KvGame::LoadControls();
  std::string text = std::move(*startControls);
  startControls.reset();
  return text;
}

std::vector<KvDisplayMode> KvGlfwGame::GetDisplayModes() {
  std::vector<KvDisplayMode> modes;
  for (const auto& mode : GetGlfwVideoModes()) modes.push_back({mode.width, mode.height});
  return modes;
}

KvDisplayMode KvGlfwGame::GetDesktopMode() {
  const KvGlfwVideoMode mode = GetGlfwDesktopMode();
  return {mode.width, mode.height};
}

void KvGlfwGame::SetSwapInterval(int interval) {
  swapInterval = interval;
  if (interval >= 0) glfw2::SwapInterval(interval);
}

KvGlfwVideoMode KvGlfwGame::GetGlfwDesktopMode() {
  glfw2::VidMode mode;
  glfw2::GetDesktopMode(&mode);
  return {mode.Width, mode.Height, mode.RedBits, mode.GreenBits, mode.BlueBits};
}

std::vector<KvGlfwVideoMode> KvGlfwGame::GetGlfwVideoModes() {
  std::vector<glfw2::VidMode> list(kMaxVideoModes);
  const int count = glfw2::GetVideoModes(list.data(), kMaxVideoModes);
  std::vector<KvGlfwVideoMode> modes;
  for (int i = 0; i < count; ++i) {
    const auto& mode = list[i];
    modes.push_back({mode.Width, mode.Height, mode.RedBits, mode.GreenBits, mode.BlueBits});
  }
  return modes;
}

// The game never sees a key stuck down across the reopen.
void KvGlfwGame::ReleaseHeldKeys() {
  for (int key = 0; key <= kLastHostKey; ++key) {
    if (glfw2::GetKey(key) != glfw2::PRESS) continue;
    const int code = TransKey(key);
    if (code) KeyEvent(kEventKeyUp, code);
  }
}

void KvGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen) {
  ReleaseHeldKeys();
  const KvGlfwVideoMode desktop = GetGlfwDesktopMode();
  glfw2::CloseWindow();
  glfw2::OpenWindowHint(glfw2::REFRESH_RATE, kRefreshRate);
  glfw2::OpenWindowHint(glfw2::WINDOW_NO_RESIZE, 0);
  if (!glfw2::OpenWindow(width, height, red, green, blue, alpha, depth, stencil,
                         fullscreen ? glfw2::FULLSCREEN : glfw2::WINDOW)) {
    kvWarn("cannot open a window: " + WindowFailureReason());
    windowFailed = true;
  }
  if (!fullscreen) {
    glfw2::SetWindowPos((desktop.width - width) / 2, (desktop.height - height) / 2);
    glfw2::SetWindowTitle(kWindowTitle);
  }
  isFullscreen = fullscreen;
  if (swapInterval >= 0) glfw2::SwapInterval(swapInterval);
  glfw2::Enable(glfw2::KEY_REPEAT);
  glfw2::SetKeyCallback(OnKey);
  glfw2::SetCharCallback(OnChar);
  glfw2::SetMouseButtonCallback(OnMouseButton);
  glfw2::SetMousePosCallback(OnMousePos);
  glfw2::SetWindowCloseCallback(OnWindowClose);
}

int KvGlfwGame::Run() {
  const WindowPlace place = StartPlace();
  windowed_ = place.frame;
  if (place.fullscreen) {
    const KvGlfwVideoMode desktop = GetGlfwDesktopMode();
    SetGlfwWindow(desktop.width, desktop.height, desktop.red, desktop.green, desktop.blue, 0, 0, 0,
                  true);
  } else {
    OpenWindowed(place.frame, 8, 8, 8);
  }
  StartGame();
  InstallStopHandlers();
  while (WindowOpened() && !StopRequested()) FramePass();
  // A stop signal ends the game as closing its window does.
  if (StopRequested()) OnWindowClose();
  return windowFailed ? kExitFailure : kExitQuit;
}

void KvGlfwGame::FramePass() {
  // A frame the game did not draw again is still on the screen.
  if (RenderGame(WindowDamaged())) SwapBuffers();
  if (nextUpdate != 0.0) {
    const double delay = nextUpdate - Now();
    if (delay > 0) SleepFor(delay);
  }
  if (suspended) {
    WaitEvents();
  } else {
    PollEvents();
  }
  FollowFocus();
  if (!suspended) RunDueUpdates();
}

void KvGlfwGame::FollowFocus() {
  const bool active = WindowActive();
  if (active && suspended) {
    ResumeGame();
    nextUpdate = 0.0;
  } else if (!active && !suspended) {
    SuspendGame();
    nextUpdate = 0.0;
  }
}

void KvGlfwGame::RunDueUpdates() {
  if (updateRate == 0) {
    UpdateGame();
    return;
  }
  if (nextUpdate == 0.0) nextUpdate = Now();
  for (int i = 0; i < kMaxUpdatesPerPass; ++i) {
    UpdateGame();
    // The rate changed or the game was suspended during the update.
    if (nextUpdate == 0.0) return;
    nextUpdate += updatePeriod;
    if (nextUpdate > Now()) return;
  }
  nextUpdate = 0.0;
}

void KvGlfwGame::OnKey(int key, int action) {
  const int code = TransKey(key);
  if (!code) return;
  if (action == glfw2::RELEASE) {
    _glfwGame->KeyEvent(kEventKeyUp, code);
  } else if (action == glfw2::PRESS) {
    _glfwGame->KeyEvent(kEventKeyDown, code);
    if (const int character = KeyToChar(code)) _glfwGame->KeyEvent(kEventChar, character);
  }
}

void KvGlfwGame::OnChar(int character, int action) {
  if (action == glfw2::PRESS) _glfwGame->KeyEvent(kEventChar, character);
}

void KvGlfwGame::OnMouseButton(int button, int action) {
  if (button > kMaxMouseButton) return;
  int x, y;
  glfw2::GetMousePos(&x, &y);
  const int event = action == glfw2::PRESS ? kEventMouseDown : kEventMouseUp;
  _glfwGame->MouseEvent(event, button, static_cast<float>(x), static_cast<float>(y));
}

void KvGlfwGame::OnMousePos(int x, int y) {
  _glfwGame->MouseEvent(kEventMouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

int KvGlfwGame::OnWindowClose() {
  _glfwGame->KeyEvent(kEventKeyDown, key::kWindowClose);
  _glfwGame->KeyEvent(kEventKeyUp, key::kWindowClose);
  return 0;
}
