#include "game/globals.h"

#include "base/random.h"

int MaxBads;
int MostBads;
int MaxWeaps;
int MostWeaps;
float overscan;
float rawscrw;
float rawscrh;
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
int GameNum;
String CreditText[kCreditLines];

namespace {

constexpr const char* kCredits[] = {
    "A Game by",
    "The Zorvane Team",
    "zorvane.example",
    "",
    "-=-=-",
    "",
    "Developed using",
    "C++20 with GLFW, OpenGL and OpenAL",
    "www.glfw.org",
    "",
    "-=-=-",
    "",
    "Graphics",
    "Most graphics by",
    "The Zorvane Team",
    "Font : DejaVu Sans Bold",
    "by the DejaVu fonts project",
    "Lowercase added by",
    "The Zorvane Team",
    "",
    "-=-=-",
    "",
    "Audio",
    "Sound and Music by",
    "The Zorvane Team",
    "Synthesised by our own",
    "asset generator,",
    "encoded with libvorbis",
    "and checked with SoX",
    "or whatever else",
    "is handy!",
    "",
    "-=-=-",
    "",
    "Thanks to",
    "The GLFW developers",
    "The Mesa developers",
    "The OpenAL Soft developers",
    "The Cairo developers",
    "The stb authors",
    "and everyone else",
    "at www.debian.org",
    "",
    "-=-=-",
    "",
    "End",
};
static_assert(std::size(kCredits) <= kCreditLines);

}  // namespace

void InitGameGlobals() {
  MaxBads = 5;
  MostBads = 5;
  MaxWeaps = 6;
  MostWeaps = 6;
  overscan = 0.0f;
  rawscrw = 720.0f;
  rawscrh = 540.0f;
  jscrw = 720.0f;
  jscrh = 540.0f;
  isOuya = 0;
  J_On_Allow = 0;
  J_On_Able = 0;
  iCadeControls = 0;
  OnScreenControls = 0;
  AccelerometerControls = 0;
  HasMusicStream = 1;
  DebugMode = 0;
  GameNum = 402;
  for (int i = 0; i < kCreditLines; ++i) {
    CreditText[i] = i < static_cast<int>(std::size(kCredits)) ? String(kCredits[i]) : String();
  }
  Seed = kInitialSeed;
}
