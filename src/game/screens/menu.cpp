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
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/sound_table.h"
#include "game/my_app.h"
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

float PanelWidth(const MyApp& app) {
  return app.menu.SidePanelWidth + kPanelBaseWidth;
}

bool AnyPanelOpen(const MyApp& app) {
  return app.menu.OptionsOpen == 1 || app.menu.CreditsOpen == 1 || app.menu.SidePanelOpen == 1;
}

bool LatchesFree(const MyApp& app) {
  return app.controls.KeyLatch == 0 && app.controls.PointerActive == 0;
}

void SetLatches(MyApp& app, int value) {
  app.controls.KeyLatch = app.controls.PointerActive = value;
}

bool AnyHeld(MyApp& app, std::initializer_list<int> keys) {
  return std::any_of(keys.begin(), keys.end(), [&app](int key) { return app.PlayKeyAll(key, 1); });
}

String LevelLabel(int level) {
  return level == kFinalLevel ? String("Final") : PaddedNumber(level + 1, 3, "0");
}

// ---- Menu steps ----

// Off the console the back key ends the program; every change was saved when it was made.
void MenuBackKey(MyApp& app) {
  if (!LatchesFree(app)) return;
  if (!app.platform.console && app.PlayKeyAll(kGameBack, 1)) EndApp();
  if (app.platform.console && (app.PlayKeyAll(kGameBack, 1) || KeyDown(key::kEscape))) {
    app.screens.ScreenMode = ModeOuyaQuit;
    SetLatches(app, 1);
  }
}

// The level the command line asked for starts at the first menu update, once the data and the
// saved records are in, if the player has opened it; otherwise the menu stays and says why.
void StartLaunchLevel(MyApp& app, int last) {
  const int level = std::exchange(app.screens.LaunchLevel, 0);
  if (level == 0) return;
  if (level - 1 > last) {
    kvWarn("level " + String::FromInt(level) + " is not open yet; the highest open level is " +
           String::FromInt(last + 1));
    return;
  }
  app.menu.MenuLevel = level - 1;
  app.StartLevel();
  app.frame.ControlStyle = kKeyboardControls;
}

void KeepSelectionOffered(MyApp& app, int last) {
  if (app.menu.MenuLevel >= 0 && app.menu.MenuLevel <= last) return;
  app.menu.MenuLevel = std::clamp(app.menu.MenuLevel, 0, last);
  app.menu.MenuScroll = ScrollFor(app.menu.MenuLevel);
}

void DrawTitleAndSidePanel(MyApp& app) {
  app.play.DoStars(app.frame, -1, 0);
  const float panel = PanelWidth(app);
  app.frame.SetSize(kTitleSize);
  app.frame.DrawImg(kTitleSlot, (app.frame.ScreenWidth - panel) / 2,
                    kIntroTitleRise * app.menu.MenuIntro + kTitleY, 0);
  app.frame.ResetDraw();

  const bool focused = app.menu.MenuFocus == MenuScreen::kFocusSidePanel;
  const float left = app.frame.ScreenWidth - panel - kIntroPanelShift * app.menu.MenuIntro;
  if (focused) {
    app.frame.SetCol(0, 0, 80, 0.75f);
  } else {
    app.frame.SetCol(0, 0, 0, 0.45f);
  }
  app.frame.Rect(left, 0, app.frame.ScreenWidth - left, app.frame.ScreenHeight);
  app.frame.SetCol(255, 255, 255, focused ? 1.0f : 0.2f);
  app.frame.Rect(left, 0, kPanelEdge, app.frame.ScreenHeight);
  if (!AnyPanelOpen(app) && LatchesFree(app) &&
      app.controls.MouseIn(left, 0, app.frame.ScreenWidth - left,
                           app.frame.ScreenHeight - kPanelFooter)) {
    // The first touch focuses the panel, the next opens it.
    if (focused) {
      app.menu.SidePanelOpen = 1;
    } else {
      app.menu.MenuFocus = MenuScreen::kFocusSidePanel;
    }
    app.PlaySFX(sfx::kMove);
    SetLatches(app, 1);
  }

  const float playX = app.frame.ScreenWidth - panel / 2, playY = app.frame.ScreenHeight - kPlayRise;
  app.frame.SetSize(kPlayWidth, kPlayHeight);
  app.frame.SetCol(100, 255, 100, app.menu.MenuFocus == MenuScreen::kFocusWheel ? 0.5f : 0.0f);
  app.frame.DrawImg(kIconsSlot, playX, playY, kPlayFrame);
  app.frame.ResetDraw();
  if (!AnyPanelOpen(app) && LatchesFree(app) &&
      app.controls.MouseIn_Centered(playX, playY, kPlayBox, kPlayBox)) {
    app.menu.MenuFocus = MenuScreen::kFocusWheel;
    app.PlaySFX(sfx::kConfirm);
    app.StartLevel();
  }
}

