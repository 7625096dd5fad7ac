// The level-select menu and the options panel.
#include "game/my_app.h"

void MyApp::Menu() {}
void MyApp::LoadMenu() {
  FileScore();
  Save();
}
void MyApp::OptionBox() {}
