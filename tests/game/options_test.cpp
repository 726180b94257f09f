// The options box, the pause menu and the console's quit prompt driven through the running
// game: the box's slide and latches, closing and saving, every row's setting, taps, the music
// rules, the console's overscan row; pausing, resuming and leaving a game; and the quit prompt.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "game/globals.h"
#include "host/input.h"
#include "test_host.h"

namespace {

constexpr int kKeyEnter = 13, kKeyEscape = 27, kKeyUp = 38, kKeyDown = 40, kKeyLeft = 37;
constexpr float kRowY0 = 48, kRowStep = 40;  // the options box's first row and the spacing

// Desktop rows of the options box.
constexpr int kBack = 0, kSound = 1, kICade = 2, kWindow = 3, kLeftStick = 4, kRightStick = 5;

// The characters drawn in the font with one ink, in drawing order (spaces draw nothing).
std::string drawn_text(const c_MyApp* app, float r, float g, float b) {
    std::string out;
    for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
        const float* record = &app->m_drawList[k];
        if (int(record[kDrawKind]) == kImgFont && record[kDrawInkR] == r && record[kDrawInkG] == g &&
            record[kDrawInkB] == b) {
            out += char(record[kDrawFrame] + 32);
        }
    }
    return out;
}

std::string highlighted_row(const c_MyApp* app) { return drawn_text(app, 0, 180, 255); }

