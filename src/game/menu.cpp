// The level-select menu and the options panel.
#include <algorithm>

#include "game/my_app.h"

namespace {
constexpr int kMenuBackdropBlue = 80;
constexpr float kOpaqueBackdrop = -123.0f;
constexpr int kMenuRowHeight = 32;

// One past the highest level index completed: the last level the menu offers.
int FirstUncompletedLevel(const MyApp& app) {
  for (int level = MyApp::kLevels - 1; level >= 0; --level) {
    if (app.LevelRecords[MyApp::kCompletionRecords + level * MyApp::kBestScores] > 0)
      return level + 1;
  }
  return 0;
}
}  // namespace

// The level wheel, scores and panels come with the menu screen; for now its backdrop, and
// the fire key starts the furthest level reached.
void MyApp::Menu() {
  DoBG(0, 0, kMenuBackdropBlue, kOpaqueBackdrop);
  if (MenuIntro < 0) ++MenuIntro;
  const int lastOffered = std::min(FirstUncompletedLevel(*this), kLevels - 1);
  if (MenuLevel > lastOffered) {
    MenuLevel = lastOffered;
    MenuScroll = static_cast<float>(-kMenuRowHeight * MenuLevel);
  }
  Level = std::clamp(MenuLevel + 1, 1, kLevels);
  if (KeyLatch == 0 && PointerActive == 0 && PlayKey(kGameA, 1, 0) == 1) {
    KeyLatch = 1;
    PointerActive = 1;
    ScreenMode = ModeLoadGame;
  }
}
void MyApp::LoadMenu() {
  FileScore();
  Save();
}
void MyApp::OptionBox() {}
