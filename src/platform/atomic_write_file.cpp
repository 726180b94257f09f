// Temporary file, full write, fsync, rename, then a sync of the folder so that the rename
// itself survives a power loss. The temporary name carries the process id, so two running
// copies of the program never write into each other's temporary file.
#include "platform/atomic_write_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

bool write_all(int fd, const char* bytes, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

std::string folder_of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void sync_folder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

int atomic_write_file(const char* path, const void* data, size_t size) {
    std::string target(path);
    std::string temporary = target + ".tmp" + std::to_string(getpid());
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    bool written = write_all(fd, static_cast<const char*>(data), size) && fsync(fd) == 0;
    if (close(fd) != 0) written = false;
    if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return -2;
    }
    sync_folder(folder_of(target));
    return 0;
}