// The saved state's fields.
std::vector<std::string> saved_fields(const TestHost* host) {
    std::vector<std::string> fields;
    std::string state = text_of(host->savedState), field;
    for (char c : state) {
        if (c == '|') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    return fields;
}

// Runs `child` in a forked copy of the test program; gives its exit status, or -1 when it did
// not exit normally.
template <class Body>
int exit_status_of(Body child) {
    pid_t pid = fork();
    if (pid == 0) {
        child();
        _exit(3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = host->app;
        host->FinishLoading();
        host->Render();  // fits the screen, so pointer positions map one to one
        kv_Tol_isOuya = 0;
        kv_Tol_HasMusicStream = 1;
        kv_Tol_overscan = 0;
        app->m_gameState = kStateMenu;
        app->m_menuFocus = 0;
        app->m_menuRow = 1;
        app->m_menuIntro = 0;
        app->m_sidePanelOpen = app->m_optionsOpen = app->m_optionsRequest = 0;
        app->m_optionsAnim = 0;
        app->m_optionSel = 0;
        app->m_paused = 0;
        app->m_keyLatch = 0;
        app->m_settings[kSetSoundMode] = 1;
        host->Frame();
    }
    void TearDown() override {
        ReleaseAll();
        kv_Tol_isOuya = 0;
        kv_Tol_HasMusicStream = 1;
        kv_Tol_overscan = 0;
        app->m_optionsOpen = app->m_optionsAnim = 0;
        app->m_paused = 0;
        app->m_gameState = kStateMenu;
        host->Frame();
    }
    void ReleaseAll() {
        host->ReleaseKeys();
        host->Frame();
    }
    // One press and release, a frame each.
    void Tap(int key) {
        host->KeyDown(key);
        host->Frame();
        host->KeyUp(key);
        host->Frame();
    }
    void Click(float x, float y) {
        host->MouseDown(x, y);
        host->Frame();
        host->MouseUp(x, y);
        host->Frame();
    }
    // Opens the box from the menu's cog and waits until it has slid in.
    void OpenFromMenu() {
        Tap(kKeyEnter);
        ASSERT_EQ(app->m_optionsOpen, 1);
        host->Frames(30);
        ASSERT_EQ(app->m_optionsAnim, 30);
    }
    // Highlights a row and activates it with fire.
    void Activate(int row) {
        app->m_optionSel = row;
        Tap(kKeyEnter);
    }
    // Starts a real game and lets its intro run, so play draws a full frame.
    void StartGame() {
        app->m_gameState = kStateStartGame;
        host->Frame();
        ASSERT_EQ(app->m_gameState, kStatePlay);
        host->Frames(125);
        ASSERT_EQ(app->m_introTimer, 0);
    }
    // Pauses the running game the way losing the focus does.
    void SuspendAndResume() {
        host->SuspendGame();
        host->ResumeGame();
        ASSERT_EQ(app->m_paused, 1);
        ASSERT_EQ(app->m_pauseSel, 1);
    }
    bool Drawn(int slot, int frame, float x, float y) const {
        for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
            const float* r = &app->m_drawList[k];
            if (int(r[kDrawKind]) == slot && r[kDrawFrame] == float(frame) && r[kDrawX] == x && r[kDrawY] == y) {
                return true;
            }
        }
        return false;
    }
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
};

TEST_F(Options, BoxSlidesInOverThirtyFramesAndTakesNoKeysMeanwhile) {
    Tap(kKeyEnter);
    ASSERT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(app->m_optionsAnim, 2) << "a step on the frame it opened and one on the release";
    Tap(kKeyDown);
    EXPECT_EQ(app->m_optionSel, 0) << "down while sliding";
    EXPECT_EQ(app->m_optionLatchA, 1);
    EXPECT_EQ(app->m_optionLatchB, 1);
    while (app->m_optionsAnim < 30) host->Frame();
    host->Frame();
    EXPECT_EQ(app->m_optionLatchA, 0);
    EXPECT_EQ(app->m_optionLatchB, 0);
    Tap(kKeyDown);
    EXPECT_EQ(app->m_optionSel, 1);
    EXPECT_EQ(highlighted_row(app), "Sound:SFX+Music");
}

TEST_F(Options, MenuUnderneathIgnoresKeysWhileTheBoxIsOpen) {
    OpenFromMenu();
    for (int key : {kKeyDown, kKeyLeft}) {
        host->KeyDown(key);
        host->Frame();
        EXPECT_EQ(app->m_keyLatch, 1);
        EXPECT_EQ(app->m_pointerTaken, 1);
        host->KeyUp(key);
        host->Frame();
    }
    EXPECT_EQ(app->m_menuRow, 1);
    EXPECT_EQ(app->m_menuFocus, 0);
    EXPECT_EQ(app->m_optionSel, 1) << "the box took the down press";
}

TEST_F(Options, BackClosesTheBoxSavesAndDoesNotQuitTheMenu) {
    OpenFromMenu();
    const int saves = host->saves;
    host->savedState = String();
    host->KeyDown(kKeyEscape);
    host->Frame();
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(host->saves, saves + 1) << "closing saves even when nothing changed";
    EXPECT_EQ(saved_fields(host).size(), 203u);
    EXPECT_EQ(app->m_keyLatch, 1);
    host->Frames(5);  // the held key must not reach the menu, whose back ends the program
    host->KeyUp(kKeyEscape);
    host->Frames(30);
    EXPECT_EQ(app->m_optionsAnim, 0) << "the box slides out in thirty frames";
    EXPECT_EQ(app->m_gameState, kStateMenu);
}

TEST_F(Options, TapOnTheBackRowClosesTheBox) {
    OpenFromMenu();
    const int saves = host->saves;
    Click(200, kRowY0);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(host->saves, saves + 1);
}

struct RowCase {
    const char* what;
    int row;
    int setting;
    int start;
    int after[4];  // the setting after each of four activations
};
const RowCase kRows[] = {
    {"sound with music streams", kSound, kSetSoundMode, 1, {2, 3, 0, 1}},
    {"left stick", kLeftStick, kSetLeftStickY, 0, {1, 0, 1, 0}},
    {"right stick", kRightStick, kSetRightStickY, 1, {0, 1, 0, 1}},
    {"a stored stick value beyond 1 reads as normal", kLeftStick, kSetLeftStickY, 7, {0, 1, 0, 1}},
};

TEST_F(Options, EachRowChangesItsSettingAndClosingSavesIt) {
    OpenFromMenu();
    for (const RowCase& c : kRows) {
        app->m_settings[c.setting] = c.start;
        for (int value : c.after) {
            Activate(c.row);
            EXPECT_EQ(app->m_settings[c.setting], value) << c.what;
        }
        Activate(c.row);
        Tap(kKeyEscape);
        ASSERT_EQ(app->m_optionsOpen, 0);
        EXPECT_EQ(saved_fields(host)[c.setting], std::to_string(c.after[0])) << c.what;
        Tap(kKeyEnter);
        host->Frames(30);
    }
}

TEST_F(Options, SoundRowShowsEachModeInTurn) {
    OpenFromMenu();
    app->m_optionSel = kSound;
    host->Frame();
    EXPECT_EQ(highlighted_row(app), "Sound:SFX+Music");
    for (const char* label : {"Sound:SFX", "Sound:Music", "Sound:Off", "Sound:SFX+Music"}) {
        Activate(kSound);
        EXPECT_EQ(highlighted_row(app), label);
    }
}

TEST_F(Options, WithoutMusicStreamsSoundTogglesAndAStrayModeShowsAsOff) {
    kv_Tol_HasMusicStream = 0;
    app->m_settings[kSetSoundMode] = 3;
    OpenFromMenu();
    app->m_optionSel = kSound;
    host->Frame();
    EXPECT_EQ(highlighted_row(app), "Sound:Off");
    EXPECT_EQ(app->m_settings[kSetSoundMode], 0);
    for (int want : {1, 0, 1}) {
        Activate(kSound);
        EXPECT_EQ(app->m_settings[kSetSoundMode], want);
    }
    EXPECT_EQ(highlighted_row(app), "Sound:On");
}

TEST_F(Options, MusicComesBackOnlyInAGame) {
    app->m_settings[kSetSoundMode] = 0;
    app->m_tune = String("testmusic");
    OpenFromMenu();
    Activate(kSound);
    EXPECT_EQ(app->m_settings[kSetSoundMode], 1);
    EXPECT_EQ(app->m_musicOn, 0) << "the menu has no tune to restart";
    Tap(kKeyEscape);

    StartGame();
    SuspendAndResume();
    app->m_settings[kSetSoundMode] = 3;
    app->m_tune = String("testmusic");
    host->Frame();
    app->m_optionsOpen = 1;
    host->Frames(31);
    Activate(kSound);
    EXPECT_EQ(app->m_settings[kSetSoundMode], 0);
    EXPECT_EQ(app->m_musicOn, 0) << "off stops the music";
    Activate(kSound);
    EXPECT_EQ(app->m_settings[kSetSoundMode], 1);
    EXPECT_EQ(app->m_musicOn, 1) << "the paused game's tune restarts";
    EXPECT_EQ(text_of(app->m_tune), "testmusic");
    Activate(kSound);
    EXPECT_EQ(app->m_musicOn, 0) << "effects only";
}

TEST_F(Options, ICadeRowSwitchesTheCabinetModeBothWays) {
    OpenFromMenu();
    Activate(kICade);
    EXPECT_EQ(kv_Tol_iCadeControls, 1);
    EXPECT_TRUE(host->KeyboardEnabled());
    EXPECT_EQ(highlighted_row(app), "iCade:On");
    Activate(kICade);  // Enter is still fire in the cabinet's narrowed keyboard
    EXPECT_EQ(kv_Tol_iCadeControls, 0);
    EXPECT_FALSE(host->KeyboardEnabled());
    EXPECT_EQ(highlighted_row(app), "iCade:Off");
}

TEST_F(Options, WindowRowGoesFullScreenAndBackToA640By480Window) {
    host->width = 800;
    host->height = 600;
    OpenFromMenu();
    Activate(kWindow);
    EXPECT_EQ(app->m_fullscreen, 1);
    EXPECT_EQ(host->width, 1920);
    EXPECT_EQ(host->height, 1080);
    EXPECT_EQ(highlighted_row(app), "Windowed");
    Activate(kWindow);
    EXPECT_EQ(app->m_fullscreen, 0);
    EXPECT_EQ(host->width, 640);
    EXPECT_EQ(host->height, 480);
    EXPECT_EQ(highlighted_row(app), "Fullscreen");
    host->Render();
    host->FinishLoading();
}

TEST_F(Options, ATapActivatesARowOnceHoweverLongItIsHeld) {
    OpenFromMenu();
    app->m_settings[kSetLeftStickY] = 0;
    const float y = kRowY0 + kRowStep * kLeftStick;
    host->MouseDown(300, y);
    host->Frames(10);
    EXPECT_EQ(app->m_settings[kSetLeftStickY], 1);
    EXPECT_EQ(app->m_optionSel, kLeftStick) << "the tapped row is highlighted";
    host->MouseUp(300, y);
    host->Frame();
    Click(300, y);
    EXPECT_EQ(app->m_settings[kSetLeftStickY], 0);
    Click(300, kRowY0 + kRowStep * 7);  // below the last row
    EXPECT_EQ(app->m_optionsOpen, 1);
}

struct OverscanCase {
    const char* what;
    int start;
    int key;  // 0: a tap on the bar
    int want;
};
const OverscanCase kOverscan[] = {
    {"U lowers by 16", 64, 'U', 48},
    {"O raises by 16", 64, 'O', 80},
    {"U stops at 1", 8, 'U', 1},
    {"O stops at 96", 90, 'O', 96},
    {"a tap from a wide margin goes to 1", 32, 0, 1},
    {"a tap from a narrow margin goes to 96", 31, 0, 96},
};

TEST_F(Options, ConsoleOverscanRowStepsAndJumpsWithinItsRange) {
    kv_Tol_isOuya = 1;
    OpenFromMenu();
    for (const OverscanCase& c : kOverscan) {
        app->m_settings[kSetOverscan] = c.start;
        kv_Tol_overscan = 0;  // keeps pointer positions one to one
        app->m_optionSel = 1;
        if (c.key) {
            Tap(c.key);
        } else {
            Click(0.6f * kv_Tol_jscrw + 40, kRowY0 + kRowStep + 12);
        }
        EXPECT_EQ(app->m_settings[kSetOverscan], c.want) << c.what;
        EXPECT_EQ(kv_Tol_overscan, float(c.want)) << c.what;
    }
    kv_Tol_overscan = 0;
    host->Frame();
    EXPECT_TRUE(Drawn(-3717, 0, 0, 0)) << "the overscan guide's corner";
}

TEST_F(Options, ConsoleQuitRowEndsTheProgram) {
    kv_Tol_isOuya = 1;
    OpenFromMenu();
    host->Frame();
    EXPECT_NE(drawn_text(app, 255, 255, 255).find("Quit"), std::string::npos);
    EXPECT_EQ(exit_status_of([&] { Activate(6); }), 0);
}

TEST_F(Options, SuspendPausesPlayAndThePauseMenuSlidesIn) {
    StartGame();
    host->SuspendGame();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseSel, 1);
    EXPECT_EQ(app->m_pauseY, 240);
    host->ResumeGame();
    host->Frame();
    EXPECT_EQ(app->m_pauseCursor, 0) << "the cursor starts on resume";
    EXPECT_TRUE(Drawn(kImgIcons, 1, 64, 96)) << "leave";
    EXPECT_TRUE(Drawn(kImgIcons, 3, 64, 196)) << "resume";
    EXPECT_TRUE(Drawn(kImgIcons, 6, 64, 196)) << "the marker on resume";
    EXPECT_EQ(drawn_text(app, 255, 255, 255).find("PAUSED") != std::string::npos, true);
    // Play stays frozen behind the menu and the overlay redraws itself over it each update.
    const int count = app->m_drawCount;
    const float angle = app->m_pauseMenu[2];
    host->Frames(200);
    EXPECT_EQ(app->m_drawCount, count);
    EXPECT_NE(app->m_pauseMenu[2], angle) << "the ornament turns";
    EXPECT_EQ(app->m_paused, 1);
}

