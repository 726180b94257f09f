// The object model and the incremental mark-and-sweep collector: every collected object
// starts with a gc_object header, lives on exactly one of four lists, and is freed lazily.
// Collection only runs at the host's safe points, so the machine stack is never scanned.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

class String;

class gc_object {
public:
    gc_object* succ;
    gc_object* pred;
    int flags;  // allocation size in the bits above the low three; colour in the low two

    gc_object();
    virtual ~gc_object() {}
    virtual void mark() {}

    int gc_size() const { return flags & ~7; }

    static void* operator new(size_t size);
    static void* operator new(size_t size, size_t extra);
    static void operator delete(void* block);
    static void operator delete(void* block, size_t extra);

    // For objects that live outside the heap (the shared empty arrays): colour bits 3
    // never equal the mark bit, so they are never queued, marked or freed.
    struct permanent_tag {};
    constexpr explicit gc_object(permanent_tag) : succ(this), pred(this), flags(3) {}
};

class Object : public gc_object {
public:
    virtual bool Equals(Object* other);
    virtual int Compare(Object* other);
    virtual String debug();
};

class gc_interface {
public:
    virtual ~gc_interface() {}
};

// Counters, all 32-bit signed as the thresholds compare them.
extern int gc_markbit;
extern int gc_new_bytes;
extern int gc_alloced_bytes;
extern int gc_max_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;
extern std::atomic<int> gc_ext_new_bytes;

// List sentinels: white, grey, black, and garbage waiting to be destroyed.
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;

constexpr int kGcFullCollectBytes = 8388608;  // a full collection after 8 MiB of allocation

void* gc_object_alloc(size_t size);
void gc_object_free(void* block, int size);

inline bool gc_is_white(const gc_object* object) { return (object->flags & 3) == gc_markbit; }

void gc_mark(gc_object* object);
void gc_mark_q(gc_object* object);
void gc_mark_queued(int limit);

// Interface pointers reach their object through the virtual base.
template <class T>
    requires(!std::is_convertible_v<T*, gc_object*>)
inline void gc_mark(T* object) {
    gc_mark(dynamic_cast<gc_object*>(object));
}
template <class T>
    requires(!std::is_convertible_v<T*, gc_object*>)
inline void gc_mark_q(T* object) {
    gc_mark_q(dynamic_cast<gc_object*>(object));
}
void gc_ext_malloced(int bytes);

// Write barrier: every store of a reference into a field, a global or an array element.
template <class T, class U>
inline void gc_assign(T*& field, U* value) {
    gc_mark_q(value);
    field = value;
}

// The roots: each module registers one function that queues its globals (gc_mark_q).
using gc_root_marker = void (*)();
void gc_register_roots(gc_root_marker marker);
struct gc_roots {
    explicit gc_roots(gc_root_marker marker) { gc_register_roots(marker); }
};
void gc_mark();

// One collector step; the host runs it after every event it delivers to the game.
void gc_collect(gc_object* delegate);

// Empties the four lists; the host does this once before the module globals get their values.
void gc_init_lists();

// Objects on a list, for tests and the debug read-out.
int gc_list_count(const gc_object& list);
