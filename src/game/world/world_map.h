// The world: the level's grid of rooms and tiles, the neighbourhood read around a tile, and
// how many enemies and pickups generation may place per room.
// May use: core, frame.
#pragma once

#include <array>

#include "game/core/globals.h"
#include "game/core/records.h"

constexpr int kWorldInts = 2006000;
constexpr int kMatrixInts = 100;

// Where generation hid an item: the tile it tried last (the item's block) and its room.
struct ItemPlace {
  int tileX = 0, tileY = 0, roomX = 0, roomY = 0;
};

struct WorldMap {
  // Fills the grid for Level from scratch, drawing from the one shared random sequence after
  // reseeding it for the level: a level is a function of Level, MaxBads and MaxWeaps.
  void Build();
  // Tile code at a pixel (CodeAtPixel) or a global tile (CodeAtTile); 42 outside the world.
  int CodeAtPixel(float x, float y) const;
  int CodeAtTile(int tx, int ty) const;
  // Writes outside the world are ignored.
  void PutAt(float x, float y, int code);
  // Puts the code on a free tile within two tiles of the pixel, inside the same room.
  void PutAround(float x, float y, int code);
  static bool isSolid(int code);
  // Sum of the path marks of the pixel's room: nonzero when the room belongs to the level.
  int RoomPathMarks(float x, float y) const;
  // Matrix 1..9: the 3 x 3 codes around the pixel's tile; 15: its room index.
  void GetMatrix(float x, float y);
  // The same, with tiles outside the room at (roomX, roomY) hidden behind 42.
  void GetMatrixInRoom(float x, float y, float roomX, float roomY);

  // The level the world is built for (the menu's selection, from 1).
  int Level = 0;
  int MaxBads = kMostBads;
  int MaxWeaps = kMostWeaps;
  std::array<int, kWorldInts> Tiles{};
  std::array<int, kMatrixInts> Matrix{};
  float TileSize = 31.0f;
  // What generation chose for play: the start room and where each item is hidden.
  int StartRoomX = 0, StartRoomY = 0;
  std::array<ItemPlace, world::kPaths> Items{};

 private:
  void FillMatrix(float x, float y, int mode, float roomX, float roomY);
};
