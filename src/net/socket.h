// IPv4 sockets: thin blocking wrappers over a handle and an address, and the program-facing
// c_Socket whose connect, send and receive run as operations on two worker queues and report
// back to listeners on the main thread.
#pragma once

#include <netinet/in.h>

#include <atomic>

#include "net/async.h"
#include "net/data_buffer.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class KvSocketAddress : public Object {
public:
    sockaddr_in addr{};
    bool valid = false;
    String host;
    int port = 0;

    KvSocketAddress();
    void Set(String hostName, int portNumber);
    void Set(KvSocketAddress* other);
    void Set(const sockaddr_in& sa);
    void Validate();
};

class KvSocket : public Object {
public:
    // Read by the worker of an operation while the main thread may close the socket.
    std::atomic<int> sock{-1};
    int protocol = 0;  // 1 stream, 2 server, 3 datagram
    int accepted = -1;

    KvSocket() = default;
    explicit KvSocket(int handle);
    ~KvSocket() override;

    static void InitSockets();

    bool Open(int protocolKind);
    void Close();
    // Wakes any call blocked on the handle without giving the handle number back yet.
    void Shutdown();
    bool Bind(String hostName, int portNumber);
    bool Connect(String hostName, int portNumber);
    bool Listen(int backlog);
    bool Accept();
    KvSocket* Accepted();
    int Send(KvDataBuffer* data, int offset, int count);
    int Receive(KvDataBuffer* data, int offset, int count);
    int SendTo(KvDataBuffer* data, int offset, int count, KvSocketAddress* address);
    int ReceiveFrom(KvDataBuffer* data, int offset, int count, KvSocketAddress* address);
    void GetLocalAddress(KvSocketAddress* address);
    void GetRemoteAddress(KvSocketAddress* address);
};

class c_IOnConnectComplete : public virtual gc_interface {
public:
    virtual void p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};
class c_IOnSendComplete : public virtual gc_interface {
public:
    virtual void p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};
class c_IOnReceiveComplete : public virtual gc_interface {
public:
    virtual void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_Socket : public Object, public virtual c_IAsyncEventSource {
public:
    enum : int { kOpen = 1, kBound = 2, kConnected = 4, kListening = 8 };

    KvSocket* socket = nullptr;
    int protocol = 0;
    int state = 0;
    c_AsyncQueue* receiveQueue = nullptr;
    c_AsyncQueue* sendQueue = nullptr;
    // Closed while an operation was still due to run: the handle is shut down at once but
    // only given back once both queues have run dry (see p_Close).
    bool closePending = false;

    c_Socket* m_new(String protocolName);
    c_Socket* m_new2(KvSocket* wrapped, int protocolKind, int startState);
    void p_Start();
    bool p_IsOpen();
    bool p_IsConnected();
    bool p_IsListening();
    void p_Close();
    void p_ConnectAsync(String host, int port, c_IOnConnectComplete* listener);
    void p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* listener);
    void p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* listener);
    void p_UpdateAsyncEvents() override;

    void mark() override;

private:
    void close_when_drained();
};

class c_AsyncConnectOp : public c_AsyncOp {
public:
    static constexpr int kHostBytes = 1024;

    c_Socket* socket = nullptr;
    // The host narrowed to bytes on the main thread: the worker resolves it without strings.
    char host[kHostBytes] = {};
    int port = 0;
    c_IOnConnectComplete* listener = nullptr;
    bool result = false;

    c_AsyncConnectOp* m_new(c_Socket* owner, String hostName, int portNumber, c_IOnConnectComplete* onDone);
    void p_Complete(c_Socket* source) override;
    void p_Execute__UNSAFE__(c_Socket* source) override;
    void mark() override;
};

class c_AsyncSocketIoOp : public c_AsyncOp {
public:
    c_Socket* socket = nullptr;
    c_DataBuffer* data = nullptr;
    int offset = 0;
    int count = 0;

    c_AsyncSocketIoOp* m_new(c_Socket* owner, c_DataBuffer* buffer, int from, int size);
    void mark() override;
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
public:
    c_IOnSendComplete* listener = nullptr;

    c_AsyncSendOp* m_new(c_Socket* owner, c_DataBuffer* buffer, int from, int size, c_IOnSendComplete* onDone);
    void p_Complete(c_Socket* source) override;
    void p_Execute__UNSAFE__(c_Socket* source) override;
    void mark() override;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
public:
    c_IOnReceiveComplete* listener = nullptr;

    c_AsyncReceiveOp* m_new(c_Socket* owner, c_DataBuffer* buffer, int from, int size, c_IOnReceiveComplete* onDone);
    void p_Complete(c_Socket* source) override;
    void p_Execute__UNSAFE__(c_Socket* source) override;
    void mark() override;
};
