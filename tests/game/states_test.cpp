// The application as the host sees it: creation, the loader's twenty steps and its resolution
// choice, the level intro over 120 frames, the screen fit, suspend and resume, and the keys
// that leave the game.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "game/globals.h"
#include "host/input.h"
#include "test_host.h"

namespace {

class States : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = host->app;
    }
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
};

TEST_F(States, CreationStartsTheMenuAndTheLoader) {
    // The first test to run sees the app as created.
    if (app->m_reload == 0) GTEST_SKIP() << "loader already finished by an earlier test";
    EXPECT_EQ(app->m_gameState, kStateMenu);
    EXPECT_EQ(kv_app__updateRate, 60);
    EXPECT_EQ(app->m_difficulty, 2);
    EXPECT_EQ(app->m_settings[kSetSoundMode], 1);
    EXPECT_EQ(app->m_settings[kSetOverscan], 1) << "desktops always store overscan 1";
    EXPECT_EQ(app->m_channels[32], 32);
    EXPECT_NE(app->m_images[kImgLogo], nullptr) << "the loading screen's logo loads at once";
    EXPECT_NE(app->m_images[kImgFont], nullptr);
}

TEST_F(States, LoaderRunsTwentyStepsThenStops) {
    app->p_Reload();
    int steps = 0;
    while (app->m_reload != 0 && steps < 50) {
        host->Frame();
        ++steps;
    }
    EXPECT_EQ(steps, 20);
    for (int slot : {kImgIcons, kImgButtons, kImgDpad, kImgMenu, kImgTitle, kImgBadges, kImgParts, kImgCircle,
                     kImgLight, kImgRocks, kImgPlayer, kImgSprites, kImgBlank}) {
        EXPECT_NE(app->m_images[slot], nullptr) << "image slot " << slot;
    }
    for (int sound : {1, 2, 3, 4, 5, 6, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 95, 96, 98, 99}) {
        EXPECT_NE(app->m_sounds[sound], nullptr) << "sound " << sound;
    }
    EXPECT_EQ(app->m_imageInfo[3 * kImgPlayer], 36 * app->m_hdLevel);
    EXPECT_EQ(app->m_imageInfo[3 * kImgPlayer + 2], 49);
    EXPECT_EQ(app->m_imageInfo[3 * kImgFont], 7);
    EXPECT_EQ(app->m_logoSoundPlayed, 1);
}

TEST_F(States, LoadingScreenShowsTheLogoAndText) {
    app->p_Reload();
    host->Frame();
    bool logo = false;
    int glyphs = 0;
    for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
        logo |= int(app->m_drawList[k + kDrawKind]) == kImgLogo;
        glyphs += int(app->m_drawList[k + kDrawKind]) == kImgFont;
    }
    EXPECT_TRUE(logo);
    EXPECT_EQ(glyphs, 10) << "Loading...";
    host->FinishLoading();
}

struct ResolutionCase {
    int width, height, useHd, level;
};
const ResolutionCase kResolutions[] = {
    {640, 480, 1, 2}, {1280, 720, 1, 4}, {630, 630, 1, 1}, {631, 100, 1, 2},
    {100, 1231, 1, 4}, {1920, 1080, 0, 1}, {320, 240, 1, 1},
};

TEST_F(States, ResolutionFollowsTheDeviceSize) {
    for (const ResolutionCase& c : kResolutions) {
        kv_app__devWidth = c.width;
        kv_app__devHeight = c.height;
        kv_Tol_UseHDImages = c.useHd;
        app->ChooseResolution();
        EXPECT_EQ(app->m_hdLevel, c.level) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(app->m_hdScale, 1.0f / c.level);
    }
    kv_Tol_UseHDImages = 1;
    kv_app__devWidth = host->width;
    kv_app__devHeight = host->height;
    app->ChooseResolution();
    EXPECT_EQ(text_of(app->ImageFileName(String("plr"))), "plr-hd.png");
}

struct FitCase {
    int width, height;
    int mode;
    float fit, virtualW, virtualH;
};
const FitCase kFits[] = {
    {640, 480, 1, 1.0f, 640, 480},       {1280, 720, 1, 2.0f, 640, 360},     {1280, 960, 1, 2.0f, 640, 480},
    {800, 480, 1, 1.25f, 640, 384},      {600, 480, 2, 1.0f, 600, 480},      {480, 640, 2, 0.888889f, 540, 720},
    {1000, 2000, 1, 1.0416666f, 960, 1920},
};

TEST_F(States, ScreenFitKeepsTheDesignSizeAlongOneAxis) {
    for (const FitCase& c : kFits) {
        app->FitScreen(c.width, c.height);
        EXPECT_EQ(app->m_fitMode, c.mode) << c.width << "x" << c.height;
        EXPECT_NEAR(app->m_fitX, c.fit, 1e-4) << c.width << "x" << c.height;
        EXPECT_NEAR(kv_Tol_jscrw, c.virtualW, 0.01) << c.width << "x" << c.height;
        EXPECT_NEAR(kv_Tol_jscrh, c.virtualH, 0.01) << c.width << "x" << c.height;
        EXPECT_EQ(app->m_landscape, c.virtualH <= c.virtualW ? 1 : 0);
    }
    app->FitScreen(host->width, host->height);
}

