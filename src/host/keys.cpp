#include "host/keys.h"

#include "host/glfw2.h"
#include "host/key_codes.h"

namespace {

constexpr int kSpecialCharBase = 65536;
constexpr int kDeleteChar = 127;

struct KeyPair {
  int glfw;
  int code;
};

constexpr KeyPair kKeyTable[] = {
    {' ', key::kSpace},
    {'"', key::kQuote},
    {'\'', key::kQuote},
    {',', key::kComma},
    {'-', key::kMinus},
    {'.', key::kPeriod},
    {'/', key::kSlash},
    {';', key::kSemicolon},
    {'=', key::kEquals},
    {'[', key::kOpenBracket},
    {'\\', key::kBackslash},
    {']', key::kCloseBracket},
    {'`', key::kBackquote},
    {'~', key::kBackquote},
    {glfw2::KEY_ESC, key::kEscape},
    {glfw2::KEY_UP, key::kUp},
    {glfw2::KEY_DOWN, key::kDown},
    {glfw2::KEY_LEFT, key::kLeft},
    {glfw2::KEY_RIGHT, key::kRight},
    {glfw2::KEY_LSHIFT, key::kShift},
    {glfw2::KEY_RSHIFT, key::kShift},
    {glfw2::KEY_LCTRL, key::kCtrl},
    {glfw2::KEY_RCTRL, key::kCtrl},
    {glfw2::KEY_TAB, key::kTab},
    {glfw2::KEY_ENTER, key::kEnter},
    {glfw2::KEY_BACKSPACE, key::kBackspace},
    {glfw2::KEY_INSERT, key::kInsert},
    {glfw2::KEY_DEL, key::kDelete},
    {glfw2::KEY_PAGEUP, key::kPageUp},
    {glfw2::KEY_PAGEDOWN, key::kPageDown},
    {glfw2::KEY_HOME, key::kHome},
    {glfw2::KEY_END, key::kEnd},
    {glfw2::KEY_KP_DIVIDE, key::kKeypadDivide},
    {glfw2::KEY_KP_MULTIPLY, key::kKeypadMultiply},
    {glfw2::KEY_KP_SUBTRACT, key::kKeypadSubtract},
    {glfw2::KEY_KP_ADD, key::kKeypadAdd},
    {glfw2::KEY_KP_DECIMAL, key::kKeypadDecimal},
};

constexpr int kF12 = glfw2::KEY_F1 + 11;

}  // namespace

int TransKey(int glfwKey) {
  if ((glfwKey >= '0' && glfwKey <= '9') || (glfwKey >= 'A' && glfwKey <= 'Z')) return glfwKey;
  if (glfwKey >= glfw2::KEY_F1 && glfwKey <= kF12) return key::kF1 + (glfwKey - glfw2::KEY_F1);
  if (glfwKey >= glfw2::KEY_KP_0 && glfwKey <= glfw2::KEY_KP_9)
    return key::kKeypad0 + (glfwKey - glfw2::KEY_KP_0);
  for (const auto& pair : kKeyTable)
    if (pair.glfw == glfwKey) return pair.code;
  return 0;
}

int KeyToChar(int code) {
  switch (code) {
    case key::kBackspace:
    case key::kTab:
    case key::kEnter:
    case key::kEscape:
      return code;
    case key::kDelete:
      return kDeleteChar;
    default:
      break;
  }
  if ((code >= key::kPageUp && code <= key::kDown) || code == key::kInsert)
    return kSpecialCharBase + code;
  return 0;
}
