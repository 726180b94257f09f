// Data buffers: a fixed block of raw bytes owned by a collected object, with the byte and
// string operations the network layer sends from and receives into. Every range is clamped
// to the buffer and to the array involved, so a request past an end simply does less.
#pragma once

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class KvThread;

class KvDataBuffer : public Object {
public:
    unsigned char* data = nullptr;
    int length = 0;

    ~KvDataBuffer() override;

    // Adopts `bytes` (malloc'ed; the buffer frees it) or allocates `size` bytes when it is none;
    // false when the buffer already holds data or the bytes cannot be had.
    bool _New(int size, void* bytes);
    // The whole file through the host's loader; false when the buffer holds data or no file.
    bool _Load(String path);
    // Worker side of an asynchronous load. The worker may not touch strings, so the caller
    // turns the path into a native UTF-8 file path on the main thread (the host's
    // PathToFilePath) and keeps it alive; on success the buffer becomes the thread's result.
    void _LoadAsync(const char* filePath, KvThread* thread);
    void Discard();
};

class c_DataBuffer : public KvDataBuffer {
public:
    c_DataBuffer* m_new(int size);
    static c_DataBuffer* m_Load(String path);

    void p_PokeBytes(int address, Array<int> bytes, int offset, int count);
    void p_PeekBytes(int address, Array<int> bytes, int offset, int count);
    Array<int> p_PeekBytes2(int address, int count);
    void p_CopyBytes(int address, c_DataBuffer* target, int dstAddress, int count);
    int p_PokeString(int address, String text, String encoding);
    String p_PeekString(int address, int count, String encoding);
    String p_PeekString2(int address, String encoding);
};
