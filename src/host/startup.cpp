// The process start-up: GLFW, the one host object, the signal handlers, the locale, the
// collector and the module globals, then the app, whose construction hands the host its
// delegate, and the loop. Kept apart from the host so that tests link the host without a game.
#include <GLFW/glfw3.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "host/glfw_game.h"

int argc = 0;
char** argv = nullptr;

KvTarvikGame::~KvTarvikGame() {}

void KvTarvikGame::Main(int arguments, char** values) {
    if (!glfwInit()) {
        std::fputs("glfwInit failed\n", stdout);
        std::fflush(stdout);
        std::exit(kExitRuntimeError);
    }
    KvTarvikGame* game = new KvTarvikGame;
    argc = arguments;
    argv = values;
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_init_lists();
    try {
        kvInit();
        gc_mark();
        kvMain();
    } catch (ThrowableObject* exception) {
        glfwTerminate();
        game->Die(exception);
    }
    if (game->Delegate()) game->Run();
    glfwTerminate();
}
