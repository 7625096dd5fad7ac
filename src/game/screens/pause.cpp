// The pause panel (a map of the world, a line-drawing toy and three buttons), the game-over
// sequence and the console's quit confirmation.
#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "base/angles.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/sound_table.h"
#include "game/my_app.h"

namespace {

constexpr int kIconsSlot = ImageAssetNamed("common/icons").slot;
constexpr float kHalfVolume = 0.5f;

// Panel slide: in by 24 an update to mid-screen, out until play resumes above the top.
constexpr int kSlideStep = 24;
constexpr int kGoneAbove = -63;
constexpr int kResumeAbove = -32;
constexpr int kClosedY = -64;
constexpr float kShadeSpan = 0.8f;  // the shade is opaque once the panel is this far down

// World map: 32 x 32 cells of h rows and 8h/6 columns each, right-aligned under the top.
constexpr float kMapTop = 64.0f;
constexpr float kMapSpare = 128.0f;
constexpr int kCellWidthPerSix = 8;
constexpr int kSmallestCell = 2;  // a cell smaller than this shows nothing
constexpr int kBlinkPeriod = 500, kBlinkDark = 250;
constexpr float kShipFrameAlpha = 0.75f;
constexpr float kItemMark = 3.0f;
constexpr float kMarkInset = 2.0f, kMarkFarInset = 5.0f;

struct Colour {
  float red, green, blue;
};
// A room's colour by the paths through it: bit k set for path k; 0, no path, is not drawn.
constexpr Colour kPathColours[] = {{0, 0, 0},       {255, 220, 220}, {220, 255, 220},
                                   {255, 255, 220}, {220, 220, 255}, {255, 220, 255},
                                   {220, 255, 255}, {255, 255, 255}};
constexpr Colour kItemColours[world::kPaths] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

// The toy: an arm of length reach - radius turning by 1 degree an update, with an arm of
// length radius on its end turning by the speed, leaving a trail of 101 segments.
constexpr float kToyShift = 96.0f;  // right of the centre, and kept off each side
constexpr float kToyReach = 0.45f;
constexpr float kArmTurn = 1.0f, kColourTurn = 1.5f;
constexpr float kRadiusStep = 1.0f, kSpeedStep = 0.25f, kMaxToySpeed = 128.0f;
constexpr int kTrailPoints = 102;
constexpr float kSecondLineOffset = -0.5f;
constexpr float kLabelInset = 8.0f, kLabelSize = 2.0f, kLabelAlpha = 0.8f;
constexpr float kRightAlign = 2.0f, kBottomAlign = 2.0f;
constexpr float kPausedSize = 4.0f, kPausedAlpha = 0.25f;

// Buttons.
constexpr float kButtonSize = 2.0f, kMarkSize = 2.5f;
constexpr Colour kButtonColour = {50, 50, 250};
constexpr int kEndRunFrame = 1, kResumeFrame = 3, kSelectionFrame = 6;
constexpr float kResumeRest = 64.0f, kResumeY = 196.0f;
constexpr float kButtonSpread = 96.0f;
constexpr float kUpperButtonY = 96.0f, kLowerButtonY = 296.0f;
constexpr float kHubTurn = 0.2f;
constexpr float kOverscanRise = 150.0f;

// Up and Down move the selection between neighbouring buttons, each with its own pitch.
struct SelectionMove {
  int from, key, to;
  float rate;
};
constexpr SelectionMove kSelectionMoves[] = {
    {PauseScreen::kPauseResume, kGameUp, PauseScreen::kPauseEndRun, 0.8f},
    {PauseScreen::kPauseResume, kGameDown, PauseScreen::kPauseOptions, 1.2f},
    {PauseScreen::kPauseEndRun, kGameDown, PauseScreen::kPauseResume, 0.8f},
    {PauseScreen::kPauseOptions, kGameUp, PauseScreen::kPauseResume, 0.8f},
};
constexpr float kEndRunRate = 0.5f;

// Game over.
constexpr int kDarkenFrames = 40;
constexpr float kMostDark = 0.7f;
constexpr int kBarGrowth = 12;
constexpr float kUpperBar = 0.45f, kLowerBar = 0.55f, kBarHeight = 16.0f, kBarAlpha = 0.5f;
constexpr float kWordsSize = 4.0f;
constexpr float kFirstWordX = 0.35f, kSecondWordX = 0.65f;
constexpr float kRankBoxLeft = 0.35f, kRankBoxWidth = 0.3f, kRankBoxHeight = 32.0f;
constexpr float kRankRiseSlowdown = 1.5f;
constexpr float kRankSize = 2.0f;
constexpr float kTwoLinesMiddle = 2.0f;  // a two-line text's middle on y, not its first line's
constexpr int kLeaveFrame = 90;
constexpr int kFadeFromWithMusic = 75, kFadeFromWithoutMusic = 73;
constexpr int kFadeStep = 2;
constexpr int kRanks = SaveData::kBestScores;

// Quit confirmation.
constexpr float kQuitGrey = 180.0f;
constexpr float kQuitX = 0.65f, kQuitY = 0.3f;
struct QuitLine {
  const char* text;
  float size;
  float gapBefore;
};
constexpr QuitLine kQuitLines[] = {
    {"It looks like you're", 3, 0},     {"trying to QUIT!", 3, 32},
    {"Are you absolutely sure", 2, 36}, {"you want to quit the game?", 2, 20},
    {"Isn't this fun?", 2, 28},         {"It'll be a shame to see you go.", 2, 38},
    {"Press \u00acK to Quit", 2, 38},   {"or \u00acJ to return to the fun!", 2, 20},
};

bool AnyHeld(MyApp& app, int key) {
  return app.PlayKeyAll(key, 1) != 0;
}

void SetColour(MyApp& app, const Colour& colour, float alpha = kNoArg) {
  app.frame.SetCol(colour.red, colour.green, colour.blue, alpha);
}

// ---- Pause panel ----

void ShadeBehindPanel(MyApp& app) {
  app.play.DoBG(app.frame, Play::kKeepBackdrop, Play::kKeepBackdrop, Play::kKeepBackdrop,
                Play::kOpaqueBackdrop);
  const float span = kShadeSpan * app.frame.ScreenHeight;
  const float shade = span > 0 ? std::fabs(static_cast<float>(app.pause.PauseY)) / span : 1.0f;
  app.frame.SetCol(0, 0, 0, std::min(shade, 1.0f));
  app.frame.Rect(0, 0, app.frame.ScreenWidth, app.frame.ScreenHeight);
  app.frame.ResetDraw();
}

void SlidePanel(MyApp& app) {
  if (app.pause.PauseDir == 1) {
    if (static_cast<float>(app.pause.PauseY) < app.frame.ScreenHeight / 2)
      app.pause.PauseY += kSlideStep;
    return;
  }
  if (app.pause.PauseY < kGoneAbove) {
    app.pause.Paused = 0;
    return;
  }
  app.pause.PauseY -= kSlideStep;
  if (app.pause.PauseY < kResumeAbove) app.pause.Paused = 0;
}

// Bit k set when path k runs through the room.
int PathsThrough(const MyApp& app, int rx, int ry) {
  int paths = 0;
  const int corner = world::TileIndex(rx, ry, 0, 0);
  for (int path = 0; path < world::kPaths; ++path)
    if (app.world.Tiles[corner + tile::PathMarkField(path)] != 0) paths |= 1 << path;
  return paths;
}

// A room coordinate held in Player; -1 when it names no room.
int RoomCoord(float value) {
  return value >= 0 && value < world::kRooms ? static_cast<int>(value) : -1;
}

struct MapLayout {
  int cellW, cellH;
  float left;
  float CellX(int rx) const { return left + static_cast<float>(cellW * rx); }
  float CellY(int ry) const { return kMapTop + static_cast<float>(cellH * ry); }
};

void MarkItemRooms(MyApp& app, const MapLayout& map) {
  for (int item = 0; item < world::kPaths; ++item) {
    const int rx = RoomCoord(app.play.Player[player::Item(item, player::kItemRoomX)]);
    const int ry = RoomCoord(app.play.Player[player::Item(item, player::kItemRoomY)]);
    if (rx < 0 || ry < 0) continue;
    const float x = map.CellX(rx), y = map.CellY(ry);
    const auto w = static_cast<float>(map.cellW), h = static_cast<float>(map.cellH);
    // Item 0 top middle, item 1 bottom left, item 2 bottom right.
    const float markX[] = {x + static_cast<float>(map.cellW / 2), x + kMarkInset,
                           x + w - kMarkFarInset};
    const float markY[] = {y + kMarkInset, y + h - kMarkFarInset, y + h - kMarkFarInset};
    SetColour(app, kItemColours[item], 1.0f);
    app.frame.Rect(markX[item], markY[item], kItemMark, kItemMark);
  }
}

void DrawWorldMap(MyApp& app) {
  MapLayout map{};
  map.cellH = static_cast<int>((app.frame.ScreenHeight - kMapSpare) / world::kRooms);
  map.cellW = kCellWidthPerSix * map.cellH / 6;
  if (map.cellH < kSmallestCell || map.cellW < kSmallestCell) return;
  map.left = app.frame.ScreenWidth - static_cast<float>(world::kRooms * map.cellW);
  const int shipX = RoomCoord(app.play.Player[player::kRoomX]);
  const int shipY = RoomCoord(app.play.Player[player::kRoomY]);
  const bool blinkDark = Millisecs() % kBlinkPeriod < kBlinkDark;
  const auto w = static_cast<float>(map.cellW), h = static_cast<float>(map.cellH);
  for (int ry = 0; ry < world::kRooms; ++ry) {
    for (int rx = 0; rx < world::kRooms; ++rx) {
      const int paths = PathsThrough(app, rx, ry);
      if (paths == 0) continue;
      const float x = map.CellX(rx), y = map.CellY(ry);
      const bool ship = rx == shipX && ry == shipY;
      if (ship) {
        app.frame.SetCol(255, 255, 255, kShipFrameAlpha);
        app.frame.Rect(x - 1, y - 1, w + 1, h + 1);
      }
      SetColour(app, ship && blinkDark ? Colour{0, 0, 0} : kPathColours[paths], 1.0f);
      app.frame.Rect(x, y, w - 1, h - 1);
    }
  }
  if (app.PlayKey(kGameL1, 0, 0) && app.PlayKey(kGameR1, 0, 0)) MarkItemRooms(app, map);
  app.frame.ResetDraw();
}

void TurnToy(MyApp& app, float reach) {
  app.pause.ToyAngle1 = std::fmod(app.pause.ToyAngle1 + kArmTurn, 360.0f);
  app.pause.ToyAngle2 = std::fmod(app.pause.ToyAngle2 + app.pause.ToySpeed, 360.0f);
  app.pause.ToyAngle3 = std::fmod(app.pause.ToyAngle3 + kColourTurn, 360.0f);
  if (AnyHeld(app, kGameUp)) app.pause.ToyRadius -= kRadiusStep;
  if (AnyHeld(app, kGameDown)) app.pause.ToyRadius += kRadiusStep;
  app.pause.ToyRadius = std::clamp(app.pause.ToyRadius, 0.0f, reach);
  if (AnyHeld(app, kGameLeft)) app.pause.ToySpeed -= kSpeedStep;
  if (AnyHeld(app, kGameRight)) app.pause.ToySpeed += kSpeedStep;
  app.pause.ToySpeed = std::clamp(app.pause.ToySpeed, 0.0f, kMaxToySpeed);
}

void DrawToyLabel(MyApp& app) {
  const auto speed = static_cast<int>(app.pause.ToySpeed);
  const auto radius = static_cast<int>(app.pause.ToyRadius);
  if (speed != app.pause.ToyLabelSpeed || radius != app.pause.ToyLabelRadius) {
    app.pause.ToyLabelSpeed = speed;
    app.pause.ToyLabelRadius = radius;
    app.pause.ToyLabel = String::FromInt(speed) + ":" + String::FromInt(radius);
  }
  app.frame.SetSize(kLabelSize);
  app.frame.SetCol(100, 255, 100, kLabelAlpha);
  app.frame.Text(app.frame.ScreenWidth - kLabelInset, app.frame.ScreenHeight - kLabelInset,
                 app.pause.ToyLabel, kRightAlign, kBottomAlign);
  app.frame.SetSize(1);
}

float TrailChannel(float value) {
  return std::clamp(value, 0.0f, 255.0f);
}

// Adds the newest point, draws the segments between points already drawn, and moves every
// point one place along.
void DrawTrail(MyApp& app, float reach) {
  float* trail = app.pause.ToyTrail.data();
  const float arm = reach - app.pause.ToyRadius;
  const int newest = 2 * (kTrailPoints - 1);
  trail[newest] = app.frame.ScreenWidth / 2 + kToyShift + arm * SinDeg(app.pause.ToyAngle1) +
                  app.pause.ToyRadius * SinDeg(app.pause.ToyAngle2);
  trail[newest + 1] = app.frame.ScreenHeight / 2 - arm * CosDeg(app.pause.ToyAngle1) -
                      app.pause.ToyRadius * CosDeg(app.pause.ToyAngle2);
  app.pause.ToyTrailPoints = std::clamp(app.pause.ToyTrailPoints + 1, 1, kTrailPoints);
  for (int i = kTrailPoints - app.pause.ToyTrailPoints; i < kTrailPoints - 1; ++i) {
    const auto weight = static_cast<float>(i);
    const float turn = 2 * weight + app.pause.ToyAngle3;
    app.frame.SetCol(TrailChannel(weight + weight * SinDeg(turn)),
                     TrailChannel(weight + weight * CosDeg(turn)),
                     TrailChannel(weight - weight * CosDeg(turn)));
    const float* from = &trail[2 * i];
    for (const float offset : {0.0f, kSecondLineOffset})
      app.frame.Line(from[0] + offset, from[1] + offset, from[2] + offset, from[3] + offset);
  }
  std::copy(trail + 2, trail + newest + 2, trail);
}

void PlayWithToy(MyApp& app) {
  const float reach =
      std::min(kToyReach * app.frame.ScreenHeight, kToyReach * (app.frame.ScreenWidth - kToyShift));
  // On a screen too small to hold it the toy is left as it is.
  if (!(reach > 0)) return;
  TurnToy(app, reach);
  DrawToyLabel(app);
  DrawTrail(app, reach);
  app.frame.ResetDraw();
}

void DrawPausedTitle(MyApp& app) {
  app.frame.SetSize(kPausedSize);
  app.frame.Alpha(kPausedAlpha);
  app.frame.Text(app.frame.ScreenWidth / 2 + kToyShift, app.frame.ScreenHeight / 2, "PAUSED", 1, 1);
  app.frame.ResetDraw();
}

void PressPauseButton(MyApp& app, int button, bool byTouch) {
  switch (button) {
    case PauseScreen::kPauseResume:
      app.pause.Paused = 1;
      app.pause.PauseDir = -1;
      app.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
      break;
    case PauseScreen::kPauseEndRun:
      app.pause.Paused = 0;
      app.pause.PauseDir = -1;
      app.pause.PauseY = kClosedY;
      app.play.GameOverTimer = 1;
      app.PlaySFX(sfx::kConfirm, kEndRunRate, kHalfVolume);
      break;
    case PauseScreen::kPauseOptions:
      app.menu.OptionsOpen = 1;
      if (byTouch) {
        app.PlaySFX(sfx::kMove);
      } else {
        app.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
      }
      break;
    default:
      break;
  }
}

struct ButtonPlace {
  float x, y;
};

void PauseButtonKeys(MyApp& app) {
  if (app.controls.KeyLatch != 0) return;
  if (AnyHeld(app, kGameA)) {
    app.controls.KeyLatch = 1;
    PressPauseButton(app, app.pause.PauseChoice, false);
    return;
  }
  for (const SelectionMove& move : kSelectionMoves) {
    if (move.from != app.pause.PauseChoice || !AnyHeld(app, move.key)) continue;
    app.controls.KeyLatch = 1;
    app.pause.PauseChoice = move.to;
    app.PlaySFX(sfx::kConfirm, move.rate, kHalfVolume);
    return;
  }
}

void PauseButtons(MyApp& app) {
  if (app.pause.PauseChoice < PauseScreen::kPauseEndRun ||
      app.pause.PauseChoice > PauseScreen::kPauseOptions)
    app.pause.PauseChoice = PauseScreen::kPauseResume;
  const auto resumeX = static_cast<float>(static_cast<int>(
      kResumeRest - (app.frame.ScreenHeight / 2 - static_cast<float>(app.pause.PauseY))));
  const auto lowY = static_cast<float>(app.pause.PauseY) - kButtonSpread;
  // Indexed by PauseChoice + 1: end the run, resume, options.
  const std::array<ButtonPlace, 3> places =
      app.frame.Landscape == 1
          ? std::array<ButtonPlace, 3>{{{resumeX, kUpperButtonY},
                                        {resumeX, kResumeY},
                                        {resumeX, kLowerButtonY}}}
          : std::array<ButtonPlace, 3>{
                {{static_cast<float>(static_cast<int>(app.frame.ScreenWidth / 2 - kButtonSpread)),
                  lowY},
                 {resumeX, kResumeY},
                 {static_cast<float>(static_cast<int>(app.frame.ScreenWidth / 2 + kButtonSpread)),
                  lowY}}};
  const auto& [endRun, resume, options] = places;

  app.frame.ResetDraw();
  app.frame.SetSize(kButtonSize);
  SetColour(app, kButtonColour);
  std::array<bool, 3> touched{};
  touched[0] = app.controls.Button(app.frame, kIconsSlot, endRun.x, endRun.y, kEndRunFrame) != 0;
  touched[1] = app.controls.Button(app.frame, kIconsSlot, resume.x, resume.y, kResumeFrame) != 0;
  if (app.menu.OptionsOpen == 0)
    app.menu.HubAngle = std::fmod(app.menu.HubAngle + kHubTurn, 360.0f);
  touched[2] = app.HubDecoration(options.x, options.y, kButtonSize);
  const ButtonPlace& selected = places[static_cast<size_t>(app.pause.PauseChoice + 1)];
  app.frame.SetSize(kMarkSize);
  app.frame.DrawImg(kIconsSlot, selected.x, selected.y, kSelectionFrame);
  app.frame.ResetDraw();

  // A panel on its way out takes no more presses: play is about to resume under it.
  if (app.pause.PauseDir != 1) return;
  if (app.controls.PointerActive == 0) {
    for (int button = PauseScreen::kPauseEndRun; button <= PauseScreen::kPauseOptions; ++button) {
      if (!touched[static_cast<size_t>(button + 1)]) continue;
      app.controls.PointerActive = 1;
      PressPauseButton(app, button, true);
      return;
    }
  }
  PauseButtonKeys(app);
}

void BackKeyResumes(MyApp& app) {
  if (app.controls.KeyLatch != 0 || !app.PlayKeyAll(kGameBack, 0)) return;
  app.controls.KeyLatch = 1;
  app.pause.Paused = 1;
  app.pause.PauseDir = -1;
  app.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
}

// ---- Game over ----

const String& RankText(int rank) {
  static const std::array<String, kRanks + 1> texts = {"",    "1st!", "2nd", "3rd", "4th", "5th",
                                                       "6th", "7th",  "8th", "9th", "10th"};
  return texts[static_cast<size_t>(std::clamp(rank, 0, kRanks))];
}

const String& NewHighscoreText(int rank) {
  static const auto texts = [] {
    std::array<String, kRanks + 1> made;
    for (int place = 1; place <= kRanks; ++place)
      made[static_cast<size_t>(place)] = "New Highscore\\n           " + RankText(place);
    return made;
  }();
  return texts[static_cast<size_t>(std::clamp(rank, 0, kRanks))];
}

void DrawGameOver(MyApp& app) {
  const int frame = app.pause.GameOverFrame;
  app.controls.KeyLatch = app.controls.PointerActive = 1;
  app.frame.ResetDraw();
  app.frame.SetCol(0, 0, 0, std::min(static_cast<float>(frame) / kDarkenFrames, kMostDark));
  app.frame.Rect(-1, -1, app.frame.ScreenWidth + 2, app.frame.ScreenHeight + 2);

  const auto y = static_cast<float>(
      std::min(kBarGrowth * frame, static_cast<int>(kUpperBar * app.frame.ScreenHeight)));
  app.frame.SetCol(255, 255, 0, kBarAlpha);
  app.frame.Rect(0, kUpperBar * app.frame.ScreenHeight - kBarHeight / 2, 2 * y, kBarHeight);
  app.frame.SetCol(255, 128, 0, kBarAlpha);
  app.frame.Rect(app.frame.ScreenWidth - (2 * y + 1),
                 kLowerBar * app.frame.ScreenHeight - kBarHeight / 2, 2 * y + 1, kBarHeight);

  // A run left through the exit completed the level; any other run is over.
  static const String kWords[2][2] = {{"GAME", "OVER"}, {"Level", "Complete"}};
  const String* words = kWords[app.play.ExitState < 0 ? 1 : 0];
  app.frame.SetSize(kWordsSize);
  app.frame.SetCol(255, 180, 180, 1.0f);
  app.frame.Text(kFirstWordX * app.frame.ScreenWidth, y, words[0], 1, 1);
  app.frame.Text(kSecondWordX * app.frame.ScreenWidth, app.frame.ScreenHeight - y, words[1], 1, 1);

  if (app.pause.GameOverRank > 0) {
    const float rankY = app.frame.ScreenHeight - y / kRankRiseSlowdown;
    app.frame.SetCol(0, 125, 255, kBarAlpha);
    app.frame.Rect(kRankBoxLeft * app.frame.ScreenWidth, rankY - kRankBoxHeight / 2,
                   kRankBoxWidth * app.frame.ScreenWidth, kRankBoxHeight);
    app.frame.SetSize(kRankSize);
    app.frame.SetCol(100, 255, 100, 1.0f);
    app.frame.Text(app.frame.ScreenWidth / 2, rankY, NewHighscoreText(app.pause.GameOverRank), 1,
                   kTwoLinesMiddle);
  }
  app.frame.ResetDraw();
}

// Counts on the play screen up to the move to the menu; fades out on the menu.
void StepGameOver(MyApp& app) {
  if (app.screens.ScreenMode == ModeInGame) {
    if (++app.pause.GameOverFrame < kLeaveFrame) return;
    app.screens.ScreenMode = ModeLoadMenu;
    if (app.platform.musicStream) {
      app.StopTune();
      app.pause.GameOverFrame = kFadeFromWithMusic;
    } else {
      app.pause.GameOverFrame = kFadeFromWithoutMusic;
    }
  } else if (app.screens.ScreenMode < ModeInGame) {
    app.pause.GameOverFrame = std::max(0, app.pause.GameOverFrame - kFadeStep);
  }
}

}  // namespace

