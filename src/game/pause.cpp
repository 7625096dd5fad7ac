// The pause panel (a map of the world, a line-drawing toy and three buttons), the game-over
// sequence and the console's quit confirmation.
#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "base/angles.h"
#include "game/asset_table.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/records.h"
#include "game/sound_table.h"

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
    {MyApp::kPauseResume, kGameUp, MyApp::kPauseEndRun, 0.8f},
    {MyApp::kPauseResume, kGameDown, MyApp::kPauseOptions, 1.2f},
    {MyApp::kPauseEndRun, kGameDown, MyApp::kPauseResume, 0.8f},
    {MyApp::kPauseOptions, kGameUp, MyApp::kPauseResume, 0.8f},
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
  app.SetCol(colour.red, colour.green, colour.blue, alpha);
}

// ---- Pause panel ----

void ShadeBehindPanel(MyApp& app) {
  app.DoBG(MyApp::kKeepBackdrop, MyApp::kKeepBackdrop, MyApp::kKeepBackdrop,
           MyApp::kOpaqueBackdrop);
  const float span = kShadeSpan * jscrh;
  const float shade = span > 0 ? std::fabs(static_cast<float>(app.PauseY)) / span : 1.0f;
  app.SetCol(0, 0, 0, std::min(shade, 1.0f));
  app.Rect(0, 0, jscrw, jscrh);
  app.ResetDraw();
}

void SlidePanel(MyApp& app) {
  if (app.PauseDir == 1) {
    if (static_cast<float>(app.PauseY) < jscrh / 2) app.PauseY += kSlideStep;
    return;
  }
  if (app.PauseY < kGoneAbove) {
    app.Paused = 0;
    return;
  }
  app.PauseY -= kSlideStep;
  if (app.PauseY < kResumeAbove) app.Paused = 0;
}

// Bit k set when path k runs through the room.
int PathsThrough(const MyApp& app, int rx, int ry) {
  int paths = 0;
  const int corner = world::TileIndex(rx, ry, 0, 0);
  for (int path = 0; path < world::kPaths; ++path)
    if (app.World[corner + tile::PathMarkField(path)] != 0) paths |= 1 << path;
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
    const int rx = RoomCoord(app.Player[player::Item(item, player::kItemRoomX)]);
    const int ry = RoomCoord(app.Player[player::Item(item, player::kItemRoomY)]);
    if (rx < 0 || ry < 0) continue;
    const float x = map.CellX(rx), y = map.CellY(ry);
    const auto w = static_cast<float>(map.cellW), h = static_cast<float>(map.cellH);
    // Item 0 top middle, item 1 bottom left, item 2 bottom right.
    const float markX[] = {x + static_cast<float>(map.cellW / 2), x + kMarkInset,
                           x + w - kMarkFarInset};
    const float markY[] = {y + kMarkInset, y + h - kMarkFarInset, y + h - kMarkFarInset};
    SetColour(app, kItemColours[item], 1.0f);
    app.Rect(markX[item], markY[item], kItemMark, kItemMark);
  }
}

void DrawWorldMap(MyApp& app) {
  MapLayout map{};
  map.cellH = static_cast<int>((jscrh - kMapSpare) / world::kRooms);
  map.cellW = kCellWidthPerSix * map.cellH / 6;
  if (map.cellH < kSmallestCell || map.cellW < kSmallestCell) return;
  map.left = jscrw - static_cast<float>(world::kRooms * map.cellW);
  const int shipX = RoomCoord(app.Player[player::kRoomX]);
  const int shipY = RoomCoord(app.Player[player::kRoomY]);
  const bool blinkDark = Millisecs() % kBlinkPeriod < kBlinkDark;
  const auto w = static_cast<float>(map.cellW), h = static_cast<float>(map.cellH);
  for (int ry = 0; ry < world::kRooms; ++ry) {
    for (int rx = 0; rx < world::kRooms; ++rx) {
      const int paths = PathsThrough(app, rx, ry);
      if (paths == 0) continue;
      const float x = map.CellX(rx), y = map.CellY(ry);
      const bool ship = rx == shipX && ry == shipY;
      if (ship) {
        app.SetCol(255, 255, 255, kShipFrameAlpha);
        app.Rect(x - 1, y - 1, w + 1, h + 1);
      }
      SetColour(app, ship && blinkDark ? Colour{0, 0, 0} : kPathColours[paths], 1.0f);
      app.Rect(x, y, w - 1, h - 1);
    }
  }
  if (app.PlayKey(kGameL1, 0, 0) && app.PlayKey(kGameR1, 0, 0)) MarkItemRooms(app, map);
  app.ResetDraw();
}

