// One level's world generation (BuildWorld) for a few level sizes.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/core/globals.h"
#include "game/my_app.h"

namespace {

void BM_BuildWorld(benchmark::State& state) {
  // The game object needs a host, but no window or devices, to build levels.
  KvGame host;
  kvInit();
  auto app = std::make_unique<MyApp>();
  app->save.Settings[kSoundModeSetting] = 0;  // no audio device
  app->world.Level = static_cast<int>(state.range(0));
  for (auto _ : state) app->level.BuildWorld();
}

}  // namespace

BENCHMARK(BM_BuildWorld)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
