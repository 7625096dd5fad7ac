// The draw lists of the settled menu, the open options panel and the open credits box,
// compared line by line with readings checked by eye once against screenshots of the same
// screens. ZV_UPDATE_GOLDENS=1 writes the readings anew instead of comparing (only on purpose).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "game/frame/asset_table.h"
#include "menu_fixture.h"

namespace {

// The drifting stars are left out: they are the backdrop's, not these screens'.
constexpr int kStarSlot = ImageAssetNamed("parts").slot;
constexpr float kTolerance = 0.02f;

std::string Reading(const MyApp& app) {
  std::ostringstream out;
  out << "# slot x y rot sizeX sizeY frame alpha red green blue blend\n";
  constexpr int kFields[] = {drawrec::kSlot,  drawrec::kX,     drawrec::kY,     drawrec::kRot,
                             drawrec::kSizeX, drawrec::kSizeY, drawrec::kFrame, drawrec::kAlpha,
                             drawrec::kRed,   drawrec::kGreen, drawrec::kBlue,  drawrec::kBlend};
  for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats) {
    const float* record = &app.frame.DrawList[at];
    if (record[drawrec::kSlot] == kStarSlot) continue;
    char line[32];
    for (const int field : kFields) {
      std::snprintf(line, sizeof line, field == drawrec::kSlot ? "%.0f" : " %.2f", record[field]);
      out << line;
    }
    out << "\n";
  }
  return out.str();
}

std::vector<float> Numbers(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<float>(in), std::istream_iterator<float>()};
}

// Line by line, each number within a rounding of the reading (builds may differ in the last
// bit of a sine).
void CompareWithGolden(const MyApp& app, const std::string& name) {
  const std::string path = std::string(ZV_GOLDEN_DIR) + "/" + name + ".txt";
  const std::string reading = Reading(app);
  if (std::getenv("ZV_UPDATE_GOLDENS")) {
    std::ofstream(path) << reading;
    return;
  }
  std::ifstream file(path);
  ASSERT_TRUE(file) << "no golden reading " << path;
  std::istringstream got(reading);
  std::string expected, actual;
  for (int line = 1; std::getline(file, expected); ++line) {
    ASSERT_TRUE(std::getline(got, actual)) << name << ": the list ends before line " << line;
    const std::vector<float> want = Numbers(expected), have = Numbers(actual);
    ASSERT_EQ(want.size(), have.size()) << name << ": line " << line;
    for (size_t i = 0; i < want.size(); ++i)
      ASSERT_NEAR(have[i], want[i], kTolerance) << name << ": line " << line << ": " << actual;
  }
  EXPECT_FALSE(std::getline(got, actual)) << name << ": more records than the golden: " << actual;
}

}  // namespace

class MenuGoldenTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    // Three levels done, scores on the selected one.
    CompleteLevels(3);
    const int scores[] = {15320, 9800, 4410, 950};
    for (int k = 0; k < 4; ++k) app.save.LevelRecords[3 * SaveData::kBestScores + k] = scores[k];
    app.save.LevelRecords[0] = 2200;
    app.menu.MenuLevel = 1000;  // as at start: the highest level offered is selected
    Step(kSettleUpdates);
  }
};

// menu.txt: the wheel settled on level 4 (three done) with its four best scores, 15320 first,
// and the totals under it.
TEST_F(MenuGoldenTest, SettledMenu) {
  ASSERT_EQ(app.menu.MenuLevel, 3);
  CompareWithGolden(app, "menu");
}

// options.txt: the panel in, the Sound row selected, iCade, Fullscreen, Controls and Colour marks
// below, Credits apart.
TEST_F(MenuGoldenTest, OpenOptionsPanel) {
  OpenOptions();
  Tap(key::kDown);
  ASSERT_EQ(app.menu.OptionRow, MenuScreen::kRowSound);
  CompareWithGolden(app, "options");
}

// credits.txt: the box in, its tiles, window and corner discs, the ticker at line 5.
TEST_F(MenuGoldenTest, OpenCreditsBox) {
  app.menu.CreditsOpen = 1;
  app.controls.KeyLatch = app.controls.PointerActive = 1;
  app.screens.TickerLine = 5;
  app.screens.TickerOffset = 0;
  Step(kSlideUpdates + 10);
  CompareWithGolden(app, "credits");
}
