// Worker threads for the asynchronous queues: the POSIX stand-in for the Win32 thread creation.
// Workers run detached, so nothing ever joins them and process exit never waits for one.
#pragma once

// Starts entry(argument) on a new detached thread with the default stack; false when the
// system refuses to create it.
bool start_detached_thread(void (*entry)(void*), void* argument);
