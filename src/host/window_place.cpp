#include "host/window_place.h"

#include <algorithm>
#include <charconv>

namespace {

// The share of the work area the first window may take, as a fraction.
constexpr int kFirstShareNumerator = 4, kFirstShareDenominator = 5;
// Sizes a kept line may hold: a window smaller than a postage stamp or larger than any screen
// was not left by the game.
constexpr int kSmallestSide = 64, kLargestSide = 16384;
constexpr int kFarthestPosition = 1 << 20;
constexpr std::string_view kWindowed = "windowed", kFullscreen = "fullscreen";

bool Holds(const ScreenRect& area, int x, int y) {
  return x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
}

// Splits a line into its words (spaces and tabs between them).
int Words(std::string_view line, std::string_view* words, int most) {
  int count = 0;
  size_t at = 0;
  while (count < most) {
    const size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string_view::npos) break;
    at = std::min(line.find_first_of(" \t\r", start), line.size());
    words[count++] = line.substr(start, at - start);
  }
  return line.find_first_not_of(" \t\r", at) == std::string_view::npos ? count : most + 1;
}

bool Number(std::string_view word, int low, int high, int& value) {
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && value >= low && value <= high;
}

}  // namespace

ScreenRect FirstWindow(const ScreenRect& workArea) {
  const int multiple = std::max(
      1,
      std::min(workArea.width * kFirstShareNumerator / (kFirstShareDenominator * kWindowWidth),
               workArea.height * kFirstShareNumerator / (kFirstShareDenominator * kWindowHeight)));
  const int width = kWindowWidth * multiple, height = kWindowHeight * multiple;
  return {workArea.x + (workArea.width - width) / 2, workArea.y + (workArea.height - height) / 2,
          width, height};
}

ScreenRect FitToMonitors(const ScreenRect& kept, std::span<const ScreenRect> workAreas) {
  if (workAreas.empty()) return kept;
  const int centreX = kept.x + kept.width / 2, centreY = kept.y + kept.height / 2;
  const auto home = std::find_if(workAreas.begin(), workAreas.end(), [&](const ScreenRect& area) {
    return Holds(area, centreX, centreY);
  });
  const ScreenRect& area = home == workAreas.end() ? workAreas.front() : *home;
  ScreenRect fitted = kept;
  fitted.width = std::min(kept.width, area.width);
  fitted.height = std::min(kept.height, area.height);
  fitted.x = std::clamp(kept.x, area.x, area.x + area.width - fitted.width);
  fitted.y = std::clamp(kept.y, area.y, area.y + area.height - fitted.height);
  return fitted;
}

std::string FormatWindowLine(const WindowPlace& place) {
  const ScreenRect& f = place.frame;
  return std::string(kWindowWord) + " " + std::to_string(f.width) + " " + std::to_string(f.height) +
         " " + std::to_string(f.x) + " " + std::to_string(f.y) + " " +
         std::string(place.fullscreen ? kFullscreen : kWindowed) + "\n";
}

std::optional<WindowPlace> FindWindowLine(std::string_view text, std::string& problem) {
  std::optional<WindowPlace> found;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    constexpr int kFields = 6;
    std::string_view words[kFields];
    const int count = Words(line, words, kFields);
    if (count == 0 || words[0] != kWindowWord) continue;
    WindowPlace place;
    ScreenRect& f = place.frame;
    const bool good = count == kFields && Number(words[1], kSmallestSide, kLargestSide, f.width) &&
                      Number(words[2], kSmallestSide, kLargestSide, f.height) &&
                      Number(words[3], -kFarthestPosition, kFarthestPosition, f.x) &&
                      Number(words[4], -kFarthestPosition, kFarthestPosition, f.y) &&
                      (words[5] == kWindowed || words[5] == kFullscreen);
    if (!good) {
      problem = "the window line \"" + std::string(line.substr(0, 80)) +
                "\" is not \"window WIDTH HEIGHT X Y windowed|fullscreen\"; it is left out";
      return std::nullopt;
    }
    place.fullscreen = words[5] == kFullscreen;
    found = place;
  }
  return found;
}
