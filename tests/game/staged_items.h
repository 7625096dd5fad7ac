// Items put in view of the ship at the start of level 1, for the colour-blind marks: item 0
// delivered (shown by the base) and item 1 lying loose in the start room, out of the ship's reach.
#pragma once

#include <cmath>

#include "game/core/records.h"
#include "sim/headless_game.h"

// Call between building the level and its first update; false when the room has no place.
inline bool StageItems(MyApp& app) {
  app.play.Player[player::Item(0, player::kItemState)] = player::kItemDelivered;
  const int rx = static_cast<int>(app.play.Player[player::kRoomX]);
  const int ry = static_cast<int>(app.play.Player[player::kRoomY]);
  const float reach = 3 * app.world.TileSize;
  for (int y = 1; y < world::kRoomHeight - 1; ++y) {
    for (int x = 1; x < world::kRoomWidth - 1; ++x) {
      int* tile = &app.world.Tiles[static_cast<size_t>(world::TileIndex(rx, ry, x, y))];
      const float wx = app.world.TileSize * static_cast<float>(rx * world::kRoomWidth + x);
      const float wy = app.world.TileSize * static_cast<float>(ry * world::kRoomHeight + y);
      if (tile[tile::kCode] == code::kEmpty &&
          std::fabs(wx - app.play.Player[player::kX]) > reach &&
          std::fabs(wy - app.play.Player[player::kY]) > reach) {
        tile[tile::kCode] = code::kFreeItem + 1;
        return true;
      }
    }
  }
  return false;
}
