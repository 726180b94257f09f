// URL splitting: each part, the defaults, and where "?" and "#" end the address.
#include "net/url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string bytes(const String& text) { return std::string(text.ToCString().c_str()); }

struct UrlCase {
    const char* url;
    const char* scheme;
    const char* username;
    const char* password;
    const char* domain;
    int port;
    const char* path;
    const char* query;
    const char* fragment;
    const char* fullPath;
};

const UrlCase kUrls[] = {
    {"http://example.com:8080/a/b.php?x=1#top", "http", "", "", "example.com", 8080, "/a/b.php", "x=1", "top",
     "/a/b.php?x=1#top"},
    {"http://example.com", "http", "", "", "example.com", 80, "/", "", "", "/"},
    {"example.com/a:b/c", "http", "", "", "example.com", 80, "/a:b/c", "", "", "/a:b/c"},
    {"ftp://u:p@host:21/f", "ftp", "u", "p", "host", 21, "/f", "", "", "/f"},
    {"http://user@host/", "http", "user", "", "host", 80, "/", "", "", "/"},
    {"http://h/p?q=1#frag", "http", "", "", "h", 80, "/p", "q=1", "frag", "/p?q=1#frag"},
    {"http://h/p#frag?notquery", "http", "", "", "h", 80, "/p", "", "frag?notquery", "/p#frag?notquery"},
    {"http://h?a=b", "http", "", "", "h", 80, "/", "a=b", "", "/?a=b"},
    {"http://h:99x/", "http", "", "", "h", 99, "/", "", "", "/"},
    {"http://h:/", "http", "", "", "h", 0, "/", "", "", "/"},
    {"h:12", "http", "", "", "h", 12, "/", "", "", "/"},
    {"http://a@b@c/", "http", "a", "", "b@c", 80, "/", "", "", "/"},
    {"http://h/x?y=://z", "http", "", "", "h", 80, "/x", "y=://z", "", "/x?y=://z"},
    {"", "http", "", "", "", 80, "/", "", "", "/"},
};

class UrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlTest, SplitsIntoItsParts) {
    const UrlCase& c = GetParam();
    c_Url* url = (new c_Url)->m_new(String(c.url), String("http"), 80);
    EXPECT_EQ(bytes(url->scheme), c.scheme);
    EXPECT_EQ(bytes(url->username), c.username);
    EXPECT_EQ(bytes(url->password), c.password);
    EXPECT_EQ(bytes(url->p_Domain()), c.domain);
    EXPECT_EQ(url->p_Port(), c.port);
    EXPECT_EQ(bytes(url->path), c.path);
    EXPECT_EQ(bytes(url->query), c.query);
    EXPECT_EQ(bytes(url->fragment), c.fragment);
    EXPECT_EQ(bytes(url->p_FullPath()), c.fullPath);
}

INSTANTIATE_TEST_SUITE_P(Urls, UrlTest, ::testing::ValuesIn(kUrls));

TEST(UrlReuse, SettingAgainForgetsThePreviousParts) {
    c_Url* url = (new c_Url)->m_new(String("https://u:p@old:1/x?q#f"), String("http"), 80);
    url->p_Set2(String("new"));
    EXPECT_EQ(bytes(url->scheme), "http");
    EXPECT_EQ(bytes(url->username), "");
    EXPECT_EQ(bytes(url->password), "");
    EXPECT_EQ(bytes(url->p_Domain()), "new");
    EXPECT_EQ(url->p_Port(), 80);
    EXPECT_EQ(bytes(url->p_FullPath()), "/");
    EXPECT_EQ(bytes(url->url), "new");
}

TEST(UrlPort, ReadsAtMostSixtyThreeCharacters) {
    std::string long_port = "http://h:" + std::string(62, '0') + "7/";
    EXPECT_EQ((new c_Url)->m_new(String(long_port.c_str()), String("http"), 80)->p_Port(), 7);
    std::string cut_port = "http://h:" + std::string(63, '0') + "7/";
    EXPECT_EQ((new c_Url)->m_new(String(cut_port.c_str()), String("http"), 80)->p_Port(), 0);
}

}  // namespace
