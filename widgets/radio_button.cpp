// VLRadioButton: a round sunken button with a dot; its group routes it and keeps one selected.
#include "mark_parts.h"

void VLRadioButton::Initialise()
{
    parentWindow = nullptr;
    group = nullptr;
    windowX = windowY = 0;
    WidgetAccess::AllocateBuffers(*this);
    foregroundColour = 0xFF000000u;
    visible = 1;
    selected = 0;
    focused = 0;
    enabled = 1;
    x = y = width = height = 0;
    WidgetAccess::ResetHint(*this);
}

void VLRadioButton::Release()
{
    WidgetAccess::FreeBuffers(*this);
}

VORLA_WIDGET_LIFETIME(VLRadioButton)

VORLA_WIDGET_BOUNDS(VLRadioButton, false)
VORLA_WIDGET_HINT(VLRadioButton)

VORLA_MARK_OPERATIONS(VLRadioButton)

void VLRadioButton::SetSelected(int value)
{
    if (!group)
        return;
    selected = value;
    group->SelectRadioButton(this);
}

void VLRadioButton::Draw()
{
    MarkAccess::Paint(*this, [this](unsigned int container) {
        const MarkAccess::Colours c = MarkAccess::ColoursOf(*this, container);
        const int l = windowX, t = windowY, y = MarkAccess::MarkTop(*this);
        VLGraphics::SetForegroundColor(container);
        DrawFillRect(l, t, Edge(l, width), Edge(t, height));
        VLGraphics::SetForegroundColor(c.face);
        DrawFillCircle(l + 2, y, l + 13, y + 11);
        VLGraphics::SetForegroundColor(c.outerTopLeft);
        DrawArc(l + 2, y, l + 13, y + 11, 180, 360);
        VLGraphics::SetForegroundColor(c.innerTopLeft);
        DrawArc(l + 3, y + 1, l + 12, y + 10, 180, 360);
        VLGraphics::SetForegroundColor(c.innerBottomRight);
        DrawArc(l + 3, y + 1, l + 12, y + 10, 0, 180);
        if (selected) {
            VLGraphics::SetForegroundColor(c.mark);
            DrawFillCircle(l + 5, y + 3, l + 10, y + 8);
        }
        MarkAccess::Text(*this, y, container, c);
    });
}

struct RadioButtonHit {
    // A press on an enabled, visible radio button counts as a press on an interactive widget, so
    // that its group's routing runs; radio buttons are routed and focused by their group only.
    static bool PressHits(void *widget, int px, int py)
    {
        VLRadioButton &b = *static_cast<VLRadioButton *>(widget);
        return b.enabled && b.visible && px >= b.windowX && px < Edge(b.windowX, b.width) && py >= b.windowY &&
               py < Edge(b.windowY, b.height);
    }

    static bool HasFocus(void *widget) { return static_cast<VLRadioButton *>(widget)->focused != 0; }
    // A press elsewhere takes the focus away: the mark goes, drawn inside its group.
    static void LoseFocus(void *widget)
    {
        VLRadioButton &b = *static_cast<VLRadioButton *>(widget);
        if (!b.focused)
            return;
        b.focused = 0;
        b.Repaint();
    }
};

extern const WidgetKind RadioButtonKind = [] {
    WidgetKind kind = SkeletonKind<VLRadioButton>();
    kind.pressHits = RadioButtonHit::PressHits;
    kind.hasFocus = RadioButtonHit::HasFocus;
    kind.loseFocus = RadioButtonHit::LoseFocus;
    return kind;
}();
