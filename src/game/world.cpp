// World generation.
#include "game/my_app.h"

void MyApp::BuildWorld() {}
