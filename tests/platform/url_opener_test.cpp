// The URL opener: the URL reaches the opener as one argument, untouched by any shell, and the
// caller neither waits for the opener nor keeps a zombie child.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/url_opener.h"

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A stand-in xdg-open first in PATH that records its arguments, one per line, then lingers
// so that a caller waiting for it would be noticed.
class FakeOpener : public ::testing::Test {
protected:
    std::string folder;
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";

    void SetUp() override {
        char pattern[] = "/tmp/tolvane-opener-XXXXXX";
        folder = mkdtemp(pattern);
        std::ofstream script(folder + "/xdg-open");
        script << "#!/bin/sh\nsleep 1\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" << folder
               << "/args.tmp\"\nprintf '%s\\n' \"$#\" >> \"" << folder << "/args.tmp\"\nmv \"" << folder
               << "/args.tmp\" \"" << folder << "/args\"\n";
        script.close();
        std::filesystem::permissions(folder + "/xdg-open", std::filesystem::perms::owner_all);
        setenv("PATH", (folder + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        std::filesystem::remove_all(folder);
    }

    std::string wait_for_arguments() {
        for (int i = 0; i < 100 && !std::filesystem::exists(folder + "/args"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return read_file(folder + "/args");
    }
};

TEST_F(FakeOpener, PassesTheUrlAsOneArgumentWithoutAShell) {
    std::string marker = folder + "/injected";
    std::string url = "http://example.invalid/a b?x=1;touch " + marker + "&y=$(touch " + marker + ")`touch " +
                      marker + "`";
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(open_url_detached(url.c_str()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900))
        << "the caller does not wait for the opener";
    EXPECT_EQ(wait_for_arguments(), url + "\n1\n");
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(FakeOpener, LeavesNoChildToReap) {
    ASSERT_TRUE(open_url_detached("http://example.invalid/"));
    wait_for_arguments();
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(FakeOpener, DoesNotReapOtherChildren) {
    pid_t other = fork();
    if (other == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        _exit(7);
    }
    ASSERT_TRUE(open_url_detached("http://example.invalid/"));
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other) << "the other child is still ours to wait for";
    EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
