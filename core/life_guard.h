// Watching an object across a call into application code. A callback may clear, destroy or
// delete the window or widget it was called for, or change the child list that is being walked;
// code that runs after a callback asks its guard before it touches the object again.
#pragma once

class LifeGuard {
public:
    explicit LifeGuard(const void *object);
    ~LifeGuard();
    LifeGuard(const LifeGuard &) = delete;
    LifeGuard &operator=(const LifeGuard &) = delete;

    // True once the object was cleared, destroyed or (for a child list) changed since the guard
    // was made: its fields may no longer be what the code in progress relied on.
    bool Ended() const { return ended_; }
    // True once the object was destroyed: not even its fields may be read.
    bool Destroyed() const { return destroyed_; }

    // Reports that the object ended (or changed); every guard watching it answers Ended() from
    // now on. Cheap: only guards of calls in progress are visited, a handful at most.
    static void End(const void *object);
    static void Destroy(const void *object);

private:
    const void *object_;
    bool ended_ = false;
    bool destroyed_ = false;
    LifeGuard *outer_;
};
