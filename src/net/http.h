// One plain HTTP/1.0 request over an asynchronous TCP socket: builds and sends the head and
// an optional body, parses the response head across receives, collects the body until the
// server closes (up to a cap), and reports status and text to a listener on the main thread.
#pragma once

#include "net/data_buffer.h"
#include "net/socket.h"
#include "net/url.h"
#include "runtime/containers.h"

class c_HttpRequest;

class c_IOnHttpRequestComplete : public virtual gc_interface {
public:
    virtual void p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};

class c_HttpRequest : public Object,
                      public virtual c_IOnConnectComplete,
                      public virtual c_IOnSendComplete,
                      public virtual c_IOnReceiveComplete {
public:
    static constexpr int kSendBufferBytes = 4096;
    static constexpr int kReceiveBufferBytes = 16384;
    // A hostile or broken server must not grow the response without bound: the body stops
    // at 1 MiB (the request finishes with what arrived) and a longer head than 64 KiB fails.
    static constexpr int kMaxBodyBytes = 1 << 20;
    static constexpr int kMaxHeadBytes = 64 * 1024;

    String method;
    c_Url* url = nullptr;
    c_IOnHttpRequestComplete* listener = nullptr;
    c_DataBuffer* body = nullptr;
    int bodyLength = 0;
    int status = -1;
    c_StringStack* bodyChunks = nullptr;
    String responseText;
    c_StringStack* headers = nullptr;
    c_Socket* socket = nullptr;
    c_DataBuffer* sendBuffer = nullptr;
    c_DataBuffer* receiveBuffer = nullptr;
    int headBytes = 0;  // bytes of the complete response head lines so far
    int bodyBytes = 0;  // response body bytes kept so far

    c_HttpRequest* m_new();
    c_HttpRequest* m_new2(String method_, String url_, c_IOnHttpRequestComplete* listener_);
    void p_Open(String method_, String url_, c_IOnHttpRequestComplete* listener_);
    void p_Send();
    void p_Send2(String data, String mimeType, String encoding);
    int p_Status();
    String p_ResponseText();

    // The request head as it goes on the wire: the lines so far, then the empty line.
    String p_RequestHead();
    // Takes the bytes a receive left at [offset, offset + count) of receiveBuffer. Returns
    // where the next receive must start (after an unfinished head line kept at the front),
    // or -1 when the response is done with. Needs no socket, so it can be fed directly.
    int p_TakeResponseBytes(int offset, int count);
    // Closes the socket, joins the body and calls the listener.
    void p_Finish();

    void p_OnConnectComplete(bool connected, c_Socket* source) override;
    void p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;

    void mark() override;

private:
    bool take_status_line();
    void keep_body(int from, int count);
};
