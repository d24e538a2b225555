// VLButton: an image button that toggles; each press flips it and fires at once.
#include "button_parts.h"

void VLButton::Initialise()
{
    ButtonAccess::Reset(*this);
}

void VLButton::Release()
{
    WidgetAccess::FreeBuffers(*this);
}

VORLA_WIDGET_LIFETIME(VLButton)

VORLA_WIDGET_BOUNDS(VLButton, true)
VORLA_WIDGET_TEXT(VLButton)
VORLA_WIDGET_COLOURS(VLButton)
VORLA_WIDGET_HINT(VLButton)
VORLA_BUTTON_OPERATIONS(VLButton)

void VLButton::SetSelected(int selected)
{
    state = selected ? 2 : 0;
}

int VLButton::IsSelected()
{
    return state == 2 ? 1 : 0;
}

void VLButton::Draw()
{
    using A = ButtonAccess;
    A::Paint(*this, [this](HDC context, const A::Box &b) {
        const bool selected = state == 2;
        if (!enabled) {
            const unsigned int c = ContainerBackground(parentWindow, group, WidgetAccess::AreaOf(this));
            if (selected) {
                A::Fill(*this, b.left + 2, b.top + 2, b.right - 2, b.bottom - 2, Darkened(backgroundColour, 12));
                A::Frame(*this, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, Half(c));
                A::Frame(*this, b.left, b.top, b.right, b.bottom, ThreeQuarters(c));
                A::TopLeft(*this, b, 2, Half(c));
                A::TopLeft(*this, b, 3, ThreeQuarters(c));
                A::BottomRight(*this, b, 2, ThreeQuarters(c));
                A::Engraved(*this, text, c, A::PlaceIconAndText(*this, context, b), b, 1);
            } else {
                A::Fill(*this, b.left + 2, b.top + 2, b.right - 2, b.bottom - 2, c);
                A::Frame(*this, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, Half(c));
                A::BottomRight(*this, b, 2, ThreeQuarters(c));
                A::TopLeft(*this, b, 2, White);
                A::Engraved(*this, text, c, A::PlaceIconAndText(*this, context, b), b, 0);
            }
            return;
        }
        if (selected) {
            A::Fill(*this, b.left + 2, b.top + 2, b.right - 2, b.bottom - 2,
                    Darkened(Darkened(backgroundColour, 12), 24));
            A::Frame(*this, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, Black);
            A::Frame(*this, b.left, b.top, b.right, b.bottom, MidGrey);
            A::TopLeft(*this, b, 2, DarkGrey);
            A::TopLeft(*this, b, 3, MidGrey);
            A::BottomRight(*this, b, 2, MidGrey);
        } else {
            A::Fill(*this, b.left + 2, b.top + 2, b.right - 2, b.bottom - 2,
                    state == 0 ? backgroundColour : Darkened(backgroundColour, 12));
            A::Frame(*this, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, Black);
            A::BottomRight(*this, b, 2, DarkGrey);
            A::TopLeft(*this, b, 2, White);
        }
        if (focused) {
            VLGraphics::SetForegroundColor(Black);
            if (selected)
                DrawRect(b.left + 6, b.top + 6, b.right - 4, b.bottom - 4, 2);
            else
                DrawRect(b.left + 5, b.top + 5, b.right - 5, b.bottom - 5, 2);
        }
        const int textLeft = A::PlaceIconAndText(*this, context, b);
        const int inset = selected ? 3 : 4;
        A::Text(*this, text, foregroundColour, textLeft, b.top + 8 - inset, b.right - inset, b.bottom - inset);
    });
}

struct ButtonInput {
    // Mouse input: every press over the button flips it and fires; leaving clears only the hot look.
    static int Mouse(VLButton &b, int code, int px, int py, bool inGroup)
    {
        using A = ButtonAccess;
        if (!A::Takes(b))
            return -1;
        if (!A::Over(b, px, py, inGroup)) {
            if (code != 300 && b.state == 1) {
                b.state = 0;
                WidgetAccess::Redraw(b, inGroup);
                return 0;
            }
            return -1;
        }
        if (code == 300) {
            b.focused = 1;
            if (!inGroup)
                WindowInternals::SetFocusedWidget(*b.parentWindow, TypeButton, &b);
            b.state = b.state == 2 ? 0 : 2;
            WidgetAccess::Redraw(b, inGroup);
            if (inGroup)
                WindowInternals::SetFocusedWidget(*b.parentWindow, TypeButton, &b);
            if (b.selectCallback) {
                if (!inGroup)
                    WindowInternals::HideHint(*b.parentWindow);
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

    static bool Activate(void *widget, int focusedType)
    {
        VLButton &b = *static_cast<VLButton *>(widget);
        if (focusedType != TypeButton || !b.focused || !b.enabled)
            return false;
        b.state = b.state == 2 ? 0 : 2;
        b.Draw();
        if (b.selectCallback)
            b.selectCallback(&b);
        return true;
    }
};

extern const WidgetKind ButtonKind = [] {
    WidgetKind kind = FocusableButtonKind<VLButton>();
    kind.mouse = WindowMouseOf<VLButton, ButtonInput>;
    kind.mouseInGroup = GroupMouseOf<VLButton, ButtonInput>;
    kind.activate = ButtonInput::Activate;
    return kind;
}();
