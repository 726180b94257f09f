// HTTP/1.0 requests: the head on the wire, the response head parsed line by line across
// receives, and the body gathered until the server closes.
#include "net/http.h"

namespace {

// Drops every character of code 32 or less from both ends ("\r" among them).
String trim_controls(const String& text) {
    int from = 0;
    int to = text.Length();
    while (from < to && text[from] <= 32) ++from;
    while (to > from && text[to - 1] <= 32) --to;
    return text.Slice(from, to);
}

}  // namespace

c_HttpRequest* c_HttpRequest::m_new() {
    gc_assign(sendBuffer, (new c_DataBuffer)->m_new(kSendBufferBytes));
    gc_assign(receiveBuffer, (new c_DataBuffer)->m_new(kReceiveBufferBytes));
    return this;
}

c_HttpRequest* c_HttpRequest::m_new2(String method_, String url_, c_IOnHttpRequestComplete* listener_) {
    m_new();
    p_Open(method_, url_, listener_);
    return this;
}

void c_HttpRequest::p_Open(String method_, String url_, c_IOnHttpRequestComplete* listener_) {
    method = method_;
    gc_assign(url, (new c_Url)->m_new(url_, String("http"), 80));
    gc_assign(listener, listener_);
    body = nullptr;
    bodyLength = 0;
    status = -1;
    bodyChunks = nullptr;
    responseText = String();
    gc_assign(headers, (new c_StringStack)->m_new2());
    headBytes = 0;
    bodyBytes = 0;
    // The full path already starts with its slash: the target is that path, as the URL names it.
    headers->p_Push4(method + String(" ") + url->p_FullPath() + String(" HTTP/1.0"));
    headers->p_Push4(String("Host: ") + url->p_Domain());
}

void c_HttpRequest::p_Send() {
    // A head that cannot fit the send buffer is refused before anything touches the network.
    if (p_RequestHead().Length() > kSendBufferBytes) {
        p_Finish();
        return;
    }
    gc_assign(socket, (new c_Socket)->m_new(String("stream")));
    socket->p_ConnectAsync(url->p_Domain(), url->p_Port(), this);
}

void c_HttpRequest::p_Send2(String data, String mimeType, String encoding) {
    gc_assign(body, (new c_DataBuffer)->m_new(3 * data.Length()));
    bodyLength = body->p_PokeString(0, data, encoding);
    if (mimeType.Length() > 0) headers->p_Push4(String("Content-Type: ") + mimeType);
    headers->p_Push4(String("Content-Length: ") + String(bodyLength));
    p_Send();
}

int c_HttpRequest::p_Status() { return status; }

String c_HttpRequest::p_ResponseText() { return responseText; }

String c_HttpRequest::p_RequestHead() { return headers->p_Join(String("\r\n")) + String("\r\n\r\n"); }

void c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket*) {
    if (!connected) {
        p_Finish();
        return;
    }
    int size = sendBuffer->p_PokeString(0, p_RequestHead(), String("ascii"));
    headers->p_Clear();
    if (socket->p_IsConnected()) {
        socket->p_SendAsync(sendBuffer, 0, size, this);
        socket->p_ReceiveAsync(receiveBuffer, 0, kReceiveBufferBytes, this);
    }
}

void c_HttpRequest::p_OnSendComplete(c_DataBuffer*, int, int, c_Socket*) {
    if (bodyLength != 0 && socket->p_IsConnected()) socket->p_SendAsync(body, 0, bodyLength, this);
    bodyLength = 0;
}

void c_HttpRequest::p_OnReceiveComplete(c_DataBuffer*, int offset, int count, c_Socket*) {
    int next = count > 0 ? p_TakeResponseBytes(offset, count) : -1;
    if (next < 0) {
        p_Finish();
    } else if (socket->p_IsConnected()) {
        socket->p_ReceiveAsync(receiveBuffer, next, kReceiveBufferBytes - next, this);
    }
}

int c_HttpRequest::p_TakeResponseBytes(int offset, int count) {
    if (bodyChunks) {
        keep_body(offset, count);
        return bodyBytes < kMaxBodyBytes ? 0 : -1;
    }
    int end = offset + count;
    int lineStart = 0;
    for (int i = 0; i < end; ++i) {
        if (receiveBuffer->data[i] != 10) continue;
        String line = trim_controls(receiveBuffer->p_PeekString(lineStart, i - lineStart, String("ascii")));
        headBytes += i + 1 - lineStart;
        lineStart = i + 1;
        if (headBytes > kMaxHeadBytes) return -1;
        if (line.Length() > 0) {
            headers->p_Push4(line);
            continue;
        }
        if (!take_status_line()) return -1;
        gc_assign(bodyChunks, (new c_StringStack)->m_new2());
        keep_body(lineStart, end - lineStart);
        return bodyBytes < kMaxBodyBytes ? 0 : -1;
    }
    int pending = end - lineStart;
    // A line that fills the whole buffer can never end inside it.
    if (pending >= kReceiveBufferBytes) return -1;
    receiveBuffer->p_CopyBytes(lineStart, receiveBuffer, 0, pending);
    return pending;
}

bool c_HttpRequest::take_status_line() {
    if (headers->p_Length2() == 0) return false;
    Array<String> parts = headers->p_Get(0).ToUpper().Split(String(" "));
    if (parts.Length() < 3 || !parts[0].StartsWith(String("HTTP/"))) return false;
    status = parse_leading_int(parts[1]);
    return true;
}

void c_HttpRequest::keep_body(int from, int count) {
    int room = kMaxBodyBytes - bodyBytes;
    if (count > room) count = room;
    if (count < 1) return;
    bodyChunks->p_Push4(receiveBuffer->p_PeekString(from, count, String("utf8")));
    bodyBytes += count;
}

void c_HttpRequest::p_Finish() {
    if (socket) socket->p_Close();
    if (bodyChunks) responseText = bodyChunks->p_Join(String());
    if (listener) listener->p_OnHttpRequestComplete(this);
}

void c_HttpRequest::mark() {
    gc_mark_q(url);
    gc_mark_q(listener);
    gc_mark_q(body);
    gc_mark_q(bodyChunks);
    gc_mark_q(headers);
    gc_mark_q(socket);
    gc_mark_q(sendBuffer);
    gc_mark_q(receiveBuffer);
}
