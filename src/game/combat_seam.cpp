// Stand-ins for the object and weapon calls play makes, until the combat code lands. They
// fill the object pool the simplest way the real code does, so play's tests can count what
// entered it.
#include "game/my_app.h"
#include "game/records.h"

namespace {
constexpr int kStandInEnemy = 8;
constexpr int kOrbitStartFrames = 450;

void PlaceEnemy(MyApp& app, int start, int kind, float x, float y) {
  float* record = &app.Objects[static_cast<size_t>(start)];
  record[object::kKind] = static_cast<float>(kind);
  record[object::kX] = x;
  record[object::kY] = y;
  record[object::kRoom] = static_cast<float>(world::RoomIndex(
      static_cast<int>(app.Player[player::kRoomX]), static_cast<int>(app.Player[player::kRoomY])));
}
}  // namespace

int MyApp::FreeSlot() {
  for (int start = (object::kRecords - 1) * object::kFloats; start >= 0; start -= object::kFloats)
    if (Objects[static_cast<size_t>(start + object::kKind)] == 0) return start;
  return -1;
}

void MyApp::AddABad(int rx, int ry) {
  const int start = FreeSlot();
  if (start <= 0) return;
  PlaceEnemy(*this, start, kStandInEnemy, TileSize * static_cast<float>(rx * world::kRoomWidth),
             TileSize * static_cast<float>(ry * world::kRoomHeight));
}

bool MyApp::HandOverEnemy(int code, float x, float y) {
  const int start = FreeSlot();
  if (start <= 0) return false;
  PlaceEnemy(*this, start, code % 100, x, y);
  return true;
}

void MyApp::UpdateObjects() {}

void MyApp::FireWeapons() {}

void MyApp::StartOrbitBlaster() {
  const int start = FreeSlot();
  if (start < 0) return;
  Player[player::kOrbitFrames] = kOrbitStartFrames;
  Player[player::kOrbitAngle] = 0;
  if (Player[player::kOrbitRecord] < 0) Player[player::kOrbitRecord] = static_cast<float>(start);
}

void MyApp::UpdateOrbitBlaster() {}
