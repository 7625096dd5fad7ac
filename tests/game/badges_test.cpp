// The badge catalogue and the notifications that slide in over the menu.
#include <string>
#include <utility>
#include <vector>

#include "game/frame/asset_table.h"
#include "menu_fixture.h"

namespace {

constexpr int kBadgeArtSlot = ImageAssetNamed("BadgesA").slot;

}  // namespace

class BadgesTest : public MenuTest {
 protected:
  // The notification panels (160 x 32) the last update drew, by their left edge and top.
  std::vector<std::pair<float, float>> Panels() {
    std::vector<std::pair<float, float>> found;
    for (const float* r : Records(drawrec::kRectMarker))
      if (r[drawrec::kSizeX] == 160 && r[drawrec::kSizeY] == 32)
        found.emplace_back(r[drawrec::kX], r[drawrec::kY]);
    return found;
  }
};

// In by 16 an update, at rest, out over its life of 241 updates; only badge 0 has a name.
TEST_F(BadgesTest, ANotificationSlidesInStaysAndSlidesOutOverItsLife) {
  app.screens.ToastBadge[0] = 0;
  app.screens.ToastTimer[0] = 1;
  std::vector<float> xs;
  for (int age = 1; age <= 250; ++age) {
    Step();
    const auto panels = Panels();
    if (panels.empty()) break;
    ASSERT_EQ(panels, (std::vector<std::pair<float, float>>{{panels[0].first, 540 - 34}}));
    xs.push_back(panels[0].first);
    EXPECT_EQ(RecordsOf(kBadgeArtSlot), age < 64 ? 1 : 0) << age;
    EXPECT_TRUE(age > 1 || Shows("TestBadge"));
  }
  ASSERT_EQ(xs.size(), 241u);
  for (const auto& [age, x] :
       {std::pair{1, -144.0f}, {10, 0.0f}, {230, 0.0f}, {231, -16.0f}, {241, -176.0f}})
    EXPECT_EQ(xs[age - 1], x) << age;
  EXPECT_EQ(app.screens.ToastTimer[0], 0);
  EXPECT_EQ(BadgeName(0).ToUtf8(), "Test Badge");
  for (const int number : {1, -1, 256}) EXPECT_EQ(BadgeName(number).ToUtf8(), "") << number;
}

TEST_F(BadgesTest, SlotsStackUpwardsAndTheLastTwoAreNeverShown) {
  for (const int slot : {2, 12, 13, 14}) {
    app.screens.ToastBadge[slot] = 0;
    app.screens.ToastTimer[slot] = 20;
  }
  Step();
  EXPECT_EQ(Panels(),
            (std::vector<std::pair<float, float>>{{0, 540 - 34 * 3}, {0, 540 - 34 * 13}}));
  EXPECT_EQ((std::vector{app.screens.ToastTimer[2], app.screens.ToastTimer[13],
                         app.screens.ToastTimer[14]}),
            (std::vector{21, 20, 20}));
}
