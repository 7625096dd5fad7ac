// What the combat tests share: a level-1 game reduced to one bare room (5, 5) with the ship in
// its middle and an empty pool, and the effects of play loaded to tell which sounds played.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <vector>

#include "audio/audio.h"
#include "audio/audio_device.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

inline constexpr int kPlayEffects[] = {2,  3,  4,  5,  6,   7,   8,   10,  11,
                                       12, 13, 14, 20, 149, 150, 151, 152, 154};
inline constexpr int kBreakSound = 10;  // 10..13, picked at random
inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class Arena : public ::testing::Test {
 protected:
  static constexpr int kRoomX = 5, kRoomY = 5;
  static constexpr int kArenaRoom = kRoomY * world::kRooms + kRoomX;
  static constexpr float kTile = 31.0f;

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
    PutShip(8, 6);
    for (int id : kPlayEffects) {
      char name[64];
      std::snprintf(name, sizeof name, "%s/sfx/%03d.wav", ZV_DATA_DIR, id);
      delete app().audio.Sounds[id];
      app().audio.Sounds[id] = LoadSound(name).release();
    }
    SoundsPlayed();
  }

  MyApp& app() { return game_.app(); }
  HeadlessGame& game() { return game_; }

  static float TileX(float x) { return (kRoomX * world::kRoomWidth + x + 0.5f) * kTile; }
  static float TileY(float y) { return (kRoomY * world::kRoomHeight + y + 0.5f) * kTile; }
  int* Tile(int x, int y) { return &app().world.Tiles[world::TileIndex(kRoomX, kRoomY, x, y)]; }
  void SetTile(int x, int y, int code, int hitPoints) {
    Tile(x, y)[tile::kCode] = code;
    Tile(x, y)[tile::kHitPoints] = hitPoints;
  }
  void PutShip(float tileX, float tileY) {
    app().play.Player[player::kX] = TileX(tileX);
    app().play.Player[player::kY] = TileY(tileY);
  }
  float ShipX() { return app().play.Player[player::kX]; }
  float ShipY() { return app().play.Player[player::kY]; }

  float* Record(int start) { return &app().play.Objects[start]; }
  float* Put(int r, int kind, float x, float y, float vx = 0, float vy = 0, float strength = 3,
             float timer = 0) {
    const std::array<float, object::kFloats> values = {
        static_cast<float>(kind), x, y, vx, vy, 0, 0, strength, timer, kArenaRoom};
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
      if (app().play.Objects[r * object::kFloats + object::kKind] == kind)
        starts.push_back(r * object::kFloats);
    return starts;
  }
  void ClearParticles() { app().play.ResetParticles(app().play.ParticleCount); }
  int LiveParticles() {
    int count = 0;
    for (int i = 0; i <= app().play.ParticleCount; ++i)
      count += app().play.Particles[i * particle::kFloats + particle::kKind] > 0;
    return count;
  }
  // Effects played since the last call, by id (break sounds as kBreakSound), read back from
  // the channels the game used (at most one rotation of 24 between calls).
  std::vector<int> SoundsPlayed() {
    std::vector<int> ids;
    for (int slot = lastSlot_; slot != app().audio.NextChannel;) {
      slot = (slot + 1) % 24;
      const gxtkChannel& channel = AudioDevice()->channels[app().audio.ChannelIds[slot]];
      int played = -1;
      for (int id : kPlayEffects)
        if (channel.sample != nullptr && app().audio.Sounds[id]->sample == channel.sample)
          played = id;
      ids.push_back(played > kBreakSound && played <= kBreakSound + 3 ? kBreakSound : played);
    }
    lastSlot_ = app().audio.NextChannel;
    return ids;
  }

 private:
  HeadlessGame game_;
  int lastSlot_ = game_.app().audio.NextChannel;
};
