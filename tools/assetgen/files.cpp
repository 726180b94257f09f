// File-system help shared by the image, sound and music writers.
#include "files.h"

#include <filesystem>

namespace assetgen {

void make_parent_dirs(const std::string& path) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
}

}  // namespace assetgen