void TurnToy(MyApp& app, float reach) {
  app.ToyAngle1 = std::fmod(app.ToyAngle1 + kArmTurn, 360.0f);
  app.ToyAngle2 = std::fmod(app.ToyAngle2 + app.ToySpeed, 360.0f);
  app.ToyAngle3 = std::fmod(app.ToyAngle3 + kColourTurn, 360.0f);
  if (AnyHeld(app, kGameUp)) app.ToyRadius -= kRadiusStep;
  if (AnyHeld(app, kGameDown)) app.ToyRadius += kRadiusStep;
  app.ToyRadius = std::clamp(app.ToyRadius, 0.0f, reach);
  if (AnyHeld(app, kGameLeft)) app.ToySpeed -= kSpeedStep;
  if (AnyHeld(app, kGameRight)) app.ToySpeed += kSpeedStep;
  app.ToySpeed = std::clamp(app.ToySpeed, 0.0f, kMaxToySpeed);
}

void DrawToyLabel(MyApp& app) {
  const auto speed = static_cast<int>(app.ToySpeed);
  const auto radius = static_cast<int>(app.ToyRadius);
  if (speed != app.ToyLabelSpeed || radius != app.ToyLabelRadius) {
    app.ToyLabelSpeed = speed;
    app.ToyLabelRadius = radius;
    app.ToyLabel = String::FromInt(speed) + ":" + String::FromInt(radius);
  }
  app.SetSize(kLabelSize);
  app.SetCol(100, 255, 100, kLabelAlpha);
  app.Text(jscrw - kLabelInset, jscrh - kLabelInset, app.ToyLabel, kRightAlign, kBottomAlign);
  app.SetSize(1);
}

float TrailChannel(float value) {
  return std::clamp(value, 0.0f, 255.0f);
}

// Adds the newest point, draws the segments between points already drawn, and moves every
// point one place along.
void DrawTrail(MyApp& app, float reach) {
  float* trail = app.ToyTrail.data();
  const float arm = reach - app.ToyRadius;
  const int newest = 2 * (kTrailPoints - 1);
  trail[newest] =
      jscrw / 2 + kToyShift + arm * SinDeg(app.ToyAngle1) + app.ToyRadius * SinDeg(app.ToyAngle2);
  trail[newest + 1] =
      jscrh / 2 - arm * CosDeg(app.ToyAngle1) - app.ToyRadius * CosDeg(app.ToyAngle2);
  app.ToyTrailPoints = std::clamp(app.ToyTrailPoints + 1, 1, kTrailPoints);
  for (int i = kTrailPoints - app.ToyTrailPoints; i < kTrailPoints - 1; ++i) {
    const auto weight = static_cast<float>(i);
    const float turn = 2 * weight + app.ToyAngle3;
    app.SetCol(TrailChannel(weight + weight * SinDeg(turn)),
               TrailChannel(weight + weight * CosDeg(turn)),
               TrailChannel(weight - weight * CosDeg(turn)));
    const float* from = &trail[2 * i];
    for (const float offset : {0.0f, kSecondLineOffset})
      app.Line(from[0] + offset, from[1] + offset, from[2] + offset, from[3] + offset);
  }
  std::copy(trail + 2, trail + newest + 2, trail);
}

void PlayWithToy(MyApp& app) {
  const float reach = std::min(kToyReach * jscrh, kToyReach * (jscrw - kToyShift));
  // On a screen too small to hold it the toy is left as it is.
  if (!(reach > 0)) return;
  TurnToy(app, reach);
  DrawToyLabel(app);
  DrawTrail(app, reach);
  app.ResetDraw();
}

void DrawPausedTitle(MyApp& app) {
  app.SetSize(kPausedSize);
  app.Alpha(kPausedAlpha);
  app.Text(jscrw / 2 + kToyShift, jscrh / 2, "PAUSED", 1, 1);
  app.ResetDraw();
}

