// Shared by the network tests: a scripted HTTP server on 127.0.0.1, the pump loop with a
// bounded wait, and the set-up that lets a death test match a runtime error's message.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A one-connection server on an ephemeral port. It reads the request head (and the body that
// its Content-Length announces), then writes the pieces with a pause between them so each
// arrives in its own receive, then ends the way it was told to.
class TestHttpServer {
public:
    enum class Ending {
        Close,      // close once the pieces are written
        Silent,     // never write anything and never close: a server that does not answer
        Endless,    // after the pieces, write filler until the client goes away
    };

    explicit TestHttpServer(std::vector<std::string> pieces, Ending ending = Ending::Close);
    ~TestHttpServer();

    int port() const { return port_; }
    // The request bytes read so far, and whether anyone connected at all.
    std::string request();
    bool connected() const { return connected_.load(); }
    // Whether the server has read a whole request (the client's head and body are in).
    bool request_read() const { return request_read_.load(); }
    // Filler bytes written in Endless mode before the client went away.
    long long filler_written() const { return filler_.load(); }

private:
    void serve();
    // Waits for the events on the handle; false when the server is being torn down.
    bool wait_for(int handle, short events);

    std::vector<std::string> pieces_;
    Ending ending_;
    int listener_ = -1;
    int port_ = 0;
    int wake_[2] = {-1, -1};  // written by the destructor to end any wait
    std::atomic<bool> connected_{false};
    std::atomic<bool> request_read_{false};
    std::atomic<long long> filler_{0};
    std::mutex mutex_;
    std::string request_;
    std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then closed).
int unused_port();

// Runs the event pump until done() holds or the time is up; true when done() held.
bool pump_until(const std::function<bool()>& done, int timeout_ms = 5000);

// For death tests: a runtime error prints on stdout and then waits for a debugger on stdin,
// so the child prints on stderr (where the death test looks) and reads an empty stdin.
void route_runtime_errors_to_stderr();
