// The state of the window system: classes, windows, queues, timers, activation, capture and
// keyboard state, owned by user/ and shared by the rest of the layer.
#pragma once

#include "backend/backend.h"
#include "internal/gdi_internal.h"
#include "internal/region.h"
#include "platform/win32.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vorla::platform {

struct WindowClass {
    std::string name;
    WNDCLASSEXA description{};
    int windows = 0; // existing windows of the class
};

struct GlDrawable; // wgl: the off-screen buffers a window's OpenGL contexts render into

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> window_class;
    WNDPROC procedure = nullptr;
    DWORD style = 0, ex_style = 0;
    HWND owner = nullptr, parent = nullptr;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    std::string title;
    Box window_box; // screen coordinates
    Box client_box; // screen coordinates
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    DWORD thread = 0;
    LONG_PTR user_data = 0;
    std::unique_ptr<Framebuffer> framebuffer; // top-level windows
    Region update;                            // client coordinates
    bool erase_pending = false;
    uintptr_t surface = 0;                    // the backend's native surface
    HIMC input_context = nullptr;
    std::vector<HWND> children;
    int pixel_format = 0;                     // set once by SetPixelFormat
    std::shared_ptr<GlDrawable> gl_drawable;  // shared with a context current on it

    bool TopLevel() const { return !(style & WS_CHILD); }
};

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;
    uint64_t order = 0; // creation order breaks ties between equal due times
    TIMERPROC procedure = nullptr;
    DWORD thread = 0;
};

struct ThreadQueue {
    std::deque<MSG> posted;
    bool quit = false;
    int quit_code = 0;
};

struct InputContext {
    bool open = false;
    LOGFONTA font{};
    COMPOSITIONFORM form{};
    std::string composition; // CP932
    std::string result;      // CP932
};

// The clipboard: who has it open, who emptied it last, and the CF_TEXT block it holds. The text
// itself lives on the backend (the desktop's clipboard); the block is the program's view of it.
struct ClipboardState {
    DWORD open_thread = 0; // 0: closed
    HWND open_window = nullptr;
    HWND owner = nullptr;
    HGLOBAL text = nullptr;
    ClipboardState() = default;
    ClipboardState(const ClipboardState &) = delete;
    ClipboardState &operator=(const ClipboardState &) = delete;
    ~ClipboardState(); // gives the block back
};

// A cursor made by CreateCursor: monochrome AND and XOR planes, rows word-aligned.
struct CursorImage {
    int width = 0, height = 0, hot_x = 0, hot_y = 0;
    std::vector<uint8_t> and_plane, xor_plane;
};

struct MetricOverride {
    int index;
    int value;
};

// Everything the window system knows. One per process; the test driver replaces it wholesale.
struct System {
    std::recursive_mutex lock;
    std::map<std::string, std::shared_ptr<WindowClass>> classes; // key: lower-case name
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> z_order; // top-level windows, top first
    std::map<DWORD, ThreadQueue> queues;
    std::condition_variable_any posted_signal;
    std::vector<Timer> timers;
    uint64_t timer_order = 0;
    UINT_PTR next_timer_id = 0x7F00;
    std::deque<InputEvent> input; // raw input waiting to become messages

    HWND active = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;
    POINT cursor{0, 0};
    HCURSOR cursor_shape = nullptr;
    std::map<uintptr_t, CursorImage> cursors; // created cursors by handle
    uintptr_t next_cursor = 0x60000;
    BYTE key_state[256] = {}; // bit 0x80 down, bit 0x01 toggled
    bool alt_alone = false;   // Alt is down and no other key went down since: its release is a system key

    // double-click detection
    HWND last_click_window = nullptr;
    UINT last_click_message = 0;
    uint64_t last_click_time = 0;
    POINT last_click_point{0, 0};

    // non-client tracking: a press on the close box closes the window when released there
    HWND close_box_pressed = nullptr;

    std::map<int, int> metrics; // overrides set by tests
    std::map<uintptr_t, InputContext> input_contexts;
    ClipboardState clipboard;

    DWORD last_message_time = 0;
    int nesting = 0; // message loops currently waiting or dispatching
};

System &TheSystem();
// Handles of windows and input contexts are never reused, not even across a reset, so a stale
// handle can never name a newer object.
uintptr_t NewHandle();
// Replaces the window system by a fresh one (test driver only).
void ResetSystem();

Window *FindWindow(HWND window);
HWND RootOwnerOf(HWND window);
bool IsSystemPopupHint(const Window &w);

// Called by the window system when a message loop of this thread has nothing to do:
// the headless backend runs scripted actions or moves its clock here.
uint64_t NextTimerDue(DWORD thread);

// Turns queued raw input into window messages (hit testing, capture, activation, double clicks).
// Returns true when a message was produced into the thread's queue.
bool ProcessInput(DWORD thread);

// A child window that is hidden, destroyed or moved uncovers part of its parent, which must
// paint there again (screen coordinates of the uncovered box).
void ExposeParent(const Window &child, const Box &screen_box);

// OpenGL contexts that exist (wgl), for the test driver.
size_t LiveGlContexts();

// Pushes every dirty framebuffer rectangle to the backend.
void PresentAll();

// Notifies the message recorder of the test driver (a no-op unless recording).
void RecordMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The headless backend and the driver share these: snapshots at destruction and at exit.
void WriteSnapshotOnDestroy(const Window &window);

// Non-client geometry of a window style, as AdjustWindowRectEx computes it.
Box ClientBoxFor(const Box &window_box, DWORD style, DWORD ex_style);
int HitTest(const Window &window, int screen_x, int screen_y);
Box CloseBoxOf(const Window &window); // screen coordinates; empty without a system menu

HWND ActivateWindow(HWND window, bool by_mouse);
void PostToThread(DWORD thread, const MSG &message);

// Sends a message to a window procedure directly.
LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace vorla::platform
