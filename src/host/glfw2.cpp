#include "host/glfw2.h"
#include <utility>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include "host/web_gamepad.h"
#endif

int glfwGraphicsSeq = 0;

namespace glfw2 {

static_assert(JOYSTICK_SLOTS == GLFW_JOYSTICK_LAST + 1);
#ifndef __EMSCRIPTEN__  // the browser's window library has no gamepad layout of its own
// The standard layout is GLFW's own numbering.
static_assert(pad::A == GLFW_GAMEPAD_BUTTON_A && pad::GUIDE == GLFW_GAMEPAD_BUTTON_GUIDE &&
              pad::DPAD_LEFT == GLFW_GAMEPAD_BUTTON_LAST &&
              GAMEPAD_BUTTONS == GLFW_GAMEPAD_BUTTON_LAST + 1);
static_assert(pad::LEFT_Y == GLFW_GAMEPAD_AXIS_LEFT_Y &&
              pad::RIGHT_TRIGGER == GLFW_GAMEPAD_AXIS_LAST &&
              GAMEPAD_AXES == GLFW_GAMEPAD_AXIS_LAST + 1);
#endif

namespace {

constexpr const char* kInitialTitle = "Zorvane";

struct KeyPair {
  int key3;
  int key2;
};

// Special keys; printable keys share their codes between the two versions.
constexpr KeyPair kSpecialKeys[] = {
    {GLFW_KEY_ESCAPE, KEY_ESC},
    {GLFW_KEY_ENTER, KEY_ENTER},
    {GLFW_KEY_TAB, KEY_TAB},
    {GLFW_KEY_BACKSPACE, KEY_BACKSPACE},
    {GLFW_KEY_INSERT, KEY_INSERT},
    {GLFW_KEY_DELETE, KEY_DEL},
    {GLFW_KEY_RIGHT, KEY_RIGHT},
    {GLFW_KEY_LEFT, KEY_LEFT},
    {GLFW_KEY_DOWN, KEY_DOWN},
    {GLFW_KEY_UP, KEY_UP},
    {GLFW_KEY_PAGE_UP, KEY_PAGEUP},
    {GLFW_KEY_PAGE_DOWN, KEY_PAGEDOWN},
    {GLFW_KEY_HOME, KEY_HOME},
    {GLFW_KEY_END, KEY_END},
    {GLFW_KEY_CAPS_LOCK, KEY_CAPS_LOCK},
    {GLFW_KEY_SCROLL_LOCK, KEY_SCROLL_LOCK},
    {GLFW_KEY_NUM_LOCK, KEY_KP_NUM_LOCK},
    {GLFW_KEY_PAUSE, KEY_PAUSE},
    {GLFW_KEY_KP_DECIMAL, KEY_KP_DECIMAL},
    {GLFW_KEY_KP_DIVIDE, KEY_KP_DIVIDE},
    {GLFW_KEY_KP_MULTIPLY, KEY_KP_MULTIPLY},
    {GLFW_KEY_KP_SUBTRACT, KEY_KP_SUBTRACT},
    {GLFW_KEY_KP_ADD, KEY_KP_ADD},
    {GLFW_KEY_KP_ENTER, KEY_KP_ENTER},
    {GLFW_KEY_KP_EQUAL, KEY_KP_EQUAL},
    {GLFW_KEY_LEFT_SHIFT, KEY_LSHIFT},
    {GLFW_KEY_LEFT_CONTROL, KEY_LCTRL},
    {GLFW_KEY_LEFT_ALT, KEY_LALT},
    {GLFW_KEY_LEFT_SUPER, KEY_LSUPER},
    {GLFW_KEY_RIGHT_SHIFT, KEY_RSHIFT},
    {GLFW_KEY_RIGHT_CONTROL, KEY_RCTRL},
    {GLFW_KEY_RIGHT_ALT, KEY_RALT},
    {GLFW_KEY_RIGHT_SUPER, KEY_RSUPER},
    {GLFW_KEY_MENU, KEY_MENU},
};

struct State {
  GLFWwindow* window = nullptr;
  int refreshRate = 0;
  bool resizable = true;
  bool keyRepeat = false;
  KeyFun key = nullptr;
  CharFun character = nullptr;
  MouseButtonFun mouseButton = nullptr;
  MousePosFun mousePos = nullptr;
  WindowCloseFun windowClose = nullptr;
  // The window is new or showed damage: the next frame must be drawn and shown in full.
  bool damaged = false;
  // Kept from the window's events: asking the X server costs a round trip, several a frame.
  int width = 0, height = 0;
  bool focused = false;
};
State state;

void OnKey3(GLFWwindow*, int key, int, int action, int) {
  if (action == GLFW_REPEAT) {
    if (!state.keyRepeat) return;
    action = GLFW_PRESS;
  }
  const int key2 = KeyFrom3(key);
  if (state.key && key2 != KEY_UNKNOWN) state.key(key2, action == GLFW_PRESS ? PRESS : RELEASE);
}

void OnChar3(GLFWwindow*, unsigned int codepoint) {
  if (state.character) state.character(static_cast<int>(codepoint), PRESS);
}

void OnMouseButton3(GLFWwindow*, int button, int action, int) {
  if (state.mouseButton) state.mouseButton(button, action == GLFW_PRESS ? PRESS : RELEASE);
}

// The cursor in framebuffer pixels.
void CursorInPixels(GLFWwindow* window, double x, double y, int* px, int* py) {
  int width = 0, height = 0, pixelsWide = 0, pixelsHigh = 0;
  glfwGetWindowSize(window, &width, &height);
  glfwGetFramebufferSize(window, &pixelsWide, &pixelsHigh);
  *px = ToPixels(x, width, pixelsWide);
  *py = ToPixels(y, height, pixelsHigh);
}

void OnCursorPos3(GLFWwindow* window, double x, double y) {
  int px = 0, py = 0;
  CursorInPixels(window, x, y, &px, &py);
  if (state.mousePos) state.mousePos(px, py);
}

void OnClose3(GLFWwindow* window) {
  if (state.windowClose && state.windowClose() == 0) glfwSetWindowShouldClose(window, GLFW_FALSE);
}

void OnRefresh3(GLFWwindow*) {
  state.damaged = true;
}

void OnFramebufferSize3(GLFWwindow*, int width, int height) {
  state.width = width;
  state.height = height;
}

void OnFocus3(GLFWwindow*, int focused) {
  state.focused = focused == GLFW_TRUE;
}

void InstallCallbacks(GLFWwindow* window) {
  glfwSetWindowRefreshCallback(window, OnRefresh3);
  glfwSetFramebufferSizeCallback(window, OnFramebufferSize3);
  glfwSetWindowFocusCallback(window, OnFocus3);
  glfwSetKeyCallback(window, OnKey3);
  glfwSetCharCallback(window, OnChar3);
  glfwSetMouseButtonCallback(window, OnMouseButton3);
  glfwSetCursorPosCallback(window, OnCursorPos3);
  glfwSetWindowCloseCallback(window, OnClose3);
}

VidMode ToVidMode(const GLFWvidmode& mode) {
  return {mode.width, mode.height, mode.redBits, mode.blueBits, mode.greenBits};
}

}  // namespace

int KeyFrom3(int key3) {
  if (key3 >= GLFW_KEY_SPACE && key3 <= GLFW_KEY_GRAVE_ACCENT) return key3;
  if (key3 >= GLFW_KEY_F1 && key3 <= GLFW_KEY_F25) return KEY_F1 + (key3 - GLFW_KEY_F1);
  if (key3 >= GLFW_KEY_KP_0 && key3 <= GLFW_KEY_KP_9) return KEY_KP_0 + (key3 - GLFW_KEY_KP_0);
  for (const auto& pair : kSpecialKeys)
    if (pair.key3 == key3) return pair.key2;
  return KEY_UNKNOWN;
}

int KeyTo3(int key2) {
  if (key2 >= KEY_SPACE && key2 <= GLFW_KEY_GRAVE_ACCENT) return key2;
  if (key2 >= KEY_F1 && key2 <= KEY_F25) return GLFW_KEY_F1 + (key2 - KEY_F1);
  if (key2 >= KEY_KP_0 && key2 <= KEY_KP_9) return GLFW_KEY_KP_0 + (key2 - KEY_KP_0);
  for (const auto& pair : kSpecialKeys)
    if (pair.key2 == key2) return pair.key3;
  return GLFW_KEY_UNKNOWN;
}

#ifdef __EMSCRIPTEN__
namespace {

// The controller in that slot as the browser reports it; false when there is none or the
// browser does not know its layout.
EM_JS(int, ReadStandardPad, (int slot, float* buttons, int buttonCount, float* axes, int axisCount),
      {
        var pads = navigator.getGamepads ? navigator.getGamepads() : [];
        var pad = pads[slot];
        if (!pad || pad.mapping != "standard") return 0;
        for (var b = 0; b < buttonCount; ++b)
          HEAPF32[(buttons >> 2) + b] = b < pad.buttons.length ? pad.buttons[b].value : 0;
        for (var a = 0; a < axisCount; ++a)
          HEAPF32[(axes >> 2) + a] = a < pad.axes.length ? pad.axes[a] : 0;
        return 1;
      });

}  // namespace

// The browser's window library has neither init hints nor an error query, and the browser
// maps controllers itself.
bool Init() {
  return glfwInit() == GLFW_TRUE;
}

const char* LastError() {
  return nullptr;
}

bool GetGamepadState(int joy, GamepadState* pad) {
  StandardPad standard;
  if (!ReadStandardPad(joy, standard.buttons.data(), kStandardPadButtons, standard.axes.data(),
                       kStandardPadAxes)) {
    return false;
  }
  *pad = FromStandardPad(standard);
  return true;
}

const char* UpdateGamepadMappings(const char*) {
  return nullptr;
}

// The page has no monitors to tell of; a window's place falls back to the desktop mode.
int GetMonitorWorkAreas(int*, int) {
  return 0;
}
#else
bool Init() {
  // 2.7 reported a controller's hat as axes, never as extra buttons; the button layout
  // rules count on that.
  glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
  return glfwInit() == GLFW_TRUE;
}

const char* LastError() {
  const char* description = nullptr;
  glfwGetError(&description);
  return description;
}

bool GetGamepadState(int joy, GamepadState* pad) {
  GLFWgamepadstate read{};
  if (!glfwGetGamepadState(joy, &read)) return false;
  for (int i = 0; i < GAMEPAD_BUTTONS; ++i) pad->buttons[i] = read.buttons[i] == GLFW_PRESS;
  for (int i = 0; i < GAMEPAD_AXES; ++i) pad->axes[i] = read.axes[i];
  return true;
}

const char* UpdateGamepadMappings(const char* mappings) {
  // Earlier errors are not this call's; a line GLFW cannot read leaves its error behind.
  glfwGetError(nullptr);
  glfwUpdateGamepadMappings(mappings);
  const char* description = nullptr;
  return glfwGetError(&description) == GLFW_NO_ERROR ? nullptr : description;
}

int GetMonitorWorkAreas(int* areas, int maxCount) {
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  count = monitors ? std::min(count, maxCount) : 0;
  for (int i = 0; i < count; ++i) {
    int* area = areas + 4 * i;
    glfwGetMonitorWorkarea(monitors[i], &area[0], &area[1], &area[2], &area[3]);
  }
  return count;
}
#endif

void Terminate() {
  glfwTerminate();
  state.window = nullptr;
}

void OpenWindowHint(int target, int hint) {
  if (target == REFRESH_RATE) state.refreshRate = hint;
  if (target == WINDOW_NO_RESIZE) state.resizable = hint == 0;
}

int OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
               int stencil, int mode) {
  CloseWindow();
  glfwDefaultWindowHints();
  glfwWindowHint(GLFW_RED_BITS, red);
  glfwWindowHint(GLFW_GREEN_BITS, green);
  glfwWindowHint(GLFW_BLUE_BITS, blue);
  glfwWindowHint(GLFW_ALPHA_BITS, alpha);
  glfwWindowHint(GLFW_DEPTH_BITS, depth);
  glfwWindowHint(GLFW_STENCIL_BITS, stencil);
  glfwWindowHint(GLFW_REFRESH_RATE, state.refreshRate > 0 ? state.refreshRate : GLFW_DONT_CARE);
  glfwWindowHint(GLFW_RESIZABLE, state.resizable ? GLFW_TRUE : GLFW_FALSE);
  // Like 2.7, hints apply to one opening only.
  state.refreshRate = 0;
  state.resizable = true;
  GLFWmonitor* monitor = mode == FULLSCREEN ? glfwGetPrimaryMonitor() : nullptr;
  state.window = glfwCreateWindow(width, height, kInitialTitle, monitor, nullptr);
  ++glfwGraphicsSeq;
  if (!state.window) return 0;
  glfwMakeContextCurrent(state.window);
  InstallCallbacks(state.window);
  glfwGetFramebufferSize(state.window, &state.width, &state.height);
  state.focused = glfwGetWindowAttrib(state.window, GLFW_FOCUSED) == GLFW_TRUE;
  state.damaged = true;
  return 1;
}

