// VLScrollArea: a sunken frame around an interior of one colour. Its widgets are kept for focus
// navigation, arrow keys and focus clearing; the area neither places, draws nor routes the
// pointer to them.
#include "skeleton.h"

#include "../core/child_list.h"
#include "../core/child_walk.h"
#include "../draw/surface_access.h"

void VLScrollArea::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    x = y = width = height = 0;
    scrollWidth = scrollHeight = 0;
    backgroundColour = 0xFFFFFFFFu;
    backMode = 0;
    visible = 1;
    mode = 3;
    children = nullptr;
    offscreen = nullptr;
    drawingContext = nullptr;
}

// Every widget in the area returns to its constructed state.
void VLScrollArea::Release()
{
    ForEachChild(children, false, [](int, void *child, const WidgetKind &kind) {
        if (kind.clear)
            kind.clear(child);
        return true;
    });
    VLChildList *list = children;
    children = nullptr;
    delete list;
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
}

VORLA_WIDGET_LIFETIME(VLScrollArea)
VORLA_WIDGET_BOUNDS(VLScrollArea, false)

void VLScrollArea::SetScrollSize(int w, int h)
{
    scrollWidth = w;
    scrollHeight = h;
}
void VLScrollArea::GetScrollSize(VLSTSize *size)
{
    if (size)
        *size = VLSTSize{scrollWidth, scrollHeight};
}
void VLScrollArea::SetMode(int value) { mode = value; }
int VLScrollArea::GetMode() { return mode; }
void VLScrollArea::SetBackMode(int value) { backMode = value; }
int VLScrollArea::GetBackMode() { return backMode; }
void VLScrollArea::SetBackgroundColor(unsigned long colour) { backgroundColour = static_cast<unsigned int>(colour); }
unsigned long VLScrollArea::GetBackgroundColor() { return backgroundColour; }

void VLScrollArea::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    parentWindow->BeginPaint();
    HDC window = WindowInternals::Context(*parentWindow);
    if (!window) {
        parentWindow->EndPaint();
        return;
    }
    // The frame reaches a pixel outside the bounds on every side.
    const int L = windowX, T = windowY, R = Edge(L, width), B = Edge(T, height);
    SurfaceAccess::SetTarget(*this, window);
    auto line = [&](int x1, int y1, int x2, int y2, unsigned int colour) {
        VLGraphics::SetForegroundColor(colour);
        DrawLine(x1, y1, x2, y2, 1);
    };
    VLGraphics::SetForegroundColor(0xFF000000u);
    DrawRect(L, T, R, B, 1);
    line(L - 1, B + 1, R + 1, B + 1, 0xFFFFFFFFu);
    line(R + 1, T - 1, R + 1, B + 1, 0xFFFFFFFFu);
    line(L - 1, T - 1, R + 1, T - 1, 0xFF505050u);
    line(L - 1, T - 1, L - 1, B + 1, 0xFF505050u);
    SurfaceAccess::SetTarget(*this, nullptr);

    HDC memory = offscreen ? CreateCompatibleDC(window) : nullptr;
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, offscreen);
        drawingContext = memory;
        SurfaceAccess::SetTarget(*this, memory);
        VLGraphics::SetForegroundColor(backgroundColour);
        DrawFillRect(1, 1, width - 1, height - 1); // a picture exists, so the size is small
        BitBlt(window, L + 1, T + 1, width - 2, height - 2, memory, 1, 1, SRCCOPY);
        SurfaceAccess::SetTarget(*this, nullptr);
        drawingContext = nullptr;
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    parentWindow->EndPaint();
}

void VLScrollArea::AddChild(int type, void *widget)
{
    const WidgetKind *kind = KindOf(type);
    if (!widget || !kind)
        return;
    if (!children) {
        children = new (std::nothrow) VLChildList;
        if (!children)
            return;
    }
    if (kind->setScrollArea)
        kind->setScrollArea(widget, this);
    children->Add(widget, type);
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}

void VLScrollArea::RemoveChild(int type, void *widget)
{
    if (children) {
        const int index = children->Find(widget, type);
        if (index >= 0)
            children->RemoveAt(index);
    }
    if (parentWindow) {
        WindowInternals::PlaceChildren(*parentWindow);
        WindowInternals::ForgetFocusIfGone(*parentWindow);
    }
}

