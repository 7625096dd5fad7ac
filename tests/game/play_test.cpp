// The game-play loop where the traces of tests/sim do not reach: the level finishing once, the
// HUD below zero lives, a new level's orbiting ball, and that a frame of play allocates nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "allocation_counter.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/glyphs.h"
#include "sim/headless_game.h"

namespace {

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.world.Level = 1;
    LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
    app.play.LevelIntro = 0;
  }
  float& P(int index) { return app.play.Player[index]; }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) app.level.Game();
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

// The level ends at -91 and the menu moves on to the next level once.
TEST_F(PlayTest, TakeOffFinishesTheLevelOnce) {
  Frames(40);
  for (int item = 0; item < 3; ++item)
    P(player::Item(item, player::kItemState)) = player::kItemCarried;
  app.menu.MenuLevel = 4;
  while (app.play.ExitState > -90) app.level.Game();
  app.frame.LoadStep = 0;
  app.OnUpdate();
  EXPECT_EQ(app.play.ExitState, -91);
  EXPECT_EQ(app.menu.MenuLevel, 5);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(app.level.Game());
}

// However far the count falls, the lives count is one dimmed "0".
TEST_F(PlayTest, TheHudShowsNoLivesBelowZero) {
  app.play.Lives = -2;
  app.frame.FontImage = kFontSlot;
  app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameW)] = kGlyphW;
  app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameH)] = kGlyphH;
  app.level.Game();
  std::vector<std::pair<float, float>> glyphs;  // frame, alpha
  for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats) {
    const float* r = &app.frame.DrawList[at];
    if (r[drawrec::kSlot] == kFontSlot && r[drawrec::kY] < 32 &&
        std::fabs(r[drawrec::kX] - (app.frame.ScreenWidth - 128)) < 16)
      glyphs.emplace_back(r[drawrec::kFrame], r[drawrec::kAlpha]);
  }
  EXPECT_EQ(glyphs, (std::vector<std::pair<float, float>>{{'0' - 32, 0.3f}}));
}

TEST_F(PlayTest, LoadGameClearsTheOrbitingBall) {
  P(player::kOrbitRecord) = 40;
  LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
  EXPECT_EQ(P(player::kOrbitRecord), -1);
}

TEST_F(PlayTest, AFrameOfPlayAllocatesNothing) {
  app.save.Settings[kSoundModeSetting] = 1;
  Frames(5);
  for (int i = 0; i < 300; ++i) app.play.ThrowParticle(P(player::kX), P(player::kY), 2, 3);
  app.play.Score = 12345678;  // the HUD's score counts up every frame
  const int before = ThreadAllocations();
  Frames(60);
  EXPECT_EQ(ThreadAllocations(), before);
}

}  // namespace
