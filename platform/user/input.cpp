// Input: raw pointer and key events become window messages here, with hit testing, capture,
// activation on click, double clicks and the keyboard state.
#include "internal/system.h"

#include <cstdlib>

namespace vorla::platform {

HWND ActivateWindow(HWND window, bool by_mouse);
void PostToThread(DWORD thread, const MSG &message);

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
        if (down) {
            uint64_t now = CurrentBackend().Now();
            int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            bool twice = s.last_click_window == target && s.last_click_message == message &&
                         now - s.last_click_time <= GetDoubleClickTime() &&
                         std::abs(e.x - s.last_click_point.x) <= dx && std::abs(e.y - s.last_click_point.y) <= dy;
            if (twice && (w->window_class->description.style & CS_DBLCLKS) && e.button != 2) {
                message = e.button == 0 ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
                s.last_click_window = nullptr;
            } else {
                s.last_click_window = target;
                s.last_click_message = message;
                s.last_click_time = now;
                s.last_click_point = s.cursor;
            }
        }
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
    PostInput(target, message, static_cast<WPARAM>(hit), at);
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

void Key(const InputEvent &e) {
    System &s = TheSystem();
    int vk = e.virtual_key & 0xFF;
    bool down = e.kind == InputEvent::Kind::KeyDown;
    bool was_down = (s.key_state[vk] & 0x80) != 0;
    SetKey(vk, down);
    // The generic modifier keys follow their left and right variants.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetKey(VK_SHIFT, down);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) SetKey(VK_CONTROL, down);
    if (vk == VK_LMENU || vk == VK_RMENU) SetKey(VK_MENU, down);

    HWND target = s.focus ? s.focus : s.active;
    if (!target) return;
    bool alt = (s.key_state[VK_MENU] & 0x80) != 0;
    bool control = (s.key_state[VK_CONTROL] & 0x80) != 0;
    bool system_key = (alt && !control) || vk == 0x79 /* F10 */;
    int repeat = e.repeat < 1 ? 1 : (e.repeat > 0xFFFF ? 0xFFFF : e.repeat);
    DWORD lparam = static_cast<DWORD>(repeat) | (static_cast<DWORD>(e.scan_code & 0xFF) << 16) |
                   (e.extended ? (1u << 24) : 0u) | (alt ? (1u << 29) : 0u);
    if (down) {
        if (was_down) lparam |= 1u << 30;
    } else {
        lparam |= (1u << 30) | (1u << 31);
        lparam &= ~0xFFFFu;
        lparam |= 1u;
    }
    UINT message = down ? (system_key ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system_key || vk == VK_MENU ? WM_SYSKEYUP : WM_KEYUP);
    PostInput(target, message, static_cast<WPARAM>(vk), static_cast<LPARAM>(lparam));
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
    case InputEvent::Kind::ButtonUp: Pointer(e); break;
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
    default: break; // input-method events arrive with the input-method context
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

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // System cursors only: their handle carries the shape number.
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (instance || id < 32512 || id > 32651) return nullptr;
    return reinterpret_cast<HCURSOR>(id);
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    System &s = TheSystem();
    HCURSOR previous = s.cursor_shape;
    if (cursor != previous) {
        s.cursor_shape = cursor;
        uintptr_t id = reinterpret_cast<uintptr_t>(cursor);
        CurrentBackend().SetPointerShape(id >= 32512 && id <= 32651 ? static_cast<int>(id) : 0, nullptr, nullptr, 0,
                                         0, 0, 0);
    }
    return previous;
}

HCURSOR WINAPI GetCursor(void) { return TheSystem().cursor_shape; }

} // extern "C"