void MyApp::PauseMenu() {
  ShadeBehindPanel(*this);
  SlidePanel(*this);
  DrawWorldMap(*this);
  PlayWithToy(*this);
  DrawPausedTitle(*this);
  if (platform.console)
    OverscanSlider(static_cast<float>(pause.PauseY) - kOverscanRise, controls.KeyLatch,
                   controls.PointerActive);
  PauseButtons(*this);
  BackKeyResumes(*this);
}

int MyApp::ScorePlace() const {
  return PlaceAmongBest(save, world.Level, play.Score);
}

void MyApp::GameOver() {
  if (screens.ScreenMode == ModeInGame) {
    pause.GameOverRank = ScorePlace();
  }
  if (pause.GameOverFrame >= 1) DrawGameOver(*this);
  StepGameOver(*this);
}

void MyApp::OuyaQuit() {
  frame.CLS2D(kQuitGrey, kQuitGrey, kQuitGrey);
  static const auto lines = [] {
    std::array<String, std::size(kQuitLines)> made;
    for (size_t i = 0; i < made.size(); ++i) made[i] = kQuitLines[i].text;
    return made;
  }();
  const auto x = static_cast<float>(static_cast<int>(kQuitX * frame.ScreenWidth));
  auto y = static_cast<float>(static_cast<int>(kQuitY * frame.ScreenHeight));
  for (size_t i = 0; i < lines.size(); ++i) {
    y += kQuitLines[i].gapBefore;
    frame.SetSize(kQuitLines[i].size);
    frame.Text(x, y, lines[i], 1, 1);
  }
  frame.ResetDraw();
  if (controls.PointerActive != 0 || controls.KeyLatch != 0) return;
  if (PlayKeyAll(kGameA, 1)) {
    screens.ScreenMode = ModeMenu;
    controls.KeyLatch = controls.PointerActive = 1;
  } else if (PlayKeyAll(kGameB, 1) || PlayKeyAll(kGameX, 1) || PlayKeyAll(kGameBack, 1)) {
    EndApp();
  }
}
