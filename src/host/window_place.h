// Where the window opens: the place it was left in, kept in the controls file, fitted to the
// monitors there are at the next start; at the first start, a size that suits the monitor.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The window's line in the controls file: "window WIDTH HEIGHT X Y windowed|fullscreen".
constexpr std::string_view kWindowWord = "window";
// The game's own size; a window opens at a whole multiple of it.
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

// A rectangle of the desktop, in screen coordinates.
struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct WindowPlace {
  ScreenRect frame;  // the window's place when it is not full screen
  bool fullscreen = false;
  bool operator==(const WindowPlace&) const = default;
};

// The first start: the largest whole multiple of 640 x 480 within 80 % of the work area (640 x
// 480 at least), centred on it.
ScreenRect FirstWindow(const ScreenRect& workArea);
// A kept window on the monitors there are now (their work areas, the primary first): on the
// one holding its centre, else on the primary; no larger than that work area, and inside it.
ScreenRect FitToMonitors(const ScreenRect& kept, std::span<const ScreenRect> workAreas);

std::string FormatWindowLine(const WindowPlace& place);
// The window line of a controls file's text. Nothing when there is none, or when it is damaged,
// which `problem` then tells.
std::optional<WindowPlace> FindWindowLine(std::string_view text, std::string& problem);
