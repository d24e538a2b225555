// The window's widgets: adding and removing them, the placement pass, painting, clearing, mouse
// routing, activation and focus navigation. Every walk dispatches on the type code.
#include "child_list.h"
#include "child_walk.h"
#include "tool_hint.h"
#include "widget_kinds.h"
#include "window_internals.h"

#include "../widgets/combo_box_parts.h"
#include "../widgets/spin_edit_box_access.h"

#include "vorla/VorlaLib.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>


void VLWindow::AddChild(int type, void *widget)
{
    if (!widget)
        return;
    if (!EnsureList(children))
        return;
    children->Add(widget, type);
    WindowInternals::PlaceChildren(*this);
}

void VLWindow::RemoveChild(int type, void *widget)
{
    if (focusedWidget == widget && focusedType == type) {
        focusedType = 0;
        focusedWidget = nullptr;
    }
    RemovePair(children, type, widget);
    WindowInternals::PlaceChildren(*this);
    // The focused widget may have left with a container that held it.
    WindowInternals::ForgetFocusIfGone(*this);
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
void VLWindow::Add(VLEditBox *widget) { AddChild(TypeEditBox, widget); }
void VLWindow::RemoveAt(VLEditBox *widget) { RemoveChild(TypeEditBox, widget); }
void VLWindow::Add(VLProgressBar *widget) { AddChild(TypeProgressBar, widget); }
void VLWindow::RemoveAt(VLProgressBar *widget) { RemoveChild(TypeProgressBar, widget); }
void VLWindow::Add(VLSlider *widget) { AddChild(TypeSlider, widget); }
void VLWindow::RemoveAt(VLSlider *widget) { RemoveChild(TypeSlider, widget); }
void VLWindow::Add(VLColor *widget) { AddChild(TypeColor, widget); }
void VLWindow::RemoveAt(VLColor *widget) { RemoveChild(TypeColor, widget); }
void VLWindow::Add(VLListBox *widget) { AddChild(TypeListBox, widget); }
void VLWindow::RemoveAt(VLListBox *widget) { RemoveChild(TypeListBox, widget); }
void VLWindow::Add(VLComboBox *widget) { AddChild(TypeComboBox, widget); }
void VLWindow::RemoveAt(VLComboBox *widget) { RemoveChild(TypeComboBox, widget); }
void VLWindow::Add(VLScrollArea *widget) { AddChild(TypeScrollArea, widget); }
void VLWindow::RemoveAt(VLScrollArea *widget) { RemoveChild(TypeScrollArea, widget); }
void VLWindow::Add(VLTab *widget) { AddChild(TypeTab, widget); }
void VLWindow::RemoveAt(VLTab *widget) { RemoveChild(TypeTab, widget); }
void VLWindow::Add(VLSpin *widget) { AddChild(TypeSpin, widget); }
void VLWindow::RemoveAt(VLSpin *widget) { RemoveChild(TypeSpin, widget); }
void VLWindow::Add(VLSpinEditBox *widget) { AddChild(TypeSpinEditBox, widget); }
void VLWindow::RemoveAt(VLSpinEditBox *widget) { RemoveChild(TypeSpinEditBox, widget); }

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
    ClearAndFree(window.children);
}

void WindowInternals::DrawChildren(VLWindow &window)
{
    ForEachChild(window.children, false, [](int type, void *widget, const WidgetKind &kind) {
        // Radio buttons live in groups only; a stray one is never drawn by the window.
        if (type != TypeRadioButton && kind.draw)
            kind.draw(widget);
        return true;
    });
    DropDownPaint(window); // over everything
}

namespace {

// The type of the top-most visible widget of a list under the point (right and bottom edges
// excluded); inside a container, the widget under the point within it.
int TypeIn(VLChildList *list, int x, int y)
{
    int found = 0;
    ForEachChild(list, true, [&](int type, void *widget, const WidgetKind &kind) {
        VLSTRect box;
        if (!kind.visible || !kind.visible(widget) || !WindowBox(kind, widget, box))
            return true;
        if (type == TypeSpinEditBox)
            box = SpinEditBoxAccess::TextArea(*static_cast<VLSpinEditBox *>(widget));
        if (!InsideExcluding(box, x, y))
            return true;
        // A container under the point answers for what lies in it (itself where nothing does).
        const int inner = kind.shownChildren ? TypeIn(kind.shownChildren(widget), x, y) : 0;
        found = inner ? inner : type;
        return false;
    });
    return found;
}

} // namespace

