// Hostile HTTP responses fed to the response parser in pieces, the way receives land them:
// no read or write outside the receive buffer, and the status and body stay within bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/http.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte picks the piece size, so splits inside every line get explored.
    size_t step = data[0] + 1;
    ++data;
    --size;

    auto* request = (new c_HttpRequest)->m_new2(String("GET"), String("http://fuzz/"), nullptr);
    request->headers->p_Clear();  // the request head has gone out
    int next = 0;
    for (size_t at = 0; at < size && next >= 0;) {
        if (next < 0 || next >= c_HttpRequest::kReceiveBufferBytes) std::abort();
        size_t room = size_t(c_HttpRequest::kReceiveBufferBytes - next);
        size_t piece = step < size - at ? step : size - at;
        if (piece > room) piece = room;
        std::memcpy(request->receiveBuffer->data + next, data + at, piece);
        at += piece;
        next = request->p_TakeResponseBytes(next, int(piece));
    }
    request->p_Finish();
    if (request->p_ResponseText().Length() > c_HttpRequest::kMaxBodyBytes) std::abort();
    if (request->p_Status() != -1 && !request->bodyChunks) std::abort();
    gc_collect(nullptr);
    return 0;
}
