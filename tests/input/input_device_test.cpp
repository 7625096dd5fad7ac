// The input device: key table, hit and character queues, pointer mirroring, joystick polling
// and the module queries, driven the way the host and the delegate drive it.
#include <gtest/gtest.h>

#include <vector>

#include "input/input_device.h"

namespace {

constexpr int kKeyZ = 90;
constexpr int kKeyEnter = 13;
constexpr int kKeyBackspace = 8;

// A host whose joystick slots are scripted; it records which slots were polled.
class FakeJoystickHost : public KvGame {
 public:
  bool PollJoystick(int port, JoyAxes& axisX, JoyAxes& axisY, JoyAxes&,
                    JoyButtons& buttons) override {
    polled.push_back(port);
    const Slot& slot = slots[port];
    if (!slot.present) return false;
    axisX = slot.axisX;
    axisY = slot.axisY;
    buttons = slot.buttons;
    return true;
  }

  struct Slot {
    bool present = false;
    JoyAxes axisX{}, axisY{};
    JoyButtons buttons{};
  };
  std::array<Slot, kJoystickCount> slots{};
  std::vector<int> polled;
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

  FakeJoystickHost host;
  InputDevice device;
};

TEST_F(InputDeviceTest, PressAndReleaseWithinOneUpdateCountsOneHit) {
  Key(kEventKeyDown, kKeyZ);
  Key(kEventKeyUp, kKeyZ);
  device.BeginUpdate();
  EXPECT_EQ(KeyHit(kKeyZ), 1);
  EXPECT_EQ(KeyDown(kKeyZ), 0);
  Update();
  EXPECT_EQ(KeyHit(kKeyZ), 0);
}

TEST_F(InputDeviceTest, HeldKeyStaysDownAcrossUpdatesWithOneHit) {
  Key(kEventKeyDown, kKeyZ);
  device.BeginUpdate();
  EXPECT_EQ(KeyHit(kKeyZ), 1);
  Update();
  EXPECT_EQ(KeyDown(kKeyZ), 1);
  EXPECT_EQ(KeyHit(kKeyZ), 0);
}

TEST_F(InputDeviceTest, KeyRepeatAddsNoHitsButQueuesCharacters) {
  for (int i = 0; i < 3; ++i) {
    Key(kEventKeyDown, kKeyEnter);
    Key(kEventChar, kKeyEnter);
  }
  device.BeginUpdate();
  EXPECT_EQ(KeyHit(kKeyEnter), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(GetChar(), kKeyEnter);
  EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputDeviceTest, OnlyTheFirst33PressesOfAnUpdateAreCounted) {
  for (int key = 10; key < 50; ++key) Key(kEventKeyDown, key);
  device.BeginUpdate();
  int hits = 0;
  for (int key = 10; key < 50; ++key) hits += KeyHit(key);
  EXPECT_EQ(hits, kHitQueueSize);
  EXPECT_EQ(KeyHit(10 + kHitQueueSize), 0);
  // A press beyond the queue is still held.
  EXPECT_EQ(KeyDown(49), 1);
  Update();
  for (int key = 10; key < 50; ++key) EXPECT_EQ(KeyHit(key), 0) << key;
  Key(kEventKeyDown, 60);
  device.BeginUpdate();
  EXPECT_EQ(KeyHit(60), 1);
}

TEST_F(InputDeviceTest, OnlyTheFirst32CharactersOfAnUpdateCanBeRead) {
  for (int i = 0; i < 40; ++i) Key(kEventChar, 'a' + i);
  device.BeginUpdate();
  for (int i = 0; i < kCharQueueSize; ++i) EXPECT_EQ(GetChar(), 'a' + i);
  EXPECT_EQ(GetChar(), 0);
  // Characters left unread are gone after the update.
  Key(kEventChar, 'q');
  Key(kEventChar, 'r');
  Update();
  EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputDeviceTest, LeftMouseButtonIsKeyOneAndTheFirstTouch) {
  Mouse(kEventMouseDown, 0, 30, 40);
  device.BeginUpdate();
  EXPECT_EQ(KeyDown(1), 1);
  EXPECT_EQ(MouseDown(0), 1);
  EXPECT_EQ(TouchDown(0), 1);
  EXPECT_EQ(MouseHit(0), 1);
  EXPECT_EQ(KeyHit(kKeyTouchBase), 1);
  EXPECT_EQ(TouchX(0), 30);
  EXPECT_EQ(TouchY(0), 40);
  Mouse(kEventMouseMove, -1, 50, 60);
  EXPECT_EQ(MouseX(), 50);
  EXPECT_EQ(TouchY(0), 60);
  // The release position is not stored.
  Mouse(kEventMouseUp, 0, 90, 90);
  EXPECT_EQ(MouseDown(0), 0);
  EXPECT_EQ(TouchDown(0), 0);
  EXPECT_EQ(MouseX(), 50);
}

TEST_F(InputDeviceTest, FirstTouchIsTheLeftMouseButton) {
  device.TouchEvent(kEventTouchDown, 0, 5, 6);
  device.TouchEvent(kEventTouchDown, 3, 70, 80);
  EXPECT_EQ(MouseDown(0), 1);
  EXPECT_EQ(MouseX(), 5);
  EXPECT_EQ(TouchDown(3), 1);
  EXPECT_EQ(TouchX(3), 70);
  EXPECT_EQ(MouseY(), 6);
  device.TouchEvent(kEventTouchMove, 3, 71, 81);
  EXPECT_EQ(TouchY(3), 81);
  device.TouchEvent(kEventTouchUp, 0, 0, 0);
  EXPECT_EQ(KeyDown(1), 0);
  EXPECT_EQ(TouchDown(3), 1);
}

TEST_F(InputDeviceTest, OutOfRangeQueriesAndEventsReadAsNothing) {
  // Neighbouring codes are held so that an aliasing query would see them.
  Key(kEventKeyDown, kKeyBackspace);
  Key(kEventKeyDown, kKeyConsoleBack);
  Mouse(kEventMouseDown, 0);
  EXPECT_EQ(KeyDown(0), 0);
  EXPECT_EQ(KeyDown(512), 0);
  EXPECT_EQ(KeyHit(-1), 0);
  EXPECT_EQ(KeyHit(512), 0);
  EXPECT_EQ(MouseDown(7), 0);
  EXPECT_EQ(TouchDown(32), 0);
  EXPECT_EQ(TouchDown(-1), 0);
  EXPECT_EQ(JoyDown(0, 4), 0);
  EXPECT_EQ(JoyDown(40, 0), 0);
  EXPECT_EQ(TouchX(32), 0);
  EXPECT_EQ(TouchY(-1), 0);
  EXPECT_EQ(JoyX(2, 0), 0);
  EXPECT_EQ(JoyY(0, 4), 0);
  Key(kEventKeyDown, 600);
  Key(kEventKeyDown, 0);
  device.TouchEvent(kEventTouchDown, 40, 1, 1);
  Mouse(kEventMouseDown, 9);
  device.PutKeyHit(-5);
  device.BeginUpdate();
  EXPECT_EQ(device.keyHitQueueLength, 4);
}

TEST_F(InputDeviceTest, PollingStopsAtTheFirstEmptySlot) {
  host.slots[0].present = true;
  host.slots[2].present = true;
  host.slots[2].buttons[0] = true;
  device.BeginUpdate();
  EXPECT_EQ(host.polled, (std::vector<int>{0, 1}));
  EXPECT_EQ(JoyDown(0, 2), 0);
  host.polled.clear();
  host.slots[1].present = true;
  Update();
  EXPECT_EQ(host.polled, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(JoyDown(0, 2), 1);
}

TEST_F(InputDeviceTest, JoystickButtonsBecomeKeysWithOneHitPerPress) {
  auto& slot = host.slots[1];
  host.slots[0].present = slot.present = true;
  slot.buttons[5] = true;
  slot.axisX = {0.5f, -0.75f};
  slot.axisY = {0.25f, 1};
  device.BeginUpdate();
  const int key = kKeyJoyBase + kJoyButtons * 1 + 5;
  EXPECT_EQ(KeyDown(key), 1);
  EXPECT_EQ(JoyHit(5, 1), 1);
  EXPECT_EQ(JoyX(0, 1), 0.5f);
  EXPECT_EQ(JoyX(1, 1), -0.75f);
  EXPECT_EQ(JoyY(1, 1), 1);
  Update();
  EXPECT_EQ(JoyDown(5, 1), 1);
  EXPECT_EQ(JoyHit(5, 1), 0);
  slot.buttons[5] = false;
  Update();
  EXPECT_EQ(JoyDown(5, 1), 0);
}

}  // namespace
