// The input device driven the way the host and the delegate drive it: events arrive between
// updates, queries are made inside one.
#include <gtest/gtest.h>

#include <vector>

#include "input/input_device.h"

namespace {

// A host with pads in the first two slots; the second has the buttons and stick set here.
class FakeJoystickHost : public KvGame {
 public:
  bool PollJoystick(int port, JoyAxes& axisX, JoyAxes&, JoyAxes&, JoyButtons& pressed) override {
    if (port == 1) axisX = x, pressed = buttons;
    return port < 2;
  }
  JoyAxes x{};
  JoyButtons buttons{};
};

class InputDeviceTest : public testing::Test {
 protected:
  InputDeviceTest() { SetInputDevice(&device); }
  ~InputDeviceTest() override { SetInputDevice(nullptr); }
  void Update() {
    device.EndUpdate();
    device.BeginUpdate();
  }
  void Key(int event, int key) { device.KeyEvent(event, key); }

  FakeJoystickHost host;
  InputDevice device;
};

// A press released within one update is one hit; an update counts only the first 33 presses
// and keeps only the first 32 characters, and what it leaves unread is gone after it.
TEST_F(InputDeviceTest, HitsAndCharactersAreCountedOncePerUpdateWithinTheirQueues) {
  for (int i = 0; i < 40; ++i) {
    Key(kEventKeyDown, 10 + i);
    Key(kEventChar, 'a' + i);
  }
  Key(kEventKeyUp, 10);
  device.BeginUpdate();
  EXPECT_EQ((std::vector{KeyHit(10), KeyDown(10), KeyHit(42), KeyHit(43), KeyDown(49)}),
            (std::vector{1, 0, 1, 0, 1}));
  for (int i = 0; i < kCharQueueSize; ++i) EXPECT_EQ(GetChar(), 'a' + i);
  EXPECT_EQ(GetChar(), 0);
  Key(kEventChar, 'q');
  Update();
  EXPECT_EQ(std::pair(KeyHit(11), GetChar()), std::pair(0, 0));
}

TEST_F(InputDeviceTest, OutOfRangeQueriesAndEventsReadAsNothing) {
  // Neighbouring codes are held so that an aliasing query would see them.
  Key(kEventKeyDown, 8);
  Key(kEventKeyDown, key::kConsoleBack);
  device.MouseEvent(kEventMouseDown, 0, 0, 0);
  const int keys[] = {KeyDown(0),    KeyDown(512),  KeyHit(-1),    KeyHit(512),   MouseDown(7),
                      TouchDown(32), TouchDown(-1), JoyDown(0, 4), JoyDown(40, 0)};
  for (int i = 0; i < std::ssize(keys); ++i) EXPECT_EQ(keys[i], 0) << "key query " << i;
  const float positions[] = {TouchX(32), TouchY(-1), JoyX(2, 0), JoyY(0, 4)};
  for (int i = 0; i < std::ssize(positions); ++i) EXPECT_EQ(positions[i], 0) << "position " << i;
  Key(kEventKeyDown, 600);
  Key(kEventKeyDown, 0);
  device.TouchEvent(kEventTouchDown, 40, 1, 1);
  device.MouseEvent(kEventMouseDown, 9, 0, 0);
  device.PutKeyHit(-5);
  device.BeginUpdate();
  EXPECT_EQ(device.keyHitQueueLength, 4);
}

TEST_F(InputDeviceTest, JoystickButtonsBecomeKeysWithOneHitPerPress) {
  host.buttons[5] = true;
  host.x = {0.5f, -0.75f};
  device.BeginUpdate();
  EXPECT_EQ(KeyDown(key::kJoyBase + key::kJoyButtons * 1 + 5), 1);
  EXPECT_EQ(std::pair(JoyHit(5, 1), JoyX(1, 1)), std::pair(1, -0.75f));
  Update();
  EXPECT_EQ(std::pair(JoyDown(5, 1), JoyHit(5, 1)), std::pair(1, 0));
  host.buttons[5] = false;
  Update();
  EXPECT_EQ(JoyDown(5, 1), 0);
}

}  // namespace
