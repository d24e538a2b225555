// VLThread: a function started on a C runtime thread, and the register of the 8 objects that
// may hold a started thread at once.
#include "vorla/VLThread.h"

namespace {

const int kSlots = 8;

struct Slot {
    VLThread *owner;
    int used;
};

// Library-wide and unlocked: starting and destroying thread objects is for one thread at a time.
Slot slots[kSlots];
int slotsCleared = 0;

void FreeSlotOf(VLThread *owner)
{
    for (Slot &slot : slots) {
        if (slot.used && slot.owner == owner) {
            slot.owner = nullptr;
            slot.used = 0;
        }
    }
}

} // namespace

VLThread::VLThread() : running(0), function(nullptr)
{
    if (!slotsCleared) {
        for (Slot &slot : slots) {
            slot.owner = nullptr;
            slot.used = 0;
        }
        slotsCleared = 1;
    }
}

VLThread::~VLThread()
{
    running = 0;
    function = nullptr;
    FreeSlotOf(this);
}

int VLThread::BeginThread(Function start, void *argument)
{
    if (!start || running)
        return 0;
    // A slot from an earlier start of this object is given back first.
    running = 0;
    function = nullptr;
    FreeSlotOf(this);

    function = start;
    Slot *free = nullptr;
    for (Slot &slot : slots) {
        if (!slot.used) {
            free = &slot;
            break;
        }
    }
    if (!free) {
        function = nullptr;
        return 0;
    }
    _beginthread(start, 0, argument);
    free->owner = this;
    free->used = 1;
    running = 1;
    return 1;
}

int VLThread::EndThread()
{
    if (!running)
        return 0;
    running = 0;
    function = nullptr;
    return 1;
}

void VLThread::Sleep(int milliseconds)
{
    // A negative time would become a wait of some 49 days as the system's unsigned count.
    ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}
