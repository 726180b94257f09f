// Resolves the running program through /proc/self/exe, growing the buffer until the
// whole link fits, since readlink truncates silently.
#include "platform/executable_path.h"

#include <unistd.h>

std::string executable_path() {
    std::string path(256, '\0');
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) return std::string();
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
