// The library's internal view of a window: the common message handler and the steps it runs.
#pragma once

#include "vorla/VLWindow.h"

struct WindowInternals {
    // The common handler every slot's window procedure calls under the lock.
    static LRESULT HandleMessage(int slot, HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The window's client rectangle as the window events report it; false without a handle.
    static bool WindowRectangle(VLWindow &window, VLSTWindowEvent &event);
    static void PaintPass(VLWindow &window, HWND source);
    static void SendWindowEvent(VLWindow &window, int slot, HWND source, int code);
    static void SendMouseEvent(VLWindow &window, HWND source, int code, int x, int y);
    static void TimerTick(VLWindow &window, HWND source);
    static void CaretStep(VLWindow &window, HWND source);
    static void TickStep(VLWindow &window);
    static void HintStep(VLWindow &window);
    static void ResetPointer(VLWindow &window);
    static void HideHint(VLWindow &window);

    // ---- steps that belong to the widgets, keys and input method; filled in as those arrive ----
    // Clears every widget of the child list and frees the list.
    static void ReleaseChildren(VLWindow &window);
    // Draws every widget in list order, then an open drop-down list.
    static void DrawChildren(VLWindow &window);
    // Type code of the top-most widget under a client point, 0 for none.
    static int WidgetTypeAt(VLWindow &window, int x, int y);
    static void RouteMouse(VLWindow &window, int code, int x, int y);
    // Hands a mouse record to the focused edit box, if there is one.
    static void MouseToFocusedEditBox(VLWindow &window, const VLSTMouseEvent &event);
    // Drops the focus of every widget (the window's AllFocusClear).
    static void ClearAllFocus(VLWindow &window);
    static void CloseDropDown(VLWindow &window);
    // Shows the hint of the widget under (x, y); false when no widget has one.
    static bool ShowWidgetHint(VLWindow &window, int x, int y);
    // Auto-repeat of a held spin edit box or list box.
    static void RepeatHeldWidget(VLWindow &window);
    // The caret step's work on the focused edit box, if there is one.
    static void BlinkCaret(VLWindow &window);
    static LRESULT HandleKey(VLWindow &window, UINT message, WPARAM wparam, LPARAM lparam);
    static void PlaceCompositionWindow(VLWindow &window);
    static void StartComposition(VLWindow &window);
    static void TakeCompositionResult(VLWindow &window);
};
