// Joystick polling on the desktop host: which GLFW joysticks become units, and how layouts P
// (14 buttons, 5 axes) and G (every other pad) map sticks, triggers and buttons.
#include <gtest/gtest.h>

#include <vector>

#include "fake_system.h"
#include "host/glfw_game.h"

namespace {

class JoystickPoll : public ::testing::Test {
protected:
    FakeSystem system;
    KvGlfwGame host{&system};
    Array<float> joyx{0, 0}, joyy{0, 0}, joyz{0, 0};
    Array<bool> buttons = Array<bool>(32);

    bool poll(int unit) { return host.PollJoystick(unit, joyx, joyy, joyz, buttons); }

    // Source button `index` pressed, all others released.
    static std::vector<unsigned char> only(int count, int index) {
        std::vector<unsigned char> pressed(count, 0);
        pressed[index] = 1;
        return pressed;
    }
};

TEST_F(JoystickPoll, PresentJoysticksBecomeUnitsInOrderAndMoveUpWhenOneGoes) {
    system.joysticks[2] = {{0.5f}, {}};
    system.joysticks[5] = {{-0.5f}, {}};
    EXPECT_TRUE(poll(0));
    EXPECT_EQ(joyx[0], 0.5f);
    EXPECT_TRUE(poll(1));
    EXPECT_EQ(joyx[0], -0.5f);
    EXPECT_FALSE(poll(2));
    system.joysticks.erase(2);
    EXPECT_TRUE(poll(0));
    EXPECT_EQ(joyx[0], -0.5f) << "the rescan at unit 0 makes the second joystick unit 0";
    EXPECT_FALSE(poll(1));
}

TEST_F(JoystickPoll, OnlyTheFirstFourJoysticksAreUsed) {
    for (int j = 0; j < 6; ++j) system.joysticks[j] = {{static_cast<float>(j)}, {}};
    EXPECT_TRUE(poll(0));
    EXPECT_TRUE(poll(3));
    EXPECT_EQ(joyx[0], 3.0f);
    EXPECT_FALSE(poll(4));
}

TEST_F(JoystickPoll, LayoutPReadsTriggersFromOneSharedAxis) {
    system.joysticks[0] = {{0.1f, 0.2f, 0.3f, 0.4f, 0.5f}, std::vector<unsigned char>(14, 0)};
    ASSERT_TRUE(poll(0));
    EXPECT_EQ(joyx[0], 0.1f);
    EXPECT_EQ(joyy[0], 0.2f);
    EXPECT_EQ(joyz[0], 0.3f);
    EXPECT_EQ(joyx[1], 0.5f);
    EXPECT_EQ(joyy[1], -0.4f);
    EXPECT_EQ(joyz[1], -0.3f);
}

TEST_F(JoystickPoll, LayoutGReadsTriggersFromButtons) {
    std::vector<unsigned char> pressed(12, 0);
    pressed[7] = 1;
    system.joysticks[0] = {{0.1f, 0.2f, 0.3f, 0.4f}, pressed};
    ASSERT_TRUE(poll(0));
    EXPECT_EQ(joyx[0], 0.1f);
    EXPECT_EQ(joyy[0], 0.2f);
    EXPECT_EQ(joyz[0], 0.0f);
    EXPECT_EQ(joyx[1], 0.3f);
    EXPECT_EQ(joyy[1], -0.4f);
    EXPECT_EQ(joyz[1], 1.0f);
}

struct ButtonCase {
    int count;       // buttons the joystick reports
    int axes;
    int source;      // the one pressed GLFW button
    int output;      // the output button that must read pressed, -1 for none
    int alsoOutput = -1;  // a second output reading the same source
};

const ButtonCase kButtons[] = {
    // Layout P: the first eight in order, the last four from the end, then 8 and 9.
    {14, 5, 0, 0}, {14, 5, 7, 7}, {14, 5, 10, 8}, {14, 5, 13, 11}, {14, 5, 8, 12}, {14, 5, 9, 13},
    // Layout G: 1, 2, 0 for the face buttons, and the triggers' buttons 6 and 7 are no outputs.
    {12, 4, 1, 0}, {12, 4, 2, 1}, {12, 4, 0, 2}, {12, 4, 3, 3}, {12, 4, 8, 6, 8}, {12, 4, 11, 11, 13},
    {12, 4, 6, -1}, {16, 6, 10, 12}, {16, 6, 12, 8}, {16, 6, 15, 11}, {16, 6, 9, 7},
    // 14 buttons without 5 axes is layout G.
    {14, 4, 1, 0},
};

TEST_F(JoystickPoll, ButtonsFollowTheLayoutTable) {
    for (const ButtonCase& c : kButtons) {
        system.joysticks[0] = {std::vector<float>(c.axes, 0.0f), only(c.count, c.source)};
        ASSERT_TRUE(poll(0));
        for (int b = 0; b < 32; ++b) {
            EXPECT_EQ(buttons[b], b == c.output || b == c.alsoOutput) << c.count << " buttons, " << c.axes << " axes, source " << c.source
                                                 << ", output " << b;
        }
    }
}

TEST_F(JoystickPoll, ButtonsCountedFromTheEndOfAShortListReadReleased) {
    system.joysticks[0] = {{}, {1, 1}};
    ASSERT_TRUE(poll(0));
    EXPECT_TRUE(buttons[2]) << "source 0";
    EXPECT_TRUE(buttons[0]) << "source 1";
    EXPECT_TRUE(buttons[10]) << "source -2 is button 0";
    EXPECT_TRUE(buttons[11]) << "source -1 is button 1";
    EXPECT_FALSE(buttons[8]) << "source -4 falls before the first button";
    EXPECT_FALSE(buttons[9]);
}

TEST_F(JoystickPoll, OnlyAStateOfExactlyOneCountsAsPressed) {
    system.joysticks[0] = {{}, {0, 2, 1}};
    ASSERT_TRUE(poll(0));
    EXPECT_FALSE(buttons[0]) << "source 1 reads 2";
    EXPECT_TRUE(buttons[1]);
}

}  // namespace
