// Where the window opens: the first start's size, a kept window fitted to the monitors there
// are now, and the window's line in the controls file.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "host/window_place.h"

void PrintTo(const ScreenRect& r, std::ostream* out) {
  *out << r.width << "x" << r.height << " at " << r.x << "," << r.y;
}

// The largest whole multiple of 640 x 480 within 80 % of the work area, centred on it.
TEST(WindowPlace, TheFirstWindowSuitsTheMonitor) {
  for (const auto& [area, expected] : {
           std::pair{ScreenRect{0, 0, 1280, 1024}, ScreenRect{320, 272, 640, 480}},
           {ScreenRect{0, 0, 1920, 1080}, ScreenRect{640, 300, 640, 480}},
           {ScreenRect{0, 0, 2560, 1440}, ScreenRect{640, 240, 1280, 960}},
           {ScreenRect{0, 32, 3840, 2128}, ScreenRect{960, 376, 1920, 1440}},
           {ScreenRect{100, 0, 800, 600}, ScreenRect{180, 60, 640, 480}},  // too small: 1x
       }) {
    EXPECT_EQ(FirstWindow(area), expected);
  }
}

// A kept window stays where it was on a monitor there is; one larger than its monitor is
// clamped to it; one on a monitor that is gone lands on the primary, whole.
TEST(WindowPlace, AKeptWindowIsFittedToTheMonitorsThereAre) {
  const std::vector<ScreenRect> two = {{0, 0, 1920, 1050}, {1920, 0, 1280, 1024}};
  const std::vector<ScreenRect> one = {two.front()};
  for (const auto& [kept, monitors, expected] : {
           std::tuple{ScreenRect{100, 50, 800, 600}, one, ScreenRect{100, 50, 800, 600}},
           {ScreenRect{2000, 100, 800, 600}, two, ScreenRect{2000, 100, 800, 600}},
           {ScreenRect{2000, 100, 800, 600}, one, ScreenRect{1120, 100, 800, 600}},
           {ScreenRect{-5000, 9000, 640, 480}, one, ScreenRect{0, 570, 640, 480}},
           {ScreenRect{10, 10, 4000, 3000}, one, ScreenRect{0, 0, 1920, 1050}},
           {ScreenRect{2000, 10, 2000, 1500}, two, ScreenRect{1920, 0, 1280, 1024}},
           {ScreenRect{1700, 500, 640, 480}, two, ScreenRect{1920, 500, 640, 480}},
       }) {
    EXPECT_EQ(FitToMonitors(kept, monitors), expected);
  }
}

// The line reads back what was written; a damaged line is left out and told, the rest of the
// file is not the window's business.
TEST(WindowPlace, TheWindowLineReadsBackAndADamagedOneIsLeftOut) {
  const WindowPlace place{{-20, 40, 800, 600}, true};
  std::string problem;
  EXPECT_EQ(FindWindowLine("thrust Up\n" + FormatWindowLine(place) + "fire Z\n", problem), place);
  EXPECT_EQ(problem, "");
  for (const char* line :
       {"window 800 600 0 0", "window 800 600 0 0 maybe", "window 8 600 0 0 windowed",
        "window 800 600 0 0 windowed extra", "window 800x600 0 0 windowed"}) {
    SCOPED_TRACE(line);
    problem.clear();
    EXPECT_FALSE(FindWindowLine(std::string(line) + "\n", problem));
    EXPECT_NE(problem, "");
  }
  problem.clear();
  EXPECT_FALSE(FindWindowLine("thrust Up\n", problem));
  EXPECT_EQ(problem, "");
}
