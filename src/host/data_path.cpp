// A location is recognised by its first ":/" being where the first "/" is (so "tarvik://x"
// and "C:/x" qualify but "a/b:/c" does not), or by a leading "./" or "/".
#include "host/data_path.h"

String kv_data_FixDataPath(String path) {
    int colon = path.Find(String(":/"));
    if (colon != -1 && path.Find(String("/")) == colon + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("tarvik://data/") + path;
}
