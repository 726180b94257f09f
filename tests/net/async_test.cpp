// The worker queue and the event pump: order, capacity, wrap-around of the ring indices,
// operations queued from a completion, and the pump's re-entry and registration rules.
#include "net/async.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "net_test_support.h"

namespace {

// Records on which side of delivery it ran: the worker writes `ran` before the queue
// publishes `executed`, the main thread reads it on delivery.
class RecordingOp : public c_AsyncOp {
public:
    int id = 0;
    bool ran = false;
    std::vector<int>* delivered = nullptr;
    bool ranBeforeDelivery = false;

    RecordingOp* m_new(int number, std::vector<int>* log) {
        id = number;
        delivered = log;
        return this;
    }
    void p_Execute__UNSAFE__(c_Socket*) override { ran = true; }
    void p_Complete(c_Socket*) override {
        ranBeforeDelivery = ran;
        delivered->push_back(id);
    }
};

// Blocks its worker until released, so operations pile up behind it.
class GateOp : public c_AsyncOp {
public:
    std::atomic<bool>* open = nullptr;
    void p_Execute__UNSAFE__(c_Socket*) override {
        while (!open->load(std::memory_order_acquire)) std::this_thread::yield();
    }
    void p_Complete(c_Socket*) override {}
};

// Each delivery queues the next operation, up to `remaining` of them.
class ChainOp : public c_AsyncOp {
public:
    c_AsyncQueue* queue = nullptr;
    int remaining = 0;
    std::vector<int>* delivered = nullptr;
    void p_Execute__UNSAFE__(c_Socket*) override {}
    void p_Complete(c_Socket*) override {
        delivered->push_back(remaining);
        if (remaining == 0) return;
        auto* next = new ChainOp;
        gc_assign(next->queue, queue);
        next->remaining = remaining - 1;
        next->delivered = delivered;
        queue->p_Enqueue(next);
    }
    void mark() override { gc_mark_q(queue); }
};

class AsyncQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        kv_asyncevent_InitGlobals();
        queue = (new c_AsyncQueue)->m_new(nullptr);
        kv_asyncevent_AddAsyncEventSource(queue);
    }

    c_AsyncQueue* queue = nullptr;
    std::vector<int> delivered;
};

TEST_F(AsyncQueueTest, OperationsCompleteInQueueOrderAfterRunning) {
    std::vector<RecordingOp*> ops;
    for (int i = 0; i < 3; ++i) {
        ops.push_back((new RecordingOp)->m_new(i, &delivered));
        queue->p_Enqueue(ops.back());
    }
    ASSERT_TRUE(pump_until([&] { return delivered.size() == 3; }));
    EXPECT_EQ(delivered, (std::vector<int>{0, 1, 2}));
    for (RecordingOp* op : ops) EXPECT_TRUE(op->ranBeforeDelivery);
}

TEST_F(AsyncQueueTest, IndicesWrapAroundTheRing) {
    int next = 0;
    for (int batch = 0; batch < 6; ++batch) {
        for (int i = 0; i < 100; ++i) queue->p_Enqueue((new RecordingOp)->m_new(next++, &delivered));
        ASSERT_TRUE(pump_until([&] { return int(delivered.size()) == next; }));
    }
    for (int i = 0; i < next; ++i) ASSERT_EQ(delivered[i], i);
    EXPECT_EQ(queue->put.load(), 600 % 256);
    EXPECT_EQ(queue->executed.load(), 600 % 256);
    EXPECT_EQ(queue->completed, 600 % 256);
}

TEST_F(AsyncQueueTest, TwoHundredFiftyFiveOutstandingAreAccepted) {
    std::atomic<bool> open{false};
    auto* gate = new GateOp;
    gate->open = &open;
    queue->p_Enqueue(gate);
    for (int i = 1; i < 255; ++i) queue->p_Enqueue((new RecordingOp)->m_new(i, &delivered));
    open.store(true, std::memory_order_release);
    ASSERT_TRUE(pump_until([&] { return delivered.size() == 254; }));
    EXPECT_EQ(delivered.back(), 254);
}

TEST_F(AsyncQueueTest, TwoHundredFiftySixthOutstandingOverflows) {
    EXPECT_EXIT(
        {
            route_runtime_errors_to_stderr();
            std::vector<int> log;
            for (int i = 0; i < 256; ++i) queue->p_Enqueue((new RecordingOp)->m_new(i, &log));
        },
        ::testing::ExitedWithCode(255), "Tarvik Runtime Error : AsyncQueue queue overflow!");
}

TEST_F(AsyncQueueTest, CompletionCanQueueMoreWork) {
    auto* first = new ChainOp;
    gc_assign(first->queue, queue);
    first->remaining = 5;
    first->delivered = &delivered;
    queue->p_Enqueue(first);
    ASSERT_TRUE(pump_until([&] { return delivered.size() == 6; }));
    EXPECT_EQ(delivered, (std::vector<int>{5, 4, 3, 2, 1, 0}));
}

