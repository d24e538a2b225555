// CPU time of the calling thread, for benchmarks that time two pieces of work in turn within one
// iteration and compare them.
#pragma once

#include <ctime>

inline double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
