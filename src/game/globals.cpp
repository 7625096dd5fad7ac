#include "game/globals.h"

#include "base/random.h"

void InitGameGlobals() {
  Seed = kInitialSeed;
}