TEST_F(AsyncQueueTest, WorkerEndsWhenTheQueueIsDrainedAndRestartsOnDemand) {
    queue->p_Enqueue((new RecordingOp)->m_new(1, &delivered));
    ASSERT_TRUE(pump_until([&] { return delivered.size() == 1 && !queue->IsRunning(); }));
    EXPECT_EQ(queue->running.load(), 2);
    queue->p_Enqueue((new RecordingOp)->m_new(2, &delivered));
    ASSERT_TRUE(pump_until([&] { return delivered.size() == 2; }));
}

class CountingSource : public Object, public virtual c_IAsyncEventSource {
public:
    int pumps = 0;
    bool pumpAgain = false;
    CountingSource* addDuringPump = nullptr;
    void p_UpdateAsyncEvents() override {
        ++pumps;
        EXPECT_EQ(kv_asyncevent__current, static_cast<c_IAsyncEventSource*>(this));
        if (pumpAgain) kv_asyncevent_UpdateAsyncEvents();
        if (addDuringPump) {
            kv_asyncevent_AddAsyncEventSource(addDuringPump);
            addDuringPump = nullptr;
        }
    }
};

TEST(EventPump, NothingRegisteredDoesNothing) {
    kv_asyncevent_InitGlobals();
    kv_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(kv_asyncevent__sources->p_Length2(), 0);
    EXPECT_EQ(kv_asyncevent__current, nullptr);
}

TEST(EventPump, PumpingFromInsideADeliveryHasNoEffect) {
    kv_asyncevent_InitGlobals();
    auto* source = new CountingSource;
    source->pumpAgain = true;
    kv_asyncevent_AddAsyncEventSource(source);
    kv_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(source->pumps, 1);
    EXPECT_EQ(kv_asyncevent__current, nullptr);
}

TEST(EventPump, SourceAddedDuringThePumpIsServedInTheSamePass) {
    kv_asyncevent_InitGlobals();
    auto* first = new CountingSource;
    auto* added = new CountingSource;
    first->addDuringPump = added;
    kv_asyncevent_AddAsyncEventSource(first);
    kv_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(first->pumps, 1);
    EXPECT_EQ(added->pumps, 1);
}

TEST(EventPump, RegisteringTwiceIsARuntimeError) {
    kv_asyncevent_InitGlobals();
    auto* source = new CountingSource;
    kv_asyncevent_AddAsyncEventSource(source);
    EXPECT_EXIT(
        {
            route_runtime_errors_to_stderr();
            kv_asyncevent_AddAsyncEventSource(source);
        },
        ::testing::ExitedWithCode(255), "Async event source is already active");
}

bool on_list(const gc_object& list, const gc_object* object) {
    for (const gc_object* o = list.succ; o != &list; o = o->succ) {
        if (o == object) return true;
    }
    return false;
}

// Nothing but the module globals holds the registered source across a full collection.
TEST(EventPump, RegisteredSourcesSurviveAFullCollection) {
    kv_asyncevent_InitGlobals();
    auto* source = new CountingSource;
    kv_asyncevent_AddAsyncEventSource(source);
    while (gc_new_bytes <= kGcFullCollectBytes) new CountingSource;
    gc_collect(nullptr);
    EXPECT_FALSE(on_list(gc_free_list, source));
    EXPECT_TRUE(on_list(gc_unmarked_list, source) || on_list(gc_queued_list, source));
    EXPECT_EQ(kv_asyncevent__sources->p_Get(0), static_cast<c_IAsyncEventSource*>(source));
}

TEST(EventSourceStack, PushesRangesAndComparesByIdentity) {
    Array<c_IAsyncEventSource*> sources{new CountingSource, new CountingSource, new CountingSource};
    c_Stack3* stack = (new c_Stack3)->m_new2(sources);
    stack->p_Push8(sources, 1, 1);
    stack->p_Push9(sources, 2);
    ASSERT_EQ(stack->p_Length2(), 5);
    EXPECT_EQ(stack->p_Get(3), sources[1]);
    EXPECT_EQ(stack->p_Get(4), sources[2]);
    EXPECT_TRUE(stack->p_Equals(sources[0], stack->p_Get(0)));
    EXPECT_FALSE(stack->p_Equals(sources[0], sources[1]));
    stack->p_Length(1);
    EXPECT_FALSE(stack->p_Contains2(sources[1]));
    EXPECT_TRUE(stack->p_Contains2(sources[0]));
}

TEST(Threads, StrdupCopiesIntoFreshStorage) {
    String text("shared");
    String copy = KvThread::Strdup(text);
    EXPECT_EQ(copy, text);
    EXPECT_FALSE(copy.SharesRep(text));
}

}  // namespace
