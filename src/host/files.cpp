// File reading in fixed blocks: the size of a file is not asked for in advance, so pipes and
// files that change while being read still come out whole and consistent.
#include "host/files.h"

#include <cstdlib>

std::string to_utf8(const String& text) {
    std::string bytes(text.Utf8Length(), '\0');
    text.EncodeUtf8(bytes.data());
    return bytes;
}

unsigned char* read_whole_file(FILE* file, int* length) {
    constexpr size_t kBlock = 4096;
    size_t size = 0;
    size_t capacity = kBlock;
    auto* data = static_cast<unsigned char*>(std::malloc(capacity));
    if (!data) return nullptr;
    for (;;) {
        if (capacity - size < kBlock) {
            auto* grown = static_cast<unsigned char*>(std::realloc(data, capacity * 2));
            if (!grown) {
                std::free(data);
                return nullptr;
            }
            data = grown;
            capacity *= 2;
        }
        size_t got = std::fread(data + size, 1, kBlock, file);
        size += got;
        if (got < kBlock) break;
    }
    *length = static_cast<int>(size);
    return data;
}
