// Hostile saved-state files through the host's state loading: whatever bytes the file holds,
// loading must not fault, and the loaded state must come back unchanged after a save and a
// second load (a leading U+FEFF excepted: it reads back as a byte-order mark).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host/game.h"

namespace {

// The state file lives in the working directory: work in a folder of our own.
KvGame& host_in_scratch_folder() {
    static KvGame* host = [] {
        char pattern[] = "/tmp/tolvane-state-fuzz-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
        return new KvGame;
    }();
    return *host;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KvGame& host = host_in_scratch_folder();
    FILE* file = std::fopen(".tarvikstate", "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    String state = host.LoadState();
    if (host.SaveState(state) != 0) std::abort();
    String again = host.LoadState();
    bool leading_bom = state.Length() > 0 && state[0] == 0xFEFF;
    if (!leading_bom && again != state) std::abort();
    return 0;
}