// As many lines as fit in the upper half of the screen, one to ten.
int ScoreLines(const MyApp& app) {
  const int fontHeight =
      app.frame.ImageInfo[imageinfo::Index(app.frame.FontImage, imageinfo::kFrameH)];
  if (fontHeight <= 0) return 1;
  const float lines =
      std::floor((app.frame.ScreenHeight / 2 - kScoreListMargin) / (fontHeight * kScoreSize));
  return static_cast<int>(std::clamp(lines, 1.0f, static_cast<float>(kMaxScoreLines)));
}

void DrawScoreList(MyApp& app) {
  if (app.menu.CreditsOpen == 1 || app.menu.OptionsOpen == 1) return;
  if (app.menu.MenuLevel < 0 || app.menu.MenuLevel > kFinalLevel) return;
  const int lines = ScoreLines(app);
  String text = lines == 1 ? String("Highscore") : "Top " + String::FromInt(lines);
  const int base = app.menu.MenuLevel * SaveData::kBestScores;
  for (int k = 0; k < lines; ++k)
    text += "\\n" + PaddedNumber(app.save.LevelRecords[base + k], kScoreDigits, " ");
  app.frame.SetSize(kScoreSize);
  app.frame.SetCol(255, 200, 100);
  app.frame.Text(
      app.frame.ScreenWidth - PanelWidth(app) - kIntroScoreShift * app.menu.MenuIntro + kScoreInset,
      kScoreTop, text);
  app.frame.ResetDraw();
}

void TurnWheel(MyApp& app) {
  if (app.menu.WheelSpin != 0) {
    app.menu.MenuScroll += app.menu.WheelSpin;
    app.menu.WheelSpin *= kSpinDecay;
    if (std::fabs(app.menu.WheelSpin) < kSpinStops) app.menu.WheelSpin = 0;
  }
  app.menu.WheelScroll += (app.menu.MenuScroll - app.menu.WheelScroll) / kWheelEase;
  if (std::fabs(app.menu.MenuScroll - app.menu.WheelScroll) < kWheelSnap)
    app.menu.WheelScroll = app.menu.MenuScroll;
  app.menu.WheelX = static_cast<int>(kIntroWheelX * app.menu.MenuIntro + kWheelLeft);
  app.menu.WheelY =
      static_cast<int>(app.frame.ScreenHeight - kWheelRise - kIntroWheelY * app.menu.MenuIntro);
}

void DrawWheelItem(MyApp& app, int level, float x, float y, float angle, float glow) {
  const bool selected = level == app.menu.MenuLevel;
  const float size = selected ? glow / kGlowSizeUnit + 1 : 1;
  float alpha = selected ? 1.0f : 0.5f;
  if (app.menu.MenuFocus != MenuScreen::kFocusWheel) alpha = 0.3f;
  app.frame.SetRot((angle - kItemTilt) / 2);
  app.frame.SetCol(255, 255, 255, alpha);
  app.frame.SetSize(size);
  app.frame.DrawImg(kButtonsSlot, x, y, level % kItemFrames);
  app.frame.SetSize(kLabelSize * size);
  app.frame.Text(x, y, LevelLabel(level), 1, 1);
  app.frame.ResetDraw();
}

