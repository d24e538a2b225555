// VLScrollArea: a sunken frame around an interior of one colour. Its widgets are kept for focus
// navigation, arrow keys and focus clearing; the area neither places, draws nor routes the
// pointer to them.
#include "skeleton.h"

#include "../core/child_list.h"
#include "../core/child_walk.h"
#include "../draw/surface_access.h"

#include <algorithm>

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
    scrolling = 0;
    scrollX = scrollY = 0;
    pressedPart = 0;
    grab = 0;
    heldTicks = 0;
}

// Every widget in the area returns to its constructed state.
void VLScrollArea::Release()
{
    ClearAndFree(children);
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

// The widgets and bars of an area that scrolls (below).
static void DrawScrolled(VLScrollArea &area, HDC window);

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
    if (scrolling)
        DrawScrolled(*this, window);
    parentWindow->EndPaint();
}

void VLScrollArea::AddChild(int type, void *widget)
{
    const WidgetKind *kind = KindOf(type);
    if (!widget || !kind)
        return;
    if (!EnsureList(children))
        return;
    if (kind->setScrollArea)
        kind->setScrollArea(widget, this);
    children->Add(widget, type);
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}

void VLScrollArea::RemoveChild(int type, void *widget)
{
    RemovePair(children, type, widget);
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

namespace {

constexpr int Bar = 16;        // a scroll bar's thickness, and its buttons' length
constexpr int LineStep = 16;   // pixels per arrow click
constexpr int WheelLines = 3;  // lines per notch of the wheel
enum Part { None, VerticalUp, VerticalDown, VerticalTrack, VerticalThumb, HorizontalUp, HorizontalDown,
            HorizontalTrack, HorizontalThumb };

} // namespace

struct ScrollAreaRows {
    static VLScrollArea &Of(void *widget) { return *static_cast<VLScrollArea *>(widget); }

    // The view and the bars, in window coordinates (wide: bounds may be anything an int holds).
    struct Layout {
        long long viewX, viewY, viewW, viewH; // where the widgets show
        bool vertical, horizontal;            // which bars there are
        long long maxX, maxY;                 // the furthest scroll positions
    };
    static Layout LayoutOf(const VLScrollArea &a)
    {
        Layout l{};
        l.viewX = static_cast<long long>(a.windowX) + 1;
        l.viewY = static_cast<long long>(a.windowY) + 1;
        const long long w = std::max(0LL, static_cast<long long>(a.width) - 2),
                        h = std::max(0LL, static_cast<long long>(a.height) - 2);
        l.vertical = a.scrollHeight > h;
        l.horizontal = a.scrollWidth > w;
        if (l.vertical && !l.horizontal)
            l.horizontal = a.scrollWidth > w - Bar;
        if (l.horizontal && !l.vertical)
            l.vertical = a.scrollHeight > h - Bar;
        l.viewW = std::max(0LL, w - (l.vertical ? Bar : 0));
        l.viewH = std::max(0LL, h - (l.horizontal ? Bar : 0));
        l.maxX = std::max(0LL, a.scrollWidth - l.viewW);
        l.maxY = std::max(0LL, a.scrollHeight - l.viewH);
        return l;
    }

    // A bar's track and thumb along its length: start and length of each.
    struct Track {
        long long start, length, thumb, thumbLength;
    };
    static Track TrackOf(long long start, long long length, long long view, long long content, long long position,
                         long long furthest)
    {
        Track t{};
        t.start = start + Bar;
        t.length = std::max(0LL, length - 2 * Bar);
        t.thumbLength = content > 0 ? std::max(8LL, t.length * view / content) : t.length;
        t.thumbLength = std::min(t.thumbLength, t.length);
        t.thumb = t.start + (furthest > 0 ? (t.length - t.thumbLength) * position / furthest : 0);
        return t;
    }
    static Track VerticalBar(const VLScrollArea &a, const Layout &l)
    {
        return TrackOf(l.viewY, l.viewH, l.viewH, a.scrollHeight, a.scrollY, l.maxY);
    }
    static Track HorizontalBar(const VLScrollArea &a, const Layout &l)
    {
        return TrackOf(l.viewX, l.viewW, l.viewW, a.scrollWidth, a.scrollX, l.maxX);
    }

    // The bar part under a window point.
    static int PartAt(const VLScrollArea &a, const Layout &l, long long px, long long py)
    {
        if (l.vertical && px >= l.viewX + l.viewW && px < l.viewX + l.viewW + Bar && py >= l.viewY &&
            py < l.viewY + l.viewH)
            return PartOn(VerticalBar(a, l), py, VerticalUp, VerticalDown, VerticalTrack, VerticalThumb);
        if (l.horizontal && py >= l.viewY + l.viewH && py < l.viewY + l.viewH + Bar && px >= l.viewX &&
            px < l.viewX + l.viewW)
            return PartOn(HorizontalBar(a, l), px, HorizontalUp, HorizontalDown, HorizontalTrack, HorizontalThumb);
        return None;
    }
    // Which of one bar's parts lies at a point `along` its length.
    static int PartOn(const Track &t, long long along, int up, int down, int track, int thumb)
    {
        if (along < t.start)
            return up;
        if (along >= t.start + t.length)
            return down;
        return along >= t.thumb && along < t.thumb + t.thumbLength ? thumb : track;
    }

    // Draws the widgets clipped to the view, then the bars, into the window's context.
    static void DrawScrolled(VLScrollArea &a, HDC window)
    {
        const Layout l = LayoutOf(a);
        const int vl = Clamped(l.viewX), vt = Clamped(l.viewY), vr = Clamped(l.viewX + l.viewW),
                  vb = Clamped(l.viewY + l.viewH);
        {
            ClipScope clip(window, vl, vt, vr, vb);
            ForEachChild(a.children, false, [&](int type, void *child, const WidgetKind &kind) {
                if (kind.draw)
                    kind.draw(child);
                if (type == TypeGroup)
                    IntersectClipRect(window, vl, vt, vr, vb); // a group put back the clip of its start
                return true;
            });
        }
        SurfaceAccess::SetTarget(a, window);
        const unsigned int face = ContainerBackground(a.parentWindow, a.group), track = TwoThirds(face);
        auto fill = [&](long long l0, long long t0, long long r0, long long b0, unsigned int colour) {
            a.VLGraphics::SetForegroundColor(colour);
            a.DrawFillRect(Clamped(l0), Clamped(t0), Clamped(r0), Clamped(b0));
        };
        auto button = [&](long long x0, long long y0, bool pressed, int direction) {
            fill(x0, y0, x0 + Bar - 1, y0 + Bar - 1, pressed ? Darkened(face, 12) : face);
            a.VLGraphics::SetForegroundColor(0xFF000000u);
            a.DrawRect(Clamped(x0), Clamped(y0), Clamped(x0 + Bar - 1), Clamped(y0 + Bar - 1), 1);
            a.VLGraphics::SetForegroundColor(pressed ? Half(track) : 0xFFFFFFFFu);
            a.DrawLine(Clamped(x0 + 1), Clamped(y0 + 1), Clamped(x0 + Bar - 3), Clamped(y0 + 1), 1);
            a.DrawLine(Clamped(x0 + 1), Clamped(y0 + 1), Clamped(x0 + 1), Clamped(y0 + Bar - 3), 1);
            // A small triangle pointing up (0), down (1), left (2) or right (3).
            a.VLGraphics::SetForegroundColor(0xFF000000u);
            const long long cx = x0 + 7 + (pressed ? 1 : 0), cy = y0 + 7 + (pressed ? 1 : 0);
            for (int k = 0; k < 4; ++k) {
                const long long along = direction == 0 || direction == 2 ? k - 2 : 2 - k;
                if (direction < 2)
                    a.DrawLine(Clamped(cx - k), Clamped(cy + along), Clamped(cx + k), Clamped(cy + along), 1);
                else
                    a.DrawLine(Clamped(cx + along), Clamped(cy - k), Clamped(cx + along), Clamped(cy + k), 1);
            }
        };
        auto thumb = [&](long long x0, long long y0, long long x1, long long y1) {
            fill(x0, y0, x1, y1, face);
            a.VLGraphics::SetForegroundColor(0xFF000000u);
            a.DrawRect(Clamped(x0), Clamped(y0), Clamped(x1), Clamped(y1), 1);
            a.VLGraphics::SetForegroundColor(0xFFFFFFFFu);
            a.DrawLine(Clamped(x0 + 1), Clamped(y0 + 1), Clamped(x1 - 1), Clamped(y0 + 1), 1);
            a.DrawLine(Clamped(x0 + 1), Clamped(y0 + 1), Clamped(x0 + 1), Clamped(y1 - 1), 1);
        };
        const long long barX = l.viewX + l.viewW, barY = l.viewY + l.viewH;
        if (l.vertical) {
            const Track t = VerticalBar(a, l);
            fill(barX, l.viewY, barX + Bar - 1, barY - 1, track);
            button(barX, l.viewY, a.pressedPart == VerticalUp, 0);
            button(barX, barY - Bar, a.pressedPart == VerticalDown, 1);
            if (t.thumbLength > 0)
                thumb(barX, t.thumb, barX + Bar - 1, t.thumb + t.thumbLength - 1);
        }
        if (l.horizontal) {
            const Track t = HorizontalBar(a, l);
            fill(l.viewX, barY, barX - 1, barY + Bar - 1, track);
            button(l.viewX, barY, a.pressedPart == HorizontalUp, 2);
            button(barX - Bar, barY, a.pressedPart == HorizontalDown, 3);
            if (t.thumbLength > 0)
                thumb(t.thumb, barY, t.thumb + t.thumbLength - 1, barY + Bar - 1);
        }
        if (l.vertical && l.horizontal)
            fill(barX, barY, barX + Bar - 1, barY + Bar - 1, face);
        SurfaceAccess::SetTarget(a, nullptr);
    }

    // Moves the view; the widgets are placed again and the area redrawn when it moved.
    static void ScrollTo(VLScrollArea &a, long long toX, long long toY)
    {
        const Layout l = LayoutOf(a);
        const int x = static_cast<int>(std::clamp(toX, 0LL, l.maxX)), y = static_cast<int>(std::clamp(toY, 0LL, l.maxY));
        if (x == a.scrollX && y == a.scrollY)
            return;
        a.scrollX = x;
        a.scrollY = y;
        if (a.parentWindow) {
            WindowInternals::PlaceChildren(*a.parentWindow);
            a.Repaint();
        }
    }

    // The widgets of a scrolling area lie at the view's corner less the scroll position; those
    // of an area that does not scroll are kept, not placed.
    static void Place(void *widget, VLWindow *window, int originX, int originY)
    {
        VLScrollArea &a = Of(widget);
        WidgetAccess::Place<VLScrollArea>(widget, window, originX, originY);
        if (!a.scrolling)
            return;
        const int left = Clamped(static_cast<long long>(a.windowX) + 1 - a.scrollX),
                  top = Clamped(static_cast<long long>(a.windowY) + 1 - a.scrollY);
        ForEachChild(a.children, false, [&](int, void *child, const WidgetKind &kind) {
            if (kind.place)
                kind.place(child, window, left, top);
            return true;
        });
    }

    static bool InView(const VLScrollArea &a, int px, int py)
    {
        const Layout l = LayoutOf(a);
        return px >= l.viewX && px < l.viewX + l.viewW && py >= l.viewY && py < l.viewY + l.viewH;
    }

    // The bars first; then the widgets, as a group's are, for presses in the view only.
    static void Mouse(void *widget, int code, int px, int py)
    {
        VLScrollArea &a = Of(widget);
        if (!a.scrolling || !a.visible || !a.parentWindow || WindowInternals::DropDownOpen(*a.parentWindow))
            return;
        const Layout l = LayoutOf(a);
        if (code == 301 && a.pressedPart) {
            a.pressedPart = 0;
            a.Repaint();
            return;
        }
        if (code == 302 && (a.pressedPart == VerticalThumb || a.pressedPart == HorizontalThumb)) {
            const bool vertical = a.pressedPart == VerticalThumb;
            const Track t = vertical ? VerticalBar(a, l) : HorizontalBar(a, l);
            const long long room = t.length - t.thumbLength, furthest = vertical ? l.maxY : l.maxX;
            const long long at = (vertical ? py : px) - a.grab - t.start;
            const long long position = room > 0 ? at * furthest / room : 0;
            ScrollTo(a, vertical ? a.scrollX : position, vertical ? position : a.scrollY);
            return;
        }
        const int part = code == 300 ? PartAt(a, l, px, py) : None;
        if (part != None) {
            const Track v = VerticalBar(a, l), h = HorizontalBar(a, l);
            a.pressedPart = part;
            a.heldTicks = 0;
            switch (part) {
            case VerticalUp: ScrollTo(a, a.scrollX, a.scrollY - LineStep); break;
            case VerticalDown: ScrollTo(a, a.scrollX, a.scrollY + LineStep); break;
            case HorizontalUp: ScrollTo(a, a.scrollX - LineStep, a.scrollY); break;
            case HorizontalDown: ScrollTo(a, a.scrollX + LineStep, a.scrollY); break;
            case VerticalTrack: ScrollTo(a, a.scrollX, a.scrollY + (py < v.thumb ? -l.viewH : l.viewH)); break;
            case HorizontalTrack: ScrollTo(a, a.scrollX + (px < h.thumb ? -l.viewW : l.viewW), a.scrollY); break;
            case VerticalThumb: a.grab = static_cast<int>(py - v.thumb); break;
            default: a.grab = static_cast<int>(px - h.thumb); break;
            }
            a.Repaint();
            return;
        }
        if (code == 300 && !InView(a, px, py))
            return;
        // Every widget sees the event, top-most first, with a group's rules.
        LifeGuard alive(&a);
        ForEachChild(a.children, true, [&](int, void *child, const WidgetKind &kind) {
            if (kind.mouseInGroup)
                kind.mouseInGroup(child, code, px, py);
            return !alive.Ended();
        });
    }
    static bool PressHits(void *widget, int px, int py)
    {
        VLScrollArea &a = Of(widget);
        if (!a.scrolling || !a.visible)
            return false;
        const Layout l = LayoutOf(a);
        if (PartAt(a, l, px, py) != None)
            return true;
        if (!InView(a, px, py))
            return false;
        return OfferToChildren(a.children, false, [&](int, void *child, const WidgetKind &kind) {
            return kind.pressHits && kind.pressHits(child, px, py);
        });
    }
    // A held arrow button steps again on every tick from the fifth, while the pointer stays on it.
    static void Held(void *widget, int px, int py)
    {
        VLScrollArea &a = Of(widget);
        if (!a.scrolling || !a.visible || !a.parentWindow || a.pressedPart == None)
            return;
        if (++a.heldTicks <= 4)
            return;
        const Layout l = LayoutOf(a);
        if (PartAt(a, l, px, py) != a.pressedPart)
            return;
        switch (a.pressedPart) {
        case VerticalUp: ScrollTo(a, a.scrollX, a.scrollY - LineStep); break;
        case VerticalDown: ScrollTo(a, a.scrollX, a.scrollY + LineStep); break;
        case HorizontalUp: ScrollTo(a, a.scrollX - LineStep, a.scrollY); break;
        case HorizontalDown: ScrollTo(a, a.scrollX + LineStep, a.scrollY); break;
        default: break;
        }
    }
    // Three lines a notch, over the area.
    static bool Wheel(void *widget, int px, int py, int delta)
    {
        VLScrollArea &a = Of(widget);
        if (!a.scrolling || !a.visible || !a.parentWindow ||
            !InsideExcluding(VLSTRect{a.windowX, a.windowY, a.width, a.height}, px, py))
            return false;
        const long long lines = static_cast<long long>(delta) * WheelLines / 120;
        ScrollTo(a, a.scrollX, a.scrollY - lines * LineStep);
        return true;
    }
    // Brings a direct child (the one holding the focus, or the one it lies in) into view.
    static void Reveal(VLScrollArea &a, void *child, const WidgetKind &kind)
    {
        if (!a.scrolling || !kind.bounds)
            return;
        VLSTRect box;
        kind.bounds(child, box);
        const Layout l = LayoutOf(a);
        long long x = a.scrollX, y = a.scrollY;
        if (box.x + static_cast<long long>(box.width) > x + l.viewW)
            x = box.x + static_cast<long long>(box.width) - l.viewW;
        if (box.x < x)
            x = box.x;
        if (box.y + static_cast<long long>(box.height) > y + l.viewH)
            y = box.y + static_cast<long long>(box.height) - l.viewH;
        if (box.y < y)
            y = box.y;
        ScrollTo(a, x, y);
    }

    // Focus navigation over the kept widgets, as a group's.
    static int FocusNext(void *widget, int state)
    {
        VLScrollArea &a = Of(widget);
        const bool shown = a.parentWindow && a.visible;
        LifeGuard alive(&a);
        ForEachChild(a.children, false, [&](int type, void *child, const WidgetKind &kind) {
            state = WindowInternals::FocusStep(a.parentWindow, shown, type, child, kind, state);
            // The widget that took the focus comes into view, unless its callback ended the area.
            if (state == 2 && !alive.Ended())
                Reveal(a, child, kind);
            return state != 2;
        });
        return state;
    }
    static void ClearFocus(void *widget)
    {
        ForEachChild(Of(widget).children, false, [](int, void *child, const WidgetKind &kind) {
            WindowInternals::ClearFocusOf(child, kind);
            return true;
        });
    }
    static bool Arrow(void *widget, int key)
    {
        return OfferToChildren(Of(widget).children, false, [&](int, void *child, const WidgetKind &kind) {
            return kind.arrow && kind.arrow(child, key);
        });
    }
    static VLChildList *Children(void *widget) { return Of(widget).children; }
    // Enter or space for a focused widget in the area, as a group's.
    static bool Activate(void *widget, int focusedType)
    {
        VLScrollArea &a = Of(widget);
        if (!a.scrolling || !a.visible)
            return false;
        return OfferToChildren(a.children, false, [&](int, void *child, const WidgetKind &kind) {
            return kind.activate && kind.activate(child, focusedType);
        });
    }
    static VLChildList *ShownChildren(void *widget)
    {
        VLScrollArea &a = Of(widget);
        return a.scrolling ? a.children : nullptr;
    }
};

static void DrawScrolled(VLScrollArea &area, HDC window)
{
    ScrollAreaRows::DrawScrolled(area, window);
}

void VLScrollArea::SetScrolling(int on)
{
    scrolling = on ? 1 : 0;
    pressedPart = 0;
    if (!scrolling) {
        // Kept again, not placed: the widgets leave the window's drawing and routing.
        ForEachChild(children, false, [](int, void *child, const WidgetKind &kind) {
            if (kind.place)
                kind.place(child, nullptr, 0, 0);
            return true;
        });
    }
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}
int VLScrollArea::IsScrolling() { return scrolling; }
void VLScrollArea::SetScrollPosition(int toX, int toY) { ScrollAreaRows::ScrollTo(*this, toX, toY); }
void VLScrollArea::GetScrollPosition(VLSTPosition *position)
{
    if (position)
        *position = VLSTPosition{scrollX, scrollY};
}

bool ScrollAreaShowing(VLScrollArea *area)
{
    return area && area->IsScrolling() && area->IsVisible() && area->GetParentWindow();
}

bool ScrollAreaView(VLScrollArea *area, RECT &view)
{
    if (!ScrollAreaShowing(area))
        return false;
    const ScrollAreaRows::Layout l = ScrollAreaRows::LayoutOf(*area);
    view = RECT{Clamped(l.viewX), Clamped(l.viewY), Clamped(l.viewX + l.viewW), Clamped(l.viewY + l.viewH)};
    return true;
}

extern const WidgetKind ScrollAreaKind = [] {
    WidgetKind kind;
    kind.place = ScrollAreaRows::Place;
    kind.draw = WidgetAccess::DrawWidget<VLScrollArea>;
    kind.clear = WidgetAccess::ClearWidget<VLScrollArea>;
    kind.bounds = WidgetAccess::Bounds<VLScrollArea>;
    kind.visible = WidgetAccess::Visible<VLScrollArea>;
    kind.windowPosition = WidgetAccess::WindowPosition<VLScrollArea>;
    kind.focusNext = ScrollAreaRows::FocusNext;
    kind.clearFocus = ScrollAreaRows::ClearFocus;
    kind.arrow = ScrollAreaRows::Arrow;
    kind.children = ScrollAreaRows::Children;
    kind.shownChildren = ScrollAreaRows::ShownChildren;
    kind.mouse = ScrollAreaRows::Mouse;
    kind.pressHits = ScrollAreaRows::PressHits;
    kind.wheel = ScrollAreaRows::Wheel;
    kind.held = ScrollAreaRows::Held;
    kind.activate = ScrollAreaRows::Activate;
    return kind; // unless it scrolls, the area and its widgets take neither pointer nor hints
}();
