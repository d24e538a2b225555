// VLGraphics: colours, pen, font and the GDI mapping of the drawing operations.
#include "vorla/VLGraphics.h"

#include "gothic_font.h"
#include "system_code.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

const char GothicFace[14] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

HFONT CreateGothicFont(int size)
{
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = -size;
    description.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(description.lfFaceName, GothicFace, sizeof GothicFace);
    return CreateFontIndirectA(&description);
}

namespace {

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
        // Older systems have no one-on-one-off pen: set the odd pixels one by one. Pixels outside
        // the context's clip box change nothing, so the walk keeps to it (a rectangle may span the
        // whole int range).
        const COLORREF colour = Foreground();
        RECT clip;
        if (GetClipBox(target, &clip) == ERROR || clip.left >= clip.right || clip.top >= clip.bottom)
            return;
        const long long firstX = std::max<long long>(left, clip.left), lastX = std::min<long long>(right, clip.right - 1LL);
        for (long long x = firstX | 1; x <= lastX; x += 2) {
            ::SetPixel(target, static_cast<int>(x), top, colour);
            ::SetPixel(target, static_cast<int>(x), bottom, colour);
        }
        const long long firstY = std::max<long long>(top, clip.top), lastY = std::min<long long>(bottom, clip.bottom - 1LL);
        for (long long y = firstY | 1; y <= lastY; y += 2) {
            ::SetPixel(target, left, static_cast<int>(y), colour);
            ::SetPixel(target, right, static_cast<int>(y), colour);
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

namespace {

// Selects objects into a context for one operation and puts the previous ones back.
class Selection {
public:
    explicit Selection(HDC context) : context_(context) {}
    ~Selection()
    {
        for (int i = count_ - 1; i >= 0; --i)
            SelectObject(context_, previous_[i]);
    }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

    void Select(HGDIOBJ object)
    {
        if (!object || count_ == 3)
            return;
        previous_[count_++] = SelectObject(context_, object);
    }

private:
    HDC context_;
    HGDIOBJ previous_[3] = {nullptr, nullptr, nullptr};
    int count_ = 0;
};

// Radial point of an angle in degrees, clockwise from twelve o'clock, on a circle of the box.
POINT RadialPoint(int left, int top, int right, int bottom, int angle)
{
    // A box as wide as the int range, or an angle near its ends, needs 64 bits; the point stays
    // inside the box, so it fits an int again.
    const long long rx = (static_cast<long long>(right) - left) >> 1;
    const long long ry = (static_cast<long long>(bottom) - top) >> 1;
    const long long radius = (rx + ry) >> 1;
    const double turn = static_cast<double>(90LL - angle) * 0.017453292519444445;
    const auto toInt = [](long long value) {
        return static_cast<LONG>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    };
    POINT point;
    point.x = toInt(left + rx + static_cast<long long>(static_cast<double>(radius) * std::cos(turn)));
    point.y = toInt(top + ry - static_cast<long long>(static_cast<double>(radius) * std::sin(turn)));
    return point;
}

// Runs one filled drawing call with a temporary solid brush of the colour and the given pen.
template <typename Draw> void FillWithPen(HDC target, HPEN pen, COLORREF colour, Draw draw)
{
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush)
        return;
    {
        Selection selection(target);
        selection.Select(brush);
        selection.Select(pen);
        draw();
    }
    DeleteObject(brush);
}

// Copies positions into GDI points; the caller owns the block.
POINT *CopyPoints(const VLSTPosition *points, int count)
{
    POINT *copy = new (std::nothrow) POINT[static_cast<size_t>(count)];
    if (!copy)
        return nullptr;
    for (int i = 0; i < count; ++i) {
        copy[i].x = points[i].x;
        copy[i].y = points[i].y;
    }
    return copy;
}

} // namespace

void VLGraphics::DrawCircle(int x1, int y1, int x2, int y2)
{
    if (!target)
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    Selection selection(target);
    selection.Select(GetStockObject(NULL_BRUSH));
    selection.Select(pen);
    Ellipse(target, left, top, right, bottom);
}

void VLGraphics::DrawFillCircle(int x1, int y1, int x2, int y2)
{
    if (!target)
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    FillWithPen(target, pen, Foreground(), [&] { Ellipse(target, left, top, right, bottom); });
}

void VLGraphics::DrawRoundRect(int x1, int y1, int x2, int y2, int r, int style)
{
    if (!target || (style != 1 && style != 2))
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    HPEN outline = style == 1 ? pen : CreateDottedPen();
    if (!outline)
        return;
    {
        Selection selection(target);
        selection.Select(GetStockObject(NULL_BRUSH));
        selection.Select(outline);
        RoundRect(target, left, top, PastEnd(right), PastEnd(bottom), r, r);
    }
    if (outline != pen)
        DeleteObject(outline);
}

void VLGraphics::DrawFillRoundRect(int x1, int y1, int x2, int y2, int r)
{
    if (!target)
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    FillWithPen(target, pen, Foreground(),
                [&] { RoundRect(target, left, top, PastEnd(right), PastEnd(bottom), r, r); });
}

void VLGraphics::DrawArc(int x1, int y1, int x2, int y2, int a1, int a2)
{
    if (!target)
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    // GDI runs counter-clockwise from the first point: starting at a2 gives a1 to a2 clockwise.
    const POINT start = RadialPoint(left, top, right, bottom, a2);
    const POINT end = RadialPoint(left, top, right, bottom, a1);
    Selection selection(target);
    selection.Select(pen);
    Arc(target, left, top, right, bottom, start.x, start.y, end.x, end.y);
}

void VLGraphics::DrawPolygon(VLSTPosition *points, int count)
{
    if (!target || !points || count < 3)
        return;
    POINT *copy = CopyPoints(points, count);
    if (!copy)
        return;
    {
        Selection selection(target);
        selection.Select(GetStockObject(NULL_BRUSH));
        selection.Select(pen);
        Polygon(target, copy, count);
    }
    delete[] copy;
}

void VLGraphics::DrawFillPolygon(VLSTPosition *points, int count)
{
    if (!target || !points || count < 3)
        return;
    POINT *copy = CopyPoints(points, count);
    if (!copy)
        return;
    FillWithPen(target, pen, Foreground(), [&] { Polygon(target, copy, count); });
    delete[] copy;
}

void VLGraphics::DrawBezier(VLSTPosition *points, int count)
{
    if (!target || !points || count < 4)
        return;
    // Short curves convert on the stack; longer ones take a block of count + 1 points.
    POINT local[80];
    POINT *copy = local;
    if (count >= 80) {
        copy = new (std::nothrow) POINT[static_cast<size_t>(count) + 1];
        if (!copy)
            return;
    }
    for (int i = 0; i < count; ++i) {
        copy[i].x = points[i].x;
        copy[i].y = points[i].y;
    }
    {
        Selection selection(target);
        selection.Select(pen);
        PolyBezier(target, copy, static_cast<DWORD>(count));
    }
    if (copy != local)
        delete[] copy;
}

void VLGraphics::DrawTextA(int x, int y, const char *text)
{
    if (!target || !text || !*text)
        return;
    SetTextColor(target, Foreground());
    Selection selection(target);
    selection.Select(font->handle);
    SetBkMode(target, TRANSPARENT);
    TextOutA(target, x, y, text, static_cast<int>(std::strlen(text)));
}

void VLGraphics::DrawBoxText(int x1, int y1, int x2, int y2, const char *text, int align)
{
    if (!target || !text || !*text)
        return;
    int left = x1, top = y1, right = x2, bottom = y2;
    Order(left, top, right, bottom);
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, Foreground());
    // Every ampersand is doubled so it shows as itself. The copy holds at most 511 bytes; a
    // longer text is cut before the character that would not fit, never inside one.
    char doubled[512];
    int length = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p;) {
        const bool lead = (*p >= 0x81 && *p <= 0x9F) || (*p >= 0xE0 && *p <= 0xFC);
        const int bytes = (*p == '&' || (lead && p[1])) ? 2 : 1;
        if (length + bytes > 511)
            break;
        if (*p == '&') {
            doubled[length++] = '&';
            doubled[length++] = '&';
            ++p;
        } else {
            for (int i = 0; i < bytes; ++i)
                doubled[length++] = static_cast<char>(*p++);
        }
    }
    doubled[length] = '\0';
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (align == 2)
        format |= DT_CENTER;
    else if (align == 3)
        format |= DT_RIGHT;
    RECT box = {left, top, right, bottom};
    Selection selection(target);
    selection.Select(font->handle);
    ::DrawTextA(target, doubled, length, &box, format);
}