// A touch on the selected item starts it; on another item, selects it.
void TouchWheelItem(MyApp& app, int level, float x, float y) {
  if (app.controls.PointerDown == 0 || app.controls.PointerActive != 0 || AnyPanelOpen(app)) return;
  if (std::fabs(app.menu.WheelScroll - app.menu.MenuScroll) >= kWheelSettled) return;
  if (level == app.menu.MenuLevel) {
    if (!app.controls.MouseIn_Radius(x, y, kSelectedTouch, kSelectedTouch)) return;
    app.menu.MenuFocus = MenuScreen::kFocusWheel;
    app.controls.PointerActive = 1;
    app.PlaySFX(sfx::kConfirm);
    app.StartLevel();
  } else if (app.controls.MouseIn_Radius(x, y, kOtherTouch, kOtherTouch)) {
    app.menu.MenuLevel = level;
    app.menu.MenuScroll = ScrollFor(level);
    app.menu.MenuFocus = MenuScreen::kFocusWheel;
    app.controls.PointerActive = -1;
    app.PlaySFX(sfx::kMove);
  }
}

// A wheel heading past its first or last offered level is pushed back, so that it never
// comes to rest with no level at the mark.
void BounceAtTheEnds(MyApp& app, int last) {
  if (ItemAngle(0, app.menu.MenuScroll) > kPassHigh) {
    app.menu.WheelSpin = -kBounceSpin;
  } else if (ItemAngle(last, app.menu.MenuScroll) < kPassLow) {
    app.menu.WheelSpin = kBounceSpin;
  }
}

void WheelItems(MyApp& app, int last) {
  const bool spinning = std::fabs(app.menu.WheelSpin) > kSpinning;
  const int first = std::max(app.menu.MenuLevel - kItemsEachSide, 0);
  const int end = std::min(app.menu.MenuLevel + kItemsEachSide, last);
  for (int level = first; level <= end; ++level) {
    const float angle = ItemAngle(level, app.menu.WheelScroll);
    const float glow = Glow(angle);
    const float radius = kWheelRadius + glow;
    const float x = app.menu.WheelX + radius * SinDeg(angle);
    const float y = app.menu.WheelY - radius * CosDeg(angle);
    if (spinning && level != app.menu.MenuLevel && angle > kPassLow && angle < kPassHigh) {
      app.menu.MenuLevel = level;
      app.PlaySFX(sfx::kMove);
    }
    DrawWheelItem(app, level, x, y, angle, glow);
    TouchWheelItem(app, level, x, y);
  }
  BounceAtTheEnds(app, last);
}

void DragWheel(MyApp& app) {
  if (!app.menu.WheelDragging) {
    app.menu.WheelDragging = true;
    app.menu.DragAnchorX = app.controls.PointerX;
    app.menu.DragAnchorY = app.controls.PointerY;
  }
  const float turn = ((app.menu.DragAnchorX - app.controls.PointerX) +
                      (app.menu.DragAnchorY - app.controls.PointerY)) /
                     kDragScale;
  app.menu.WheelSpin = std::clamp(app.menu.WheelSpin - turn, -kMaxSpin, kMaxSpin);
  if (std::fabs(turn) > 1) SetLatches(app, -1);
  app.menu.MenuFocus = MenuScreen::kFocusWheel;
  app.menu.DragAnchorX = app.controls.PointerX;
  app.menu.DragAnchorY = app.controls.PointerY;
}

void HubAndDrag(MyApp& app) {
  const bool hubFocused = app.menu.MenuFocus == MenuScreen::kFocusHub;
  if (hubFocused) app.menu.HubAngle = std::fmod(app.menu.HubAngle + kHubTurn, 360.0f);
  const auto x = static_cast<float>(app.menu.WheelX);
  const auto y = static_cast<float>(app.menu.WheelY);
  const float hubAlpha = hubFocused ? kBrightAlpha : kDimAlpha;
  app.frame.SetSize(kHubSize);
  app.frame.Alpha(hubAlpha);
  app.frame.DrawImg(kCircleSlot, x, y, kHubFrame);
  app.HubDecoration(x, y, kDecorationSize);
  app.frame.SetSize(kRimSize);
  app.frame.SetRot(app.menu.WheelScroll);
  app.frame.Alpha(app.menu.MenuFocus == MenuScreen::kFocusWheel ? kBrightAlpha : kDimAlpha);
  app.frame.DrawImg(kCircleSlot, x, y, kWheelRimFrame);
  app.frame.ResetDraw();

  if (app.controls.PointerDown == 0) app.menu.WheelDragging = false;
  if (app.controls.PointerDown == 0 || AnyPanelOpen(app)) return;
  if (app.controls.MouseIn_Centered(x, y, kHubBox, kHubBox)) {
    if (!LatchesFree(app)) return;
    app.menu.OptionsOpen = 1;
    app.controls.PointerActive = 1;
    app.menu.MenuFocus = MenuScreen::kFocusHub;
    app.PlaySFX(sfx::kMove);
  } else if (app.controls.PointerActive < 1 &&
             app.controls.MouseIn_Centered(x, y, kDragBox, kDragBox)) {
    DragWheel(app);
  }
}

