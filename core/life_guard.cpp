// The guards of calls in progress, one chain per thread: guards live on the stack of the thread
// that handles messages, and an object ended on another thread cannot be in its walks.
#include "life_guard.h"

namespace {

thread_local LifeGuard *innermost = nullptr;

} // namespace

LifeGuard::LifeGuard(const void *object) : object_(object), outer_(innermost)
{
    innermost = this;
}

LifeGuard::~LifeGuard()
{
    // Guards are scoped, so they leave in the reverse order of their making.
    innermost = outer_;
}

void LifeGuard::End(const void *object)
{
    for (LifeGuard *guard = innermost; guard; guard = guard->outer_)
        if (guard->object_ == object)
            guard->ended_ = true;
}

void LifeGuard::Destroy(const void *object)
{
    for (LifeGuard *guard = innermost; guard; guard = guard->outer_)
        if (guard->object_ == object)
            guard->ended_ = guard->destroyed_ = true;
}