TEST_F(Options, PauseMenuSlidesInFromTheTop) {
    StartGame();
    host->KeyDown(kKeyEscape);
    host->Frame();
    ASSERT_EQ(app->m_paused, 1);
    const int from = app->m_pauseY;
    host->KeyUp(kKeyEscape);
    host->Frame();
    EXPECT_EQ(app->m_pauseY, std::min(from + 24, 240));
    host->Frames(30);
    EXPECT_EQ(app->m_pauseY, 240) << "it stops at half the screen height";
}

struct ResumeCase {
    const char* how;
    int key;  // 0: a tap on the resume button
};
const ResumeCase kResumes[] = {{"back", kKeyEscape}, {"fire on resume", kKeyEnter}, {"a tap", 0}};

TEST_F(Options, ResumeSlidesThePanelOutThenPlayGoesOn) {
    StartGame();
    for (const ResumeCase& c : kResumes) {
        SuspendAndResume();
        host->Frame();
        if (c.key) {
            host->KeyDown(c.key);
            host->Frame();
            host->KeyUp(c.key);
        } else {
            host->MouseDown(64, 196);
            host->Frame();
            host->MouseUp(64, 196);
        }
        EXPECT_EQ(app->m_pauseSel, -1) << c.how;
        EXPECT_EQ(app->m_paused, 1) << c.how << ": still up while it slides out";
        int frames = 0;
        while (app->m_paused == 1 && frames < 50) {
            host->Frame();
            ++frames;
        }
        EXPECT_EQ(frames, 12) << c.how << ": from 240 down 24 a frame to below -32";
        EXPECT_EQ(app->m_gameOverTimer, 0) << c.how;
        host->Frames(5);
        EXPECT_EQ(app->m_paused, 0) << c.how << ": the release does not pause again";
    }
}

