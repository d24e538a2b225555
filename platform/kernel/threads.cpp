// _beginthread of the C runtime: a detached POSIX thread that runs the function once.
#include "platform/win32.h"

#include <cerrno>
#include <climits>
#include <pthread.h>

namespace {

struct Start {
    void (*function)(void *);
    void *argument;
};

void *Run(void *data) {
    Start start = *static_cast<Start *>(data);
    delete static_cast<Start *>(data);
    start.function(start.argument);
    return nullptr;
}

} // namespace

extern "C" uintptr_t _beginthread(void (*function)(void *), unsigned stack_size, void *argument) {
    if (!function) {
        errno = EINVAL;
        return static_cast<uintptr_t>(-1);
    }
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return static_cast<uintptr_t>(-1);
    // Nobody joins: the C runtime's threads end by returning and release themselves.
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stack_size > 0) {
        size_t size = stack_size < PTHREAD_STACK_MIN ? static_cast<size_t>(PTHREAD_STACK_MIN) : stack_size;
        pthread_attr_setstacksize(&attributes, size);
    }
    Start *start = new Start{function, argument};
    pthread_t thread;
    int error = pthread_create(&thread, &attributes, Run, start);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        delete start;
        errno = error == EAGAIN ? EAGAIN : EINVAL;
        return static_cast<uintptr_t>(-1);
    }
    return static_cast<uintptr_t>(thread);
}
