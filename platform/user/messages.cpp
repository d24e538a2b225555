// Message queues and loops: posted messages and input first, then WM_PAINT, then WM_TIMER;
// timers on the window system's one clock; the default window procedure.
#include "internal/system.h"

#include <algorithm>
#include <climits>

namespace vorla::platform {

HWND ActivateWindow(HWND window, bool by_mouse);

namespace {

class SystemSink : public InputSink {
public:
    void Deliver(const InputEvent &event) override {
        System &s = TheSystem();
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        s.input.push_back(event);
    }
};

bool Matches(const MSG &m, HWND filter, UINT low, UINT high) {
    if (filter && m.hwnd != filter) return false;
    if (low == 0 && high == 0) return true;
    return m.message >= low && m.message <= high;
}

bool WantsMessage(UINT message, UINT low, UINT high) {
    if (low == 0 && high == 0) return true;
    return message >= low && message <= high;
}

// The thread's windows that need painting, in z-order so the topmost is painted first.
HWND FindWindowToPaint(DWORD thread, HWND filter) {
    System &s = TheSystem();
    auto paintable = [&](HWND h) {
        Window *w = FindWindow(h);
        return w && w->thread == thread && !w->update.Empty() && IsWindowVisible(h) &&
               (!filter || h == filter);
    };
    for (HWND h : s.z_order) {
        if (paintable(h)) return h;
        Window *w = FindWindow(h);
        if (!w) continue;
        for (HWND c : w->children)
            if (paintable(c)) return c;
    }
    return nullptr;
}

bool TakeDueTimer(DWORD thread, HWND filter, MSG &out) {
    System &s = TheSystem();
    uint64_t now = CurrentBackend().Now();
    Timer *best = nullptr;
    for (Timer &t : s.timers) {
        if (t.thread != thread || t.due > now || (filter && t.window != filter)) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    if (!best) return false;
    out = MSG{};
    out.hwnd = best->window;
    out.message = WM_TIMER;
    out.wParam = best->id;
    out.lParam = reinterpret_cast<LPARAM>(best->procedure);
    best->due = now + best->interval;
    return true;
}

void Stamp(MSG &m) {
    System &s = TheSystem();
    m.time = static_cast<DWORD>(CurrentBackend().Now());
    m.pt = s.cursor;
    s.last_message_time = m.time;
}

// One step of GetMessage/PeekMessage: finds the next message, or waits once when asked to.
bool FetchMessage(MSG &out, HWND filter, UINT low, UINT high, bool remove, bool wait) {
    System &s = TheSystem();
    DWORD thread = GetCurrentThreadId();
    static SystemSink sink;
    bool polled = false;
    for (;;) {
        {
            std::lock_guard<std::recursive_mutex> hold(s.lock);
            ThreadQueue &q = s.queues[thread];
            for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
                if (!Matches(*it, filter, low, high)) continue;
                out = *it;
                if (remove) q.posted.erase(it);
                return true;
            }
            if (q.quit && WantsMessage(WM_QUIT, low, high)) {
                out = MSG{};
                out.message = WM_QUIT;
                out.wParam = static_cast<WPARAM>(q.quit_code);
                Stamp(out);
                if (remove) q.quit = false;
                return true;
            }
        }
        if (ProcessInput(thread)) continue;
        if (WantsMessage(WM_PAINT, low, high)) {
            if (HWND h = FindWindowToPaint(thread, filter)) {
                out = MSG{};
                out.hwnd = h;
                out.message = WM_PAINT;
                Stamp(out);
                return true;
            }
        }
        if (WantsMessage(WM_TIMER, low, high)) {
            MSG timer;
            if (remove ? TakeDueTimer(thread, filter, timer) : false) {
                out = timer;
                Stamp(out);
                return true;
            }
            if (!remove) {
                uint64_t now = CurrentBackend().Now();
                for (const Timer &t : s.timers)
                    if (t.thread == thread && t.due <= now && (!filter || t.window == filter)) {
                        out = MSG{};
                        out.hwnd = t.window;
                        out.message = WM_TIMER;
                        out.wParam = t.id;
                        out.lParam = reinterpret_cast<LPARAM>(t.procedure);
                        Stamp(out);
                        return true;
                    }
            }
        }
        PresentAll();
        if (!wait) {
            // As on Windows, a look into the queue takes in the desktop's input that has arrived.
            if (!polled && (polled = true, CurrentBackend().Poll(sink))) continue;
            return false;
        }
        s.nesting++;
        CurrentBackend().Wait(NextTimerDue(thread), sink);
        TheSystem().nesting--;
    }
}

} // namespace

uint64_t NextTimerDue(DWORD thread) {
    System &s = TheSystem();
    uint64_t next = UINT64_MAX;
    for (const Timer &t : s.timers)
        if (t.thread == thread) next = std::min(next, t.due);
    return next;
}

void KillTimersOf(HWND window) {
    auto &timers = TheSystem().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer &t) { return t.window == window; }),
                 timers.end());
}

void ForgetQueuedMessagesOf(HWND window) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    for (auto &entry : s.queues) {
        auto &posted = entry.second.posted;
        posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const MSG &m) { return m.hwnd == window; }),
                     posted.end());
    }
}

