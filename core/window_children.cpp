// The window's widgets: adding and removing them, the placement pass, painting, clearing, mouse
// routing, activation and focus navigation. Every walk dispatches on the type code.
#include "child_list.h"
#include "child_walk.h"
#include "tool_hint.h"
#include "widget_kinds.h"
#include "window_internals.h"

#include "vorla/VorlaLib.h"

#include <new>


void VLWindow::AddChild(int type, void *widget)
{
    if (!widget)
        return;
    if (!children) {
        children = new (std::nothrow) VLChildList;
        if (!children)
            return;
    }
    children->Add(widget, type);
    WindowInternals::PlaceChildren(*this);
}

void VLWindow::RemoveChild(int type, void *widget)
{
    if (focusedWidget == widget && focusedType == type) {
        focusedType = 0;
        focusedWidget = nullptr;
    }
    if (children) {
        const int index = children->Find(widget, type);
        if (index >= 0)
            children->RemoveAt(index);
    }
    WindowInternals::PlaceChildren(*this);
}

void VLWindow::Add(VLLabel *widget) { AddChild(TypeLabel, widget); }
void VLWindow::Add(VLPushButton *widget) { AddChild(TypePushButton, widget); }
void VLWindow::Add(VLButton *widget) { AddChild(TypeButton, widget); }
void VLWindow::Add(VLCheckBox *widget) { AddChild(TypeCheckBox, widget); }
void VLWindow::Add(VLGroup *widget) { AddChild(TypeGroup, widget); }
void VLWindow::RemoveAt(VLCheckBox *widget) { RemoveChild(TypeCheckBox, widget); }
void VLWindow::RemoveAt(VLGroup *widget) { RemoveChild(TypeGroup, widget); }
void VLWindow::Add(VLImage *widget) { AddChild(TypeImage, widget); }
void VLWindow::RemoveAt(VLImage *widget) { RemoveChild(TypeImage, widget); }
void VLWindow::RemoveAt(VLLabel *widget) { RemoveChild(TypeLabel, widget); }
void VLWindow::RemoveAt(VLPushButton *widget) { RemoveChild(TypePushButton, widget); }
void VLWindow::RemoveAt(VLButton *widget) { RemoveChild(TypeButton, widget); }

void WindowInternals::PlaceChildren(VLWindow &window)
{
    ForEachChild(window.children, false, [&](int, void *widget, const WidgetKind &kind) {
        if (kind.place)
            kind.place(widget, &window, 0, 0);
        return true;
    });
}

void WindowInternals::ReleaseChildren(VLWindow &window)
{
    if (!window.children)
        return;
    ForEachChild(window.children, false, [](int, void *widget, const WidgetKind &kind) {
        if (kind.clear)
            kind.clear(widget);
        return true;
    });
    delete window.children;
    window.children = nullptr;
}

void WindowInternals::DrawChildren(VLWindow &window)
{
    ForEachChild(window.children, false, [](int type, void *widget, const WidgetKind &kind) {
        // Radio buttons live in groups only; a stray one is never drawn by the window.
        if (type != TypeRadioButton && kind.draw)
            kind.draw(widget);
        return true;
    });
}

int WindowInternals::WidgetTypeAt(VLWindow &window, int x, int y)
{
    VLSTWindowEvent rectangle;
    if (!window.alive || !WindowRectangle(window, rectangle) || window.dropDownOpen ||
        GetActiveWindow() != window.handle)
        return 0;
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    if (pointer.x < rectangle.x || pointer.y < rectangle.y || pointer.x >= rectangle.x + rectangle.width ||
        pointer.y >= rectangle.y + rectangle.height)
        return 0;
    int found = 0;
    ForEachChild(window.children, true, [&](int type, void *widget, const WidgetKind &kind) {
        VLSTRect box;
        if (!kind.visible || !kind.visible(widget) || !WindowBox(kind, widget, box))
            return true;
        if (x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height) {
            found = type;
            return false;
        }
        return true;
    });
    return found;
}

