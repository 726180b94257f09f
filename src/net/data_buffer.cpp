// Data buffer memory and loading, and the clamped byte and text operations on it.
#include "net/data_buffer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/files.h"
#include "host/game.h"
#include "net/async.h"
#include "runtime/errors.h"

namespace {

// How many of `count` items starting at `start` lie inside [0, limit): a start outside the
// range gives none, and address + count is worked out wide so it cannot overflow.
int clamp_count(int start, int count, int limit) {
    if (start < 0 || start >= limit || count < 1) return 0;
    long long room = static_cast<long long>(limit) - start;
    return count < room ? count : static_cast<int>(room);
}

bool is_encoding(const String& encoding, const char* name) { return encoding == String(name); }

[[noreturn]] void invalid_encoding(const String& encoding) {
    kvError(String("Invalid string encoding:") + encoding);
}

}  // namespace

KvDataBuffer::~KvDataBuffer() { std::free(data); }

bool KvDataBuffer::_New(int size, void* bytes) {
    if (data || size < 0) return false;
    if (!bytes) {
        bytes = std::malloc(size > 0 ? size : 1);
        if (!bytes) return false;
        gc_ext_malloced(size);
    }
    data = static_cast<unsigned char*>(bytes);
    length = size;
    return true;
}

bool KvDataBuffer::_Load(String path) {
    if (data) return false;
    int size = 0;
    unsigned char* bytes = KvGame::_game->LoadData(path, &size);
    if (!bytes) return false;
    data = bytes;
    length = size;
    gc_ext_malloced(size);
    return true;
}

void KvDataBuffer::_LoadAsync(const char* filePath, KvThread* thread) {
    if (data) return;
    FILE* file = std::fopen(filePath, "rb");
    if (!file) return;
    int size = 0;
    unsigned char* bytes = read_whole_file(file, &size);
    std::fclose(file);
    if (!bytes) return;
    data = bytes;
    length = size;
    gc_ext_malloced(size);
    thread->SetResult(this);
}

void KvDataBuffer::Discard() {
    std::free(data);
    data = nullptr;
    length = 0;
}

c_DataBuffer* c_DataBuffer::m_new(int size) {
    if (!_New(size, nullptr)) kvError(String("Allocate DataBuffer failed"));
    return this;
}

c_DataBuffer* c_DataBuffer::m_Load(String path) {
    auto* buffer = new c_DataBuffer;
    return buffer->_Load(path) ? buffer : nullptr;
}

void c_DataBuffer::p_PokeBytes(int address, Array<int> bytes, int offset, int count) {
    count = clamp_count(offset, clamp_count(address, count, length), bytes.Length());
    for (int i = 0; i < count; ++i) data[address + i] = static_cast<unsigned char>(bytes[offset + i]);
}

void c_DataBuffer::p_PeekBytes(int address, Array<int> bytes, int offset, int count) {
    count = clamp_count(offset, clamp_count(address, count, length), bytes.Length());
    for (int i = 0; i < count; ++i) bytes[offset + i] = static_cast<signed char>(data[address + i]);
}

Array<int> c_DataBuffer::p_PeekBytes2(int address, int count) {
    Array<int> bytes(clamp_count(address, count, length));
    p_PeekBytes(address, bytes, 0, bytes.Length());
    return bytes;
}

void c_DataBuffer::p_CopyBytes(int address, c_DataBuffer* target, int dstAddress, int count) {
    count = clamp_count(dstAddress, clamp_count(address, count, length), target->length);
    if (count < 1) return;
    // Overlapping ranges in one buffer: copying from the far end first never reads a byte
    // that has already been overwritten.
    if (address < dstAddress) {
        for (int i = count - 1; i >= 0; --i) target->data[dstAddress + i] = data[address + i];
    } else {
        for (int i = 0; i < count; ++i) target->data[dstAddress + i] = data[address + i];
    }
}

int c_DataBuffer::p_PokeString(int address, String text, String encoding) {
    bool utf8 = is_encoding(encoding, "utf8");
    if (!utf8 && !is_encoding(encoding, "ascii")) invalid_encoding(encoding);
    // The bytes past the buffer's end are cut off, but the count is that of the whole text.
    std::string bytes = utf8 ? to_utf8(text) : text.ToCString().text;
    int fits = clamp_count(address, static_cast<int>(bytes.size()), length);
    if (fits > 0) std::memcpy(data + address, bytes.data(), fits);
    return static_cast<int>(bytes.size());
}

String c_DataBuffer::p_PeekString(int address, int count, String encoding) {
    bool utf8 = is_encoding(encoding, "utf8");
    if (!utf8 && !is_encoding(encoding, "ascii")) invalid_encoding(encoding);
    count = clamp_count(address, count, length);
    const unsigned char* bytes = data + (count > 0 ? address : 0);
    std::u16string units;
    units.reserve(count);
    if (utf8 && decode_utf8(bytes, count, units)) return String(units.data(), static_cast<int>(units.size()));
    units.clear();
    for (int i = 0; i < count; ++i) {
        units.push_back(utf8 ? static_cast<Char>(static_cast<signed char>(bytes[i])) : bytes[i]);
    }
    return String(units.data(), count);
}

String c_DataBuffer::p_PeekString2(int address, String encoding) {
    return p_PeekString(address, length - address, encoding);
}
