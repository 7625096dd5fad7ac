#include "game/core/globals.h"

#include "base/random.h"

void InitGameGlobals() {
  Seed = kInitialSeed;
}
