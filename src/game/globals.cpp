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
int LaunchLevel;
String CreditText[kCreditLines];

namespace {

// What made this game: its own developers and asset generator, and the libraries and tools it
// is built with. The final line ends the list and is not scrolled.
constexpr const char* kCredits[] = {
    "A Game by",
    "The Zorvane developers",
    "README.md tells more",
    "",
    "-=-=-",
    "",
    "Developed using",
    "C++20 with GCC and CMake",
    "gcc.gnu.org  cmake.org",
    "GLFW, Mesa and OpenAL Soft",
    "stb_image and stb_vorbis",
    "Tested with GoogleTest",
    "",
    "-=-=-",
    "",
    "Graphics",
    "Most graphics by",
    "our asset generator",
    "drawn with Cairo",
    "Font : DejaVu Sans Bold",
    "by the DejaVu fonts team",
    "Lowercase added by",
    "our asset generator",
    "",
    "-=-=-",
    "",
    "Audio",
    "Sound and Music by",
    "our asset generator",
    "Synthesised in C++",
    "in tools/assets,",
    "encoded as Ogg Vorbis",
    "with libvorbis",
    "or whatever else",
    "is handy!",
    "",
    "-=-=-",
    "",
    "Thanks to",
    "The GLFW developers",
    "The Mesa developers",
    "The OpenAL Soft developers",
    "Xiph.Org for libvorbis",
    "Cairo and FreeType",
    "and everyone else",
    "at www.debian.org",
    "",
    "-=-=-",
    "",
    "End",
};
static_assert(std::size(kCredits) == kCreditLines);

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
  LaunchLevel = 0;
  for (int i = 0; i < kCreditLines; ++i) {
    CreditText[i] = kCredits[i];
  }
  Seed = kInitialSeed;
}
