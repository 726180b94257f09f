// A double fork: the short-lived middle child is reaped at once by its own pid, so no zombie
// stays and no other child of the program is waited for; the grandchild, adopted by init,
// runs the opener for as long as it likes.
#include "platform/url_opener.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

bool open_url_detached(const char* url) {
    // Prepared before forking: only exec and _exit run in the children.
    char program[] = "xdg-open";
    char* const arguments[] = {program, const_cast<char*>(url), nullptr};
    pid_t middle = fork();
    if (middle < 0) return false;
    if (middle == 0) {
        setsid();
        pid_t opener = fork();
        if (opener == 0) {
            execvp(program, arguments);
            _exit(127);
        }
        _exit(opener < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
