// The program itself on an X server: it opens its 640 by 480 "Tolvane" window, and it ends
// with exit code 0 when the window's close button is pressed or when F4 is typed; without a
// display it cannot start and says so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "x11_requests.h"

namespace {

class RunningProgram : public ::testing::Test {
protected:
    Display* client = XOpenDisplay(nullptr);
    pid_t program = -1;
    Window window = 0;

    void SetUp() override {
        ASSERT_NE(client, nullptr);
        const char* build = std::getenv("TOLVANE_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        std::string path = std::string(build) + "/tolvane";
        program = fork();
        if (program == 0) {
            setenv("ALSOFT_DRIVERS", "null", 1);  // no sound card on a test server
            execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && !window; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            window = find_window(client, "Tolvane");
        }
        ASSERT_NE(window, 0u) << "the program opened no window";
        // Give the loop a few frames so the window is focused and the game is updating.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    void TearDown() override {
        if (program > 0) kill(program, SIGKILL);
        if (program > 0) waitpid(program, nullptr, 0);
        XCloseDisplay(client);
    }

    // The program's exit code, or -1000 if it is still running after five seconds.
    int wait_for_exit() {
        for (int i = 0; i < 500; ++i) {
            int status = 0;
            if (waitpid(program, &status, WNOHANG) == program) {
                program = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1000;
    }
};

TEST_F(RunningProgram, OpensA640By480Window) {
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(client, window, &attributes));
    EXPECT_EQ(attributes.width, 640);
    EXPECT_EQ(attributes.height, 480);
    EXPECT_EQ(attributes.map_state, IsViewable);
}

TEST_F(RunningProgram, CloseButtonEndsItWithExitCodeZero) {
    send_close_request(client, window);
    EXPECT_EQ(wait_for_exit(), 0);
}

TEST_F(RunningProgram, F4EndsItWithExitCodeZero) {
    send_key(client, window, XK_F4, true);
    EXPECT_EQ(wait_for_exit(), 0);
}

TEST(ProgramStart, WithoutADisplayItSaysSoAndEndsWithMinusOne) {
    const char* build = std::getenv("TOLVANE_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(build) + "/tolvane 2>/dev/null";
    FILE* output = popen(command.c_str(), "r");
    ASSERT_NE(output, nullptr);
    char line[64] = {};
    std::string text = std::fgets(line, sizeof line, output) ? line : "";
    int status = pclose(output);
    EXPECT_EQ(text, "glfwInit failed\n");
    EXPECT_EQ(WEXITSTATUS(status), 255);
}

}  // namespace
