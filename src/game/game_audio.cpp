// Sound effects and tunes under the player's sound setting.
#include "game/my_app.h"

void MyApp::PlaySFX(int, float, float, float) {}
