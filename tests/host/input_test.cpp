// The input device: hits and characters live for exactly one update, the queues' limits, the
// mirrored pointer, joystick codes and buttons, and the range guards of the queries.
#include <gtest/gtest.h>

#include "host/game.h"
#include "host/input.h"
#include "host/keys.h"

namespace {

// A host whose joystick 0 has its buttons set by the test and whose other units are absent.
class JoystickHost : public KvGame {
public:
    bool pressed[32] = {};
    int polls = 0;
    bool PollJoystick(int unit, Array<float>, Array<float>, Array<float>, Array<bool> buttons) override {
        ++polls;
        if (unit != 0) return false;
        for (int b = 0; b < 32; ++b) buttons[b] = pressed[b];
        return true;
    }
};

class InputDevice : public ::testing::Test {
protected:
    JoystickHost host;
    c_InputDevice* input = (new c_InputDevice)->m_new();

    void SetUp() override { kv_input_SetInputDevice(input); }
    void TearDown() override { kv_input_SetInputDevice(nullptr); }

    void update() {
        input->p_BeginUpdate();
        input->p_EndUpdate();
    }
};

TEST_F(InputDevice, HeldKeyCountsOneHitInTheFirstUpdateOnly) {
    input->p_KeyEvent(KeyDown, 65);
    input->p_BeginUpdate();
    EXPECT_EQ(kv_input_KeyHit(65), 1);
    EXPECT_EQ(kv_input_KeyDown(65), 1);
    input->p_EndUpdate();
    input->p_KeyEvent(KeyDown, 65);  // a key repeat
    input->p_BeginUpdate();
    EXPECT_EQ(kv_input_KeyHit(65), 0);
    EXPECT_EQ(kv_input_KeyDown(65), 1);
    input->p_EndUpdate();
    input->p_KeyEvent(KeyUp, 65);
    EXPECT_EQ(kv_input_KeyDown(65), 0);
}

TEST_F(InputDevice, KeepsThirtyThreeHitsPerUpdateAndDropsTheRest) {
    for (int key = 100; key < 140; ++key) input->p_KeyEvent(KeyDown, key);
    EXPECT_EQ(input->keyHitPut, 33);
    EXPECT_EQ(kv_input_KeyHit(132), 1);
    EXPECT_EQ(kv_input_KeyHit(133), 0) << "the 34th hit is lost";
    EXPECT_EQ(kv_input_KeyDown(139), 1) << "the key state is kept all the same";
    input->p_EndUpdate();
    for (int key = 100; key < 140; ++key) EXPECT_EQ(kv_input_KeyHit(key), 0);
}

TEST_F(InputDevice, KeepsThirtyTwoCharactersPerUpdate) {
    for (int i = 0; i < 40; ++i) input->p_KeyEvent(KeyChar, 'a' + i);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(kv_input_GetChar(), 'a' + i);
    EXPECT_EQ(kv_input_GetChar(), 0);
    input->p_EndUpdate();
    EXPECT_EQ(kv_input_GetChar(), 0) << "characters live for one update";
    input->p_KeyEvent(KeyChar, 65573);
    EXPECT_EQ(kv_input_GetChar(), 65573);
}

TEST_F(InputDevice, LeftClickIsAlsoTheFirstTouch) {
    input->p_MouseEvent(MouseDown, 0, 12.5f, 40.0f);
    EXPECT_EQ(kv_input_KeyHit(1), 1);
    EXPECT_EQ(kv_input_KeyHit(384), 1);
    EXPECT_EQ(kv_input_MouseDown(0), 1);
    EXPECT_EQ(kv_input_TouchDown(0), 1);
    EXPECT_EQ(kv_input_TouchX(0), 12.5f);
    EXPECT_EQ(kv_input_MouseY(), 40.0f);
    input->p_MouseEvent(MouseUp, 0, 99.0f, 99.0f);
    EXPECT_EQ(kv_input_MouseDown(0), 0);
    EXPECT_EQ(kv_input_TouchDown(0), 0);
    EXPECT_EQ(kv_input_MouseX(), 12.5f) << "a release does not move the pointer";
    input->p_TouchEvent(TouchDown, 3, 7.0f, 8.0f);
    EXPECT_EQ(kv_input_TouchDown(3), 1);
    EXPECT_EQ(kv_input_TouchY(3), 8.0f);
    EXPECT_EQ(kv_input_MouseX(), 12.5f) << "only finger 0 moves the mouse";
}

TEST_F(InputDevice, QueriesOutsideTheKeySpaceReadNothing) {
    const int outside[] = {0, -1, 512, 100000};
    for (int key : outside) {
        input->p_KeyEvent(KeyDown, key);
        EXPECT_EQ(kv_input_KeyDown(key), 0);
        EXPECT_EQ(kv_input_KeyHit(key), 0);
    }
    EXPECT_EQ(input->keyHitPut, 0);
    EXPECT_EQ(kv_input_MouseDown(511), 0);
    EXPECT_EQ(kv_input_MouseDown(-2), 0);
    EXPECT_EQ(kv_input_TouchDown(128), 0);
    EXPECT_EQ(kv_input_TouchX(32), 0.0f);
    EXPECT_EQ(kv_input_JoyDown(0, 10), 0);
}

struct JoyCodeCase {
    int button, unit, code;
};

const JoyCodeCase kJoyCodes[] = {
    {3, 1, 291}, {259, 1, 291}, {0, 0, 256}, {31, 3, 383}, {256, 0, 256}, {5, 2, 325},
};

TEST_F(InputDevice, JoystickButtonsMayBeNamedPlainOrInTheFirstUnitsRange) {
    for (const JoyCodeCase& c : kJoyCodes) EXPECT_EQ(kv_input_JoyCode(c.button, c.unit), c.code);
    input->p_KeyEvent(KeyDown, 291);
    EXPECT_EQ(kv_input_JoyHit(3, 1), 1);
    EXPECT_EQ(kv_input_JoyHit(259, 1), 1);
    EXPECT_EQ(kv_input_JoyDown(3, 1), 1);
}

TEST_F(InputDevice, JoystickPressesCountOneHitAndStopPollingAtTheFirstMissingUnit) {
    host.pressed[2] = true;
    input->p_BeginUpdate();
    EXPECT_EQ(host.polls, 2) << "unit 1 does not exist, so units 2 and 3 are not asked";
    EXPECT_EQ(kv_input_JoyHit(2, 0), 1);
    EXPECT_EQ(kv_input_JoyDown(2, 0), 1);
    input->p_EndUpdate();
    update();
    input->p_BeginUpdate();
    EXPECT_EQ(kv_input_JoyHit(2, 0), 0);
    EXPECT_EQ(kv_input_JoyDown(2, 0), 1);
    input->p_EndUpdate();
    host.pressed[2] = false;
    update();
    EXPECT_EQ(kv_input_JoyDown(2, 0), 0);
}

TEST_F(InputDevice, AccelerometerReadingsAreKept) {
    input->p_MotionEvent(MotionAccel, 0, 0.25f, -0.5f, 1.0f);
    EXPECT_EQ(kv_input_AccelX(), 0.25f);
    EXPECT_EQ(kv_input_AccelY(), -0.5f);
    input->p_MotionEvent(MouseMove, 0, 9.0f, 9.0f, 9.0f);
    EXPECT_EQ(kv_input_AccelX(), 0.25f);
}

TEST_F(InputDevice, KeyboardSwitchesOnlyTellTheHost) {
    EXPECT_EQ(kv_input_EnableKeyboard(), 1);
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_EQ(kv_input_DisableKeyboard(), 1);
    EXPECT_FALSE(host.KeyboardEnabled());
}

}  // namespace
