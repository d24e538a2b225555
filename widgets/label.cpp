// VLLabel: text with an optional icon, composed in an offscreen picture and copied to the window.
#include "skeleton.h"

#include "../draw/surface_access.h"

#include <algorithm>

void VLLabel::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    WidgetAccess::AllocateBuffers(*this);
    backgroundColour = 0xFFFFFFFFu;
    foregroundColour = 0xFF000000u;
    align = 1;
    backMode = 1;
    visible = 1;
    x = y = width = height = 0;
    icon = nullptr;
    offscreen = nullptr;
    WidgetAccess::ResetHint(*this);
}

void VLLabel::Release()
{
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
    WidgetAccess::FreeBuffers(*this);
}

VORLA_WIDGET_LIFETIME(VLLabel)

VORLA_WIDGET_BOUNDS(VLLabel, false)
VORLA_WIDGET_TEXT(VLLabel)
VORLA_WIDGET_COLOURS(VLLabel)
VORLA_WIDGET_HINT(VLLabel)

void VLLabel::SetAlign(int value) { align = value; }
int VLLabel::GetAlign() { return align; }
void VLLabel::SetBackMode(int mode) { backMode = mode; }
int VLLabel::GetBackMode() { return backMode; }
void VLLabel::SetIcon(VLIcon *newIcon) { icon = newIcon; }

void VLLabel::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    parentWindow->BeginPaint();
    HDC window = WindowInternals::Context(*parentWindow);
    HDC memory = window && offscreen ? CreateCompatibleDC(window) : nullptr;
    if (!memory) {
        parentWindow->EndPaint();
        return;
    }
    HGDIOBJ previous = SelectObject(memory, offscreen);
    SurfaceAccess::SetTarget(*this, memory);

    VLGraphics::SetForegroundColor(backMode == 1 ? backgroundColour : ContainerBackground(parentWindow, group, WidgetAccess::AreaOf(this)));
    DrawFillRect(0, 0, width, height);

    const int textWidth = text && *text ? GetTextWidth(text) : 0;
    int textLeft = 0;
    const bool withIcon = icon && icon->GetImageWidth() > 0 && icon->GetImageHeight() > 0;
    if (!withIcon) {
        if (align == 2)
            textLeft = std::max(width - textWidth, 0) >> 1;
        else if (align == 3)
            textLeft = std::max(width - textWidth, 0);
    } else {
        const int iconWidth = icon->GetImageWidth(), iconHeight = icon->GetImageHeight();
        int left = 0;
        if (align == 2)
            left = std::max(width - iconWidth - textWidth - 2, 0) >> 1;
        else if (align == 3)
            left = std::max(width - iconWidth - textWidth - 2, 0);
        const int top = std::max(height - iconHeight, 0) >> 1;
        icon->DrawImage(memory, left, top, left + iconWidth, std::min(top + iconHeight, height), 0);
        textLeft = left + iconWidth + 2;
    }
    VLGraphics::SetForegroundColor(foregroundColour);
    DrawBoxText(textLeft, 0, width, height, text, 1);

    BitBlt(window, windowX, windowY, width + 1, height + 1, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    SurfaceAccess::SetTarget(*this, nullptr);
    parentWindow->EndPaint();
}

extern const WidgetKind LabelKind = [] {
    WidgetKind kind = SkeletonKind<VLLabel>();
    return kind; // labels take no input and never the focus
}();
