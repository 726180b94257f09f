// Blocking socket wrappers, the connect/send/receive operations run by the worker queues,
// and their delivery to listeners on the main thread.
#include "net/socket.h"

#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstring>

#include "platform/sockets.h"
#include "runtime/errors.h"

namespace {

// The host as the bytes the resolver takes: the low byte of each character; empty when the
// host is too long to resolve, which leaves the address at 0.0.0.0.
void narrow_host(const String& host, char (&bytes)[c_AsyncConnectOp::kHostBytes]) {
    int length = host.Length() < c_AsyncConnectOp::kHostBytes ? host.Length() : 0;
    for (int i = 0; i < length; ++i) bytes[i] = static_cast<char>(host[i]);
    bytes[length] = 0;
}

void resolve(const String& host, int port, sockaddr_in* address) {
    char bytes[c_AsyncConnectOp::kHostBytes];
    narrow_host(host, bytes);
    resolve_ipv4(bytes, port, address);
}

// How many bytes of [offset, offset + count) the buffer holds; -1 when offset is outside it.
// The worker's send and receive touch exactly these bytes and no others.
int usable_count(const KvDataBuffer* data, int offset, int count) {
    if (!data || offset < 0 || offset > data->length) return -1;
    int room = data->length - offset;
    return count < 0 ? 0 : (count < room ? count : room);
}

}  // namespace

KvSocketAddress::KvSocketAddress() { addr.sin_family = AF_INET; }

void KvSocketAddress::Set(String hostName, int portNumber) {
    resolve(hostName, portNumber, &addr);
    valid = false;
}

void KvSocketAddress::Set(KvSocketAddress* other) { Set(other->addr); }

void KvSocketAddress::Set(const sockaddr_in& sa) {
    addr = sa;
    valid = false;
}

void KvSocketAddress::Validate() {
    if (valid) return;
    char text[16];
    format_ipv4(addr.sin_addr, text);
    host = String(text);
    port = ntohs(addr.sin_port);
    valid = true;
}

KvSocket::KvSocket(int handle) : sock(handle) {}

KvSocket::~KvSocket() { Close(); }

// POSIX sockets need no start-up call. SIGPIPE, the one process-wide trap of a socket that
// the peer closed, is avoided per call (send_bytes) rather than switched off here.
void KvSocket::InitSockets() {}

bool KvSocket::Open(int protocolKind) {
    if (sock.load() >= 0 || protocolKind < 1) return false;
    int handle = kInvalidSocket;
    if (protocolKind == 1 || protocolKind == 2) {
        handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        int on = 1;
        if (handle >= 0) setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    } else if (protocolKind == 3) {
        handle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    } else {
        return false;
    }
    protocol = protocolKind;
    sock.store(handle);
    return handle >= 0;
}

void KvSocket::Close() {
    int handle = sock.exchange(kInvalidSocket);
    if (handle >= 0) close_socket(handle);
}

void KvSocket::Shutdown() {
    int handle = sock.load();
    if (handle >= 0) shutdown_socket(handle);
}

