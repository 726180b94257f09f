// HTTP requests against scripted servers on 127.0.0.1, and the response parser fed directly.
#include "net/http.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/files.h"
#include "net_test_support.h"

namespace {

class RecordingListener : public Object, public virtual c_IOnHttpRequestComplete {
public:
    int calls = 0;
    int status = -2;
    std::string text;
    void p_OnHttpRequestComplete(c_HttpRequest* request) override {
        ++calls;
        status = request->p_Status();
        text = to_utf8(request->p_ResponseText());
    }
};

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override { kv_asyncevent_InitGlobals(); }

    // A GET to the server's port on 127.0.0.1; true when the listener was called in time.
    bool get(const TestHttpServer& server, const std::string& path) {
        std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + path;
        (new c_HttpRequest)->m_new2(String("GET"), String(url.c_str()), listener)->p_Send();
        return pump_until([&] { return listener->calls > 0; });
    }

    RecordingListener* listener = new RecordingListener;
};

TEST_F(HttpTest, AnswerWithBodyGivesStatusAndText) {
    TestHttpServer server({"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nhello"});
    ASSERT_TRUE(get(server, "/a.php"));
    EXPECT_EQ(listener->status, 200);
    EXPECT_EQ(listener->text, "hello");
    EXPECT_EQ(listener->calls, 1);
}

TEST_F(HttpTest, ResponseSplitInsideLinesParsesAsOnePiece) {
    TestHttpServer server({"HTT", "P/1.0 404 Not F", "ound\r", "\nX-A: b\r\n\r", "\nmiss", "ing"});
    ASSERT_TRUE(get(server, "/"));
    EXPECT_EQ(listener->status, 404);
    EXPECT_EQ(listener->text, "missing");
}

TEST_F(HttpTest, StatusLineWithTwoPartsLeavesStatusUnset) {
    TestHttpServer server({"HTTP/1.0 200\r\n\r\nbody"});
    ASSERT_TRUE(get(server, "/"));
    EXPECT_EQ(listener->status, -1);
    EXPECT_EQ(listener->text, "");
}

TEST_F(HttpTest, ServerClosingInsideTheHeadFinishesWithoutStatus) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\nContent-Le"});
    ASSERT_TRUE(get(server, "/"));
    EXPECT_EQ(listener->status, -1);
    EXPECT_EQ(listener->text, "");
}

TEST_F(HttpTest, RequestLineAndHeadersGoOnTheWireAsBuilt) {
    TestHttpServer server({"HTTP/1.0 204 No Content\r\n\r\n"});
    ASSERT_TRUE(get(server, "/housecall.php?hello=1&gameID=415"));
    EXPECT_EQ(server.request(), "GET /housecall.php?hello=1&gameID=415 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(listener->status, 204);
}

TEST_F(HttpTest, BareDomainSendsTwoSlashes) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\n\r\n"});
    ASSERT_TRUE(get(server, ""));
    EXPECT_EQ(server.request(), "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(listener->status, 200);  // an empty answer still completes, with empty text
    EXPECT_EQ(listener->text, "");
}

TEST_F(HttpTest, BodyFollowsTheHeadWithTypeAndLength) {
    TestHttpServer server({"HTTP/1.0 201 Created\r\n\r\nok"});
    std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/submit";
    const Char text[] = {u'h', 0xE9, u'!'};
    (new c_HttpRequest)
        ->m_new2(String("POST"), String(url.c_str()), listener)
        ->p_Send2(String(text, 3), String("text/plain"), String("utf8"));
    ASSERT_TRUE(pump_until([&] { return listener->calls > 0; }));
    EXPECT_EQ(server.request(),
              "POST /submit HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\n"
              "Content-Length: 4\r\n\r\nh\xC3\xA9!");
    EXPECT_EQ(listener->status, 201);
    EXPECT_EQ(listener->text, "ok");
}

TEST_F(HttpTest, RefusedConnectionFinishesWithoutStatus) {
    int port = unused_port();
    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    (new c_HttpRequest)->m_new2(String("GET"), String(url.c_str()), listener)->p_Send();
    ASSERT_TRUE(pump_until([&] { return listener->calls > 0; }));
    EXPECT_EQ(listener->status, -1);
    EXPECT_EQ(listener->text, "");
}

TEST_F(HttpTest, UnresolvableHostFinishesWithoutStatus) {
    (new c_HttpRequest)->m_new2(String("GET"), String("http://no-such-host.invalid/x"), listener)->p_Send();
    ASSERT_TRUE(pump_until([&] { return listener->calls > 0; }, 20000));
    EXPECT_EQ(listener->status, -1);
}

TEST_F(HttpTest, EndlessBodyStopsAtTheCapWithWhatArrived) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\n\r\n"}, TestHttpServer::Ending::Endless);
    ASSERT_TRUE(get(server, "/"));
    EXPECT_EQ(listener->status, 200);
    ASSERT_EQ(listener->text.size(), size_t(c_HttpRequest::kMaxBodyBytes));
    EXPECT_EQ(listener->text.find_first_not_of('x'), std::string::npos);
}

