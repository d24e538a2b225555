// The handler's steps that concern widgets, keys and the input method. Until widgets exist a
// window has no children, no focused widget and no edit box, so each step has nothing to do.
#include "window_internals.h"

void WindowInternals::ReleaseChildren(VLWindow &window)
{
}

void WindowInternals::DrawChildren(VLWindow &window)
{
}

int WindowInternals::WidgetTypeAt(VLWindow &window, int x, int y)
{
    return 0;
}

void WindowInternals::RouteMouse(VLWindow &window, int code, int x, int y)
{
}

void WindowInternals::MouseToFocusedEditBox(VLWindow &window, const VLSTMouseEvent &event)
{
}

void WindowInternals::ClearAllFocus(VLWindow &window)
{
    window.focusedType = 0;
    window.focusedWidget = nullptr;
}

void WindowInternals::CloseDropDown(VLWindow &window)
{
    window.dropDownOpen = 0;
    window.dropDownOwner = nullptr;
}

bool WindowInternals::ShowWidgetHint(VLWindow &window, int x, int y)
{
    return false;
}

void WindowInternals::RepeatHeldWidget(VLWindow &window)
{
}

void WindowInternals::BlinkCaret(VLWindow &window)
{
}

LRESULT WindowInternals::HandleKey(VLWindow &window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return 0;
}

void WindowInternals::PlaceCompositionWindow(VLWindow &window)
{
}

void WindowInternals::StartComposition(VLWindow &window)
{
}

void WindowInternals::TakeCompositionResult(VLWindow &window)
{
}
