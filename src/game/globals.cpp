#include "game/globals.h"

#include "base/random.h"

int MaxBads;
int MaxWeaps;
float overscan;
float jscrw;
float jscrh;
int isOuya;
int J_On_Allow;
int J_On_Able;
int iCadeControls;
int OnScreenControls;
int AccelerometerControls;
int HasMusicStream;
int DebugMode;
int LaunchLevel;

void InitGameGlobals() {
  MaxBads = kMostBads;
  MaxWeaps = kMostWeaps;
  overscan = 0.0f;
  jscrw = kDesignWidth;
  jscrh = kDesignHeight;
  isOuya = 0;
  J_On_Allow = 0;
  J_On_Able = 0;
  iCadeControls = 0;
  OnScreenControls = 0;
  AccelerometerControls = 0;
  HasMusicStream = 1;
  DebugMode = 0;
  LaunchLevel = 0;
  Seed = kInitialSeed;
}
