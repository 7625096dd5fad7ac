// The credits box and the scrolling credit lines, run without a window.
#include <string>
#include <tuple>

#include "game/frame/asset_table.h"
#include "menu_fixture.h"

namespace {
constexpr int kWindowSlot = ImageAssetNamed("common/Testcard_Circle").slot;
}

class CreditsTest : public MenuTest {
 protected:
  void Open() {
    app.menu.CreditsOpen = 1;
    app.controls.KeyLatch = app.controls.PointerActive = 1;
  }
};

// Still drawn while it slides out; the report disc turns green once the report is answered.
TEST_F(CreditsTest, TheBoxSlidesOutAndShowsTheReport) {
  Open();
  Step(kSlideUpdates);
  const auto greenDiscs = [this] {
    int count = 0;
    for (const float* r : Records(drawrec::kOvalMarker))
      count += r[drawrec::kRed] == 96 && r[drawrec::kGreen] == 160;
    return count;
  };
  EXPECT_EQ(greenDiscs(), 0);
  app.report.Able = 1;
  Step();
  EXPECT_EQ(greenDiscs(), 1);
  app.menu.CreditsOpen = 0;
  Step(kSlideUpdates - 1);
  EXPECT_EQ(RecordsOf(kWindowSlot), 1);
  Step(2);
  EXPECT_EQ(RecordsOf(kWindowSlot), 0);
}

// The lines before the final one ("End") repeat; too few lines to scroll give none.
TEST_F(CreditsTest, TheLinesBeforeTheFinalOneRepeat) {
  for (const auto& [line, count, index] : {std::tuple{0LL, 50, 0},
                                           {48, 50, 48},
                                           {49, 50, 0},
                                           {-1, 50, 48},
                                           {-3, 50, 46},
                                           {98, 50, 0},
                                           {1LL << 40, 50, 37},
                                           {5, 2, 0},
                                           {5, 1, -1},
                                           {5, 0, -1},
                                           {-7, -4, -1}})
    EXPECT_EQ(TickerLineIndex(line, count), index) << line << "/" << count;
  Open();
  for (const int line : {47, 48}) {
    app.screens.TickerLine = line;
    app.screens.TickerOffset = -15.9f;
    Step();
    EXPECT_EQ(app.screens.TickerLine, line == 48 ? 0 : 48);
  }
  app.screens.TickerLine = 48;
  app.screens.TickerOffset = 0;
  Step();
  EXPECT_TRUE(Shows("atwww.debian.org-=-=-AGameby")) << DrawnText();
  EXPECT_FALSE(Shows("End"));
}

// The press that closes the box sets both latches: it reaches neither the menu nor the options.
TEST_F(CreditsTest, ATouchOrAConfirmKeyClosesTheBoxAndSetsBothLatches) {
  for (const int key : {0, int{'Z'}, int{'X'}, int{'N'}}) {  // 0: a touch
    SCOPED_TRACE(key);
    Open();
    Step(kSlideUpdates);
    key ? game.KeyDown(key) : PressAt(300, 300);
    Step();
    EXPECT_EQ((std::tuple{app.menu.CreditsOpen, app.controls.KeyLatch, app.controls.PointerActive,
                          app.screens.ScreenMode, app.menu.OptionsOpen}),
              (std::tuple{0, 1, 1, int{ModeMenu}, 0}));
    key ? game.KeyUp(key) : Lift();
    Step(kSlideUpdates);
  }
}
