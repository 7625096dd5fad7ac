// Badge notifications.
#include "game/my_app.h"

void MyApp::ShowBadges() {}
