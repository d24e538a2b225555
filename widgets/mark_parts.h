// What the check box and the radio button share: where the mark sits, its colours, the focus
// mark and the (engraved) text beside it.
#pragma once

#include "skeleton.h"

#include "../draw/surface_access.h"

struct MarkAccess {
    struct Colours {
        unsigned int outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight, face, mark, text;
    };
    template <typename M> static Colours ColoursOf(M &m, unsigned int container)
    {
        if (m.enabled)
            return Colours{0xFF808080u, 0xFFFFFFFFu, 0xFF404040u, 0xFFC0C0C0u, 0xFFFFFFFFu, 0xFF000000u,
                           m.foregroundColour};
        const unsigned int threeQuarters = ThreeQuarters(container);
        return Colours{threeQuarters, container, Half(container), threeQuarters, container, threeQuarters,
                       threeQuarters};
    }
    // The mark's top: centred on the font in a tall widget, one below the top in a short one.
    template <typename M> static int MarkTop(M &m)
    {
        return m.height >= 14 ? Edge(m.windowY, (m.height - m.GetFontSize()) >> 1) : m.windowY + 1;
    }

    // Draws with the surface on the window's context between BeginPaint and EndPaint.
    template <typename M, typename Painter> static void Paint(M &m, Painter paint)
    {
        if (m.width == 0 || m.height == 0 || !m.visible || !m.parentWindow)
            return;
        m.parentWindow->BeginPaint();
        if (HDC context = WindowInternals::Context(*m.parentWindow)) {
            SurfaceAccess::SetTarget(m, context);
            paint(ContainerBackground(m.parentWindow, m.group, WidgetAccess::AreaOf(&m)));
            SurfaceAccess::SetTarget(m, nullptr);
        }
        m.parentWindow->EndPaint();
    }

    // The focus mark, the engraved copy of a disabled text, and the text (steps shared by both).
    template <typename M> static void Text(M &m, int y, unsigned int container, const Colours &colours)
    {
        const int left = m.windowX;
        const bool hasText = m.text && *m.text;
        if (m.focused && m.enabled && hasText) {
            m.VLGraphics::SetForegroundColor(0xFF000000u);
            m.DrawRect(left + 16, y, left + 22 + m.GetTextWidth(m.text), y + 12, 2);
        }
        if (!m.enabled && hasText) {
            const unsigned int light = Twice(ThreeQuarters(container));
            m.VLGraphics::SetForegroundColor(light);
            m.DrawBoxText(left + 21, y + 1, Edge(left, m.width) + 1, y + 13, m.text, 1);
        }
        m.VLGraphics::SetForegroundColor(colours.text);
        m.DrawBoxText(left + 20, y, Edge(left, m.width), y + 12, m.text, 1);
    }

    static unsigned int Twice(unsigned int colour);

    template <typename M> static bool Takes(M &m)
    {
        return m.enabled && m.visible && m.parentWindow && !WindowInternals::DropDownOpen(*m.parentWindow);
    }
    // Both edges count as inside.
    template <typename M> static bool Over(M &m, int px, int py)
    {
        return px >= m.windowX && px <= Edge(m.windowX, m.width) && py >= m.windowY && py <= Edge(m.windowY, m.height);
    }
};

// What the check box and the radio button both offer: a null text is the empty text here.
#define VORLA_MARK_OPERATIONS(Class)                                                               \
    void Class::SetText(const char *newText)                                                        \
    {                                                                                               \
        if (text)                                                                                   \
            StoreText(text, TextCapacity, newText ? newText : "");                                  \
    }                                                                                               \
    void Class::GetText(char *buffer, int max) { CopyTextOut(text, buffer, max); }                 \
    void Class::SetForegroundColor(unsigned long colour) { foregroundColour = static_cast<unsigned int>(colour); } \
    unsigned long Class::GetForegroundColor() { return foregroundColour; }                         \
    int Class::IsSelected() { return selected; }                                                    \
    void Class::SetEnable(int value) { enabled = value; }                                           \
    int Class::IsEnable() { return enabled; }
