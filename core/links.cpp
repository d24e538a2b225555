// The registry of widget link fields. Widgets may be made and destroyed on any thread, so the
// registry has a lock of its own; it is held only for the few operations here.
#include "links.h"

#include <mutex>
#include <new>
#include <unordered_set>

namespace {

struct Registry {
    std::mutex lock;
    std::unordered_set<void **> fields;
};

// Made on first use: widgets that live in static storage may be constructed before anything else.
Registry &Links()
{
    static Registry *registry = new Registry; // never destroyed: widgets may outlive static teardown
    return *registry;
}

} // namespace

void LinkField(void *field)
{
    Registry &registry = Links();
    std::lock_guard<std::mutex> hold(registry.lock);
    try {
        registry.fields.insert(static_cast<void **>(field));
    } catch (const std::bad_alloc &) {
        // Without room to record it the link is simply not cut later, as before.
    }
}

void UnlinkField(void *field)
{
    Registry &registry = Links();
    std::lock_guard<std::mutex> hold(registry.lock);
    registry.fields.erase(static_cast<void **>(field));
}

void CutLinksTo(const void *target)
{
    if (!target)
        return;
    Registry &registry = Links();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (void **field : registry.fields)
        if (*field == target)
            *field = nullptr;
}
