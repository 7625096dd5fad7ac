// Game-wide globals: compile-time switches and values shared by the game's screens.
#pragma once

#include "base/string.h"

constexpr int kCreditLines = 50;

extern int MaxBads;
extern int MostBads;
extern int MaxWeaps;
extern int MostWeaps;
extern float overscan;
extern float rawscrw;
extern float rawscrh;
extern float jscrw;
extern float jscrh;
extern int isOuya;
extern int J_On_Allow;
extern int J_On_Able;
extern int iCadeControls;
extern int OnScreenControls;
extern int AccelerometerControls;
extern int HasMusicStream;
extern int DebugMode;
extern int GameNum;
// The level (from 1) the command line asked to start in, 0 for none; the menu takes it once.
extern int LaunchLevel;
extern String CreditText[kCreditLines];

// Gives every game global its start value (also the random seed).
void InitGameGlobals();