bool KvSocket::Bind(String hostName, int portNumber) {
    sockaddr_in address;
    resolve(hostName, portNumber, &address);
    return bind(sock.load(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool KvSocket::Connect(String hostName, int portNumber) {
    sockaddr_in address;
    resolve(hostName, portNumber, &address);
    return connect_ipv4(sock.load(), address) == 0;
}

bool KvSocket::Listen(int backlog) { return listen(sock.load(), backlog) == 0; }

bool KvSocket::Accept() {
    accepted = accept(sock.load(), nullptr, nullptr);
    return accepted >= 0;
}

KvSocket* KvSocket::Accepted() {
    if (accepted < 0) return nullptr;
    auto* wrapped = new KvSocket(accepted);
    wrapped->protocol = 1;
    accepted = -1;
    return wrapped;
}

int KvSocket::Send(KvDataBuffer* data, int offset, int count) {
    count = usable_count(data, offset, count);
    return count < 0 ? -1 : send_bytes(sock.load(), data->data + offset, count);
}

int KvSocket::Receive(KvDataBuffer* data, int offset, int count) {
    count = usable_count(data, offset, count);
    return count < 0 ? -1 : static_cast<int>(recv(sock.load(), data->data + offset, count, 0));
}

int KvSocket::SendTo(KvDataBuffer* data, int offset, int count, KvSocketAddress* address) {
    count = usable_count(data, offset, count);
    return count < 0 ? -1 : send_bytes_to(sock.load(), data->data + offset, count, address->addr);
}

int KvSocket::ReceiveFrom(KvDataBuffer* data, int offset, int count, KvSocketAddress* address) {
    count = usable_count(data, offset, count);
    if (count < 0) return -1;
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    int got = static_cast<int>(
        recvfrom(sock.load(), data->data + offset, count, 0, reinterpret_cast<sockaddr*>(&sender), &size));
    if (got >= 0) address->Set(sender);
    return got;
}

void KvSocket::GetLocalAddress(KvSocketAddress* address) {
    sockaddr_in found{};
    found.sin_family = AF_INET;
    socklen_t size = sizeof found;
    if (sock.load() >= 0) getsockname(sock.load(), reinterpret_cast<sockaddr*>(&found), &size);
    address->Set(found);
}

void KvSocket::GetRemoteAddress(KvSocketAddress* address) {
    sockaddr_in found{};
    found.sin_family = AF_INET;
    socklen_t size = sizeof found;
    if (sock.load() >= 0) getpeername(sock.load(), reinterpret_cast<sockaddr*>(&found), &size);
    address->Set(found);
}

c_Socket* c_Socket::m_new(String protocolName) {
    int kind = 0;
    if (protocolName == String("stream")) {
        kind = 1;
    } else if (protocolName == String("server")) {
        kind = 2;
    } else if (protocolName == String("datagram")) {
        kind = 3;
    } else {
        kvError(String("Illegal socket protocol"));
    }
    gc_assign(socket, new KvSocket);
    if (!socket->Open(kind)) kvError(String("Socket open failed"));
    protocol = kind;
    state = kOpen;
    p_Start();
    return this;
}

c_Socket* c_Socket::m_new2(KvSocket* wrapped, int protocolKind, int startState) {
    gc_assign(socket, wrapped);
    protocol = protocolKind;
    state = startState;
    p_Start();
    return this;
}

void c_Socket::p_Start() {
    gc_assign(receiveQueue, (new c_AsyncQueue)->m_new(this));
    gc_assign(sendQueue, (new c_AsyncQueue)->m_new(this));
    kv_asyncevent_AddAsyncEventSource(this);
}

bool c_Socket::p_IsOpen() { return (state & kOpen) != 0; }
bool c_Socket::p_IsConnected() { return (state & kConnected) != 0; }
bool c_Socket::p_IsListening() { return (state & kListening) != 0; }

// A worker may be inside a call on the handle (or about to make one). Closing it then would
// let the system hand the same number to the next socket opened, and the worker would talk
// to the wrong peer; so the handle is shut down (the call fails or returns at once) and is
// closed when the queues have run every operation already in them.
void c_Socket::p_Close() {
    state = 0;
    closePending = true;
    socket->Shutdown();
    close_when_drained();
}

void c_Socket::close_when_drained() {
    if (closePending && receiveQueue->Drained() && sendQueue->Drained()) {
        socket->Close();
        closePending = false;
    }
}

void c_Socket::p_ConnectAsync(String host, int port, c_IOnConnectComplete* listener) {
    if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return;
    receiveQueue->p_Enqueue((new c_AsyncConnectOp)->m_new(this, host, port, listener));
}

void c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* listener) {
    if (!p_IsConnected()) return;
    sendQueue->p_Enqueue((new c_AsyncSendOp)->m_new(this, data, offset, count, listener));
}

void c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* listener) {
    if (!p_IsConnected()) return;
    receiveQueue->p_Enqueue((new c_AsyncReceiveOp)->m_new(this, data, offset, count, listener));
}

void c_Socket::p_UpdateAsyncEvents() {
    receiveQueue->p_UpdateAsyncEvents();
    sendQueue->p_UpdateAsyncEvents();
    close_when_drained();
}

void c_Socket::mark() {
    gc_mark_q(socket);
    gc_mark_q(receiveQueue);
    gc_mark_q(sendQueue);
}

c_AsyncConnectOp* c_AsyncConnectOp::m_new(c_Socket* owner, String hostName, int portNumber,
                                          c_IOnConnectComplete* onDone) {
    gc_assign(socket, owner);
    narrow_host(hostName, host);
    port = portNumber;
    gc_assign(listener, onDone);
    return this;
}

void c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket*) {
    sockaddr_in address;
    resolve_ipv4(host, port, &address);
    result = connect_ipv4(socket->socket->sock.load(), address) == 0;
}

void c_AsyncConnectOp::p_Complete(c_Socket*) {
    if (result) socket->state |= c_Socket::kBound | c_Socket::kConnected;
    if (listener) listener->p_OnConnectComplete(result, socket);
}

void c_AsyncConnectOp::mark() {
    gc_mark_q(socket);
    gc_mark_q(listener);
}

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new(c_Socket* owner, c_DataBuffer* buffer, int from, int size) {
    gc_assign(socket, owner);
    gc_assign(data, buffer);
    offset = from;
    count = size;
    return this;
}

void c_AsyncSocketIoOp::mark() {
    gc_mark_q(socket);
    gc_mark_q(data);
}

c_AsyncSendOp* c_AsyncSendOp::m_new(c_Socket* owner, c_DataBuffer* buffer, int from, int size,
                                    c_IOnSendComplete* onDone) {
    c_AsyncSocketIoOp::m_new(owner, buffer, from, size);
    gc_assign(listener, onDone);
    return this;
}

void c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket*) { count = socket->socket->Send(data, offset, count); }

void c_AsyncSendOp::p_Complete(c_Socket*) {
    if (listener) listener->p_OnSendComplete(data, offset, count, socket);
}

void c_AsyncSendOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_mark_q(listener);
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(c_Socket* owner, c_DataBuffer* buffer, int from, int size,
                                          c_IOnReceiveComplete* onDone) {
    c_AsyncSocketIoOp::m_new(owner, buffer, from, size);
    gc_assign(listener, onDone);
    return this;
}

void c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket*) { count = socket->socket->Receive(data, offset, count); }

void c_AsyncReceiveOp::p_Complete(c_Socket*) {
    if (listener) listener->p_OnReceiveComplete(data, offset, count, socket);
}

void c_AsyncReceiveOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_mark_q(listener);
}
