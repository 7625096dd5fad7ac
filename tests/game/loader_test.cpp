// The incremental loader against the generated data folder: densities, slots, sounds, the
// start jingle and the loading screen.
#include <gtest/gtest.h>
#include <stdlib.h>

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

// The image files the loader fills slots from, the font apart.
std::vector<ImageAsset> SlotImages() {
  std::vector<ImageAsset> images;
  for (const ImageAsset& asset : kImageAssets)
    if (asset.slot != kNoImageSlot && asset.slot != kFontSlot) images.push_back(asset);
  return images;
}
constexpr int kEffects[] = {96, 1,  2,  95, 98, 99, 49, 149, 50, 150, 51, 151, 3,  4,  10,
                            11, 12, 13, 14, 5,  6,  7,  20,  52, 152, 8,  53,  54, 154};

enum class Data { Generated, Empty, TinyGfxSheet };

// A game started in a fresh folder whose data/ is the generated one, an empty folder, or the
// generated files with the 2x gfx sheet replaced by a 1 x 1 picture.
class LoaderTest : public ::testing::Test {
 protected:
  void Start(int width, int height, Data data = Data::Generated) {
    folder_.emplace("loader");
    const fs::path folder = "data";
    if (data == Data::Generated) {
      fs::create_directory_symlink(ZV_DATA_DIR, folder);
    } else if (data == Data::Empty) {
      fs::create_directory(folder);
    } else {
      fs::create_directory(folder);
      for (const auto& entry : fs::directory_iterator(ZV_DATA_DIR))
        fs::create_symlink(entry.path(), folder / entry.path().filename());
      fs::remove(folder / "gfx-hd.png");
      fs::copy_file(pictures_.WritePng("tiny.png", 1, 1, 4, SolidRgba(1, 1, 9, 9, 9, 255)),
                    folder / "gfx-hd.png");
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
    return {app().frame.ImageInfo[Index(slot, kFrameW)],
            app().frame.ImageInfo[Index(slot, kFrameH)],
            app().frame.ImageInfo[Index(slot, kFrames)]};
  }

  TempImageDir pictures_;
  std::optional<ScratchFolder> folder_;
  std::unique_ptr<HeadlessGame> game_;
};

TEST_F(LoaderTest, ImageLevelFollowsTheLargerDeviceSide) {
  Start(640, 480);
  struct Case {
    int w, h, level;
  };
  for (Case c : {Case{630, 480, 1}, Case{640, 480, 2}, Case{480, 631, 2}, Case{1230, 1230, 2},
                 Case{1280, 720, 4}, Case{800, 1231, 4}}) {
    Resize(c.w, c.h);
    game_->Step();
    app().frame.ChooseImageLevel();
    EXPECT_EQ(app().frame.ImageLevel, c.level) << c.w << " x " << c.h;
    EXPECT_FLOAT_EQ(app().frame.ImageScale, 1.0f / c.level) << c.w << " x " << c.h;
  }
}

TEST_F(LoaderTest, AFullLoadFillsEverySlotAndSoundIn37Updates) {
  Start(640, 480);
  EXPECT_EQ(Updates(), kLoadingUpdates);
  EXPECT_EQ(app().frame.ImageLevel, 2);
  const std::vector<ImageAsset> images = SlotImages();
  ASSERT_EQ(images.size(), 13u);
  for (const ImageAsset& s : images) {
    ASSERT_NE(app().frame.Images[s.slot], nullptr) << "slot " << s.slot;
    EXPECT_EQ(app().frame.Images[s.slot]->width, s.frameW * 2) << "slot " << s.slot;
    EXPECT_EQ(app().frame.Images[s.slot]->FrameCount(), s.frames) << "slot " << s.slot;
    EXPECT_EQ(Info(s.slot), (std::array{s.frameW * 2, s.frameH * 2, s.frames})) << s.slot;
  }
  EXPECT_EQ(app().frame.FontImage, kFontSlot);
  ASSERT_NE(app().frame.Images[kFontSlot], nullptr);
  EXPECT_EQ(app().frame.Images[kFontSlot]->width, 32);
  EXPECT_EQ(app().frame.Images[kFontSlot]->FrameCount(), 128);
  EXPECT_EQ(Info(kFontSlot), (std::array{kGlyphW, kGlyphH, kGlyphFrames}));
  for (int id : kEffects) EXPECT_NE(app().audio.Sounds[id], nullptr) << "effect " << id;
}

TEST_F(LoaderTest, AResizeReloadsEveryImageAtTheNewDensity) {
  Start(800, 600);
  Updates();
  Resize(1400, 900);
  app().frame.LoadStep = 1;
  EXPECT_EQ(Updates(), kLoadingUpdates);
  EXPECT_EQ(app().frame.ImageLevel, 4);
  EXPECT_EQ(app().frame.Images[1]->width, 128);
  EXPECT_EQ(Info(97)[imageinfo::kFrameW], 128);
  EXPECT_EQ(app().frame.Images[kFontSlot]->width, 64);
}

TEST_F(LoaderTest, TheStartJinglePlaysAtStepFourOfTheFirstLoadOnly) {
  Start(640, 480);
  app().save.Settings[kSoundModeSetting] = 1;
  game_->Step(3);
  EXPECT_EQ(app().frame.LogoSoundDone, 0);
  const int channelBefore = app().audio.NextChannel;
  game_->Step();
  EXPECT_EQ(app().frame.LogoSoundDone, 1);
  EXPECT_EQ(app().audio.NextChannel, (channelBefore + 1) % 24);
  Updates();
  app().frame.LoadStep = 1;
  game_->Step(3);
  const int channelAgain = app().audio.NextChannel;
  game_->Step();
  EXPECT_EQ(app().audio.NextChannel, channelAgain);
}

TEST_F(LoaderTest, MissingFilesLeaveEmptySlotsAndLoadingStillEnds) {
  Start(640, 480, Data::Empty);
  EXPECT_EQ(Updates(), kLoadingUpdates);
  for (const ImageAsset& s : SlotImages()) EXPECT_EQ(app().frame.Images[s.slot], nullptr) << s.slot;
  EXPECT_EQ(app().frame.Images[kFontSlot], nullptr);
  EXPECT_EQ(Info(97)[imageinfo::kFrameW], 64);  // the frame size is recorded all the same
  for (int id : kEffects) EXPECT_EQ(app().audio.Sounds[id], nullptr) << id;
}

TEST_F(LoaderTest, ASheetTooSmallForItsFramesLeavesItsSlotEmptyAndIsNamed) {
  testing::internal::CaptureStderr();
  Start(640, 480, Data::TinyGfxSheet);
  EXPECT_EQ(Updates(), kLoadingUpdates);
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_EQ(app().frame.Images[1], nullptr);
  for (const ImageAsset& s : SlotImages())
    EXPECT_EQ(app().frame.Images[s.slot] != nullptr, s.slot != 1) << s.slot;
  EXPECT_EQ(told,
            "zorvane: cannot load ./data/gfx-hd.png: the image of 1 x 1 pixels cannot hold 64 "
            "frames of 64 x 64\n");
}

TEST_F(LoaderTest, TheLastStepEndsLoadingAndStillDrawsTheLoadingScreen) {
  Start(640, 480);
  app().frame.LoadStep = 36;
  app().frame.Loader(app().audio, app().save.Settings[kSoundModeSetting]);
  EXPECT_EQ(app().frame.LoadStep, 37);
  EXPECT_NE(app().audio.Sounds[154], nullptr);
  app().frame.DrawCount = 0;
  app().frame.Loader(app().audio, app().save.Settings[kSoundModeSetting]);
  EXPECT_EQ(app().frame.LoadStep, 0);
  EXPECT_GT(app().frame.DrawCount, 0) << "the loading screen";
}

}  // namespace
