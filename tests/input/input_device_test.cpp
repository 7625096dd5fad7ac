// The input device: key table, hit and character queues, pointer mirroring and joystick keys,
// driven the way the host and the delegate drive it.
#include <gtest/gtest.h>

#include <vector>

#include "input/input_device.h"

namespace {

constexpr int kKeyZ = 90;
constexpr int kKeyEnter = 13;
constexpr int kKeyBackspace = 8;

// A host with pads in the first two slots; the second has the buttons and stick set here.
class FakeJoystickHost : public KvGame {
 public:
  bool PollJoystick(int port, JoyAxes& axisX, JoyAxes&, JoyAxes&, JoyButtons& pressed) override {
    if (port == 1) {
      axisX = x;
      pressed = buttons;
    }
    return port < 2;
  }
  JoyAxes x{};
  JoyButtons buttons{};
};

class InputDeviceTest : public testing::Test {
 protected:
  InputDeviceTest() { SetInputDevice(&device); }
  ~InputDeviceTest() override { SetInputDevice(nullptr); }

  // Events arrive between updates; queries are made inside one.
  void Update() {
    device.EndUpdate();
    device.BeginUpdate();
  }
  void Key(int event, int key) { device.KeyEvent(event, key); }
  void Mouse(int event, int button, float x = 0, float y = 0) {
    device.MouseEvent(event, button, x, y);
  }
  // The mouse position, then the finger's.
  std::vector<float> Pointer(int finger) {
    return {MouseX(), MouseY(), TouchX(finger), TouchY(finger)};
  }

  FakeJoystickHost host;
  InputDevice device;
};

TEST_F(InputDeviceTest, PressAndReleaseWithinOneUpdateCountsOneHitWhileHeldKeysStayDown) {
  Key(kEventKeyDown, kKeyZ);
  Key(kEventKeyUp, kKeyZ);
  Key(kEventKeyDown, kKeyEnter);
  device.BeginUpdate();
  EXPECT_EQ((std::vector{KeyHit(kKeyZ), KeyDown(kKeyZ), KeyHit(kKeyEnter)}),
            (std::vector{1, 0, 1}));
  Update();
  EXPECT_EQ((std::vector{KeyHit(kKeyZ), KeyHit(kKeyEnter), KeyDown(kKeyEnter)}),
            (std::vector{0, 0, 1}));
}

TEST_F(InputDeviceTest, AnUpdateCountsOnlyTheFirst33PressesAndKeepsOnlyTheFirst32Characters) {
  for (int i = 0; i < 40; ++i) {
    Key(kEventKeyDown, 10 + i);
    Key(kEventChar, 'a' + i);
  }
  device.BeginUpdate();
  int hits = 0;
  for (int key = 10; key < 50; ++key) hits += KeyHit(key);
  EXPECT_EQ(hits, kHitQueueSize);
  EXPECT_EQ(KeyHit(10 + kHitQueueSize), 0);
  EXPECT_EQ(KeyDown(49), 1) << "a press beyond the queue is still held";
  for (int i = 0; i < kCharQueueSize; ++i) EXPECT_EQ(GetChar(), 'a' + i);
  EXPECT_EQ(GetChar(), 0);

  Update();
  Key(kEventChar, 'q');
  Update();
  EXPECT_EQ(KeyHit(10), 0);
  EXPECT_EQ(GetChar(), 0) << "characters left unread are gone after the update";
}

TEST_F(InputDeviceTest, LeftMouseButtonIsKeyOneAndTheFirstTouch) {
  Mouse(kEventMouseDown, 0, 30, 40);
  device.BeginUpdate();
  EXPECT_EQ((std::vector<int>{KeyDown(1), MouseDown(0), TouchDown(0), MouseHit(0)}),
            (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(KeyHit(key::kTouchBase), 1);
  EXPECT_EQ(Pointer(0), (std::vector<float>{30, 40, 30, 40}));
  Mouse(kEventMouseMove, -1, 50, 60);
  EXPECT_EQ(Pointer(0), (std::vector<float>{50, 60, 50, 60}));
  Mouse(kEventMouseUp, 0, 90, 90);
  EXPECT_EQ((std::vector<int>{MouseDown(0), TouchDown(0)}), (std::vector<int>{0, 0}));
  EXPECT_EQ(MouseX(), 50) << "the release position is not stored";

  device.TouchEvent(kEventTouchDown, 3, 70, 80);
  EXPECT_EQ(Pointer(3), (std::vector<float>{50, 60, 70, 80})) << "other fingers leave the mouse";
}

TEST_F(InputDeviceTest, OutOfRangeQueriesAndEventsReadAsNothing) {
  // Neighbouring codes are held so that an aliasing query would see them.
  Key(kEventKeyDown, kKeyBackspace);
  Key(kEventKeyDown, key::kConsoleBack);
  Mouse(kEventMouseDown, 0);
  const int keys[] = {KeyDown(0),    KeyDown(512),  KeyHit(-1),    KeyHit(512),   MouseDown(7),
                      TouchDown(32), TouchDown(-1), JoyDown(0, 4), JoyDown(40, 0)};
  for (int i = 0; i < std::ssize(keys); ++i) EXPECT_EQ(keys[i], 0) << "key query " << i;
  const float positions[] = {TouchX(32), TouchY(-1), JoyX(2, 0), JoyY(0, 4)};
  for (int i = 0; i < std::ssize(positions); ++i) EXPECT_EQ(positions[i], 0) << "position " << i;
  Key(kEventKeyDown, 600);
  Key(kEventKeyDown, 0);
  device.TouchEvent(kEventTouchDown, 40, 1, 1);
  Mouse(kEventMouseDown, 9);
  device.PutKeyHit(-5);
  device.BeginUpdate();
  EXPECT_EQ(device.keyHitQueueLength, 4);
}

TEST_F(InputDeviceTest, JoystickButtonsBecomeKeysWithOneHitPerPress) {
  host.buttons[5] = true;
  host.x = {0.5f, -0.75f};
  device.BeginUpdate();
  EXPECT_EQ(KeyDown(key::kJoyBase + key::kJoyButtons * 1 + 5), 1);
  EXPECT_EQ(JoyHit(5, 1), 1);
  EXPECT_EQ(JoyX(1, 1), -0.75f);
  Update();
  EXPECT_EQ(std::pair(JoyDown(5, 1), JoyHit(5, 1)), std::pair(1, 0));
  host.buttons[5] = false;
  Update();
  EXPECT_EQ(JoyDown(5, 1), 0);
}

}  // namespace
