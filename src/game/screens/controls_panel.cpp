// The Controls panel: each action's keys and controller button, chosen by keyboard, mouse or
// controller; a key pressed for a slot takes it, swapped with the action that held it. The
// bindings are kept in the controls file beside the state file.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/runtime.h"
#include "game/core/app.h"
#include "game/frame/bindings.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_io.h"
#include "game/frame/sound_table.h"
#include "game/screens/screens.h"
#include "host/key_codes.h"
#include "host/state_file.h"
#include "host/window_place.h"
#include "input/input_device.h"

namespace {

// Rows: the back control, the seven actions, then Defaults.
constexpr int kBackRow = 0;
constexpr int kFirstActionRow = 1;
constexpr int kDefaultsRow = kFirstActionRow + kActions;
// Columns: the key slots, then the controller's button.
constexpr int kButtonColumn = kKeySlots;

constexpr const char* kRowLabels[kActions] = {"Thrust", "Left",    "Right", "Down",
                                              "Fire",   "Special", "Pause"};

constexpr float kBackX = 100.0f, kBackY = 60.0f, kBackLabelGap = 76.0f;
constexpr float kTitleSize = 2.0f, kLabelSize = 1.5f, kCellTextSize = 1.25f;
constexpr float kLabelX = 70.0f;
constexpr float kFirstCellX = 180.0f, kCellStep = 94.0f, kCellWidth = 90.0f;
constexpr float kButtonCellWidth = 100.0f;
constexpr float kHeadingY = 104.0f, kFirstRowY = 130.0f, kRowStep = 34.0f;
constexpr float kCellHeight = 26.0f;
constexpr float kDefaultsGap = 16.0f, kDefaultsX = 84.0f, kDefaultsWidth = 180.0f;
constexpr float kNoteY = 450.0f;

// The first code past the keyboard's and the mouse's, and past the joysticks'.
constexpr int kFirstKeyboardCode = key::kMouseLeft + kMouseButtons;
constexpr int kEndOfJoyCodes = key::kTouchBase;

// Words of the controls file's lines that belong to others.
constexpr std::array<std::string_view, 2> kOtherWords = {kWindowWord, kItemMarksWord};

float RowY(int row) {
  if (row == kDefaultsRow) return kFirstRowY + kRowStep * kActions + kDefaultsGap;
  return kFirstRowY + kRowStep * (row - kFirstActionRow);
}

float CellX(int column) {
  return kFirstCellX + kCellStep * column;
}

float CellWidth(int column) {
  return column == kButtonColumn ? kButtonCellWidth : kCellWidth;
}

void Latch(MenuScreen& menu) {
  menu.OptionKeyLatch = menu.OptionTouchLatch = 1;
}

bool LatchesFree(const MenuScreen& menu) {
  return menu.OptionKeyLatch == 0 && menu.OptionTouchLatch == 0;
}

String CellText(const Controls& controls, int action, int column) {
  const ActionKeys& keys = controls.Bindings[action];
  if (column < kButtonColumn) {
    const char* name = KeyName(keys.keys[column]);
    return name ? String(name) : String("-");
  }
  if (keys.buttons[0] == kNoButton) return "-";
  const int more = static_cast<int>(
      std::count_if(keys.buttons.begin() + 1, keys.buttons.end(), [](int b) { return b >= 0; }));
  String text(ButtonName(keys.buttons[0]));
  return more > 0 ? text + "+" + String(std::to_string(more)) : text;
}

void StartListening(Controls& controls, MenuScreen& menu) {
  menu.ControlsListen = MenuScreen::kListenRelease;
  menu.ControlsNote = String("Press a key or button for ") +
                      kRowLabels[menu.ControlsRow - kFirstActionRow] + " (Escape: cancel)";
  controls.ListenUnbound(true);
  Latch(menu);
}

void StopListening(Controls& controls, MenuScreen& menu, const BindingTable& table) {
  menu.ControlsListen = MenuScreen::kListenOff;
  controls.SetBindings(table);
  SaveControlsFile(controls);
  Latch(menu);
}

String Named(int key) {
  const char* name = KeyName(key);
  return name ? String(name) : String("That key");
}

// What a bind did, for the note under the table.
String Outcome(const BindResult& result, const String& code, int action) {
  switch (result.outcome) {
    case BindOutcome::kSwapped:
      return code + " was " + kRowLabels[result.other] + "'s: swapped with " + kRowLabels[action];
    case BindOutcome::kRefused:
      return result.other >= 0 ? code + " is " + kRowLabels[result.other] + "'s only key"
                               : code + " is the game's own key";
    default:
      return code + " is " + kRowLabels[action] + "'s now";
  }
}

bool AnyCodeDown() {
  for (int code = kFirstKeyboardCode; code < kEndOfJoyCodes; ++code)
    if (KeyDown(code)) return true;
  return false;
}

// The first key or button pressed this update; 0 for none.
int PressedCode() {
  for (int code = kFirstKeyboardCode; code < kEndOfJoyCodes; ++code)
    if (KeyHit(code)) return code;
  return 0;
}

void Listen(GameIO& io, Controls& controls, MenuScreen& menu) {
  if (menu.ControlsListen == MenuScreen::kListenRelease) {
    if (!AnyCodeDown() && controls.PointerDown == 0) menu.ControlsListen = MenuScreen::kListenPress;
    return;
  }
  const int code = PressedCode();
  const bool clicked = controls.PointerDown > 0;
  if (code == 0 && !clicked) return;
  BindingTable table = controls.Bindings;
  const int action = menu.ControlsRow - kFirstActionRow;
  if (clicked || code == key::kEscape) {
    menu.ControlsNote = "Cancelled";
  } else if (code >= key::kJoyBase) {
    const int button = (code - key::kJoyBase) % key::kJoyButtons;
    menu.ControlsNote = Outcome(BindButton(table, action, 0, button), ButtonName(button), action);
  } else {
    const int slot = menu.ControlsColumn < kButtonColumn ? menu.ControlsColumn : 0;
    menu.ControlsNote = Outcome(BindKey(table, action, slot, code), Named(code), action);
  }
  io.PlaySFX(sfx::kMove);
  StopListening(controls, menu, table);
}

void Act(GameIO& io, Controls& controls, MenuScreen& menu) {
  io.PlaySFX(sfx::kMove);
  if (menu.ControlsRow == kBackRow) {
    menu.ControlsOpen = 0;
    Latch(menu);
  } else if (menu.ControlsRow == kDefaultsRow) {
    menu.ControlsNote = "The default controls";
    StopListening(controls, menu, kDefaultBindings);
  } else {
    StartListening(controls, menu);
  }
}

void DrawTable(GameFrame& frame, GameIO& io, Controls& controls, MenuScreen& menu) {
  frame.SetSize(kCellTextSize);
  frame.Text(CellX(0), kHeadingY, "Keys", 0, 1);
  frame.Text(CellX(kButtonColumn), kHeadingY, "Pad", 0, 1);
  for (int action = 0; action < kActions; ++action) {
    const int row = kFirstActionRow + action;
    const float y = RowY(row);
    frame.ResetDraw();
    frame.SetSize(kLabelSize);
    frame.Text(kLabelX, y, kRowLabels[action]);
    for (int column = 0; column <= kButtonColumn; ++column) {
      const bool selected = menu.ControlsRow == row && menu.ControlsColumn == column;
      const bool waiting = selected && menu.ControlsListen != MenuScreen::kListenOff;
      frame.ResetDraw();
      if (waiting) {
        frame.SetCol(255, 200, 0, 0.7f);
      } else if (selected) {
        frame.SetCol(0, 180, 255, 0.5f);
      } else {
        frame.SetCol(0, 0, 160, 0.5f);
      }
      const bool touched =
          controls.Touch(frame, CellX(column), y - 2, CellWidth(column), kCellHeight);
      frame.ResetDraw();
      frame.SetSize(kCellTextSize);
      frame.Text(CellX(column) + 6, y + 2, CellText(controls, action, column));
      if (touched && controls.PointerDown && LatchesFree(menu) &&
          menu.ControlsListen == MenuScreen::kListenOff) {
        menu.ControlsRow = row;
        menu.ControlsColumn = column;
        Act(io, controls, menu);
      }
    }
  }
  frame.ResetDraw();
}

void DrawDefaultsAndBack(GameFrame& frame, GameIO& io, Controls& controls, MenuScreen& menu) {
  const bool idle = menu.ControlsListen == MenuScreen::kListenOff && LatchesFree(menu);
  const float size = menu.ControlsRow == kBackRow ? 2.0f : 1.0f;
  const bool backTouched = HubDecoration(frame, controls, menu, kBackX, kBackY, size);
  frame.SetSize(kTitleSize);
  frame.Text(kBackX + kBackLabelGap, kBackY, "<[BACK]", 0, 1);
  frame.Text(frame.ScreenWidth - kBackX, kBackY, "Controls", 2, 1);
  frame.ResetDraw();
  const float y = RowY(kDefaultsRow);
  if (menu.ControlsRow == kDefaultsRow) {
    frame.SetCol(0, 180, 255, 0.5f);
  } else {
    frame.SetCol(0, 0, 160, 0.5f);
  }
  const bool defaultsTouched =
      controls.Touch(frame, kDefaultsX, y - 2, kDefaultsWidth, kCellHeight);
  frame.ResetDraw();
  frame.SetSize(kLabelSize);
  frame.Text(kDefaultsX + 16, y + 2, "Defaults");
  frame.SetSize(kLabelSize);
  frame.Text(frame.ScreenWidth / 2, kNoteY, menu.ControlsNote, 1, 1);
  frame.ResetDraw();
  if (!idle || !controls.PointerDown) return;
  if (backTouched || defaultsTouched) {
    menu.ControlsRow = backTouched ? kBackRow : kDefaultsRow;
    Act(io, controls, menu);
  }
}

void PanelKeys(GameIO& io, Controls& controls, MenuScreen& menu) {
  if (menu.ControlsListen != MenuScreen::kListenOff || menu.OptionKeyLatch != 0) return;
  if (io.PlayKeyAll(kGameBack, 1)) {
    menu.ControlsRow = kBackRow;
    Act(io, controls, menu);
    return;
  }
  if (ConfirmHeld(io)) {
    Act(io, controls, menu);
    return;
  }
  const int rowStep = io.PlayKeyAll(kGameUp, 1) ? -1 : io.PlayKeyAll(kGameDown, 1) ? 1 : 0;
  const int columnStep = io.PlayKeyAll(kGameLeft, 1) ? -1 : io.PlayKeyAll(kGameRight, 1) ? 1 : 0;
  if (rowStep == 0 && columnStep == 0) return;
  menu.ControlsRow = std::clamp(menu.ControlsRow + rowStep, kBackRow, kDefaultsRow);
  menu.ControlsColumn = std::clamp(menu.ControlsColumn + columnStep, 0, kButtonColumn);
  menu.OptionKeyLatch = 1;
  io.PlaySFX(sfx::kMove);
}

}  // namespace

void ControlsPanel(GameFrame& frame, GameIO& io, Controls& controls, MenuScreen& menu) {
  if (menu.ControlsListen != MenuScreen::kListenOff) Listen(io, controls, menu);
  DrawDefaultsAndBack(frame, io, controls, menu);
  DrawTable(frame, io, controls, menu);
  PanelKeys(io, controls, menu);
}

void LoadControlsFile(Controls& controls) {
  const std::string text = LoadControls();
  std::vector<std::string> problems;
  const BindingTable table =
      text.empty() ? kDefaultBindings : ParseBindings(text, kOtherWords, problems);
  controls.ItemMarks = ParseItemMarks(text, problems);
  for (const std::string& problem : problems)
    kvWarn(String(ControlsFilePath()) + ": " + String(problem));
  controls.SetBindings(table);
}

void SaveControlsFile(const Controls& controls) {
  std::array<std::string_view, kActions + 1> words;
  for (int action = 0; action < kActions; ++action) words[action] = ActionName(action);
  words[kActions] = kItemMarksWord;
  SaveControls(words, FormatBindings(controls.Bindings) + FormatItemMarks(controls.ItemMarks));
}
