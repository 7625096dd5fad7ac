// The level-select menu: the wheel of levels around the hub, the selected level's best
// scores, the side panel with the credit lines and the Play button; and the options panel,
// shown over the menu and over the paused game.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "base/angles.h"
#include "base/runtime.h"
#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_io.h"
#include "game/frame/sound_table.h"
#include "game/play/play.h"
#include "game/save/save.h"
#include "game/screens/screens.h"
#include "game/world/world_map.h"
#include "host/key_codes.h"
#include "input/input_device.h"

namespace {

constexpr int kTitleSlot = ImageAssetNamed("logo").slot;
constexpr int kButtonsSlot = ImageAssetNamed("common/Buttons").slot;
constexpr int kIconsSlot = ImageAssetNamed("common/icons").slot;
constexpr int kCircleSlot = ImageAssetNamed("common/circle").slot;

constexpr int kBackdropBlue = 80;
constexpr int kFinalLevel = world::kLevels - 1;
constexpr int kSlideOpen = 30;

// Title and side panel.
constexpr float kTitleSize = 1.5f;
constexpr float kTitleY = 80.0f;
constexpr float kIntroTitleRise = 12.0f;
constexpr float kIntroPanelShift = 8.0f;
constexpr float kPanelBaseWidth = 140.0f;
constexpr float kPanelEdge = 3.0f;
constexpr float kPanelFooter = 128.0f;  // the Play button's strip, below the touch area
constexpr int kPlayFrame = 3;
constexpr float kPlayRise = 48.0f;
constexpr float kPlayBox = 128.0f;
constexpr float kPlayWidth = 4.0f, kPlayHeight = 3.0f;

// Best scores, in the side panel.
constexpr float kScoreSize = 1.5f;
constexpr float kScoreInset = 20.0f;
constexpr float kScoreTop = 60.0f;
constexpr float kIntroScoreShift = 4.0f;
constexpr float kScoreListMargin = 90.0f;
constexpr int kMaxScoreLines = 10;
constexpr int kScoreDigits = 6;

// The wheel: items 32 degrees apart, the selected one resting at 48 degrees, items glowing
// and swelling toward 45 degrees.
constexpr float kItemSpacing = 32.0f;
constexpr float kRestAngle = 48.0f;
constexpr float kGlowAngle = 45.0f;
constexpr float kGlowGain = 1.5f;
constexpr float kGlowSizeUnit = 60.0f;
constexpr float kWheelRadius = 116.0f;
constexpr float kItemTilt = 55.0f;
constexpr int kItemsEachSide = 3;
constexpr int kItemFrames = 6;
constexpr float kLabelSize = 1.8f;
constexpr float kPassLow = 30.0f, kPassHigh = 60.0f;  // a turning item here is selected
constexpr float kSpinning = 0.05f;
constexpr float kSpinStops = 1.0f;
constexpr float kSpinDecay = 0.75f;
constexpr float kMaxSpin = 40.0f;
constexpr float kBounceSpin = 4.0f;
constexpr float kWheelEase = 8.0f;
constexpr float kWheelSnap = 0.5f;
constexpr float kWheelSettled = 2.0f;
constexpr float kSelectedTouch = 64.0f;  // a circle of radius 45.25
constexpr float kOtherTouch = 52.0f;     // radius 36.77
constexpr float kIntroWheelX = 12.0f, kIntroWheelY = 8.0f;
constexpr float kWheelLeft = 38.0f, kWheelRise = 64.0f;

// The hub and the drag square around it.
constexpr int kHubFrame = 1, kWheelRimFrame = 3;
constexpr float kHubSize = 0.5f, kRimSize = 1.5625f, kDecorationSize = 1.5f;
constexpr float kBrightAlpha = 0.8f, kDimAlpha = 0.25f;
constexpr float kHubTurn = 0.3f;
constexpr float kHubBox = 64.0f;
constexpr float kDragBox = 500.0f;
constexpr float kDragScale = 4.0f;
constexpr int kDecorationFrames[] = {8, 9, 10};
constexpr float kDecorationTurns[] = {1.0f, -2.0f, 4.0f};

// Held Up/Down step at once, then after 31, 19, 7 and every 4 updates.
constexpr int kRepeatFirstDelay = 30;
constexpr int kRepeatSpeedUp = 12;
constexpr int kRepeatFastest = 3;

// Totals under the wheel.
constexpr float kTotalsX = 240.0f;
constexpr float kLevelsRise = 52.0f, kScoreRise = 32.0f;
constexpr float kIntroTotalsShift = 3.0f;
constexpr float kTotalsMinWidth = 600.0f;

// Credit lines in the open side panel.
constexpr float kTickerRight = 160.0f, kTickerRise = 64.0f;

// Options panel.
constexpr float kPanelSlideStep = 24.0f;
constexpr float kOptionsMargin = 50.0f;
constexpr float kBackSlideStep = 4.0f;
constexpr float kBackY = 60.0f;
constexpr float kBackLabelGap = 76.0f;
constexpr float kOptionTextSize = 2.0f;
constexpr float kSelectedDecorationSize = 2.0f;
constexpr float kOptionTurn = 0.2f;
constexpr float kRowTextX = 100.0f, kRowBarX = 84.0f;
constexpr float kFirstRowY = 130.0f, kRowSpacing = 40.0f, kCreditsRowGap = 50.0f;
constexpr float kRowBarHeight = 24.0f;
constexpr float kCreditsTextInset = 264.0f, kCreditsBarInset = 280.0f, kCreditsBarWidth = 180.0f;

// Console overscan: corner marks and the slider.
constexpr float kMarkLong = 16.0f, kMarkShort = 8.0f;
constexpr float kSliderCentre = 0.6f;
constexpr float kSliderY = 92.0f;
constexpr float kTrackHalf = 128.0f;
constexpr float kKnobPerUnit = 2.67f;
constexpr int kOverscanStep = 16;
constexpr int kOverscanMin = 1, kOverscanMax = 96;
constexpr float kOverscanFlipHigh = 1.0f, kOverscanFlipLow = 32.0f;

constexpr int kConfirmKeys[] = {kGameA, kGameB, kGameX, kGameY, kGameL1, kGameR1};
constexpr int kOptionLatchKeys[] = {kGameUp, kGameLeft, kGameRight, kGameDown, kGameA,   kGameB,
                                    kGameX,  kGameY,    kGameL1,    kGameR1,   kGameBack};
constexpr int kKeyboardControls = 0, kControllerControls = 1, kPointerControls = 2;
constexpr int kKeyboardOnly = -1;

float ScrollFor(int level) {
  return -kItemSpacing * level;
}

float ItemAngle(int level, float scroll) {
  return kItemSpacing * level + kRestAngle + scroll;
}

// How much an item at this angle glows: most at 45 degrees, none beyond 90 either side.
float Glow(float angle) {
  const float off = std::fabs(angle - kGlowAngle);
  return off <= kGlowAngle ? kGlowGain * (kGlowAngle - off) : 0.0f;
}

float PanelWidth(const MenuScreen& menu) {
  return menu.SidePanelWidth + kPanelBaseWidth;
}

bool AnyPanelOpen(const MenuScreen& menu) {
  return menu.OptionsOpen == 1 || menu.CreditsOpen == 1 || menu.SidePanelOpen == 1;
}

bool LatchesFree(const Controls& controls) {
  return controls.KeyLatch == 0 && controls.PointerActive == 0;
}

void SetLatches(Controls& controls, int value) {
  controls.KeyLatch = controls.PointerActive = value;
}

bool AnyHeld(const GameIO& io, std::initializer_list<int> keys) {
  return std::any_of(keys.begin(), keys.end(), [&](int key) { return io.PlayKeyAll(key, 1); });
}

String LevelLabel(int level) {
  return level == kFinalLevel ? String("Final") : PaddedNumber(level + 1, 3, "0");
}

// ---- Menu steps ----

// Off the console the back key ends the program; every change was saved when it was made.
void MenuBackKey(const Platform& platform, const GameIO& io, Controls& controls, Screens& screens) {
  if (!LatchesFree(controls)) return;
  if (!platform.console && io.PlayKeyAll(kGameBack, 1)) EndApp();
  if (platform.console && (io.PlayKeyAll(kGameBack, 1) || KeyDown(key::kEscape))) {
    screens.ScreenMode = ModeOuyaQuit;
    SetLatches(controls, 1);
  }
}

// The level the command line asked for starts at the first menu update, once the data and the
// saved records are in, if the player has opened it; otherwise the menu stays and says why.
void StartLaunchLevel(GameFrame& frame, const GameIO& io, Controls& controls, WorldMap& world,
                      Screens& screens, MenuScreen& menu, int last) {
  const int level = std::exchange(screens.LaunchLevel, 0);
  if (level == 0) return;
  if (level - 1 > last) {
    kvWarn("level " + String::FromInt(level) + " is not open yet; the highest open level is " +
           String::FromInt(last + 1));
    return;
  }
  menu.MenuLevel = level - 1;
  StartLevel(frame, io, controls, world, screens, menu);
  frame.ControlStyle = kKeyboardControls;
}

void KeepSelectionOffered(MenuScreen& menu, int last) {
  if (menu.MenuLevel >= 0 && menu.MenuLevel <= last) return;
  menu.MenuLevel = std::clamp(menu.MenuLevel, 0, last);
  menu.MenuScroll = ScrollFor(menu.MenuLevel);
}

void DrawTitleAndSidePanel(GameFrame& frame, GameIO& io, Controls& controls, WorldMap& world,
                           Play& play, Screens& screens, MenuScreen& menu) {
  play.DoStars(frame, -1, 0);
  const float panel = PanelWidth(menu);
  frame.SetSize(kTitleSize);
  frame.DrawImg(kTitleSlot, (frame.ScreenWidth - panel) / 2,
                kIntroTitleRise * menu.MenuIntro + kTitleY, 0);
  frame.ResetDraw();

  const bool focused = menu.MenuFocus == MenuScreen::kFocusSidePanel;
  const float left = frame.ScreenWidth - panel - kIntroPanelShift * menu.MenuIntro;
  if (focused) {
    frame.SetCol(0, 0, 80, 0.75f);
  } else {
    frame.SetCol(0, 0, 0, 0.45f);
  }
  frame.Rect(left, 0, frame.ScreenWidth - left, frame.ScreenHeight);
  frame.SetCol(255, 255, 255, focused ? 1.0f : 0.2f);
  frame.Rect(left, 0, kPanelEdge, frame.ScreenHeight);
  if (!AnyPanelOpen(menu) && LatchesFree(controls) &&
      controls.MouseIn(left, 0, frame.ScreenWidth - left, frame.ScreenHeight - kPanelFooter)) {
    // The first touch focuses the panel, the next opens it.
    if (focused) {
      menu.SidePanelOpen = 1;
    } else {
      menu.MenuFocus = MenuScreen::kFocusSidePanel;
    }
    io.PlaySFX(sfx::kMove);
    SetLatches(controls, 1);
  }

  const float playX = frame.ScreenWidth - panel / 2, playY = frame.ScreenHeight - kPlayRise;
  frame.SetSize(kPlayWidth, kPlayHeight);
  frame.SetCol(100, 255, 100, menu.MenuFocus == MenuScreen::kFocusWheel ? 0.5f : 0.0f);
  frame.DrawImg(kIconsSlot, playX, playY, kPlayFrame);
  frame.ResetDraw();
  if (!AnyPanelOpen(menu) && LatchesFree(controls) &&
      controls.MouseIn_Centered(playX, playY, kPlayBox, kPlayBox)) {
    menu.MenuFocus = MenuScreen::kFocusWheel;
    io.PlaySFX(sfx::kConfirm);
    StartLevel(frame, io, controls, world, screens, menu);
  }
}

// As many lines as fit in the upper half of the screen, one to ten.
int ScoreLines(const GameFrame& frame) {
  const int fontHeight = frame.ImageInfo[imageinfo::Index(frame.FontImage, imageinfo::kFrameH)];
  if (fontHeight <= 0) return 1;
  const float lines =
      std::floor((frame.ScreenHeight / 2 - kScoreListMargin) / (fontHeight * kScoreSize));
  return static_cast<int>(std::clamp(lines, 1.0f, static_cast<float>(kMaxScoreLines)));
}

void DrawScoreList(GameFrame& frame, const MenuScreen& menu, const SaveData& save) {
  if (menu.CreditsOpen == 1 || menu.OptionsOpen == 1) return;
  if (menu.MenuLevel < 0 || menu.MenuLevel > kFinalLevel) return;
  const int lines = ScoreLines(frame);
  String text = lines == 1 ? String("Highscore") : "Top " + String::FromInt(lines);
  const int base = menu.MenuLevel * SaveData::kBestScores;
  for (int k = 0; k < lines; ++k)
    text += "\\n" + PaddedNumber(save.LevelRecords[base + k], kScoreDigits, " ");
  frame.SetSize(kScoreSize);
  frame.SetCol(255, 200, 100);
  frame.Text(frame.ScreenWidth - PanelWidth(menu) - kIntroScoreShift * menu.MenuIntro + kScoreInset,
             kScoreTop, text);
  frame.ResetDraw();
}

void TurnWheel(const GameFrame& frame, MenuScreen& menu) {
  if (menu.WheelSpin != 0) {
    menu.MenuScroll += menu.WheelSpin;
    menu.WheelSpin *= kSpinDecay;
    if (std::fabs(menu.WheelSpin) < kSpinStops) menu.WheelSpin = 0;
  }
  menu.WheelScroll += (menu.MenuScroll - menu.WheelScroll) / kWheelEase;
  if (std::fabs(menu.MenuScroll - menu.WheelScroll) < kWheelSnap)
    menu.WheelScroll = menu.MenuScroll;
  menu.WheelX = static_cast<int>(kIntroWheelX * menu.MenuIntro + kWheelLeft);
  menu.WheelY = static_cast<int>(frame.ScreenHeight - kWheelRise - kIntroWheelY * menu.MenuIntro);
}

void DrawWheelItem(GameFrame& frame, const MenuScreen& menu, int level, float x, float y,
                   float angle, float glow) {
  const bool selected = level == menu.MenuLevel;
  const float size = selected ? glow / kGlowSizeUnit + 1 : 1;
  float alpha = selected ? 1.0f : 0.5f;
  if (menu.MenuFocus != MenuScreen::kFocusWheel) alpha = 0.3f;
  frame.SetRot((angle - kItemTilt) / 2);
  frame.SetCol(255, 255, 255, alpha);
  frame.SetSize(size);
  frame.DrawImg(kButtonsSlot, x, y, level % kItemFrames);
  frame.SetSize(kLabelSize * size);
  frame.Text(x, y, LevelLabel(level), 1, 1);
  frame.ResetDraw();
}

// A touch on the selected item starts it; on another item, selects it.
void TouchWheelItem(GameFrame& frame, GameIO& io, Controls& controls, WorldMap& world,
                    Screens& screens, MenuScreen& menu, int level, float x, float y) {
  if (controls.PointerDown == 0 || controls.PointerActive != 0 || AnyPanelOpen(menu)) return;
  if (std::fabs(menu.WheelScroll - menu.MenuScroll) >= kWheelSettled) return;
  if (level == menu.MenuLevel) {
    if (!controls.MouseIn_Radius(x, y, kSelectedTouch, kSelectedTouch)) return;
    menu.MenuFocus = MenuScreen::kFocusWheel;
    controls.PointerActive = 1;
    io.PlaySFX(sfx::kConfirm);
    StartLevel(frame, io, controls, world, screens, menu);
  } else if (controls.MouseIn_Radius(x, y, kOtherTouch, kOtherTouch)) {
    menu.MenuLevel = level;
    menu.MenuScroll = ScrollFor(level);
    menu.MenuFocus = MenuScreen::kFocusWheel;
    controls.PointerActive = -1;
    io.PlaySFX(sfx::kMove);
  }
}

// A wheel heading past its first or last offered level is pushed back, so that it never
// comes to rest with no level at the mark.
void BounceAtTheEnds(MenuScreen& menu, int last) {
  if (ItemAngle(0, menu.MenuScroll) > kPassHigh) {
    menu.WheelSpin = -kBounceSpin;
  } else if (ItemAngle(last, menu.MenuScroll) < kPassLow) {
    menu.WheelSpin = kBounceSpin;
  }
}

void WheelItems(GameFrame& frame, GameIO& io, Controls& controls, WorldMap& world, Screens& screens,
                MenuScreen& menu, int last) {
  const bool spinning = std::fabs(menu.WheelSpin) > kSpinning;
  const int first = std::max(menu.MenuLevel - kItemsEachSide, 0);
  const int end = std::min(menu.MenuLevel + kItemsEachSide, last);
  for (int level = first; level <= end; ++level) {
    const float angle = ItemAngle(level, menu.WheelScroll);
    const float glow = Glow(angle);
    const float radius = kWheelRadius + glow;
    const float x = menu.WheelX + radius * SinDeg(angle);
    const float y = menu.WheelY - radius * CosDeg(angle);
    if (spinning && level != menu.MenuLevel && angle > kPassLow && angle < kPassHigh) {
      menu.MenuLevel = level;
      io.PlaySFX(sfx::kMove);
    }
    DrawWheelItem(frame, menu, level, x, y, angle, glow);
    TouchWheelItem(frame, io, controls, world, screens, menu, level, x, y);
  }
  BounceAtTheEnds(menu, last);
}

void DragWheel(Controls& controls, MenuScreen& menu) {
  if (!menu.WheelDragging) {
    menu.WheelDragging = true;
    menu.DragAnchorX = controls.PointerX;
    menu.DragAnchorY = controls.PointerY;
  }
  const float turn =
      ((menu.DragAnchorX - controls.PointerX) + (menu.DragAnchorY - controls.PointerY)) /
      kDragScale;
  menu.WheelSpin = std::clamp(menu.WheelSpin - turn, -kMaxSpin, kMaxSpin);
  if (std::fabs(turn) > 1) SetLatches(controls, -1);
  menu.MenuFocus = MenuScreen::kFocusWheel;
  menu.DragAnchorX = controls.PointerX;
  menu.DragAnchorY = controls.PointerY;
}

void HubAndDrag(GameFrame& frame, GameIO& io, Controls& controls, MenuScreen& menu) {
  const bool hubFocused = menu.MenuFocus == MenuScreen::kFocusHub;
  if (hubFocused) menu.HubAngle = std::fmod(menu.HubAngle + kHubTurn, 360.0f);
  const auto x = static_cast<float>(menu.WheelX);
  const auto y = static_cast<float>(menu.WheelY);
  const float hubAlpha = hubFocused ? kBrightAlpha : kDimAlpha;
  frame.SetSize(kHubSize);
  frame.Alpha(hubAlpha);
  frame.DrawImg(kCircleSlot, x, y, kHubFrame);
  HubDecoration(frame, controls, menu, x, y, kDecorationSize);
  frame.SetSize(kRimSize);
  frame.SetRot(menu.WheelScroll);
  frame.Alpha(menu.MenuFocus == MenuScreen::kFocusWheel ? kBrightAlpha : kDimAlpha);
  frame.DrawImg(kCircleSlot, x, y, kWheelRimFrame);
  frame.ResetDraw();

  if (controls.PointerDown == 0) menu.WheelDragging = false;
  if (controls.PointerDown == 0 || AnyPanelOpen(menu)) return;
  if (controls.MouseIn_Centered(x, y, kHubBox, kHubBox)) {
    if (!LatchesFree(controls)) return;
    menu.OptionsOpen = 1;
    controls.PointerActive = 1;
    menu.MenuFocus = MenuScreen::kFocusHub;
    io.PlaySFX(sfx::kMove);
  } else if (controls.PointerActive < 1 && controls.MouseIn_Centered(x, y, kDragBox, kDragBox)) {
    DragWheel(controls, menu);
  }
}

void StepWheel(GameIO& io, Controls& controls, MenuScreen& menu, int step, int last) {
  menu.MenuLevel = std::clamp(menu.MenuLevel + step, 0, last);
  menu.MenuScroll = ScrollFor(menu.MenuLevel);
  io.PlaySFX(sfx::kMove);
  SetLatches(controls, 1);
  menu.WheelRepeatTimer = menu.WheelRepeatDelay;
  menu.WheelRepeatDelay = std::max(kRepeatFastest, menu.WheelRepeatDelay - kRepeatSpeedUp);
}

void ActOnFocus(GameFrame& frame, GameIO& io, Controls& controls, WorldMap& world, Screens& screens,
                MenuScreen& menu) {
  io.PlaySFX(sfx::kConfirm);
  controls.KeyLatch = 1;
  switch (menu.MenuFocus) {
    case MenuScreen::kFocusHub:
      menu.OptionsOpen = 1;
      io.PlaySFX(sfx::kMove);
      break;
    case MenuScreen::kFocusWheel:
      StartLevel(frame, io, controls, world, screens, menu);
      break;
    case MenuScreen::kFocusSidePanel:
      menu.SidePanelOpen = 1;
      io.PlaySFX(sfx::kMove);
      break;
    default:
      break;
  }
}

void MenuKeys(GameFrame& frame, GameIO& io, Controls& controls, WorldMap& world, Screens& screens,
              MenuScreen& menu, int last) {
  const bool up = io.PlayKey(kGameUp, 1, 0), down = io.PlayKey(kGameDown, 1, 0);
  if (up || down) {
    if (--menu.WheelRepeatTimer < 0) controls.KeyLatch = 0;
  } else {
    menu.WheelRepeatTimer = 0;
    menu.WheelRepeatDelay = kRepeatFirstDelay;
  }
  if (!LatchesFree(controls)) return;
  if ((up || down) && menu.WheelRepeatTimer < 1) {
    StepWheel(io, controls, menu, up ? -1 : 1, last);
    return;
  }
  const bool left = io.PlayKey(kGameLeft, 1, 0), right = io.PlayKey(kGameRight, 1, 0);
  if (left || right) {
    menu.MenuFocus = std::clamp(menu.MenuFocus + (left ? -1 : 1), 0,
                                static_cast<int>(MenuScreen::kFocusSidePanel));
    io.PlaySFX(sfx::kMove);
    SetLatches(controls, 1);
  } else if (io.PlayKey(kGameA, 1, 0) || io.PlayKey(kGameB, 1, 0) || io.PlayKey(kGameX, 1, 0)) {
    ActOnFocus(frame, io, controls, world, screens, menu);
  }
}

void DrawTotals(GameFrame& frame, const MenuScreen& menu, const SaveData& save, int last) {
  if (menu.MenuFocus != MenuScreen::kFocusWheel || frame.ScreenWidth <= kTotalsMinWidth) return;
  const float shift = kIntroTotalsShift * menu.MenuIntro;
  frame.SetSize(kScoreSize);
  frame.Text(kTotalsX, frame.ScreenHeight - kLevelsRise - shift,
             "Levels : " + String::FromInt(last + 1));
  frame.Text(kTotalsX, frame.ScreenHeight - kScoreRise - shift,
             "Score : " + String(std::to_string(TotalBestScore(save))));
  frame.ResetDraw();
}

void SidePanelTicker(GameFrame& frame, GameIO& io, Controls& controls, Screens& screens,
                     MenuScreen& menu) {
  const bool confirm = AnyHeld(io, {kGameA, kGameB, kGameX, kGameY}) || controls.PointerDown > 0;
  if (confirm && LatchesFree(controls)) {
    menu.SidePanelOpen = 0;
    io.PlaySFX(sfx::kMove);
    SetLatches(controls, 1);
  }
  AdvanceTicker(io, screens);
  DrawTicker(frame, screens, 2 * frame.ScreenWidth - kTickerRight - PanelWidth(menu),
             frame.ScreenHeight - kTickerRise, 1.0f);
  frame.ResetDraw();
}

// ---- Options steps ----

bool OptionLatchesFree(const MenuScreen& menu) {
  return menu.OptionKeyLatch == 0 && menu.OptionTouchLatch == 0;
}

void SetOptionLatches(MenuScreen& menu, int value) {
  menu.OptionKeyLatch = menu.OptionTouchLatch = value;
}

// Closing the panel saves, whichever way it closes.
void CloseOptions(Controls& controls, const Play& play, const Screens& screens, MenuScreen& menu,
                  SaveData& save) {
  menu.OptionsOpen = 0;
  SaveProgress(play, screens, save);
  SetLatches(controls, 1);
  SetOptionLatches(menu, 1);
}

void DrawOverscanMarks(GameFrame& frame) {
  const float right = frame.ScreenWidth - kMarkLong, bottom = frame.ScreenHeight - kMarkLong;
  for (const float x : {0.0f, right}) {
    for (const float y : {0.0f, bottom}) {
      frame.Rect(x, y + (y > 0 ? kMarkShort : 0), kMarkLong, kMarkShort);
      frame.Rect(x + (x > 0 ? kMarkShort : 0), y, kMarkShort, kMarkLong);
    }
  }
}

void OptionBackControl(GameFrame& frame, GameIO& io, Controls& controls, const Play& play,
                       const Screens& screens, MenuScreen& menu, SaveData& save) {
  menu.HubAngle = std::fmod(menu.HubAngle + kOptionTurn, 360.0f);
  const float x = kBackSlideStep * (3 * menu.OptionsSlide - 3 * kSlideOpen) + kRowTextX;
  const float size =
      menu.OptionRow == MenuScreen::kRowBack ? kSelectedDecorationSize : kDecorationSize;
  const bool touched = HubDecoration(frame, controls, menu, x, kBackY, size);
  frame.SetSize(kOptionTextSize);
  frame.Text(x + kBackLabelGap, kBackY, "<[BACK]", 0, 1);
  frame.ResetDraw();
  if (!OptionLatchesFree(menu)) return;
  if ((touched && controls.PointerDown) || io.PlayKeyAll(kGameBack, 1)) {
    io.PlaySFX(sfx::kMove);
    CloseOptions(controls, play, screens, menu, save);
  }
}

struct SoundModeTexts {
  const char* const* texts;
  int count;
};

constexpr const char* kStreamSoundTexts[] = {"Sound : Off", "Sound : SFX + Music", "Sound : SFX",
                                             "Sound : Music"};
constexpr const char* kPlainSoundTexts[] = {"Sound : Off", "Sound : On"};

SoundModeTexts SoundTexts(const Platform& platform) {
  if (platform.musicStream) return {kStreamSoundTexts, 4};
  return {kPlainSoundTexts, 2};
}

String RowText(const Platform& platform, const Controls& controls, const Screens& screens,
               const SaveData& save, int row) {
  switch (row) {
    case MenuScreen::kRowSound: {
      const int mode = save.Settings[kSoundModeSetting];
      const SoundModeTexts sound = SoundTexts(platform);
      return mode >= 0 && mode < sound.count ? String(sound.texts[mode]) : String();
    }
    case MenuScreen::kRowICade:
      return controls.ICade == 1 ? "iCade : On" : "iCade : Off";
    case MenuScreen::kRowFullscreen:
      return screens.Fullscreen == 1 ? "Windowed" : "Fullscreen";
    case MenuScreen::kRowControls:
      return "Controls";
    case MenuScreen::kRowItemMarks:
      return controls.ItemMarks ? "Colour marks : On" : "Colour marks : Off";
    case MenuScreen::kRowCredits:
      return "Credits";
    default:
      return String();
  }
}

// Every change of a saved setting is saved at once, so quitting never loses it.
void NextSoundMode(const Platform& platform, GameIO& io, const Play& play, const Screens& screens,
                   SaveData& save) {
  int& mode = save.Settings[kSoundModeSetting];
  const int count = SoundTexts(platform).count;
  mode = mode >= 0 && mode < count ? (mode + 1) % count : 0;
  // Modes 0 and 2 have no music.
  if (platform.musicStream && (mode == 0 || mode == 2)) io.StopTune();
  SaveProgress(play, screens, save);
}

void ActOnRow(const Platform& platform, GameIO& io, Controls& controls, const Play& play,
              Screens& screens, MenuScreen& menu, SaveData& save, int row) {
  SetOptionLatches(menu, 1);
  io.PlaySFX(sfx::kMove);
  switch (row) {
    case MenuScreen::kRowSound:
      NextSoundMode(platform, io, play, screens, save);
      break;
    case MenuScreen::kRowICade:
      controls.ICade = controls.ICade == 1 ? 0 : 1;
      controls.iCade(controls.ICade);
      controls.PadKeys.fill(0);
      break;
    case MenuScreen::kRowFullscreen:
      FullscreenFlip(screens);
      break;
    case MenuScreen::kRowControls:
      menu.ControlsOpen = 1;
      menu.ControlsRow = 1;
      menu.ControlsColumn = 0;
      menu.ControlsNote = String();
      break;
    case MenuScreen::kRowItemMarks:
      controls.ItemMarks = !controls.ItemMarks;
      SaveControlsFile(controls);
      break;
    case MenuScreen::kRowCredits:
      menu.CreditsOpen = 1;
      CloseOptions(controls, play, screens, menu, save);
      SetOptionLatches(menu, 0);
      break;
    default:
      break;
  }
}

bool RowShown(const Platform& platform, const PauseScreen& pause, int row) {
  switch (row) {
    case MenuScreen::kRowICade:
    case MenuScreen::kRowControls:
    case MenuScreen::kRowItemMarks:
      return !platform.console;
    case MenuScreen::kRowCredits:
      return pause.Paused == 0;
    default:
      return row >= MenuScreen::kRowBack && row <= MenuScreen::kRowCredits;
  }
}

// A selection left on a row that is not shown here (Credits over the paused game) moves up.
void KeepRowShown(const Platform& platform, MenuScreen& menu, const PauseScreen& pause) {
  menu.OptionRow = std::clamp(menu.OptionRow, 0, static_cast<int>(MenuScreen::kRowCredits));
  while (!RowShown(platform, pause, menu.OptionRow)) --menu.OptionRow;
}

int NextShownRow(const Platform& platform, const MenuScreen& menu, const PauseScreen& pause,
                 int step) {
  for (int row = menu.OptionRow + step;
       row >= MenuScreen::kRowBack && row <= MenuScreen::kRowCredits; row += step) {
    if (RowShown(platform, pause, row)) return row;
  }
  return menu.OptionRow;
}

void DrawOptionRow(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
                   const Play& play, Screens& screens, MenuScreen& menu, SaveData& save, int row,
                   float textX, float barX, float barWidth, float y) {
  const bool selected = menu.OptionRow == row;
  if (selected) {
    frame.SetCol(0, 180, 255, 0.5f);
  } else {
    frame.SetCol(0, 0, 160, 0.5f);
  }
  const bool touched = controls.Touch(frame, barX, y - 2, barWidth, kRowBarHeight);
  frame.ResetDraw();
  frame.SetSize(kOptionTextSize);
  frame.Text(textX, y, RowText(platform, controls, screens, save, row));
  frame.ResetDraw();
  if (!OptionLatchesFree(menu)) return;
  if (touched) {
    menu.OptionRow = row;
    ActOnRow(platform, io, controls, play, screens, menu, save, row);
  } else if (selected && ConfirmHeld(io)) {
    ActOnRow(platform, io, controls, play, screens, menu, save, row);
  }
}

void OptionRows(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
                const Play& play, Screens& screens, MenuScreen& menu, const PauseScreen& pause,
                SaveData& save) {
  const float barWidth = frame.ScreenWidth - 2 * kRowBarX;
  float y = kPanelSlideStep * (kSlideOpen - menu.OptionsSlide) + kFirstRowY;
  for (const int row : {MenuScreen::kRowSound, MenuScreen::kRowICade, MenuScreen::kRowFullscreen,
                        MenuScreen::kRowControls, MenuScreen::kRowItemMarks}) {
    if (!RowShown(platform, pause, row)) continue;
    DrawOptionRow(platform, frame, io, controls, play, screens, menu, save, row, kRowTextX,
                  kRowBarX, barWidth, y);
    y += kRowSpacing;
  }
  if (RowShown(platform, pause, MenuScreen::kRowCredits)) {
    y += kCreditsRowGap - kRowSpacing;
    DrawOptionRow(platform, frame, io, controls, play, screens, menu, save, MenuScreen::kRowCredits,
                  frame.ScreenWidth - kCreditsTextInset, frame.ScreenWidth - kCreditsBarInset,
                  kCreditsBarWidth, y);
  }
}

void OptionKeys(const Platform& platform, GameIO& io, Controls& controls, const Play& play,
                const Screens& screens, MenuScreen& menu, const PauseScreen& pause,
                SaveData& save) {
  if (menu.OptionKeyLatch != 0) return;
  if (menu.OptionRow == MenuScreen::kRowBack && OptionLatchesFree(menu) &&
      AnyHeld(io, {kGameR1, kGameA, kGameB})) {
    io.PlaySFX(sfx::kMove);
    CloseOptions(controls, play, screens, menu, save);
    return;
  }
  int step = 0;
  if (AnyHeld(io, {kGameUp, kGameLeft})) {
    step = -1;
  } else if (AnyHeld(io, {kGameDown, kGameRight})) {
    step = 1;
  }
  if (step == 0) return;
  menu.OptionRow = NextShownRow(platform, menu, pause, step);
  menu.OptionKeyLatch = 1;
  io.PlaySFX(sfx::kMove);
}

}  // namespace