TEST_F(Options, LeavingEndsTheGameThroughTheGameOverPanel) {
    StartGame();
    SuspendAndResume();
    host->Frame();
    Tap(kKeyUp);
    EXPECT_EQ(app->m_pauseCursor, -1);
    EXPECT_TRUE(Drawn(kImgIcons, 6, 64, 96)) << "the marker on leave";
    Tap(kKeyUp);
    EXPECT_EQ(app->m_pauseCursor, -1) << "leave is the top entry";
    host->KeyDown(kKeyEnter);
    host->Frame();
    EXPECT_EQ(app->m_paused, 0);
    EXPECT_EQ(app->m_pauseSel, -1);
    EXPECT_EQ(app->m_pauseY, -64);
    EXPECT_EQ(app->m_quitGame, -1);
    EXPECT_GE(app->m_gameOverTimer, 1);
    host->KeyUp(kKeyEnter);
    for (int frame = 0; frame < 200 && app->m_gameState != kStateMenu; ++frame) host->Frame();
    EXPECT_EQ(app->m_gameState, kStateMenu);
}

TEST_F(Options, PauseMenuCogOpensTheOptionsWithoutTheQuitRow) {
    kv_Tol_isOuya = 1;
    StartGame();
    SuspendAndResume();
    host->Frame();
    Click(64, 296);
    ASSERT_EQ(app->m_optionsOpen, 1);
    host->Frames(31);
    Tap(kKeyDown);
    for (int i = 0; i < 10; ++i) Tap(kKeyDown);
    EXPECT_EQ(app->m_optionSel, 5) << "the last row is the right stick";
    Tap(kKeyEscape);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(app->m_paused, 1) << "closing the box leaves the game paused";
}

