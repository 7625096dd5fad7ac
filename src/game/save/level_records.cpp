// Filing the score of a finished run among its level's best.
#include <algorithm>

#include "game/save/save.h"

int PlaceAmongBest(const SaveData& save, int level, int score) {
  if (level < 1 || level > world::kLevels) return 0;
  const auto best = save.LevelRecords.begin() + (level - 1) * SaveData::kBestScores;
  // Strictly greater: a score that only ties the k-th best is filed after it.
  for (int k = 0; k < SaveData::kBestScores; ++k)
    if (score > best[k]) return k + 1;
  return 0;
}

void FileAmongBest(SaveData& save, int level, int score, bool completed) {
  if (level < 1 || level > world::kLevels) return;
  const int base = (level - 1) * SaveData::kBestScores;
  const auto best = save.LevelRecords.begin() + base;
  if (const int place = PlaceAmongBest(save, level, score); place > 0) {
    std::move_backward(best + place - 1, best + SaveData::kBestScores - 1,
                       best + SaveData::kBestScores);
    best[place - 1] = score;
  }
  if (completed) save.LevelRecords[SaveData::kCompletionRecords + base] = 1;
}
