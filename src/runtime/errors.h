// How the runtime talks when something is printed or goes wrong: log lines, the runtime error
// that ends the program (empty message: the orderly quit), fatal signals, and the line protocol
// through which a debugger on the standard streams can inspect and resume a stopped program.
#pragma once

#include "runtime/gc.h"
#include "runtime/string.h"

// Base of the game-level exceptions; thrown as pointers, caught by the host around every event.
class ThrowableObject : public Object {};

extern const char* dbg_info;
extern int dbg_stepmode;
extern int dbg_suspend;

int kvPrint(const String& text);
int kvDebugLog(const String& text);
[[noreturn]] void kvError(const String& message);
[[noreturn]] void dbg_error(const char* message);
String dbg_stacktrace();
void dbg_stop();
void dbg_print(const String& text);
void sighandler(int signal);

// The process exit code of a runtime error, an uncaught exception or a failed start.
constexpr int kExitRuntimeError = -1;