bool WindowInternals::WindowHolds(VLWindow &window, int type, void *widget)
{
    return widget && ListHolds(window.children, type, widget);
}

void WindowInternals::ForgetFocusIfGone(VLWindow &window)
{
    if (window.focusedWidget && !WindowHolds(window, window.focusedType, window.focusedWidget)) {
        window.focusedType = 0;
        window.focusedWidget = nullptr;
    }
}

int WindowInternals::WidgetTypeAt(VLWindow &window, int x, int y)
{
    VLSTWindowEvent rectangle;
    if (!window.alive || !WindowRectangle(window, rectangle) || window.dropDownOpen ||
        GetActiveWindow() != window.handle)
        return 0;
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    const std::int64_t right = static_cast<std::int64_t>(rectangle.x) + rectangle.width;
    const std::int64_t bottom = static_cast<std::int64_t>(rectangle.y) + rectangle.height;
    if (pointer.x < rectangle.x || pointer.y < rectangle.y || pointer.x >= right || pointer.y >= bottom)
        return 0;
    return TypeIn(window.children, x, y);
}

void WindowInternals::RouteMouse(VLWindow &window, int code, int x, int y)
{
    // Callbacks run inside the walk: the window may be cleared, re-created or deleted, and the
    // widgets may leave it; nothing below touches what a callback could have ended.
    LifeGuard windowAlive(&window);
    window.BeginPaint();
    const int previousType = window.focusedType;
    void *const previousWidget = window.focusedWidget;

    // A move over an open drop-down list belongs to the list alone.
    if (DropDownHover(window, code, x, y)) {
        window.EndPaint();
        return;
    }
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
    if (windowAlive.Ended())
        return;

    // The widget that had the focus lets it go, if it is still there to do so.
    if ((code == 300 || code == 301) && previousWidget &&
        (previousType != window.focusedType || previousWidget != window.focusedWidget) &&
        WindowHolds(window, previousType, previousWidget)) {
        const WidgetKind *kind = KindOf(previousType);
        if (kind && kind->loseFocus)
            kind->loseFocus(previousWidget);
    }
    // The drop-down list opens or closes as the pass asked; committing may call back.
    if (!windowAlive.Ended())
        DropDownFinish(window, code, x, y);
    if (!windowAlive.Ended())
        window.EndPaint();
}

void WindowInternals::RouteWheel(VLWindow &window, int x, int y, int delta)
{
    LifeGuard windowAlive(&window);
    window.BeginPaint();
    OfferToChildren(window.children, true, [&](int, void *widget, const WidgetKind &kind) {
        return kind.wheel && kind.wheel(widget, x, y, delta);
    });
    if (!windowAlive.Ended())
        window.EndPaint();
}

void WindowInternals::RouteArrow(VLWindow &window, int key)
{
    LifeGuard windowAlive(&window);
    window.BeginPaint();
    ForEachChild(window.children, false, [&](int, void *widget, const WidgetKind &kind) {
        return !(kind.arrow && kind.arrow(widget, key));
    });
    if (!windowAlive.Ended())
        window.EndPaint();
}

void WindowInternals::ActivateFocused(VLWindow &window)
{
    LifeGuard windowAlive(&window);
    window.BeginPaint();
    const int focusedType = window.focusedType;
    ForEachChild(window.children, false, [&](int, void *widget, const WidgetKind &kind) {
        return !(kind.activate && kind.activate(widget, focusedType));
    });
    if (!windowAlive.Ended())
        window.EndPaint();
}

void WindowInternals::ClearAllFocus(VLWindow &window)
{
    window.AllFocusClear();
}

int WindowInternals::FocusStep(VLWindow *window, bool shown, int type, void *child, const WidgetKind &kind, int state)
{
    if (kind.focusNext)
        return kind.focusNext(child, state);
    if (window && shown && state == 1 && kind.eligible && kind.eligible(child) && kind.gainFocus) {
        // Named first, so that a callback that removes the widget takes it back too.
        SetFocusedWidget(*window, type, child);
        kind.gainFocus(child);
        return 2;
    }
    if (kind.hasFocus && kind.hasFocus(child)) {
        kind.loseFocus(child);
        return 1;
    }
    return state;
}

