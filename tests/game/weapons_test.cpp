// The ship's weapons in a bare room: a full pool, the orbiting ball's record and shots at tiles.
// The special weapons over their lives are left to the combat allocation run and the traces.
#include <climits>
#include <tuple>

#include "combat_arena.h"

namespace {

using namespace object;

// With the pool full the main gun and thrown weapons spend nothing, the Big Lazer its round.
// Record 0 serves the main gun but never a special weapon.
TEST_F(Arena, AFullPoolRefusesShotsAndWeapons) {
  for (const auto& [weapon, free, fire, ammoAfter, recordZero] :
       {std::tuple{weapon::kBomb, std::vector<int>{}, true, 4.0f, 99.0f},
        {weapon::kBigLazer, {}, true, 3, 99},
        {weapon::kGrenade, {0}, false, 4, kFree},
        {weapon::kBigLazer, {0}, false, 3, kFree},
        {weapon::kBomb, {0}, true, 4, kShot}}) {
    SCOPED_TRACE(weapon);
    FillPoolExcept(free);
    app().play.Player[player::kWeapon] = static_cast<float>(weapon);
    app().play.Player[player::kAmmo] = 4;
    app().play.Player[player::kFireCooldown] = app().play.Player[player::kSpecialLatch] = 0;
    if (fire) game().KeyDown('Z');
    game().KeyDown('X');
    app().level.FireWeapons();
    game().KeyUp('Z');
    game().KeyUp('X');
    EXPECT_EQ(app().play.Player[player::kAmmo], ammoAfter);
    EXPECT_EQ(Record(0)[kKind], recordZero);
    EXPECT_EQ(app().play.Player[player::kFireCooldown], recordZero == kShot ? 15 : -1);
  }
}

// A ball record that is not the start of one in the pool (negative, past the end, between
// records, not a number) is replaced by a free one.
TEST_F(Arena, OrbitBlasterTakesAFreeRecordWhenItHasNone) {
  for (const float record : {-1.0f, 0.0f, 500.0f, 2010.0f, 7.5f, kNaN}) {
    app().play.Player[player::kOrbitRecord] = record;
    app().level.StartOrbitBlaster();
    EXPECT_EQ(app().play.Player[player::kOrbitRecord], record == 0 || record == 500 ? record : 2000)
        << record;
  }
}

// A shot at a tile: the tile left behind and the score; nothing outside the world.
TEST_F(Arena, ShootShitDamagesBlocksAndReleasesWhatTheyHide) {
  for (const auto& [col, row, code, hp, damage, codeAfter, hpAfter, score] :
       {std::tuple{0, 5, int(code::kBlock), 2, 9, int(code::kBlock), 2, 0},
        {5, 5, 26, 0, 9, 26, 0, 0},
        {5, 5, code::kBlock, 2, INT_MIN, code::kBlock, INT_MAX, 5},
        {15, 11, code::kBlock, 1, 1, code::kEmpty, 0, 15},
        {5, 5, 215, 2, 6, 45, -4, 15},
        {5, 5, 352, 2, 2, 452, 0, 15}}) {
    SCOPED_TRACE(testing::Message() << code << " at " << col << "," << row);
    SetTile(col, row, code, hp);
    app().play.Score = 0;
    app().level.ShootShit(static_cast<int>(TileX(col)), static_cast<int>(TileY(row)), damage);
    EXPECT_EQ((std::array{Tile(col, row)[0], Tile(col, row)[tile::kHitPoints], app().play.Score}),
              (std::array{codeAfter, hpAfter, score}));
  }
  for (int x : {-5, INT_MAX, INT_MIN}) app().level.ShootShit(x, 100, 9);
  for (int y : {-5, INT_MAX, INT_MIN}) app().level.ShootShit(100, y, 9);
  EXPECT_EQ(app().play.Score, 15) << "nothing outside the world";
}

}  // namespace