void PressPauseButton(MyApp& app, int button, bool byTouch) {
  switch (button) {
    case MyApp::kPauseResume:
      app.Paused = 1;
      app.PauseDir = -1;
      app.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
      break;
    case MyApp::kPauseEndRun:
      app.Paused = 0;
      app.PauseDir = -1;
      app.PauseY = kClosedY;
      app.GameOverTimer = 1;
      app.PlaySFX(sfx::kConfirm, kEndRunRate, kHalfVolume);
      break;
    case MyApp::kPauseOptions:
      app.OptionsOpen = 1;
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
  if (app.KeyLatch != 0) return;
  if (AnyHeld(app, kGameA)) {
    app.KeyLatch = 1;
    PressPauseButton(app, app.PauseChoice, false);
    return;
  }
  for (const SelectionMove& move : kSelectionMoves) {
    if (move.from != app.PauseChoice || !AnyHeld(app, move.key)) continue;
    app.KeyLatch = 1;
    app.PauseChoice = move.to;
    app.PlaySFX(sfx::kConfirm, move.rate, kHalfVolume);
    return;
  }
}

void PauseButtons(MyApp& app) {
  if (app.PauseChoice < MyApp::kPauseEndRun || app.PauseChoice > MyApp::kPauseOptions)
    app.PauseChoice = MyApp::kPauseResume;
  const auto resumeX = static_cast<float>(
      static_cast<int>(kResumeRest - (jscrh / 2 - static_cast<float>(app.PauseY))));
  const auto lowY = static_cast<float>(app.PauseY) - kButtonSpread;
  // Indexed by PauseChoice + 1: end the run, resume, options.
  const std::array<ButtonPlace, 3> places =
      app.Landscape == 1
          ? std::array<ButtonPlace, 3>{{{resumeX, kUpperButtonY},
                                        {resumeX, kResumeY},
                                        {resumeX, kLowerButtonY}}}
          : std::array<ButtonPlace, 3>{
                {{static_cast<float>(static_cast<int>(jscrw / 2 - kButtonSpread)), lowY},
                 {resumeX, kResumeY},
                 {static_cast<float>(static_cast<int>(jscrw / 2 + kButtonSpread)), lowY}}};
  const auto& [endRun, resume, options] = places;

  app.ResetDraw();
  app.SetSize(kButtonSize);
  SetColour(app, kButtonColour);
  std::array<bool, 3> touched{};
  touched[0] = app.Button(kIconsSlot, endRun.x, endRun.y, kEndRunFrame) != 0;
  touched[1] = app.Button(kIconsSlot, resume.x, resume.y, kResumeFrame) != 0;
  if (app.OptionsOpen == 0) app.HubAngle = std::fmod(app.HubAngle + kHubTurn, 360.0f);
  touched[2] = app.HubDecoration(options.x, options.y, kButtonSize);
  const ButtonPlace& selected = places[static_cast<size_t>(app.PauseChoice + 1)];
  app.SetSize(kMarkSize);
  app.DrawImg(kIconsSlot, selected.x, selected.y, kSelectionFrame);
  app.ResetDraw();

  // A panel on its way out takes no more presses: play is about to resume under it.
  if (app.PauseDir != 1) return;
  if (app.PointerActive == 0) {
    for (int button = MyApp::kPauseEndRun; button <= MyApp::kPauseOptions; ++button) {
      if (!touched[static_cast<size_t>(button + 1)]) continue;
      app.PointerActive = 1;
      PressPauseButton(app, button, true);
      return;
    }
  }
  PauseButtonKeys(app);
}

void BackKeyResumes(MyApp& app) {
  if (app.KeyLatch != 0 || !app.PlayKeyAll(kGameBack, 0)) return;
  app.KeyLatch = 1;
  app.Paused = 1;
  app.PauseDir = -1;
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
  const int frame = app.GameOverFrame;
  app.KeyLatch = app.PointerActive = 1;
  app.ResetDraw();
  app.SetCol(0, 0, 0, std::min(static_cast<float>(frame) / kDarkenFrames, kMostDark));
  app.Rect(-1, -1, jscrw + 2, jscrh + 2);

  const auto y =
      static_cast<float>(std::min(kBarGrowth * frame, static_cast<int>(kUpperBar * jscrh)));
  app.SetCol(255, 255, 0, kBarAlpha);
  app.Rect(0, kUpperBar * jscrh - kBarHeight / 2, 2 * y, kBarHeight);
  app.SetCol(255, 128, 0, kBarAlpha);
  app.Rect(jscrw - (2 * y + 1), kLowerBar * jscrh - kBarHeight / 2, 2 * y + 1, kBarHeight);

  // A run left through the exit completed the level; any other run is over.
  static const String kWords[2][2] = {{"GAME", "OVER"}, {"Level", "Complete"}};
  const String* words = kWords[app.ExitState < 0 ? 1 : 0];
  app.SetSize(kWordsSize);
  app.SetCol(255, 180, 180, 1.0f);
  app.Text(kFirstWordX * jscrw, y, words[0], 1, 1);
  app.Text(kSecondWordX * jscrw, jscrh - y, words[1], 1, 1);

  if (app.GameOverRank > 0) {
    const float rankY = jscrh - y / kRankRiseSlowdown;
    app.SetCol(0, 125, 255, kBarAlpha);
    app.Rect(kRankBoxLeft * jscrw, rankY - kRankBoxHeight / 2, kRankBoxWidth * jscrw,
             kRankBoxHeight);
    app.SetSize(kRankSize);
    app.SetCol(100, 255, 100, 1.0f);
    app.Text(jscrw / 2, rankY, NewHighscoreText(app.GameOverRank), 1, kTwoLinesMiddle);
  }
  app.ResetDraw();
}

// Counts on the play screen up to the move to the menu; fades out on the menu.
void StepGameOver(MyApp& app) {
  if (app.ScreenMode == ModeInGame) {
    if (++app.GameOverFrame < kLeaveFrame) return;
    app.ScreenMode = ModeLoadMenu;
    if (HasMusicStream == 1) {
      app.StopTune();
      app.GameOverFrame = kFadeFromWithMusic;
    } else {
      app.GameOverFrame = kFadeFromWithoutMusic;
    }
  } else if (app.ScreenMode < ModeInGame) {
    app.GameOverFrame = std::max(0, app.GameOverFrame - kFadeStep);
  }
}

}  // namespace

