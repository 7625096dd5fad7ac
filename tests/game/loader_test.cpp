// The incremental loader against the generated data folder: densities, slots, sounds, the
// start jingle and files that are missing or too small.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/glyphs.h"
#include "game/my_app.h"
#include "graphics/graphics.h"
#include "image_files.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLoadingUpdates = 37;
constexpr int kEffects[] = {96, 1,  2,  95, 98, 99, 49, 149, 50, 150, 51, 151, 3,  4,  10,
                            11, 12, 13, 14, 5,  6,  7,  20,  52, 152, 8,  53,  54, 154};

enum class Data { Generated, Empty, TinyGfxSheet };

// A game in a fresh folder whose data/ is the generated one, an empty folder, or the generated
// files with the 2x gfx sheet replaced by a 1 x 1 picture.
class LoaderTest : public ::testing::Test {
 protected:
  void Start(int width, int height, Data data = Data::Generated) {
    folder_.emplace("loader");
    if (data == Data::Generated) {
      fs::create_directory_symlink(ZV_DATA_DIR, "data");
    } else {
      fs::create_directory("data");
      for (const auto& entry : fs::directory_iterator(ZV_DATA_DIR))
        if (data == Data::TinyGfxSheet && entry.path().filename() != "gfx-hd.png")
          fs::create_symlink(entry.path(), "data" / entry.path().filename());
      if (data == Data::TinyGfxSheet)
        fs::copy_file(pictures_.WritePng("tiny.png", 1, 1, 4, SolidRgba(1, 1, 9, 9, 9, 255)),
                      "data/gfx-hd.png");
    }
    game_ = std::make_unique<HeadlessGame>();
    Resize(width, height);
  }
  void TearDown() override {
    if (game_) {
      app().frame.DiscardImages();
      app().audio.DiscardSounds();
      game_.reset();
    }
    folder_.reset();
  }
  MyApp& app() { return game_->app(); }
  void Resize(int width, int height) {
    game_->host().width = width;
    game_->host().height = height;
  }
  int Updates() {
    int updates = 0;
    for (; app().frame.LoadStep > 0 && updates < 100; ++updates) game_->Step();
    return updates;
  }
  std::array<int, 3> Info(int slot) {
    using namespace imageinfo;
    const auto& info = app().frame.ImageInfo;
    return {info[Index(slot, kFrameW)], info[Index(slot, kFrameH)], info[Index(slot, kFrames)]};
  }

  TempImageDir pictures_;
  std::optional<ScratchFolder> folder_;
  std::unique_ptr<HeadlessGame> game_;
};

// A load fills every slot and sound; a resize reloads every image at the new density; the
// last step still draws the loading screen.
TEST_F(LoaderTest, ALoadFillsEverySlotAndSoundIn37Updates) {
  Start(640, 480);
  EXPECT_EQ(Updates(), kLoadingUpdates);
  for (const ImageAsset& s : kImageAssets) {
    if (s.slot == kNoImageSlot || s.slot == kFontSlot) continue;
    ASSERT_NE(app().frame.Images[s.slot], nullptr) << s.slot;
    EXPECT_EQ(app().frame.Images[s.slot]->FrameCount(), s.frames) << s.slot;
    EXPECT_EQ(Info(s.slot), (std::array{s.frameW * 2, s.frameH * 2, s.frames})) << s.slot;
  }
  EXPECT_EQ(Info(kFontSlot), (std::array{kGlyphW, kGlyphH, kGlyphFrames}));
  for (int id : kEffects) EXPECT_NE(app().audio.Sounds[id], nullptr) << "effect " << id;
  Resize(1400, 900);
  app().frame.LoadStep = 1;
  EXPECT_EQ(Updates(), kLoadingUpdates);
  EXPECT_EQ(app().frame.Images[1]->width, 128);
  EXPECT_EQ(Info(97)[imageinfo::kFrameW], 128);
  EXPECT_EQ(app().frame.Images[kFontSlot]->width, 64);
  app().frame.LoadStep = kLoadingUpdates;
  app().frame.DrawCount = 0;
  app().frame.Loader(app().audio, app().save.Settings[kSoundModeSetting]);
  EXPECT_EQ(app().frame.LoadStep, 0);
  EXPECT_GT(app().frame.DrawCount, 0) << "the loading screen";
}

// Missing files leave their slots empty (the frame size is recorded all the same); a sheet too
// small for its frames leaves its slot empty and is named.
TEST_F(LoaderTest, MissingOrUndersizedFilesLeaveEmptySlotsAndLoadingStillEnds) {
  for (const Data data : {Data::Empty, Data::TinyGfxSheet}) {
    testing::internal::CaptureStderr();
    Start(640, 480, data);
    EXPECT_EQ(Updates(), kLoadingUpdates);
    const std::string told = testing::internal::GetCapturedStderr();
    for (const ImageAsset& s : kImageAssets) {
      if (s.slot == kNoImageSlot) continue;
      EXPECT_EQ(app().frame.Images[s.slot] != nullptr, data != Data::Empty && s.slot != 1)
          << s.slot;
    }
    EXPECT_EQ(Info(97)[imageinfo::kFrameW], 64);
    EXPECT_EQ(app().audio.Sounds[5] != nullptr, data != Data::Empty);
    EXPECT_EQ(told.find("zorvane: cannot load ./data/gfx-hd.png: the image of 1 x 1 pixels "
                        "cannot hold 64 frames of 64 x 64\n") != std::string::npos,
              data == Data::TinyGfxSheet);
    TearDown();
  }
}

}  // namespace
