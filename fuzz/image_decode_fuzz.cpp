// Hostile image file bytes through the decoder: anything must give pixels or none without a
// fault, and pixels that come back must have a depth of 1 to 4 and be readable to the end.
#include <cstdint>
#include <cstdlib>

#include "graphics/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = LoadImageMemory(data, size, &width, &height, &depth);
    if (!pixels) return 0;
    if (depth < 1 || depth > 4 || width < 1 || height < 1) std::abort();
    size_t bytes = static_cast<size_t>(width) * height * depth;
    volatile unsigned sum = 0;
    sum = sum + pixels[0] + pixels[bytes - 1];
    std::free(pixels);
    return 0;
}
