// The statistics call-home of the real program: switched on at build time it sends one GET for
// /housecall.php with the game's number at start-up and reports the reply; the default build
// opens no network socket at all.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The program running with its standard output on a pipe, killed when the test ends.
class Program {
public:
    explicit Program(const char* name) {
        std::string path = std::string(std::getenv("TOLVANE_BUILD_DIR")) + "/" + name;
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            setenv("ALSOFT_DRIVERS", "null", 1);
            if (chdir(std::getenv("TOLVANE_BUILD_DIR")) != 0) _exit(126);
            execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
    }
    ~Program() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        close(out_);
    }
    pid_t pid() const { return pid_; }

    // Everything printed so far, waiting until `line` appears or `seconds` pass.
    const std::string& output_until(const std::string& line, double seconds) {
        auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (output_.find(line) == std::string::npos && Clock::now() < end) {
            pollfd p{out_, POLLIN, 0};
            poll(&p, 1, 50);
            char buffer[4096];
            ssize_t got = read(out_, buffer, sizeof buffer);
            if (got > 0) output_.append(buffer, got);
        }
        return output_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

int listen_on(int port) {
    int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);  // never inherited by the game
    int yes = 1;
    setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(server, 4) != 0) {
        close(server);
        return -1;
    }
    return server;
}

// A connection accepted within `seconds`, or -1.
int accept_within(int server, double seconds) {
    pollfd p{server, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(seconds * 1000)) <= 0) return -1;
    return accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
}

std::string read_head(int connection) {
    std::string head;
    char c;
    while (head.find("\r\n\r\n") == std::string::npos && read(connection, &c, 1) == 1) head += c;
    return head;
}

// The inodes of the TCP sockets listed in one of the kernel's tables.
bool tcp_table_has(const char* table, const std::string& inode) {
    std::ifstream in(table);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find(" " + inode + " ") != std::string::npos) return true;
    }
    return false;
}

int tcp_sockets_of(pid_t pid) {
    std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    int count = 0;
    DIR* dir = opendir(fds.c_str());
    if (!dir) return -1;
    while (dirent* entry = readdir(dir)) {
        char target[256] = {};
        std::string link = fds + "/" + entry->d_name;
        if (readlink(link.c_str(), target, sizeof target - 1) <= 0) continue;
        std::string text(target);
        if (text.rfind("socket:[", 0) != 0) continue;
        std::string inode = text.substr(8, text.size() - 9);
        if (tcp_table_has("/proc/net/tcp", inode) || tcp_table_has("/proc/net/tcp6", inode)) ++count;
    }
    closedir(dir);
    return count;
}

TEST(CallHome, SwitchedOnItSendsOneRequestAtStartAndReportsTheReply) {
    int server = listen_on(CALLHOME_PORT);
    ASSERT_GE(server, 0) << "port " << CALLHOME_PORT << " is taken";
    Program game("tolvane-callhome");
    int connection = accept_within(server, 30);
    ASSERT_GE(connection, 0) << "no request arrived";
    EXPECT_EQ(read_head(connection), "GET /housecall.php?hello=1&gameID=415 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    const char reply[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nwelcome";
    ASSERT_EQ(write(connection, reply, sizeof reply - 1), ssize_t(sizeof reply - 1));
    close(connection);

    const std::string& output = game.output_until("Http GET complete! 200\n", 30);
    size_t asked = output.find("Requesting URL\n");
    size_t answered = output.find("Http GET complete! 200\n");
    ASSERT_NE(asked, std::string::npos) << output;
    ASSERT_NE(answered, std::string::npos) << output;
    EXPECT_LT(asked, answered);
    EXPECT_LT(accept_within(server, 1.0), 0) << "a second request";
    close(server);
}

TEST(CallHome, DefaultBuildOpensNoNetworkSocket) {
    Program game("tolvane");
    // By the time highscores are loaded the game has passed its call-home point.
    const std::string& output = game.output_until("Highscores Loaded\n", 30);
    ASSERT_NE(output.find("Highscores Loaded"), std::string::npos) << output;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(output.find("Requesting URL"), std::string::npos);
    EXPECT_EQ(tcp_sockets_of(game.pid()), 0);
}

}  // namespace
