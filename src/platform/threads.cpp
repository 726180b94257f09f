// Detached POSIX threads for the asynchronous queues.
#include "platform/threads.h"

#include <pthread.h>

namespace {

struct ThreadStart {
    void (*entry)(void*);
    void* argument;
};

void* run_thread(void* start) {
    ThreadStart job = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    job.entry(job.argument);
    return nullptr;
}

}  // namespace

bool start_detached_thread(void (*entry)(void*), void* argument) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    auto* start = new ThreadStart{entry, argument};
    pthread_t thread;
    bool started = pthread_create(&thread, &attributes, run_thread, start) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) delete start;
    return started;
}
