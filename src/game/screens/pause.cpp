// The pause panel (a map of the world, a line-drawing toy and three buttons), the game-over
// sequence and the console's quit confirmation.
#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "base/angles.h"
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
constexpr float kMapItemMarkSize = 0.5f;  // the colour-blind marks over them
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

bool AnyHeld(const GameIO& io, int key) {
  return io.PlayKeyAll(key, 1) != 0;
}

void SetColour(GameFrame& frame, const Colour& colour, float alpha = kNoArg) {
  frame.SetCol(colour.red, colour.green, colour.blue, alpha);
}

// ---- Pause panel ----

void ShadeBehindPanel(GameFrame& frame, Play& play, const PauseScreen& pause) {
  play.DoBG(frame, Play::kKeepBackdrop, Play::kKeepBackdrop, Play::kKeepBackdrop,
            Play::kOpaqueBackdrop);
  const float span = kShadeSpan * frame.ScreenHeight;
  const float shade = span > 0 ? std::fabs(static_cast<float>(pause.PauseY)) / span : 1.0f;
  frame.SetCol(0, 0, 0, std::min(shade, 1.0f));
  frame.Rect(0, 0, frame.ScreenWidth, frame.ScreenHeight);
  frame.ResetDraw();
}

void SlidePanel(const GameFrame& frame, PauseScreen& pause) {
  if (pause.PauseDir == 1) {
    if (static_cast<float>(pause.PauseY) < frame.ScreenHeight / 2) pause.PauseY += kSlideStep;
    return;
  }
  if (pause.PauseY < kGoneAbove) {
    pause.Paused = 0;
    return;
  }
  pause.PauseY -= kSlideStep;
  if (pause.PauseY < kResumeAbove) pause.Paused = 0;
}

