// Sockets: the blocking wrappers on loopback, and c_Socket's asynchronous connect, send and
// receive delivered through the event pump, with the state rules that gate them.
#include "net/socket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net_test_support.h"

namespace {

std::string bytes(const String& text) { return std::string(text.ToCString().c_str()); }

c_DataBuffer* buffer_with(const std::string& text) {
    auto* buffer = (new c_DataBuffer)->m_new(int(text.size()));
    buffer->p_PokeString(0, String(text.c_str()), String("ascii"));
    return buffer;
}

struct Event {
    std::string kind;
    int count;
    bool connected;
};

class RecordingSocketListener : public Object,
                                public virtual c_IOnConnectComplete,
                                public virtual c_IOnSendComplete,
                                public virtual c_IOnReceiveComplete {
public:
    std::vector<Event> events;
    std::string received;
    void p_OnConnectComplete(bool connected, c_Socket*) override { events.push_back({"connect", 0, connected}); }
    void p_OnSendComplete(c_DataBuffer*, int, int count, c_Socket*) override { events.push_back({"send", count, false}); }
    void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
        events.push_back({"receive", count, false});
        if (count > 0) received += bytes(data->p_PeekString(offset, count, String("ascii")));
    }
};

class SocketTest : public ::testing::Test {
protected:
    void SetUp() override { kv_asyncevent_InitGlobals(); }

    c_Socket* connected_socket(int port) {
        auto* socket = (new c_Socket)->m_new(String("stream"));
        socket->p_ConnectAsync(String("127.0.0.1"), port, listener);
        EXPECT_TRUE(pump_until([&] { return !listener->events.empty(); }));
        return socket;
    }

    RecordingSocketListener* listener = new RecordingSocketListener;
};

TEST_F(SocketTest, StreamSocketOpensAndRegistersWithThePump) {
    auto* socket = (new c_Socket)->m_new(String("stream"));
    EXPECT_EQ(socket->state, c_Socket::kOpen);
    EXPECT_TRUE(socket->p_IsOpen());
    EXPECT_FALSE(socket->p_IsConnected());
    EXPECT_FALSE(socket->p_IsListening());
    EXPECT_GE(socket->socket->sock.load(), 0);
    EXPECT_TRUE(kv_asyncevent__sources->p_Contains2(socket));
    EXPECT_EQ((new c_Socket)->m_new(String("datagram"))->protocol, 3);
    EXPECT_EQ((new c_Socket)->m_new(String("server"))->protocol, 2);
}

TEST_F(SocketTest, UnknownProtocolIsARuntimeError) {
    EXPECT_EXIT(
        {
            route_runtime_errors_to_stderr();
            (new c_Socket)->m_new(String("tcp"));
        },
        ::testing::ExitedWithCode(255), "Tarvik Runtime Error : Illegal socket protocol");
}

TEST_F(SocketTest, SendsCompleteInOrderAndTheReplyIsReceived) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\n\r\nhi"});
    c_Socket* socket = connected_socket(server.port());
    ASSERT_EQ(listener->events.size(), 1u);
    EXPECT_TRUE(listener->events[0].connected);
    EXPECT_EQ(socket->state, c_Socket::kOpen | c_Socket::kBound | c_Socket::kConnected);

    for (const char* piece : {"GET / HTTP/1.0\r\n", "Host: x\r\n", "\r\n"}) {
        socket->p_SendAsync(buffer_with(piece), 0, int(std::string(piece).size()), listener);
    }
    auto* inbox = (new c_DataBuffer)->m_new(64);
    socket->p_ReceiveAsync(inbox, 0, 64, listener);
    ASSERT_TRUE(pump_until([&] { return listener->events.size() == 5; }));
    std::vector<int> sends;
    for (const Event& e : listener->events) {
        if (e.kind == "send") sends.push_back(e.count);
    }
    EXPECT_EQ(sends, (std::vector<int>{16, 9, 2}));
    EXPECT_EQ(server.request(), "GET / HTTP/1.0\r\nHost: x\r\n\r\n");

    // The rest of the reply, then the peer's close as a count of 0.
    while (listener->received.size() < 21) {
        size_t before = listener->events.size();
        socket->p_ReceiveAsync(inbox, 0, 64, listener);
        ASSERT_TRUE(pump_until([&] { return listener->events.size() > before; }));
    }
    EXPECT_EQ(listener->received, "HTTP/1.0 200 OK\r\n\r\nhi");
    size_t before = listener->events.size();
    socket->p_ReceiveAsync(inbox, 0, 64, listener);
    ASSERT_TRUE(pump_until([&] { return listener->events.size() > before; }));
    EXPECT_EQ(listener->events.back().kind, "receive");
    EXPECT_EQ(listener->events.back().count, 0);
}

