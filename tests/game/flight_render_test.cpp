// Level 1 played by the windowless harness but rendered by the real renderer into a window,
// saving pictures of the intro, of the frame the golden reading holds, and of a destruction
// (build/screenshots/render_*.png), and checking a few pixels of them. Then the pictures of the
// menu, play, firing, the pause panel and a letterboxed window, each compared with a stored
// picture (goldens/render_*.png), so that a faster way of drawing cannot change what is seen.
#include <gtest/gtest.h>
#include <stb/stb_image.h>
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
#include "host/key_codes.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"
#include "staged_items.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 640, kHeight = 480;
// Wider than 2:1, so the game draws in a centred area with black beside it.
constexpr int kWideWidth = 1040, kWideHeight = 480;

// The window's pixels, top row first, as RGBA.
std::vector<unsigned char> ReadWindow(int width, int height) {
  std::vector<unsigned char> rows(static_cast<size_t>(width) * height * 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  std::vector<unsigned char> flipped(rows.size());
  const size_t stride = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y)
    std::copy_n(&rows[(height - 1 - y) * stride], stride, &flipped[y * stride]);
  return flipped;
}

std::array<int, 3> Pixel(const std::vector<unsigned char>& picture, int x, int y) {
  const unsigned char* p = &picture[(static_cast<size_t>(y) * kWidth + x) * 4];
  return {p[0], p[1], p[2]};
}

class FlightRender : public ::testing::Test {
 protected:
  explicit FlightRender(int width = kWidth, int height = kHeight)
      : width_(width), height_(height) {}
  void SetUp() override {
    if (!getenv("DISPLAY") || !glfw2::Init()) ZV_SKIP_DISPLAY_TEST("no X display");
    ASSERT_EQ(glfw2::OpenWindow(width_, height_, 8, 8, 8, 8, 0, 0, glfw2::WINDOW), 1);
    folder_.emplace("render");
    fs::create_directory_symlink(ZV_DATA_DIR, "data");
    game_ = std::make_unique<HeadlessGame>();
    game_->host().width = width_;
    game_->host().height = height_;
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
    game_->host().RenderGame(true);
    glFinish();
    std::vector<unsigned char> picture = ReadWindow(width_, height_);
    fs::create_directories(ZV_SCREENSHOT_DIR);
    const std::string file = std::string(ZV_SCREENSHOT_DIR) + "/render_" + name + ".png";
    stbi_write_png(file.c_str(), width_, height_, 4, picture.data(), width_ * 4);
    return picture;
  }
  // Renders the last update and compares it with goldens/render_NAME.png: no channel of any
  // pixel may differ by more than 1. ZV_UPDATE_GOLDEN=1 stores the picture instead.
  void ExpectPicture(const std::string& name) {
    const auto picture = Shoot(name);
    const std::string golden = std::string(ZV_GOLDEN_DIR) + "/render_" + name + ".png";
    if (getenv("ZV_UPDATE_GOLDEN")) {
      stbi_write_png(golden.c_str(), width_, height_, 4, picture.data(), width_ * 4);
      return;
    }
    int w = 0, h = 0, channels = 0;
    unsigned char* stored = stbi_load(golden.c_str(), &w, &h, &channels, 4);
    ASSERT_NE(stored, nullptr) << golden;
    const std::vector<unsigned char> expected(stored, stored + static_cast<size_t>(w) * h * 4);
    stbi_image_free(stored);
    ASSERT_EQ((std::pair{w, h}), (std::pair{width_, height_})) << golden;
    int differing = 0, first = -1;
    for (size_t i = 0; i < picture.size(); ++i) {
      if (i % 4 == 3 || std::abs(picture[i] - expected[i]) <= 1) continue;
      if (differing++ == 0) first = static_cast<int>(i / 4);
    }
    EXPECT_EQ(differing, 0) << name << ": first at x " << first % width_ << ", y " << first / width_
                            << "; see build/screenshots/render_" << name << ".png";
  }

  std::optional<ScratchFolder> folder_;
  std::unique_ptr<HeadlessGame> game_;
  int width_, height_;
};

class WideRender : public FlightRender {
 protected:
  WideRender() : FlightRender(kWideWidth, kWideHeight) {}
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

// The colour-blind marks in the real renderer, for the colour-vision check: the start room with
// item 0 by the base and item 1 loose, marks off (render_marks_off.png) and on
// (render_marks.png); the marks change the HUD under the bars and the two items.
TEST_F(FlightRender, TheColourBlindMarksShow) {
  MyApp& app = game_->app();
  game_->Step(30);
  game_->TapKey('Z');
  game_->Step();  // builds level 1
  ASSERT_TRUE(StageItems(app));
  game_->Step(150);
  const auto off = Shoot("marks_off");
  app.controls.ItemMarks = true;
  game_->Step();
  const auto on = Shoot("marks");
  constexpr int kHudMarksX = 54, kHudMarksY = 28, kHudMarksSize = 40;
  EXPECT_GT(Changed(off, on, kHudMarksX, kHudMarksY, kHudMarksSize), 60);
}

// Checked by eye when stored: the menu's wheel on level 1 with its stars; the level at rest
// (the golden reading's frame); the ship firing on the pad, shots across the start room; the
// pause panel slid in, with its map, buttons and toy; the level in a wide window, black beside.
TEST_F(FlightRender, PicturesOfEachScreenStayTheSame) {
  game_->Step(30);
  ExpectPicture("menu");
  game_->TapKey('Z');
  game_->Step(151);
  ExpectPicture("play");
  game_->KeyDown('Z');
  game_->Step(40);
  ExpectPicture("firing");
  game_->KeyUp('Z');
  game_->TapKey(key::kEscape);
  game_->Step(60);
  ASSERT_EQ(game_->app().pause.Paused, 1);
  ExpectPicture("pause");
}

TEST_F(WideRender, ALetterboxedFrameStaysTheSame) {
  game_->Step(30);
  game_->TapKey('Z');
  game_->Step(151);
  ExpectPicture("wide_play");
}

}  // namespace
