// VLListBox: rows and scroll bar composed in an offscreen picture inside a frame drawn straight
// into the window; the window routes the mouse, its ticks and the Up and Down keys to it.
#include "list_box_parts.h"
#include "skeleton.h"

#include "../draw/surface_access.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

struct VLListBox::Item {
    int selected; // 0, or the value the item was selected with
    char text[TextCapacity];
    VLIcon *icon; // not owned
};

namespace {

constexpr int ScrollBarBit = 0x02;
constexpr int MultipleBit = 0x20;
constexpr int BarWidth = 17;
// Scroll bar states: what the pointer is over or holds.
constexpr int UpHover = 64, UpPressed = 128, DownHover = 4, DownPressed = 8, ThumbHover = 1024;

long long Clamp(long long value, long long low, long long high)
{
    return value < low ? low : value > high ? high : value;
}

} // namespace

void VLListBox::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    items = nullptr;
    capacity = 0;
    count = 0;
    mode = 0x12;
    backgroundColour = 0xFFFFFFFFu;
    foregroundColour = 0xFF000000u;
    selectForegroundColour = 0xFFFFFFFFu;
    selectBackgroundColour = 0xFF000080u;
    visible = 1;
    enabled = 1;
    focused = 0;
    x = y = width = height = 0;
    offscreen = nullptr;
    topRow = 0;
    barState = 0;
    thumbDragging = 0;
    dragThumbTop = 0;
    dragGrabY = 0;
    lastToggled = -1;
    pressedInside = 0;
    selectedCount = 0;
    selectionLow = 0;
    selectionHigh = 0;
    selectCallback = nullptr;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
}

void VLListBox::Release()
{
    std::free(items);
    items = nullptr;
    capacity = count = 0;
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLListBox)
VORLA_WIDGET_BOUNDS(VLListBox, true)
VORLA_WIDGET_HINT(VLListBox)
VORLA_WIDGET_COLOURS(VLListBox)

void VLListBox::SetEnable(int value) { enabled = value; }
int VLListBox::IsEnable() { return enabled; }
void VLListBox::SetMode(int value) { mode = value; }
void VLListBox::SetSelectBackgroundColor(unsigned long colour) { selectBackgroundColour = static_cast<unsigned int>(colour); }
unsigned long VLListBox::GetSelectBackgroundColor() { return selectBackgroundColour; }
void VLListBox::SetSelectForegroundColor(unsigned long colour) { selectForegroundColour = static_cast<unsigned int>(colour); }
unsigned long VLListBox::GetSelectForegroundColor() { return selectForegroundColour; }
int VLListBox::AttachSelectEvent(ListBoxCallback callback) { return AttachCallback(selectCallback, callback); }
void VLListBox::DetachSelectEvent() { selectCallback = nullptr; }

struct ListBoxInput {
    static VLListBox &Of(void *widget) { return *static_cast<VLListBox *>(widget); }

    // ---- the selection, kept with its count and a range holding every selected item ----
    static void Mark(VLListBox &l, int index, int state)
    {
        int &field = l.items[index].selected;
        if ((field != 0) == (state != 0)) {
            field = state;
            return;
        }
        field = state;
        if (state != 0) {
            if (l.selectedCount++ == 0) {
                l.selectionLow = index;
                l.selectionHigh = index + 1;
            } else {
                l.selectionLow = std::min(l.selectionLow, index);
                l.selectionHigh = std::max(l.selectionHigh, index + 1);
            }
        } else if (--l.selectedCount == 0) {
            l.selectionLow = l.selectionHigh = 0;
        }
    }
    static void UnselectAll(VLListBox &l)
    {
        for (int i = l.selectionLow; i < l.selectionHigh && i < l.count; ++i)
            l.items[i].selected = 0;
        l.selectedCount = 0;
        l.selectionLow = l.selectionHigh = 0;
    }
    static int FirstSelected(VLListBox &l)
    {
        if (l.selectedCount == 0)
            return -1;
        for (int i = l.selectionLow; i < l.selectionHigh && i < l.count; ++i)
            if (l.items[i].selected) {
                l.selectionLow = i;
                return i;
            }
        return -1;
    }

