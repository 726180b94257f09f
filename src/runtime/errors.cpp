// Printing, runtime errors and the debugger stop protocol.
#include "runtime/errors.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

const char* dbg_info = nullptr;
int dbg_stepmode = 0;
int dbg_suspend = 0;

namespace {

// Reused between calls so printing a line allocates only when a longer line comes along.
std::vector<char> print_buffer;
std::vector<char> debug_buffer;

// The debugger may only inspect objects the collector knows: a pointer read from the
// stream is looked up on the collector's lists before it is touched.
Object* find_live_object(void* pointer) {
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
        for (gc_object* o = list->succ; o != list; o = o->succ) {
            if (o == pointer) return dynamic_cast<Object*>(o);
        }
    }
    return nullptr;
}

}  // namespace

int kvPrint(const String& text) {
    int length = text.Utf8Length();
    print_buffer.resize(length + 2);
    text.EncodeUtf8(print_buffer.data());
    print_buffer[length] = '\n';
    print_buffer[length + 1] = 0;
    std::fputs(print_buffer.data(), stdout);
    std::fflush(stdout);
    return 0;
}

int kvDebugLog(const String& text) { return kvPrint(text); }

void kvError(const String& message) {
    if (message.Length() == 0) std::exit(0);
    dbg_error(message.ToCString());
}

void dbg_error(const char* message) {
    for (;;) {
        kvPrint(String("Tarvik Runtime Error : ") + String(message));
        kvPrint(dbg_stacktrace());
        dbg_stop();
    }
}

String dbg_stacktrace() {
    if (!dbg_info) return String();
    return String("\n") + String(dbg_info);
}

void dbg_print(const String& text) {
    debug_buffer.resize(text.Length() + 1);
    for (int i = 0; i < text.Length(); ++i) debug_buffer[i] = static_cast<char>(text[i]);
    debug_buffer[text.Length()] = '\n';
    std::fwrite(debug_buffer.data(), 1, debug_buffer.size(), stderr);
    std::fflush(stderr);
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "(null)");
    std::fflush(stderr);
    std::fprintf(stderr, "\n");
    std::fflush(stderr);

    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin) || !std::strchr(line, '\n')) std::exit(kExitRuntimeError);
        switch (line[0]) {
        case '?':
            continue;
        case '@': {
            void* pointer = nullptr;
            std::sscanf(line + 1, "%p", &pointer);
            Object* object = pointer ? find_live_object(pointer) : nullptr;
            dbg_print(object ? object->debug() : String());
            continue;
        }
        case 'r':
            dbg_suspend = 0;
            dbg_stepmode = 0;
            return;
        case 's':
        case 'e':
            dbg_suspend = 1;
            dbg_stepmode = line[0];
            return;
        case 'l':
            dbg_suspend = 0;
            dbg_stepmode = 'l';
            return;
        case 'q':
            std::exit(0);
        default:
            *std::strchr(line, '\n') = 0;
            std::printf("????? %s ?????", line);
            std::fflush(stdout);
            std::exit(kExitRuntimeError);
        }
    }
}

void sighandler(int signal) {
    switch (signal) {
    case SIGFPE:
        dbg_error("Floating point exception");
    case SIGSEGV:
        dbg_error("Memory access violation");
    case SIGILL:
        dbg_error("Illegal instruction");
    default:
        dbg_error("Unknown signal");
    }
}
