// The collector: what survives through globals, fields and the write barrier, what becomes
// garbage and when it is destroyed, how marking follows allocation, and the external-bytes
// trigger. Each test starts from empty lists and zeroed counters.
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/array.h"
#include "runtime/gc.h"

namespace {

int destroyed;

class Node : public Object {
public:
    Node* next = nullptr;
    String label;
    ~Node() override { ++destroyed; }
    void mark() override { gc_mark_q(next); }
};

Node* root_node;
Array<Node*> root_array;
gc_roots roots([] {
    gc_mark_q(root_node);
    gc_mark_q(root_array);
});

class Delegate : public Object {};

// About 2 KiB of live data each, for heaps large enough that marking takes many steps.
class Blob : public Object {
public:
    Array<int> payload;
    void mark() override { gc_mark_q(payload); }
};
Array<Blob*> root_blobs;
gc_roots blob_roots([] { gc_mark_q(root_blobs); });

void make_garbage_kib(int kib) {
    for (int i = 0; i < kib; ++i) Array<int>(248);
}

// Destroys every object on the collector's lists, so a test leaves nothing behind.
void destroy_everything() {
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) {
        while (list->succ != list) {
            gc_object* object = list->succ;
            list->succ = object->succ;
            object->succ->pred = list;
            object->~gc_object();
            std::free(object);
        }
    }
}

class Collector : public ::testing::Test {
protected:
    void TearDown() override {
        root_node = nullptr;
        root_array = Array<Node*>();
        root_blobs = Array<Blob*>();
        destroy_everything();
    }
    void SetUp() override {
        gc_init_lists();
        gc_new_bytes = gc_alloced_bytes = gc_max_alloced_bytes = gc_marked_bytes = gc_free_bytes = 0;
        gc_ext_new_bytes = 0;
        root_node = nullptr;
        root_array = Array<Node*>();
        root_blobs = Array<Blob*>();
        destroyed = 0;
        delegate = new Delegate;
        gc_mark();
    }

    // Runs collector steps until `count` full collections have happened.
    void full_collections(int count) {
        for (int i = 0; i < count; ++i) {
            gc_ext_malloced(kGcFullCollectBytes + 1);
            int bit = gc_markbit;
            gc_collect(delegate);
            ASSERT_NE(bit, gc_markbit);
        }
    }

    // Allocation pays for destruction: allocate enough to destroy every pending object.
    void pay_for_garbage() {
        while (gc_free_bytes > 0) new Node;
    }

    // A live heap of `count` blobs, found and kept by one full collection.
    int live_heap(int count) {
        gc_assign(root_blobs, Array<Blob*>(count));
        for (int i = 0; i < count; ++i) {
            gc_assign(root_blobs[i], new Blob);
            gc_assign(root_blobs[i]->payload, Array<int>(500));
        }
        full_collections(1);
        return gc_alloced_bytes;
    }

    Delegate* delegate = nullptr;
};

TEST_F(Collector, UnreachableObjectIsGarbageAfterAFullCollectionAndDestroyedByLaterAllocation) {
    Node* local = new Node;
    gc_collect(delegate);  // a local survives while no full collection runs
    EXPECT_EQ(destroyed, 0);
    EXPECT_FALSE(gc_is_white(delegate));
    (void)local;
    full_collections(1);
    EXPECT_EQ(destroyed, 0) << "destruction is lazy";
    EXPECT_GT(gc_free_bytes, 0);
    pay_for_garbage();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(Collector, ObjectsReachableFromGlobalsAndFieldsSurvive) {
    gc_assign(root_node, new Node);
    gc_assign(root_node->next, new Node);
    gc_assign(root_array, Array<Node*>(3));
    gc_assign(root_array[1], new Node);
    full_collections(3);
    pay_for_garbage();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(gc_alloced_bytes, root_node->gc_size() * 3 + root_array.rep->gc_size() + delegate->gc_size());
}

TEST_F(Collector, WriteBarrierKeepsAnObjectStoredIntoABlackObject) {
    gc_assign(root_node, new Node);
    full_collections(1);
    // Mark the live graph completely, so the root is black, then store a fresh object into it.
    gc_collect(delegate);
    gc_mark_queued(2147483647);
    ASSERT_FALSE(gc_is_white(root_node));
    gc_assign(root_node->next, new Node);
    full_collections(2);
    pay_for_garbage();
    EXPECT_EQ(destroyed, 0);
    ASSERT_NE(root_node->next, nullptr);
}

TEST_F(Collector, ReassignedGlobalLetsTheOldObjectGo) {
    gc_assign(root_node, new Node);
    full_collections(1);
    gc_assign(root_node, new Node);
    full_collections(2);
    pay_for_garbage();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(Collector, GarbageStringsAreReleasedWhenTheirHolderIsDestroyed) {
    String text = String("shared ") + String("text");
    Node* holder = new Node;
    holder->label = text;
    EXPECT_EQ(text.SharesRep(holder->label), true);
    full_collections(1);
    pay_for_garbage();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(text.Length(), 11);  // still alive through this handle alone
}

TEST_F(Collector, WithoutAllocationOnlyTheDelegateIsMarked) {
    gc_assign(root_node, new Node);
    full_collections(1);
    int marked = gc_marked_bytes;
    for (int i = 0; i < 10; ++i) gc_collect(delegate);
    EXPECT_EQ(gc_marked_bytes, marked + delegate->gc_size());
    EXPECT_EQ(gc_list_count(gc_queued_list), 1) << "the queued root waits for allocation";
}

TEST_F(Collector, IncrementalStepsMarkInProportionToAllocation) {
    int live = live_heap(2000);
    for (int step = 0; step < 16; ++step) {
        make_garbage_kib(38);
        gc_collect(delegate);
    }
    // Allocating a share f of the threshold marks the allocated amount plus f of the live heap.
    double f = double(gc_new_bytes) / kGcFullCollectBytes;
    EXPECT_GT(f, 0.05);
    EXPECT_NEAR(double(gc_marked_bytes) / live, (gc_new_bytes + f * live) / live, 0.002);
    EXPECT_LT(gc_marked_bytes, live / 2);
}

TEST_F(Collector, FullCollectionFindsMostMarkingAlreadyDone) {
    int live = live_heap(2000);
    int marked_before_full = 0;
    for (int bit = gc_markbit; bit == gc_markbit;) {
        marked_before_full = gc_marked_bytes;
        make_garbage_kib(64);
        gc_collect(delegate);
    }
    EXPECT_GT(double(marked_before_full) / live, 0.95);
    EXPECT_EQ(gc_alloced_bytes, live) << "the live heap is kept whole, the garbage is not";
}

TEST_F(Collector, ExternalBytesTriggerAFullCollection) {
    new Node;
    int bit = gc_markbit;
    gc_ext_malloced(kGcFullCollectBytes - gc_new_bytes);
    gc_collect(delegate);
    EXPECT_EQ(bit, gc_markbit) << "exactly 8 MiB is not over the threshold";
    gc_ext_malloced(1);
    gc_collect(delegate);
    EXPECT_NE(bit, gc_markbit);
    EXPECT_EQ(gc_ext_new_bytes.load(), 0);
    EXPECT_GT(gc_free_bytes, 0);
}

TEST_F(Collector, SmallBlocksAreRecycledThroughTheSizeCaches) {
    Node* first = new Node;
    void* block = first;
    full_collections(1);
    // The next allocation of the same size destroys `first` and takes its block back.
    Node* again = new Node;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(static_cast<void*>(again), block);
}

}  // namespace