    // ---- geometry ----
    static bool WithBar(const VLListBox &l) { return (l.mode & ScrollBarBit) != 0; }
    // Row height; 0 when the surface has no font.
    static int RowHeight(VLListBox &l)
    {
        const int f = l.GetFontSize();
        return f >= 1 ? f + 1 : 0;
    }
    // Rows shown.
    static int Shown(VLListBox &l)
    {
        const int r = RowHeight(l);
        return r ? static_cast<int>((static_cast<long long>(l.height) - 4) / r) : 0;
    }
    static int Total(VLListBox &l) { return std::max(l.count, Shown(l)); }

    struct Thumb {
        bool exists;
        long long top, bottom; // relative to the box
    };
    static Thumb ThumbOf(VLListBox &l)
    {
        const long long n = Shown(l), total = Total(l), track = static_cast<long long>(l.height) - 34;
        if (total <= 0)
            return Thumb{false, 0, 0};
        const long long t = std::min<long long>(l.topRow, total - n);
        const long long length = std::max(track * n / total, 8LL);
        long long top = track * t / total + 17, bottom = top + length;
        if (bottom > static_cast<long long>(l.height) - 17) {
            bottom = static_cast<long long>(l.height) - 17;
            top = bottom - length;
        }
        return Thumb{true, top, bottom};
    }

    // ---- drawing ----
    // The arrow of a scroll button: one line per row from the tip to the base row.
    static void Arrow(VLListBox &l, int tipX, int tipY, int baseY, int half)
    {
        const int rows = std::abs(baseY - tipY), step = baseY > tipY ? 1 : -1;
        for (int k = 0; k <= rows; ++k) {
            const int w = rows ? k * half / rows : half;
            l.DrawLine(tipX - w, tipY + k * step, tipX + w, tipY + k * step, 1);
        }
    }

    static void Colour(VLListBox &l, unsigned int colour) { l.VLGraphics::SetForegroundColor(colour); }

    static void ComposeRows(VLListBox &l, HDC memory)
    {
        const int w = l.width, h = l.height, e = WithBar(l) ? w - BarWidth : w - 1;
        const unsigned int c = ContainerBackground(l.parentWindow, l.group, WidgetAccess::AreaOf(&l));
        const unsigned int fill = l.enabled ? l.backgroundColour : c;
        const unsigned int text = l.enabled ? l.foregroundColour : Half(c);
        const unsigned int selectedFill = l.enabled ? l.selectBackgroundColour : Half(c);
        const unsigned int selectedText = l.enabled ? l.selectForegroundColour : c;
        Colour(l, fill);
        l.DrawFillRect(1, 1, e, h - 1);
        Colour(l, 0xFF000000u);
        l.DrawRect(1, 1, e, h - 1, 1);
        if (!l.items)
            return;
        const int textRight = WithBar(l) ? w - 22 : w - 6;
        const int r = RowHeight(l), n = Shown(l);
        // Only the rows in view are visited, however long the list.
        for (int row = 0; row < n && static_cast<long long>(l.topRow) + row < l.count; ++row) {
            const VLListBox::Item &item = l.items[l.topRow + row];
            const int y0 = 3 + row * r, y1 = y0 + r;
            if (item.selected) {
                Colour(l, selectedFill);
                l.DrawFillRect(3, y0, textRight + 3, y1);
            }
            int textLeft = 5;
            VLIcon *icon = item.icon;
            if (icon && icon->GetImageWidth() > 0 && icon->GetImageHeight() > 0) {
                const int iw = icon->GetImageWidth(), ih = icon->GetImageHeight();
                const int top = y0 + std::max(r - ih, 0) / 2;
                icon->DrawImage(memory, 5, top, Clamped(5LL + iw), Clamped(std::min<long long>(static_cast<long long>(top) + ih, y1)),
                                l.enabled ? 0 : 1);
                textLeft = Clamped(5LL + iw + 2);
            }
            Colour(l, item.selected ? selectedText : text);
            l.DrawBoxText(textLeft, y0, textRight + 5, y1, item.text, 1);
        }
    }

