// What the combat tests share: a level-1 game reduced to one bare room (5, 5) with the ship in
// its middle and an empty pool, with the effects of play loaded so that sounds are played.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <vector>

#include "audio/audio.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class Arena : public ::testing::Test {
 protected:
  static constexpr int kRoomX = 5, kRoomY = 5;

  void SetUp() override {
    app().world.Level = 1;
    LoadGame(app().frame, app().io, app().world, app().play, app().level, app().screens,
             app().pause);
    app().play.LevelIntro = 0;
    ClearPool();
    for (int y = 1; y < world::kRoomHeight - 1; ++y)
      for (int x = 1; x < world::kRoomWidth - 1; ++x) SetTile(x, y, code::kEmpty, 0);
    app().play.Player[player::kRoomX] = kRoomX;
    app().play.Player[player::kRoomY] = kRoomY;
    // On path 0, so that rooms are drawn (and hand over their enemies).
    app().world.Tiles[world::TileIndex(kRoomX, kRoomY, 0, 0) + tile::PathMarkField(0)] = 1;
    PutShip(TileX(8), TileY(6));
    for (int id : {3, 5, 10, 11, 12, 13, 149, 150, 151, 152, 154}) {
      char name[256];
      std::snprintf(name, sizeof name, "%s/sfx/%03d.wav", ZV_DATA_DIR, id);
      delete app().audio.Sounds[id];
      app().audio.Sounds[id] = LoadSound(name).release();
    }
  }

  MyApp& app() { return game_.app(); }
  HeadlessGame& game() { return game_; }

  static float TileX(float x) { return (kRoomX * world::kRoomWidth + x + 0.5f) * 31; }
  static float TileY(float y) { return (kRoomY * world::kRoomHeight + y + 0.5f) * 31; }
  int* Tile(int x, int y) { return &app().world.Tiles[world::TileIndex(kRoomX, kRoomY, x, y)]; }
  void SetTile(int x, int y, int code, int hitPoints) {
    Tile(x, y)[tile::kCode] = code;
    Tile(x, y)[tile::kHitPoints] = hitPoints;
  }
  void PutShip(float x, float y) {
    app().play.Player[player::kX] = x;
    app().play.Player[player::kY] = y;
  }
  float* Record(int start) { return &app().play.Objects[start]; }
  float* Put(int r, int kind, float x, float y, float vx = 0, float vy = 0, float strength = 3,
             float timer = 0) {
    const std::array<float, object::kFloats> values = {
        static_cast<float>(kind),       x, y, vx, vy, 0, 0, strength, timer,
        kRoomY * world::kRooms + kRoomX};
    return std::copy(values.begin(), values.end(), Record(r * object::kFloats)) - values.size();
  }
  void ClearPool() { FillPoolExcept({}, object::kFree); }
  // Fills every record but the ones listed with a parked dummy object.
  void FillPoolExcept(const std::vector<int>& freeRecords, float kind = 99) {
    for (int r = 0; r < object::kRecords; ++r) Record(r * object::kFloats)[object::kKind] = kind;
    for (int r : freeRecords) Record(r * object::kFloats)[object::kKind] = object::kFree;
  }
  std::vector<int> Live(int kind) {
    std::vector<int> starts;
    for (int r = 0; r < object::kRecords; ++r)
      if (Record(r * object::kFloats)[object::kKind] == kind) starts.push_back(r);
    return starts;
  }

 private:
  HeadlessGame game_;
};
