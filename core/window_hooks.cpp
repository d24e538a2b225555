// The handler's steps that concern widgets, keys and the input method. Until widgets exist a
// window has no children, no focused widget and no edit box, so each step has nothing to do.
#include "ime_context.h"
#include "window_internals.h"





void WindowInternals::MouseToFocusedEditBox(VLWindow &window, const VLSTMouseEvent &event)
{
}


void WindowInternals::CloseDropDown(VLWindow &window)
{
    window.dropDownOpen = 0;
    window.dropDownOwner = nullptr;
}


bool WindowInternals::FocusedWidgetHasFocus(VLWindow &window)
{
    return false;
}

void WindowInternals::RepeatSpinEditBox(VLWindow &window, int x, int y)
{
}

void WindowInternals::ScrollHeldListBox(VLWindow &window, int x, int y)
{
}

bool WindowInternals::FocusedEditBoxArea(VLWindow &window, VLSTRect &area)
{
    return false;
}

void WindowInternals::BlinkCaret(VLWindow &window)
{
}

bool WindowInternals::KeyToFocusedEditBox(VLWindow &window, const VLSTKeyEvent &event, int controlLetters)
{
    return false;
}




void WindowInternals::PlaceCompositionWindow(VLWindow &window)
{
    if (!window.imeContext)
        return;
    // At the caret of the focused edit box once edit boxes exist; otherwise the client's corner.
    VLSTRect area = {};
    const bool editing = FocusedEditBoxArea(window, area);
    window.compositionX = editing ? area.x + 4 : 0;
    window.compositionY = editing ? area.y + 4 : 0;
    window.imeContext->PlaceCompositionWindow(window.compositionX, window.compositionY);
}

void WindowInternals::TakeCompositionResult(VLWindow &window)
{
}
