// Runs the generator twice into fresh folders: both runs must write exactly the files of the
// asset table, and the same bytes, so a rebuild never changes the game's data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include <unistd.h>

#include "asset_table.h"
#include "assetgen/data_files.h"

namespace fs = std::filesystem;

namespace {

// The two runs are made once for the whole suite.
class TwoRuns : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    for (const char* run : {"first", "second"}) {
      std::string command = std::string("\"") + ASSETGEN_BINARY + "\" \"" + (root_ / run / "data").string() +
                            "\" \"" + (root_ / run / "preview.png").string() + "\"";
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }

  static std::set<std::string> files_under(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
      if (entry.is_regular_file()) names.insert(fs::relative(entry.path(), dir).string());
    return names;
  }

  static inline fs::path root_;
};

TEST_F(TwoRuns, WriteExactlyTheFilesOfTheAssetTable) {
  std::set<std::string> expected;
  for (const assetgen::ImageAsset& asset : assetgen::kImages)
    for (const assetgen::Level& level : assetgen::kLevels)
      if (level.scale == 1 || asset.has_hd) expected.insert(image_file(asset, level));
  for (int number : assetgen::kSounds) expected.insert(assetgen::sound_file(number));
  for (const assetgen::Tune& tune : assetgen::kTunes) expected.insert(std::string("sfx/") + tune.name + ".ogg");
  EXPECT_EQ(files_under(root_ / "first" / "data"), expected);
}

TEST_F(TwoRuns, WriteIdenticalBytes) {
  std::set<std::string> first = files_under(root_ / "first"), second = files_under(root_ / "second");
  ASSERT_EQ(first, second);
  for (const std::string& name : first) {
    EXPECT_EQ(read_bytes((root_ / "first" / name).string()), read_bytes((root_ / "second" / name).string()))
        << name << " differs between runs";
  }
}

TEST_F(TwoRuns, KeepTheDataFolderSmall) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root_ / "first" / "data"))
    if (entry.is_regular_file()) bytes += entry.file_size();
  EXPECT_LT(bytes, 25u * 1024 * 1024);
}

}  // namespace
