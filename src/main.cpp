// The executable's entry: starts the runtime and ends cleanly until the host takes over.
#include "runtime/gc.h"

int main() {
    gc_init_lists();
    gc_mark();
    return 0;
}