TEST_F(Options, QuitPromptEndsTheProgramOnFire2Fire3OrBack) {
    kv_Tol_isOuya = 1;
    app->m_gameState = kStateQuitPrompt;
    host->Frame();
    EXPECT_EQ(drawn_text(app, 255, 180, 180), "UnexpectedQuit");
    for (int key : {int('K'), int('L'), kKeyEscape}) {
        EXPECT_EQ(exit_status_of([&] {
                      host->KeyDown(key);
                      host->Frame();
                  }),
                  0)
            << key;
    }
}

TEST_F(Options, QuitPromptReturnsToTheMenuWithoutActingOnIt) {
    kv_Tol_isOuya = 1;
    host->KeyDown(kKeyEscape);
    host->Frame();
    ASSERT_EQ(app->m_gameState, kStateQuitPrompt) << "the console's menu asks first";
    host->Frames(3);
    EXPECT_EQ(app->m_gameState, kStateQuitPrompt) << "the held key that asked does not answer";
    host->KeyUp(kKeyEscape);
    host->Frame();
    app->m_menuFocus = 1;
    host->KeyDown('J');
    host->Frames(3);
    EXPECT_EQ(app->m_gameState, kStateMenu);
    EXPECT_EQ(app->m_menuRow, 1) << "the same press does not start a game";
    host->KeyUp('J');
    host->Frame();
}

}  // namespace
