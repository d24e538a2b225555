// VLThread: starts a function on a thread of its own; at most 8 objects hold a started thread.
#ifndef VORLA_VLTHREAD_H
#define VORLA_VLTHREAD_H

#include "vorla/vorla.h"

class VORLA_API VLThread {
public:
    typedef void (*Function)(void *);

    VLThread();
    ~VLThread();
    VLThread(const VLThread &) = delete;
    VLThread &operator=(const VLThread &) = delete;

    int BeginThread(Function function, void *argument);
    int EndThread();
    void Sleep(int milliseconds);

private:
    int running;
    Function function;
};

#endif
