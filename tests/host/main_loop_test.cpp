// The main loop's timing without a window: updates and renders per second, the bound of four
// catch-up updates and the dropped backlog, a rate change ending a catch-up run, rate 0, and
// suspension following focus. The game's callbacks are written into a log: R render, U update,
// S suspend, E resume.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "fake_system.h"
#include "host/glfw_game.h"

namespace {

class LoggingDelegate : public KvGameDelegate {
public:
    FakeSystem* system = nullptr;
    std::string log;
    double updateCost = 0.0;
    std::function<void(int)> onUpdate;
    int updates = 0;

    void RenderGame() override { log += 'R'; }
    void UpdateGame() override {
        log += 'U';
        system->now += updateCost;
        if (onUpdate) onUpdate(++updates);
    }
    void SuspendGame() override { log += 'S'; }
    void ResumeGame() override { log += 'E'; }
};

class MainLoop : public ::testing::Test {
protected:
    FakeSystem system;
    KvGlfwGame host{&system};
    LoggingDelegate* game = new LoggingDelegate;

    void SetUp() override {
        game->system = &system;
        host.SetDelegate(game);
        host.StartGame();
    }

    // Runs the loop for `seconds` of fake time.
    void run_for(double seconds) {
        double end = system.now + seconds;
        system.framesLeft = 1 << 30;
        system.onEvents = [this, end] {
            if (system.now >= end) system.framesLeft = 0;
        };
        host.RunLoop();
    }

    void run_frames(int frames) {
        system.framesLeft = frames;
        host.RunLoop();
    }
};

TEST_F(MainLoop, RunsSixtyUpdatesAndRendersPerSecondAndSleepsBetweenFrames) {
    host.SetUpdateRate(60);
    run_for(10.0);
    long updates = std::count(game->log.begin(), game->log.end(), 'U');
    long renders = std::count(game->log.begin(), game->log.end(), 'R');
    EXPECT_NEAR(updates, 600, 1);
    EXPECT_NEAR(renders, 600, 1);
    EXPECT_EQ(game->log.find("UU"), std::string::npos) << "one update per frame when updates are instant";
    EXPECT_EQ(game->log.substr(0, 2), "RU") << "the first render comes before the first update";
    EXPECT_GE(system.sleeps, 590);
}

TEST_F(MainLoop, SlowUpdatesRunExactlyFourPerFrameThenRestartTheClock) {
    host.SetUpdateRate(60);
    game->updateCost = 0.05;
    run_frames(3);
    EXPECT_EQ(game->log, "RUUUURUUUURUUUU");
    EXPECT_EQ(host.nextUpdate, 0.0) << "the backlog is dropped";
    EXPECT_EQ(system.sleeps, 0) << "a restarted clock has nothing to wait for";
}

TEST_F(MainLoop, ChangingTheRateInsideAnUpdateEndsTheCatchUpRun) {
    host.SetUpdateRate(60);
    game->updateCost = 0.05;
    game->onUpdate = [&](int update) {
        if (update == 2) host.SetUpdateRate(30);
    };
    run_frames(2);
    EXPECT_EQ(game->log, "RUURUUUU");
    EXPECT_DOUBLE_EQ(host.updatePeriod, 1.0 / 30);
}

TEST_F(MainLoop, RateZeroRunsOneUpdatePerFrameWithoutSleeping) {
    host.SetUpdateRate(0);
    game->updateCost = 0.5;
    run_frames(5);
    EXPECT_EQ(game->log, "RURURURURU");
    EXPECT_EQ(system.sleeps, 0);
}

TEST_F(MainLoop, LosingFocusSuspendsOnceAndResumingRestartsTheClock) {
    host.SetUpdateRate(60);
    system.waitAdvance = 10.0;
    int frame = 0;
    system.onEvents = [&] {
        ++frame;
        system.active = frame < 3 || frame > 5;
    };
    system.framesLeft = 8;
    host.RunLoop();
    // Frames 3 to 5 are unfocused: one suspend, renders without updates, blocking waits; after
    // ten seconds away the first frame back runs one update, not a catch-up burst.
    EXPECT_EQ(game->log, "RURURSRRREURURU");
    EXPECT_EQ(system.waits, 3);
    EXPECT_FALSE(host.Suspended());
}

TEST_F(MainLoop, SettingTheRateStoresThePeriodAndRestartsTheClock) {
    host.nextUpdate = 5.0;
    host.SetUpdateRate(50);
    EXPECT_EQ(host.UpdateRate(), 50);
    EXPECT_DOUBLE_EQ(host.updatePeriod, 0.02);
    EXPECT_EQ(host.nextUpdate, 0.0);
    host.SetUpdateRate(0);
    EXPECT_DOUBLE_EQ(host.updatePeriod, 0.02) << "rate 0 keeps the last period";
}

}  // namespace
