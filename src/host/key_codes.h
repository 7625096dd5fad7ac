// The framework's key codes: keyboard keys by their virtual-key numbers (letters and digits
// are their upper-case character), then mouse, joystick, touch and window keys.
#pragma once

namespace key {
constexpr int kMouseLeft = 1;
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kCtrl = 17;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kKeypad0 = 96;
constexpr int kKeypadMultiply = 106;
constexpr int kKeypadAdd = 107;
constexpr int kKeypadSubtract = 109;
constexpr int kKeypadDecimal = 110;
constexpr int kKeypadDivide = 111;
constexpr int kF1 = 112;
constexpr int kF2 = 113;
constexpr int kF4 = 115;
constexpr int kF11 = 122;
constexpr int kSemicolon = 186;
constexpr int kEquals = 187;
constexpr int kComma = 188;
constexpr int kMinus = 189;
constexpr int kPeriod = 190;
constexpr int kSlash = 191;
constexpr int kBackquote = 192;  // also the tilde
constexpr int kOpenBracket = 219;
constexpr int kBackslash = 220;
constexpr int kCloseBracket = 221;
constexpr int kQuote = 222;
// Joystick j's button b is kJoyBase + kJoyButtons * j + b.
constexpr int kJoyBase = 256;
constexpr int kJoyButtons = 32;
constexpr int kTouchBase = 384;
constexpr int kConsoleBack = 416;
constexpr int kWindowClose = 432;

constexpr int JoyButton(int joystick, int button) {
  return kJoyBase + kJoyButtons * joystick + button;
}
}  // namespace key
