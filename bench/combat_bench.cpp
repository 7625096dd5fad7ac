// One object update (UpdateObjects) with the pool full: every enemy scans all 201 records for
// shots, so this is the quadratic worst case the fixed pool size bounds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/my_app.h"

namespace {

constexpr int kRoomX = 5, kRoomY = 5;

// A level with the ship in a bare room and the pool filled in turn with enemies of the five
// kinds and shots. With hits, every shot lies on an enemy; without, the shots wait two rows
// below the lowest enemy and every enemy's scan of the pool finds nothing.
std::unique_ptr<MyApp> FullRoom(bool hits, std::vector<float>& pool) {
  auto app = std::make_unique<MyApp>();
  app->save.Settings[kSoundModeSetting] = 0;  // no audio device
  app->world.Level = 1;
  LoadGame(app->frame, app->io, app->world, app->play, app->level, app->screens, app->pause);
  app->play.LevelIntro = 0;
  for (int y = 1; y < world::kRoomHeight - 1; ++y)
    for (int x = 1; x < world::kRoomWidth - 1; ++x)
      app->world.Tiles[world::TileIndex(kRoomX, kRoomY, x, y)] = code::kEmpty;
  app->play.Player[player::kRoomX] = kRoomX;
  app->play.Player[player::kRoomY] = kRoomY;
  const float tile = app->world.TileSize;
  const float left = kRoomX * world::kRoomWidth * tile, top = kRoomY * world::kRoomHeight * tile;
  app->play.Player[player::kX] = left + 8 * tile;
  app->play.Player[player::kY] = top + 10 * tile;  // out of every enemy's reach
  const int kinds[] = {object::kWalker, object::kChaser, object::kClockwiseCrawler,
                       object::kAnticlockwiseCrawler, object::kBarrier};
  for (int r = 0; r < object::kRecords; ++r) {
    float* record = &app->play.Objects[r * object::kFloats];
    const bool enemy = r % 2 == 0;
    const int column = 2 + (r / 2) % 12;
    const int row = enemy || hits ? 2 + (r / 24) % 7 : 10;
    record[object::kKind] = static_cast<float>(enemy ? kinds[r / 2 % 5] : object::kShot);
    record[object::kX] = left + (column + 0.5f) * tile;
    record[object::kY] = top + (row + 0.5f) * tile;
    record[object::kStrength] = enemy ? 1000.0f : 1.0f;
    record[object::kTimer] = enemy ? 1000.0f : 0.0f;  // enemies in warm-up: hits only score
    record[object::kRoom] = static_cast<float>(world::RoomIndex(kRoomX, kRoomY));
  }
  pool.assign(app->play.Objects.begin(), app->play.Objects.end());
  return app;
}

void UpdateFullPool(benchmark::State& state) {
  KvGame host;
  kvInit();
  std::vector<float> pool;
  auto app = FullRoom(state.range(0) != 0, pool);
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(pool.begin(), pool.end(), app->play.Objects.begin());
    app->frame.DrawCount = 0;
    for (int i = 0; i <= app->play.ParticleCount; ++i)
      app->play.Particles[i * particle::kFloats + particle::kKind] = 0;
    state.ResumeTiming();
    app->level.UpdateObjects();
  }
}

}  // namespace

// Argument 0: shots in the open (the full scan, nothing hit); 1: every shot on an enemy.
BENCHMARK(UpdateFullPool)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
