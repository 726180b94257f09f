// File-system help shared by the image, sound and music writers.
#pragma once

#include <string>

namespace assetgen {

// Creates the folders a file path needs.
void make_parent_dirs(const std::string& path);

}  // namespace assetgen