void CloseWindow() {
  if (!state.window) return;
  glfwDestroyWindow(state.window);
  state.window = nullptr;
}

void SetWindowTitle(const char* title) {
  if (state.window) glfwSetWindowTitle(state.window, title);
}

void SetWindowPos(int x, int y) {
  if (state.window) glfwSetWindowPos(state.window, x, y);
}

void GetWindowSize(int* width, int* height) {
  *width = state.window ? state.width : 0;
  *height = state.window ? state.height : 0;
}

void GetWindowFrame(int* x, int* y, int* width, int* height) {
  *x = *y = *width = *height = 0;
  if (!state.window) return;
  glfwGetWindowPos(state.window, x, y);
  glfwGetWindowSize(state.window, width, height);
}

int GetWindowParam(int param) {
  if (!state.window) return 0;
  switch (param) {
    case OPENED:
      return !glfwWindowShouldClose(state.window);
    case ACTIVE:
      return state.focused;
    case ICONIFIED:
      return glfwGetWindowAttrib(state.window, GLFW_ICONIFIED);
    default:
      return 0;
  }
}

void GetDesktopMode(VidMode* mode) {
  *mode = {};
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
  if (desktop) *mode = ToVidMode(*desktop);
}

int GetVideoModes(VidMode* list, int maxCount) {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  int count = 0;
  const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
  if (!modes) return 0;
  count = std::min(count, maxCount);
  for (int i = 0; i < count; ++i) list[i] = ToVidMode(modes[i]);
  return count;
}

