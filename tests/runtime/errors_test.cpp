// Printing and runtime errors, observed from outside: each case runs in a child process whose
// standard streams are pipes, so the exit code and every byte written can be checked.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "runtime/errors.h"

namespace {

struct ChildResult {
    int exit_code;
    std::string out, err;
};

std::string read_all(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, got);
    close(fd);
    return text;
}

// Runs `body` in a child with `input` on its standard input (closed after it).
ChildResult run_child(const std::function<void()>& body, const std::string& input = "") {
    int in[2], out[2], err[2];
    EXPECT_EQ(pipe(in) | pipe(out) | pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        body();
        _exit(77);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (!input.empty()) {
        EXPECT_EQ(write(in[1], input.data(), input.size()), ssize_t(input.size()));
    }
    close(in[1]);
    ChildResult result{0, read_all(out[0]), read_all(err[0])};
    int status = 0;
    waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return result;
}

constexpr int kErrorExit = 255;  // -1 as the process exit status

class Target : public Object {
public:
    String debug() override { return String("+Target\n"); }
};

TEST(Errors, PrintWritesUtf8AndANewline) {
    Char text[] = {0xE9, u'x', 0x20AC};
    ChildResult r = run_child([&] { kvPrint(String(text, 3)); std::exit(0); });
    EXPECT_EQ(r.out, "\xC3\xA9x\xE2\x82\xAC\n");
}

TEST(Errors, EmptyErrorIsTheOrderlyQuit) {
    ChildResult r = run_child([] { kvError(String()); });
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(Errors, RuntimeErrorWithoutADebuggerPrintsAndExitsMinusOne) {
    ChildResult r = run_child([] { kvError(String("Image already initialized")); });
    EXPECT_EQ(r.exit_code, kErrorExit);
    EXPECT_EQ(r.out, "Tarvik Runtime Error : Image already initialized\n\n");
    EXPECT_EQ(r.err, "{{~~(null)~~}}\n\n");
}

struct StopCase {
    const char* name;
    std::string input;
    int exit_code;
    int reports;  // how many times the error was printed
    std::string out_tail;
};
const StopCase kStops[] = {
    {"run reports the error again", "r\n", kErrorExit, 2, ""},
    {"step and step-out resume too", "s\ne\nl\n", kErrorExit, 4, ""},
    {"queries are ignored", "?\n?\nq\n", 0, 1, ""},
    {"quit ends with success", "q\n", 0, 1, ""},
    {"unknown command", "zap\n", kErrorExit, 1, "????? zap ?????"},
    {"line without newline", "r", kErrorExit, 1, ""},
};

TEST(Errors, DebuggerStopProtocol) {
    for (const StopCase& c : kStops) {
        ChildResult r = run_child([] { kvError(String("X")); }, c.input);
        EXPECT_EQ(r.exit_code, c.exit_code) << c.name;
        std::string line = "Tarvik Runtime Error : X\n\n";
        int reports = 0;
        for (size_t at = r.out.find(line); at != std::string::npos; at = r.out.find(line, at + 1)) ++reports;
        EXPECT_EQ(reports, c.reports) << c.name;
        EXPECT_TRUE(r.out.ends_with(c.out_tail)) << c.name << ": " << r.out;
    }
}

TEST(Errors, DebuggerInspectsOnlyLiveObjects) {
    ChildResult r = run_child([] {
        gc_init_lists();
        Target* target = new Target;
        char command[64];
        std::snprintf(command, sizeof command, "%p", static_cast<void*>(target));
        std::string input = std::string("@") + command + "\n@0x1234\nq\n";
        // Feed the commands through a pipe we own, then stop.
        int fds[2];
        if (pipe(fds) != 0) _exit(3);
        if (write(fds[1], input.data(), input.size()) < 0) _exit(3);
        close(fds[1]);
        dup2(fds[0], 0);
        kvError(String("inspect"));
    });
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.err.find("+Target\n\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("+Target\n+Target"), std::string::npos);
}

struct SignalCase {
    int signal;
    const char* message;
};
const SignalCase kSignals[] = {
    {SIGFPE, "Floating point exception"},
    {SIGSEGV, "Memory access violation"},
    {SIGILL, "Illegal instruction"},
    {SIGUSR1, "Unknown signal"},
};

TEST(Errors, FatalSignalsBecomeRuntimeErrors) {
    for (const SignalCase& c : kSignals) {
        ChildResult r = run_child([&] {
            std::signal(c.signal, sighandler);
            std::raise(c.signal);
        });
        EXPECT_EQ(r.exit_code, kErrorExit) << c.message;
        EXPECT_EQ(r.out, std::string("Tarvik Runtime Error : ") + c.message + "\n\n");
    }
}

}  // namespace
