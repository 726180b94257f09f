// Threads, the lock-free operation ring and the main-thread event pump.
#include "net/async.h"

#include <cstdlib>

#include "net/socket.h"
#include "platform/threads.h"
#include "runtime/errors.h"

c_Stack3* kv_asyncevent__sources = nullptr;
c_IAsyncEventSource* kv_asyncevent__current = nullptr;

namespace {

gc_roots roots([] {
    gc_mark_q(kv_asyncevent__sources);
    gc_mark_q(kv_asyncevent__current);
});

// Marking the thread finished is the worker's last touch of the object: once the main thread
// sees 2 it may start a new body, and the old thread only has to return. A body touches only
// heap objects, atomics and the C library's socket calls, never a static with a destructor,
// so exit() can tear the process down while a worker is still blocked in one of those calls.
void run_thread_body(void* thread) {
    auto* self = static_cast<KvThread*>(thread);
    self->Run__UNSAFE__();
    self->running.store(2, std::memory_order_release);
}

int next_slot(int index) { return (index + 1) % c_AsyncQueue::kSlots; }

}  // namespace

void KvThread::Start() {
    if (running.load(std::memory_order_acquire) == 1) return;
    result.store(nullptr, std::memory_order_relaxed);
    running.store(1, std::memory_order_relaxed);
    if (!start_detached_thread(run_thread_body, this)) {
        kvPrint(String("CreateThread failed!"));
        std::exit(kExitRuntimeError);
    }
}

bool KvThread::IsRunning() { return running.load(std::memory_order_acquire) == 1; }

Object* KvThread::Result() { return result.load(std::memory_order_acquire); }

void KvThread::SetResult(Object* value) { result.store(value, std::memory_order_release); }

String KvThread::Strdup(const String& text) { return String(text.Data(), text.Length()); }

void KvThread::mark() { gc_mark_q(result.load(std::memory_order_acquire)); }

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* owner) {
    c_Thread::m_new();
    gc_assign(socket, owner);
    gc_assign(queue, Array<c_AsyncOp*>(kSlots));
    return this;
}

void c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
    int slot = put.load(std::memory_order_relaxed);
    // Checked before the slot is published, so the worker never sees a ring that laps itself.
    if (next_slot(slot) == completed) kvError(String("AsyncQueue queue overflow!"));
    gc_assign(queue[slot], op);
    put.store(next_slot(slot), std::memory_order_release);
    Start();
}

void c_AsyncQueue::Run__UNSAFE__() {
    int slot = executed.load(std::memory_order_relaxed);
    while (slot != put.load(std::memory_order_acquire)) {
        queue[slot]->p_Execute__UNSAFE__(socket);
        slot = next_slot(slot);
        executed.store(slot, std::memory_order_release);
    }
}

void c_AsyncQueue::p_UpdateAsyncEvents() {
    // A worker that finished just before the last enqueue left that operation behind.
    if (!Drained()) Start();
    while (completed != executed.load(std::memory_order_acquire)) {
        c_AsyncOp* op = queue[completed];
        completed = next_slot(completed);
        op->p_Complete(socket);
    }
}

bool c_AsyncQueue::Drained() {
    return executed.load(std::memory_order_acquire) == put.load(std::memory_order_relaxed);
}

void c_AsyncQueue::mark() {
    KvThread::mark();
    gc_mark_q(socket);
    gc_mark_q(queue);
}

void kv_asyncevent_InitGlobals() {
    gc_assign(kv_asyncevent__sources, (new c_Stack3)->m_new());
    kv_asyncevent__current = nullptr;
}

void kv_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
    if (kv_asyncevent__sources->p_Contains2(source)) kvError(String("Async event source is already active"));
    kv_asyncevent__sources->p_Push7(source);
}

void kv_asyncevent_UpdateAsyncEvents() {
    if (kv_asyncevent__current) return;
    for (int i = 0; i < kv_asyncevent__sources->p_Length2(); ++i) {
        gc_assign(kv_asyncevent__current, kv_asyncevent__sources->p_Get(i));
        kv_asyncevent__current->p_UpdateAsyncEvents();
    }
    kv_asyncevent__current = nullptr;
}
