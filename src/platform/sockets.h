// POSIX stand-ins for the Winsock services the network layer uses: IPv4 name resolution and
// the handful of calls whose POSIX spelling differs (closing, sending without SIGPIPE).
#pragma once

#include <netinet/in.h>

constexpr int kInvalidSocket = -1;

// Fills `address` with AF_INET, `port` in network order and the first IPv4 address of `host`;
// an empty, over-long (1024 bytes or more) or unknown host leaves the address at 0.0.0.0.
void resolve_ipv4(const char* host, int port, sockaddr_in* address);

// Connects to an IPv4 address; the any-address (what an unknown host resolves to) is refused
// as Winsock refuses it, instead of reaching the local host as Linux would. 0 on success.
int connect_ipv4(int handle, const sockaddr_in& address);

int close_socket(int handle);
// Ends both directions of a connection while keeping the handle: a call blocked on it returns
// at once instead of waiting for a peer that may never speak.
int shutdown_socket(int handle);

// send/sendto that report a closed peer as an error instead of raising SIGPIPE.
int send_bytes(int handle, const void* bytes, int count);
int send_bytes_to(int handle, const void* bytes, int count, const sockaddr_in& address);

// The dotted-decimal text of an address in network order, into `text` (at least 16 bytes).
void format_ipv4(const in_addr& address, char* text);
