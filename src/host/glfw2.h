// The single-window GLFW 2.7 interface the host is written against, on top of GLFW 3:
// one implicit window, 2.7 key numbering, close requests the host can refuse, and a
// context sequence number that rises with every opened window. Like 2.7, it knows one kind of
// unit once a window is open: the window's size and the mouse position are in framebuffer
// pixels, which on a scaled (high-DPI) screen are more than the window's screen coordinates.
#pragma once

#include <array>

// Number of the current OpenGL context; surfaces rebuild their textures when it changes.
extern int glfwGraphicsSeq;

namespace glfw2 {

constexpr int RELEASE = 0;
constexpr int PRESS = 1;

constexpr int WINDOW = 0x00010001;
constexpr int FULLSCREEN = 0x00010002;

// Window parameters.
constexpr int OPENED = 0x00020001;
constexpr int ACTIVE = 0x00020002;
constexpr int ICONIFIED = 0x00020003;

// Window hints.
constexpr int REFRESH_RATE = 0x0002000B;
constexpr int WINDOW_NO_RESIZE = 0x00020012;

// Enable/Disable tokens.
constexpr int MOUSE_CURSOR = 0x00030001;
constexpr int KEY_REPEAT = 0x00030005;

// Joysticks are numbered from 0 to JOYSTICK_SLOTS - 1.
constexpr int JOYSTICK_SLOTS = 16;
// Joystick parameters.
constexpr int PRESENT = 0x00050001;
constexpr int AXES = 0x00050002;
constexpr int BUTTONS = 0x00050003;

// Key codes: printable keys are their upper-case character, special keys start above 256.
constexpr int KEY_UNKNOWN = -1;
constexpr int KEY_SPACE = 32;
constexpr int KEY_SPECIAL = 256;
constexpr int KEY_ESC = 257;
constexpr int KEY_F1 = 258;
constexpr int KEY_F25 = 282;
constexpr int KEY_UP = 283;
constexpr int KEY_DOWN = 284;
constexpr int KEY_LEFT = 285;
constexpr int KEY_RIGHT = 286;
constexpr int KEY_LSHIFT = 287;
constexpr int KEY_RSHIFT = 288;
constexpr int KEY_LCTRL = 289;
constexpr int KEY_RCTRL = 290;
constexpr int KEY_LALT = 291;
constexpr int KEY_RALT = 292;
constexpr int KEY_TAB = 293;
constexpr int KEY_ENTER = 294;
constexpr int KEY_BACKSPACE = 295;
constexpr int KEY_INSERT = 296;
constexpr int KEY_DEL = 297;
constexpr int KEY_PAGEUP = 298;
constexpr int KEY_PAGEDOWN = 299;
constexpr int KEY_HOME = 300;
constexpr int KEY_END = 301;
constexpr int KEY_KP_0 = 302;
constexpr int KEY_KP_9 = 311;
constexpr int KEY_KP_DIVIDE = 312;
constexpr int KEY_KP_MULTIPLY = 313;
constexpr int KEY_KP_SUBTRACT = 314;
constexpr int KEY_KP_ADD = 315;
constexpr int KEY_KP_DECIMAL = 316;
constexpr int KEY_KP_EQUAL = 317;
constexpr int KEY_KP_ENTER = 318;
constexpr int KEY_KP_NUM_LOCK = 319;
constexpr int KEY_CAPS_LOCK = 320;
constexpr int KEY_SCROLL_LOCK = 321;
constexpr int KEY_PAUSE = 322;
constexpr int KEY_LSUPER = 323;
constexpr int KEY_RSUPER = 324;
constexpr int KEY_MENU = 325;
constexpr int KEY_LAST = KEY_MENU;

// Colour bits in the order GLFW 2.7 stores them: red, blue, green.
struct VidMode {
  int Width;
  int Height;
  int RedBits;
  int BlueBits;
  int GreenBits;
};

using KeyFun = void (*)(int key, int action);
using CharFun = void (*)(int character, int action);
using MouseButtonFun = void (*)(int button, int action);
using MousePosFun = void (*)(int x, int y);
// Returns 0 to keep the window open.
using WindowCloseFun = int (*)();

// A controller that GLFW knows as a gamepad, read through its standard layout.
constexpr int GAMEPAD_BUTTONS = 15;
constexpr int GAMEPAD_AXES = 6;
namespace pad {
// Buttons.
constexpr int A = 0, B = 1, X = 2, Y = 3, LEFT_BUMPER = 4, RIGHT_BUMPER = 5, BACK = 6, START = 7,
              GUIDE = 8, LEFT_THUMB = 9, RIGHT_THUMB = 10, DPAD_UP = 11, DPAD_RIGHT = 12,
              DPAD_DOWN = 13, DPAD_LEFT = 14;
// Axes: sticks from -1 to 1 with y positive down, triggers from -1 (released) to 1.
constexpr int LEFT_X = 0, LEFT_Y = 1, RIGHT_X = 2, RIGHT_Y = 3, LEFT_TRIGGER = 4, RIGHT_TRIGGER = 5;
}  // namespace pad
struct GamepadState {
  std::array<bool, GAMEPAD_BUTTONS> buttons{};
  std::array<float, GAMEPAD_AXES> axes{};
};

// The 2.7 key code of a GLFW 3 key, KEY_UNKNOWN when 2.7 has none; and back.
int KeyFrom3(int key3);
int KeyTo3(int key2);

bool Init();
void Terminate();
// The window library's description of its last error; null when it has none.
const char* LastError();

void OpenWindowHint(int target, int hint);
// Closes the current window and context first; bumps glfwGraphicsSeq. Returns 1 when open.
int OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
               int stencil, int mode);