void WindowInternals::RouteMouse(VLWindow &window, int code, int x, int y)
{
    window.BeginPaint();
    const int previousType = window.focusedType;
    void *const previousWidget = window.focusedWidget;

    if (code == 300) {
        bool hit = false;
        ForEachChild(window.children, false, [&](int, void *widget, const WidgetKind &kind) {
            hit = kind.pressHits && kind.pressHits(widget, x, y);
            return !hit;
        });
        // A press on empty space, a label or a progress bar changes nothing.
        if (!window.dropDownOpen && !hit) {
            window.EndPaint();
            return;
        }
        window.focusedType = 0;
        window.focusedWidget = nullptr;
    }

    // Every entry sees the event, top-most first.
    ForEachChild(window.children, true, [&](int, void *widget, const WidgetKind &kind) {
        if (kind.mouse)
            kind.mouse(widget, code, x, y);
        return true;
    });

    if ((code == 300 || code == 301) && previousWidget &&
        (previousType != window.focusedType || previousWidget != window.focusedWidget)) {
        const WidgetKind *kind = KindOf(previousType);
        if (kind && kind->loseFocus)
            kind->loseFocus(previousWidget);
    }
    window.EndPaint();
}

void WindowInternals::RouteArrow(VLWindow &window, int key)
{
    window.BeginPaint();
    ForEachChild(window.children, false, [&](int, void *widget, const WidgetKind &kind) {
        return !(kind.arrow && kind.arrow(widget, key));
    });
    window.EndPaint();
}

void WindowInternals::ActivateFocused(VLWindow &window)
{
    window.BeginPaint();
    const int focusedType = window.focusedType;
    ForEachChild(window.children, false, [&](int, void *widget, const WidgetKind &kind) {
        return !(kind.activate && kind.activate(widget, focusedType));
    });
    window.EndPaint();
}

void WindowInternals::ClearAllFocus(VLWindow &window)
{
    window.AllFocusClear();
}

void VLWindow::AllFocusClear()
{
    if (!children)
        return;
    focusedType = 0;
    focusedWidget = nullptr;
    ForEachChild(children, false, [](int, void *widget, const WidgetKind &kind) {
        if (kind.clearFocus)
            kind.clearFocus(widget);
        else if (kind.loseFocus)
            kind.loseFocus(widget);
        return true;
    });
}

void VLWindow::NextFocus()
{
    if (!children || children->Count() == 0)
        return;
    BeginPaint();
    int state = 0;
    for (int pass = 0; pass < 2 && state != 2; ++pass) {
        if (pass == 1)
            state = 1; // wrap around: the first eligible widget takes the focus
        ForEachChild(children, false, [&](int type, void *widget, const WidgetKind &kind) {
            if (kind.focusNext) {
                state = kind.focusNext(widget, state);
            } else if (kind.gainFocus && state != 0 && kind.eligible && kind.eligible(widget)) {
                kind.gainFocus(widget);
                focusedType = type;
                focusedWidget = widget;
                state = 2;
            } else if (kind.hasFocus && kind.hasFocus(widget)) {
                kind.loseFocus(widget);
                state = 1;
            } else if (state != 0 && kind.draw) {
                kind.draw(widget); // lies after the old focus but cannot take it
            }
            return state != 2;
        });
    }
    EndPaint();
    WindowInternals::CloseDropDown(*this);
}

void WindowInternals::FocusNext(VLWindow &window)
{
    window.NextFocus();
}

namespace {

// Searches a child list, top-most first, for a visible widget with a hint under the point; a
// container under the point is searched through its own children instead.
bool ShowHintIn(VLWindow &window, VLToolHint &hint, VLChildList *list, int x, int y)
{
    bool shown = false;
    ForEachChild(list, true, [&](int, void *widget, const WidgetKind &kind) {
        VLSTRect box;
        if (!kind.visible || !kind.visible(widget) || !WindowBox(kind, widget, box))
            return true;
        // Here the right and bottom edges count as inside.
        if (x < box.x || x > box.x + box.width || y < box.y || y > box.y + box.height)
            return true;
        if (kind.children) {
            shown = ShowHintIn(window, hint, kind.children(widget), x, y);
            return !shown;
        }
        unsigned int foreground = 0, background = 0;
        int fontSize = 12;
        const char *text = kind.hint ? kind.hint(widget, foreground, background, fontSize) : nullptr;
        if (!text || !*text)
            return true;
        hint.SetText(text);
        hint.SetTextColour(foreground);
        hint.SetBackgroundColour(background);
        hint.SetFontSize(fontSize);
        hint.Move(x + 12, box.y + box.height + 2);
        hint.Show(1);
        shown = true;
        return false;
    });
    return shown;
}

} // namespace

bool WindowInternals::ShowWidgetHint(VLWindow &window, int x, int y)
{
    return window.toolHint && ShowHintIn(window, *window.toolHint, window.children, x, y);
}