#define VORLA_SCROLL_AREA_CHILD(Class, type)                                                        \
    void VLScrollArea::Add(Class *widget) { AddChild(type, widget); }                               \
    void VLScrollArea::RemoveAt(Class *widget) { RemoveChild(type, widget); }
VORLA_SCROLL_AREA_CHILD(VLLabel, TypeLabel)
VORLA_SCROLL_AREA_CHILD(VLPushButton, TypePushButton)
VORLA_SCROLL_AREA_CHILD(VLEditBox, TypeEditBox)
VORLA_SCROLL_AREA_CHILD(VLGroup, TypeGroup)
VORLA_SCROLL_AREA_CHILD(VLProgressBar, TypeProgressBar)
VORLA_SCROLL_AREA_CHILD(VLCheckBox, TypeCheckBox)
VORLA_SCROLL_AREA_CHILD(VLSlider, TypeSlider)
VORLA_SCROLL_AREA_CHILD(VLTab, TypeTab)
VORLA_SCROLL_AREA_CHILD(VLComboBox, TypeComboBox)
VORLA_SCROLL_AREA_CHILD(VLSpin, TypeSpin)
VORLA_SCROLL_AREA_CHILD(VLSpinEditBox, TypeSpinEditBox)
VORLA_SCROLL_AREA_CHILD(VLImage, TypeImage)
VORLA_SCROLL_AREA_CHILD(VLColor, TypeColor)
VORLA_SCROLL_AREA_CHILD(VLButton, TypeButton)
VORLA_SCROLL_AREA_CHILD(VLListBox, TypeListBox)
#undef VORLA_SCROLL_AREA_CHILD

struct ScrollAreaRows {
    static VLScrollArea &Of(void *widget) { return *static_cast<VLScrollArea *>(widget); }

    // Focus navigation over the kept widgets, as a group's.
    static int FocusNext(void *widget, int state)
    {
        VLScrollArea &a = Of(widget);
        const bool shown = a.parentWindow && a.visible;
        ForEachChild(a.children, false, [&](int type, void *child, const WidgetKind &kind) {
            if (kind.focusNext) {
                state = kind.focusNext(child, state);
            } else if (shown && state == 1 && kind.eligible && kind.eligible(child) && kind.gainFocus) {
                // Named first, so that a callback that removes the widget takes it back too.
                WindowInternals::SetFocusedWidget(*a.parentWindow, type, child);
                state = 2;
                kind.gainFocus(child);
            } else if (kind.hasFocus && kind.hasFocus(child)) {
                kind.loseFocus(child);
                state = 1;
            }
            return state != 2;
        });
        return state;
    }
    static void ClearFocus(void *widget)
    {
        ForEachChild(Of(widget).children, false, [](int, void *child, const WidgetKind &kind) {
            if (kind.clearFocus)
                kind.clearFocus(child);
            else if (kind.loseFocus)
                kind.loseFocus(child);
            return true;
        });
    }
    static bool Arrow(void *widget, int key)
    {
        bool handled = false;
        ForEachChild(Of(widget).children, false, [&](int, void *child, const WidgetKind &kind) {
            handled = kind.arrow && kind.arrow(child, key);
            return !handled;
        });
        return handled;
    }
    static VLChildList *Children(void *widget) { return Of(widget).children; }
};

extern const WidgetKind ScrollAreaKind = [] {
    WidgetKind kind;
    kind.place = WidgetAccess::Place<VLScrollArea>; // its widgets are not placed
    kind.draw = WidgetAccess::DrawWidget<VLScrollArea>;
    kind.clear = WidgetAccess::ClearWidget<VLScrollArea>;
    kind.bounds = WidgetAccess::Bounds<VLScrollArea>;
    kind.visible = WidgetAccess::Visible<VLScrollArea>;
    kind.windowPosition = WidgetAccess::WindowPosition<VLScrollArea>;
    kind.focusNext = ScrollAreaRows::FocusNext;
    kind.clearFocus = ScrollAreaRows::ClearFocus;
    kind.arrow = ScrollAreaRows::Arrow;
    kind.children = ScrollAreaRows::Children;
    return kind; // no pointer, no hints: the area and its widgets take neither
}();