void ReleaseOptionLatches(const GameIO& io, const Controls& controls, MenuScreen& menu) {
  if (controls.PointerDown == 0) menu.OptionTouchLatch = 0;
  const bool held = std::any_of(std::begin(kOptionLatchKeys), std::end(kOptionLatchKeys),
                                [&](int key) { return io.PlayKeyAll(key, 1); });
  if (!held) menu.OptionKeyLatch = 0;
}

bool ConfirmHeld(const GameIO& io) {
  return std::any_of(std::begin(kConfirmKeys), std::end(kConfirmKeys),
                     [&](int key) { return io.PlayKeyAll(key, 1); });
}

int LastOfferedLevel(const SaveData& save) {
  int reached = 0;  // one past the highest completed level
  for (int level = 0; level < world::kLevels; ++level) {
    if (save.LevelRecords[SaveData::kCompletionRecords + level * SaveData::kBestScores] > 0)
      reached = level + 1;
  }
  return std::min(reached, kFinalLevel);
}

long long TotalBestScore(const SaveData& save) {
  long long total = 0;
  for (int level = 0; level < world::kLevels; ++level)
    total += std::max(save.LevelRecords[level * SaveData::kBestScores], 0);
  return total;
}

bool HubDecoration(GameFrame& frame, Controls& controls, const MenuScreen& menu, float x, float y,
                   float size) {
  frame.SetSize(size);
  // The last, topmost frame is the one that takes touches.
  bool touched = false;
  for (int i = 0; i < static_cast<int>(std::size(kDecorationFrames)); ++i) {
    frame.SetRot(kDecorationTurns[i] * menu.HubAngle);
    touched = controls.Button(frame, kButtonsSlot, x, y, kDecorationFrames[i]) == 1;
  }
  frame.SetRot(0);
  return touched;
}

