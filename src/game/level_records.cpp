// Filing the score of a finished run among its level's best.
#include <algorithm>

#include "game/my_app.h"

void MyApp::FileScore() {
  if (Spectating) return;
  if (Level < 1 || Level > world::kLevels) return;
  const int base = (Level - 1) * kBestScores;
  const auto best = LevelRecords.begin() + base;
  const auto end = best + kBestScores;
  // Strictly greater: a score that only ties the k-th best is filed after it.
  const auto place = std::find_if(best, end, [this](int score) { return Score > score; });
  if (place != end) {
    std::move_backward(place, end - 1, end);
    *place = Score;
  }
  if (ExitState < 0) LevelRecords[kCompletionRecords + base] = 1;
}
