// One update of play and its render: Game, then OnRender replaying the draw list through the
// renderer into a fake GL that only records the draw calls. Level 1 at rest on the pad, and
// level 1000 with every particle record alive. Counters: draw-list records, GL draw calls and
// the time of Game alone, per frame.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>
#include <filesystem>
#include <memory>

#include "fake_gl.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

namespace fs = std::filesystem;

namespace {

constexpr float kEndlessLife = 1e9f;

// A loaded game in a folder of its own whose data/ is the generated one.
class LoadedGame {
 public:
  LoadedGame() {
    char pattern[] = "/tmp/zv_play_bench_XXXXXX";
    dir_ = mkdtemp(pattern);
    fs::create_directory_symlink(ZV_DATA_DIR, dir_ / "data");
    fs::current_path(dir_);
    game_ = std::make_unique<HeadlessGame>();
    game_->StepUntilLoaded();
  }
  ~LoadedGame() {
    game_->app().frame.DiscardImages();
    game_->app().audio.DiscardSounds();
    game_.reset();
    fs::current_path(home_);
    fs::remove_all(dir_);
  }
  HeadlessGame& game() { return *game_; }
  FakeGl& gl() { return gl_; }

 private:
  FakeGl gl_;
  fs::path home_ = fs::current_path();
  fs::path dir_;
  std::unique_ptr<HeadlessGame> game_;
};

// CPU time of this thread: the machine is shared, so wall time would count other work.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void StartLevel(MyApp& app, int level) {
  app.world.Level = level;
  LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
  for (int i = 0; i < 120; ++i) app.level.Game();  // past the intro, settled on the pad
}

void FillParticles(MyApp& app) {
  while (app.play.FreeParticle() >= 0) {
    app.play.ThrowParticle(app.play.Player[player::kX], app.play.Player[player::kY], 2, 3);
  }
  for (int i = 0; i <= app.play.ParticleCount; ++i)
    app.play.Particles[i * particle::kFloats + particle::kLife] = kEndlessLife;
}

void PlayFrames(benchmark::State& state, int level, bool fullParticles) {
  LoadedGame loaded;
  MyApp& app = loaded.game().app();
  StartLevel(app, level);
  if (fullParticles) FillParticles(app);
  FakeGl& gl = loaded.gl();
  double records = 0, calls = 0, gameSeconds = 0;
  for (auto _ : state) {
    gl.draws.clear();
    const double start = ThreadSeconds();
    app.level.Game();
    gameSeconds += ThreadSeconds() - start;
    loaded.game().host().RenderGame(true);
    records += app.frame.DrawCount / drawrec::kFloats;
    calls += static_cast<double>(gl.draws.size());
  }
  state.counters["records/frame"] = records / static_cast<double>(state.iterations());
  state.counters["draw calls/frame"] = calls / static_cast<double>(state.iterations());
  state.counters["Game CPU us/frame"] = gameSeconds * 1e6 / static_cast<double>(state.iterations());
}

void BM_Level1(benchmark::State& state) {
  PlayFrames(state, 1, false);
}
void BM_Level1000FullParticles(benchmark::State& state) {
  PlayFrames(state, 1000, true);
}
BENCHMARK(BM_Level1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Level1000FullParticles)->Unit(benchmark::kMicrosecond);

}  // namespace
