// The badge catalogue and the notifications that slide in over the menu.
#include <string>
#include <utility>
#include <vector>

#include "game/asset_table.h"
#include "menu_fixture.h"

namespace {

constexpr int kBadgeArtSlot = ImageAssetNamed("BadgesA").slot;
constexpr float kToastWidth = 160, kToastHeight = 32;

}  // namespace

TEST(Badges, TheCatalogueNamesOnlyBadgeZero) {
  EXPECT_EQ(MyApp::BadgeID(0).ToUtf8(), "Test Badge|This is a Test Badge which has no purpose.");
  EXPECT_EQ(MyApp::BadgeName(0).ToUtf8(), "Test Badge");
  for (const int number : {1, -1, 255, 256}) {
    EXPECT_EQ(MyApp::BadgeID(number).ToUtf8(), "") << number;
    EXPECT_EQ(MyApp::BadgeName(number).ToUtf8(), "") << number;
  }
}

class BadgesTest : public MenuTest {
 protected:
  // The notification panels the last update drew, by their left edge and top.
  std::vector<std::pair<float, float>> Panels() {
    std::vector<std::pair<float, float>> found;
    for (int at = 0; at < app().DrawCount; at += drawrec::kFloats) {
      const float* r = &app().DrawList[at];
      if (r[drawrec::kSlot] == drawrec::kRectMarker && r[drawrec::kSizeX] == kToastWidth &&
          r[drawrec::kSizeY] == kToastHeight)
        found.emplace_back(r[drawrec::kX], r[drawrec::kY]);
    }
    return found;
  }
};

TEST_F(BadgesTest, ANotificationSlidesInStaysAndSlidesOutOverItsLife) {
  app().ToastBadge[0] = 0;
  app().ToastTimer[0] = 1;
  std::vector<float> xs;
  for (int age = 1; age <= MyApp::kToastLife + 3; ++age) {
    Step();
    const auto panels = Panels();
    if (panels.empty()) break;
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].second, 540 - 34) << "slot 0 sits at the bottom";
    xs.push_back(panels[0].first);
    EXPECT_EQ(RecordsOf(kBadgeArtSlot), age < 64 ? 1 : 0) << age;
    if (age == 1) {
      EXPECT_NE(DrawnText().find("TestBadge"), std::string::npos);
    }
  }
  ASSERT_EQ(xs.size(), static_cast<size_t>(MyApp::kToastLife));
  const struct {
    int age;
    float x;
  } points[] = {{1, -144}, {9, -16}, {10, 0}, {230, 0}, {231, -16}, {240, -160}, {241, -176}};
  for (const auto& p : points) EXPECT_EQ(xs[p.age - 1], p.x) << p.age;
  EXPECT_EQ(app().ToastTimer[0], 0);
}

TEST_F(BadgesTest, SlotsStackUpwardsAndTheLastTwoAreNeverShown) {
  for (const int slot : {2, 12, 13, 14}) {
    app().ToastBadge[slot] = 0;
    app().ToastTimer[slot] = 20;
  }
  Step();
  const auto panels = Panels();
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_EQ(panels[0].second, 540 - 34 * 3);
  EXPECT_EQ(panels[1].second, 540 - 34 * 13);
  EXPECT_EQ(app().ToastTimer[2], 21);
  EXPECT_EQ(app().ToastTimer[13], 20);
  EXPECT_EQ(app().ToastTimer[14], 20);
}
