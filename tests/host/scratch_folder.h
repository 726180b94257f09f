// A fresh folder under /tmp that the test works in: the process's working directory moves
// into it for the test's lifetime and comes back afterwards; the folder is removed.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/tolvane-host-XXXXXX";
        path = mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(path);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void write(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    std::string path;

private:
    std::filesystem::path previous;
};
