// The action table in normal and iCade modes, sticks and their thresholds, joystick codes,
// the virtual pad, and the key latch that makes a held key count once.
#include <gtest/gtest.h>

#include "game/globals.h"
#include "host/input.h"
#include "test_host.h"

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = host->app;
        host->FinishLoading();
        app->p_iCade(0);
        kv_Tol_isOuya = 0;
        for (int i = 0; i < kPadEntries; ++i) app->m_pad[i] = 0;
        input = kv_input_device;
    }
    void TearDown() override {
        host->ReleaseKeys();
        for (int unit = 0; unit < 4; ++unit) {
            for (int i = 0; i < 2; ++i) input->joyStates[unit]->joyx[i] = input->joyStates[unit]->joyy[i] = 0;
        }
        app->p_iCade(0);
    }
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
    c_InputDevice* input = nullptr;
};

struct KeyCase {
    int key;
    int action;
    bool normal;
    bool icade;
};
const KeyCase kKeys[] = {
    {38, kActUp, true, true},       {'W', kActUp, true, false},     {37, kActLeft, true, true},
    {'A', kActLeft, true, false},   {'D', kActRight, true, false},  {'S', kActDown, true, false},
    {'Z', kActFire1, true, false},  {'J', kActFire1, true, false},  {32, kActFire1, true, true},
    {13, kActFire1, true, true},    {'K', kActFire2, true, false},  {17, kActFire2, true, true},
    {'L', kActFire3, true, false},  {16, kActFire3, true, true},    {'I', kActFire4, true, false},
    {'U', kActFire5, true, false},  {'O', kActFire6, true, false},  {'N', kActFire6, true, false},
    {27, kActBack, true, true},     {192, kActBack, true, false},   {46, kActBack, true, true},
    {8, kActBack, true, true},      {27, kActPause, true, false},   {'Q', kActFire1, false, false},
};

TEST_F(Controls, KeyboardActionsInNormalAndICadeModes) {
    for (int mode = 0; mode < 2; ++mode) {
        app->p_iCade(mode);
        for (const KeyCase& c : kKeys) {
            host->KeyDown(c.key);
            bool want = mode ? c.icade : c.normal;
            EXPECT_EQ(app->p_PlayKey(c.action, 0, 0), want ? 1 : 0) << "key " << c.key << " action " << c.action << " icade " << mode;
            host->KeyUp(c.key);
        }
    }
}

TEST_F(Controls, KeyboardCountsForEveryPlayer) {
    host->KeyDown(32);
    EXPECT_EQ(app->p_PlayKeyAll(kActFire1, 1), 4);
    EXPECT_EQ(app->p_PlayKey(kActFire1, 0, -1), 1);
    EXPECT_EQ(app->p_PlayKey(kActFire1, 0, -2), 0);
    EXPECT_EQ(app->p_PlayKey(kActFire1, 0, 4), 0);
}

TEST_F(Controls, PauseIsNotAKeyboardOnlyAction) {
    host->KeyDown(27);
    EXPECT_EQ(app->p_PlayKey(kActPause, 0, 0), 1);
    EXPECT_EQ(app->p_PlayKey(kActPause, 0, -1), 0);
    EXPECT_EQ(app->p_PlayKey(kActBack, 0, -1), 1);
}

TEST_F(Controls, JoystickButtonsBelongToTheirPlayer) {
    host->KeyDown(256 + 32 * 2 + 0);  // player 2, button A
    EXPECT_EQ(app->p_PlayKey(kActFire1, 0, 2), 1);
    EXPECT_EQ(app->p_PlayKey(kActFire1, 0, 1), 0);
    EXPECT_EQ(app->p_PlayKey(kActFire1, 0, -1), 0);
    host->KeyDown(256 + 32 * 1 + 7);  // player 1, START
    EXPECT_EQ(app->p_PlayKey(kActBack, 0, 1), 1);
    EXPECT_EQ(app->p_PlayKey(kActPause, 0, 1), 1);
}

