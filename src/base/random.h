// The one random sequence every game draw uses: a 32-bit linear congruential seed.
// Draws are computed in double precision so a level is the same on every machine and build.
#pragma once

extern int Seed;

constexpr int kInitialSeed = 1234;

double Rnd();
double Rnd(double range);
double Rnd(double low, double high);
