// The credits box: a frame of tiles flying in around a window of scrolling credit lines, the
// title, and four corner discs telling the screen sizes, the rates and the visit report.
// The scrolling of the credit lines is shared with the menu's side panel.
#include <algorithm>
#include <array>
#include <cmath>

#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/frame/asset_table.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_io.h"
#include "game/frame/sound_table.h"
#include "game/report/visit_report.h"
#include "game/screens/screens.h"

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

constexpr int kTitleSlot = ImageAssetNamed("logo").slot;
constexpr int kButtonsSlot = ImageAssetNamed("common/Buttons").slot;
constexpr int kWindowSlot = ImageAssetNamed("common/Testcard_Circle").slot;
constexpr int kLogoSlot = ImageAssetNamed("common/QorvLogo").slot;

constexpr int kSlideOpen = 30;
constexpr float kCellsAcross = 12.0f;
constexpr int kFullTileSlide = 20;  // tiles grow to full size over the first 20 updates
constexpr float kRampSteps = 512.0f;
constexpr float kRampShift = 128.0f;
constexpr float kRingInset = 0.25f;  // the coloured square inside a ring tile, per side
constexpr float kWindowRise = 24.0f;
constexpr float kTitleSize = 0.4f;
constexpr float kTitleDrop = 4.0f;
constexpr float kDiscInset = 1.5f;  // disc centres, in cells from the corners
constexpr float kDiscSpreadX = 6.0f, kDiscSpreadY = 3.0f;
constexpr float kDiscRim = 3.0f;
constexpr float kDiscTextSize = 0.8f;
constexpr float kDiscLineGap = 16.0f;
constexpr int kDiscIconFrame = 12;
constexpr float kLogoSize = 0.3f;

// The credit lines.
constexpr float kTickerSpeed = 0.3f, kTickerFastSpeed = 1.5f;
constexpr float kTickerLineGap = 16.0f;
constexpr int kTickerFirst = -3, kTickerLast = 4;
constexpr float kTickerFade = 40.0f, kTickerClear = 0.3f;
constexpr float kTickerSize = 0.8f;
constexpr float kTickerX = 24.0f;

constexpr int kCloseKeys[] = {kGameR1, kGameA, kGameB};

struct BoxLayout {
  float cell, left, top, tile, alpha;
  int spread;
};

float ClampColour(float value) {
  return std::clamp(value, 0.0f, 255.0f);
}

// Offset from home of the tile at grid index i of n: tiles further out fly in from further.
float TileSpread(int i, int n, int spread) {
  int d = i - n / 2;
  if (d <= 0) --d;
  return static_cast<float>(spread * d * std::abs(d));
}

void DrawTiles(GameFrame& frame, const Screens& screens, const BoxLayout& box) {
  for (int c = 0; c <= screens.CreditCols; ++c) {
    for (int r = 0; r <= screens.CreditRows; ++r) {
      const float x = box.left + c * box.cell + TileSpread(c, screens.CreditCols, box.spread);
      const float y = box.top + r * box.cell + TileSpread(r, screens.CreditRows, box.spread);
      const bool ring = c == 0 || r == 0 || c == screens.CreditCols || r == screens.CreditRows;
      const float shade = ring ? 0.0f : 255.0f;
      frame.SetCol(shade, shade, shade, box.alpha);
      frame.Rect(x - box.tile / 2, y - box.tile / 2, box.tile + 1, box.tile + 1);
      if (!ring) continue;
      const float across = kRampSteps * c / screens.CreditCols;
      const float down = kRampSteps * r / screens.CreditRows;
      frame.SetCol(ClampColour(across - kRampShift), ClampColour(down - kRampShift),
                   ClampColour(kRampSteps - kRampShift - across), box.alpha);
      const float inner = box.tile * (1 - 2 * kRingInset);
      frame.Rect(x - inner / 2, y - inner / 2, inner, inner);
    }
  }
}

void DiscNumbers(GameFrame& frame, float x, float y, int first, int second, int third) {
  frame.SetSize(kDiscTextSize);
  frame.Text(x, y - kDiscLineGap, String::FromInt(first), 1, 1);
  frame.Text(x, y, String::FromInt(second), 1, 1);
  frame.Text(x, y + kDiscLineGap, String::FromInt(third), 1, 1);
}

void Disc(GameFrame& frame, const BoxLayout& box, float x, float y, bool green) {
  frame.SetSize(1);
  frame.SetCol(255, 255, 255, box.alpha);
  frame.Oval(x, y, box.tile / 2, box.tile / 2);
  if (green) {
    frame.SetCol(96, 160, 96, box.alpha);
  } else {
    frame.SetCol(128, 128, 128, box.alpha);
  }
  frame.Oval(x, y, (box.tile - kDiscRim) / 2, (box.tile - kDiscRim) / 2);
  frame.SetCol(255, 255, 255, box.alpha);
}

