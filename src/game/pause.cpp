// Pause panel, game over and the quit confirmation.
#include "game/my_app.h"

void MyApp::PauseMenu() {}
void MyApp::GameOver() {}
void MyApp::OuyaQuit() {}