    static void ComposeBar(VLListBox &l)
    {
        const int w = l.width, h = l.height, b = w - BarWidth, mid = (b + w - 1) / 2;
        const unsigned int c = ContainerBackground(l.parentWindow, l.group, WidgetAccess::AreaOf(&l));
        const unsigned int d = l.enabled ? TwoThirds(c) : ThreeQuarters(c);
        const unsigned int outline = l.enabled ? 0xFF000000u : Half(c);
        const unsigned int shadow = l.enabled ? Half(TwoThirds(c)) : Half(c);
        const unsigned int arrows = l.enabled ? 0xFF000000u : ThreeQuarters(c);
        const unsigned int hover = Darkened(c, 12), white = 0xFFFFFFFFu;

        Colour(l, d);
        l.DrawFillRect(b, 1, w - 1, h - 1);
        Colour(l, outline);
        l.DrawRect(b, 1, w - 1, h - 1, 1);

        // Up button.
        const bool upPressed = l.barState == UpPressed;
        Colour(l, upPressed || l.barState == UpHover ? hover : c);
        l.DrawFillRect(b, 1, w - 1, 17);
        Colour(l, arrows);
        if (upPressed)
            Arrow(l, mid + 1, 6, 12, 4);
        else
            Arrow(l, mid, 5, 11, 4);
        Colour(l, outline);
        l.DrawRect(b, 1, w - 1, 17, 1);
        Colour(l, upPressed ? outline : shadow);
        l.DrawLine(b, 16, w - 2, 16, 1);
        l.DrawLine(w - 2, 2, w - 2, 16, 1);
        Colour(l, upPressed ? d : white);
        l.DrawLine(b + 1, 2, w - 3, 2, 1);
        l.DrawLine(b + 1, 2, b + 1, 15, 1);

        // Down button, mirrored.
        const bool downPressed = l.barState == DownPressed;
        Colour(l, downPressed || l.barState == DownHover ? hover : c);
        l.DrawFillRect(b, h - 17, w - 1, h - 1);
        Colour(l, arrows);
        if (downPressed)
            Arrow(l, mid + 1, h - 4, h - 10, 4);
        else
            Arrow(l, mid, h - 5, h - 11, 4);
        Colour(l, outline);
        l.DrawRect(b, h - 17, w - 1, h - 1, 1);
        Colour(l, downPressed ? outline : shadow);
        l.DrawLine(b, h - 2, w - 2, h - 2, 1);
        l.DrawLine(w - 2, h - 16, w - 2, h - 2, 1);
        Colour(l, downPressed ? d : white);
        l.DrawLine(b + 1, h - 16, w - 3, h - 16, 1);
        l.DrawLine(b + 1, h - 16, b + 1, h - 3, 1);

        // Thumb with its grip. The bitmap exists, so the box is small enough for int.
        const Thumb thumb = ThumbOf(l);
        if (!thumb.exists)
            return;
        const int y0 = static_cast<int>(thumb.top), y1 = static_cast<int>(thumb.bottom), length = y1 - y0;
        Colour(l, l.barState == ThumbHover ? hover : c);
        l.DrawFillRect(b + 1, y0, w - 2, y1);
        Colour(l, outline);
        l.DrawRect(b + 1, y0, w - 2, y1, 1);
        Colour(l, white);
        l.DrawLine(b + 2, y0 + 1, w - 3, y0 + 1, 1);
        l.DrawLine(b + 2, y0 + 1, b + 2, y1 - 1, 1);
        Colour(l, shadow);
        l.DrawLine(b + 2, y1 - 1, w - 3, y1 - 1, 1);
        l.DrawLine(w - 3, y0 + 1, w - 3, y1 - 1, 1);
        auto ridge = [&](int top) {
            Colour(l, white);
            l.DrawLine(b + 4, top, w - 5, top, 1);
            l.DrawLine(b + 4, top, b + 4, top + 2, 1);
            Colour(l, d);
            l.DrawLine(b + 4, top + 2, w - 5, top + 2, 1);
            l.DrawLine(w - 5, top, w - 5, top + 2, 1);
        };
        if (length >= 21) {
            const int m = (y0 + y1) / 2 - 3;
            ridge(m);
            ridge(m + 4);
        } else if (length >= 13) {
            ridge((y0 + y1) / 2 - 1);
        }
    }