void StartLevel(GameFrame& frame, const GameIO& io, Controls& controls, WorldMap& world,
                Screens& screens, MenuScreen& menu) {
  frame.ControlStyle = controls.PointerDown >= 1 ? kPointerControls : kControllerControls;
  for (const int key : kConfirmKeys) {
    if (io.PlayKey(key, 0, kKeyboardOnly)) frame.ControlStyle = kKeyboardControls;
  }
  SetLatches(controls, 1);
  menu.MenuScroll = ScrollFor(menu.MenuLevel);
  world.Level = std::clamp(menu.MenuLevel + 1, 1, world::kLevels);
  screens.ScreenMode = ModeLoadGame;
}

void SelectNextLevel(MenuScreen& menu) {
  ++menu.MenuLevel;
  menu.MenuScroll = ScrollFor(menu.MenuLevel);
}

void Menu(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
          WorldMap& world, Play& play, Screens& screens, MenuScreen& menu, const SaveData& save) {
  play.DoBG(frame, 0, 0, kBackdropBlue, Play::kOpaqueBackdrop);
  if (menu.MenuIntro < 0) ++menu.MenuIntro;
  MenuBackKey(platform, io, controls, screens);
  const int last = LastOfferedLevel(save);
  KeepSelectionOffered(menu, last);
  StartLaunchLevel(frame, io, controls, world, screens, menu, last);
  DrawTitleAndSidePanel(frame, io, controls, world, play, screens, menu);
  DrawScoreList(frame, menu, save);
  TurnWheel(frame, menu);
  if (!AnyPanelOpen(menu)) {
    WheelItems(frame, io, controls, world, screens, menu, last);
    HubAndDrag(frame, io, controls, menu);
    if (!AnyPanelOpen(menu)) MenuKeys(frame, io, controls, world, screens, menu, last);
    DrawTotals(frame, menu, save, last);
  }
  if (menu.SidePanelOpen == 1) SidePanelTicker(frame, io, controls, screens, menu);
  world.Level = std::clamp(menu.MenuLevel + 1, 1, world::kLevels);
}

