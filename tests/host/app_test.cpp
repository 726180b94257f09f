// The app module's host side: display sizes listed once each in first-seen order, the desktop
// size with its fallback, the cached device size, the update rate and the saved state reaching
// the host, and ending the app.
#include <gtest/gtest.h>

#include <vector>

#include "host/app.h"
#include "scratch_folder.h"

namespace {

class ModesHost : public KvGame {
public:
    std::vector<std::pair<int, int>> modes;
    bool hasDesktop = true;
    int width = 0, height = 0;
    int rate = -1;

    Array<KvDisplayMode*> GetDisplayModes() override {
        Array<KvDisplayMode*> result(static_cast<int>(modes.size()));
        for (size_t i = 0; i < modes.size(); ++i) {
            auto* mode = new KvDisplayMode;
            mode->width = modes[i].first;
            mode->height = modes[i].second;
            mode->depth = i % 2 ? 16 : 32;
            gc_assign(result[static_cast<int>(i)], mode);
        }
        return result;
    }
    KvDisplayMode* GetDesktopMode() override {
        if (!hasDesktop) return nullptr;
        auto* mode = new KvDisplayMode;
        mode->width = 1920;
        mode->height = 1080;
        return mode;
    }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    void SetUpdateRate(int hertz) override { rate = hertz; }
};

class AppModule : public ::testing::Test {
protected:
    ModesHost host;
    void SetUp() override { kv_app_InitGlobals(); }
};

TEST_F(AppModule, ListsEachDisplaySizeOnceInFirstSeenOrder) {
    host.modes = {{640, 480}, {640, 480}, {800, 600}, {1920, 1080}, {800, 600}, {1920, 1080}, {480, 640}};
    kv_app_EnumDisplayModes();
    ASSERT_EQ(kv_app__displayModes.Length(), 4);
    const int want[4][2] = {{640, 480}, {800, 600}, {1920, 1080}, {480, 640}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(kv_app__displayModes[i]->width, want[i][0]);
        EXPECT_EQ(kv_app__displayModes[i]->height, want[i][1]);
    }
    EXPECT_EQ(kv_app__desktopMode->width, 1920);
    EXPECT_EQ(kv_app__desktopMode->height, 1080);
}

TEST_F(AppModule, WithoutADesktopModeTheDesktopIsTheLastSeenDeviceSize) {
    host.hasDesktop = false;
    kv_app_EnumDisplayModes();
    EXPECT_EQ(kv_app__displayModes.Length(), 0);
    EXPECT_EQ(kv_app__desktopMode->width, 0) << "never measured";
    EXPECT_EQ(kv_app__desktopMode->height, 0);
    host.width = 1024;
    host.height = 768;
    kv_app_ValidateDeviceWindow(false);
    kv_app_EnumDisplayModes();
    EXPECT_EQ(kv_app__desktopMode->width, 1024);
    EXPECT_EQ(kv_app__desktopMode->height, 768);
}

TEST_F(AppModule, DeviceSizeChangesOnlyWhenValidated) {
    host.width = 640;
    host.height = 480;
    kv_app_ValidateDeviceWindow(false);
    host.width = 800;
    EXPECT_EQ(kv_app_DeviceWidth(), 640);
    kv_app_ValidateDeviceWindow(true);
    EXPECT_EQ(kv_app_DeviceWidth(), 800);
    EXPECT_EQ(kv_app_DeviceHeight(), 480);
}

TEST_F(AppModule, UpdateRateAndStateReachTheHost) {
    kv_app_SetUpdateRate(60);
    EXPECT_EQ(kv_app__updateRate, 60);
    EXPECT_EQ(host.rate, 60);
    ScratchFolder folder;
    kv_app_SaveState(String("options=1"));
    EXPECT_EQ(ScratchFolder::read(".tarvikstate"), "options=1");
    EXPECT_TRUE(kv_app_LoadState() == String("options=1"));
}

TEST_F(AppModule, EndAppQuitsWithExitCodeZero) {
    EXPECT_EXIT(kv_app_EndApp(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
