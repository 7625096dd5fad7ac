// The credits box.
#include "game/my_app.h"

void MyApp::CreditBox() {}
