// Data paths, file reading and the saved state: where each kind of path leads, UTF-8 file
// names, whole-file reads, the state file's encoding and place, and a failed save that must
// leave the previous state intact.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "fake_system.h"
#include "host/data_path.h"
#include "host/files.h"
#include "host/glfw_game.h"
#include "scratch_folder.h"

namespace {

std::string utf8(const String& text) { return to_utf8(text); }

struct FixCase {
    const char* path;
    const char* want;
};

const FixCase kFixes[] = {
    {"images/a.png", "tarvik://data/images/a.png"},
    {"y.png", "tarvik://data/y.png"},
    {"C:/x/y.png", "C:/x/y.png"},
    {"./y.png", "./y.png"},
    {"/x", "/x"},
    {"tarvik://internal/x", "tarvik://internal/x"},
    {"a/b:/c", "tarvik://data/a/b:/c"},
    {"", "tarvik://data/"},
};

TEST(DataPath, PlainNamesGoToTheDataFolderAndLocationsStay) {
    for (const FixCase& c : kFixes) EXPECT_EQ(utf8(kv_data_FixDataPath(String(c.path))), c.want) << c.path;
}

class HostFiles : public ::testing::Test {
protected:
    FakeSystem system;
    KvGlfwGame host{&system};
};

struct PathCase {
    const char* path;
    const char* suffix;  // after the executable's folder; null: the path itself; "": no file
};

const PathCase kPaths[] = {
    {"tarvik://data/gfx/a.png", "/data/gfx/a.png"},
    {"tarvik://internal/s.txt", "/internal/s.txt"},
    {"tarvik://external/e.dat", "/external/e.dat"},
    {"tarvik://other/x", ""},
    {"tarvik:x", ""},
    {"gfx/a.png", nullptr},
    {"./.tarvikstate", nullptr},
};

TEST_F(HostFiles, TarvikPathsLeadBesideTheExecutable) {
    std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    for (const PathCase& c : kPaths) {
        std::string want = !c.suffix ? c.path : *c.suffix ? folder + c.suffix : "";
        EXPECT_EQ(utf8(host.PathToFilePath(String(c.path))), want) << c.path;
    }
    EXPECT_EQ(host.OpenFile(String("tarvik://other/x"), String("rb")), nullptr);
}

TEST_F(HostFiles, OpensFilesWithNonAsciiNames) {
    ScratchFolder folder;
    ScratchFolder::write("caf\xC3\xA9.txt", "menu");
    const Char name[] = {u'c', u'a', u'f', 0xE9, u'.', u't', u'x', u't'};
    EXPECT_EQ(utf8(host.LoadString(String(name, 8))), "menu");
}

TEST_F(HostFiles, LoadsWholeFilesAcrossBlocks) {
    ScratchFolder folder;
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 7);
    ScratchFolder::write("blob.bin", bytes);
    ScratchFolder::write("empty.bin", "");
    int length = -1;
    unsigned char* data = host.LoadData(String("blob.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    std::free(data);
    data = host.LoadData(String("empty.bin"), &length);
    ASSERT_NE(data, nullptr) << "an empty file is data, not a missing file";
    EXPECT_EQ(length, 0);
    std::free(data);
    EXPECT_EQ(host.LoadData(String("missing.bin"), &length), nullptr);
    EXPECT_EQ(host.LoadString(String("missing.txt")).Length(), 0);
}

TEST_F(HostFiles, StateRoundTripsAsUtf8) {
    ScratchFolder folder;
    EXPECT_EQ(host.LoadState().Length(), 0) << "no file, no state";
    const Char state[] = {u'h', 0xE9, u'!', 0x20AC};
    ASSERT_EQ(host.SaveState(String(state, 4)), 0);
    EXPECT_EQ(ScratchFolder::read(".tarvikstate"), "h\xC3\xA9!\xE2\x82\xAC");
    EXPECT_TRUE(host.LoadState() == String(state, 4));
    ASSERT_EQ(host.SaveState(String()), 0);
    EXPECT_TRUE(std::filesystem::exists(".tarvikstate"));
    EXPECT_EQ(std::filesystem::file_size(".tarvikstate"), 0u);
    EXPECT_EQ(host.LoadState().Length(), 0);
}

TEST_F(HostFiles, StateFileBelongsToTheWorkingDirectory) {
    ScratchFolder first;
    ASSERT_EQ(host.SaveState(String("first")), 0);
    {
        ScratchFolder second;
        EXPECT_EQ(host.LoadState().Length(), 0);
        ASSERT_EQ(host.SaveState(String("second")), 0);
        EXPECT_EQ(ScratchFolder::read(second.path + "/.tarvikstate"), "second");
    }
    EXPECT_EQ(utf8(host.LoadState()), "first");
}

// Runs `save` in a child process (so limits and a vanished folder stay there) and returns the
// child's exit status, which carries SaveState's result plus 10.
int save_in_child(const std::function<int()>& save) {
    pid_t child = fork();
    if (child == 0) _exit(save() + 10);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) - 10 : 100;
}

TEST_F(HostFiles, SaveKeepsOldStateWhenWriteFails) {
    ScratchFolder folder;
    ASSERT_EQ(host.SaveState(String("highscores: 100 90 80")), 0);
    // A file-size limit makes the write come up short, as a full disk does.
    int result = save_in_child([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        return host.SaveState(String("highscores: 200 190 180 170"));
    });
    EXPECT_EQ(result, -2);
    EXPECT_EQ(ScratchFolder::read(".tarvikstate"), "highscores: 100 90 80");
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(".")) files += entry.exists();
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(HostFiles, SaveReportsAFolderThatCannotTakeTheFile) {
    int result = save_in_child([&] {
        ScratchFolder gone;
        std::filesystem::remove(gone.path);
        return host.SaveState(String("x"));
    });
    EXPECT_EQ(result, -1);
}

}  // namespace
