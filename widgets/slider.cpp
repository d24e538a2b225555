// VLSlider: a sunken track and a pentagonal thumb, composed in an offscreen picture and copied to
// the window; the window and groups route the mouse and the focus to it.
#include "skeleton.h"

#include "../draw/surface_access.h"

#include <new>

void VLSlider::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    trackColour = NoColour;
    faceColour = NoColour;
    visible = 1;
    minimum = 0;
    maximum = 100;
    position = 0;
    ruler = 0;
    hot = 0;
    dragging = 0;
    smallThumb = 0;
    focused = 0;
    enabled = 1;
    x = y = width = height = 0;
    offscreen = nullptr;
    focusCallback = nullptr;
    changeCallback = nullptr;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
}

void VLSlider::Release()
{
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLSlider)

VLSlider::VLSlider(int withRuler, int size) : VLSlider()
{
    SetRuler(withRuler);
    SetSliderSize(size);
}

VORLA_WIDGET_BOUNDS(VLSlider, false)
VORLA_WIDGET_HINT(VLSlider)

void VLSlider::SetEnable(int value) { enabled = value; }
int VLSlider::IsEnable() { return enabled; }
void VLSlider::SetRuler(int value) { ruler = value; }
int VLSlider::IsRuler() { return ruler; }
void VLSlider::SetSliderSize(int value) { smallThumb = value; }
int VLSlider::GetSliderSize() { return smallThumb; }

VORLA_WIDGET_RANGE(VLSlider)

void VLSlider::SetPosition(int value)
{
    const int clamped = value < minimum ? minimum : value > maximum ? maximum : value;
    if (clamped == position)
        return;
    position = clamped;
    if (changeCallback)
        changeCallback(this);
}

int VLSlider::GetPosition() { return position; }

int VLSlider::AttachChangeEvent(SliderCallback callback) { return AttachCallback(changeCallback, callback); }
int VLSlider::AttachFocusEvent(SliderCallback callback) { return AttachCallback(focusCallback, callback); }
void VLSlider::DetachChangeEvent() { changeCallback = nullptr; }
void VLSlider::DetachFocusEvent() { focusCallback = nullptr; }

namespace {

// The thumb's centre relative to the slider's left edge, kept off both ends of the track. The
// range and position may be anything an int holds, so the arithmetic is wide.
long long ThumbCentre(int position, int minimum, int maximum, int width)
{
    const long long range = static_cast<long long>(maximum) - minimum;
    long long centre = (static_cast<long long>(position) - minimum) * (static_cast<long long>(width) - 12) / range + 6;
    if (centre > static_cast<long long>(width) - 7)
        centre = static_cast<long long>(width) - 7;
    if (centre < 7)
        centre = 7;
    return centre;
}

} // namespace

