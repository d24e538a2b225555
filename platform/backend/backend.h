// The presentation interface between the window system (user/) and a backend that puts surfaces
// on a screen and brings input back. Backends hold no window state beyond their native handle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vorla::platform {

struct Rect;

// One input event, in screen coordinates, as a backend delivers it to the window system.
struct InputEvent {
    enum class Kind {
        PointerMove,
        ButtonDown,
        ButtonUp,
        KeyDown,
        KeyUp,
        Text,             // typed text, CP932 bytes
        CompositionStart, // input-method composition began
        Composition,      // composition result (text holds the CP932 result string)
        CompositionEnd,
        CloseRequest,     // the user asked to close the surface's window
        Activate,         // the surface's window gained (active = true) or lost activation
        Expose,           // the surface must be presented again
        Moved,            // the desktop moved the surface: x, y give its client origin on the screen
        Wheel,            // the wheel turned by `wheel` (WHEEL_DELTA a notch, positive away from the user)
    };
    Kind kind = Kind::PointerMove;
    int x = 0, y = 0;       // pointer events: screen position, or client position in `surface` when set
    int button = 0;         // 0 left, 1 right, 2 middle
    int wheel = 0;          // wheel events
    int virtual_key = 0;    // key events
    int scan_code = 0;
    bool extended = false;
    int repeat = 1;
    bool active = false;
    uintptr_t surface = 0;  // the surface concerned (close, activate, expose, moved, pointer); 0 for keys
    std::string text;
};

// Receives input from the backend; implemented by the window system.
class InputSink {
public:
    virtual ~InputSink() = default;
    virtual void Deliver(const InputEvent &event) = 0;
};

struct SurfaceLayout {
    int x = 0, y = 0, width = 0, height = 0; // outer rectangle on the screen
    int client_x = 0, client_y = 0;          // client origin inside the outer rectangle
    int client_width = 0, client_height = 0;
    bool popup = false;    // tool windows and hint popups: no decoration, never activated
    bool topmost = false;
    bool tool = false;     // a tool window: small caption, kept out of the task bar
    uintptr_t owner = 0;   // the owner's surface, if any
    std::string title;     // CP932
};

// A window's client pixels: 32 bits per pixel, 0x00RRGGBB, rows top first.
struct PixelView {
    const uint32_t *pixels = nullptr;
    int width = 0, height = 0, stride = 0; // stride in pixels
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char *Name() const = 0;

    virtual void ScreenSize(int &width, int &height) const = 0;
    virtual int ScreenDepth() const { return 32; }

    // The one clock of the window system, in milliseconds.
    virtual uint64_t Now() = 0;
    virtual bool VirtualClock() const = 0;

    virtual uintptr_t CreateSurface(const SurfaceLayout &layout) = 0;
    virtual void MoveSurface(uintptr_t surface, const SurfaceLayout &layout) = 0;
    virtual void ShowSurface(uintptr_t surface, bool shown, bool activate) = 0;
    virtual void SetTitle(uintptr_t surface, const std::string &title) = 0;
    virtual void DestroySurface(uintptr_t surface) = 0;
    // Puts a changed part of a window's client pixels on the screen.
    virtual void Present(uintptr_t surface, const PixelView &pixels, int left, int top, int right, int bottom) = 0;

    // Pointer shape: a system shape (IDC_ number) or, when planes are given, an AND/XOR cursor.
    virtual void SetPointerShape(int system_shape, const uint8_t *and_plane, const uint8_t *xor_plane,
                                 int width, int height, int hot_x, int hot_y) = 0;

    virtual bool SetClipboardText(const std::string &cp932) = 0;
    virtual bool GetClipboardText(std::string &cp932) = 0;

    // Shows a message box; returns the button chosen (IDOK, ...).
    virtual int MessageBox(uintptr_t owner, const std::string &text, const std::string &caption,
                           unsigned style) = 0;

    // Waits for input until the deadline (the clock's milliseconds; UINT64_MAX: no deadline),
    // handing every event that arrives to the sink. Returns when at least one event was
    // delivered, the deadline passed, or Wake was called. A virtual clock may be advanced to the
    // deadline here.
    virtual void Wait(uint64_t deadline, InputSink &sink) = 0;
    // Hands the input that has arrived already to the sink, without waiting and without moving a
    // virtual clock; true when something was delivered.
    virtual bool Poll(InputSink &sink) { return false; }
    // Makes a Wait on another thread return (a message was posted to its queue).
    virtual void Wake() = 0;

    // Where the input method shows its composition: a point in the surface's client area and the
    // height of the text there.
    virtual void PlaceTextInput(uintptr_t surface, int x, int y, int height) {}
    // The window system made the surface's window the active one.
    virtual void ActivateSurface(uintptr_t surface) {}
    // True when the backend delivers typed characters as Text events, laid out by the desktop's
    // keyboard; TranslateMessage then only makes the control characters.
    virtual bool DeliversText() const { return false; }
};

// The backend chosen at start: VORLA_BACKEND=headless|sdl.
Backend &CurrentBackend();
// Replaces the backend (the test driver installs a fresh headless backend for every test).
void InstallBackend(std::unique_ptr<Backend> backend);

} // namespace vorla::platform
