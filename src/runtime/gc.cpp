// The collector: allocation that pays for destroying garbage, the write barrier's queue,
// marking in proportion to allocation, and the full collection every 8 MiB.
#include "runtime/gc.h"

#include <cstdlib>

#include "runtime/string.h"

int gc_markbit = 0;
int gc_new_bytes = 0;
int gc_alloced_bytes = 0;
int gc_max_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;
std::atomic<int> gc_ext_new_bytes{0};

gc_object gc_unmarked_list{gc_object::permanent_tag{}};
gc_object gc_queued_list{gc_object::permanent_tag{}};
gc_object gc_marked_list{gc_object::permanent_tag{}};
gc_object gc_free_list{gc_object::permanent_tag{}};

namespace {

constexpr int kCachedSizeLimit = 64;

struct FreeBlock {
    FreeBlock* next;
};
FreeBlock* gc_cache[kCachedSizeLimit / 8];

// The size of the object being constructed: operator new records it and the gc_object
// constructor takes it, so the header is written inside the object's own lifetime.
int gc_pending_size;

constexpr int kMaxRootMarkers = 32;
gc_root_marker gc_root_markers[kMaxRootMarkers];
int gc_root_marker_count;

void unlink(gc_object* object) {
    object->pred->succ = object->succ;
    object->succ->pred = object->pred;
}

void append(gc_object& list, gc_object* object) {
    object->pred = list.pred;
    object->succ = &list;
    list.pred->succ = object;
    list.pred = object;
}

bool is_empty(const gc_object& list) { return list.succ == &list; }

// Moves every object of `from` to the end of `to`, leaving `from` empty.
void splice_all(gc_object& from, gc_object& to) {
    if (is_empty(from)) return;
    gc_object* first = from.succ;
    gc_object* last = from.pred;
    first->pred = to.pred;
    to.pred->succ = first;
    last->succ = &to;
    to.pred = last;
    from.succ = from.pred = &from;
}

void destroy_first_garbage() {
    gc_object* object = gc_free_list.succ;
    unlink(object);
    int size = object->gc_size();
    object->~gc_object();
    gc_object_free(object, size);
}

void full_collection(int ext_read) {
    gc_ext_new_bytes.fetch_sub(ext_read);
    gc_mark_queued(2147483647);
    if (gc_alloced_bytes != gc_marked_bytes) {
        splice_all(gc_unmarked_list, gc_free_list);
        gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
    }
    splice_all(gc_marked_list, gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
    gc_mark();
    gc_new_bytes = 0;
}

}  // namespace

gc_object::gc_object() : flags(gc_pending_size | gc_markbit) {
    append(gc_unmarked_list, this);
}


void* gc_object::operator new(size_t size) { return gc_object_alloc(size); }
void* gc_object::operator new(size_t size, size_t extra) { return gc_object_alloc(size + extra); }
// Only reached when a constructor throws; the collector frees blocks itself otherwise.
void gc_object::operator delete(void* block) { std::free(block); }
void gc_object::operator delete(void* block, size_t) { std::free(block); }

bool Object::Equals(Object* other) { return this == other; }
int Object::Compare(Object* other) {
    return static_cast<int>(reinterpret_cast<intptr_t>(this) - reinterpret_cast<intptr_t>(other));
}
String Object::debug() { return String("+Object\n"); }

void* gc_object_alloc(size_t requested) {
    int size = static_cast<int>((requested + 7) & ~size_t(7));
    gc_new_bytes += size;

    // Destruction is paid by allocation: at least as many bytes of garbage as asked for.
    int target = gc_free_bytes - size > 0 ? gc_free_bytes - size : 0;
    while (gc_free_bytes > target) destroy_first_garbage();

    void* block = nullptr;
    if (size < kCachedSizeLimit && gc_cache[size / 8]) {
        FreeBlock* cached = gc_cache[size / 8];
        gc_cache[size / 8] = cached->next;
        block = cached;
    } else {
        block = std::malloc(size);
    }
    gc_pending_size = size;
    gc_alloced_bytes += size;
    if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
    return block;
}

void gc_object_free(void* block, int size) {
    gc_free_bytes -= size;
    if (size < kCachedSizeLimit) {
        FreeBlock* cached = static_cast<FreeBlock*>(block);
        cached->next = gc_cache[size / 8];
        gc_cache[size / 8] = cached;
    } else {
        std::free(block);
    }
}

void gc_mark(gc_object* object) {
    if (!object || !gc_is_white(object)) return;
    object->flags ^= 1;
    gc_marked_bytes += object->gc_size();
    unlink(object);
    append(gc_marked_list, object);
    object->mark();
}

void gc_mark_q(gc_object* object) {
    if (!object || !gc_is_white(object)) return;
    object->flags ^= 1;
    unlink(object);
    append(gc_queued_list, object);
}

void gc_mark_queued(int limit) {
    while (gc_marked_bytes < limit && !is_empty(gc_queued_list)) {
        gc_object* object = gc_queued_list.succ;
        unlink(object);
        append(gc_marked_list, object);
        gc_marked_bytes += object->gc_size();
        object->mark();
    }
}

void gc_ext_malloced(int bytes) { gc_ext_new_bytes.fetch_add(bytes); }

void gc_register_roots(gc_root_marker marker) {
    if (gc_root_marker_count < kMaxRootMarkers) gc_root_markers[gc_root_marker_count++] = marker;
}

void gc_mark() {
    for (int i = 0; i < gc_root_marker_count; ++i) gc_root_markers[i]();
}

void gc_collect(gc_object* delegate) {
    gc_mark(delegate);
    int ext = gc_ext_new_bytes.load();
    int pending = static_cast<int>(static_cast<uint32_t>(gc_new_bytes) + static_cast<uint32_t>(ext));
    if (pending > kGcFullCollectBytes) {
        full_collection(ext);
        return;
    }
    int64_t target = gc_new_bytes +
                     int64_t(gc_alloced_bytes - gc_new_bytes) * gc_new_bytes / kGcFullCollectBytes;
    gc_mark_queued(static_cast<int>(target));
}

void gc_init_lists() {
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) {
        list->succ = list->pred = list;
    }
}

int gc_list_count(const gc_object& list) {
    int count = 0;
    for (const gc_object* o = list.succ; o != &list; o = o->succ) ++count;
    return count;
}