void StepWheel(MyApp& app, int step, int last) {
  app.menu.MenuLevel = std::clamp(app.menu.MenuLevel + step, 0, last);
  app.menu.MenuScroll = ScrollFor(app.menu.MenuLevel);
  app.PlaySFX(sfx::kMove);
  SetLatches(app, 1);
  app.menu.WheelRepeatTimer = app.menu.WheelRepeatDelay;
  app.menu.WheelRepeatDelay = std::max(kRepeatFastest, app.menu.WheelRepeatDelay - kRepeatSpeedUp);
}

void ActOnFocus(MyApp& app) {
  app.PlaySFX(sfx::kConfirm);
  app.controls.KeyLatch = 1;
  switch (app.menu.MenuFocus) {
    case MenuScreen::kFocusHub:
      app.menu.OptionsOpen = 1;
      app.PlaySFX(sfx::kMove);
      break;
    case MenuScreen::kFocusWheel:
      app.StartLevel();
      break;
    case MenuScreen::kFocusSidePanel:
      app.menu.SidePanelOpen = 1;
      app.PlaySFX(sfx::kMove);
      break;
    default:
      break;
  }
}

void MenuKeys(MyApp& app, int last) {
  const bool up = app.PlayKey(kGameUp, 1, 0), down = app.PlayKey(kGameDown, 1, 0);
  if (up || down) {
    if (--app.menu.WheelRepeatTimer < 0) app.controls.KeyLatch = 0;
  } else {
    app.menu.WheelRepeatTimer = 0;
    app.menu.WheelRepeatDelay = kRepeatFirstDelay;
  }
  if (!LatchesFree(app)) return;
  if ((up || down) && app.menu.WheelRepeatTimer < 1) {
    StepWheel(app, up ? -1 : 1, last);
    return;
  }
  const bool left = app.PlayKey(kGameLeft, 1, 0), right = app.PlayKey(kGameRight, 1, 0);
  if (left || right) {
    app.menu.MenuFocus = std::clamp(app.menu.MenuFocus + (left ? -1 : 1), 0,
                                    static_cast<int>(MenuScreen::kFocusSidePanel));
    app.PlaySFX(sfx::kMove);
    SetLatches(app, 1);
  } else if (app.PlayKey(kGameA, 1, 0) || app.PlayKey(kGameB, 1, 0) || app.PlayKey(kGameX, 1, 0)) {
    ActOnFocus(app);
  }
}

void DrawTotals(MyApp& app, int last) {
  if (app.menu.MenuFocus != MenuScreen::kFocusWheel || app.frame.ScreenWidth <= kTotalsMinWidth)
    return;
  const float shift = kIntroTotalsShift * app.menu.MenuIntro;
  app.frame.SetSize(kScoreSize);
  app.frame.Text(kTotalsX, app.frame.ScreenHeight - kLevelsRise - shift,
                 "Levels : " + String::FromInt(last + 1));
  app.frame.Text(kTotalsX, app.frame.ScreenHeight - kScoreRise - shift,
                 "Score : " + String(std::to_string(app.TotalBestScore())));
  app.frame.ResetDraw();
}

