// What the push button and the image button share: the frame pieces, the icon and text
// placement, the engraved text of a disabled button, and the rows of the dispatch table.
#pragma once

#include "skeleton.h"

#include "../draw/surface_access.h"

#include <algorithm>

constexpr unsigned int Black = 0xFF000000u;
constexpr unsigned int White = 0xFFFFFFFFu;
constexpr unsigned int MidGrey = 0xFF787878u;
constexpr unsigned int DarkGrey = 0xFF464646u;
constexpr unsigned int LightGrey = 0xFFC0C0C0u;

struct ButtonAccess {
    // The defaults both classes start from and return to.
    template <typename B> static void Reset(B &b)
    {
        WidgetAccess::ResetPlacement(b);
        WidgetAccess::AllocateBuffers(b);
        b.icon = nullptr;
        b.backgroundColour = NoColour;
        b.foregroundColour = 0xFF000000u;
        b.align = 2;
        b.visible = 1;
        b.enabled = 1;
        b.state = 0;
        b.focused = 0;
        b.x = b.y = b.width = b.height = 0;
        b.selectCallback = nullptr;
        WidgetAccess::ResetHint(b);
    }

    // The button's rectangle in window coordinates: L, T, R = L + W, B = T + H.
    struct Box {
        int left, top, right, bottom;
    };
    template <typename B> static Box BoxOf(B &b)
    {
        return Box{b.windowX, b.windowY, Edge(b.windowX, b.width), Edge(b.windowY, b.height)};
    }

    // Draws between the window's BeginPaint and EndPaint with the surface on the window's context;
    // false when the button cannot draw now.
    template <typename B, typename Painter> static void Paint(B &b, Painter paint)
    {
        if (b.width == 0 || b.height == 0 || !b.visible || !b.parentWindow)
            return;
        if (b.backgroundColour == NoColour)
            b.backgroundColour = ContainerBackground(b.parentWindow, b.group, WidgetAccess::AreaOf(&b));
        b.parentWindow->BeginPaint();
        HDC context = WindowInternals::Context(*b.parentWindow);
        if (context) {
            SurfaceAccess::SetTarget(b, context);
            paint(context, BoxOf(b));
            SurfaceAccess::SetTarget(b, nullptr);
        }
        b.parentWindow->EndPaint();
    }

    static void Fill(VLGraphics &g, int l, int t, int r, int b, unsigned int colour)
    {
        g.SetForegroundColor(colour);
        g.DrawFillRect(l, t, r, b);
    }
    static void Frame(VLGraphics &g, int l, int t, int r, int b, unsigned int colour)
    {
        g.SetForegroundColor(colour);
        g.DrawRect(l, t, r, b, 1);
    }
    // The top-left pair of lines at inset i (left edge and top edge).
    static void TopLeft(VLGraphics &g, const Box &x, int i, unsigned int colour)
    {
        g.SetForegroundColor(colour);
        g.DrawLine(x.left + i, x.top + i, x.left + i, x.bottom - i, 1);
        g.DrawLine(x.left + i, x.top + i, x.right - i, x.top + i, 1);
    }
    // The bottom-right pair of lines at inset i (bottom edge and right edge).
    static void BottomRight(VLGraphics &g, const Box &x, int i, unsigned int colour)
    {
        g.SetForegroundColor(colour);
        g.DrawLine(x.left + i, x.bottom - i, x.right - i, x.bottom - i, 1);
        g.DrawLine(x.right - i, x.top + i, x.right - i, x.bottom - i, 1);
    }

