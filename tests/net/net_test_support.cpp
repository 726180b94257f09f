// The scripted test server and the small loops the network tests share.
#include "net_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "net/async.h"

namespace {

int listen_on_loopback(int* port) {
    int handle = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    if (handle < 0 || bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::abort();
    }
    *port = ntohs(address.sin_port);
    return handle;
}

// Bytes still owed after the head: the Content-Length the client announced.
size_t announced_body(const std::string& head) {
    size_t at = head.find("Content-Length: ");
    return at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 16, nullptr, 10);
}

}  // namespace

TestHttpServer::TestHttpServer(std::vector<std::string> pieces, Ending ending)
    : pieces_(std::move(pieces)), ending_(ending) {
    listener_ = listen_on_loopback(&port_);
    if (listen(listener_, 4) != 0 || pipe(wake_) != 0) std::abort();
    thread_ = std::thread([this] { serve(); });
}

TestHttpServer::~TestHttpServer() {
    char byte = 1;
    if (write(wake_[1], &byte, 1) != 1) std::abort();
    thread_.join();
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
}

std::string TestHttpServer::request() {
    std::lock_guard<std::mutex> lock(mutex_);
    return request_;
}

bool TestHttpServer::wait_for(int handle, short events) {
    pollfd waits[2] = {{handle, events, 0}, {wake_[0], POLLIN, 0}};
    return poll(waits, 2, -1) > 0 && !(waits[1].revents & POLLIN);
}

void TestHttpServer::serve() {
    if (!wait_for(listener_, POLLIN)) return;
    int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    connected_ = true;

    std::string received;
    for (;;) {
        size_t head_end = received.find("\r\n\r\n");
        if (head_end != std::string::npos && received.size() >= head_end + 4 + announced_body(received)) break;
        if (!wait_for(client, POLLIN)) {
            close(client);
            return;
        }
        char bytes[4096];
        ssize_t got = recv(client, bytes, sizeof bytes, 0);
        if (got <= 0) break;
        received.append(bytes, got);
        std::lock_guard<std::mutex> lock(mutex_);
        request_ = received;
    }
    request_read_ = true;

    if (ending_ == Ending::Silent) {
        wait_for(wake_[0], POLLIN);
        close(client);
        return;
    }
    for (const std::string& piece : pieces_) {
        send(client, piece.data(), piece.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    if (ending_ == Ending::Endless) {
        std::string filler(65536, 'x');
        while (wait_for(client, POLLOUT)) {
            ssize_t sent = send(client, filler.data(), filler.size(), MSG_NOSIGNAL);
            if (sent <= 0) break;
            filler_ += sent;
        }
    }
    close(client);
}

int unused_port() {
    int port = 0;
    close(listen_on_loopback(&port));
    return port;
}

bool pump_until(const std::function<bool()>& done, int timeout_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        kv_asyncevent_UpdateAsyncEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void route_runtime_errors_to_stderr() {
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    dup2(STDERR_FILENO, STDOUT_FILENO);
}