void CloseWindow();
void SetWindowTitle(const char* title);
void SetWindowPos(int x, int y);
void GetWindowSize(int* width, int* height);
// The window's position and size in screen coordinates (not pixels); zeros without a window.
void GetWindowFrame(int* x, int* y, int* width, int* height);
// The work area (x, y, width, height: the desktop less its panels) of each monitor, the primary
// first, four ints each into areas; how many monitors were written.
int GetMonitorWorkAreas(int* areas, int maxCount);
// OPENED: a window exists and was not asked to close; ACTIVE: it has the focus.
int GetWindowParam(int param);

void GetDesktopMode(VidMode* mode);
int GetVideoModes(VidMode* list, int maxCount);

void SwapInterval(int interval);
// True once after the window was opened or exposed damaged, until then false.
bool TakeWindowDamage();
void SwapBuffers();
void PollEvents();
// Waits for an event, or a quarter of a second at most: the frame loop of a suspended game
// still notices a stop signal.
void WaitEvents();
double GetTime();
void Sleep(double seconds);

void Enable(int token);
void Disable(int token);

int GetKey(int key2);
void GetMousePos(int* x, int* y);

int GetJoystickParam(int joy, int param);
int GetJoystickPos(int joy, float* pos, int numAxes);
int GetJoystickButtons(int joy, unsigned char* buttons, int numButtons);
// False when the joystick is absent or has no gamepad mapping.
bool GetGamepadState(int joy, GamepadState* state);
// Adds controller mappings in the SDL text format (later ones replace earlier ones for the same
// device); null when all were understood, else why one was not.
const char* UpdateGamepadMappings(const char* mappings);

// A position in the window's screen coordinates as framebuffer pixels.
int ToPixels(double position, int windowSize, int framebufferSize);

void SetKeyCallback(KeyFun callback);
void SetCharCallback(CharFun callback);
void SetMouseButtonCallback(MouseButtonFun callback);
void SetMousePosCallback(MousePosFun callback);
void SetWindowCloseCallback(WindowCloseFun callback);

}  // namespace glfw2
