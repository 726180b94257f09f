// Worker threads, the per-socket operation queues they drain, and the event pump that hands
// finished operations back to the main thread. No locks: each ring index has one writer, and
// workers never allocate collected objects or touch strings.
#pragma once

#include <atomic>

#include "runtime/array.h"
#include "runtime/containers.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class c_Socket;

class KvThread : public Object {
public:
    std::atomic<int> running{0};  // 0 never started, 1 running, 2 finished
    // Written by the body on its worker, read on the main thread once the body has finished.
    // A worker cannot run the write barrier, so it may only hand back an object that the main
    // thread already holds elsewhere (the buffer it was given to fill).
    std::atomic<Object*> result{nullptr};

    virtual void Start();
    virtual bool IsRunning();
    virtual Object* Result();
    virtual void SetResult(Object* value);
    virtual void Run__UNSAFE__() {}

    static String Strdup(const String& text);

    void mark() override;
};

class c_Thread : public KvThread {
public:
    c_Thread* m_new() { return this; }
};

class c_AsyncOp : public Object {
public:
    virtual void p_Complete(c_Socket* source) = 0;
    virtual void p_Execute__UNSAFE__(c_Socket* source) = 0;
};

class c_IAsyncEventSource : public virtual gc_interface {
public:
    virtual void p_UpdateAsyncEvents() = 0;
};

class c_Stack3 : public StackOf<c_IAsyncEventSource*> {
public:
    c_Stack3* m_new() { return this; }
    c_Stack3* m_new2(const Array<c_IAsyncEventSource*>& values) {
        PushTail(values, 0);
        return this;
    }
    int p_Push7(c_IAsyncEventSource* value) { return Push(value), 0; }
    int p_Push8(const Array<c_IAsyncEventSource*>& values, int offset, int count) {
        return PushRange(values, offset, count), 0;
    }
    int p_Push9(const Array<c_IAsyncEventSource*>& values, int offset) { return PushTail(values, offset), 0; }
    bool p_Equals(c_IAsyncEventSource* a, c_IAsyncEventSource* b) { return a == b; }
    bool p_Contains2(c_IAsyncEventSource* value) { return Contains(value); }
    int p_Length(int count) { return SetLength(count), 0; }
    int p_Length2() { return Length(); }
    c_IAsyncEventSource* p_Get(int index) { return Get(index); }
};

// A ring of 256 slots: completed..executed hold finished operations awaiting delivery,
// executed..put operations awaiting the worker. put and completed belong to the main thread,
// executed to the worker; each side publishes its index with release and reads the other's
// with acquire, so a slot or an operation's results are seen whole.
class c_AsyncQueue : public c_Thread, public virtual c_IAsyncEventSource {
public:
    static constexpr int kSlots = 256;

    c_Socket* socket = nullptr;
    Array<c_AsyncOp*> queue;
    std::atomic<int> put{0};
    int completed = 0;
    std::atomic<int> executed{0};

    c_AsyncQueue* m_new(c_Socket* owner);
    void p_Enqueue(c_AsyncOp* op);
    void Run__UNSAFE__() override;
    void p_UpdateAsyncEvents() override;
    // Main thread: every queued operation has run, so the worker touches nothing of them.
    bool Drained();

    void mark() override;
};

extern c_Stack3* kv_asyncevent__sources;
extern c_IAsyncEventSource* kv_asyncevent__current;

// Start values of the module globals; the host's start-up calls it once.
void kv_asyncevent_InitGlobals();
void kv_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
void kv_asyncevent_UpdateAsyncEvents();
