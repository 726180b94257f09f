// Runs a fuzz entry point over every file of a corpus folder, so that inputs once found
// to crash stay regression tests in the ordinary (non-clang) build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path root(argv[i]);
        if (!std::filesystem::exists(root)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // Like the fuzzer, never hand over a null pointer, even for an empty input.
            static const uint8_t nothing = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &nothing : bytes.data(), bytes.size());
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    return 0;
}
