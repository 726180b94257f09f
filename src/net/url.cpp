// URL splitting: positions of "?", "#", "://", "@", ":" and "/" decide every part.
#include "net/url.h"

namespace {

// The first occurrence of `what` at or after `from` and before `end`, or -1.
int find_before(const String& text, const char* what, int from, int end) {
    int at = text.Find(String(what), from);
    return at >= 0 && at < end ? at : -1;
}

}  // namespace

int parse_leading_int(const String& text) { return parse_int(text.Slice(0, 63).ToCString()); }

c_Url* c_Url::m_new(String text, String scheme_, int port_) {
    defaultScheme = scheme_;
    defaultPort = port_;
    p_Set2(text);
    return this;
}

void c_Url::p_Set2(String text) {
    url = text;
    scheme = defaultScheme;
    username = password = domain = String();
    port = defaultPort;
    path = String("/");
    query = fragment = String();

    int q = text.Find(String("?"));
    int h = text.Find(String("#"));
    if (q >= 0 && h >= 0 && q > h) q = -1;  // a "?" inside the fragment is part of it
    int e = q >= 0 ? q : (h >= 0 ? h : text.Length());

    int start = 0;
    int sep = find_before(text, "://", 0, e);
    if (sep >= 0) {
        scheme = text.Slice(0, sep);
        start = sep + 3;
    }

    int at = find_before(text, "@", start, e);
    if (at >= 0) {
        String user = text.Slice(start, at);
        int colon = user.Find(String(":"));
        if (colon >= 0) {
            username = user.Slice(0, colon);
            password = user.Slice(colon + 1);
        } else {
            username = user;
        }
        start = at + 1;
    }

    int c = find_before(text, ":", start, e);
    int p = find_before(text, "/", start, e);
    if (c < 0 && p < 0) {
        domain = text.Slice(start, e);
    } else if (p < 0) {
        domain = text.Slice(start, c);
        port = parse_leading_int(text.Slice(c + 1, e));
    } else if (c < 0 || p < c) {
        domain = text.Slice(start, p);
        path = text.Slice(p, e);
    } else {
        domain = text.Slice(start, c);
        port = parse_leading_int(text.Slice(c + 1, p));
        path = text.Slice(p, e);
    }

    if (q >= 0) query = text.Slice(q + 1, h >= 0 ? h : text.Length());
    if (h >= 0) fragment = text.Slice(h + 1);
}

String c_Url::p_FullPath() {
    String full = path;
    if (query.Length() > 0) full += String("?") + query;
    if (fragment.Length() > 0) full += String("#") + fragment;
    return full;
}

String c_Url::p_Domain() { return domain; }

int c_Url::p_Port() { return port; }
