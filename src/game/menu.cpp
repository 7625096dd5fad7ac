// The level-select menu and the options panel.
#include "game/my_app.h"

namespace {
constexpr int kMenuBackdropBlue = 80;
constexpr float kOpaqueBackdrop = -123.0f;
}  // namespace

// The level wheel, scores and panels come with the menu screen; for now its backdrop.
void MyApp::Menu() {
  DoBG(0, 0, kMenuBackdropBlue, kOpaqueBackdrop);
  if (MenuIntro < 0) ++MenuIntro;
}
void MyApp::LoadMenu() {
  FileScore();
  Save();
}
void MyApp::OptionBox() {}