void MyApp::PauseMenu() {
  ShadeBehindPanel(*this);
  SlidePanel(*this);
  DrawWorldMap(*this);
  PlayWithToy(*this);
  DrawPausedTitle(*this);
  if (isOuya == 1)
    OverscanSlider(static_cast<float>(PauseY) - kOverscanRise, KeyLatch, PointerActive);
  PauseButtons(*this);
  BackKeyResumes(*this);
}

int MyApp::ScorePlace() const {
  return PlaceAmongBest(save, Level, Score);
}

void MyApp::GameOver() {
  if (ScreenMode == ModeInGame) {
    GameOverRank = ScorePlace();
  }
  if (GameOverFrame >= 1) DrawGameOver(*this);
  StepGameOver(*this);
}

void MyApp::OuyaQuit() {
  CLS2D(kQuitGrey, kQuitGrey, kQuitGrey);
  static const auto lines = [] {
    std::array<String, std::size(kQuitLines)> made;
    for (size_t i = 0; i < made.size(); ++i) made[i] = kQuitLines[i].text;
    return made;
  }();
  const auto x = static_cast<float>(static_cast<int>(kQuitX * jscrw));
  auto y = static_cast<float>(static_cast<int>(kQuitY * jscrh));
  for (size_t i = 0; i < lines.size(); ++i) {
    y += kQuitLines[i].gapBefore;
    SetSize(kQuitLines[i].size);
    Text(x, y, lines[i], 1, 1);
  }
  ResetDraw();
  if (PointerActive != 0 || KeyLatch != 0) return;
  if (PlayKeyAll(kGameA, 1)) {
    ScreenMode = ModeMenu;
    KeyLatch = PointerActive = 1;
  } else if (PlayKeyAll(kGameB, 1) || PlayKeyAll(kGameX, 1) || PlayKeyAll(kGameBack, 1)) {
    EndApp();
  }
}
