// Small file helpers shared by the host's loaders: the UTF-8 form of a runtime string (file
// names and the saved state are UTF-8 on this platform) and reading an open file whole.
#pragma once

#include <cstdio>
#include <string>

#include "runtime/string.h"

std::string to_utf8(const String& text);

// All remaining bytes of the file in one malloc'd buffer owned by the caller; null only if
// memory runs out. An empty file gives a valid buffer and length 0.
unsigned char* read_whole_file(FILE* file, int* length);