    static void Draw(VLListBox &l)
    {
        if (l.width == 0 || l.height == 0 || !l.visible || !l.parentWindow || !l.offscreen)
            return;
        VLWindow &window = *l.parentWindow;
        window.BeginPaint();
        HDC context = WindowInternals::Context(window);
        if (!context) {
            window.EndPaint();
            return;
        }
        // The frame goes straight into the window.
        const int wx = l.windowX, wy = l.windowY, right = Edge(wx, l.width), bottom = Edge(wy, l.height);
        SurfaceAccess::SetTarget(l, context);
        Colour(l, 0xFF000000u);
        l.DrawRect(wx + 1, wy + 1, right - 1, bottom - 1, 1);
        Colour(l, 0xFFFFFFFFu);
        l.DrawLine(wx, bottom, right, bottom, 1);
        l.DrawLine(right, wy, right, bottom, 1);
        Colour(l, 0xFF505050u);
        l.DrawLine(wx, wy, right, wy, 1);
        l.DrawLine(wx, wy, wx, bottom, 1);
        if (l.focused && l.enabled) {
            Colour(l, 0xFF0000FFu);
            l.DrawRect(wx, wy, right, bottom, 1);
        }
        SurfaceAccess::SetTarget(l, nullptr);

        HDC memory = GroupsShowing(l.group) ? CreateCompatibleDC(context) : nullptr;
        if (memory) {
            HGDIOBJ previous = SelectObject(memory, l.offscreen);
            SurfaceAccess::SetTarget(l, memory);
            ComposeRows(l, memory);
            BitBlt(context, wx + 1, wy + 1, std::max(l.width - 2, 0), std::max(l.height - 2, 0), memory, 1, 1, SRCCOPY);
            if (WithBar(l)) {
                ComposeBar(l);
                BitBlt(context, Clamped(static_cast<long long>(wx) + l.width - BarWidth), wy + 1, 16, std::max(l.height - 2, 0),
                       memory, l.width - BarWidth, 1, SRCCOPY);
            }
            SurfaceAccess::SetTarget(l, nullptr);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        window.EndPaint();
    }

    // ---- input ----
    // The select event, with the hint out of the way; the callback may end the list.
    static void FireSelect(VLListBox &l)
    {
        if (l.parentWindow)
            WindowInternals::HideHint(*l.parentWindow);
        if (l.selectCallback)
            l.selectCallback(&l);
    }

    // The scroll bar's part of the mouse input; 1 when it took the event.
    static int ScrollBarInput(VLListBox &l, int code, int left, int px, int py)
    {
        if (code == 302 && !l.focused)
            return 1;
        const int before = l.barState, top = l.topRow;
        if (code == 301) {
            l.thumbDragging = 0;
            if (l.barState == UpPressed || l.barState == DownPressed) {
                l.barState = 0;
                l.Repaint();
            }
            return 0;
        }
        const long long wx = l.windowX, wy = l.windowY, barLeft = wx + l.width - BarWidth, barRight = wx + l.width - 1,
                        barTop = wy + 1, barBottom = wy + l.height - 1;
        const bool inBar = px >= barLeft && px < barRight && py >= barTop && py < barBottom;
        if (!inBar && !l.thumbDragging) {
            if (l.barState != 0) {
                l.barState = 0;
                l.Repaint();
            }
            return 0;
        }
        const bool press = code == 300, held = press || (code == 302 && left);
        const long long n = Shown(l);
        const bool acrossBar = px >= barLeft && px < barRight;

        // Up button.
        if (acrossBar && py >= barTop && py < barTop + 16) {
            if (code == 302 && !left) {
                l.barState = UpHover;
            } else if (held && !l.thumbDragging) {
                if (l.topRow > 0)
                    --l.topRow;
                l.barState = UpPressed;
            } else if (code == 302 && l.thumbDragging) {
                l.barState = UpHover;
            }
        } else if (l.barState == UpHover) {
            l.barState = 0;
        }
        // Down button.
        if (acrossBar && py >= barBottom - 16 && py < barBottom) {
            if (code == 302 && !left) {
                l.barState = DownHover;
            } else if (held && !l.thumbDragging) {
                if (static_cast<long long>(l.topRow) + n < l.count)
                    ++l.topRow;
                l.barState = DownPressed;
            } else if (code == 302 && l.thumbDragging) {
                l.barState = DownHover;
            }
        } else if (l.barState == DownHover) {
            l.barState = 0;
        }
        // Thumb and track.
        const Thumb thumb = ThumbOf(l);
        const long long thumbTop = wy + thumb.top, thumbBottom = wy + thumb.bottom;
        const bool inThumbColumns = px >= barLeft + 1 && px < barRight - 1;
        if (thumb.exists && inThumbColumns && py >= thumbTop && py <= thumbBottom) {
            l.barState = ThumbHover;
            if (held && !l.thumbDragging) {
                l.thumbDragging = 1;
                l.dragThumbTop = Clamped(thumbTop);
                l.dragGrabY = Clamped(std::max(std::min<long long>(py, thumbBottom - 3), thumbTop + 3));
            }
        } else {
            if (l.barState == ThumbHover)
                l.barState = 0;
            if (held && inThumbColumns && thumb.exists) {
                if (py >= barTop + 16 && py < thumbTop) {
                    l.topRow = static_cast<int>(std::max<long long>(l.topRow - n, 0));
                } else if (py > thumbBottom && py < barBottom - 16 && static_cast<long long>(l.topRow) + n < l.count) {
                    l.topRow = static_cast<int>(std::min<long long>(l.topRow + n, l.count - n));
                }
            }
        }
        // Dragging the thumb: its top follows the pointer.
        if (l.thumbDragging && code == 302 && left) {
            const long long p = static_cast<long long>(l.dragThumbTop) - l.dragGrabY + py, track = l.height - 34LL;
            const long long total = Total(l);
            if (p >= wy + 17 && p < wy + l.height - 17 && track > 0) {
                const long long row = std::min((p - wy - 17) * total / track, total - n);
                if (row != l.topRow)
                    l.topRow = static_cast<int>(std::max(row, 0LL));
            }
        }
        if (l.barState != before || l.topRow != top)
            l.Repaint();
        return 1;
    }

    // The list's mouse input (window coordinates); 1 when the list took the event.
    static int MouseInput(VLListBox &l, int code, int left, int px, int py)
    {
        if (l.width == 0 || l.height == 0 || !l.visible || !l.enabled || !l.parentWindow || !l.items ||
            !GroupsShowing(l.group))
            return 0;
        const bool repeat = code == 1300;
        if (code == 301) {
            l.lastToggled = -1;
            l.pressedInside = 0;
        }
        if (WithBar(l) && ScrollBarInput(l, repeat ? 300 : code, left, px, py))
            return 1;
        if (code == 302 && !l.focused)
            return 1;
        l.thumbDragging = 0;
        const int n = Shown(l);
        if (n < 1)
            return 0;
        const long long wx = l.windowX, wy = l.windowY;
        const long long areaRight = wx + l.width - (WithBar(l) ? 16 : 0);
        const bool inside = px >= wx && px < areaRight && py >= wy && py < wy + l.height;
        // A tick scrolls a selection dragged past an edge on, as moves do; over the rows it has
        // nothing to add to what the last move did.
        if (repeat && (inside || !l.pressedInside))
            return 1;
        if (inside) {
            if (left)
                l.pressedInside = 1;
            if (l.count == 0)
                return 0;
            const int row = static_cast<int>(Clamp((py - wy - 3) / RowHeight(l), 0, n - 1));
            const long long index = static_cast<long long>(l.topRow) + row;
            if (index >= l.count)
                return 0;
            if (code == 302 && !left)
                return 1;
            if (code == 300 || code == 302) {
                const int i = static_cast<int>(index);
                if (i != l.lastToggled) {
                    if (!(l.mode & MultipleBit))
                        UnselectAll(l);
                    Mark(l, i, l.items[i].selected ? 0 : 1);
                    l.Repaint();
                    l.lastToggled = i;
                }
                FireSelect(l);
            }
            return 1;
        }
        if (l.pressedInside && left) {
            if (py < wy && l.topRow > 0) {
                --l.topRow;
                l.Repaint();
            } else if (py >= wy + l.height && static_cast<long long>(l.topRow) + n < l.count) {
                ++l.topRow;
                l.Repaint();
            }
        }
        return 0;
    }

    // Up and Down: the selection moves to one item, scrolled into view.
    static void Step(VLListBox &l, int step)
    {
        if (l.count == 0 || !l.items)
            return;
        const int first = std::max(FirstSelected(l), 0);
        UnselectAll(l);
        Mark(l, static_cast<int>(Clamp(static_cast<long long>(first) + step, 0, l.count - 1)), 1);
        ScrollIntoView(l);
        l.Repaint();
        FireSelect(l);
    }

    static void ScrollIntoView(VLListBox &l)
    {
        if (l.selectedCount != 1)
            return;
        const long long s = FirstSelected(l), n = Shown(l), total = Total(l);
        const long long t = std::min<long long>(l.topRow, total - n);
        long long top = l.topRow;
        if (s < t)
            top = s;
        else if (s >= t + n)
            top = s - n + 1;
        if (top < 0)
            top = 0;
        if (top + n >= total)
            top = std::max(total - n, 0LL);
        l.topRow = static_cast<int>(top);
    }

    // ---- the rows of the widget table ----
    static bool Takes(VLListBox &l)
    {
        return l.visible && l.enabled && l.parentWindow && !WindowInternals::DropDownOpen(*l.parentWindow);
    }
    static bool InsideBox(VLListBox &l, int px, int py)
    {
        return InsideExcluding(VLSTRect{l.windowX, l.windowY, l.width, l.height}, px, py);
    }
    // The routing both a window and a group give a list: its mouse input, then a press inside
    // focuses it. 1 when the event was inside, -1 when not.
    static int Route(VLListBox &l, int code, int px, int py)
    {
        if (!Takes(l))
            return -1;
        VLWindow *window = l.parentWindow;
        LifeGuard alive(&l);
        MouseInput(l, code, WindowInternals::LeftDown(*window) ? 1 : 0, px, py);
        if (alive.Ended() || !l.parentWindow || !WindowInternals::WindowHolds(*l.parentWindow, TypeListBox, &l))
            return 1;
        if (!InsideBox(l, px, py))
            return -1;
        if (code == 300) {
            if (!l.focused) {
                l.focused = 1;
                l.Repaint();
            }
            WindowInternals::SetFocusedWidget(*l.parentWindow, TypeListBox, &l);
        }
        return 1;
    }
    static void WindowMouse(void *widget, int code, int px, int py) { Route(Of(widget), code, px, py); }
    static int GroupMouse(void *widget, int code, int px, int py) { return Route(Of(widget), code, px, py); }
    static bool PressHits(void *widget, int px, int py)
    {
        VLListBox &l = Of(widget);
        return l.enabled && l.visible && InsideBox(l, px, py);
    }
    static bool HasFocus(void *widget) { return Of(widget).focused != 0; }
    static bool Eligible(void *widget) { return Of(widget).visible && Of(widget).enabled; }
    static void GainFocus(void *widget)
    {
        Of(widget).focused = 1;
        Of(widget).Repaint();
    }
    static void LoseFocus(void *widget)
    {
        VLListBox &l = Of(widget);
        if (!l.focused)
            return;
        l.focused = 0;
        l.Repaint();
    }
    static bool ArrowKey(void *widget, int key)
    {
        VLListBox &l = Of(widget);
        if (!l.focused || !l.visible || (key != 0xF20002 && key != 0xF20003))
            return false;
        Step(l, key == 0xF20002 ? -1 : 1);
        return true;
    }
};

void VLListBox::Draw() { ListBoxInput::Draw(*this); }

void ListBoxHeldTick(VLListBox &list, int px, int py)
{
    VLWindow *window = list.GetParentWindow();
    if (!window)
        return;
    LifeGuard windowAlive(window);
    window->BeginPaint();
    ListBoxInput::MouseInput(list, 1300, 1, px, py);
    if (!windowAlive.Ended())
        window->EndPaint();
}

int VLListBox::AddText(const char *newText)
{
    if (!newText || std::strlen(newText) >= static_cast<size_t>(TextCapacity - 1) || count == INT_MAX)
        return 0;
    if (count == capacity) {
        // Doubling keeps a long fill linear; the first block holds 8 items.
        const long long grown = capacity == 0 ? 8 : std::min<long long>(2LL * capacity, INT_MAX);
        void *block = std::realloc(items, static_cast<size_t>(grown) * sizeof(Item));
        if (!block)
            return 0;
        items = static_cast<Item *>(block);
        capacity = static_cast<int>(grown);
    }
    Item &item = items[count];
    item.selected = 0;
    std::strcpy(item.text, newText);
    item.icon = nullptr;
    ++count;
    return 1;
}

int VLListBox::AddText(const char *newText, VLIcon *icon)
{
    if (!AddText(newText))
        return 0;
    return SetIcon(count - 1, icon);
}

int VLListBox::SetText(int index, const char *newText)
{
    if (!newText || count == 0 || index < 0 || index >= count || std::strlen(newText) >= static_cast<size_t>(TextCapacity - 1))
        return 0;
    std::strcpy(items[index].text, newText);
    return 1;
}

int VLListBox::SetIcon(int index, VLIcon *icon)
{
    if (index < 0 || index >= count)
        return 0;
    items[index].icon = icon;
    return 1;
}

int VLListBox::RemoveText(int index)
{
    if (count == 0 || index < 0 || index >= count)
        return 0;
    if (items[index].selected && --selectedCount == 0)
        selectionLow = selectionHigh = 0;
    std::memmove(items + index, items + index + 1, static_cast<size_t>(count - index - 1) * sizeof(Item));
    --count;
    // The items after the removed one moved up: so does the range that holds the selection.
    if (selectedCount > 0) {
        if (index < selectionLow)
            --selectionLow;
        if (index < selectionHigh)
            --selectionHigh;
    }
    if (lastToggled > index)
        --lastToggled;
    else if (lastToggled == index)
        lastToggled = -1;
    return 1;
}

int VLListBox::RemoveAllText()
{
    if (!items)
        return 0;
    std::free(items);
    items = nullptr;
    count = capacity = 0;
    selectedCount = selectionLow = selectionHigh = 0;
    lastToggled = -1;
    return 1;
}

int VLListBox::GetListText(int index, char *buffer, int max)
{
    if (count == 0 || index < 0 || index >= count || !buffer || max < 0 ||
        std::strlen(items[index].text) >= static_cast<size_t>(max))
        return 0;
    std::strcpy(buffer, items[index].text);
    return 1;
}

int VLListBox::GetListSize() { return count; }

int VLListBox::SelectListIndex(int index, int state)
{
    if (count == 0 || index < 0 || index >= count)
        return 0;
    if (!(mode & MultipleBit) && state == 1)
        ListBoxInput::UnselectAll(*this);
    ListBoxInput::Mark(*this, index, state);
    return 1;
}

int VLListBox::SelectListAll()
{
    if (count == 0 || !(mode & MultipleBit))
        return 0;
    for (int i = 0; i < count; ++i)
        items[i].selected = 1;
    selectedCount = count;
    selectionLow = 0;
    selectionHigh = count;
    return 1;
}

int VLListBox::SelectListClear()
{
    if (!items)
        return 0;
    ListBoxInput::UnselectAll(*this);
    return 1;
}

int VLListBox::GetListIndex() { return ListBoxInput::FirstSelected(*this); }
int VLListBox::GetListSelectCount() { return selectedCount; }

int VLListBox::IsSelected(int index)
{
    return index >= 0 && index < count ? items[index].selected : 0;
}

void VLListBox::SetScrollBarTopPos(int top)
{
    const long long n = ListBoxInput::Shown(*this);
    long long row = std::max(top, 0);
    if (row + n >= count)
        row = std::max(count - n, 0LL);
    topRow = static_cast<int>(row);
}

int VLListBox::GetScrollBarTopPos() { return topRow; }

extern const WidgetKind ListBoxKind = [] {
    WidgetKind kind = SkeletonKind<VLListBox>();
    kind.mouse = ListBoxInput::WindowMouse;
    kind.mouseInGroup = ListBoxInput::GroupMouse;
    kind.pressHits = ListBoxInput::PressHits;
    kind.hasFocus = ListBoxInput::HasFocus;
    kind.eligible = ListBoxInput::Eligible;
    kind.gainFocus = ListBoxInput::GainFocus;
    kind.loseFocus = ListBoxInput::LoseFocus;
    kind.arrow = ListBoxInput::ArrowKey;
    return kind;
}();
