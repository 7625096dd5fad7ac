// GLFW 3 keys reach the framework as GLFW 2.7 keys, then as framework key codes.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <utility>

#include "host/glfw2.h"
#include "host/keys.h"

TEST(KeyShim, KeysReachTheGameAsFrameworkCodesAndCharacters) {
  for (int key3 = GLFW_KEY_SPACE; key3 <= GLFW_KEY_LAST; ++key3) {
    const int key2 = glfw2::KeyFrom3(key3);
    if (key2 != glfw2::KEY_UNKNOWN) {
      EXPECT_EQ(glfw2::KeyTo3(key2), key3) << key3;
    }
  }
  const std::pair<int, int> codes[] = {
      {GLFW_KEY_Z, 90},          {GLFW_KEY_7, 55},           {GLFW_KEY_F1, 112},
      {GLFW_KEY_F11, 122},       {GLFW_KEY_F13, 0},          {GLFW_KEY_ESCAPE, 27},
      {GLFW_KEY_LEFT, 37},       {GLFW_KEY_RIGHT_SHIFT, 16}, {GLFW_KEY_KP_0, 96},
      {GLFW_KEY_KP_ENTER, 0},    {GLFW_KEY_APOSTROPHE, 222}, {GLFW_KEY_GRAVE_ACCENT, 192},
      {GLFW_KEY_PRINT_SCREEN, 0}};
  for (const auto& [key3, code] : codes) EXPECT_EQ(TransKey(glfw2::KeyFrom3(key3)), code) << key3;
  // Keys without a character of their own queue one.
  const std::pair<int, int> chars[] = {{13, 13}, {37, 65573}, {46, 127}, {90, 0}};
  for (const auto& [code, character] : chars) EXPECT_EQ(KeyToChar(code), character) << code;
}