void LoadMenu(const WorldMap& world, const Play& play, const Screens& screens, SaveData& save) {
  FileScore(world, play, save);
  SaveProgress(play, screens, save);
}

void OptionBox(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
               const Play& play, Screens& screens, MenuScreen& menu, const PauseScreen& pause,
               SaveData& save) {
  SetLatches(controls, 1);
  if (menu.OptionsSlide != kSlideOpen) SetOptionLatches(menu, 1);
  frame.ResetDraw();
  if (platform.console) DrawOverscanMarks(frame);
  frame.SetCol(150, 75, 0, 0.85f);
  frame.Rect(kOptionsMargin, kPanelSlideStep * (kSlideOpen - menu.OptionsSlide),
             frame.ScreenWidth - 2 * kOptionsMargin, frame.ScreenHeight);
  frame.ResetDraw();
  if (menu.ControlsOpen == 1) {
    ControlsPanel(frame, io, controls, menu);
    ReleaseOptionLatches(io, controls, menu);
    return;
  }
  KeepRowShown(platform, menu, pause);
  OptionBackControl(frame, io, controls, play, screens, menu, save);
  if (platform.console) {
    OverscanSlider(frame, io, controls, play, screens, save,
                   kBackSlideStep * (3 * menu.OptionsSlide - 3 * kSlideOpen) + kSliderY,
                   menu.OptionKeyLatch, menu.OptionTouchLatch);
  }
  OptionRows(platform, frame, io, controls, play, screens, menu, pause, save);
  OptionKeys(platform, io, controls, play, screens, menu, pause, save);
  ReleaseOptionLatches(io, controls, menu);
}

