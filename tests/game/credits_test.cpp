// The credits box and the scrolling credit lines, run without a window.
#include <string>

#include "game/asset_table.h"
#include "menu_fixture.h"

namespace {
constexpr int kWindowSlot = ImageAssetNamed("common/Testcard_Circle").slot;
}

class CreditsTest : public MenuTest {
 protected:
  void Open() {
    app().CreditsOpen = 1;
    app().KeyLatch = app().PointerActive = 1;
  }
};

TEST_F(CreditsTest, TheBoxFollowsItsSlideAndGoesWhenTheSlideEnds) {
  Open();
  Step(3);
  EXPECT_EQ(app().CreditsSlide, 3);
  app().CreditsOpen = 0;
  Step();
  EXPECT_EQ(RecordsOf(kWindowSlot), 1) << "still drawn while it slides out";
  const float* window = nullptr;
  for (int at = 0; at < app().DrawCount; at += drawrec::kFloats)
    if (app().DrawList[at + drawrec::kSlot] == kWindowSlot) window = &app().DrawList[at];
  ASSERT_NE(window, nullptr);
  EXPECT_FLOAT_EQ(window[drawrec::kAlpha], 3.0f / 30);
  EXPECT_FLOAT_EQ(window[drawrec::kY], 270 - 24 * 27);
  Step(2);
  EXPECT_EQ(app().CreditsSlide, 0);
  Step();
  EXPECT_EQ(RecordsOf(kWindowSlot), 0);
}

TEST_F(CreditsTest, TheLinesBeforeTheFinalOneRepeat) {
  const struct {
    long long line;
    int count;
    int index;
  } cases[] = {{0, 50, 0},   {48, 50, 48}, {49, 50, 0},         {-1, 50, 48},
               {-3, 50, 46}, {98, 50, 0},  {1LL << 40, 50, 37}, {5, 2, 0},
               {5, 1, -1},   {5, 0, -1},   {-7, -4, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(MyApp::TickerLineIndex(c.line, c.count), c.index) << c.line << "/" << c.count;
  EXPECT_EQ(CreditText[kCreditLines - 1], String("End"));
}

TEST_F(CreditsTest, TheTickerWrapsToTheFirstLineAfterTheLastScrolled) {
  Open();
  app().TickerLine = 47;
  app().TickerOffset = -15.9f;
  Step();
  EXPECT_EQ(app().TickerLine, 48);
  app().TickerOffset = -15.9f;
  Step();
  EXPECT_EQ(app().TickerLine, 0);
  // Lines 45..48 above, then from the first again; "End" is never scrolled.
  app().TickerLine = 48;
  app().TickerOffset = 0;
  Step();
  const std::string text = DrawnText();
  EXPECT_NE(text.find("atwww.debian.org-=-=-AGameby"), std::string::npos) << text;
  EXPECT_EQ(text.find("End"), std::string::npos);
}

TEST_F(CreditsTest, ATouchOrAConfirmKeyClosesTheBoxAndSetsBothLatches) {
  const struct {
    const char* how;
    int key;
  } cases[] = {{"touch", 0}, {"A", 'Z'}, {"B", 'X'}, {"R1", 'N'}};
  for (const auto& c : cases) {
    Open();
    Step(kSlideUpdates);
    ASSERT_EQ(app().CreditsOpen, 1) << c.how;
    if (c.key) {
      game().KeyDown(c.key);
    } else {
      PressAt(300, 300);
    }
    Step();
    EXPECT_EQ(app().CreditsOpen, 0) << c.how;
    EXPECT_EQ(app().KeyLatch, 1) << c.how;
    EXPECT_EQ(app().PointerActive, 1) << c.how;
    EXPECT_EQ(app().ScreenMode, ModeMenu) << c.how << ": the press does not reach the menu";
    EXPECT_EQ(app().OptionsOpen, 0) << c.how;
    if (c.key) {
      game().KeyUp(c.key);
    } else {
      Lift();
    }
    Step(kSlideUpdates);
  }
}

TEST_F(CreditsTest, TheReportDiscTurnsGreenOnceTheReportIsAnswered) {
  auto greenOvals = [this] {
    int count = 0;
    for (int at = 0; at < app().DrawCount; at += drawrec::kFloats) {
      const float* r = &app().DrawList[at];
      count += r[drawrec::kSlot] == drawrec::kOvalMarker && r[drawrec::kRed] == 96 &&
               r[drawrec::kGreen] == 160;
    }
    return count;
  };
  Open();
  Step(kSlideUpdates);
  EXPECT_EQ(greenOvals(), 0);
  J_On_Able = 1;
  Step();
  EXPECT_EQ(greenOvals(), 1);
}