void PostToThread(DWORD thread, const MSG &message) {
    System &s = TheSystem();
    {
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        s.queues[thread].posted.push_back(message);
    }
    if (thread != GetCurrentThreadId()) CurrentBackend().Wake();
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT low, UINT high) {
    if (!message) return -1;
    if (window && !FindWindow(window)) return -1;
    FetchMessage(*message, window, low, high, true, true);
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT low, UINT high, UINT flags) {
    if (!message) return FALSE;
    return FetchMessage(*message, window, low, high, (flags & PM_REMOVE) != 0, false) ? TRUE : FALSE;
}

BOOL WINAPI WaitMessage(void) {
    MSG m;
    if (FetchMessage(m, nullptr, 0, 0, false, false)) return TRUE;
    System &s = TheSystem();
    s.nesting++;
    struct NullSink : InputSink {
        void Deliver(const InputEvent &event) override {
            System &sys = TheSystem();
            std::lock_guard<std::recursive_mutex> hold(sys.lock);
            sys.input.push_back(event);
        }
    } sink;
    CurrentBackend().Wait(NextTimerDue(GetCurrentThreadId()), sink);
    TheSystem().nesting--;
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG *message) {
    if (!message) return 0;
    if (message->message == WM_TIMER && message->lParam) {
        auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
        procedure(message->hwnd, WM_TIMER, message->wParam, message->time);
        return 0;
    }
    if (!message->hwnd || !FindWindow(message->hwnd)) return 0;
    return Send(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD thread = GetCurrentThreadId();
    if (window) {
        Window *w = FindWindow(window);
        if (!w) {
            SetLastError(1400);
            return FALSE;
        }
        thread = w->thread;
    }
    MSG m{};
    m.hwnd = window;
    m.message = message;
    m.wParam = wparam;
    m.lParam = lparam;
    Stamp(m);
    PostToThread(thread, m);
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!FindWindow(window)) {
        SetLastError(1400);
        return 0;
    }
    return Send(window, message, wparam, lparam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return procedure ? procedure(window, message, wparam, lparam) : 0;
}

void WINAPI PostQuitMessage(int code) {
    System &s = TheSystem();
    {
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        ThreadQueue &q = s.queues[GetCurrentThreadId()];
        q.quit = true;
        q.quit_code = code;
    }
}

DWORD WINAPI GetMessageTime(void) { return TheSystem().last_message_time; }

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT interval, TIMERPROC procedure) {
    System &s = TheSystem();
    if (window && !FindWindow(window)) {
        SetLastError(1400);
        return 0;
    }
    if (interval < 10) interval = 10; // USER_TIMER_MINIMUM
    if (interval > 0x7FFFFFFF) interval = 0x7FFFFFFF;
    if (!window) id = s.next_timer_id++;
    uint64_t due = CurrentBackend().Now() + interval;
    for (Timer &t : s.timers)
        if (t.window == window && t.id == id && window) {
            t.interval = interval;
            t.due = due;
            t.procedure = procedure;
            return id ? id : 1;
        }
    Timer t;
    t.window = window;
    t.id = id;
    t.interval = interval;
    t.due = due;
    t.order = s.timer_order++;
    t.procedure = procedure;
    t.thread = window ? FindWindow(window)->thread : GetCurrentThreadId();
    s.timers.push_back(t);
    return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    auto &timers = TheSystem().timers;
    for (auto it = timers.begin(); it != timers.end(); ++it)
        if (it->window == window && it->id == id) {
            timers.erase(it);
            return TRUE;
        }
    return FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    System &s = TheSystem();
    Window *w = FindWindow(window);
    if (!w) return 0;
    switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_NCHITTEST: return HitTest(*w, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_NCACTIVATE: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH brush = w->window_class->description.hbrBackground;
        if (!brush || brush == static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) return 0;
        if (reinterpret_cast<uintptr_t>(brush) <= COLOR_INFOBK + 1)
            brush = nullptr; // system colour brushes: (COLOR_x + 1); painted with the colour below
        RECT r;
        GetClientRect(window, &r);
        HDC dc = reinterpret_cast<HDC>(wparam);
        if (brush) {
            FillRect(dc, &r, brush);
        } else {
            int index = static_cast<int>(reinterpret_cast<uintptr_t>(w->window_class->description.hbrBackground)) - 1;
            HBRUSH solid = CreateSolidBrush(GetSysColor(index));
            FillRect(dc, &r, solid);
            DeleteObject(solid);
        }
        return 1;
    }
    case WM_NCLBUTTONDOWN:
        if (wparam == HTCLOSE) s.close_box_pressed = window;
        return 0;
    case WM_NCLBUTTONUP:
        if (wparam == HTCLOSE && s.close_box_pressed == window) {
            s.close_box_pressed = nullptr;
            SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, lparam);
        } else {
            s.close_box_pressed = nullptr;
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_SYSKEYDOWN:
        if (wparam == 0x73 /* F4 */ && (lparam & (1 << 29))) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SETTEXT:
        SetWindowTextA(window, reinterpret_cast<LPCSTR>(lparam));
        return TRUE;
    case WM_GETTEXT: return GetWindowTextA(window, reinterpret_cast<LPSTR>(lparam), static_cast<int>(wparam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->title.size());
    default: return 0;
    }
}

} // extern "C"
