// The app framework: one app per process, the close and back keys ending an app that keeps
// the default hooks, and each update bracketed by the input device so hits last one update.
// Runs without devices other than input; the window and the audio device are not needed here.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "host/delegate.h"
#include "host/input.h"
#include "host/keys.h"

namespace {

class CountingApp : public c_App {
public:
    int hitsSeen = -1;
    int creates = 0;
    int p_OnUpdate() override {
        hitsSeen = kv_input_KeyHit(65);
        return 0;
    }
};

class AppFramework : public ::testing::Test {
protected:
    KvGame host;
    CountingApp* app = new CountingApp;

    void SetUp() override {
        kv_app__app = nullptr;
        kv_app__delegate = nullptr;
        kv_app_InitGlobals();
        app->m_new();
        // The input device is the only one these tests need; StartGame would open the others.
        c_InputDevice* input = (new c_InputDevice)->m_new();
        gc_assign(kv_app__delegate->input, input);
        kv_input_SetInputDevice(input);
    }
};

// Runtime errors print on standard output and then wait for a debugger on standard input;
// the child reads from /dev/null and prints to standard error, where the death test looks.
void quiet_debugger() {
    if (!std::freopen("/dev/null", "r", stdin)) _exit(3);
    dup2(2, 1);
}

TEST_F(AppFramework, ConstructingTheAppHandsTheDelegateToTheHost) {
    EXPECT_EQ(kv_app__app, app);
    ASSERT_NE(kv_app__delegate, nullptr);
    EXPECT_EQ(host.Delegate(), kv_app__delegate);
}

TEST_F(AppFramework, ASecondAppIsARuntimeError) {
    EXPECT_EXIT(
        {
            quiet_debugger();
            (new CountingApp)->m_new();
        },
        ::testing::ExitedWithCode(255), "Tarvik Runtime Error : App has already been created");
}

TEST_F(AppFramework, TheCloseKeyEndsADefaultAppWithExitCodeZero) {
    EXPECT_EXIT(kv_app__delegate->KeyEvent(KeyDown, kKeyClose), ::testing::ExitedWithCode(0), "");
}

TEST_F(AppFramework, TheBackKeyEndsADefaultAppWithExitCodeZero) {
    EXPECT_EXIT(kv_app__delegate->KeyEvent(KeyDown, kKeyBack), ::testing::ExitedWithCode(0), "");
}

TEST_F(AppFramework, KeyReleasesOfTheCloseKeyDoNothing) {
    kv_app__delegate->KeyEvent(KeyUp, kKeyClose);
    SUCCEED();
}

TEST_F(AppFramework, HitsSeenByOneUpdateAreGoneInTheNext) {
    kv_app__delegate->KeyEvent(KeyDown, 65);
    kv_app__delegate->UpdateGame();
    EXPECT_EQ(app->hitsSeen, 1);
    kv_app__delegate->UpdateGame();
    EXPECT_EQ(app->hitsSeen, 0);
    EXPECT_EQ(kv_input_KeyDown(65), 1);
}

}  // namespace