void WindowInternals::ClearFocusOf(void *child, const WidgetKind &kind)
{
    if (kind.clearFocus)
        kind.clearFocus(child);
    else if (kind.loseFocus)
        kind.loseFocus(child);
}

void VLWindow::AllFocusClear()
{
    if (!children)
        return;
    focusedType = 0;
    focusedWidget = nullptr;
    ForEachChild(children, false, [](int, void *widget, const WidgetKind &kind) {
        WindowInternals::ClearFocusOf(widget, kind);
        return true;
    });
}

void VLWindow::NextFocus()
{
    if (!children || children->Count() == 0)
        return;
    // A widget that takes the focus may call back (a check box does), and the callback may change
    // or end the window: the walk then stops where it is.
    LifeGuard windowAlive(this);
    BeginPaint();
    int state = 0;
    for (int pass = 0; pass < 2 && state != 2; ++pass) {
        if (pass == 1)
            state = 1; // wrap around: the first eligible widget takes the focus
        const bool whole = ForEachChild(children, false, [&](int type, void *widget, const WidgetKind &kind) {
            if (kind.focusNext) {
                state = kind.focusNext(widget, state);
            } else if (kind.gainFocus && state != 0 && kind.eligible && kind.eligible(widget)) {
                // The window names its focused widget first, so that a callback that removes
                // the widget also takes it back.
                focusedType = type;
                focusedWidget = widget;
                state = 2;
                kind.gainFocus(widget);
            } else if (kind.hasFocus && kind.hasFocus(widget)) {
                kind.loseFocus(widget);
                state = 1;
            } else if (state != 0 && kind.draw) {
                kind.draw(widget); // lies after the old focus but cannot take it
            }
            return state != 2;
        });
        if (!whole || windowAlive.Ended())
            break;
    }
    if (windowAlive.Ended())
        return;
    EndPaint();
    WindowInternals::CloseDropDown(*this);
}

void WindowInternals::FocusNext(VLWindow &window)
{
    window.NextFocus();
}

namespace {

// The match a hint search found: the widget's hint settings and the bottom edge to place it under.
// A list box's hint goes below the pointer instead, where it covers fewer of the rows.
bool ShowHintOf(VLToolHint &hint, const WidgetKind &kind, void *widget, const VLSTRect &box, int x, int y, int type)
{
    unsigned int foreground = 0, background = 0;
    int fontSize = 12;
    const char *text = kind.hint ? kind.hint(widget, foreground, background, fontSize) : nullptr;
    if (!text || !*text)
        return false;
    hint.SetText(text);
    hint.SetTextColour(foreground);
    hint.SetBackgroundColour(background);
    hint.SetFontSize(fontSize);
    const std::int64_t below = type == TypeListBox ? static_cast<std::int64_t>(y) + 20
                                                   : static_cast<std::int64_t>(box.y) + box.height + 2;
    hint.Move(x + 12, static_cast<int>(std::min<std::int64_t>(below, INT_MAX)));
    hint.Show(1);
    return true;
}

// At window level the entries are searched top-most first, and the right and bottom edges count
// as inside; within a container (searched instead of the container itself, at any depth) they go
// first to last with those edges outside.
bool ShowHintIn(VLToolHint &hint, VLChildList *list, int x, int y, bool windowLevel)
{
    bool shown = false;
    ForEachChild(list, windowLevel, [&](int type, void *widget, const WidgetKind &kind) {
        VLSTRect box;
        if (!kind.visible || !kind.visible(widget) || !WindowBox(kind, widget, box))
            return true;
        if (!(windowLevel ? InsideIncluding(box, x, y) : InsideExcluding(box, x, y)))
            return true;
        shown = kind.shownChildren ? ShowHintIn(hint, kind.shownChildren(widget), x, y, false)
                              : ShowHintOf(hint, kind, widget, box, x, y, type);
        return !shown;
    });
    return shown;
}

} // namespace

bool WindowInternals::ShowWidgetHint(VLWindow &window, int x, int y)
{
    return window.toolHint && ShowHintIn(*window.toolHint, window.children, x, y, true);
}
