// URLs: splits a text into scheme, user information, domain, port, path, query and fragment,
// with a default scheme and port for the parts the text leaves out.
#pragma once

#include "runtime/gc.h"
#include "runtime/string.h"

class c_Url : public Object {
public:
    String defaultScheme;
    int defaultPort = 0;
    String url;
    String scheme;
    String username;
    String password;
    String domain;
    int port = 0;
    String path;
    String query;
    String fragment;

    c_Url* m_new(String text, String scheme_, int port_);
    void p_Set2(String text);
    String p_FullPath();
    String p_Domain();
    int p_Port();
};

// A number read the way atoi reads it, from at most the first 63 characters (each taken as
// its low byte): leading digits count, anything else ends it, no digits give 0.
int parse_leading_int(const String& text);