TEST_F(Controls, SticksCountOnlyWhenAskedAndBeyondTheThreshold) {
    input->joyStates[0]->joyx[0] = -0.5f;
    EXPECT_EQ(app->p_PlayKey(kActLeft, 1, 0), 1);
    EXPECT_EQ(app->p_PlayKey(kActLeft, 0, 0), 0);
    input->joyStates[0]->joyx[0] = -0.4f;
    EXPECT_EQ(app->p_PlayKey(kActLeft, 1, 0), 0) << "the threshold is strict";
    input->joyStates[0]->joyy[0] = -0.5f;
    app->m_settings[kSetLeftStickY] = 0;
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), 0.5f);
    EXPECT_EQ(app->p_PlayKey(kActDown, 1, 0), 1) << "flipped Y: raw -0.5 is down";
    app->m_settings[kSetLeftStickY] = 1;
    EXPECT_EQ(app->p_PlayKey(kActUp, 1, 0), 1);
    app->m_settings[kSetLeftStickY] = 0;
    app->p_iCade(1);
    EXPECT_EQ(app->p_PlayKey(kActDown, 1, 0), 0) << "no stick in iCade mode";
}

TEST_F(Controls, VirtualPadEntriesHoldActions) {
    app->m_pad[kActRight] = 2;
    EXPECT_EQ(app->p_PlayKey(kActRight, 0, -1), 1);
    app->m_pad[kActRight] = 0;
    app->m_pad[19] = 1;
    EXPECT_EQ(app->p_PlayKey(kActBack, 0, 0), 1);
    kv_Tol_isOuya = 1;
    EXPECT_EQ(app->p_PlayKey(kActBack, 0, -1), 1);
    app->m_pad[19] = 0;
    host->KeyDown(27);
    EXPECT_EQ(app->p_PlayKey(kActBack, 0, -1), 0) << "on the console the keyboard-only back is the pad alone";
    kv_Tol_isOuya = 2;
    EXPECT_EQ(app->p_PlayKey(kActBack, 0, 0), 0);
}

TEST_F(Controls, ICadeSwitchDrainsCharactersAndClearsThePad) {
    host->Type('x');
    app->m_pad[3] = 2;
    app->p_iCade(1);
    EXPECT_EQ(app->m_lastChar, 0);
    EXPECT_EQ(kv_input_GetChar(), 0);
    EXPECT_EQ(app->m_pad[3], 2);
    app->p_iCade(0);
    EXPECT_EQ(app->m_pad[3], 0);
    EXPECT_EQ(kv_Tol_iCadeControls, 0);
}

TEST_F(Controls, ICadeLettersHoldPadEntriesUntilTheirRelease) {
    app->p_iCade(1);
    host->Type('w');
    host->Frame();
    EXPECT_EQ(app->m_pad[kActUp], 2);
    host->Frames(3);
    EXPECT_EQ(app->m_pad[kActUp], 2);
    EXPECT_EQ(app->p_PlayKey(kActUp, 0, -1), 1);
    host->Type('E');
    host->Frame();
    EXPECT_EQ(app->m_pad[kActUp], 0);
    EXPECT_EQ(app->m_lastChar, 'E');
}

TEST_F(Controls, OnScreenPressesLastOneFrame) {
    app->m_pad[kActFire1] = 1;
    host->Frame();
    EXPECT_EQ(app->m_pad[kActFire1], 0);
}

TEST_F(Controls, KeyLatchClearsOnlyWhenEveryActionIsReleased) {
    app->m_keyLatch = 1;
    host->KeyDown('J');
    host->Frame();
    EXPECT_EQ(app->m_keyLatch, 1);
    host->KeyUp('J');
    host->Frame();
    EXPECT_EQ(app->m_keyLatch, 0);
}

TEST_F(Controls, BackClosesTheMenuPanels) {
    app->m_gameState = kStateMenu;
    app->m_sidePanelOpen = 1;
    host->KeyDown(27);
    host->Frame();
    EXPECT_EQ(app->m_sidePanelOpen, 0);
    EXPECT_EQ(app->m_keyLatch, 1);
}

}  // namespace