void DrawDiscs(GameFrame& frame, const Screens& screens, const VisitReport& report,
               const BoxLayout& box) {
  const float inX = kDiscInset * box.cell - kDiscSpreadX * box.spread;
  const float inY = kDiscInset * box.cell - kDiscSpreadY * box.spread;
  const float leftX = box.left + inX, rightX = box.left + screens.CreditCols * box.cell - inX;
  const float topY = box.top + inY, bottomY = box.top + screens.CreditRows * box.cell - inY;
  Disc(frame, box, leftX, topY, false);
  DiscNumbers(frame, leftX, topY, DeviceWidth(), DeviceHeight(), frame.rates.SmoothFrameRate);
  Disc(frame, box, rightX, topY, false);
  DiscNumbers(frame, rightX, topY, static_cast<int>(frame.ScreenWidth),
              static_cast<int>(frame.ScreenHeight), frame.rates.SmoothRenderRate);
  Disc(frame, box, leftX, bottomY, false);
  frame.DrawImg(kButtonsSlot, leftX, bottomY, kDiscIconFrame);
  Disc(frame, box, rightX, bottomY, report.Able == 1);
  frame.SetSize(kLogoSize);
  frame.DrawImg(kLogoSlot, rightX, bottomY, 0);
}

void CloseOnTouchOrKey(GameIO& io, Controls& controls, MenuScreen& menu) {
  if (menu.CreditsOpen != 1) return;
  const bool touched = controls.PointerDown > 0 && controls.PointerActive == 0;
  const bool key =
      controls.KeyLatch == 0 && std::any_of(std::begin(kCloseKeys), std::end(kCloseKeys),
                                            [&](int k) { return io.PlayKeyAll(k, 1); });
  if (!touched && !key) return;
  menu.CreditsOpen = 0;
  controls.PointerActive = controls.KeyLatch = 1;
  io.PlaySFX(sfx::kMove);
}

}  // namespace

const String& CreditLine(int line) {
  static const auto lines = [] {
    std::array<String, kCreditLines> made;
    for (int i = 0; i < kCreditLines; ++i) made[i] = kCredits[i];
    return made;
  }();
  return lines.at(static_cast<size_t>(line));
}

int TickerLineIndex(long long line, int lineCount) {
  // The final line is never scrolled: the lines before it repeat.
  const int scrolled = lineCount - 1;
  if (scrolled < 1) return -1;
  return static_cast<int>((line % scrolled + scrolled) % scrolled);
}

void AdvanceTicker(const GameIO& io, Screens& screens) {
  screens.TickerOffset -= kTickerSpeed;
  if (io.PlayKeyAll(kGameUp, 1) || io.PlayKeyAll(kGameDown, 1))
    screens.TickerOffset -= kTickerFastSpeed;
  while (screens.TickerOffset < -kTickerLineGap) {
    screens.TickerOffset += kTickerLineGap;
    screens.TickerLine = std::max(TickerLineIndex(screens.TickerLine + 1LL, kCreditLines), 0);
  }
}

void DrawTicker(GameFrame& frame, const Screens& screens, float x, float y, float alpha) {
  frame.SetSize(kTickerSize);
  for (int i = kTickerFirst; i <= kTickerLast; ++i) {
    const int line = TickerLineIndex(static_cast<long long>(screens.TickerLine) + i, kCreditLines);
    if (line < 0) return;
    const float offset = kTickerLineGap * i + screens.TickerOffset;
    frame.Alpha(alpha *
                (1 - std::clamp(std::fabs(offset / kTickerFade) - kTickerClear, 0.0f, 1.0f)));
    frame.Text(x, y + offset, CreditLine(line), 1, 1);
  }
}

void CreditBox(GameFrame& frame, GameIO& io, Controls& controls, Screens& screens, MenuScreen& menu,
               const VisitReport& report) {
  screens.CreditsSpread = kSlideOpen - menu.CreditsSlide;
  BoxLayout box{};
  box.cell = std::max(frame.ScreenWidth, frame.ScreenHeight) / kCellsAcross;
  screens.CreditCols = static_cast<int>(frame.ScreenWidth / box.cell);
  screens.CreditRows = static_cast<int>(frame.ScreenHeight / box.cell);
  box.spread = screens.CreditsSpread;
  box.left = frame.ScreenWidth / 2 - screens.CreditCols * box.cell / 2;
  box.top = frame.ScreenHeight / 2 - screens.CreditRows * box.cell / 2;
  box.alpha = static_cast<float>(menu.CreditsSlide) / kSlideOpen;
  box.tile =
      menu.CreditsSlide < kFullTileSlide ? box.cell * menu.CreditsSlide / kFullTileSlide : box.cell;

  frame.ResetDraw();
  DrawTiles(frame, screens, box);
  frame.SetCol(255, 255, 255, box.alpha);
  const float windowY = frame.ScreenHeight / 2 - kWindowRise * box.spread;
  frame.DrawImg(kWindowSlot, frame.ScreenWidth / 2, windowY, 0);
  AdvanceTicker(io, screens);
  DrawTicker(frame, screens, frame.ScreenWidth / 2 + kTickerX, windowY, box.alpha);
  frame.Alpha(box.alpha);
  frame.SetSize(kTitleSize);
  frame.DrawImg(kTitleSlot, frame.ScreenWidth / 2,
                box.top + (screens.CreditRows - 1) * box.cell + kTitleDrop * box.spread, 0);
  DrawDiscs(frame, screens, report, box);
  frame.ResetDraw();
  CloseOnTouchOrKey(io, controls, menu);
}
