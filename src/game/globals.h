// Game-wide globals: compile-time switches and values shared by the game's screens.
#pragma once

#include "base/string.h"

constexpr int kCreditLines = 50;
// At most this many enemies and weapon pickups are placed in a room, whatever the level.
constexpr int kMostBads = 5;
constexpr int kMostWeaps = 6;
// The logical screen the game is laid out for; the window scales it to fit.
constexpr float kDesignWidth = 720.0f, kDesignHeight = 540.0f;
// This game's number in the visit report.
constexpr int kGameNumber = 402;

extern int MaxBads;
extern int MaxWeaps;
extern float overscan;
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
// The level (from 1) the command line asked to start in, 0 for none; the menu takes it once.
extern int LaunchLevel;
// The credits, one line each; the last ends the list and is not scrolled.
const String& CreditLine(int line);

// Gives every game global its start value (also the random seed).
void InitGameGlobals();
