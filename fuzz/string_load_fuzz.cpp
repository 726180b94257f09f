// Hostile file contents through the text decoder: any bytes must decode without a fault, and
// the decoded units must survive being encoded as UTF-8 and decoded again (a leading U+FEFF
// is the one exception: it reads back as a byte-order mark).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    String text = String::DecodeText(data, size);
    std::vector<unsigned char> utf8(text.Utf8Length());
    text.EncodeUtf8(reinterpret_cast<char*>(utf8.data()));
    String again = String::DecodeText(utf8.data(), utf8.size());
    bool leading_bom = text.Length() > 0 && text[0] == 0xFEFF;
    if (!leading_bom && again != text) std::abort();
    return 0;
}
