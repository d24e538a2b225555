// The free functions, the slot table and the sixteen window procedures.
#include "library.h"

#include "window_internals.h"
#include "vorla/VLWindow.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

LibraryState state = {};

char classNames[SlotCount][24];

template <typename Handle>
LRESULT UnderLock(HWND window, UINT message, WPARAM wparam, LPARAM lparam, Handle handle)
{
    // After VorlaTerminate (and before VorlaInitialize) no window may reach the handler.
    if (!state.lockReady)
        return DefWindowProcA(window, message, wparam, lparam);
    EnterCriticalSection(&state.lock);
    ++state.lockDepth;
    const LRESULT result = handle();
    --state.lockDepth;
    LeaveCriticalSection(&state.lock);
    if (state.lockRetiring && state.lockDepth == 0) {
        state.lockRetiring = 0;
        DeleteCriticalSection(&state.lock);
    }
    return result;
}

LRESULT HandleUnderLock(int slot, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return UnderLock(window, message, wparam, lparam,
                     [&] { return WindowInternals::HandleMessage(slot, window, message, wparam, lparam); });
}

template <int Slot>
LRESULT CALLBACK ProcedureOfSlot(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return HandleUnderLock(Slot, window, message, wparam, lparam);
}

template <int... Slots>
constexpr std::array<WNDPROC, sizeof...(Slots)> MakeProcedures(std::integer_sequence<int, Slots...>)
{
    return {{&ProcedureOfSlot<Slots>...}};
}

const std::array<WNDPROC, SlotCount> procedures =
    MakeProcedures(std::make_integer_sequence<int, SlotCount>());

} // namespace

LRESULT RunUnderLock(LRESULT (*handler)(HWND, UINT, WPARAM, LPARAM), HWND window, UINT message, WPARAM wparam,
                     LPARAM lparam)
{
    return UnderLock(window, message, wparam, lparam, [&] { return handler(window, message, wparam, lparam); });
}

LibraryState &Library()
{
    return state;
}

void ResetLibraryState()
{
    state.owner = nullptr;
    state.instance = nullptr;
    state.modalSlot = -1;
    state.modalEndRequest = 0;
    std::memset(state.slots, 0, sizeof state.slots);
}

bool LibraryRunning()
{
    return state.initialised && !state.terminated;
}

WNDPROC SlotProcedure(int slot)
{
    return procedures[static_cast<size_t>(slot)];
}

const char *SlotClassName(int slot)
{
    char *name = classNames[slot];
    std::snprintf(name, sizeof classNames[slot], "%s%02d", "VorlaWindowClass", slot);
    return name;
}

void ZeroSlot(int slot)
{
    std::memset(&state.slots[slot], 0, sizeof state.slots[slot]);
}

int SlotOfWindow(const VLWindow *window)
{
    if (!window)
        return -1;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (state.slots[slot].handle && state.slots[slot].window == window)
            return slot;
    }
    return -1;
}

void VorlaInitialize(HWND owner, HINSTANCE instance)
{
    if (state.initialised)
        return;
    state.owner = owner;
    state.instance = instance;
    state.initialised = 1;
    state.terminated = 0;
    state.modalSlot = -1;
    std::memset(state.slots, 0, sizeof state.slots);
    state.modalEndRequest = 0;
    InitializeCriticalSection(&state.lock);
    state.lockReady = 1;
}

void VorlaMessageLoop()
{
    MSG message;
    // GetMessageA gives -1 on failure: stop then too rather than spin.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int VorlaGetEvent()
{
    return 1;
}

void VorlaMessageQuit()
{
}

int VorlaGetVersion()
{
    return VORLA_VERSION_NUMBER; // the project version, from the build
}

int VorlaGetOS()
{
    return 10;
}

void VorlaTerminate()
{
    if (state.terminated || !state.initialised)
        return;
    state.terminated = 1;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!state.slots[slot].handle)
            continue;
        if (state.slots[slot].window)
            state.slots[slot].window->Clear();
        UnregisterClassA(SlotClassName(slot), state.instance);
        ZeroSlot(slot);
    }
    UnregisterOpenGLClass();
    state.modalEndRequest = 0;
    // A modal loop still waiting for a message wakes to see that its dialog is gone.
    if (state.modalSlot >= 0)
        PostMessageA(nullptr, WM_NULL, 0, 0);
    state.lockReady = 0;
    // A callback may have called us: the lock is then still held further up the stack.
    if (state.lockDepth > 0)
        state.lockRetiring = 1;
    else
        DeleteCriticalSection(&state.lock);
}
