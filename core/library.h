// The library-wide state: window slots, the modal bookkeeping and the one lock.
#pragma once

#include "vorla/vorla.h"

constexpr int SlotCount = 16;
constexpr int FirstWindowIdentifier = 1000;

struct WindowSlot {
    HWND handle;      // non-null: the slot is taken
    VLWindow *window; // the object that owns the slot
    int alive;        // 1 until the window system destroys the window
    int inputEnabled; // 0 while another window runs a modal loop
    int modal;        // 1 while shown by DoModal and not yet released
};

struct LibraryState {
    int initialised;
    int terminated;
    HWND owner;
    HINSTANCE instance;
    int modalSlot;       // innermost running modal loop, -1 for none
    int modalEndRequest; // a dialog was destroyed: its modal loop ends
    CRITICAL_SECTION lock;
    WindowSlot slots[SlotCount];

    // Window procedures reach the handler only while the lock exists.
    int lockReady;
    int lockDepth;    // nesting of window procedures inside the lock
    int lockRetiring; // terminated from inside a handler: delete the lock on the way out
};

LibraryState &Library();

// Back to the load-time values, except the initialised flag and the lock.
void ResetLibraryState();

// True between VorlaInitialize and VorlaTerminate, when windows may be created.
bool LibraryRunning();

// Runs a window procedure of the library's own (not a slot's) under the one lock, as the slots'
// procedures run the handler.
LRESULT RunUnderLock(LRESULT (*handler)(HWND, UINT, WPARAM, LPARAM), HWND window, UINT message, WPARAM wparam,
                     LPARAM lparam);

// The OpenGL views' window class goes with the slots' classes when the library ends.
void UnregisterOpenGLClass();

// The window procedure of a slot.
WNDPROC SlotProcedure(int slot);

// "VorlaWindowClassNN": the class name of a slot; the text lives as long as the library.
const char *SlotClassName(int slot);

void ZeroSlot(int slot);

// The slot owned by a window object, or -1.
int SlotOfWindow(const VLWindow *window);
