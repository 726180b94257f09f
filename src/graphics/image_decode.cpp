// Image decoding through stb_image: the file's own channel count is kept (0 components asked),
// oversized images are refused from their header, and every returned buffer is counted as
// external memory so that large images hasten the next collection.
#include "graphics/image_decode.h"

#include <climits>

#include <stb/stb_image.h>

#include "runtime/gc.h"

namespace {

// A header that promises more pixels than any game image has would make the decoder claim
// that much memory before it finds out that the data is not there.
bool size_acceptable(int width, int height) {
    return width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxImagePixels;
}

unsigned char* finish(unsigned char* pixels, int width, int height, int depth) {
    if (pixels) gc_ext_malloced(width * height * depth);
    return pixels;
}

}  // namespace

unsigned char* LoadImageFile(FILE* file, int* width, int* height, int* depth) {
    if (!file) return nullptr;
    int w = 0, h = 0, d = 0;
    if (!stbi_info_from_file(file, &w, &h, &d) || !size_acceptable(w, h)) return nullptr;
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    return finish(pixels, *width, *height, *depth);
}

unsigned char* LoadImageMemory(const unsigned char* bytes, size_t count, int* width, int* height, int* depth) {
    if (!bytes || count > static_cast<size_t>(INT_MAX)) return nullptr;
    int length = static_cast<int>(count);
    int w = 0, h = 0, d = 0;
    if (!stbi_info_from_memory(bytes, length, &w, &h, &d) || !size_acceptable(w, h)) return nullptr;
    unsigned char* pixels = stbi_load_from_memory(bytes, length, width, height, depth, 0);
    return finish(pixels, *width, *height, *depth);
}
