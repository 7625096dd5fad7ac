// Badges: the catalogue of names and the notifications that slide in at the left edge.
#include <algorithm>
#include <array>
#include <iterator>

#include "game/core/globals.h"
#include "game/frame/asset_table.h"
#include "game/frame/frame.h"
#include "game/screens/screens.h"

namespace {

constexpr int kBadgeArtSlot = ImageAssetNamed("BadgesA").slot;

// Each entry is the badge's name and its description joined by "|", numbered from 0.
constexpr const char* kCatalogue[] = {"Test Badge|This is a Test Badge which has no purpose."};
constexpr int kCatalogueSize = static_cast<int>(std::size(kCatalogue));

// A notification slides in over 10 updates, stays, and slides out over its last 10.
constexpr int kToastWidth = 160;
constexpr int kToastHeight = 32;
constexpr int kToastPitch = 34;
constexpr int kSlideSpeed = 16;
constexpr int kLeaveAfter = Screens::kToastLife - 1 - kToastWidth / kSlideSpeed;
constexpr float kPanelAlpha = 0.8f;
constexpr float kNameInsetX = 16.0f, kNameInsetY = 4.0f;
constexpr int kArtFrames = 64;
constexpr float kArtInset = 16.0f;
constexpr float kArtSize = 0.5f;

// The catalogue as Strings, built once: the notifications draw a name every update.
struct BadgeTexts {
  std::array<String, kCatalogueSize> names;
};

const BadgeTexts& Texts() {
  static const BadgeTexts texts = [] {
    BadgeTexts made;
    for (int i = 0; i < kCatalogueSize; ++i) {
      made.names[i] = String(kCatalogue[i]).Split("|").front();
    }
    return made;
  }();
  return texts;
}

const String& NoText() {
  static const String empty;
  return empty;
}

bool InCatalogue(int number) {
  return number >= 0 && number < kCatalogueSize;
}

// Left edge of a notification of age t: in from the left, out again at the end, never
// further right than the screen's edge.
int ToastX(int age) {
  const int x = age > kLeaveAfter ? kSlideSpeed * (Screens::kToastLife - 1 - age) - kToastWidth
                                  : kSlideSpeed * age - kToastWidth;
  return std::min(x, 0);
}

}  // namespace

const String& BadgeName(int number) {
  return InCatalogue(number) ? Texts().names[number] : NoText();
}

void Screens::ShowBadges(GameFrame& frame) {
  frame.ResetDraw();
  for (int slot = 0; slot < Screens::kToastSlotsShown; ++slot) {
    const int age = ToastTimer[slot];
    if (age <= 0) continue;
    const auto x = static_cast<float>(ToastX(age));
    const float y = frame.ScreenHeight - static_cast<float>(kToastPitch * (slot + 1));
    frame.SetCol(0, 0, 80, kPanelAlpha);
    frame.Rect(x, y, kToastWidth, kToastHeight);
    frame.SetCol(255, 255, 255, 1.0f);
    frame.Text(x + kNameInsetX, y + kNameInsetY, BadgeName(ToastBadge[slot]));
    if (age < kArtFrames) {
      frame.SetSize(kArtSize);
      frame.DrawImg(kBadgeArtSlot, x + kToastWidth - kArtInset, y + kArtInset, age);
      frame.SetSize(1);
    }
    // The last showing frees the slot.
    ToastTimer[slot] = age >= Screens::kToastLife ? 0 : age + 1;
  }
}