TEST_F(HttpTest, HeadTooLongForItsBufferIsRefusedBeforeConnecting) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\n\r\nunexpected"});
    std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/" + std::string(5000, 'a');
    auto* request = (new c_HttpRequest)->m_new2(String("GET"), String(url.c_str()), listener);
    request->p_Send();
    EXPECT_EQ(listener->calls, 1);  // at once, inside p_Send
    EXPECT_EQ(listener->status, -1);
    EXPECT_EQ(request->socket, nullptr);
    pump_until([] { return false; }, 200);
    EXPECT_FALSE(server.connected());
    EXPECT_EQ(listener->calls, 1);
}

TEST_F(HttpTest, HeadThatJustFitsIsSent) {
    TestHttpServer server({"HTTP/1.0 200 OK\r\n\r\nfits"});
    std::string prefix = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    // "GET" + " " + "/" + path + " HTTP/1.0\r\n" + "Host: 127.0.0.1\r\n\r\n" = 4096 bytes.
    int fixed = 3 + 2 + 11 + 17 + 2;
    std::string url = prefix + std::string(4096 - fixed, 'b');
    (new c_HttpRequest)->m_new2(String("GET"), String(url.c_str()), listener)->p_Send();
    ASSERT_TRUE(pump_until([&] { return listener->calls > 0; }));
    EXPECT_EQ(server.request().size(), 4096u);
    EXPECT_EQ(listener->text, "fits");
}

TEST_F(HttpTest, SilentServerDoesNotFinishTheRequest) {
    TestHttpServer server({}, TestHttpServer::Ending::Silent);
    std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    (new c_HttpRequest)->m_new2(String("GET"), String(url.c_str()), listener)->p_Send();
    ASSERT_TRUE(pump_until([&] { return server.request_read(); }));
    EXPECT_FALSE(pump_until([&] { return listener->calls > 0; }, 300));
}

