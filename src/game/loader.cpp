// Asset loading and the start screen.
#include "game/my_app.h"

void MyApp::Reload() {
  LoadStep = 1;
}

// Until the assets exist, loading finishes at once.
void MyApp::Loader() {
  LoadStep = 0;
}
