// The world: the level's grid of rooms and tiles, the neighbourhood read around a tile, and
// how many enemies and pickups generation may place per room.
// May use: core, frame.
#pragma once

#include <array>

#include "game/core/globals.h"

constexpr int kWorldInts = 2006000;
constexpr int kMatrixInts = 100;

struct WorldMap {
  // The level the world is built for (the menu's selection, from 1).
  int Level = 0;
  int MaxBads = kMostBads;
  int MaxWeaps = kMostWeaps;
  std::array<int, kWorldInts> Tiles{};
  std::array<int, kMatrixInts> Matrix{};
  float TileSize = 31.0f;
};
