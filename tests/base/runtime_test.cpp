#include "base/runtime.h"

#include <gtest/gtest.h>

#include "child_process.h"

TEST(Runtime, AnErrorPrintsTwoLinesAndExitsWithMinusOne) {
  const auto result =
      RunInChild([] { kvError(String("bad \xC3\xA9") + String::FromChar(0x263A)); });
  EXPECT_EQ(result.status, 255);
  // The text is reduced to 8-bit characters, then written as UTF-8.
  EXPECT_EQ(result.output, "Brisko Runtime Error : bad \xC3\xA9:\n\n");
}

TEST(Runtime, AnEmptyErrorIsTheQuietQuit) {
  const auto result = RunInChild([] {
    kvPrint("bye");
    kvError("");
  });
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "bye\n");
}
