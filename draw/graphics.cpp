// VLGraphics: colours, pen, font and the GDI mapping of the drawing operations.
#include "vorla/VLGraphics.h"

#include "system_code.h"

#include <cstring>
#include <utility>

namespace {

// "ＭＳ ゴシック" in Shift_JIS: the Gothic face every library text uses.
const char GothicFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

HFONT CreateGothicFont(int size)
{
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = -size;
    description.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(description.lfFaceName, GothicFace, sizeof GothicFace);
    return CreateFontIndirectA(&description);
}

// Puts a corner pair in order so that left <= right and top <= bottom.
void Order(int &left, int &top, int &right, int &bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

// The exclusive end of an inclusive coordinate, without overflowing at the top of the range.
LONG PastEnd(int coordinate)
{
    return coordinate < 0x7FFFFFFF ? coordinate + 1 : coordinate;
}

} // namespace

struct VLGraphics::Font {
    int size = 0;
    HFONT handle = nullptr;
};

VLGraphics::VLGraphics()
    : foregroundRed(0), foregroundGreen(0), foregroundBlue(0), backgroundRed(255),
      backgroundGreen(255), backgroundBlue(255), lineSize(1), font(new Font), target(nullptr),
      pen(nullptr), systemCode(OperatingSystemCode())
{
    RebuildPen();
    SetFontSize(12);
}

VLGraphics::~VLGraphics()
{
    if (pen)
        DeleteObject(pen);
    if (font->handle)
        DeleteObject(font->handle);
    delete font;
}

COLORREF VLGraphics::Foreground() const
{
    return RGB(foregroundRed, foregroundGreen, foregroundBlue);
}

void VLGraphics::RebuildPen()
{
    if (pen)
        DeleteObject(pen);
    pen = CreatePen(PS_SOLID, lineSize, Foreground());
}

HPEN VLGraphics::CreateDottedPen()
{
    if (systemCode > LastWindows9xCode) {
        // A zero-length dash every two units: the round cap makes one pixel on, one off.
        LOGBRUSH brush;
        brush.lbStyle = BS_SOLID;
        brush.lbColor = Foreground();
        brush.lbHatch = 0;
        const DWORD pattern[2] = {0, 2};
        return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &brush, 2, pattern);
    }
    HPEN dotted = CreatePen(PS_DOT, 1, Foreground());
    if (dotted)
        SetBkMode(target, TRANSPARENT);
    return dotted;
}

void VLGraphics::SetForegroundColor(unsigned long colour)
{
    foregroundRed = static_cast<int>((colour >> 16) & 0xFF);
    foregroundGreen = static_cast<int>((colour >> 8) & 0xFF);
    foregroundBlue = static_cast<int>(colour & 0xFF);
    RebuildPen();
}

void VLGraphics::SetBackgroundColor(unsigned long colour)
{
    backgroundRed = static_cast<int>((colour >> 16) & 0xFF);
    backgroundGreen = static_cast<int>((colour >> 8) & 0xFF);
    backgroundBlue = static_cast<int>(colour & 0xFF);
}

void VLGraphics::SetSize(int size)
{
    lineSize = size < 1 ? 1 : (size > 128 ? 128 : size);
    RebuildPen();
}

void VLGraphics::SetFontSize(int size)
{
    if (size < 4)
        size = 4;
    if (font->handle)
        DeleteObject(font->handle);
    font->handle = CreateGothicFont(size);
    font->size = font->handle ? size : 0;
}

int VLGraphics::GetFontSize()
{
    return font->size;
}

int VLGraphics::GetTextWidth(const char *text)
{
    if (!text || !*text || !target || !font->handle)
        return 0;
    HGDIOBJ previous = SelectObject(target, font->handle);
    SIZE extent = {0, 0};
    const BOOL measured =
        GetTextExtentPoint32A(target, text, static_cast<int>(std::strlen(text)), &extent);
    SelectObject(target, previous);
    return measured ? static_cast<int>(extent.cx) : 0;
}

void VLGraphics::SetPixel(int x, int y)
{
    if (target)
        ::SetPixel(target, x, y, Foreground());
}

void VLGraphics::DrawLine(int x1, int y1, int x2, int y2, int style)
{
    if (!target)
        return;
    if (style == 1) {
        if (!pen)
            return;
        HGDIOBJ previous = SelectObject(target, pen);
        MoveToEx(target, x1, y1, nullptr);
        LineTo(target, x2, y2);
        // GDI leaves out the end point; a thin line includes it.
        if (lineSize == 1)
            ::SetPixel(target, x2, y2, Foreground());
        SelectObject(target, previous);
    } else if (style == 2) {
        HPEN dotted = CreateDottedPen();
        if (!dotted)
            return;
        HGDIOBJ previous = SelectObject(target, dotted);
        MoveToEx(target, x1, y1, nullptr);
        LineTo(target, x2, y2);
        SelectObject(target, previous);
        DeleteObject(dotted);
    }
}

void VLGraphics::DrawRect(int x1, int y1, int x2, int y2, int style)
{
    if (!target || (style != 1 && style != 2))
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    if (style == 2 && systemCode <= LastWindows9xCode) {
        // Older systems have no one-on-one-off pen: set the odd pixels one by one.
        const COLORREF colour = Foreground();
        for (int x = left; x <= right; ++x) {
            if (x & 1) {
                ::SetPixel(target, x, top, colour);
                ::SetPixel(target, x, bottom, colour);
            }
        }
        for (int y = top; y <= bottom; ++y) {
            if (y & 1) {
                ::SetPixel(target, left, y, colour);
                ::SetPixel(target, right, y, colour);
            }
        }
        return;
    }
    HPEN outline = style == 1 ? pen : CreateDottedPen();
    if (!outline)
        return;
    HGDIOBJ previous = SelectObject(target, outline);
    MoveToEx(target, left, top, nullptr);
    LineTo(target, right, top);
    LineTo(target, right, bottom);
    LineTo(target, left, bottom);
    LineTo(target, left, top);
    SelectObject(target, previous);
    if (outline != pen)
        DeleteObject(outline);
}

void VLGraphics::DrawFillRect(int x1, int y1, int x2, int y2)
{
    if (!target)
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    HBRUSH brush = CreateSolidBrush(Foreground());
    if (!brush)
        return;
    const RECT area = {left, top, PastEnd(right), PastEnd(bottom)};
    FillRect(target, &area, brush);
    DeleteObject(brush);
}
