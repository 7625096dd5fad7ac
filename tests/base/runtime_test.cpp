#include "base/runtime.h"

#include <gtest/gtest.h>

#include "child_process.h"

// An error prints two lines and exits with -1, its text reduced to 8-bit characters and
// written as UTF-8; an empty one is the quiet quit.
TEST(Runtime, AnErrorPrintsTwoLinesAndExitsWithMinusOne) {
  const auto error = RunInChild([] { kvError(String("bad \xC3\xA9") + String::FromChar(0x263A)); });
  EXPECT_EQ(error.status, 255);
  EXPECT_EQ(error.output, "Brisko Runtime Error : bad \xC3\xA9:\n\n");
  const auto quit = RunInChild([] { kvError(""); });
  EXPECT_EQ(std::pair(quit.status, quit.output), std::pair(0, std::string()));
}
