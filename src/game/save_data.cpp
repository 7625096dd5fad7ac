// The save record: settings, badges and per-level records in the state file.
#include "game/my_app.h"

void MyApp::Save() {}
void MyApp::Load() {}
