// The clipboard in the CF_TEXT format: opened by one thread at a time, holding the block last
// handed to it, with the text itself kept by the backend (in memory, or the desktop's clipboard).
#include "internal/kernel.h"
#include "internal/system.h"

#include <cstring>

using namespace vorla::platform;

namespace vorla::platform {
ClipboardState::~ClipboardState() {
    if (text) FreeGlobalOfSystem(text);
}

// A window that goes away closes the clipboard it had open and stops owning it.
void ForgetClipboardWindow(HWND window) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    if (s.clipboard.open_thread && s.clipboard.open_window == window) {
        s.clipboard.open_thread = 0;
        s.clipboard.open_window = nullptr;
    }
    if (s.clipboard.owner == window) s.clipboard.owner = nullptr;
}
} // namespace vorla::platform

namespace {

// The clipboard as the calling thread may change it: open, and opened by this thread.
ClipboardState *OpenedHere(System &s) {
    if (s.clipboard.open_thread != GetCurrentThreadId()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    return &s.clipboard;
}

// A thread that ends with the clipboard open closes it, so the clipboard is not locked for good.
struct OpenedByThisThread {
    bool opened = false;
    ~OpenedByThisThread() {
        if (!opened) return;
        System &s = TheSystem();
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        if (s.clipboard.open_thread == GetCurrentThreadId()) {
            s.clipboard.open_thread = 0;
            s.clipboard.open_window = nullptr;
        }
    }
};
thread_local OpenedByThisThread t_opened;

// Lets go of the block the clipboard holds.
void DropBlock(ClipboardState &c) {
    if (!c.text) return;
    FreeGlobalOfSystem(c.text);
    c.text = nullptr;
}

} // namespace

extern "C" {

BOOL WINAPI OpenClipboard(HWND window) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    if (window && !FindWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ClipboardState &c = s.clipboard;
    // Open already: only the same thread with the same window may open it again.
    if (c.open_thread && (c.open_thread != GetCurrentThreadId() || c.open_window != window)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.open_thread = GetCurrentThreadId();
    c.open_window = window;
    t_opened.opened = true;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    ClipboardState *c = OpenedHere(s);
    if (!c) return FALSE;
    c->open_thread = 0;
    c->open_window = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    ClipboardState *c = OpenedHere(s);
    if (!c) return FALSE;
    CurrentBackend().SetClipboardText(std::string());
    DropBlock(*c);
    c->owner = c->open_window;
    return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE data) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    ClipboardState *c = OpenedHere(s);
    if (!c) return nullptr;
    // Only text is kept, and always at once: there is no rendering on request.
    if (format != CF_TEXT || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string text;
    if (!GlobalBlockText(data, text)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // The backend refuses what it cannot keep whole; the block then stays the caller's.
    if (!CurrentBackend().SetClipboardText(text)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return nullptr;
    }
    if (c->text != data) {
        DropBlock(*c);
        HoldGlobalForSystem(data, true);
        c->text = data;
    }
    return data;
}

HANDLE WINAPI GetClipboardData(UINT format) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    ClipboardState *c = OpenedHere(s);
    if (!c) return nullptr;
    std::string text;
    if (format != CF_TEXT || !CurrentBackend().GetClipboardText(text) || text.empty()) {
        SetLastError(ERROR_SUCCESS);
        return nullptr;
    }
    // The block handed over last still answers while the clipboard's text is its text; text that
    // came from elsewhere gets a block of its own, which the clipboard keeps.
    std::string held;
    if (c->text && GlobalBlockText(c->text, held) && held == text) return c->text;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return nullptr;
    char *bytes = static_cast<char *>(GlobalLock(block));
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = 0;
    GlobalUnlock(block);
    DropBlock(*c);
    HoldGlobalForSystem(block, true);
    c->text = block;
    return block;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
    std::string text;
    return format == CF_TEXT && CurrentBackend().GetClipboardText(text) && !text.empty();
}

HWND WINAPI GetOpenClipboardWindow(void) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    return s.clipboard.open_window;
}

HWND WINAPI GetClipboardOwner(void) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    return FindWindow(s.clipboard.owner) ? s.clipboard.owner : nullptr;
}

} // extern "C"