TEST_F(SocketTest, ConnectOnAConnectedSocketDoesNothing) {
    TestHttpServer server({});
    c_Socket* socket = connected_socket(server.port());
    socket->p_ConnectAsync(String("127.0.0.1"), server.port(), listener);
    EXPECT_EQ(socket->receiveQueue->put.load(), 1);
    pump_until([] { return false; }, 100);
    EXPECT_EQ(listener->events.size(), 1u);
}

TEST_F(SocketTest, SendAndReceiveBeforeConnectingDoNothing) {
    auto* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_SendAsync(buffer_with("x"), 0, 1, listener);
    socket->p_ReceiveAsync(buffer_with("x"), 0, 1, listener);
    EXPECT_EQ(socket->sendQueue->put.load(), 0);
    EXPECT_EQ(socket->receiveQueue->put.load(), 0);
    pump_until([] { return false; }, 50);
    EXPECT_TRUE(listener->events.empty());
}

TEST_F(SocketTest, RefusedAndUnresolvedConnectsReportFalse) {
    for (const char* host : {"127.0.0.1", "no-such-host.invalid", ""}) {
        listener->events.clear();
        auto* socket = (new c_Socket)->m_new(String("stream"));
        socket->p_ConnectAsync(String(host), unused_port(), listener);
        ASSERT_TRUE(pump_until([&] { return !listener->events.empty(); }, 20000)) << host;
        EXPECT_FALSE(listener->events[0].connected) << host;
        EXPECT_EQ(socket->state, c_Socket::kOpen) << host;
    }
}

TEST_F(SocketTest, ClosingWakesAQueuedReceiveAndStillDeliversIt) {
    TestHttpServer server({}, TestHttpServer::Ending::Silent);
    c_Socket* socket = connected_socket(server.port());
    auto* inbox = (new c_DataBuffer)->m_new(8);
    socket->p_ReceiveAsync(inbox, 0, 8, listener);
    socket->p_Close();
    EXPECT_EQ(socket->state, 0);
    ASSERT_TRUE(pump_until([&] { return listener->events.size() == 2; }));
    EXPECT_LE(listener->events[1].count, 0);
    EXPECT_EQ(socket->socket->sock.load(), -1);  // given back once the receive had run
}

TEST_F(SocketTest, ClosingAnIdleSocketGivesTheHandleBackAtOnce) {
    auto* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_Close();
    EXPECT_EQ(socket->socket->sock.load(), -1);
    EXPECT_FALSE(socket->p_IsOpen());
}

TEST_F(SocketTest, OversizedRangesNeverLeaveTheBuffer) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\n\r\n"});
    c_Socket* socket = connected_socket(server.port());
    socket->p_SendAsync(buffer_with("GET / HTTP/1.0\r\n\r\n"), 0, 1000, listener);
    socket->p_SendAsync(buffer_with("x"), 5, 1, listener);
    ASSERT_TRUE(pump_until([&] { return listener->events.size() == 3; }));
    EXPECT_EQ(listener->events[1].count, 18);
    EXPECT_EQ(listener->events[2].count, -1);
}

