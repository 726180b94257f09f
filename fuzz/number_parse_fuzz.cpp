// Hostile numbers from the saved state: parsing must never overflow or read past the text,
// and every value it gives must format and parse back to itself.
#include <cstdint>
#include <cstdlib>

#include "runtime/string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    String text = String::DecodeText(data, size);
    int value = text.ToInt();
    if (String(value).ToInt() != value) std::abort();
    float f;
    if (size >= sizeof f) {
        __builtin_memcpy(&f, data, sizeof f);
        String formatted(f);
        if (formatted.Length() == 0) std::abort();
    }
    return 0;
}
