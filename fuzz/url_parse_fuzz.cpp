// Hostile URL texts: splitting must never read outside the text, and the parts must keep
// their promises (a path that starts with "/", a full path that starts with the path).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pairs of bytes are UTF-16 units, so every unit value, "://" and "@" alike, is reachable.
    std::vector<Char> units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(Char(data[i] | (data[i + 1] << 8)));
    String text(units.data(), int(units.size()));

    c_Url* url = (new c_Url)->m_new(text, String("http"), 80);
    if (url->path.Length() == 0 || url->path[0] != '/') std::abort();
    if (!url->p_FullPath().StartsWith(url->path)) std::abort();
    if (url->url != text) std::abort();
    int parts = url->scheme.Length() + url->domain.Length() + url->query.Length() + url->fragment.Length();
    if (parts > text.Length() + 4) std::abort();
    gc_collect(nullptr);
    return 0;
}
