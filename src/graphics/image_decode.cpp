// Image decoding through stb_image: the file's own channel count is kept (0 components asked),
// data whose header or chunk sizes promise more than it can hold is refused before the decoder
// reserves memory for the promise, and every returned buffer is counted as external memory.
#include "graphics/image_decode.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include <stb/stb_image.h>

#include "runtime/gc.h"

namespace {

bool size_acceptable(int width, int height) {
    return width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxImagePixels;
}

// The decoder grows its buffer to each data chunk's stated length before reading it, so a few
// bytes that claim a 2 GiB chunk would cost 2 GiB. Other formats have no such lengths.
bool png_chunks_fit(const unsigned char* bytes, size_t count) {
    static const unsigned char kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    if (count < 8 || std::memcmp(bytes, kSignature, 8) != 0) return true;
    size_t at = 8;
    while (count - at >= 8) {
        const unsigned char* header = bytes + at;
        uint32_t length = uint32_t(header[0]) << 24 | uint32_t(header[1]) << 16 | uint32_t(header[2]) << 8 | header[3];
        at += 8;
        if (length > count - at) return false;
        if (std::memcmp(header + 4, "IEND", 4) == 0) return true;
        at += length;
        at += count - at < 4 ? count - at : 4;  // the checksum
    }
    return true;
}

std::vector<unsigned char> read_rest(FILE* file) {
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    return bytes;
}

}  // namespace

unsigned char* LoadImageFile(FILE* file, int* width, int* height, int* depth) {
    if (!file) return nullptr;
    std::vector<unsigned char> bytes = read_rest(file);
    return LoadImageMemory(bytes.data(), bytes.size(), width, height, depth);
}

unsigned char* LoadImageMemory(const unsigned char* bytes, size_t count, int* width, int* height, int* depth) {
    if (!bytes || count == 0 || count > static_cast<size_t>(INT_MAX)) return nullptr;
    int length = static_cast<int>(count);
    int w = 0, h = 0, d = 0;
    if (!stbi_info_from_memory(bytes, length, &w, &h, &d) || !size_acceptable(w, h)) return nullptr;
    if (!png_chunks_fit(bytes, count)) return nullptr;
    unsigned char* pixels = stbi_load_from_memory(bytes, length, width, height, depth, 0);
    if (pixels) gc_ext_malloced(*width * *height * *depth);
    return pixels;
}
