// The common message handler: window, mouse and timer events, and the paint pass.
#include "window_internals.h"

#include "vorla/VLCursor.h"
#include "../draw/image_access.h"
#include "../draw/surface_access.h"
#include "ime_context.h"
#include "library.h"
#include "life_guard.h"
#include "tool_hint.h"
#include "child_walk.h"

#include <initializer_list>

namespace {

bool IsMouseMessage(UINT message)
{
    return message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK;
}

// Edit boxes and spin edit boxes show the text cursor.
bool TakesText(int type)
{
    return type == 4 || type == 13;
}

} // namespace

LRESULT WindowInternals::HandleMessage(int slot, HWND source, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (slot < 0 || slot >= SlotCount)
        return DefWindowProcA(source, message, wparam, lparam);
    WindowSlot &entry = Library().slots[slot];
    VLWindow *window = entry.window;

    if (!entry.inputEnabled) {
        if (message == WM_PAINT && window) {
            PaintPass(*window, source);
            return 0;
        }
        // A window destroyed while another runs modal must still learn that it is gone.
        if (message == WM_DESTROY && window) {
            SendWindowEvent(*window, slot, source, 101);
            return 0;
        }
        return DefWindowProcA(source, message, wparam, lparam);
    }

    if (!window) {
        if (message == WM_PAINT) {
            DefWindowProcA(source, message, wparam, lparam);
            return 0;
        }
        const bool input = IsMouseMessage(message) || (message >= WM_KEYDOWN && message <= WM_SYSCHAR);
        if (input || message == WM_DESTROY)
            return 0;
        return DefWindowProcA(source, message, wparam, lparam);
    }

    if (IsMouseMessage(message)) {
        window->mouseX = static_cast<short>(LOWORD(lparam));
        window->mouseY = static_cast<short>(HIWORD(lparam));
    }
    const int x = window->mouseX;
    const int y = window->mouseY;

    switch (message) {
    case WM_PAINT:
        PaintPass(*window, source);
        return 0;
    case WM_CREATE:
        SendWindowEvent(*window, slot, source, 100);
        break;
    case WM_DESTROY:
        SendWindowEvent(*window, slot, source, 101);
        return 0;
    case WM_MOVE:
    case WM_SETFOCUS:
        PlaceCompositionWindow(*window);
        break;
    case WM_ACTIVATE:
        SendWindowEvent(*window, slot, source, LOWORD(wparam) != WA_INACTIVE ? 104 : 105);
        break;
    case WM_NCMOUSEMOVE:
        // The pointer is over the frame.
        window->mouseX = -1;
        window->mouseY = -1;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return HandleKey(*window, WM_KEYDOWN, wparam, lparam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return HandleKey(*window, WM_KEYUP, wparam, lparam);
    case WM_CHAR:
    case WM_SYSCHAR:
        return HandleKey(*window, WM_CHAR, wparam, lparam);
    case WM_IME_STARTCOMPOSITION:
        StartComposition(*window);
        break;
    case WM_IME_ENDCOMPOSITION:
        break;
    case WM_IME_COMPOSITION:
        if (lparam & GCS_RESULTSTR)
            TakeCompositionResult(*window);
        break;
    case WM_TIMER:
        TimerTick(*window, source);
        break;
    case WM_MOUSEMOVE:
        SendMouseEvent(*window, source, 302, x, y);
        return 0;
    case WM_LBUTTONDOWN:
        window->holdTicks = 0;
        window->leftDown = 1;
        SendMouseEvent(*window, source, 300, x, y);
        return 0;
    case WM_LBUTTONUP:
        window->leftDown = 0;
        SendMouseEvent(*window, source, 301, x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        window->leftDown = 1;
        if (SendMouseEvent(*window, source, 300, x, y))
            SendMouseEvent(*window, source, 303, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        window->holdTicks = 0;
        window->rightDown = 1;
        SendMouseEvent(*window, source, 300, x, y);
        return 0;
    case WM_MOUSEWHEEL: {
        POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (ScreenToClient(source, &at))
            RouteWheel(*window, at.x, at.y, GET_WHEEL_DELTA_WPARAM(wparam));
        return 0;
    }
    case WM_RBUTTONUP:
        window->rightDown = 0;
        SendMouseEvent(*window, source, 301, x, y);
        return 0;
    case WM_RBUTTONDBLCLK:
        window->rightDown = 1;
        if (SendMouseEvent(*window, source, 300, x, y))
            SendMouseEvent(*window, source, 303, x, y);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(source, message, wparam, lparam);
}

bool WindowInternals::WindowRectangle(VLWindow &window, VLSTWindowEvent &event)
{
    RECT outer;
    if (!window.handle || !GetWindowRect(window.handle, &outer))
        return false;
    event.x = outer.left;
    event.y = outer.top;
    event.width = (outer.right - outer.left) -
                  2 * (GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXBORDER));
    event.height = (outer.bottom - outer.top) -
                   (2 * GetSystemMetrics(SM_CYBORDER) + 2 * GetSystemMetrics(SM_CYEDGE) +
                    GetSystemMetrics(SM_CYCAPTION));
    return true;
}

void WindowInternals::PaintPass(VLWindow &window, HWND source)
{
    PAINTSTRUCT paint;
    HDC context = ::BeginPaint(source, &paint);
    if (context) {
        // A context taken by VLWindow::BeginPaint stays the window's after the pass.
        const HDC held = window.context;
        const int wasInPaint = window.inPaint;
        window.context = context;
        SurfaceAccess::SetTarget(window, context);
        window.inPaint = 1;

        RECT client = {0, 0, 0, 0};
        GetClientRect(source, &client);
        window.SetForegroundColor(window.backgroundColour);
        window.DrawFillRect(0, 0, client.right, client.bottom);
        LifeGuard windowAlive(&window);
        DrawChildren(window);
        if (windowAlive.Ended()) {
            ::EndPaint(source, &paint);
            return;
        }
        ImageAccess::FollowOpenGLViews(window); // shown and placed as their images are

        window.inPaint = wasInPaint;
        window.context = held;
        SurfaceAccess::SetTarget(window, held);

        if (window.windowCallback) {
            VLSTWindowEvent event = {window.identifier, 102, 0, 0, 0, 0};
            WindowRectangle(window, event);
            window.windowCallback(&window, event);
        }
    }
    ::EndPaint(source, &paint);
}

void WindowInternals::SendWindowEvent(VLWindow &window, int slot, HWND source, int code)
{
    if (window.identifier < FirstWindowIdentifier ||
        window.identifier >= FirstWindowIdentifier + SlotCount)
        return;
    VLSTWindowEvent event = {window.identifier, code, 0, 0, 0, 0};
    WindowRectangle(window, event);
    // Activating the owner calls its callbacks, and this window's callback may clear or delete
    // the window: nothing is touched after either without asking.
    LifeGuard windowAlive(&window);

    switch (code) {
    case 100:
        window.alive = 1;
        break;
    case 101:
        window.alive = 0;
        Library().slots[slot].alive = 0;
        KillTimer(source, static_cast<UINT_PTR>(slot));
        if (window.owner)
            SetActiveWindow(window.owner);
        if (windowAlive.Ended())
            return;
        HideHint(window);
        // Only the dialog whose loop runs innermost ends it; an outer dialog's loop ends when
        // control returns to it, and a dialog that never ran modal ends nothing.
        if ((window.flags & 4) && Library().modalSlot == slot && Library().slots[slot].modal)
            Library().modalEndRequest = 1;
        // A dialog destroyed while its loop waits for a message (from a timer callback, say, or
        // another window's handling) would leave that loop waiting: wake it to look again.
        if ((window.flags & 4) && Library().slots[slot].modal)
            PostMessageA(nullptr, WM_NULL, 0, 0);
        break;
    case 104:
    case 105:
        if (GetCapture())
            ReleaseCapture();
        HideHint(window);
        if (code == 105) {
            window.BeginPaint();
            ClearAllFocus(window);
            window.EndPaint();
            CloseDropDown(window);
        }
        ResetPointer(window);
        break;
    default:
        break;
    }
    if (window.windowCallback)
        window.windowCallback(&window, event);
    if (code == 101 && !windowAlive.Ended())
        window.identifier = -1;
}

bool WindowInternals::SendMouseEvent(VLWindow &window, HWND source, int code, int x, int y)
{
    LifeGuard windowAlive(&window);
    VLSTMouseEvent event = {};
    event.winID = window.identifier;
    event.event = code;
    event.x = x;
    event.y = y;

    const int type = window.cursor ? WidgetTypeAt(window, x, y) : 0;
    if (window.cursor)
        window.cursorShape = TakesText(type) ? 3 : 1;
    event.left = window.leftDown;
    event.right = window.rightDown;
    event.middle = window.middleDown;

    if (code == 300)
        SetCapture(source);
    else if (code == 301)
        ReleaseCapture();
    if (window.leftDown || window.rightDown || window.middleDown)
        HideHint(window);

    RouteMouse(window, code, x, y);
    if (windowAlive.Ended())
        return false;
    MouseToFocusedEditBox(window, event);
    if (windowAlive.Ended())
        return false;
    if (window.mouseCallback)
        window.mouseCallback(&window, event);
    if (windowAlive.Ended())
        return false;

    // The callback may have chosen a shape; text widgets keep theirs.
    if (window.cursor) {
        if (TakesText(type))
            window.cursorShape = 3;
        window.cursor->SetCursor(window.GetCursor());
    }
    return true;
}

void WindowInternals::TimerTick(VLWindow &window, HWND source)
{
    ++window.tickCounter;
    if (window.tickCounter >= 5) {
        window.tickCounter -= 5;
        CaretStep(window, source);
    }
    TickStep(window);
}

void WindowInternals::CaretStep(VLWindow &window, HWND source)
{
    if (source != window.handle)
        return;
    VLSTRect area = {};
    if (!FocusedEditBoxArea(window, area))
        return;
    // A composition that started over the edit box left its caret stale: repaint it whole once.
    const bool composing = window.imeContext && window.imeContext->IsOpen();
    if (!composing && window.caretRefreshPending) {
        window.UpdateWindowRect(area.x, area.y, area.x + area.width, area.y + area.height);
        window.caretRefreshPending = 0;
        return;
    }
    window.BeginPaint();
    BlinkCaret(window);
    window.EndPaint();
}

void WindowInternals::TickStep(VLWindow &window)
{
    LifeGuard windowAlive(&window);
    HintStep(window);
    // A held spin edit box or list box repeats from the fifth tick after the press.
    for (int heldType : {13, 17}) {
        if (window.focusedType != heldType || !window.leftDown || !FocusedWidgetHasFocus(window))
            continue;
        if (window.holdTicks > 3) {
            if (heldType == 13)
                RepeatSpinEditBox(window, window.mouseX, window.mouseY);
            else
                ScrollHeldListBox(window, window.mouseX, window.mouseY);
            if (windowAlive.Ended())
                return; // the step's callbacks ended the window
        }
        if (window.holdTicks < 20)
            ++window.holdTicks;
    }
    // Widgets with a held part of their own (a scroll area's bar buttons) count their own ticks.
    if (window.leftDown) {
        ForEachChild(WindowInternals::Children(window), false, [&](int, void *widget, const WidgetKind &kind) {
            if (kind.held)
                kind.held(widget, window.mouseX, window.mouseY);
            return !windowAlive.Ended();
        });
        if (windowAlive.Ended())
            return;
    }
    if (window.timerCallback)
        window.timerCallback(&window);
}

void WindowInternals::StartComposition(VLWindow &window)
{
    VLSTRect area = {};
    if (window.imeContext && FocusedEditBoxArea(window, area))
        window.caretRefreshPending = 1;
    PlaceCompositionWindow(window);
}

void WindowInternals::HintStep(VLWindow &window)
{
    if (!window.toolHint || !window.alive)
        return;
    VLSTWindowEvent area = {};
    POINT pointer = {0, 0};
    if (!WindowRectangle(window, area) || !GetCursorPos(&pointer)) {
        HideHint(window);
        return;
    }
    const bool outside = pointer.x < area.x || pointer.x >= area.x + area.width ||
                         pointer.y < area.y || pointer.y >= area.y + area.height;
    if (outside || window.mouseX < 0 || window.mouseY < 0 || window.dropDownOpen ||
        window.leftDown || window.middleDown || window.rightDown) {
        HideHint(window);
        return;
    }
    if (window.toolHint->Tick() < 10)
        return;
    if (GetActiveWindow() != window.handle || !ShowWidgetHint(window, window.mouseX, window.mouseY))
        HideHint(window);
}

void WindowInternals::ResetPointer(VLWindow &window)
{
    window.mouseX = -1;
    window.mouseY = -1;
    window.leftDown = 0;
    window.rightDown = 0;
    window.holdTicks = 0;
}

void WindowInternals::HideHint(VLWindow &window)
{
    if (window.toolHint)
        window.toolHint->Hide();
}