void OverscanSlider(GameFrame& frame, GameIO& io, Controls& controls, const Play& play,
                    const Screens& screens, SaveData& save, float y, int& keyLatch,
                    int& touchLatch) {
  const float centre = kSliderCentre * frame.ScreenWidth;
  frame.ResetDraw();
  frame.SetSize(kOptionTextSize);
  frame.Text(centre, y, "L1 <      Overscan      > R1", 1, 1);
  frame.ResetDraw();
  frame.SetCol(0, 128, 255, 0.5f);
  const bool touched = controls.Touch(frame, centre - kTrackHalf, y - 5, 2 * kTrackHalf, 9);
  int& value = save.Settings[kOverscanSetting];
  frame.SetCol(255, 255, 0, 0.75f);
  frame.Rect(centre - kTrackHalf - 4 + kKnobPerUnit * value, y - kMarkShort, kMarkShort, kMarkLong);
  frame.ResetDraw();
  const int before = value;
  if (touched && touchLatch == 0) {
    touchLatch = 1;
    io.PlaySFX(sfx::kConfirm);
    if (frame.Overscan > kOverscanFlipHigh) value = kOverscanMin;
    if (frame.Overscan < kOverscanFlipLow) value = kOverscanMax;
  }
  if (keyLatch == 0 && (io.PlayKeyAll(kGameL1, 1) || io.PlayKeyAll(kGameR1, 1))) {
    keyLatch = 1;
    value += io.PlayKeyAll(kGameL1, 1) ? -kOverscanStep : kOverscanStep;
  }
  value = std::clamp(value, kOverscanMin, kOverscanMax);
  frame.Overscan = static_cast<float>(value);
  if (value != before) SaveProgress(play, screens, save);
}