void SwapInterval(int interval) {
  if (state.window) glfwSwapInterval(interval);
}

bool TakeWindowDamage() {
  return std::exchange(state.damaged, false);
}

void SwapBuffers() {
  if (state.window) glfwSwapBuffers(state.window);
}

void PollEvents() {
  glfwPollEvents();
}

void WaitEvents() {
  constexpr double kLongestWaitSeconds = 0.25;
  glfwWaitEventsTimeout(kLongestWaitSeconds);
}

double GetTime() {
  return glfwGetTime();
}

void Sleep(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void Enable(int token) {
  if (token == KEY_REPEAT) state.keyRepeat = true;
  if (token == MOUSE_CURSOR && state.window)
    glfwSetInputMode(state.window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
}

void Disable(int token) {
  if (token == KEY_REPEAT) state.keyRepeat = false;
  if (token == MOUSE_CURSOR && state.window)
    glfwSetInputMode(state.window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
}

int GetKey(int key2) {
  const int key3 = KeyTo3(key2);
  if (!state.window || key3 == GLFW_KEY_UNKNOWN) return RELEASE;
  return glfwGetKey(state.window, key3) == GLFW_PRESS ? PRESS : RELEASE;
}

void GetMousePos(int* x, int* y) {
  *x = *y = 0;
  if (!state.window) return;
  double fx = 0, fy = 0;
  glfwGetCursorPos(state.window, &fx, &fy);
  CursorInPixels(state.window, fx, fy, x, y);
}

int ToPixels(double position, int windowSize, int framebufferSize) {
  if (windowSize <= 0) return static_cast<int>(position);
  return static_cast<int>(position * framebufferSize / windowSize);
}

int GetJoystickParam(int joy, int param) {
  if (!glfwJoystickPresent(joy)) return 0;
  int count = 0;
  switch (param) {
    case PRESENT:
      return 1;
    case AXES:
      glfwGetJoystickAxes(joy, &count);
      return count;
    case BUTTONS:
      glfwGetJoystickButtons(joy, &count);
      return count;
    default:
      return 0;
  }
}

int GetJoystickPos(int joy, float* pos, int numAxes) {
  int count = 0;
  const float* axes = glfwGetJoystickAxes(joy, &count);
  if (!axes) return 0;
  count = std::min(count, numAxes);
  // 2.7 reports stick y positive up; GLFW 3 reports it positive down.
  for (int i = 0; i < count; ++i) pos[i] = i % 2 == 1 ? -axes[i] : axes[i];
  return count;
}

int GetJoystickButtons(int joy, unsigned char* buttons, int numButtons) {
  int count = 0;
  const unsigned char* state3 = glfwGetJoystickButtons(joy, &count);
  if (!state3) return 0;
  count = std::min(count, numButtons);
  for (int i = 0; i < count; ++i) buttons[i] = state3[i] == GLFW_PRESS ? PRESS : RELEASE;
  return count;
}

void SetKeyCallback(KeyFun callback) {
  state.key = callback;
}
void SetCharCallback(CharFun callback) {
  state.character = callback;
}
void SetMouseButtonCallback(MouseButtonFun callback) {
  state.mouseButton = callback;
}
void SetMousePosCallback(MousePosFun callback) {
  state.mousePos = callback;
}
void SetWindowCloseCallback(WindowCloseFun callback) {
  state.windowClose = callback;
}

}  // namespace glfw2
