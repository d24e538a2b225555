// Windows: creation and destruction, geometry, showing, z-order, activation and focus.
#include "internal/system.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

namespace vorla::platform {

std::shared_ptr<WindowClass> LookupClass(LPCSTR name);
void InvalidateWhole(Window &w, bool erase);
void KillTimersOf(HWND window);
void ForgetQueuedMessagesOf(HWND window);
void ReleaseContextsOf(HWND window);
void DestroyInputContextOf(HWND window);
void ForgetClipboardWindow(HWND window);

static System *g_system = nullptr;

uintptr_t NewHandle() {
    static std::atomic<uintptr_t> next{0x10010};
    return next.fetch_add(4);
}

System &TheSystem() {
    if (!g_system) g_system = new System(); // lives for the process: late calls at exit stay safe
    return *g_system;
}

void ResetSystem() {
    System *old = g_system;
    g_system = new System();
    if (old) {
        // Surfaces belong to the backend that is being replaced too; just drop the state.
        delete old;
    }
}

Window *FindWindow(HWND window) {
    if (!window) return nullptr;
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    auto it = s.windows.find(reinterpret_cast<uintptr_t>(window));
    return it == s.windows.end() ? nullptr : it->second.get();
}

HWND RootOwnerOf(HWND window) {
    Window *w = FindWindow(window);
    while (w && !w->TopLevel() && w->parent) w = FindWindow(w->parent);
    return w ? w->handle : nullptr;
}

static int Metric(int index) { return GetSystemMetrics(index); }

static bool HasThickFrame(DWORD style) {
    return (style & WS_THICKFRAME) && (style & (WS_DLGFRAME | WS_BORDER)) != WS_DLGFRAME;
}
static bool HasDialogFrame(DWORD style, DWORD ex_style) {
    return (ex_style & WS_EX_DLGMODALFRAME) || ((style & WS_DLGFRAME) && !(style & WS_THICKFRAME));
}
static bool HasThinFrame(DWORD style) { return (style & WS_BORDER) || !(style & (WS_CHILD | WS_POPUP)); }

static int FrameWidth(DWORD style, DWORD ex_style, bool horizontal) {
    if (HasThickFrame(style)) return Metric(horizontal ? SM_CXFRAME : SM_CYFRAME);
    if (HasDialogFrame(style, ex_style)) return Metric(horizontal ? SM_CXDLGFRAME : SM_CYDLGFRAME);
    if (HasThinFrame(style)) return Metric(horizontal ? SM_CXBORDER : SM_CYBORDER);
    return 0;
}

static int CaptionHeight(DWORD style, DWORD ex_style) {
    if ((style & WS_CAPTION) != WS_CAPTION) return 0;
    return Metric((ex_style & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

Box ClientBoxFor(const Box &window_box, DWORD style, DWORD ex_style) {
    int fx = FrameWidth(style, ex_style, true), fy = FrameWidth(style, ex_style, false);
    Box c{window_box.left + fx, window_box.top + fy + CaptionHeight(style, ex_style), window_box.right - fx,
          window_box.bottom - fy};
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    return c;
}

Box CloseBoxOf(const Window &w) {
    if (!(w.style & WS_SYSMENU) || (w.style & WS_CAPTION) != WS_CAPTION) return Box{};
    int fx = FrameWidth(w.style, w.ex_style, true), fy = FrameWidth(w.style, w.ex_style, false);
    int caption = CaptionHeight(w.style, w.ex_style) - 1; // the caption's last row is its bottom line
    int size = caption - 4;
    if (size <= 0) return Box{};
    int right = w.window_box.right - fx - 2;
    int top = w.window_box.top + fy + 2;
    return Box{right - size - 2, top, right, top + size};
}

int HitTest(const Window &w, int x, int y) {
    if (!w.window_box.Contains(x, y)) return HTNOWHERE;
    if (w.client_box.Contains(x, y)) return HTCLIENT;
    if (CloseBoxOf(w).Contains(x, y)) return HTCLOSE;
    int fx = FrameWidth(w.style, w.ex_style, true), fy = FrameWidth(w.style, w.ex_style, false);
    Box inner{w.window_box.left + fx, w.window_box.top + fy, w.window_box.right - fx, w.window_box.bottom - fy};
    if (inner.Contains(x, y)) {
        if (y < w.client_box.top) return HTCAPTION;
        return HTBORDER;
    }
    if (HasThickFrame(w.style)) {
        bool left = x < inner.left, right = x >= inner.right, top = y < inner.top, bottom = y >= inner.bottom;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        return HTBOTTOM;
    }
    return HTBORDER;
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window *w = FindWindow(window);
    if (!w || !w->procedure) return 0;
    RecordMessage(window, message, wparam, lparam);
    return w->procedure(window, message, wparam, lparam);
}

static SurfaceLayout LayoutOf(const Window &w) {
    SurfaceLayout layout;
    layout.x = w.window_box.left;
    layout.y = w.window_box.top;
    layout.width = w.window_box.Width();
    layout.height = w.window_box.Height();
    layout.client_x = w.client_box.left - w.window_box.left;
    layout.client_y = w.client_box.top - w.window_box.top;
    layout.client_width = w.client_box.Width();
    layout.client_height = w.client_box.Height();
    layout.popup = (w.style & WS_POPUP) && (w.style & WS_CAPTION) != WS_CAPTION;
    layout.topmost = (w.ex_style & WS_EX_TOPMOST) != 0;
    layout.tool = (w.ex_style & WS_EX_TOOLWINDOW) != 0;
    Window *owner = FindWindow(w.owner);
    layout.owner = owner ? owner->surface : 0;
    layout.title = w.title;
    return layout;
}

static void RaiseInZOrder(HWND window) {
    System &s = TheSystem();
    Window *w = FindWindow(window);
    if (!w || !w->TopLevel()) return;
    auto &z = s.z_order;
    z.erase(std::remove(z.begin(), z.end(), window), z.end());
    bool topmost = (w->ex_style & WS_EX_TOPMOST) != 0;
    auto at = z.begin();
    if (!topmost)
        while (at != z.end()) {
            Window *o = FindWindow(*at);
            if (!o || !(o->ex_style & WS_EX_TOPMOST)) break;
            ++at;
        }
    z.insert(at, window);
    // Owned windows stay above their owner.
    std::vector<HWND> owned;
    for (HWND h : z) {
        Window *o = FindWindow(h);
        if (o && o->owner == window) owned.push_back(h);
    }
    for (HWND h : owned) {
        z.erase(std::remove(z.begin(), z.end(), h), z.end());
        auto pos = std::find(z.begin(), z.end(), window);
        z.insert(pos, h);
    }
}

// Window rectangles stay inside the device coordinates the system's GDI can address (27 bits,
// what its 28.4 fixed point leaves), so the difference of any two coordinates still fits an int.
constexpr long long CoordinateLimit = 1LL << 27;
// A top-level window's client pixels: at most 16384 on a side (the largest surface a display
// backend is sure to take) and at most 256 MiB in all, so that one window cannot take the memory
// of the whole machine.
constexpr long long FramebufferSideLimit = 16384;
constexpr long long FramebufferPixelLimit = 1LL << 26;

// The rectangle of a window at (x, y) of width x height in its parent's client area (the screen
// for a top-level window), or false when it leaves the coordinate space or its framebuffer would
// pass the limits. width and height are not negative.
static bool PlaceWindow(const Window &w, long long x, long long y, long long width, long long height, Box &window_box,
                        Box &client_box) {
    long long origin_x = 0, origin_y = 0;
    if (Window *p = FindWindow(w.parent)) {
        origin_x = p->client_box.left;
        origin_y = p->client_box.top;
    }
    const long long left = origin_x + x, top = origin_y + y, right = left + width, bottom = top + height;
    for (long long edge : {left, top, right, bottom})
        if (edge < -CoordinateLimit || edge > CoordinateLimit) {
            SetLastError(87); // ERROR_INVALID_PARAMETER
            return false;
        }
    window_box = Box{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
    client_box = ClientBoxFor(window_box, w.style, w.ex_style);
    if (w.TopLevel()) {
        const long long cw = client_box.Width(), ch = client_box.Height();
        if (cw > FramebufferSideLimit || ch > FramebufferSideLimit || cw * ch > FramebufferPixelLimit) {
            SetLastError(8); // ERROR_NOT_ENOUGH_MEMORY
            return false;
        }
    }
    return true;
}

// False when the memory for the pixels cannot be had; the old framebuffer then stays as it was.
static bool ResizeFramebuffer(Window &w) {
    if (!w.TopLevel()) return true;
    try {
        if (!w.framebuffer) w.framebuffer = std::make_unique<Framebuffer>();
        w.framebuffer->Resize(w.client_box.Width(), w.client_box.Height(), 0xFFFFFF);
    } catch (const std::bad_alloc &) {
        SetLastError(8); // ERROR_NOT_ENOUGH_MEMORY
        return false;
    }
    return true;
}

// Picks the window that becomes active when the active one goes away: its owner if it can take
// activation, otherwise the topmost shown, enabled top-level window that is not a tool popup.
static void ActivateOtherWindow(HWND leaving) {
    System &s = TheSystem();
    Window *w = FindWindow(leaving);
    HWND next = nullptr;
    if (w && w->owner) {
        Window *o = FindWindow(w->owner);
        if (o && o->visible && o->enabled && !o->destroying) next = o->handle;
    }
    if (!next)
        for (HWND h : s.z_order) {
            Window *o = FindWindow(h);
            if (h == leaving || !o || !o->visible || !o->enabled || o->destroying) continue;
            if ((o->ex_style & WS_EX_TOOLWINDOW) || ((o->style & WS_POPUP) && (o->style & WS_CAPTION) != WS_CAPTION))
                continue;
            next = h;
            break;
        }
    SetActiveWindow(next);
}

HWND ActivateWindow(HWND window, bool by_mouse) {
    System &s = TheSystem();
    Window *w = FindWindow(window);
    if (window && (!w || w->destroying)) return nullptr;
    if (w && !w->TopLevel()) window = RootOwnerOf(window);
    HWND previous = s.active;
    if (previous == window) return previous;
    if (previous && FindWindow(previous)) {
        Send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(window));
        if (s.active != previous) return previous; // activation changed while being told
        Send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(window));
        if (s.active != previous) return previous;
    }
    s.active = window;
    if (window) {
        RaiseInZOrder(window);
        // The desktop's keyboard focus follows, or keys would go to a window that lost it.
        if (Window *top = FindWindow(window); top && top->surface && top->visible)
            CurrentBackend().ActivateSurface(top->surface);
        Send(window, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
        if (s.active != window) return previous;
        Send(window, WM_ACTIVATE, MAKEWPARAM(by_mouse ? WA_CLICKACTIVE : WA_ACTIVE, 0),
             reinterpret_cast<LPARAM>(previous));
        // An active window keeps the keyboard focus inside itself.
        if (s.active == window && RootOwnerOf(s.focus) != window) SetFocus(window);
    } else if (s.focus) {
        HWND old = s.focus;
        s.focus = nullptr;
        Send(old, WM_KILLFOCUS, 0, 0);
    }
    return previous;
}

static void DestroyOne(HWND window);

static void SendDestroy(HWND window) {
    Window *w = FindWindow(window);
    if (!w) return;
    Send(window, WM_DESTROY, 0, 0);
    w = FindWindow(window);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND c : children) SendDestroy(c);
}

static void FreeWindow(HWND window) {
    System &s = TheSystem();
    Window *w = FindWindow(window);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND c : children) FreeWindow(c);
    Send(window, WM_NCDESTROY, 0, 0);
    w = FindWindow(window);
    if (!w) return;
    KillTimersOf(window);
    ForgetQueuedMessagesOf(window);
    ReleaseContextsOf(window);
    ForgetClipboardWindow(window);
    if (w->surface) CurrentBackend().DestroySurface(w->surface);
    if (w->window_class) w->window_class->windows--;
    if (Window *p = FindWindow(w->parent)) {
        auto &pc = p->children;
        pc.erase(std::remove(pc.begin(), pc.end(), window), pc.end());
    }
    if (s.active == window) s.active = nullptr;
    if (s.focus == window) s.focus = nullptr;
    if (s.capture == window) s.capture = nullptr;
    if (s.last_click_window == window) s.last_click_window = nullptr;
    if (s.close_box_pressed == window) s.close_box_pressed = nullptr;
    s.z_order.erase(std::remove(s.z_order.begin(), s.z_order.end(), window), s.z_order.end());
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    s.windows.erase(reinterpret_cast<uintptr_t>(window));
}

static void DestroyOne(HWND window) {
    System &s = TheSystem();
    Window *w = FindWindow(window);
    if (!w || w->destroying) return;
    w->destroying = true;
    if (w->visible) {
        WriteSnapshotOnDestroy(*w);
        if (!w->TopLevel()) ExposeParent(*w, w->window_box);
        w->visible = false;
        if (w->surface) CurrentBackend().ShowSurface(w->surface, false, false);
    }
    if (s.active == window) ActivateOtherWindow(window);
    if (s.capture == window) {
        s.capture = nullptr;
        Send(window, WM_CAPTURECHANGED, 0, 0);
    }
    // Owned windows go first.
    std::vector<HWND> owned;
    for (auto &entry : s.windows)
        if (entry.second->owner == window && entry.second->TopLevel()) owned.push_back(entry.second->handle);
    for (HWND o : owned) DestroyOne(o);
    SendDestroy(window);
    FreeWindow(window);
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    System &s = TheSystem();
    auto window_class = LookupClass(class_name);
    if (!window_class) {
        SetLastError(1407); // ERROR_CANNOT_FIND_WND_CLASS
        return nullptr;
    }
    if ((style & WS_CHILD) && !FindWindow(parent)) {
        SetLastError(1406); // ERROR_TLW_WITH_WSCHILD
        return nullptr;
    }
    if (parent && !FindWindow(parent)) {
        SetLastError(1400); // ERROR_INVALID_WINDOW_HANDLE
        return nullptr;
    }

    auto w = std::make_unique<Window>();
    HWND handle = reinterpret_cast<HWND>(NewHandle());
    w->handle = handle;
    w->window_class = window_class;
    w->procedure = window_class->description.lpfnWndProc;
    w->style = style & ~WS_VISIBLE;
    w->ex_style = ex_style;
    w->instance = instance;
    w->menu = menu;
    w->thread = GetCurrentThreadId();
    if (style & WS_CHILD) {
        w->parent = parent;
    } else if (parent) {
        w->owner = RootOwnerOf(parent); // the owner of a top-level window is always top-level
    }
    if (title) w->title = title;

    if (x == CW_USEDEFAULT) {
        x = (style & (WS_POPUP | WS_CHILD)) ? 0 : 26;
        if (!(style & (WS_POPUP | WS_CHILD))) y = 26;
        else y = (y == CW_USEDEFAULT) ? 0 : y;
    }
    if (y == CW_USEDEFAULT) y = 0;
    if (width == CW_USEDEFAULT) {
        if (style & (WS_POPUP | WS_CHILD)) {
            width = 0;
            height = (height == CW_USEDEFAULT) ? 0 : height;
        } else {
            int sw = 0, sh = 0;
            CurrentBackend().ScreenSize(sw, sh);
            width = sw * 3 / 4;
            height = sh * 3 / 4;
        }
    }
    if (height == CW_USEDEFAULT) height = 0;
    if (width < 0) width = 0;
    if (height < 0) height = 0;

    // A rectangle or framebuffer that cannot be made refuses the window before anyone hears of it.
    if (!PlaceWindow(*w, x, y, width, height, w->window_box, w->client_box) || !ResizeFramebuffer(*w))
        return nullptr;
    window_class->windows++;

    Window *raw = w.get();
    {
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        s.windows[reinterpret_cast<uintptr_t>(handle)] = std::move(w);
    }
    if (raw->TopLevel()) {
        s.z_order.push_back(handle);
        RaiseInZOrder(handle);
        raw->surface = CurrentBackend().CreateSurface(LayoutOf(*raw));
    } else if (Window *p = FindWindow(raw->parent)) {
        p->children.push_back(handle);
    }

    CREATESTRUCTA create{};
    create.lpCreateParams = parameter;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cx = width;
    create.cy = height;
    create.x = x;
    create.y = y;
    create.style = static_cast<LONG>(style);
    create.lpszName = title;
    create.lpszClass = class_name;
    create.dwExStyle = ex_style;
    LPARAM create_param = reinterpret_cast<LPARAM>(&create);

    if (!Send(handle, WM_NCCREATE, 0, create_param)) {
        FreeWindow(handle);
        return nullptr;
    }
    if (!FindWindow(handle)) return nullptr;
    if (Send(handle, WM_CREATE, 0, create_param) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    raw = FindWindow(handle);
    if (!raw) return nullptr;
    Send(handle, WM_SIZE, 0, MAKELPARAM(raw->client_box.Width(), raw->client_box.Height()));
    raw = FindWindow(handle);
    if (!raw) return nullptr;
    Box rel = raw->client_box;
    if (Window *p = FindWindow(raw->parent)) rel = rel.Offset(-p->client_box.left, -p->client_box.top);
    Send(handle, WM_MOVE, 0, MAKELPARAM(rel.left, rel.top));
    if (!FindWindow(handle)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL WINAPI DestroyWindow(HWND window) {
    Window *w = FindWindow(window);
    if (!w) {
        SetLastError(1400);
        return FALSE;
    }
    if (w->destroying) return TRUE;
    DestroyOne(window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window) { return FindWindow(window) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND window) {
    Window *w = FindWindow(window);
    while (w) {
        if (!w->visible) return FALSE;
        if (w->TopLevel()) return TRUE;
        w = FindWindow(w->parent);
    }
    return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
    Window *w = FindWindow(window);
    return w && w->enabled;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    BOOL was_disabled = !w->enabled;
    if (w->enabled != (enable != 0)) {
        w->enabled = enable != 0;
        if (!enable) {
            System &s = TheSystem();
            if (s.capture == window) ReleaseCapture();
            if (s.focus == window) SetFocus(nullptr);
        }
        Send(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return was_disabled;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
    System &s = TheSystem();
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    BOOL was_visible = w->visible;
    bool show = command != SW_HIDE;
    bool activate = command == SW_SHOW || command == SW_SHOWNORMAL;
    if (show != w->visible) {
        Send(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        w = FindWindow(window);
        if (!w) return was_visible;
        w->visible = show;
        if (w->surface) CurrentBackend().ShowSurface(w->surface, show, show && activate);
        if (show) {
            if (w->TopLevel()) RaiseInZOrder(window);
            InvalidateWhole(*w, true);
        } else {
            w->update.Clear();
            if (!w->TopLevel()) ExposeParent(*w, w->window_box);
            if (s.capture == window) ReleaseCapture();
            if (s.active == window) ActivateOtherWindow(window);
        }
    }
    w = FindWindow(window);
    // Showing activates; showing a window that is already shown changes nothing.
    if (show && !was_visible && activate && w && w->TopLevel() && s.active != window) ActivateWindow(window, false);
    return was_visible;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    // A rectangle that cannot be made leaves the window where and as large as it was.
    Box window_box, client_box;
    if (!PlaceWindow(*w, x, y, width, height, window_box, client_box)) return FALSE;
    Box old_window = w->window_box, old_client = w->client_box;
    w->window_box = window_box;
    w->client_box = client_box;
    bool resized = old_client.Width() != w->client_box.Width() || old_client.Height() != w->client_box.Height();
    if (resized && !ResizeFramebuffer(*w)) {
        w->window_box = old_window;
        w->client_box = old_client;
        return FALSE;
    }
    if (w->surface) CurrentBackend().MoveSurface(w->surface, LayoutOf(*w));
    if (!w->TopLevel() && w->visible && !(old_window == w->window_box)) {
        // The parent paints what the child no longer covers, and the moved child paints itself.
        Region uncovered(old_window);
        uncovered.Subtract(w->window_box);
        for (const Box &b : uncovered.Boxes()) ExposeParent(*w, b);
        repaint = TRUE;
    }
    if (repaint || resized) InvalidateWhole(*w, true);
    if (old_client.left != w->client_box.left || old_client.top != w->client_box.top) {
        Box rel = w->client_box;
        if (Window *p = FindWindow(w->parent)) rel = rel.Offset(-p->client_box.left, -p->client_box.top);
        Send(window, WM_MOVE, 0, MAKELPARAM(rel.left, rel.top));
    }
    if (resized && FindWindow(window)) {
        w = FindWindow(window);
        Send(window, WM_SIZE, 0, MAKELPARAM(w->client_box.Width(), w->client_box.Height()));
    }
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
    Window *w = FindWindow(window);
    if (!w || !rect) return FALSE;
    *rect = RECT{w->window_box.left, w->window_box.top, w->window_box.right, w->window_box.bottom};
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    Window *w = FindWindow(window);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->client_box.Width(), w->client_box.Height()};
    return TRUE;
}

// Points far outside the coordinate space wrap around at the ends of the int range, as the
// system's 32-bit arithmetic does, instead of overflowing.
static LONG WrappingAdd(LONG value, long long delta) {
    return static_cast<LONG>(static_cast<int32_t>(static_cast<uint32_t>(static_cast<long long>(value) + delta)));
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
    Window *w = FindWindow(window);
    if (!w || !point) return FALSE;
    point->x = WrappingAdd(point->x, w->client_box.left);
    point->y = WrappingAdd(point->y, w->client_box.top);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND window, LPPOINT point) {
    Window *w = FindWindow(window);
    if (!w || !point) return FALSE;
    point->x = WrappingAdd(point->x, -static_cast<long long>(w->client_box.left));
    point->y = WrappingAdd(point->y, -static_cast<long long>(w->client_box.top));
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD ex_style) {
    if (!rect) return FALSE;
    int fx = FrameWidth(style, ex_style, true), fy = FrameWidth(style, ex_style, false);
    rect->left = WrappingAdd(rect->left, -static_cast<long long>(fx));
    rect->right = WrappingAdd(rect->right, fx);
    rect->top = WrappingAdd(rect->top, -(static_cast<long long>(fy) + CaptionHeight(style, ex_style)));
    rect->bottom = WrappingAdd(rect->bottom, fy);
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
    Window *w = FindWindow(window);
    if (!w) {
        SetLastError(1400);
        return 0;
    }
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->procedure);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->TopLevel() ? w->owner : w->parent);
    case GWL_ID: return reinterpret_cast<LONG_PTR>(w->menu);
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style | (w->visible ? WS_VISIBLE : 0) | (w->enabled ? 0 : WS_DISABLED));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->ex_style);
    case GWL_USERDATA: return w->user_data;
    default: SetLastError(1413); return 0; // ERROR_INVALID_INDEX
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    Window *w = FindWindow(window);
    if (!w) {
        SetLastError(1400);
        return 0;
    }
    LONG_PTR old = GetWindowLongPtrA(window, index);
    switch (index) {
    case GWL_WNDPROC: w->procedure = reinterpret_cast<WNDPROC>(value); break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_ID: w->menu = reinterpret_cast<HMENU>(value); break;
    case GWL_STYLE: w->style = static_cast<DWORD>(value) & ~(WS_VISIBLE | WS_DISABLED); break;
    case GWL_EXSTYLE: w->ex_style = static_cast<DWORD>(value); break;
    case GWL_USERDATA: w->user_data = value; break;
    default: return 0;
    }
    return old;
}

LONG WINAPI GetWindowLongA(HWND window, int index) { return static_cast<LONG>(GetWindowLongPtrA(window, index)); }
LONG WINAPI SetWindowLongA(HWND window, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrA(window, index, value));
}

HWND WINAPI GetWindow(HWND window, UINT command) {
    Window *w = FindWindow(window);
    if (!w) return nullptr;
    if (command == GW_OWNER) return w->owner;
    return nullptr;
}

HWND WINAPI GetParent(HWND window) {
    Window *w = FindWindow(window);
    if (!w) return nullptr;
    return w->TopLevel() ? w->owner : w->parent;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    w->title = text ? text : "";
    if (w->surface) CurrentBackend().SetTitle(w->surface, w->title);
    return TRUE;
}

int WINAPI GetWindowTextA(HWND window, LPSTR buffer, int size) {
    Window *w = FindWindow(window);
    if (!buffer || size <= 0) return 0;
    if (!w) {
        buffer[0] = 0;
        return 0;
    }
    int n = static_cast<int>(std::min<size_t>(w->title.size(), static_cast<size_t>(size - 1)));
    std::memcpy(buffer, w->title.data(), static_cast<size_t>(n));
    buffer[n] = 0;
    return n;
}

HWND WINAPI WindowFromPoint(POINT point) {
    System &s = TheSystem();
    for (HWND h : s.z_order) {
        Window *w = FindWindow(h);
        if (!w || !w->visible || !w->window_box.Contains(point.x, point.y)) continue;
        // The deepest visible child under the point.
        HWND found = h;
        for (bool descended = true; descended;) {
            descended = false;
            Window *cur = FindWindow(found);
            for (auto it = cur->children.rbegin(); it != cur->children.rend(); ++it) {
                Window *c = FindWindow(*it);
                if (c && c->visible && c->window_box.Contains(point.x, point.y)) {
                    found = *it;
                    descended = true;
                    break;
                }
            }
        }
        return found;
    }
    return nullptr;
}

HWND WINAPI GetDesktopWindow(void) { return nullptr; }

HWND WINAPI GetActiveWindow(void) { return TheSystem().active; }
HWND WINAPI SetActiveWindow(HWND window) { return ActivateWindow(window, false); }
HWND WINAPI GetForegroundWindow(void) { return TheSystem().active; }
BOOL WINAPI SetForegroundWindow(HWND window) {
    if (!FindWindow(window)) return FALSE;
    ActivateWindow(window, false);
    return TRUE;
}

HWND WINAPI GetFocus(void) { return TheSystem().focus; }

HWND WINAPI SetFocus(HWND window) {
    System &s = TheSystem();
    HWND previous = s.focus;
    if (window) {
        Window *w = FindWindow(window);
        if (!w || w->destroying || !w->enabled) return nullptr;
        HWND root = RootOwnerOf(window);
        if (root != s.active) ActivateWindow(root, false);
        if (s.focus == window) return previous;
    }
    if (previous == window) return previous;
    s.focus = window;
    if (previous && FindWindow(previous)) Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window && s.focus == window) Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

} // extern "C"
