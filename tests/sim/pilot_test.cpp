// The pilot: the keys it tries out on its forecast move its ship exactly as the game moves the
// real one, and it wins levels.
#include <array>
#include <cstdint>
#include <string>

#include "game/core/records.h"
#include "game/play/reach.h"
#include "game/runs/pilot.h"
#include "sim/headless_game.h"
#include "sim_runs.h"

namespace {

TEST(Pilot, TheForecastFollowsTheFlightUpdateByUpdate) {
  HeadlessGame game(HeadlessGame::StateFile::kIgnored);
  MyApp& app = game.app();
  game.StepUntilLoaded();
  RunHeader header;
  header.level = 5;
  RequestLevel(app, header);
  game.Step();
  std::uint32_t random = 7;
  Pilot::Keys keys;
  InputFrame frame;
  int compared = 0;
  for (int update = 0; update < 3000; ++update) {
    // Keys that change every few updates: thrust more often than not, to fly about the rooms.
    if (update % 6 == 0) {
      random = random * 1664525u + 1013904223u;
      keys.up = (random >> 20) % 3 != 0;
      keys.left = (random >> 22) % 3 == 0;
      keys.right = !keys.left && (random >> 24) % 3 == 0;
    }
    const bool flying = app.play.ExitState == 0 && app.play.LevelIntro == 0;
    Pilot::Ship ship{app.play.Player[player::kX],  app.play.Player[player::kY],
                     app.play.Player[player::kVX], app.play.Player[player::kVY],
                     app.controls.KeyAnalogX,      app.controls.KeyAnalogY};
    Pilot::Forecast(app, keys, ship);
    const std::bitset<kKeyCount> before = frame.held;
    frame.held.reset();
    frame.held[key::kUp] = keys.up;
    frame.held[key::kLeft] = keys.left;
    frame.held[key::kRight] = keys.right;
    DeriveHits(before, frame);
    ApplyFrame(frame, *GetInputDevice());
    game.Step();
    if (!flying || app.play.ExitState != 0) continue;
    ASSERT_EQ((std::array{ship.x, ship.y, ship.vx, ship.vy, ship.rampX, ship.rampY}),
              (std::array{app.play.Player[player::kX], app.play.Player[player::kY],
                          app.play.Player[player::kVX], app.play.Player[player::kVY],
                          app.controls.KeyAnalogX, app.controls.KeyAnalogY}))
        << "update " << update;
    ++compared;
  }
  EXPECT_GT(compared, 2000);
}

}  // namespace

// The soak the sanitizer build runs: the pilot plays levels 1 to 10 to their end, winning each,
// and its recorded runs replay to the same end lines.
class PilotRuns : public SimFolderTest {};

TEST_F(PilotRuns, WinsLevels1To10AndTheirRecordsReplay) {
  const std::string file = Path("pilot.txt");
  const SimRun run = Sim({"--pilot", "--levels", "1-10", "--record", file.c_str()});
  ASSERT_EQ(run.status, kSimExitDone) << run.err;
  EXPECT_NE(run.out.find("summary levels=10 complete=10 lost=0 running=0 "), std::string::npos)
      << run.out;
  const SimRun replayed = Sim({"--replay", file.c_str()});
  ASSERT_EQ(replayed.status, kSimExitDone) << replayed.err;
  EXPECT_EQ(replayed.err, "");
  EXPECT_EQ(replayed.out, run.out.substr(0, run.out.rfind("summary")));
}

// The static check: blocks are broken from their left or right only, as the main gun fires
// sideways.
TEST(LevelCheck, ABlockWalledInAtItsSidesCannotBeBroken) {
  HeadlessGame game(HeadlessGame::StateFile::kIgnored);
  MyApp& app = game.app();
  app.world.Level = 1;
  LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
  EXPECT_TRUE(CheckLevel(app.world, app.play).Won());

  // Item 0's block walled in at its sides can only be met from above or below.
  int tx = 0, ty = 0;
  ASSERT_TRUE(reach::FindItem(app.world, app.play, 0, tx, ty));
  const auto tileAt = [&app](int x, int y) -> int& {
    return app.world.Tiles[world::TileIndex(x / world::kRoomWidth, y / world::kRoomHeight,
                                            x % world::kRoomWidth, y % world::kRoomHeight)];
  };
  constexpr int kWall = 25;
  tileAt(tx - 1, ty) = tileAt(tx + 1, ty) = kWall;
  const LevelCheck check = CheckLevel(app.world, app.play);
  EXPECT_FALSE(check.itemReached[0]);
  EXPECT_TRUE(check.itemReached[1] && check.itemReached[2] && check.padReached);
  EXPECT_FALSE(check.Won());
}
