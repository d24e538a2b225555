// The library's internal view of a window: the common message handler and the steps it runs.
#pragma once

#include "vorla/VLWindow.h"

struct WidgetKind;

struct WindowInternals {
    // The common handler every slot's window procedure calls under the lock.
    static LRESULT HandleMessage(int slot, HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The window's client rectangle as the window events report it; false without a handle.
    static bool WindowRectangle(VLWindow &window, VLSTWindowEvent &event);
    static void PaintPass(VLWindow &window, HWND source);
    static void SendWindowEvent(VLWindow &window, int slot, HWND source, int code);
    // False when a callback ended the window (cleared, re-created or deleted it).
    static bool SendMouseEvent(VLWindow &window, HWND source, int code, int x, int y);
    static void TimerTick(VLWindow &window, HWND source);
    static void CaretStep(VLWindow &window, HWND source);
    static void TickStep(VLWindow &window);
    static void HintStep(VLWindow &window);
    static void ResetPointer(VLWindow &window);
    static void HideHint(VLWindow &window);
    // Forgets the buttons held down: a modal dialog run from a press took their release.
    static void ForgetButtons(VLWindow &window)
    {
        window.leftDown = 0;
        window.rightDown = 0;
    }
    static LRESULT HandleKey(VLWindow &window, UINT message, WPARAM wparam, LPARAM lparam);
    // Caps, Scroll and Num Lock toggles and the Shift, Control and Alt keys, as the key records carry them.
    static int ModifierWord();
    // Shift, Control and Alt bits with the letter of a control character, or 0 (key-up: always 0).
    static int ControlLetterWord(int code, int key);
    static void StartComposition(VLWindow &window);

    // ---- widgets ----
    // The placement pass: every widget of the list takes the window and its window position.
    static void PlaceChildren(VLWindow &window);
    static VLChildList *Children(VLWindow &window) { return window.children; }
    // The context the window and its widgets draw into now (null outside painting).
    static HDC Context(VLWindow &window) { return window.context; }
    static HWND Handle(VLWindow &window) { return window.handle; }
    static void SetFocusedWidget(VLWindow &window, int type, void *widget)
    {
        window.focusedType = type;
        window.focusedWidget = widget;
    }
    static int FocusedType(VLWindow &window) { return window.focusedType; }
    static void *FocusedWidget(VLWindow &window) { return window.focusedWidget; }
    static bool DropDownOpen(VLWindow &window) { return window.dropDownOpen != 0; }
    static bool LeftDown(VLWindow &window) { return window.leftDown != 0; }
    // The open drop-down list: the window holds its state, the combo box that owns it acts on it.
    static VLComboBox *DropDownOwner(VLWindow &window) { return window.dropDownOwner; }
    static void SetDropDown(VLWindow &window, bool open, VLComboBox *owner)
    {
        window.dropDownOpen = open ? 1 : 0;
        window.dropDownOwner = owner;
    }
    static RECT DropDownRect(VLWindow &window)
    {
        return RECT{window.dropDownLeft, window.dropDownTop, window.dropDownRight, window.dropDownBottom};
    }
    static void SetDropDownRect(VLWindow &window, const RECT &area)
    {
        window.dropDownLeft = area.left;
        window.dropDownTop = area.top;
        window.dropDownRight = area.right;
        window.dropDownBottom = area.bottom;
    }
    static unsigned long BackgroundColour(VLWindow &window) { return window.backgroundColour; }

    // ---- steps that belong to the widgets, keys and input method; filled in as those arrive ----
    // Clears every widget of the child list and frees the list.
    static void ReleaseChildren(VLWindow &window);
    // Draws every widget in list order, then an open drop-down list.
    static void DrawChildren(VLWindow &window);
    // Whether the widget is in the window's child list or, at any depth, in a container's.
    static bool WindowHolds(VLWindow &window, int type, void *widget);
    // Clears the window's focused widget when it is no longer in the window (it was removed, or
    // left with its container).
    static void ForgetFocusIfGone(VLWindow &window);
    // Type code of the top-most widget under a client point, 0 for none.
    static int WidgetTypeAt(VLWindow &window, int x, int y);
    static void RouteMouse(VLWindow &window, int code, int x, int y);
    // The wheel turned with the pointer at a client point: the top-most widget there that
    // scrolls takes it.
    static void RouteWheel(VLWindow &window, int x, int y, int delta);
    // Hands a mouse record to the focused edit box, if there is one.
    static void MouseToFocusedEditBox(VLWindow &window, const VLSTMouseEvent &event);
    // Drops the focus of every widget (the window's AllFocusClear).
    static void ClearAllFocus(VLWindow &window);
    static void CloseDropDown(VLWindow &window);
    // Shows the hint of the widget under (x, y); false when no widget has one.
    static bool ShowWidgetHint(VLWindow &window, int x, int y);
    // True when the window's focused widget (a spin edit box or list box held down) has the focus.
    static bool FocusedWidgetHasFocus(VLWindow &window);
    // Auto-repeat of a held spin edit box: a step up or down when the pointer is on its spin.
    static void RepeatSpinEditBox(VLWindow &window, int x, int y);
    // Drag scrolling of a held list box.
    static void ScrollHeldListBox(VLWindow &window, int x, int y);
    // The focused edit box's rectangle in window coordinates; false when there is none.
    static bool FocusedEditBoxArea(VLWindow &window, VLSTRect &area);
    // Draws the focused edit box and flips its caret (inside the window's BeginPaint).
    static void BlinkCaret(VLWindow &window);
    // Gives a key record to the focused edit box and draws it; false when there is none.
    static bool KeyToFocusedEditBox(VLWindow &window, const VLSTKeyEvent &event, int controlLetters);
    // One container child's turn in focus navigation (state 0 looking for the focused widget, 1
    // the next eligible one takes it, 2 done): a container passes the state through its own
    // children; a widget holding the focus gives it up; in state 1 an eligible widget takes it
    // when the container is shown. Returns the new state.
    static int FocusStep(VLWindow *window, bool shown, int type, void *child, const WidgetKind &kind, int state);
    // A child's part of clearing every focus: a container's own clearing, or the widget's.
    static void ClearFocusOf(void *child, const WidgetKind &kind);
    // Tab: the next widget takes the focus (the window's NextFocus).
    static void FocusNext(VLWindow &window);
    // An arrow key for the focused radio button, tab, combo box, spin edit box or list box.
    static void RouteArrow(VLWindow &window, int key);
    // Enter or space: the focused widget acts as if clicked.
    static void ActivateFocused(VLWindow &window);
    static void PlaceCompositionWindow(VLWindow &window);
    static void TakeCompositionResult(VLWindow &window);
};
