// The host's small services: the local date into arrays of any length, milliseconds from the
// host's clock, the event wrappers' state rules with a collector step after each delivered
// event, and what a host without a desktop layer answers.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "fake_system.h"
#include "host/glfw_game.h"

namespace {

TEST(HostServices, DateFillsOnlyAsManyElementsAsTheArrayHas) {
    FakeSystem system;
    KvGlfwGame host(&system);
    Array<int> date(3);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    host.GetDate(date);
    EXPECT_EQ(date[0], local.tm_year + 1900);
    EXPECT_EQ(date[1], local.tm_mon + 1);
    EXPECT_EQ(date[2], local.tm_mday);
    Array<int> full(8);
    full[6] = full[7] = 99;
    host.GetDate(full);
    EXPECT_EQ(full[6], 0);
    EXPECT_EQ(full[7], 99);
    host.GetDate(Array<int>());
}

TEST(HostServices, MillisecondsComeFromTheHostClock) {
    FakeSystem system;
    KvGlfwGame host(&system);
    system.now = 12.3456;
    EXPECT_EQ(host.Millisecs(), 12345);
}

class EventLog : public KvGameDelegate {
public:
    std::string log;
    void StartGame() override { log += "start "; }
    void SuspendGame() override { log += "suspend "; }
    void ResumeGame() override { log += "resume "; }
    void UpdateGame() override { log += "update "; }
    void RenderGame() override { log += "render "; }
    void KeyEvent(int, int) override { log += "key "; }
    void MouseEvent(int, int, float, float) override { log += "mouse "; }
};

class CountingHost : public KvGame {
public:
    int collections = 0;
    void gc_collect() override {
        ++collections;
        KvGame::gc_collect();
    }
};

TEST(HostServices, WrappersFollowTheGameStateAndCollectAfterEachEvent) {
    CountingHost host;
    auto* game = new EventLog;
    host.SetDelegate(game);
    host.KeyEvent(KeyDown, 65);
    host.RenderGame();
    host.ResumeGame();
    EXPECT_EQ(game->log, "") << "nothing reaches a game that has not started";
    host.StartGame();
    host.StartGame();
    host.ResumeGame();
    host.SuspendGame();
    host.SuspendGame();
    host.UpdateGame();
    host.RenderGame();
    host.MouseEvent(MouseMove, -1, 1, 2);
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(game->log, "start suspend render mouse resume update ");
    EXPECT_EQ(host.collections, 6);
}

class Thrower : public KvGameDelegate {
public:
    void UpdateGame() override { throw new ThrowableObject; }
};

TEST(HostServices, AnExceptionEscapingTheGameEndsTheProcess) {
    KvGame host;
    host.SetDelegate(new Thrower);
    host.StartGame();
    EXPECT_EXIT(host.UpdateGame(), ::testing::ExitedWithCode(255), "");
}

TEST(HostServices, AHostWithoutDesktopAnswersWithDefaults) {
    KvGame host;
    EXPECT_EQ(host.Millisecs(), 0);
    EXPECT_FALSE(host.PollJoystick(0, Array<float>(2), Array<float>(2), Array<float>(2), Array<bool>(32)));
    EXPECT_EQ(host.GetDeviceWidth(), 0);
    EXPECT_EQ(host.GetDisplayModes().Length(), 0);
    EXPECT_EQ(host.GetDesktopMode(), nullptr);
    EXPECT_TRUE(host.PathToFilePath(String("tarvik://data/x")) == String("tarvik://data/x"));
    int w = 0, h = 0, d = 0;
    EXPECT_EQ(host.LoadImageData(String("x.png"), &w, &h, &d), nullptr);
}

}  // namespace