void VLSlider::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    const unsigned int container = ContainerBackground(parentWindow, group, WidgetAccess::AreaOf(this));
    // Left unset, the colours follow the container at the first drawing and then stay.
    if (faceColour == NoColour)
        faceColour = container;
    if (trackColour == NoColour)
        trackColour = TwoThirds(faceColour);

    parentWindow->BeginPaint();
    HDC window = WindowInternals::Context(*parentWindow);
    HDC memory = window && offscreen ? CreateCompatibleDC(window) : nullptr;
    if (!memory) {
        parentWindow->EndPaint();
        return;
    }
    HGDIOBJ previous = SelectObject(memory, offscreen);
    SurfaceAccess::SetTarget(*this, memory);

    const unsigned int face = enabled ? faceColour : container;
    const unsigned int hotFace = enabled ? Darkened(faceColour, 12) : container;
    const unsigned int dark = enabled ? 0xFF000000u : Half(container);
    const unsigned int mid = enabled ? 0xFF808080u : ThreeQuarters(container);
    const unsigned int track = enabled ? trackColour : container;
    const unsigned int white = 0xFFFFFFFFu;
    const int w = width, h = height; // a picture exists, so both are small enough to add to

    VLGraphics::SetForegroundColor(container);
    DrawFillRect(0, 0, w + 1, h + 1);

    const int y0 = (h - 4) >> 1, y1 = y0 + (smallThumb ? 2 : 4);
    VLGraphics::SetForegroundColor(track);
    DrawFillRect(6, y0, w - 6, y1);
    VLGraphics::SetForegroundColor(dark);
    DrawLine(6, y0, w - 6, y0, 1);
    DrawLine(6, y0, 6, y1, 1);
    VLGraphics::SetForegroundColor(white);
    DrawLine(w - 6, y0, w - 6, y1, 1);
    DrawLine(6, y1, w - 6, y1, 1);

    if (static_cast<long long>(maximum) - minimum >= 1) {
        const int c = static_cast<int>(ThumbCentre(position, minimum, maximum, w));
        // Half the thumb's width, how far its sides reach down, and its point.
        const int half = smallThumb ? 4 : 6, top = smallThumb ? y0 - 5 : y0 - 8, side = smallThumb ? y0 + 4 : y0 + 8,
                  tip = smallThumb ? y0 + 8 : y0 + 14;
        VLSTPosition outline[5] = {{c - half, top}, {c - half, side}, {c, tip}, {c + half, side}, {c + half, top}};
        VLGraphics::SetForegroundColor(hot ? hotFace : face);
        DrawFillPolygon(outline, 5);
        VLGraphics::SetForegroundColor(white);
        DrawLine(c - half, top, c + half - 1, top, 1);
        DrawLine(c - half, top, c - half, side, 1);
        VLGraphics::SetForegroundColor(mid);
        DrawLine(c - half, side, c, tip, 1);
        DrawLine(c + half - 1, top, c + half - 1, side - 1, 1);
        DrawLine(c + half - 1, side, c, tip - 1, 1);
        VLGraphics::SetForegroundColor(dark);
        DrawLine(c, tip, c + half, side, 1);
        DrawLine(c + half, side, c + half, top, 1);

        if (ruler) {
            // Eleven ticks under the thumb's reach, the middle one six pixels longer; each dark
            // tick has a white one beside it, a pixel right and lower.
            const int start = smallThumb ? 21 : 30, longStart = smallThumb ? 15 : 24, end = smallThumb ? 25 : 34;
            for (int pass = enabled ? 0 : 1; pass < 2; ++pass) {
                VLGraphics::SetForegroundColor(pass == 0 ? white : dark);
                const int shift = pass == 0 ? 1 : 0;
                for (int i = 0; i <= 10; ++i) {
                    const int tick = static_cast<int>(static_cast<long long>(i) * (w - 12) / 10);
                    DrawLine(tick + 6 + shift, top + (i == 5 ? longStart : start) + shift, tick + 6 + shift,
                             top + end + shift, 1);
                }
            }
        }
    }

    if (focused && enabled) {
        VLGraphics::SetForegroundColor(dark);
        DrawRect(0, 0, w - 1, h - 1, 2);
    }

    BitBlt(window, windowX, windowY, w + 1, h + 1, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    SurfaceAccess::SetTarget(*this, nullptr);
    parentWindow->EndPaint();
}

struct SliderInput {
    static VLSlider &Of(void *widget) { return *static_cast<VLSlider *>(widget); }

    // Switching on reports a gain to the focus callback first. False when the callback ended the
    // slider or took it out of its window: nothing more may be done with it then.
    static bool SetFocusState(VLSlider &s, bool on)
    {
        if (!on) {
            s.focused = 0;
            return true;
        }
        if (!s.focused && s.focusCallback) {
            LifeGuard alive(&s);
            s.focusCallback(&s);
            if (alive.Ended() || !s.parentWindow)
                return false;
        }
        s.focused = 1;
        return true;
    }
    // SetPosition with the same care for its change callback.
    static bool MoveTo(VLSlider &s, int value)
    {
        LifeGuard alive(&s);
        s.SetPosition(value);
        return !alive.Ended() && s.parentWindow;
    }

    // The thumb in window coordinates; false when there is none to hit.
    static bool ThumbRect(VLSlider &s, VLSTRect &thumb)
    {
        if (s.width == 0 || s.height == 0 || !s.visible || static_cast<long long>(s.maximum) - s.minimum < 1)
            return false;
        const long long centre = s.windowX + ThumbCentre(s.position, s.minimum, s.maximum, s.width);
        const long long middle = s.windowY + (static_cast<long long>(s.height) - 4) / 2;
        if (s.smallThumb)
            thumb = VLSTRect{Clamped(centre - 4), Clamped(middle - 5), 8, 13};
        else
            thumb = VLSTRect{Clamped(centre - 6), Clamped(middle - 8), 12, 22};
        return true;
    }

