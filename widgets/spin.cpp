// VLSpin: two stacked raised halves with arrows, drawn straight into the window; a half sinks
// while pressed and reports a release over the spin.
#include "spin_access.h"

#include "skeleton.h"

#include "../draw/surface_access.h"

#include <algorithm>
#include <cstdlib>

void VLSpin::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    backgroundColour = NoColour;
    foregroundColour = 0xFF000000u;
    visible = 1;
    enabled = 1;
    focused = 0;
    state = 0;
    x = y = width = height = 0;
    upCallback = nullptr;
    downCallback = nullptr;
    ownerUp = nullptr;
    ownerDown = nullptr;
    owner = nullptr;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
}

void VLSpin::Release()
{
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLSpin)
VORLA_WIDGET_BOUNDS(VLSpin, true)
VORLA_WIDGET_COLOURS(VLSpin)
VORLA_WIDGET_HINT(VLSpin)

void VLSpin::SetEnable(int value) { enabled = value; }
int VLSpin::IsEnable() { return enabled; }
int VLSpin::AttachUpSelectEvent(SpinCallback callback) { return AttachCallback(upCallback, callback); }
int VLSpin::AttachDownSelectEvent(SpinCallback callback) { return AttachCallback(downCallback, callback); }
void VLSpin::DetachUpSelectEvent() { upCallback = nullptr; }
void VLSpin::DetachDownSelectEvent() { downCallback = nullptr; }

int SpinAccess::SetOwnerUp(VLSpin &s, VLSpinEditBox *owner, void (*step)(VLSpinEditBox *))
{
    if (!AttachCallback(s.ownerUp, step))
        return 0;
    s.owner = owner;
    return 1;
}

int SpinAccess::SetOwnerDown(VLSpin &s, VLSpinEditBox *owner, void (*step)(VLSpinEditBox *))
{
    if (!AttachCallback(s.ownerDown, step))
        return 0;
    s.owner = owner;
    return 1;
}

namespace {

// A filled triangle drawn row by row: apex (ax, ay), base row by from bl to br. Each row reaches
// (k + 1) * step to either side, so the first row is already as wide as one step. Only the rows
// the context can show are drawn, so a spin far taller than any surface costs no more than one
// that fits.
void Arrow(VLGraphics &g, HDC context, int ax, int ay, int by, int bl, int br)
{
    const int half = (br - bl) >> 1;
    const int n = std::abs(by - ay);
    if (n == 0)
        return;
    const double step = static_cast<double>(half) / n;
    const int direction = by < ay ? -1 : 1;
    int first = 0, last = n;
    RECT visible;
    if (GetClipBox(context, &visible) != ERROR) {
        // Rows ay + direction * k inside [visible.top, visible.bottom).
        const long long a = direction > 0 ? visible.top - static_cast<long long>(ay)
                                          : static_cast<long long>(ay) - (visible.bottom - 1);
        const long long b = direction > 0 ? visible.bottom - 1 - static_cast<long long>(ay)
                                          : static_cast<long long>(ay) - visible.top;
        first = static_cast<int>(std::max<long long>(first, a));
        last = static_cast<int>(std::min<long long>(last, b));
    }
    for (int k = first; k <= last; ++k) {
        const int reach = static_cast<int>((k + 1) * step);
        const int row = ay + direction * k;
        g.DrawLine(ax - reach, row, ax + reach, row, 1);
    }
}

} // namespace

