// VLCheckBox: a sunken box with a cross when selected; every click toggles it.
#include "mark_parts.h"

#include <algorithm>

unsigned int MarkAccess::Twice(unsigned int colour)
{
    const auto twice = [](unsigned int channel) { return std::min(channel * 2, 255u); };
    return 0xFF000000u | (twice((colour >> 16) & 0xFF) << 16) | (twice((colour >> 8) & 0xFF) << 8) |
           twice(colour & 0xFF);
}

void VLCheckBox::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    WidgetAccess::AllocateBuffers(*this);
    foregroundColour = 0xFF000000u;
    visible = 1;
    selected = 0;
    focused = 0;
    enabled = 1;
    x = y = width = height = 0;
    selectCallback = nullptr;
    WidgetAccess::ResetHint(*this);
}

void VLCheckBox::Release()
{
    WidgetAccess::FreeBuffers(*this);
}

VORLA_WIDGET_LIFETIME(VLCheckBox)

VORLA_WIDGET_BOUNDS(VLCheckBox, false)
VORLA_WIDGET_HINT(VLCheckBox)

VORLA_MARK_OPERATIONS(VLCheckBox)
void VLCheckBox::SetSelected(int value) { selected = value; }

int VLCheckBox::AttachSelectEvent(SelectCallback callback) { return AttachCallback(selectCallback, callback); }

void VLCheckBox::DetachSelectEvent()
{
    selectCallback = nullptr;
}

void VLCheckBox::Draw()
{
    MarkAccess::Paint(*this, [this](unsigned int container) {
        const MarkAccess::Colours c = MarkAccess::ColoursOf(*this, container);
        const int l = windowX, t = windowY, y = MarkAccess::MarkTop(*this);
        VLGraphics::SetForegroundColor(container);
        DrawFillRect(l, t, Edge(l, width) + 2, Edge(t, height) + 2);
        VLGraphics::SetForegroundColor(c.outerTopLeft);
        DrawLine(l + 1, y, l + 13, y, 1);
        DrawLine(l + 1, y, l + 1, y + 12, 1);
        VLGraphics::SetForegroundColor(c.outerBottomRight);
        DrawLine(l + 1, y + 12, l + 13, y + 12, 1);
        DrawLine(l + 13, y, l + 13, y + 12, 1);
        VLGraphics::SetForegroundColor(c.face);
        DrawFillRect(l + 3, y + 2, l + 11, y + 10);
        VLGraphics::SetForegroundColor(c.innerBottomRight);
        DrawLine(l + 12, y + 1, l + 12, y + 11, 1);
        DrawLine(l + 2, y + 11, l + 12, y + 11, 1);
        VLGraphics::SetForegroundColor(c.innerTopLeft);
        DrawLine(l + 2, y + 1, l + 11, y + 1, 1);
        DrawLine(l + 2, y + 1, l + 2, y + 10, 1);
        if (selected) {
            VLGraphics::SetForegroundColor(c.mark);
            DrawLine(l + 3, y + 2, l + 11, y + 10, 1);
            DrawLine(l + 3, y + 3, l + 10, y + 10, 1);
            DrawLine(l + 11, y + 2, l + 3, y + 10, 1);
            DrawLine(l + 11, y + 3, l + 4, y + 10, 1);
        }
        MarkAccess::Text(*this, y, container, c);
    });
}

struct CheckBoxInput {
    // Only a press over the box acts: it takes the focus, flips, redraws, then reports.
    static int Mouse(VLCheckBox &b, int code, int px, int py, bool inGroup)
    {
        if (!MarkAccess::Takes(b) || !MarkAccess::Over(b, px, py))
            return -1;
        if (code != 300)
            return 1;
        b.focused = 1;
        b.selected = !b.selected;
        if (inGroup)
            b.Repaint();
        else
            b.Draw();
        WindowInternals::SetFocusedWidget(*b.parentWindow, TypeCheckBox, &b);
        if (b.selectCallback)
            b.selectCallback(&b);
        return 1;
    }
};

struct CheckBoxFocus {
    static bool PressHits(void *widget, int px, int py)
    {
        VLCheckBox &b = *static_cast<VLCheckBox *>(widget);
        return b.enabled && b.visible && px >= b.windowX && px < Edge(b.windowX, b.width) && py >= b.windowY &&
               py < Edge(b.windowY, b.height);
    }
    static bool Activate(void *widget, int focusedType)
    {
        VLCheckBox &b = *static_cast<VLCheckBox *>(widget);
        if (focusedType != TypeCheckBox || !b.focused || !b.enabled)
            return false;
        b.selected = !b.selected;
        b.Draw();
        if (b.selectCallback)
            b.selectCallback(&b);
        return true;
    }
    static bool HasFocus(void *widget) { return static_cast<VLCheckBox *>(widget)->focused != 0; }
    static bool Eligible(void *widget)
    {
        VLCheckBox &b = *static_cast<VLCheckBox *>(widget);
        return b.enabled && b.visible;
    }
    // Taking the focus reports the box to its callback, although its state stays.
    static void GainFocus(void *widget)
    {
        VLCheckBox &b = *static_cast<VLCheckBox *>(widget);
        b.focused = 1;
        b.Repaint();
        if (b.selectCallback)
            b.selectCallback(&b);
    }
    static void LoseFocus(void *widget)
    {
        VLCheckBox &b = *static_cast<VLCheckBox *>(widget);
        if (!b.focused)
            return;
        b.focused = 0;
        b.Repaint();
    }
};

extern const WidgetKind CheckBoxKind = [] {
    WidgetKind kind = SkeletonKind<VLCheckBox>();
    kind.mouse = WindowMouseOf<VLCheckBox, CheckBoxInput>;
    kind.mouseInGroup = GroupMouseOf<VLCheckBox, CheckBoxInput>;
    kind.pressHits = CheckBoxFocus::PressHits;
    kind.activate = CheckBoxFocus::Activate;
    kind.hasFocus = CheckBoxFocus::HasFocus;
    kind.eligible = CheckBoxFocus::Eligible;
    kind.gainFocus = CheckBoxFocus::GainFocus;
    kind.loseFocus = CheckBoxFocus::LoseFocus;
    return kind;
}();
