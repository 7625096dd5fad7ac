// Level 1 played by the windowless harness but rendered by the real renderer into a window,
// saving pictures of the intro, of the frame the golden reading holds, and of a destruction
// (build/screenshots/render_*.png), and checking a few pixels of them.
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <GL/gl.h>
#include <unistd.h>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "display_skip.h"
#include "game/core/records.h"
#include "host/glfw2.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 640, kHeight = 480;

// The window's pixels, top row first, as RGBA.
std::vector<unsigned char> ReadWindow() {
  std::vector<unsigned char> rows(static_cast<size_t>(kWidth) * kHeight * 4);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  std::vector<unsigned char> flipped(rows.size());
  const size_t stride = static_cast<size_t>(kWidth) * 4;
  for (int y = 0; y < kHeight; ++y)
    std::copy_n(&rows[(kHeight - 1 - y) * stride], stride, &flipped[y * stride]);
  return flipped;
}

std::array<int, 3> Pixel(const std::vector<unsigned char>& picture, int x, int y) {
  const unsigned char* p = &picture[(static_cast<size_t>(y) * kWidth + x) * 4];
  return {p[0], p[1], p[2]};
}

class FlightRender : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY") || !glfw2::Init()) ZV_SKIP_DISPLAY_TEST("no X display");
    ASSERT_EQ(glfw2::OpenWindow(kWidth, kHeight, 8, 8, 8, 8, 0, 0, glfw2::WINDOW), 1);
    folder_.emplace("render");
    fs::create_directory_symlink(ZV_DATA_DIR, "data");
    game_ = std::make_unique<HeadlessGame>();
    game_->StepUntilLoaded();
  }
  void TearDown() override {
    if (!game_) return;
    game_->app().frame.DiscardImages();
    game_->app().audio.DiscardSounds();
    game_.reset();
    glfw2::CloseWindow();
    glfw2::Terminate();
    folder_.reset();
  }
  // Renders the last update and keeps the picture as build/screenshots/render_NAME.png.
  std::vector<unsigned char> Shoot(const std::string& name) {
    game_->host().RenderGame();
    glFinish();
    std::vector<unsigned char> picture = ReadWindow();
    fs::create_directories(ZV_SCREENSHOT_DIR);
    const std::string file = std::string(ZV_SCREENSHOT_DIR) + "/render_" + name + ".png";
    stbi_write_png(file.c_str(), kWidth, kHeight, 4, picture.data(), kWidth * 4);
    return picture;
  }

  std::optional<ScratchFolder> folder_;
  std::unique_ptr<HeadlessGame> game_;
};

// Counts pixels that differ clearly inside a box.
int Changed(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, int x0,
            int y0, int size) {
  int n = 0;
  for (int y = y0; y < y0 + size; ++y)
    for (int x = x0; x < x0 + size; ++x) {
      const auto pa = Pixel(a, x, y), pb = Pixel(b, x, y);
      int d = 0;
      for (int c = 0; c < 3; ++c) d += std::abs(pa[c] - pb[c]);
      if (d > 60) ++n;
    }
  return n;
}

TEST_F(FlightRender, IntroRestAndDestruction) {
  MyApp& app = game_->app();
  game_->Step(30);  // the menu
  game_->TapKey('Z');
  game_->Step();  // builds level 1
  game_->Step(40);
  Shoot("intro");
  game_->Step(110);  // the moment of the golden reading
  const auto rest = Shoot("rest");
  EXPECT_EQ(Pixel(rest, 0, 0), (std::array{80, 40, 4})) << "the HUD band";

  // An enemy's touch does this; here it is done directly, as the start room has none.
  app.play.ExitState = 1;
  game_->Step(12);
  const auto wreck = Shoot("destroyed");
  // The ship stands at the middle of the screen, 317 game units down (0.889 pixels each).
  const int shipX = kWidth / 2 - 24, shipY = 282 - 24;
  EXPECT_GT(Changed(rest, wreck, shipX, shipY, 48), 50) << "ship gone, debris flying";
  game_->Step(60);
  EXPECT_EQ(app.play.Lives, 2);
  EXPECT_EQ(app.play.ExitState, 0);
}

}  // namespace