// Bit k set when path k runs through the room.
int PathsThrough(const WorldMap& world, int rx, int ry) {
  int paths = 0;
  const int corner = world::TileIndex(rx, ry, 0, 0);
  for (int path = 0; path < world::kPaths; ++path)
    if (world.Tiles[corner + tile::PathMarkField(path)] != 0) paths |= 1 << path;
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

void MarkItemRooms(GameFrame& frame, const Controls& controls, const Play& play,
                   const MapLayout& map) {
  for (int item = 0; item < world::kPaths; ++item) {
    const int rx = RoomCoord(play.Player[player::Item(item, player::kItemRoomX)]);
    const int ry = RoomCoord(play.Player[player::Item(item, player::kItemRoomY)]);
    if (rx < 0 || ry < 0) continue;
    const float x = map.CellX(rx), y = map.CellY(ry);
    const auto w = static_cast<float>(map.cellW), h = static_cast<float>(map.cellH);
    // Item 0 top middle, item 1 bottom left, item 2 bottom right.
    const float markX[] = {x + static_cast<float>(map.cellW / 2), x + kMarkInset,
                           x + w - kMarkFarInset};
    const float markY[] = {y + kMarkInset, y + h - kMarkFarInset, y + h - kMarkFarInset};
    SetColour(frame, kItemColours[item], 1.0f);
    frame.Rect(markX[item], markY[item], kItemMark, kItemMark);
    if (!controls.ItemMarks) continue;
    frame.SetCol(255, 255, 255);
    frame.SetSize(kMapItemMarkSize);
    frame.DrawImg(kItemMarkSlot, markX[item] + kItemMark / 2, markY[item] + kItemMark / 2, item);
    frame.SetSize(1);
  }
}

void DrawWorldMap(GameFrame& frame, const GameIO& io, const Controls& controls,
                  const WorldMap& world, const Play& play) {
  MapLayout map{};
  map.cellH = static_cast<int>((frame.ScreenHeight - kMapSpare) / world::kRooms);
  map.cellW = kCellWidthPerSix * map.cellH / 6;
  if (map.cellH < kSmallestCell || map.cellW < kSmallestCell) return;
  map.left = frame.ScreenWidth - static_cast<float>(world::kRooms * map.cellW);
  const int shipX = RoomCoord(play.Player[player::kRoomX]);
  const int shipY = RoomCoord(play.Player[player::kRoomY]);
  const bool blinkDark = Millisecs() % kBlinkPeriod < kBlinkDark;
  const auto w = static_cast<float>(map.cellW), h = static_cast<float>(map.cellH);
  for (int ry = 0; ry < world::kRooms; ++ry) {
    for (int rx = 0; rx < world::kRooms; ++rx) {
      const int paths = PathsThrough(world, rx, ry);
      if (paths == 0) continue;
      const float x = map.CellX(rx), y = map.CellY(ry);
      const bool ship = rx == shipX && ry == shipY;
      if (ship) {
        frame.SetCol(255, 255, 255, kShipFrameAlpha);
        frame.Rect(x - 1, y - 1, w + 1, h + 1);
      }
      SetColour(frame, ship && blinkDark ? Colour{0, 0, 0} : kPathColours[paths], 1.0f);
      frame.Rect(x, y, w - 1, h - 1);
    }
  }
  if (io.PlayKey(kGameL1, 0, 0) && io.PlayKey(kGameR1, 0, 0))
    MarkItemRooms(frame, controls, play, map);
  frame.ResetDraw();
}

void TurnToy(const GameIO& io, PauseScreen& pause, float reach) {
  pause.ToyAngle1 = std::fmod(pause.ToyAngle1 + kArmTurn, 360.0f);
  pause.ToyAngle2 = std::fmod(pause.ToyAngle2 + pause.ToySpeed, 360.0f);
  pause.ToyAngle3 = std::fmod(pause.ToyAngle3 + kColourTurn, 360.0f);
  if (AnyHeld(io, kGameUp)) pause.ToyRadius -= kRadiusStep;
  if (AnyHeld(io, kGameDown)) pause.ToyRadius += kRadiusStep;
  pause.ToyRadius = std::clamp(pause.ToyRadius, 0.0f, reach);
  if (AnyHeld(io, kGameLeft)) pause.ToySpeed -= kSpeedStep;
  if (AnyHeld(io, kGameRight)) pause.ToySpeed += kSpeedStep;
  pause.ToySpeed = std::clamp(pause.ToySpeed, 0.0f, kMaxToySpeed);
}

void DrawToyLabel(GameFrame& frame, PauseScreen& pause) {
  const auto speed = static_cast<int>(pause.ToySpeed);
  const auto radius = static_cast<int>(pause.ToyRadius);
  if (speed != pause.ToyLabelSpeed || radius != pause.ToyLabelRadius) {
    pause.ToyLabelSpeed = speed;
    pause.ToyLabelRadius = radius;
    pause.ToyLabel = String::FromInt(speed) + ":" + String::FromInt(radius);
  }
  frame.SetSize(kLabelSize);
  frame.SetCol(100, 255, 100, kLabelAlpha);
  frame.Text(frame.ScreenWidth - kLabelInset, frame.ScreenHeight - kLabelInset, pause.ToyLabel,
             kRightAlign, kBottomAlign);
  frame.SetSize(1);
}

float TrailChannel(float value) {
  return std::clamp(value, 0.0f, 255.0f);
}

// Adds the newest point, draws the segments between points already drawn, and moves every
// point one place along.
void DrawTrail(GameFrame& frame, PauseScreen& pause, float reach) {
  float* trail = pause.ToyTrail.data();
  const float arm = reach - pause.ToyRadius;
  const int newest = 2 * (kTrailPoints - 1);
  trail[newest] = frame.ScreenWidth / 2 + kToyShift + arm * SinDeg(pause.ToyAngle1) +
                  pause.ToyRadius * SinDeg(pause.ToyAngle2);
  trail[newest + 1] = frame.ScreenHeight / 2 - arm * CosDeg(pause.ToyAngle1) -
                      pause.ToyRadius * CosDeg(pause.ToyAngle2);
  pause.ToyTrailPoints = std::clamp(pause.ToyTrailPoints + 1, 1, kTrailPoints);
  for (int i = kTrailPoints - pause.ToyTrailPoints; i < kTrailPoints - 1; ++i) {
    const auto weight = static_cast<float>(i);
    const float turn = 2 * weight + pause.ToyAngle3;
    frame.SetCol(TrailChannel(weight + weight * SinDeg(turn)),
                 TrailChannel(weight + weight * CosDeg(turn)),
                 TrailChannel(weight - weight * CosDeg(turn)));
    const float* from = &trail[2 * i];
    for (const float offset : {0.0f, kSecondLineOffset})
      frame.Line(from[0] + offset, from[1] + offset, from[2] + offset, from[3] + offset);
  }
  std::copy(trail + 2, trail + newest + 2, trail);
}

void PlayWithToy(GameFrame& frame, const GameIO& io, PauseScreen& pause) {
  const float reach =
      std::min(kToyReach * frame.ScreenHeight, kToyReach * (frame.ScreenWidth - kToyShift));
  // On a screen too small to hold it the toy is left as it is.
  if (!(reach > 0)) return;
  TurnToy(io, pause, reach);
  DrawToyLabel(frame, pause);
  DrawTrail(frame, pause, reach);
  frame.ResetDraw();
}

void DrawPausedTitle(GameFrame& frame) {
  frame.SetSize(kPausedSize);
  frame.Alpha(kPausedAlpha);
  frame.Text(frame.ScreenWidth / 2 + kToyShift, frame.ScreenHeight / 2, "PAUSED", 1, 1);
  frame.ResetDraw();
}

void PressPauseButton(GameIO& io, Play& play, MenuScreen& menu, PauseScreen& pause, int button,
                      bool byTouch) {
  switch (button) {
    case PauseScreen::kPauseResume:
      pause.Paused = 1;
      pause.PauseDir = -1;
      io.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
      break;
    case PauseScreen::kPauseEndRun:
      pause.Paused = 0;
      pause.PauseDir = -1;
      pause.PauseY = kClosedY;
      play.GameOverTimer = 1;
      io.PlaySFX(sfx::kConfirm, kEndRunRate, kHalfVolume);
      break;
    case PauseScreen::kPauseOptions:
      menu.OptionsOpen = 1;
      if (byTouch) {
        io.PlaySFX(sfx::kMove);
      } else {
        io.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
      }
      break;
    default:
      break;
  }
}

struct ButtonPlace {
  float x, y;
};

void PauseButtonKeys(GameIO& io, Controls& controls, Play& play, MenuScreen& menu,
                     PauseScreen& pause) {
  if (controls.KeyLatch != 0) return;
  if (AnyHeld(io, kGameA)) {
    controls.KeyLatch = 1;
    PressPauseButton(io, play, menu, pause, pause.PauseChoice, false);
    return;
  }
  for (const SelectionMove& move : kSelectionMoves) {
    if (move.from != pause.PauseChoice || !AnyHeld(io, move.key)) continue;
    controls.KeyLatch = 1;
    pause.PauseChoice = move.to;
    io.PlaySFX(sfx::kConfirm, move.rate, kHalfVolume);
    return;
  }
}

void PauseButtons(GameFrame& frame, GameIO& io, Controls& controls, Play& play, MenuScreen& menu,
                  PauseScreen& pause) {
  if (pause.PauseChoice < PauseScreen::kPauseEndRun ||
      pause.PauseChoice > PauseScreen::kPauseOptions)
    pause.PauseChoice = PauseScreen::kPauseResume;
  const auto resumeX = static_cast<float>(
      static_cast<int>(kResumeRest - (frame.ScreenHeight / 2 - static_cast<float>(pause.PauseY))));
  const auto lowY = static_cast<float>(pause.PauseY) - kButtonSpread;
  // Indexed by PauseChoice + 1: end the run, resume, options.
  const std::array<ButtonPlace, 3> places =
      frame.Landscape == 1
          ? std::array<ButtonPlace, 3>{{{resumeX, kUpperButtonY},
                                        {resumeX, kResumeY},
                                        {resumeX, kLowerButtonY}}}
          : std::array<ButtonPlace, 3>{
                {{static_cast<float>(static_cast<int>(frame.ScreenWidth / 2 - kButtonSpread)),
                  lowY},
                 {resumeX, kResumeY},
                 {static_cast<float>(static_cast<int>(frame.ScreenWidth / 2 + kButtonSpread)),
                  lowY}}};
  const auto& [endRun, resume, options] = places;

  frame.ResetDraw();
  frame.SetSize(kButtonSize);
  SetColour(frame, kButtonColour);
  std::array<bool, 3> touched{};
  touched[0] = controls.Button(frame, kIconsSlot, endRun.x, endRun.y, kEndRunFrame) != 0;
  touched[1] = controls.Button(frame, kIconsSlot, resume.x, resume.y, kResumeFrame) != 0;
  if (menu.OptionsOpen == 0) menu.HubAngle = std::fmod(menu.HubAngle + kHubTurn, 360.0f);
  touched[2] = HubDecoration(frame, controls, menu, options.x, options.y, kButtonSize);
  const ButtonPlace& selected = places[static_cast<size_t>(pause.PauseChoice + 1)];
  frame.SetSize(kMarkSize);
  frame.DrawImg(kIconsSlot, selected.x, selected.y, kSelectionFrame);
  frame.ResetDraw();

  // A panel on its way out takes no more presses: play is about to resume under it.
  if (pause.PauseDir != 1) return;
  if (controls.PointerActive == 0) {
    for (int button = PauseScreen::kPauseEndRun; button <= PauseScreen::kPauseOptions; ++button) {
      if (!touched[static_cast<size_t>(button + 1)]) continue;
      controls.PointerActive = 1;
      PressPauseButton(io, play, menu, pause, button, true);
      return;
    }
  }
  PauseButtonKeys(io, controls, play, menu, pause);
}

void BackKeyResumes(GameIO& io, Controls& controls, PauseScreen& pause) {
  if (controls.KeyLatch != 0 || !io.PlayKeyAll(kGameBack, 0)) return;
  controls.KeyLatch = 1;
  pause.Paused = 1;
  pause.PauseDir = -1;
  io.PlaySFX(sfx::kConfirm, 1.0f, kHalfVolume);
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

void DrawGameOver(GameFrame& frame, Controls& controls, const Play& play,
                  const PauseScreen& pause) {
  const int shown = pause.GameOverFrame;  // updates the overlay has been shown
  controls.KeyLatch = controls.PointerActive = 1;
  frame.ResetDraw();
  frame.SetCol(0, 0, 0, std::min(static_cast<float>(shown) / kDarkenFrames, kMostDark));
  frame.Rect(-1, -1, frame.ScreenWidth + 2, frame.ScreenHeight + 2);

  const auto y = static_cast<float>(
      std::min(kBarGrowth * shown, static_cast<int>(kUpperBar * frame.ScreenHeight)));
  frame.SetCol(255, 255, 0, kBarAlpha);
  frame.Rect(0, kUpperBar * frame.ScreenHeight - kBarHeight / 2, 2 * y, kBarHeight);
  frame.SetCol(255, 128, 0, kBarAlpha);
  frame.Rect(frame.ScreenWidth - (2 * y + 1), kLowerBar * frame.ScreenHeight - kBarHeight / 2,
             2 * y + 1, kBarHeight);

  // A run left through the exit completed the level; any other run is over.
  static const String kWords[2][2] = {{"GAME", "OVER"}, {"Level", "Complete"}};
  const String* words = kWords[play.ExitState < 0 ? 1 : 0];
  frame.SetSize(kWordsSize);
  frame.SetCol(255, 180, 180, 1.0f);
  frame.Text(kFirstWordX * frame.ScreenWidth, y, words[0], 1, 1);
  frame.Text(kSecondWordX * frame.ScreenWidth, frame.ScreenHeight - y, words[1], 1, 1);

  if (pause.GameOverRank > 0) {
    const float rankY = frame.ScreenHeight - y / kRankRiseSlowdown;
    frame.SetCol(0, 125, 255, kBarAlpha);
    frame.Rect(kRankBoxLeft * frame.ScreenWidth, rankY - kRankBoxHeight / 2,
               kRankBoxWidth * frame.ScreenWidth, kRankBoxHeight);
    frame.SetSize(kRankSize);
    frame.SetCol(100, 255, 100, 1.0f);
    frame.Text(frame.ScreenWidth / 2, rankY, NewHighscoreText(pause.GameOverRank), 1,
               kTwoLinesMiddle);
  }
  frame.ResetDraw();
}

// Counts on the play screen up to the move to the menu; fades out on the menu.
void StepGameOver(const Platform& platform, GameIO& io, Screens& screens, PauseScreen& pause) {
  if (screens.ScreenMode == ModeInGame) {
    if (++pause.GameOverFrame < kLeaveFrame) return;
    screens.ScreenMode = ModeLoadMenu;
    if (platform.musicStream) {
      io.StopTune();
      pause.GameOverFrame = kFadeFromWithMusic;
    } else {
      pause.GameOverFrame = kFadeFromWithoutMusic;
    }
  } else if (screens.ScreenMode < ModeInGame) {
    pause.GameOverFrame = std::max(0, pause.GameOverFrame - kFadeStep);
  }
}

}  // namespace

void PauseMenu(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
               const WorldMap& world, Play& play, const Screens& screens, MenuScreen& menu,
               PauseScreen& pause, SaveData& save) {
  ShadeBehindPanel(frame, play, pause);
  SlidePanel(frame, pause);
  DrawWorldMap(frame, io, controls, world, play);
  PlayWithToy(frame, io, pause);
  DrawPausedTitle(frame);
  if (platform.console)
    OverscanSlider(frame, io, controls, play, screens, save,
                   static_cast<float>(pause.PauseY) - kOverscanRise, controls.KeyLatch,
                   controls.PointerActive);
  PauseButtons(frame, io, controls, play, menu, pause);
  BackKeyResumes(io, controls, pause);
}

int ScorePlace(const WorldMap& world, const Play& play, const SaveData& save) {
  return PlaceAmongBest(save, world.Level, play.Score);
}

void GameOver(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
              const WorldMap& world, const Play& play, Screens& screens, PauseScreen& pause,
              const SaveData& save) {
  if (screens.ScreenMode == ModeInGame) {
    pause.GameOverRank = ScorePlace(world, play, save);
  }
  if (pause.GameOverFrame >= 1) DrawGameOver(frame, controls, play, pause);
  StepGameOver(platform, io, screens, pause);
}

void OuyaQuit(GameFrame& frame, const GameIO& io, Controls& controls, Screens& screens) {
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
  if (io.PlayKeyAll(kGameA, 1)) {
    screens.ScreenMode = ModeMenu;
    controls.KeyLatch = controls.PointerActive = 1;
  } else if (io.PlayKeyAll(kGameB, 1) || io.PlayKeyAll(kGameX, 1) || io.PlayKeyAll(kGameBack, 1)) {
    EndApp();
  }
}
