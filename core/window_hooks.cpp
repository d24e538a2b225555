// The handler's steps that concern the focused edit box: keys, mouse records, the caret blink and
// input-method results.
#include "child_walk.h"
#include "ime_context.h"
#include "window_internals.h"

#include "../widgets/edit_box_access.h"
#include "../widgets/combo_box_parts.h"
#include "../widgets/list_box_parts.h"
#include "../widgets/skeleton.h"
#include "../widgets/spin_edit_box_access.h"

namespace {

// The first focused edit box of a list, searched first to last and into containers. Widgets of a
// hidden container take no input, so the search does not enter one.
VLEditBox *FocusedEditBoxIn(VLChildList *list)
{
    VLEditBox *found = nullptr;
    ForEachChild(list, false, [&](int, void *widget, const WidgetKind &kind) {
        if (kind.focusedEditBox)
            found = kind.focusedEditBox(widget);
        else if (kind.shownChildren && kind.visible && kind.visible(widget))
            found = FocusedEditBoxIn(kind.shownChildren(widget));
        return found == nullptr;
    });
    return found;
}

VLEditBox *FocusedEditBox(VLWindow &window)
{
    return FocusedEditBoxIn(WindowInternals::Children(window));
}

// Draws the box inside the window's own BeginPaint and EndPaint, clipped to the groups it lies
// in, unless the window ended.
void DrawBox(VLWindow &window, VLEditBox &box)
{
    LifeGuard windowAlive(&window);
    window.BeginPaint();
    box.Repaint();
    if (!windowAlive.Ended())
        window.EndPaint();
}

} // namespace

void WindowInternals::MouseToFocusedEditBox(VLWindow &window, const VLSTMouseEvent &event)
{
    VLEditBox *box = FocusedEditBox(window);
    if (box && EditBoxAccess::MouseInput(*box, event))
        DrawBox(window, *box);
}

void WindowInternals::CloseDropDown(VLWindow &window)
{
    DropDownClose(window);
}


bool WindowInternals::FocusedWidgetHasFocus(VLWindow &window)
{
    const WidgetKind *kind = KindOf(window.focusedType);
    return kind && kind->hasFocus && WindowHolds(window, window.focusedType, window.focusedWidget) &&
           kind->hasFocus(window.focusedWidget);
}

void WindowInternals::RepeatSpinEditBox(VLWindow &window, int x, int y)
{
    if (window.focusedType == TypeSpinEditBox && WindowHolds(window, TypeSpinEditBox, window.focusedWidget))
        SpinEditBoxAccess::Repeat(*static_cast<VLSpinEditBox *>(window.focusedWidget), x, y);
}

void WindowInternals::ScrollHeldListBox(VLWindow &window, int x, int y)
{
    if (window.focusedType == TypeListBox && WindowHolds(window, TypeListBox, window.focusedWidget))
        ListBoxHeldTick(*static_cast<VLListBox *>(window.focusedWidget), x, y);
}

bool WindowInternals::FocusedEditBoxArea(VLWindow &window, VLSTRect &area)
{
    VLEditBox *box = FocusedEditBox(window);
    if (!box)
        return false;
    area = EditBoxAccess::WindowArea(*box);
    return true;
}

void WindowInternals::BlinkCaret(VLWindow &window)
{
    if (VLEditBox *box = FocusedEditBox(window))
        EditBoxAccess::BlinkCaret(*box);
}

bool WindowInternals::KeyToFocusedEditBox(VLWindow &window, const VLSTKeyEvent &event, int controlLetters)
{
    VLEditBox *box = FocusedEditBox(window);
    if (!box)
        return false;
    // The box's callbacks may clear or delete it, or its window.
    LifeGuard boxAlive(box), windowAlive(&window);
    EditBoxAccess::KeyInput(*box, event, controlLetters);
    if (!boxAlive.Ended() && !windowAlive.Ended() && FocusedEditBox(window) == box)
        DrawBox(window, *box);
    return true;
}

void WindowInternals::PlaceCompositionWindow(VLWindow &window)
{
    if (!window.imeContext)
        return;
    // At the caret of the focused edit box; otherwise the client's corner.
    VLEditBox *box = FocusedEditBox(window);
    window.compositionX = window.compositionY = 0;
    if (box)
        EditBoxAccess::CompositionPoint(*box, window.compositionX, window.compositionY);
    window.imeContext->PlaceCompositionWindow(window.compositionX, window.compositionY);
}

void WindowInternals::TakeCompositionResult(VLWindow &window)
{
    if (!window.imeContext)
        return;
    char result[TextCapacity] = {};
    window.imeContext->TakeResultString(result, TextCapacity - 1);
    VLEditBox *box = FocusedEditBox(window);
    if (!box)
        return;
    // With Insert toggled on the result is inserted; otherwise it overwrites.
    const int insert = (GetKeyState(VK_INSERT) & 1) ? 1 : 0;
    LifeGuard boxAlive(box), windowAlive(&window);
    EditBoxAccess::InsertText(*box, result, insert);
    if (!boxAlive.Ended() && !windowAlive.Ended() && FocusedEditBox(window) == box)
        DrawBox(window, *box);
}
