// VLPushButton: a raised command button; pressed it sinks, released over it it fires.
#include "button_parts.h"

void VLPushButton::Initialise()
{
    ButtonAccess::Reset(*this);
}

void VLPushButton::Release()
{
    WidgetAccess::FreeBuffers(*this);
}

VORLA_WIDGET_LIFETIME(VLPushButton)

VORLA_WIDGET_BOUNDS(VLPushButton, true)
VORLA_WIDGET_TEXT(VLPushButton)
VORLA_WIDGET_COLOURS(VLPushButton)
VORLA_WIDGET_HINT(VLPushButton)
VORLA_BUTTON_OPERATIONS(VLPushButton)

void VLPushButton::Draw()
{
    using A = ButtonAccess;
    A::Paint(*this, [this](HDC context, const A::Box &b) {
        if (!enabled) {
            const unsigned int c = ContainerBackground(parentWindow, group, WidgetAccess::AreaOf(this));
            A::Fill(*this, b.left + 2, b.top + 2, b.right - 2, b.bottom - 2, c);
            A::Frame(*this, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, Half(c));
            A::Frame(*this, b.left, b.top, b.right, b.bottom, ThreeQuarters(c));
            A::TopLeft(*this, b, 2, White);
            A::BottomRight(*this, b, 2, Half(c));
            A::BottomRight(*this, b, 3, ThreeQuarters(c));
            A::Engraved(*this, text, c, A::PlaceIconAndText(*this, context, b), b, 0);
            return;
        }
        const bool sunk = state == 2;
        A::Fill(*this, b.left + 2, b.top + 2, b.right - 2, b.bottom - 2,
                state == 0 ? backgroundColour : Darkened(backgroundColour, 12));
        A::Frame(*this, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, Black);
        A::Frame(*this, b.left, b.top, b.right, b.bottom, MidGrey);
        if (sunk) {
            A::TopLeft(*this, b, 2, DarkGrey);
            A::TopLeft(*this, b, 3, MidGrey);
            A::BottomRight(*this, b, 2, LightGrey);
            A::BottomRight(*this, b, 3, MidGrey);
        } else {
            A::TopLeft(*this, b, 2, White);
            A::BottomRight(*this, b, 2, DarkGrey);
            A::BottomRight(*this, b, 3, MidGrey);
        }
        const int textLeft = A::PlaceIconAndText(*this, context, b);
        if (focused) {
            VLGraphics::SetForegroundColor(Black);
            if (sunk)
                DrawRect(b.left + 6, b.top + 6, b.right - 4, b.bottom - 4, 2);
            else
                DrawRect(b.left + 5, b.top + 5, b.right - 5, b.bottom - 5, 2);
        }
        const int inset = sunk ? 3 : 4;
        A::Text(*this, text, foregroundColour, textLeft, b.top + 8 - inset, b.right - inset, b.bottom - inset);
    });
}

struct PushButtonInput {
    // Mouse input for event code 300, 301 or 302 at a window point; a button inside a group hits
    // with both edges included and repaints through its group.
    static int Mouse(VLPushButton &b, int code, int px, int py, bool inGroup)
    {
        using A = ButtonAccess;
        if (!A::Takes(b))
            return -1;
        if (!A::Over(b, px, py, inGroup)) {
            if (code != 300 && b.state != 0) {
                b.state = 0;
                WidgetAccess::Redraw(b, inGroup);
                return 0;
            }
            return -1;
        }
        if (code == 300) {
            b.focused = 1;
            if (!inGroup) {
                WindowInternals::SetFocusedWidget(*b.parentWindow, TypePushButton, &b);
                WindowInternals::HideHint(*b.parentWindow);
            }
            b.state = 2;
            WidgetAccess::Redraw(b, inGroup);
            if (inGroup)
                WindowInternals::SetFocusedWidget(*b.parentWindow, TypePushButton, &b);
        } else if (code == 301) {
            const bool wasPressed = b.state == 2;
            b.state = 0;
            WidgetAccess::Redraw(b, inGroup);
            if (!inGroup && b.parentWindow)
                WindowInternals::HideHint(*b.parentWindow);
            if (wasPressed && b.selectCallback) {
                LifeGuard alive(&b);
                b.selectCallback(&b);
                if (alive.Ended())
                    return -1; // cleared or deleted by its own callback: leave it be
            }
        }
        if (b.state == 0) {
            b.state = 1;
            WidgetAccess::Redraw(b, inGroup);
            return 0;
        }
        return 1;
    }

    // The pointer left the group the button lies in: a pressed or hot button goes back to normal.
    static void Leave(VLPushButton &b)
    {
        if (b.state == 0)
            return;
        b.state = 0;
        b.Repaint();
    }

    static bool Activate(void *widget, int focusedType)
    {
        VLPushButton &b = *static_cast<VLPushButton *>(widget);
        if (focusedType != TypePushButton || !b.focused || !b.enabled)
            return false;
        if (b.selectCallback)
            b.selectCallback(&b);
        return true;
    }
};

extern const WidgetKind PushButtonKind = [] {
    WidgetKind kind = FocusableButtonKind<VLPushButton>();
    kind.mouse = WindowMouseOf<VLPushButton, PushButtonInput>;
    kind.mouseInGroup = GroupMouseOf<VLPushButton, PushButtonInput>;
    kind.activate = PushButtonInput::Activate;
    kind.leave = [](void *widget, int, int) { PushButtonInput::Leave(*static_cast<VLPushButton *>(widget)); };
    return kind;
}();