void SidePanelTicker(MyApp& app) {
  const bool confirm =
      AnyHeld(app, {kGameA, kGameB, kGameX, kGameY}) || app.controls.PointerDown > 0;
  if (confirm && LatchesFree(app)) {
    app.menu.SidePanelOpen = 0;
    app.PlaySFX(sfx::kMove);
    SetLatches(app, 1);
  }
  app.AdvanceTicker();
  app.DrawTicker(2 * app.frame.ScreenWidth - kTickerRight - PanelWidth(app),
                 app.frame.ScreenHeight - kTickerRise, 1.0f);
  app.frame.ResetDraw();
}

// ---- Options steps ----

bool OptionLatchesFree(const MyApp& app) {
  return app.menu.OptionKeyLatch == 0 && app.menu.OptionTouchLatch == 0;
}

void SetOptionLatches(MyApp& app, int value) {
  app.menu.OptionKeyLatch = app.menu.OptionTouchLatch = value;
}

// Closing the panel saves, whichever way it closes.
void CloseOptions(MyApp& app) {
  app.menu.OptionsOpen = 0;
  app.Save();
  SetLatches(app, 1);
  SetOptionLatches(app, 1);
}

void DrawOverscanMarks(MyApp& app) {
  const float right = app.frame.ScreenWidth - kMarkLong,
              bottom = app.frame.ScreenHeight - kMarkLong;
  for (const float x : {0.0f, right}) {
    for (const float y : {0.0f, bottom}) {
      app.frame.Rect(x, y + (y > 0 ? kMarkShort : 0), kMarkLong, kMarkShort);
      app.frame.Rect(x + (x > 0 ? kMarkShort : 0), y, kMarkShort, kMarkLong);
    }
  }
}

