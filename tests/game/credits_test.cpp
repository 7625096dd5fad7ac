// The credits box and the scrolling credit lines, run without a window.
#include <string>

#include "game/frame/asset_table.h"
#include "menu_fixture.h"

namespace {
constexpr int kWindowSlot = ImageAssetNamed("common/Testcard_Circle").slot;
}

class CreditsTest : public MenuTest {
 protected:
  void Open() {
    app().menu.CreditsOpen = 1;
    app().controls.KeyLatch = app().controls.PointerActive = 1;
  }
};

// The box slides with its count, still drawn on its way out (fading, rising 24 a step), and
// goes when the count is back at 0. The report disc turns green once the report is answered.
TEST_F(CreditsTest, TheBoxFollowsItsSlideAndShowsTheReport) {
  Open();
  Step(kSlideUpdates);
  const auto greenDiscs = [this] {
    int count = 0;
    for (const float* r : Records(drawrec::kOvalMarker))
      count += r[drawrec::kRed] == 96 && r[drawrec::kGreen] == 160;
    return count;
  };
  EXPECT_EQ(greenDiscs(), 0);
  app().report.Able = 1;
  Step();
  EXPECT_EQ(greenDiscs(), 1);
  app().menu.CreditsSlide = 3;
  app().menu.CreditsOpen = 0;
  Step();
  const auto window = Records(kWindowSlot);
  ASSERT_EQ(window.size(), 1u) << "still drawn while it slides out";
  EXPECT_FLOAT_EQ(window[0][drawrec::kAlpha], 3.0f / 30);
  EXPECT_FLOAT_EQ(window[0][drawrec::kY], 270 - 24 * 27);
  Step(2);
  EXPECT_EQ(app().menu.CreditsSlide, 0);
  Step();
  EXPECT_EQ(RecordsOf(kWindowSlot), 0);
}

TEST_F(CreditsTest, TheLinesBeforeTheFinalOneRepeat) {
  const struct {
    long long line;
    int count, index;
  } cases[] = {{0, 50, 0},   {48, 50, 48}, {49, 50, 0},         {-1, 50, 48},
               {-3, 50, 46}, {98, 50, 0},  {1LL << 40, 50, 37}, {5, 2, 0},
               {5, 1, -1},   {5, 0, -1},   {-7, -4, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(TickerLineIndex(c.line, c.count), c.index) << c.line << "/" << c.count;
  EXPECT_EQ(CreditLine(kCreditLines - 1), String("End"));
}

// After the last line that scrolls comes the first again: lines 45..48 above, then from the
// first; "End" is never scrolled.
TEST_F(CreditsTest, TheTickerWrapsToTheFirstLineAfterTheLastScrolled) {
  Open();
  for (const int line : {47, 48}) {
    app().screens.TickerLine = line;
    app().screens.TickerOffset = -15.9f;
    Step();
    EXPECT_EQ(app().screens.TickerLine, line == 48 ? 0 : 48);
  }
  app().screens.TickerLine = 48;
  app().screens.TickerOffset = 0;
  Step();
  EXPECT_NE(DrawnText().find("atwww.debian.org-=-=-AGameby"), std::string::npos) << DrawnText();
  EXPECT_EQ(DrawnText().find("End"), std::string::npos);
}

// The press that closes the box sets both latches, so it reaches neither the menu nor the
// options.
TEST_F(CreditsTest, ATouchOrAConfirmKeyClosesTheBoxAndSetsBothLatches) {
  for (const int key : {0, int{'Z'}, int{'X'}, int{'N'}}) {  // 0: a touch
    SCOPED_TRACE(key);
    Open();
    Step(kSlideUpdates);
    ASSERT_EQ(app().menu.CreditsOpen, 1);
    key ? game().KeyDown(key) : PressAt(300, 300);
    Step();
    EXPECT_EQ(app().menu.CreditsOpen, 0);
    EXPECT_EQ(app().controls.KeyLatch, 1);
    EXPECT_EQ(app().controls.PointerActive, 1);
    EXPECT_EQ(app().screens.ScreenMode, ModeMenu);
    EXPECT_EQ(app().menu.OptionsOpen, 0);
    key ? game().KeyUp(key) : Lift();
    Step(kSlideUpdates);
  }
}
