// Busy updates of combat make no heap allocation: a pool full of enemies and shots hitting
// them, every special weapon at work, the orbiting ball, blocks breaking, sounds and sparks.
#include "allocation_counter.h"
#include "combat_arena.h"

namespace {

using namespace object;

TEST_F(Arena, CombatAllocatesNothing) {
  for (int x = 2; x <= 13; ++x) SetTile(x, 9, code::kBlock, 1);
  // Enemies of every kind, each with a shot on it, and weapons of every kind.
  for (int i = 0; i < 60; ++i) {
    const float x = TileX(2 + i % 12), y = TileY(2 + i / 12);
    Put(2 * i + 1, kWalker + i % 5, x, y, 0, 0, 3, i % 2 == 0 ? 0 : 20);
    Put(2 * i + 2, kShot, x, y, 0, 0, 1);
  }
  for (int i = 0; i < 4; ++i) Put(130 + i, weapon::kBomb + i, TileX(3 + 3 * i), TileY(8));
  app().play.Player[player::kOrbitRecord] = -1;
  app().level.StartOrbitBlaster();
  app().play.Player[player::kWeapon] = weapon::kBigLazer;
  app().play.Player[player::kAmmo] = 4;
  game().KeyDown('Z');
  game().KeyDown('X');
  const int before = ThreadAllocations();
  for (int frame = 0; frame < 120; ++frame) {
    app().level.UpdateOrbitBlaster();
    app().level.FireWeapons();
    app().level.UpdateObjects();
    app().play.DoParticles(app().frame, app().world);
    if (frame % 30 == 0) game().KeyUp('X');
    if (frame % 30 == 1) game().KeyDown('X');
  }
  EXPECT_EQ(ThreadAllocations(), before);
  EXPECT_GT(app().play.Score, 0);
  EXPECT_EQ(*Tile(2, 9), code::kEmpty) << "the blocks broke";
}

}  // namespace
