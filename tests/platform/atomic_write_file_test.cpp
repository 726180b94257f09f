// Whole-file replacement: the new content replaces the old in one step, nothing is left
// beside the file, and a write that cannot start leaves the old file alone.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/atomic_write_file.h"

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class AtomicWrite : public ::testing::Test {
protected:
    std::string folder;
    void SetUp() override {
        char pattern[] = "/tmp/tolvane-atomic-XXXXXX";
        folder = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    int entries() {
        int count = 0;
        for (auto& entry : std::filesystem::directory_iterator(folder)) count += entry.exists();
        return count;
    }
};

TEST_F(AtomicWrite, ReplacesTheWholeFileAndLeavesNothingBeside) {
    std::string file = folder + "/state";
    ASSERT_EQ(atomic_write_file(file.c_str(), "a long first version", 20), 0);
    ASSERT_EQ(atomic_write_file(file.c_str(), "short", 5), 0);
    EXPECT_EQ(read_file(file), "short");
    ASSERT_EQ(atomic_write_file(file.c_str(), "", 0), 0);
    EXPECT_EQ(read_file(file), "");
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicWrite, MissingFolderFailsToOpen) {
    std::string file = folder + "/no/such/state";
    EXPECT_EQ(atomic_write_file(file.c_str(), "x", 1), -1);
}

TEST_F(AtomicWrite, RenameOntoAFolderFailsAndKeepsIt) {
    std::string target = folder + "/taken";
    std::filesystem::create_directory(target);
    std::ofstream(target + "/inside") << "kept";
    EXPECT_EQ(atomic_write_file(target.c_str(), "x", 1), -2);
    EXPECT_EQ(read_file(target + "/inside"), "kept");
    EXPECT_EQ(entries(), 1) << "the temporary file is removed";
}

}  // namespace