// The worker stays blocked in its receive; exit must neither wait for it nor run a static
// destructor it depends on. The alarm turns a hang into a failed test instead of a stuck run.
TEST_F(HttpTest, ProcessExitsWhileAWorkerWaitsOnASilentServer) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(10);
            kv_asyncevent_InitGlobals();
            auto* server = new TestHttpServer({}, TestHttpServer::Ending::Silent);
            std::string url = "http://127.0.0.1:" + std::to_string(server->port()) + "/";
            auto* waiting = new RecordingListener;
            (new c_HttpRequest)->m_new2(String("GET"), String(url.c_str()), waiting)->p_Send();
            if (!pump_until([&] { return server->request_read(); })) std::_Exit(3);
            pump_until([] { return false; }, 50);
            std::exit(waiting->calls == 0 ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

// The parser without sockets: each response must parse the same whole, byte by byte and in
// pieces of seven.
struct ResponseCase {
    const char* bytes;
    int status;
    const char* text;
};
const ResponseCase kResponses[] = {
    {"HTTP/1.1 200 OK\r\nServer: t\r\n\r\nhello", 200, "hello"},
    {"http/1.0 301 moved\n\nlower case", 301, "lower case"},
    {"HTTP/1.0 200\r\n\r\nbody", -1, ""},
    {"\r\nHTTP/1.0 200 OK\r\n\r\nbody", -1, ""},
    {"FTP/1.0 200 OK\r\n\r\nbody", -1, ""},
    {"HTTP/1.0 2x0 Odd\r\n\r\n", 2, ""},
    {"HTTP/1.0 200 OK\r\n\r\nfirst\nsecond\r\n", 200, "first\nsecond\r\n"},
    {"HTTP/1.0 500 Err", -1, ""},
};

class ParserTest : public ::testing::TestWithParam<ResponseCase> {};

// A request whose head has gone out (its lines cleared), waiting for the response.
c_HttpRequest* sent_request() {
    auto* request = (new c_HttpRequest)->m_new2(String("GET"), String("http://x/"), nullptr);
    request->headers->p_Clear();
    return request;
}

// Feeds the bytes in pieces of `step` the way receives would land them; returns the request
// after it finished.
c_HttpRequest* feed(const std::string& bytes, size_t step) {
    c_HttpRequest* request = sent_request();
    int next = 0;
    for (size_t at = 0; at < bytes.size() && next >= 0;) {
        size_t piece = std::min({step, bytes.size() - at, size_t(c_HttpRequest::kReceiveBufferBytes - next)});
        std::memcpy(request->receiveBuffer->data + next, bytes.data() + at, piece);
        at += piece;
        next = request->p_TakeResponseBytes(next, int(piece));
    }
    request->p_Finish();
    return request;
}

TEST_P(ParserTest, PiecesParseLikeTheWhole) {
    const ResponseCase& c = GetParam();
    for (size_t step : {size_t(1) << 20, size_t(1), size_t(7)}) {
        c_HttpRequest* request = feed(c.bytes, step);
        EXPECT_EQ(request->p_Status(), c.status) << "pieces of " << step;
        EXPECT_EQ(to_utf8(request->p_ResponseText()), c.text) << "pieces of " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Responses, ParserTest, ::testing::ValuesIn(kResponses));

// Every receive is decoded on its own, so a character cut in two falls back to its bytes.
TEST(ParserPieces, CharacterSplitBetweenReceivesFallsBackToBytes) {
    EXPECT_EQ(feed("HTTP/1.0 200 OK\r\n\r\n\xC3\xA9", 100)->p_ResponseText().Length(), 1);
    c_HttpRequest* request = feed("HTTP/1.0 200 OK\r\n\r\n\xC3\xA9", 1);
    String text = request->p_ResponseText();
    ASSERT_EQ(text.Length(), 2);
    EXPECT_EQ(text[0], Char(-61));
    EXPECT_EQ(text[1], Char(-87));
}

TEST(ParserLimits, BodyStopsAtTheCap) {
    std::string response = "HTTP/1.0 200 OK\r\n\r\n" + std::string(c_HttpRequest::kMaxBodyBytes + 5000, 'y');
    c_HttpRequest* request = feed(response, 16000);
    EXPECT_EQ(request->p_ResponseText().Length(), c_HttpRequest::kMaxBodyBytes);
}

TEST(ParserLimits, HeadLineFillingTheBufferEndsTheRequest) {
    std::string response = "HTTP/1.0 200 OK\r\nX: " + std::string(c_HttpRequest::kReceiveBufferBytes, 'z');
    c_HttpRequest* request = sent_request();
    int next = 0;
    size_t at = 0;
    while (next >= 0 && at < response.size()) {
        int piece = std::min(int(response.size() - at), c_HttpRequest::kReceiveBufferBytes - next);
        std::memcpy(request->receiveBuffer->data + next, response.data() + at, piece);
        at += piece;
        next = request->p_TakeResponseBytes(next, piece);
    }
    EXPECT_EQ(next, -1);
    EXPECT_EQ(request->p_Status(), -1);
}

TEST(ParserLimits, EndlessHeadLinesEndTheRequest) {
    std::string response = "HTTP/1.0 200 OK\r\n";
    while (response.size() <= size_t(c_HttpRequest::kMaxHeadBytes)) response += "X-Filler: 0123456789\r\n";
    c_HttpRequest* request = feed(response + "\r\nlate body", 1000);
    EXPECT_EQ(request->p_Status(), -1);
    EXPECT_EQ(to_utf8(request->p_ResponseText()), "");
}

}  // namespace
