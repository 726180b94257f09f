// Hostile WAVE files: the reader must never read outside the bytes it is given, and whatever
// it accepts must be self-consistent: a non-empty frame, no more sample bytes than the file
// holds, and the same answer whether it reads from memory or from an open file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/sound_decode.h"

namespace {

struct Result {
    unsigned char* data = nullptr;
    int length = 0, channels = 0, format = 0, hertz = 0;
    size_t bytes() const { return size_t(length) * size_t(channels) * size_t(format); }
};

bool same(const Result& a, const Result& b) {
    if (!a.data || !b.data) return !a.data && !b.data;
    return a.length == b.length && a.channels == b.channels && a.format == b.format && a.hertz == b.hertz &&
           std::memcmp(a.data, b.data, a.bytes()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result memory;
    memory.data = LoadWAVFromMemory(data, size, &memory.length, &memory.channels, &memory.format, &memory.hertz);
    if (memory.data) {
        if (memory.channels <= 0 || memory.format <= 0 || memory.length < 0 || memory.hertz <= 0) std::abort();
        if (memory.bytes() > size) std::abort();
    }

    Result file;
    if (FILE* handle = std::tmpfile()) {
        if (size) std::fwrite(data, 1, size, handle);
        std::rewind(handle);
        file.data = LoadWAV(handle, &file.length, &file.channels, &file.format, &file.hertz);
        std::fclose(handle);
        if (!same(memory, file)) std::abort();
    }
    std::free(memory.data);
    std::free(file.data);
    return 0;
}