    // Places the icon (drawn, greyed when disabled) and returns the text's left edge.
    template <typename B> static int PlaceIconAndText(B &b, HDC context, const Box &x)
    {
        const int w = x.right - x.left, h = x.bottom - x.top; // the clamped box's size
        const int textWidth = b.text && *b.text ? b.GetTextWidth(b.text) : 0;
        const int pressed = b.state == 2 ? 1 : 0;
        if (!b.icon || b.icon->GetImageWidth() <= 0 || b.icon->GetImageHeight() <= 0) {
            int left = x.left + 4;
            if (b.align == 2)
                left = x.left + 1 + (std::max(w - 2 - textWidth, 0) >> 1);
            else if (b.align == 3)
                left = x.left + 1 + std::max(w - 8 - textWidth, 0);
            return left + pressed;
        }
        const int iconWidth = b.icon->GetImageWidth(), iconHeight = b.icon->GetImageHeight();
        int top = x.top + 1 + (std::max(h - 2 - iconHeight, 0) >> 1);
        int left = x.left + 4;
        if (b.align == 2)
            left = x.left + 1 + (std::max(w - iconWidth - textWidth - 4, 0) >> 1);
        else if (b.align == 3)
            left = x.left + 1 + std::max(w - iconWidth - textWidth - 10, 0);
        left += pressed;
        top += pressed;
        b.icon->DrawImage(context, left, top, left + iconWidth, std::min(top + iconHeight, x.bottom - 1),
                          b.enabled ? 0 : 1);
        return left + iconWidth + 2;
    }

    static void Text(VLGraphics &g, const char *text, unsigned int colour, int l, int t, int r, int b)
    {
        g.SetForegroundColor(colour);
        g.DrawBoxText(l, t, r, b, text, 1);
    }
    // A disabled button's text: a light copy one pixel down and right, the darker one over it.
    static void Engraved(VLGraphics &g, const char *text, unsigned int container, int textLeft, const Box &x, int shift)
    {
        Text(g, text, OneAndAHalf(container), textLeft + 1 + shift, x.top + 5 + shift, x.right - 3 + shift,
             x.bottom - 3 + shift);
        Text(g, text, ThreeQuarters(container), textLeft + shift, x.top + 4 + shift, x.right - 4 + shift,
             x.bottom - 4 + shift);
    }

    // Hit tests: straight in a window the right and bottom edges are outside; in a group inside.
    template <typename B> static bool Over(B &b, int px, int py, bool inGroup)
    {
        const int l = b.windowX, t = b.windowY;
        if (inGroup)
            return px >= l && px <= l + b.width && py >= t && py <= t + b.height;
        return px >= l && px < l + b.width && py >= t && py < t + b.height;
    }
    template <typename B> static bool Takes(B &b)
    {
        return b.enabled && b.visible && b.parentWindow && !WindowInternals::DropDownOpen(*b.parentWindow);
    }
    // ---- dispatch rows ----
    template <typename B> static bool PressHits(void *widget, int px, int py)
    {
        B &b = *static_cast<B *>(widget);
        return b.enabled && b.visible && Over(b, px, py, false);
    }
    template <typename B> static bool HasFocus(void *widget) { return static_cast<B *>(widget)->focused != 0; }
    template <typename B> static bool Eligible(void *widget)
    {
        B &b = *static_cast<B *>(widget);
        return b.visible && b.enabled;
    }
    template <typename B> static void GainFocus(void *widget)
    {
        B &b = *static_cast<B *>(widget);
        b.focused = 1;
        b.Repaint();
    }
    template <typename B> static void LoseFocus(void *widget)
    {
        B &b = *static_cast<B *>(widget);
        if (!b.focused)
            return;
        b.focused = 0;
        b.Repaint();
    }
};

// The rows of a focusable button: the skeleton's and the focus rows.
template <typename B> WidgetKind FocusableButtonKind()
{
    WidgetKind kind = SkeletonKind<B>();
    kind.pressHits = ButtonAccess::PressHits<B>;
    kind.hasFocus = ButtonAccess::HasFocus<B>;
    kind.eligible = ButtonAccess::Eligible<B>;
    kind.gainFocus = ButtonAccess::GainFocus<B>;
    kind.loseFocus = ButtonAccess::LoseFocus<B>;
    return kind;
}

// The operations both button classes have beyond the skeleton.
#define VORLA_BUTTON_OPERATIONS(Class)                                                             \
    void Class::SetAlign(int value) { align = value; }                                              \
    int Class::GetAlign() { return align; }                                                         \
    void Class::SetIcon(VLIcon *newIcon) { icon = newIcon; }                                        \
    void Class::SetEnable(int enable) { enabled = enable; }                                         \
    int Class::IsEnable() { return enabled; }                                                       \
    int Class::AttachSelectEvent(SelectCallback callback) { return AttachCallback(selectCallback, callback); } \
    void Class::DetachSelectEvent() { selectCallback = nullptr; }
