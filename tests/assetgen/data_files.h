// Where the tests find the generated data: the build folder's data/, named by the test runner.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string data_path(const std::string& relative) {
  const char* build = std::getenv("TOLVANE_BUILD_DIR");
  return std::string(build ? build : ".") + "/data/" + relative;
}

inline std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
