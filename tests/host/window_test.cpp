// The host's real window on an X server: size, title and place of the first window, the close
// button turned into the close key without closing anything, and held keys released when the
// window is re-created. Needs a display (run under xvfb-run).
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <string>

#include "host/glfw_game.h"
#include "host/keys.h"
#include "x11_requests.h"

namespace {

class KeyLog : public KvGameDelegate {
public:
    std::string log;
    void KeyEvent(int event, int data) override {
        log += (event == KeyDown ? "D" : event == KeyUp ? "U" : "C") + std::to_string(data) + " ";
    }
};

class HostWindow : public ::testing::Test {
protected:
    // The test's own connection to the server, as another client would have.
    static inline Display* client = nullptr;
    static void SetUpTestSuite() {
        ASSERT_TRUE(glfwInit());
        client = XOpenDisplay(nullptr);
    }
    static void TearDownTestSuite() {
        XCloseDisplay(client);
        glfwTerminate();
    }

    KvGlfwGame host;
    KeyLog* game = new KeyLog;

    void SetUp() override {
        host.SetDelegate(game);
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        host.StartGame();
        ASSERT_NE(host.Window(), nullptr);
        ASSERT_NE(client, nullptr);
        ASSERT_NE(x11_window(), 0u);
    }

    Display* display() { return client; }
    Window x11_window() { return find_window(client, "Tolvane"); }

    // Polls events until the log holds `text` or half a second of polling has passed.
    void poll_until_logged(const std::string& text) {
        for (int i = 0; i < 50 && game->log.find(text) == std::string::npos; ++i) {
            glfwWaitEventsTimeout(0.01);
        }
    }
};

TEST_F(HostWindow, OpensCentredAt640By480TitledTolvane) {
    EXPECT_EQ(host.GetDeviceWidth(), 640);
    EXPECT_EQ(host.GetDeviceHeight(), 480);
    EXPECT_EQ(window_title(display(), x11_window()), "Tolvane");
    const GLFWvidmode* desktop = glfwGetVideoMode(glfwGetPrimaryMonitor());
    int x = 0, y = 0;
    glfwGetWindowPos(host.Window(), &x, &y);
    EXPECT_EQ(x, (desktop->width - 640) / 2);
    EXPECT_EQ(y, (desktop->height - 480) / 2);
}

TEST_F(HostWindow, CloseButtonSendsTheCloseKeyAndKeepsTheWindow) {
    send_close_request(display(), x11_window());
    poll_until_logged("U432");
    EXPECT_EQ(game->log, "D432 U432 ");
    EXPECT_FALSE(glfwWindowShouldClose(host.Window()));
    EXPECT_NE(host.Window(), nullptr);
}

TEST_F(HostWindow, KeysReachTheGameTranslatedWithTheirCharacters) {
    send_key(display(), x11_window(), XK_Left, true);
    send_key(display(), x11_window(), XK_Left, false);
    poll_until_logged("U37");
    EXPECT_EQ(game->log, "D37 C65573 U37 ");
}

TEST_F(HostWindow, HeldKeysAreReleasedBeforeTheWindowIsRecreated) {
    send_key(display(), x11_window(), XK_a, true);
    poll_until_logged("D65");
    ASSERT_EQ(glfwGetKey(host.Window(), GLFW_KEY_A), GLFW_PRESS);
    int windows = glfwGraphicsSeq;
    game->log.clear();
    host.SetDelegate(game);
    host.SetGlfwWindow(320, 240, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(game->log, "U65 ");
    EXPECT_EQ(glfwGraphicsSeq, windows + 1) << "a new window means a new GL context";
    EXPECT_EQ(host.GetDeviceWidth(), 320);
}

}  // namespace
