// IPv4 name resolution through getaddrinfo and the POSIX spellings of the socket calls
// that differ from Winsock.
#include "platform/sockets.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

void resolve_ipv4(const char* host, int port, sockaddr_in* address) {
    std::memset(address, 0, sizeof *address);
    address->sin_family = AF_INET;
    address->sin_port = htons(static_cast<uint16_t>(port));
    address->sin_addr.s_addr = htonl(INADDR_ANY);
    size_t length = std::strlen(host);
    if (length == 0 || length >= 1024) return;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return;
    address->sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
}

int connect_ipv4(int handle, const sockaddr_in& address) {
    if (address.sin_addr.s_addr == htonl(INADDR_ANY)) return -1;
    return connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int close_socket(int handle) { return close(handle); }

int shutdown_socket(int handle) { return shutdown(handle, SHUT_RDWR); }

int send_bytes(int handle, const void* bytes, int count) {
    return static_cast<int>(send(handle, bytes, count, MSG_NOSIGNAL));
}

int send_bytes_to(int handle, const void* bytes, int count, const sockaddr_in& address) {
    return static_cast<int>(sendto(handle, bytes, count, MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&address), sizeof address));
}

void format_ipv4(const in_addr& address, char* text) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address.s_addr);
    std::snprintf(text, 16, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
}
