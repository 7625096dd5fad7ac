// Core: the values every component shares (design size, per-room limits, the platform) and
// the application module the game stands on (app.h), with the record layouts (records.h).
// May use: nothing else of the game.
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

// What the machine the game runs on offers. The desktop's never changes while the game runs;
// the console's paths stay for the state files and runs they made.
struct Platform {
  bool console = false;       // a TV console: overscan, its pad keys, its quit confirmation
  bool visitReports = false;  // the player allowed the visit report
  bool onScreenPad = false;   // a touch screen's pad drawn over the game
  bool tilt = false;          // steering by tilting the device
  bool musicStream = true;    // tunes are streamed, so they can be switched off apart
};
// The credits, one line each; the last ends the list and is not scrolled.
const String& CreditLine(int line);

// An integer in [lo, hi], each about equally likely, from the one shared random sequence.
int Rand(float lo, float hi);

// The random sequence back at its start, as every game begins.
void InitGameGlobals();
