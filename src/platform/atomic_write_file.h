// Replaces a file as a whole: the new bytes go to a temporary file beside it, are flushed to
// disk and then renamed over the old name, so a crash or a full disk keeps the old content.
#pragma once

#include <cstddef>

// 0 on success; -1 if the temporary file cannot be created; -2 if the bytes could not all be
// written and synced, or the rename failed. On failure the old file is left as it was.
int atomic_write_file(const char* path, const void* data, size_t size);
