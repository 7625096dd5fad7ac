// The gameplay loop.
#include "game/my_app.h"

void MyApp::Game() {}