void OptionBackControl(MyApp& app) {
  app.menu.HubAngle = std::fmod(app.menu.HubAngle + kOptionTurn, 360.0f);
  const float x = kBackSlideStep * (3 * app.menu.OptionsSlide - 3 * kSlideOpen) + kRowTextX;
  const float size =
      app.menu.OptionRow == MenuScreen::kRowBack ? kSelectedDecorationSize : kDecorationSize;
  const bool touched = app.HubDecoration(x, kBackY, size);
  app.frame.SetSize(kOptionTextSize);
  app.frame.Text(x + kBackLabelGap, kBackY, "<[BACK]", 0, 1);
  app.frame.ResetDraw();
  if (!OptionLatchesFree(app)) return;
  if ((touched && app.controls.PointerDown) || app.PlayKeyAll(kGameBack, 1)) {
    app.PlaySFX(sfx::kMove);
    CloseOptions(app);
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

String RowText(const MyApp& app, int row) {
  switch (row) {
    case MenuScreen::kRowSound: {
      const int mode = app.save.Settings[kSoundModeSetting];
      const SoundModeTexts sound = SoundTexts(app.platform);
      return mode >= 0 && mode < sound.count ? String(sound.texts[mode]) : String();
    }
    case MenuScreen::kRowICade:
      return app.controls.ICade == 1 ? "iCade : On" : "iCade : Off";
    case MenuScreen::kRowFullscreen:
      return app.screens.Fullscreen == 1 ? "Windowed" : "Fullscreen";
    case MenuScreen::kRowCredits:
      return "Credits";
    default:
      return String();
  }
}

// Every change of a saved setting is saved at once, so quitting never loses it.
void NextSoundMode(MyApp& app) {
  int& mode = app.save.Settings[kSoundModeSetting];
  const int count = SoundTexts(app.platform).count;
  mode = mode >= 0 && mode < count ? (mode + 1) % count : 0;
  // Modes 0 and 2 have no music.
  if (app.platform.musicStream && (mode == 0 || mode == 2)) app.StopTune();
  app.Save();
}

void ActOnRow(MyApp& app, int row) {
  SetOptionLatches(app, 1);
  app.PlaySFX(sfx::kMove);
  switch (row) {
    case MenuScreen::kRowSound:
      NextSoundMode(app);
      break;
    case MenuScreen::kRowICade:
      app.controls.ICade = app.controls.ICade == 1 ? 0 : 1;
      app.controls.iCade(app.controls.ICade);
      app.controls.PadKeys.fill(0);
      break;
    case MenuScreen::kRowFullscreen:
      app.FullscreenFlip();
      break;
    case MenuScreen::kRowCredits:
      app.menu.CreditsOpen = 1;
      CloseOptions(app);
      SetOptionLatches(app, 0);
      break;
    default:
      break;
  }
}

bool RowShown(const MyApp& app, int row) {
  switch (row) {
    case MenuScreen::kRowICade:
      return !app.platform.console;
    case MenuScreen::kRowCredits:
      return app.pause.Paused == 0;
    default:
      return row >= MenuScreen::kRowBack && row <= MenuScreen::kRowCredits;
  }
}

// A selection left on a row that is not shown here (Credits over the paused game) moves up.
void KeepRowShown(MyApp& app) {
  app.menu.OptionRow = std::clamp(app.menu.OptionRow, 0, static_cast<int>(MenuScreen::kRowCredits));
  while (!RowShown(app, app.menu.OptionRow)) --app.menu.OptionRow;
}

int NextShownRow(const MyApp& app, int step) {
  for (int row = app.menu.OptionRow + step;
       row >= MenuScreen::kRowBack && row <= MenuScreen::kRowCredits; row += step) {
    if (RowShown(app, row)) return row;
  }
  return app.menu.OptionRow;
}

void DrawOptionRow(MyApp& app, int row, float textX, float barX, float barWidth, float y) {
  const bool selected = app.menu.OptionRow == row;
  if (selected) {
    app.frame.SetCol(0, 180, 255, 0.5f);
  } else {
    app.frame.SetCol(0, 0, 160, 0.5f);
  }
  const bool touched = app.controls.Touch(app.frame, barX, y - 2, barWidth, kRowBarHeight);
  app.frame.ResetDraw();
  app.frame.SetSize(kOptionTextSize);
  app.frame.Text(textX, y, RowText(app, row));
  app.frame.ResetDraw();
  if (!OptionLatchesFree(app)) return;
  if (touched) {
    app.menu.OptionRow = row;
    ActOnRow(app, row);
  } else if (selected && std::any_of(std::begin(kConfirmKeys), std::end(kConfirmKeys),
                                     [&app](int key) { return app.PlayKeyAll(key, 1); })) {
    ActOnRow(app, row);
  }
}

void OptionRows(MyApp& app) {
  const float barWidth = app.frame.ScreenWidth - 2 * kRowBarX;
  float y = kPanelSlideStep * (kSlideOpen - app.menu.OptionsSlide) + kFirstRowY;
  for (const int row : {MenuScreen::kRowSound, MenuScreen::kRowICade, MenuScreen::kRowFullscreen}) {
    if (!RowShown(app, row)) continue;
    DrawOptionRow(app, row, kRowTextX, kRowBarX, barWidth, y);
    y += kRowSpacing;
  }
  if (RowShown(app, MenuScreen::kRowCredits)) {
    y += kCreditsRowGap - kRowSpacing;
    DrawOptionRow(app, MenuScreen::kRowCredits, app.frame.ScreenWidth - kCreditsTextInset,
                  app.frame.ScreenWidth - kCreditsBarInset, kCreditsBarWidth, y);
  }
}

void OptionKeys(MyApp& app) {
  if (app.menu.OptionKeyLatch != 0) return;
  if (app.menu.OptionRow == MenuScreen::kRowBack && OptionLatchesFree(app) &&
      AnyHeld(app, {kGameR1, kGameA, kGameB})) {
    app.PlaySFX(sfx::kMove);
    CloseOptions(app);
    return;
  }
  int step = 0;
  if (AnyHeld(app, {kGameUp, kGameLeft})) {
    step = -1;
  } else if (AnyHeld(app, {kGameDown, kGameRight})) {
    step = 1;
  }
  if (step == 0) return;
  app.menu.OptionRow = NextShownRow(app, step);
  app.menu.OptionKeyLatch = 1;
  app.PlaySFX(sfx::kMove);
}

void ReleaseOptionLatches(MyApp& app) {
  if (app.controls.PointerDown == 0) app.menu.OptionTouchLatch = 0;
  const bool held = std::any_of(std::begin(kOptionLatchKeys), std::end(kOptionLatchKeys),
                                [&app](int key) { return app.PlayKeyAll(key, 1); });
  if (!held) app.menu.OptionKeyLatch = 0;
}

}  // namespace

int MyApp::LastOfferedLevel() const {
  int reached = 0;  // one past the highest completed level
  for (int level = 0; level < world::kLevels; ++level) {
    if (save.LevelRecords[SaveData::kCompletionRecords + level * SaveData::kBestScores] > 0)
      reached = level + 1;
  }
  return std::min(reached, kFinalLevel);
}

long long MyApp::TotalBestScore() const {
  long long total = 0;
  for (int level = 0; level < world::kLevels; ++level)
    total += std::max(save.LevelRecords[level * SaveData::kBestScores], 0);
  return total;
}

bool MyApp::HubDecoration(float x, float y, float size) {
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

void MyApp::StartLevel() {
  frame.ControlStyle = controls.PointerDown >= 1 ? kPointerControls : kControllerControls;
  for (const int key : kConfirmKeys) {
    if (PlayKey(key, 0, kKeyboardOnly)) frame.ControlStyle = kKeyboardControls;
  }
  SetLatches(*this, 1);
  menu.MenuScroll = ScrollFor(menu.MenuLevel);
  world.Level = std::clamp(menu.MenuLevel + 1, 1, world::kLevels);
  screens.ScreenMode = ModeLoadGame;
}

void MyApp::SelectNextLevel() {
  ++menu.MenuLevel;
  menu.MenuScroll = ScrollFor(menu.MenuLevel);
}

void MyApp::Menu() {
  play.DoBG(frame, 0, 0, kBackdropBlue, Play::kOpaqueBackdrop);
  if (menu.MenuIntro < 0) ++menu.MenuIntro;
  MenuBackKey(*this);
  const int last = LastOfferedLevel();
  KeepSelectionOffered(*this, last);
  StartLaunchLevel(*this, last);
  DrawTitleAndSidePanel(*this);
  DrawScoreList(*this);
  TurnWheel(*this);
  if (!AnyPanelOpen(*this)) {
    WheelItems(*this, last);
    HubAndDrag(*this);
    if (!AnyPanelOpen(*this)) MenuKeys(*this, last);
    DrawTotals(*this, last);
  }
  if (menu.SidePanelOpen == 1) SidePanelTicker(*this);
  world.Level = std::clamp(menu.MenuLevel + 1, 1, world::kLevels);
}

void MyApp::LoadMenu() {
  FileScore();
  Save();
}

void MyApp::OptionBox() {
  SetLatches(*this, 1);
  if (menu.OptionsSlide != kSlideOpen) SetOptionLatches(*this, 1);
  frame.ResetDraw();
  if (platform.console) DrawOverscanMarks(*this);
  frame.SetCol(150, 75, 0, 0.85f);
  frame.Rect(kOptionsMargin, kPanelSlideStep * (kSlideOpen - menu.OptionsSlide),
             frame.ScreenWidth - 2 * kOptionsMargin, frame.ScreenHeight);
  frame.ResetDraw();
  KeepRowShown(*this);
  OptionBackControl(*this);
  if (platform.console) {
    OverscanSlider(kBackSlideStep * (3 * menu.OptionsSlide - 3 * kSlideOpen) + kSliderY,
                   menu.OptionKeyLatch, menu.OptionTouchLatch);
  }
  OptionRows(*this);
  OptionKeys(*this);
  ReleaseOptionLatches(*this);
}

void MyApp::OverscanSlider(float y, int& keyLatch, int& touchLatch) {
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
    PlaySFX(sfx::kConfirm);
    if (frame.Overscan > kOverscanFlipHigh) value = kOverscanMin;
    if (frame.Overscan < kOverscanFlipLow) value = kOverscanMax;
  }
  if (keyLatch == 0 && (PlayKeyAll(kGameL1, 1) || PlayKeyAll(kGameR1, 1))) {
    keyLatch = 1;
    value += PlayKeyAll(kGameL1, 1) ? -kOverscanStep : kOverscanStep;
  }
  value = std::clamp(value, kOverscanMin, kOverscanMax);
  frame.Overscan = static_cast<float>(value);
  if (value != before) Save();
}