struct AddressCase {
    const char* host;
    int port;
    const char* text;
};
const AddressCase kAddresses[] = {
    {"127.0.0.1", 80, "127.0.0.1"},
    {"10.1.2.3", 65535, "10.1.2.3"},
    {"localhost", 8080, "127.0.0.1"},
    {"", 1, "0.0.0.0"},
    {"no-such-host.invalid", 2, "0.0.0.0"},
};

TEST(SocketAddress, ValidateGivesDottedTextAndHostOrderPort) {
    for (const AddressCase& c : kAddresses) {
        auto* address = new KvSocketAddress;
        address->Set(String(c.host), c.port);
        EXPECT_FALSE(address->valid);
        address->Validate();
        EXPECT_TRUE(address->valid);
        EXPECT_EQ(bytes(address->host), c.text) << c.host;
        EXPECT_EQ(address->port, c.port) << c.host;
    }
}

TEST(SocketAddress, HostOfTooManyCharactersIsNotResolved) {
    std::string long_host(1024, 'a');
    auto* address = new KvSocketAddress;
    address->Set(String(long_host.c_str()), 5);
    address->Validate();
    EXPECT_EQ(bytes(address->host), "0.0.0.0");
}

TEST(BlockingSocket, DatagramsTravelOverLoopback) {
    auto* receiver = new KvSocket;
    ASSERT_TRUE(receiver->Open(3));
    ASSERT_TRUE(receiver->Bind(String("127.0.0.1"), 0));
    auto* bound = new KvSocketAddress;
    receiver->GetLocalAddress(bound);
    bound->Validate();
    ASSERT_NE(bound->port, 0);

    auto* sender = new KvSocket;
    ASSERT_TRUE(sender->Open(3));
    EXPECT_FALSE(sender->Open(3));
    EXPECT_EQ(sender->SendTo(buffer_with("ping"), 0, 4, bound), 4);
    auto* inbox = (new c_DataBuffer)->m_new(16);
    auto* from = new KvSocketAddress;
    EXPECT_EQ(receiver->ReceiveFrom(inbox, 2, 16, from), 4);
    EXPECT_EQ(bytes(inbox->p_PeekString(2, 4, String("ascii"))), "ping");
    from->Validate();
    EXPECT_EQ(bytes(from->host), "127.0.0.1");
    receiver->Close();
    sender->Close();
    EXPECT_EQ(receiver->sock.load(), -1);
}

TEST(BlockingSocket, StreamServerAcceptsAndTalks) {
    auto* server = new KvSocket;
    ASSERT_TRUE(server->Open(2));
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    auto* local = new KvSocketAddress;
    server->GetLocalAddress(local);
    local->Validate();

    auto* client = new KvSocket;
    ASSERT_TRUE(client->Open(1));
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), local->port));
    ASSERT_TRUE(server->Accept());
    KvSocket* peer = server->Accepted();
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(client->Send(buffer_with("abc"), 0, 3), 3);
    auto* inbox = (new c_DataBuffer)->m_new(3);
    EXPECT_EQ(peer->Receive(inbox, 0, 3), 3);
    EXPECT_EQ(bytes(inbox->p_PeekString2(0, String("ascii"))), "abc");
    auto* remote = new KvSocketAddress;
    client->GetRemoteAddress(remote);
    remote->Validate();
    EXPECT_EQ(remote->port, local->port);
    peer->Close();
    client->Close();
    server->Close();
}

TEST(BlockingSocket, ClosedSocketGivesTheZeroAddress) {
    auto* socket = new KvSocket;
    auto* address = new KvSocketAddress;
    socket->GetLocalAddress(address);
    address->Validate();
    EXPECT_EQ(bytes(address->host), "0.0.0.0");
    EXPECT_EQ(address->port, 0);
}

}  // namespace