    static int PositionAt(VLSlider &s, int px)
    {
        const long long x = px >= 32768 ? -1 : px, left = s.windowX;
        if (x <= left)
            return s.minimum;
        if (x >= left + s.width)
            return s.maximum;
        const long long d = x - left - 6, span = static_cast<long long>(s.width) - 12,
                        range = static_cast<long long>(s.maximum) - s.minimum;
        if (range < 1 || span < 1 || d < 1)
            return s.minimum;
        const long long value = d * range / span + s.minimum;
        return static_cast<int>(value > s.maximum ? s.maximum : value);
    }

    static int Mouse(VLSlider &s, int code, int px, int py, bool inGroup)
    {
        if (!s.enabled || !s.visible || !s.parentWindow || WindowInternals::DropDownOpen(*s.parentWindow))
            return -1;
        bool redraw = false;
        if (code == 301)
            s.dragging = 0;
        const bool inside = px >= s.windowX && px <= Edge(s.windowX, s.width) && py >= s.windowY &&
                            py <= Edge(s.windowY, s.height);
        bool onThumb = false;
        if (inside) {
            const bool takes = inGroup ? code == 300 || (code == 302 && s.dragging) : !(code == 302 && !s.dragging);
            if (takes) {
                if (!SetFocusState(s, true))
                    return 1;
                WindowInternals::SetFocusedWidget(*s.parentWindow, TypeSlider, &s);
                redraw = true;
            }
            VLSTRect thumb;
            onThumb = ThumbRect(s, thumb) && px >= thumb.x && px <= Edge(thumb.x, thumb.width) && py >= thumb.y &&
                      py < Edge(thumb.y, thumb.height);
            if (onThumb) {
                if (!s.hot) {
                    s.hot = 1;
                    redraw = true;
                }
                if (code == 300) {
                    s.dragging = 1;
                    if (!s.focused && !SetFocusState(s, true))
                        return 1;
                }
            }
        }
        if (!onThumb && s.hot) {
            s.hot = 0;
            redraw = true;
        }
        if (code == 302 && s.dragging) {
            if (!SetFocusState(s, true))
                return 1;
            WindowInternals::SetFocusedWidget(*s.parentWindow, TypeSlider, &s);
            const int at = PositionAt(s, px);
            if (at != s.position) {
                if (!MoveTo(s, at))
                    return 1;
                WidgetAccess::Redraw(s, inGroup);
                return 1;
            }
        } else if (code == 300 && s.focused && inside) {
            // A press on the track jumps the thumb to the pointer and starts a drag.
            const int at = PositionAt(s, px);
            s.hot = 1;
            s.dragging = 1;
            if (at != s.position) {
                if (!MoveTo(s, at))
                    return 1;
                WidgetAccess::Redraw(s, inGroup);
                return 1;
            }
        }
        if (redraw)
            WidgetAccess::Redraw(s, inGroup);
        return inside ? 1 : -1;
    }

    static bool PressHits(void *widget, int px, int py)
    {
        VLSlider &s = Of(widget);
        return s.enabled && s.visible && px >= s.windowX && px < Edge(s.windowX, s.width) && py >= s.windowY &&
               py < Edge(s.windowY, s.height);
    }
    static bool HasFocus(void *widget) { return Of(widget).focused != 0; }
    static bool Eligible(void *widget) { return Of(widget).enabled && Of(widget).visible; }
    static void GainFocus(void *widget)
    {
        VLSlider &s = Of(widget);
        if (SetFocusState(s, true))
            s.Repaint();
    }
    static void LoseFocus(void *widget)
    {
        VLSlider &s = Of(widget);
        if (!s.focused)
            return;
        SetFocusState(s, false);
        s.hot = 0;
        s.dragging = 0;
        s.Repaint();
    }
};

extern const WidgetKind SliderKind = [] {
    WidgetKind kind = SkeletonKind<VLSlider>();
    kind.mouse = WindowMouseOf<VLSlider, SliderInput>;
    kind.mouseInGroup = GroupMouseOf<VLSlider, SliderInput>;
    kind.pressHits = SliderInput::PressHits;
    kind.hasFocus = SliderInput::HasFocus;
    kind.eligible = SliderInput::Eligible;
    kind.gainFocus = SliderInput::GainFocus;
    kind.loseFocus = SliderInput::LoseFocus;
    return kind; // the slider takes no keys
}();