void VLSpin::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    const unsigned int container = ContainerBackground(parentWindow, group, WidgetAccess::AreaOf(this));
    if (backgroundColour == NoColour)
        backgroundColour = container;
    parentWindow->BeginPaint();
    HDC context = WindowInternals::Context(*parentWindow);
    if (!context) {
        parentWindow->EndPaint();
        return;
    }
    SurfaceAccess::SetTarget(*this, context);

    const int L = windowX, T = windowY, R = Edge(L, width), B = Edge(T, height), M = (T + B) >> 1;
    const int AX = Clamped(static_cast<long long>(L) + 5 + ((static_cast<long long>(width) - 10) >> 1));
    const unsigned int face = enabled ? backgroundColour : container;
    const unsigned int activeFace = Darkened(backgroundColour, 12);
    const unsigned int raisedOuter = enabled ? TwoThirds(container) : ThreeQuarters(container);
    const unsigned int pressedOuter = enabled ? Half(TwoThirds(container)) : Half(container);
    const unsigned int inner = enabled ? 0xFF000000u : Half(container);
    const unsigned int arrow = enabled ? static_cast<unsigned int>(foregroundColour) : ThreeQuarters(container);
    const unsigned int white = 0xFFFFFFFFu;

    auto fill = [&](int l, int t, int r, int b, unsigned int c) {
        VLGraphics::SetForegroundColor(c);
        DrawFillRect(l, t, r, b);
    };
    auto frame = [&](int l, int t, int r, int b, unsigned int c) {
        VLGraphics::SetForegroundColor(c);
        DrawRect(l, t, r, b, 1);
    };
    auto line = [&](int x1, int y1, int x2, int y2, unsigned int c) {
        VLGraphics::SetForegroundColor(c);
        DrawLine(x1, y1, x2, y2, 1);
    };
    // One half: its face rows, its outer frame's rows, whether it is pressed or hot, and its
    // arrow's apex and base row when raised (pressed, the arrow sits a pixel lower and to the
    // right, and a pixel wider on the right).
    auto half = [&](int top, int bottom, int frameTop, int frameBottom, bool pressed, bool hot, int apexY, int baseY) {
        const int l = L + 2, r = R - 2;
        fill(l, top, r, bottom, pressed || hot ? activeFace : face);
        frame(L, frameTop, R, frameBottom, pressed ? pressedOuter : raisedOuter);
        line(l, top, l, bottom, pressed ? raisedOuter : white);
        line(l, top, r, top, pressed ? raisedOuter : white);
        line(l, bottom, r, bottom, pressed ? inner : pressedOuter);
        line(r, top, r, bottom, pressed ? inner : pressedOuter);
        VLGraphics::SetForegroundColor(arrow);
        if (pressed)
            Arrow(*this, context, AX + 1, apexY + 1, baseY + 1, L + 6, R - 4);
        else
            Arrow(*this, context, AX, apexY, baseY, L + 5, R - 5);
    };
    half(T + 2, M - 1, T, M + 1, state == 128, state == 64, T + 2, M - 3);
    half(M + 1, B - 2, M - 1, B, state == 8, state == 4, 2 * M - T - 3, M + 2);

    frame(L + 1, T + 1, R - 1, B - 1, inner);
    line(L + 1, M, R - 1, M, inner);
    if (focused && enabled)
        frame(L, T, R, B, 0xFF0000FFu);

    SurfaceAccess::SetTarget(*this, nullptr);
    parentWindow->EndPaint();
}

struct SpinInput {
    static VLSpin &Of(void *widget) { return *static_cast<VLSpin *>(widget); }

    // Returns 1 when the spin took the event as pressed or unchanged under the pointer, 0 when it
    // went back to its hot or normal look, -1 when the event was not its own.
    static int Mouse(VLSpin &s, int code, int px, int py, bool inGroup)
    {
        if (!s.enabled || !s.visible || !s.parentWindow || WindowInternals::DropDownOpen(*s.parentWindow))
            return -1;
        if (!InsideExcluding(SpinAccess::WindowArea(s), px, py)) {
            if (code == 300 || s.state == 0)
                return -1;
            s.state = 0; // leaving cancels a press: a release out here fires nothing
            WidgetAccess::Redraw(s, inGroup);
            return 0;
        }
        const bool upper = SpinAccess::UpperHalf(s, py);
        if (code == 300) {
            s.focused = 1;
            WindowInternals::SetFocusedWidget(*s.parentWindow, TypeSpin, &s);
            s.state = upper ? 128 : 8;
            WidgetAccess::Redraw(s, inGroup);
        } else if (code == 301) {
            const int was = s.state;
            s.state = 0;
            WidgetAccess::Redraw(s, inGroup);
            VLSpin::SpinCallback callback = was == 128 ? s.upCallback : was == 8 ? s.downCallback : nullptr;
            if (callback) {
                if (!inGroup && s.parentWindow)
                    WindowInternals::HideHint(*s.parentWindow);
                LifeGuard alive(&s);
                callback(&s);
                if (alive.Ended() || !s.parentWindow)
                    return -1;
            }
        }
        // A pressed half stays pressed wherever the pointer goes inside the spin.
        const int hot = upper ? 64 : 4;
        if (s.state == 128 || s.state == 8 || s.state == hot)
            return 1;
        s.state = hot;
        WidgetAccess::Redraw(s, inGroup);
        return 0;
    }

    static bool PressHits(void *widget, int px, int py)
    {
        VLSpin &s = Of(widget);
        return s.enabled && s.visible && InsideExcluding(SpinAccess::WindowArea(s), px, py);
    }
    static bool HasFocus(void *widget) { return Of(widget).focused != 0; }
    static bool Eligible(void *widget) { return Of(widget).enabled && Of(widget).visible; }
    static void GainFocus(void *widget)
    {
        Of(widget).focused = 1;
        Of(widget).Repaint();
    }
    static void LoseFocus(void *widget)
    {
        VLSpin &s = Of(widget);
        if (!s.focused)
            return;
        s.focused = 0;
        s.Repaint();
    }
};

extern const WidgetKind SpinKind = [] {
    WidgetKind kind = SkeletonKind<VLSpin>();
    kind.mouse = WindowMouseOf<VLSpin, SpinInput>;
    kind.mouseInGroup = GroupMouseOf<VLSpin, SpinInput>;
    kind.pressHits = SpinInput::PressHits;
    kind.hasFocus = SpinInput::HasFocus;
    kind.eligible = SpinInput::Eligible;
    kind.gainFocus = SpinInput::GainFocus;
    kind.loseFocus = SpinInput::LoseFocus;
    return kind; // the spin takes no keys
}();
