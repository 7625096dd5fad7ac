// GLFW 3 keys reach the framework as GLFW 2.7 keys, then as framework key codes.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "host/glfw2.h"
#include "host/keys.h"

namespace {
int CodeOf(int key3) {
  return TransKey(glfw2::KeyFrom3(key3));
}
}  // namespace

TEST(KeyShim, SpecialKeysTakeTheirOldNumbers) {
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_ESCAPE), glfw2::KEY_ESC);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_F4), 261);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_F25), glfw2::KEY_F25);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_UP), glfw2::KEY_UP);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_KP_9), glfw2::KEY_KP_9);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_KP_ENTER), glfw2::KEY_KP_ENTER);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_MENU), glfw2::KEY_MENU);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_Z), 'Z');
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_WORLD_1), glfw2::KEY_UNKNOWN);
  EXPECT_EQ(glfw2::KeyFrom3(GLFW_KEY_PRINT_SCREEN), glfw2::KEY_UNKNOWN);
}

TEST(KeyShim, EveryOldKeyMapsBackToItsNewKey) {
  for (int key3 = GLFW_KEY_SPACE; key3 <= GLFW_KEY_LAST; ++key3) {
    const int key2 = glfw2::KeyFrom3(key3);
    if (key2 == glfw2::KEY_UNKNOWN) continue;
    EXPECT_EQ(glfw2::KeyTo3(key2), key3) << key3;
  }
}

TEST(KeyShim, KeysReachTheGameAsFrameworkCodes) {
  EXPECT_EQ(CodeOf(GLFW_KEY_Z), 90);
  EXPECT_EQ(CodeOf(GLFW_KEY_7), 55);
  EXPECT_EQ(CodeOf(GLFW_KEY_F1), 112);
  EXPECT_EQ(CodeOf(GLFW_KEY_F4), 115);
  EXPECT_EQ(CodeOf(GLFW_KEY_F11), 122);
  EXPECT_EQ(CodeOf(GLFW_KEY_F13), 0);
  EXPECT_EQ(CodeOf(GLFW_KEY_ESCAPE), 27);
  EXPECT_EQ(CodeOf(GLFW_KEY_LEFT), 37);
  EXPECT_EQ(CodeOf(GLFW_KEY_RIGHT_SHIFT), 16);
  EXPECT_EQ(CodeOf(GLFW_KEY_ENTER), 13);
  EXPECT_EQ(CodeOf(GLFW_KEY_KP_0), 96);
  EXPECT_EQ(CodeOf(GLFW_KEY_KP_ADD), 107);
  EXPECT_EQ(CodeOf(GLFW_KEY_KP_ENTER), 0);
  EXPECT_EQ(CodeOf(GLFW_KEY_LEFT_ALT), 0);
  EXPECT_EQ(CodeOf(GLFW_KEY_APOSTROPHE), 222);
  EXPECT_EQ(CodeOf(GLFW_KEY_GRAVE_ACCENT), 192);
}

TEST(KeyShim, KeysWithoutACharacterQueueOne) {
  EXPECT_EQ(KeyToChar(13), 13);
  EXPECT_EQ(KeyToChar(37), 65573);
  EXPECT_EQ(KeyToChar(45), 65581);
  EXPECT_EQ(KeyToChar(46), 127);
  EXPECT_EQ(KeyToChar(90), 0);
}