TEST_F(States, ResizeReloadsTheBanksAtTheNextRender) {
    host->FinishLoading();
    host->width = 1280;
    host->height = 720;
    host->Render();
    EXPECT_EQ(app->m_reload, 1);
    EXPECT_NEAR(kv_Tol_jscrh, 360, 0.01);
    host->FinishLoading();
    EXPECT_EQ(app->m_hdLevel, 4);
    host->width = 640;
    host->height = 480;
    host->Render();
    host->FinishLoading();
    EXPECT_EQ(app->m_hdLevel, 2);
}

TEST_F(States, LevelIntroCoversTheScreenThenFades) {
    host->FinishLoading();
    app->m_gameState = kStatePlay;
    app->m_vars[kVarLevel] = 3;
    app->m_introTimer = 1;
    host->Frame();
    // Frames 1..90: a black cover and five texts, nothing else.
    EXPECT_EQ(app->m_drawList[kDrawKind], kDrawRect);
    EXPECT_EQ(app->m_drawList[kDrawAlpha], 1.0f);
    EXPECT_EQ(app->m_clearA, -1);
    int glyphs = 0;
    for (int k = kDrawRecordSize; k < app->m_drawCount; k += kDrawRecordSize) {
        EXPECT_EQ(int(app->m_drawList[k + kDrawKind]), kImgFont);
        ++glyphs;
    }
    EXPECT_EQ(glyphs, std::string("PrepareforBattleTolvaneLevel3").size());
    host->Frames(89);
    EXPECT_EQ(app->m_introTimer, 91);
    host->Frames(15);  // the frame of timer 105: play runs again under a half-faded cover
    EXPECT_EQ(app->m_bgTargetG, 120) << "play's ground colour";
    int cover = -1;
    for (int k = 0; k < app->m_drawCount && cover < 0; k += kDrawRecordSize) {
        if (app->m_drawList[k + kDrawKind] == kDrawRect && app->m_drawList[k + kDrawX] == -128) cover = k;
    }
    ASSERT_GT(cover, 0) << "the cover comes after play's own drawing";
    EXPECT_NEAR(app->m_drawList[cover + kDrawAlpha], 1.0f - (105 - 90) / 30.0f, 1e-5);
    host->Frames(14);
    EXPECT_EQ(app->m_introTimer, 120);
    host->Frame();
    EXPECT_EQ(app->m_introTimer, 0) << "the intro ends once its timer passes 120";
    app->m_gameState = kStateMenu;
    host->Frame();
}

TEST_F(States, SuspendPausesPlaySlowsDownAndSaves) {
    host->FinishLoading();
    app->m_gameState = kStatePlay;
    int saves = host->saves;
    host->SuspendGame();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseSel, 1);
    EXPECT_EQ(kv_app__updateRate, 5);
    EXPECT_EQ(host->saves, saves + 1);
    host->ResumeGame();
    EXPECT_EQ(app->m_paused, 1) << "play stays paused after resuming";
    EXPECT_EQ(kv_app__updateRate, 60);
    app->m_gameState = kStateMenu;
    host->SuspendGame();
    EXPECT_EQ(app->m_paused, 0);
    host->ResumeGame();
}

TEST_F(States, FunctionKeysToggleDebugAndHud) {
    host->FinishLoading();
    int debug = kv_Tol_DebugMode, hud = app->m_hudHidden;
    host->KeyDown(112);
    host->KeyDown(113);
    host->Frame();
    EXPECT_EQ(kv_Tol_DebugMode, 1 - debug);
    EXPECT_EQ(app->m_hudHidden, 1 - hud);
    host->KeyUp(112);
    host->KeyUp(113);
    host->Frame();
    EXPECT_EQ(kv_Tol_DebugMode, 1 - debug) << "a held key toggles once";
    host->KeyDown(112);
    host->Frame();
    host->KeyUp(112);
}

TEST_F(States, FullScreenSwitchUsesTheDesktopSize) {
    app->p_FullscreenFlip();
    EXPECT_EQ(app->m_fullscreen, 1);
    EXPECT_EQ(host->width, 1920);
    app->p_FullscreenFlip();
    EXPECT_EQ(app->m_fullscreen, 0);
    EXPECT_EQ(host->width, 640);
    EXPECT_EQ(host->height, 480);
    host->Render();
    host->FinishLoading();
}

TEST_F(States, F4AndTheCloseKeyEndTheProgramAtOnce) {
    for (int key : {115, 432}) {
        pid_t pid = fork();
        if (pid == 0) {
            host->KeyDown(key);
            host->Frame();
            _exit(3);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << key;
    }
}

}  // namespace
