// Input: raw pointer and key events become window messages here, with hit testing, capture,
// activation on click, double clicks and the keyboard state.
#include "internal/system.h"

#include <cstdlib>

namespace vorla::platform {

HWND ActivateWindow(HWND window, bool by_mouse);
void PostToThread(DWORD thread, const MSG &message);

struct ScanCode {
    int code;
    bool extended;
};
ScanCode ScanCodeOf(int vk); // keyboard.cpp

namespace {

void PostInput(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window *w = FindWindow(window);
    if (!w) return;
    MSG m{};
    m.hwnd = window;
    m.message = message;
    m.wParam = wparam;
    m.lParam = lparam;
    m.time = static_cast<DWORD>(CurrentBackend().Now());
    m.pt = TheSystem().cursor;
    PostToThread(w->thread, m);
}

WPARAM MouseKeys() {
    System &s = TheSystem();
    WPARAM k = 0;
    if (s.key_state[VK_LBUTTON] & 0x80) k |= MK_LBUTTON;
    if (s.key_state[VK_RBUTTON] & 0x80) k |= MK_RBUTTON;
    if (s.key_state[VK_MBUTTON] & 0x80) k |= MK_MBUTTON;
    if (s.key_state[VK_SHIFT] & 0x80) k |= MK_SHIFT;
    if (s.key_state[VK_CONTROL] & 0x80) k |= MK_CONTROL;
    return k;
}

UINT ClientButtonMessage(int button, bool down) {
    switch (button) {
    case 0: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 1: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

bool TakesActivation(const Window &w) {
    return !((w.style & WS_POPUP) && (w.style & WS_CAPTION) != WS_CAPTION && (w.ex_style & WS_EX_TOPMOST));
}

// True when this press completes a double click: same window and button, within the double-click
// time and rectangle. A completed pair starts over, so a third press is a plain one.
bool SecondClick(HWND target, UINT message, const InputEvent &e) {
    System &s = TheSystem();
    uint64_t now = CurrentBackend().Now();
    int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool twice = s.last_click_window == target && s.last_click_message == message &&
                 now - s.last_click_time <= GetDoubleClickTime() && std::abs(e.x - s.last_click_point.x) <= dx &&
                 std::abs(e.y - s.last_click_point.y) <= dy;
    if (twice) {
        s.last_click_window = nullptr;
    } else {
        s.last_click_window = target;
        s.last_click_message = message;
        s.last_click_time = now;
        s.last_click_point = POINT{e.x, e.y};
    }
    return twice;
}

void Pointer(const InputEvent &e) {
    System &s = TheSystem();
    s.cursor = POINT{e.x, e.y};
    int vk = e.button == 0 ? VK_LBUTTON : e.button == 1 ? VK_RBUTTON : VK_MBUTTON;
    if (e.kind == InputEvent::Kind::ButtonDown) s.key_state[vk] |= 0x80;
    if (e.kind == InputEvent::Kind::ButtonUp) s.key_state[vk] &= static_cast<BYTE>(~0x80);

    HWND target = s.capture;
    int hit = HTCLIENT;
    if (!target) {
        target = WindowFromPoint(s.cursor);
        if (!target) return;
        Window *w = FindWindow(target);
        if (!w->enabled) return;
        hit = static_cast<int>(Send(target, WM_NCHITTEST, 0, MAKELPARAM(e.x, e.y)));
        if (!FindWindow(target) || hit == HTNOWHERE || hit == HTTRANSPARENT || hit == HTERROR) return;
    }
    Window *w = FindWindow(target);
    if (!w) return;

    if (e.kind == InputEvent::Kind::ButtonDown) {
        HWND root = RootOwnerOf(target);
        Window *r = FindWindow(root);
        if (r && root != s.active && TakesActivation(*r)) {
            LRESULT answer = Send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                                  MAKELPARAM(hit, ClientButtonMessage(e.button, true)));
            if (answer == MA_ACTIVATE || answer == 2 /* MA_ACTIVATEANDEAT */) ActivateWindow(root, true);
            if (answer == 2 || answer == 4 /* MA_NOACTIVATEANDEAT */) return;
            w = FindWindow(target);
            if (!w) return;
        }
    }

    bool client = hit == HTCLIENT;
    if (client) {
        POINT p{e.x - w->client_box.left, e.y - w->client_box.top};
        LPARAM at = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        if (e.kind == InputEvent::Kind::PointerMove) {
            PostInput(target, WM_MOUSEMOVE, MouseKeys(), at);
            return;
        }
        bool down = e.kind == InputEvent::Kind::ButtonDown;
        UINT message = ClientButtonMessage(e.button, down);
        if (down && SecondClick(target, message, e) && (w->window_class->description.style & CS_DBLCLKS) &&
            e.button != 2)
            message = e.button == 0 ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
        PostInput(target, message, MouseKeys(), at);
        return;
    }

    LPARAM at = MAKELPARAM(static_cast<WORD>(e.x), static_cast<WORD>(e.y));
    if (e.kind == InputEvent::Kind::PointerMove) {
        PostInput(target, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), at);
        return;
    }
    bool down = e.kind == InputEvent::Kind::ButtonDown;
    UINT message = e.button == 0 ? (down ? WM_NCLBUTTONDOWN : WM_NCLBUTTONUP)
                                 : (down ? WM_NCRBUTTONDOWN : WM_NCRBUTTONUP);
    if (e.button == 2) return;
    // The frame gets double clicks whatever the class style says.
    if (down && SecondClick(target, message, e))
        message = e.button == 0 ? WM_NCLBUTTONDBLCLK : WM_NCRBUTTONDBLCLK;
    PostInput(target, message, static_cast<WPARAM>(hit), at);
}

// The wheel goes to the window with the keyboard focus, as on Windows, with the pointer's screen
// position; without a focus window, to the active one.
void Wheel(const InputEvent &e) {
    System &s = TheSystem();
    s.cursor = POINT{e.x, e.y};
    HWND target = s.focus ? s.focus : s.active;
    if (!target || !FindWindow(target)) return;
    const WPARAM wparam = MAKEWPARAM(static_cast<WORD>(MouseKeys()), static_cast<WORD>(static_cast<short>(e.wheel)));
    PostInput(target, WM_MOUSEWHEEL, wparam, MAKELPARAM(static_cast<WORD>(e.x), static_cast<WORD>(e.y)));
}

void SetKey(int vk, bool down) {
    System &s = TheSystem();
    BYTE &k = s.key_state[vk & 0xFF];
    if (down) {
        if (!(k & 0x80)) k ^= 0x01; // every press flips the toggle bit, as on Windows
        k |= 0x80;
    } else {
        k &= static_cast<BYTE>(~0x80);
    }
}

// Shift, Control and Alt come as a left or right key; messages carry the side-neutral one.
int NeutralKey(int vk) {
    switch (vk) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_MENU: case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
    }
}

int SidedKey(int vk) {
    switch (vk) {
    case VK_SHIFT: return VK_LSHIFT;
    case VK_CONTROL: return VK_LCONTROL;
    case VK_MENU: return VK_LMENU;
    default: return vk;
    }
}

void Key(const InputEvent &e) {
    System &s = TheSystem();
    const int sided = SidedKey(e.virtual_key & 0xFF);
    const int vk = NeutralKey(sided);
    const bool down = e.kind == InputEvent::Kind::KeyDown;
    const bool was_down = (s.key_state[sided] & 0x80) != 0;
    const bool alt_was_down = (s.key_state[VK_MENU] & 0x80) != 0;
    SetKey(sided, down);
    if (vk != sided) {
        // The neutral key is down while either side is.
        const int other = sided == VK_LSHIFT ? VK_RSHIFT : sided == VK_RSHIFT ? VK_LSHIFT
                        : sided == VK_LCONTROL ? VK_RCONTROL : sided == VK_RCONTROL ? VK_LCONTROL
                        : sided == VK_LMENU ? VK_RMENU : VK_LMENU;
        if (down || !(s.key_state[other] & 0x80)) SetKey(vk, down);
    }

    const bool alt = (s.key_state[VK_MENU] & 0x80) != 0;
    const bool control = (s.key_state[VK_CONTROL] & 0x80) != 0;
    // Which keys are system keys, as Windows decides it: Alt (without Control) and the keys typed
    // while it is held, F10, and the release of an Alt that was pressed and released alone.
    bool system_key;
    if (vk == VK_MENU) {
        if (down) {
            system_key = !control;
            s.alt_alone = system_key;
        } else {
            system_key = s.alt_alone;
            s.alt_alone = false;
        }
    } else if (vk == VK_CONTROL && !down) {
        system_key = alt;
        if (alt) s.alt_alone = false;
    } else {
        system_key = (alt && !control) || vk == 0x79 /* F10 */;
        if (down || system_key) s.alt_alone = false;
    }

    const ScanCode scan = ScanCodeOf(sided);
    const int code = e.scan_code ? e.scan_code : scan.code;
    const bool extended = e.extended || scan.extended;
    const int repeat = !down ? 1 : e.repeat < 1 ? 1 : (e.repeat > 0xFFFF ? 0xFFFF : e.repeat);
    // Bit 29 (context) says Alt is held; for Alt's own release it still counts as held.
    const bool context = alt || (vk == VK_MENU && !down && alt_was_down);
    DWORD lparam = static_cast<DWORD>(repeat) | (static_cast<DWORD>(code & 0xFF) << 16) | (extended ? (1u << 24) : 0u) |
                   (context ? (1u << 29) : 0u);
    if (!down || was_down) lparam |= 1u << 30;
    if (!down) lparam |= 1u << 31;

    HWND target = s.focus ? s.focus : s.active;
    if (!target) return;
    UINT message = down ? (system_key ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system_key ? WM_SYSKEYUP : WM_KEYUP);
    PostInput(target, message, static_cast<WPARAM>(vk), static_cast<LPARAM>(lparam));
}

Window *WindowOfSurface(uintptr_t surface) {
    if (!surface) return nullptr;
    for (auto &entry : TheSystem().windows)
        if (entry.second->surface == surface) return entry.second.get();
    return nullptr;
}

// The desktop moved a window (its user dragged the frame): follow it, without moving it back.
void MoveWithDesktop(Window &top, int client_x, int client_y) {
    int dx = client_x - top.client_box.left, dy = client_y - top.client_box.top;
    if (!dx && !dy) return;
    std::vector<Window *> pending{&top};
    while (!pending.empty()) {
        Window *w = pending.back();
        pending.pop_back();
        w->window_box = w->window_box.Offset(dx, dy);
        w->client_box = w->client_box.Offset(dx, dy);
        for (HWND c : w->children)
            if (Window *child = FindWindow(c)) pending.push_back(child);
    }
    Send(top.handle, WM_MOVE, 0, MAKELPARAM(top.client_box.left, top.client_box.top));
}

// An input-method composition as the desktop's input method reports it, for the focused window.
void Composition(const InputEvent &e) {
    System &s = TheSystem();
    HWND target = s.focus ? s.focus : s.active;
    if (!target) return;
    if (e.kind == InputEvent::Kind::CompositionStart) {
        PostInput(target, WM_IME_STARTCOMPOSITION, 0, 0);
    } else if (e.kind == InputEvent::Kind::CompositionEnd) {
        PostInput(target, WM_IME_ENDCOMPOSITION, 0, 0);
    } else {
        auto context = s.input_contexts.find(reinterpret_cast<uintptr_t>(ImmGetContext(target)));
        if (context != s.input_contexts.end()) context->second.result = e.text;
        PostInput(target, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    }
}

void Text(const InputEvent &e) {
    System &s = TheSystem();
    HWND target = s.focus ? s.focus : s.active;
    if (!target) return;
    for (unsigned char c : e.text) PostInput(target, WM_CHAR, c, 1);
}

} // namespace

bool ProcessInput(DWORD thread) {
    System &s = TheSystem();
    InputEvent e;
    {
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        if (s.input.empty()) return false;
        e = s.input.front();
        s.input.pop_front();
    }
    switch (e.kind) {
    case InputEvent::Kind::PointerMove:
    case InputEvent::Kind::ButtonDown:
    case InputEvent::Kind::ButtonUp:
    case InputEvent::Kind::Wheel:
        // A backend that knows only its own surfaces gives client coordinates.
        if (Window *w = WindowOfSurface(e.surface)) {
            e.x += w->client_box.left;
            e.y += w->client_box.top;
        }
        if (e.kind == InputEvent::Kind::Wheel)
            Wheel(e);
        else
            Pointer(e);
        break;
    case InputEvent::Kind::Moved:
        if (Window *w = WindowOfSurface(e.surface)) MoveWithDesktop(*w, e.x, e.y);
        break;
    case InputEvent::Kind::CompositionStart:
    case InputEvent::Kind::Composition:
    case InputEvent::Kind::CompositionEnd: Composition(e); break;
    case InputEvent::Kind::KeyDown:
    case InputEvent::Kind::KeyUp: Key(e); break;
    case InputEvent::Kind::Text: Text(e); break;
    case InputEvent::Kind::CloseRequest:
        for (auto &entry : s.windows)
            if (entry.second->surface == e.surface) {
                PostInput(entry.second->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            }
        break;
    case InputEvent::Kind::Activate:
        for (auto &entry : s.windows)
            if (entry.second->surface == e.surface) {
                HWND h = entry.second->handle;
                if (e.active) ActivateWindow(h, false);
                else if (s.active == h) ActivateWindow(nullptr, false);
                break;
            }
        break;
    case InputEvent::Kind::Expose:
        for (auto &entry : s.windows)
            if (entry.second->surface == e.surface && entry.second->framebuffer) {
                Framebuffer &fb = *entry.second->framebuffer;
                fb.MarkDirty(Box{0, 0, fb.width, fb.height});
            }
        break;
    default: break;
    }
    return true;
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = TheSystem().cursor;
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    TheSystem().cursor = POINT{x, y};
    return TRUE;
}

HWND WINAPI SetCapture(HWND window) {
    System &s = TheSystem();
    HWND previous = s.capture;
    if (window && !FindWindow(window)) return previous;
    s.capture = window;
    if (previous && previous != window && FindWindow(previous))
        Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return previous;
}

BOOL WINAPI ReleaseCapture(void) {
    System &s = TheSystem();
    HWND previous = s.capture;
    s.capture = nullptr;
    if (previous && FindWindow(previous)) Send(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WINAPI GetCapture(void) { return TheSystem().capture; }

UINT WINAPI GetDoubleClickTime(void) { return 500; }

SHORT WINAPI GetKeyState(int key) {
    BYTE k = TheSystem().key_state[key & 0xFF];
    return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int key) {
    BYTE k = TheSystem().key_state[key & 0xFF];
    return static_cast<SHORT>((k & 0x80) ? 0x8000 : 0);
}

// Cursors live in cursors.cpp.

} // extern "C"
