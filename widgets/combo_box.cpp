// VLComboBox: the closed box composed offscreen, the open list composed in a second picture and
// copied over the window below the box, and the window's drop-down steps that open, highlight,
// commit and close it.
#include "combo_box_parts.h"
#include "skeleton.h"

#include "../core/child_walk.h"
#include "../draw/surface_access.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const char SeparatorMarker[] = "##&&xxVORLA_SEPARATORxx&&##";

// The window whose routing pass asked for its list to open or close; the end of the pass does it.
// Kept per window, so that a pass that runs inside a callback for another window leaves it alone.
VLWindow *toggledWindow = nullptr;

// Per channel (55 x a + 200 x b) >> 8: the faint line under a separator.
unsigned int Mix(unsigned int a, unsigned int b)
{
    auto channel = [&](int shift) { return (((((a >> shift) & 0xFFu) * 55 + ((b >> shift) & 0xFFu) * 200) >> 8) & 0xFFu) << shift; };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

} // namespace

void VLComboBox::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    entries = nullptr;
    capacity = 0;
    count = 0;
    foregroundColour = 0xFF000000u;
    backgroundColour = 0xFFF0F0FFu;
    listForegroundColour = 0xFF000000u;
    listBackgroundColour = 0xFFFFFFFFu;
    listSelectForegroundColour = 0xFFFFFFFFu;
    listSelectBackgroundColour = 0xFF000080u;
    visible = 1;
    selected = -1;
    open = 0;
    highlight = -1;
    pressed = 0;
    focused = 0;
    enabled = 1;
    x = y = width = height = 0;
    offscreen = nullptr;
    listBitmap = nullptr;
    listBitmapWidth = listBitmapHeight = 0;
    focusCallback = nullptr;
    changeCallback = nullptr;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
}

void VLComboBox::Release()
{
    // A list left open would be painted, and routed to, after the box is gone.
    if (parentWindow && WindowInternals::DropDownOwner(*parentWindow) == this)
        DropDownClose(*parentWindow);
    std::free(entries);
    entries = nullptr;
    capacity = count = 0;
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
    if (listBitmap)
        DeleteObject(listBitmap);
    listBitmap = nullptr;
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLComboBox)
VORLA_WIDGET_BOUNDS(VLComboBox, false)
VORLA_WIDGET_HINT(VLComboBox)
VORLA_WIDGET_COLOURS(VLComboBox)

void VLComboBox::SetEnable(int value) { enabled = value; }
int VLComboBox::IsEnable() { return enabled; }
void VLComboBox::SetListBackgroundColor(unsigned long colour) { listBackgroundColour = static_cast<unsigned int>(colour); }
unsigned long VLComboBox::GetListBackgroundColor() { return listBackgroundColour; }
void VLComboBox::SetListForegroundColor(unsigned long colour) { listForegroundColour = static_cast<unsigned int>(colour); }
unsigned long VLComboBox::GetListForegroundColor() { return listForegroundColour; }
void VLComboBox::SetListSelectBackgroundColor(unsigned long colour) { listSelectBackgroundColour = static_cast<unsigned int>(colour); }
unsigned long VLComboBox::GetListSelectBackgroundColor() { return listSelectBackgroundColour; }
void VLComboBox::SetListSelectForegroundColor(unsigned long colour) { listSelectForegroundColour = static_cast<unsigned int>(colour); }
unsigned long VLComboBox::GetListSelectForegroundColor() { return listSelectForegroundColour; }
int VLComboBox::AttachFocusEvent(ComboBoxCallback callback) { return AttachCallback(focusCallback, callback); }
int VLComboBox::AttachChangeEvent(ComboBoxCallback callback) { return AttachCallback(changeCallback, callback); }
void VLComboBox::DetachFocusEvent() { focusCallback = nullptr; }
void VLComboBox::DetachChangeEvent() { changeCallback = nullptr; }

int VLComboBox::AddText(const char *text)
{
    if (!text || std::strlen(text) >= static_cast<size_t>(TextCapacity - 1) || count == INT_MAX)
        return 0;
    if (count == capacity) {
        // Doubling keeps a long fill linear; the first block holds 8 entries.
        const long long grown = capacity == 0 ? 8 : std::min<long long>(2LL * capacity, INT_MAX);
        void *block = std::realloc(entries, static_cast<size_t>(grown) * sizeof(Entry));
        if (!block)
            return 0;
        entries = static_cast<Entry *>(block);
        capacity = static_cast<int>(grown);
    }
    std::strcpy(entries[count], text);
    ++count;
    if (selected < 0)
        selected = 0;
    return 1;
}

int VLComboBox::AddSeparator() { return AddText(SeparatorMarker); }

int VLComboBox::SetText(int index, const char *text)
{
    if (!text || count == 0 || std::strlen(text) >= static_cast<size_t>(TextCapacity - 1) || index < 0 || index >= count)
        return 0;
    std::strcpy(entries[index], text);
    return 1;
}

int VLComboBox::SelectListIndex(int index)
{
    if (index < 0 || index >= count)
        return 0;
    selected = highlight = index;
    Repaint();
    return 1;
}

int VLComboBox::GetListIndex() { return selected; }
int VLComboBox::GetListSize() { return count; }
int VLComboBox::GetText(char *buffer, int max) { return GetListText(selected, buffer, max); }

int VLComboBox::GetListText(int index, char *buffer, int max)
{
    if (!buffer || index < 0 || index >= count || max < 0 || std::strlen(entries[index]) >= static_cast<size_t>(max))
        return 0;
    std::strcpy(buffer, entries[index]);
    return 1;
}

struct ComboBoxInput {
    static VLComboBox &Of(void *widget) { return *static_cast<VLComboBox *>(widget); }
    static bool IsSeparator(const VLComboBox &c, int index) { return std::strcmp(c.entries[index], SeparatorMarker) == 0; }
    static int FontSize(VLComboBox &c) { return c.GetFontSize(); }
    static void Colour(VLComboBox &c, unsigned int colour) { c.VLGraphics::SetForegroundColor(colour); }

    // The list's height below the box: a row per entry and the frame.
    static long long ListHeight(VLComboBox &c) { return static_cast<long long>(FontSize(c)) * c.count + 6; }

    // Draws into one of the box's pictures inside the window's paint bracket, then copies its top
    // left w x h pixels to (x, y) in the window; without a context to draw with, nothing is drawn.
    template <typename Paint>
    static void PaintPicture(VLComboBox &c, HBITMAP picture, int x, int y, int w, int h, Paint paint)
    {
        VLWindow &window = *c.parentWindow;
        window.BeginPaint();
        HDC context = WindowInternals::Context(window);
        HDC memory = context ? CreateCompatibleDC(context) : nullptr;
        if (!memory) {
            window.EndPaint();
            return;
        }
        HGDIOBJ previous = SelectObject(memory, picture);
        SurfaceAccess::SetTarget(c, memory);
        paint();
        BitBlt(context, x, y, w, h, memory, 0, 0, SRCCOPY);
        SurfaceAccess::SetTarget(c, nullptr);
        SelectObject(memory, previous);
        DeleteDC(memory);
        window.EndPaint();
    }

    static void Draw(VLComboBox &c)
    {
        if (c.width == 0 || c.height == 0 || !c.visible || !c.parentWindow || !c.offscreen)
            return;
        // The picture exists, so both sizes are small enough to add to.
        PaintPicture(c, c.offscreen, c.windowX, c.windowY, c.width + 1, c.height + 1, [&c] { DrawBox(c); });
    }

    static void DrawBox(VLComboBox &c)
    {
        const int w = c.width, h = c.height;
        const unsigned int g = WindowInternals::BackgroundColour(*c.parentWindow);
        const unsigned int container = ContainerBackground(c.parentWindow, c.group, WidgetAccess::AreaOf(&c));
        unsigned int fill, text, light, dark, darker, face, outline;
        if (c.enabled) {
            fill = c.backgroundColour;
            text = c.foregroundColour;
            light = 0xFFFFFFFFu;
            dark = TwoThirds(g);
            darker = Half(dark);
            face = g;
            outline = 0xFF000000u;
        } else {
            fill = light = face = container;
            text = dark = ThreeQuarters(container);
            darker = outline = Half(container);
        }
        Colour(c, fill);
        c.DrawFillRect(0, 0, w, h);
        Colour(c, dark);
        c.DrawLine(0, 0, w, 0, 1);
        c.DrawLine(0, 0, 0, h, 1);
        Colour(c, light);
        c.DrawLine(w, 0, w, h, 1);
        c.DrawLine(0, h, w, h, 1);
        Colour(c, darker);
        c.DrawRect(1, 1, w - 1, h - 1, 1);

        const int bx = w - h + 2, m = bx + ((w - 2 - bx) >> 1);
        Colour(c, c.pressed ? dark : face);
        c.DrawFillRect(bx + 2, 4, w - 4, h - 4);
        Colour(c, outline);
        c.DrawRect(bx, 2, w - 2, h - 2, 1);
        Colour(c, c.pressed ? dark : light);
        c.DrawLine(bx + 1, 3, w - 3, 3, 1);
        c.DrawLine(bx + 1, 3, bx + 1, h - 3, 1);
        Colour(c, dark);
        c.DrawLine(w - 3, 3, w - 3, h - 3, 1);
        c.DrawLine(bx + 1, h - 3, w - 3, h - 3, 1);
        const int shift = c.pressed ? 1 : 0;
        VLSTPosition triangle[3] = {{bx + 4 + shift, 8 + shift}, {m + shift, h - 6 + shift}, {w - 6 + shift, 8 + shift}};
        Colour(c, outline);
        c.DrawFillPolygon(triangle, 3);

        // A separator's marker is no text to show.
        if (static_cast<long long>(w) - h > 4 && c.selected >= 0 && c.selected < c.count && !IsSeparator(c, c.selected)) {
            Colour(c, text);
            c.DrawBoxText(4, 2, w - h, h - 2, c.entries[c.selected], 1);
        }
        if (c.focused && c.enabled) {
            Colour(c, 0xFF0000FFu);
            c.DrawRect(0, 0, w, h, 1);
        }
    }

    // The open list with one entry highlighted, copied over the window below the box.
    static void DrawList(VLComboBox &c, int shown)
    {
        if (c.width == 0 || c.height == 0 || !c.visible || c.count == 0 || !c.parentWindow)
            return;
        shown = std::max(0, std::min(shown, c.count - 1));
        const int f = FontSize(c);
        const long long pictureHeight = static_cast<long long>(f) * c.count + 8;
        if (f < 1 || pictureHeight >= INT_MAX || c.width < 0 || c.width == INT_MAX)
            return;
        // The picture follows the size and the font; a list too large to make is not drawn.
        if (!c.listBitmap || c.listBitmapWidth != c.width || c.listBitmapHeight != pictureHeight) {
            if (c.listBitmap)
                DeleteObject(c.listBitmap);
            c.listBitmap = CreateOffscreen(c.width, static_cast<int>(pictureHeight) - 1);
            c.listBitmapWidth = c.listBitmap ? c.width : 0;
            c.listBitmapHeight = c.listBitmap ? static_cast<int>(pictureHeight) : 0;
            if (!c.listBitmap)
                return;
        }
        const int w = c.width, lh = static_cast<int>(pictureHeight) - 4;
        PaintPicture(c, c.listBitmap, c.windowX, Clamped(static_cast<long long>(c.windowY) + c.height + 2), w + 1, lh + 2,
                     [&c, shown, f, w, lh] { DrawListRows(c, shown, f, w, lh); });
    }

    static void DrawListRows(VLComboBox &c, int shown, int f, int w, int lh)
    {
        Colour(c, c.listBackgroundColour);
        c.DrawFillRect(0, 0, w, lh + 5);
        Colour(c, 0xFF000000u);
        c.DrawRect(0, 0, w, lh + 1, 1);
        for (int i = 0; i < c.count; ++i) {
            const int t = 2 + i * f;
            if (IsSeparator(c, i)) {
                Colour(c, Mix(c.listForegroundColour, c.listBackgroundColour));
                c.DrawLine(5, t + f / 2 + 1, w - 3, t + f / 2 + 1, 1);
                Colour(c, c.listForegroundColour);
                c.DrawLine(4, t + f / 2, w - 4, t + f / 2, 1);
            } else if (i == shown) {
                Colour(c, c.listSelectBackgroundColour);
                c.DrawFillRect(1, t, w - 1, t + f);
                Colour(c, c.listSelectForegroundColour);
                c.DrawBoxText(4, t, w - 1, t + f, c.entries[i], 1);
            } else {
                Colour(c, c.listForegroundColour);
                c.DrawBoxText(4, t, w - 1, t + f, c.entries[i], 1);
            }
        }
    }

    // Tells the window where the list lies (right and bottom edges outside).
    static void PublishListRect(VLComboBox &c)
    {
        if (!c.parentWindow || c.width == 0 || c.height == 0)
            return;
        RECT area = {0, 0, 0, 0};
        if (c.count > 0) {
            const long long top = static_cast<long long>(c.windowY) + c.height + 2;
            area = RECT{c.windowX, Clamped(top), Edge(c.windowX, c.width), Clamped(top + ListHeight(c))};
        }
        // Without entries the list is empty: nothing of an earlier list may stay hit.
        WindowInternals::SetDropDownRect(*c.parentWindow, area);
    }

    // The entry under a window point of the open list, with a separator row standing for its
    // neighbour; -1 for none.
    static int ListHitTest(VLComboBox &c, int px, int py)
    {
        if (!c.parentWindow || c.count == 0 || FontSize(c) < 1)
            return -1;
        const RECT area = WindowInternals::DropDownRect(*c.parentWindow);
        if (px < area.left || py < area.top || px >= area.right || py >= area.bottom)
            return -1;
        const int row = static_cast<int>(std::min<long long>((static_cast<long long>(py) - area.top) / FontSize(c), c.count - 1));
        if (!IsSeparator(c, row))
            return row;
        const int neighbour = row == 0 ? 1 : row - 1;
        return neighbour < c.count ? neighbour : -1;
    }

    // Switching on reports a gain to the focus callback first. False when the callback ended the
    // box or took it out of its window.
    static bool SetFocusState(VLComboBox &c, bool on)
    {
        if (!on) {
            c.focused = 0;
            return true;
        }
        if (!c.focused && c.focusCallback) {
            LifeGuard alive(&c);
            VLWindow *window = c.parentWindow;
            c.focusCallback(&c);
            if (alive.Ended() || !c.parentWindow || c.parentWindow != window || !StillIn(c))
                return false;
        }
        c.focused = 1;
        return true;
    }
    static bool StillIn(VLComboBox &c)
    {
        return c.parentWindow && WindowInternals::WindowHolds(*c.parentWindow, TypeComboBox, &c);
    }
    // The change event; the callback may end the box and its window.
    static void ReportChange(VLComboBox &c, int before)
    {
        if (c.selected != before && c.changeCallback)
            c.changeCallback(&c);
    }

    // Opens the list at an entry: the window shows it from now on.
    static void OpenAt(VLComboBox &c, int entry)
    {
        VLWindow &window = *c.parentWindow;
        c.open = 1;
        c.highlight = entry;
        PublishListRect(c);
        DrawList(c, entry);
        WindowInternals::SetDropDown(window, true, &c);
    }

    // ---- the rows of the widget table ----
    static bool Takes(VLComboBox &c) { return c.enabled && c.visible && c.parentWindow; }
    static bool InsideBox(VLComboBox &c, int px, int py)
    {
        return InsideIncluding(VLSTRect{c.windowX, c.windowY, c.width, c.height}, px, py);
    }

    // A press on the box opens the list or asks it closed; a press elsewhere asks an open list
    // closed; a release lifts the button. 1 when the box took the event, -1 when not.
    static int Mouse(VLComboBox &c, int code, int px, int py)
    {
        if (!Takes(c))
            return -1;
        VLWindow &window = *c.parentWindow;
        const bool inside = InsideBox(c, px, py);
        const bool listOpen = WindowInternals::DropDownOpen(window);
        const bool ownsList = WindowInternals::DropDownOwner(window) == &c;
        if (code == 300 && inside && (!listOpen || ownsList)) {
            if (!c.focused) {
                if (!SetFocusState(c, true))
                    return 1;
                c.Repaint();
            }
            WindowInternals::SetFocusedWidget(window, TypeComboBox, &c);
            if (!c.open) {
                c.open = 1;
                c.highlight = c.selected;
                WindowInternals::SetDropDown(window, listOpen, &c);
                c.pressed = 1;
                c.Repaint();
            } else {
                c.open = 0;
            }
            toggledWindow = &window;
            PublishListRect(c);
            return 1;
        }
        int result = inside ? 1 : -1;
        if (code == 301 && (inside || c.focused)) {
            if (c.pressed) {
                c.pressed = 0;
                c.Repaint();
            }
            if (c.focused)
                WindowInternals::SetFocusedWidget(window, TypeComboBox, &c);
        } else if (code == 300 && c.open) {
            c.open = 0;
            toggledWindow = &window;
            if (!c.focused && listOpen) {
                if (!SetFocusState(c, true))
                    return 1;
                c.Repaint();
            }
            WindowInternals::SetFocusedWidget(window, TypeComboBox, &c);
        }
        if (toggledWindow == &window && WindowInternals::DropDownOwner(window) == &c)
            PublishListRect(c);
        return result;
    }
    static void WindowMouse(void *widget, int code, int px, int py) { Mouse(Of(widget), code, px, py); }
    static int GroupMouse(void *widget, int code, int px, int py) { return Mouse(Of(widget), code, px, py); }

    static bool PressHits(void *widget, int px, int py)
    {
        VLComboBox &c = Of(widget);
        return c.enabled && c.visible && InsideExcluding(VLSTRect{c.windowX, c.windowY, c.width, c.height}, px, py);
    }
    static bool HasFocus(void *widget) { return Of(widget).focused != 0; }
    static bool Eligible(void *widget) { return Of(widget).enabled && Of(widget).visible; }
    static void GainFocus(void *widget)
    {
        VLComboBox &c = Of(widget);
        if (SetFocusState(c, true))
            c.Repaint();
    }
    static void LoseFocus(void *widget)
    {
        VLComboBox &c = Of(widget);
        if (!c.focused)
            return;
        SetFocusState(c, false);
        c.Repaint();
    }

    // Up and Down step the highlight and selection over a separator; Left and Right show the
    // list at the highlight. The list opens either way.
    static bool ArrowKey(void *widget, int key)
    {
        VLComboBox &c = Of(widget);
        if (!c.focused || !c.enabled || !c.visible || !c.parentWindow || c.count == 0)
            return false;
        int entry = std::max(0, std::min(c.highlight, c.count - 1));
        if (key == 0xF20002 || key == 0xF20003) {
            const int step = key == 0xF20002 ? -1 : 1;
            entry = static_cast<int>(std::max(0LL, std::min<long long>(static_cast<long long>(c.highlight) + step, c.count - 1)));
            if (IsSeparator(c, entry)) {
                entry += step;
                if (entry < 0 || entry >= c.count)
                    return true; // nothing to go to: the key is spent
            }
        } else if (key != 0xF20000 && key != 0xF20001) {
            return false;
        }
        const int before = c.selected;
        c.highlight = c.selected = entry;
        c.Repaint();
        OpenAt(c, entry);
        ReportChange(c, before);
        return true;
    }

    // Enter or space on the focused box opens the list, or commits the highlight and closes it.
    static bool Activate(void *widget, int focusedType)
    {
        VLComboBox &c = Of(widget);
        if (focusedType != TypeComboBox || !c.focused || !c.enabled || !c.visible || !c.parentWindow || c.count == 0)
            return false;
        VLWindow &window = *c.parentWindow;
        if (c.highlight < 0) {
            OpenAt(c, 0);
        } else if (WindowInternals::DropDownOpen(window)) {
            const int before = c.selected;
            c.selected = std::min(c.highlight, c.count - 1);
            c.open = 0;
            c.Repaint();
            DropDownClose(window);
            ReportChange(c, before);
        } else {
            OpenAt(c, std::min(c.highlight, c.count - 1));
        }
        return true;
    }

    // ---- the window's drop-down steps ----
    // The window's open list's owner, while it is still in the window.
    static VLComboBox *Owner(VLWindow &window)
    {
        VLComboBox *owner = WindowInternals::DropDownOwner(window);
        return owner && WindowInternals::WindowHolds(window, TypeComboBox, owner) ? owner : nullptr;
    }
    static bool InList(VLWindow &window, int px, int py)
    {
        const RECT area = WindowInternals::DropDownRect(window);
        return px >= area.left && py >= area.top && px < area.right && py < area.bottom;
    }

    static bool Hover(VLWindow &window, int code, int px, int py)
    {
        // A pass that a callback ended before its end left its request behind: a new pass starts clean.
        if (toggledWindow == &window)
            toggledWindow = nullptr;
        if (code != 302 || !WindowInternals::DropDownOpen(window) || !InList(window, px, py))
            return false;
        VLComboBox *owner = Owner(window);
        if (!owner)
            return false;
        const int entry = ListHitTest(*owner, px, py);
        if (entry < 0 || entry == owner->highlight)
            return false;
        owner->highlight = entry;
        DrawList(*owner, entry);
        return true;
    }

    static void Finish(VLWindow &window, int code, int px, int py)
    {
        VLComboBox *owner = Owner(window);
        if (WindowInternals::DropDownOpen(window) && owner && code == 301 && InList(window, px, py)) {
            toggledWindow = &window;
            owner->open = 0;
            owner->pressed = 0;
            owner->Repaint();
        }
        if (toggledWindow != &window)
            return;
        toggledWindow = nullptr;
        if (!WindowInternals::DropDownOpen(window)) {
            if (owner) {
                DrawList(*owner, owner->selected);
                WindowInternals::SetDropDown(window, true, owner);
            }
            return;
        }
        if (!owner) {
            DropDownClose(window);
            return;
        }
        // The highlighted entry becomes the selection; the list is closed before the change event
        // runs, so the callback finds the window settled.
        const int before = owner->selected;
        if (owner->highlight >= 0 && owner->highlight < owner->count)
            owner->selected = owner->highlight;
        owner->Repaint();
        DropDownClose(window);
        ReportChange(*owner, before);
    }

    static void Paint(VLWindow &window)
    {
        if (!WindowInternals::DropDownOpen(window))
            return;
        if (VLComboBox *owner = Owner(window))
            DrawList(*owner, owner->highlight);
    }

    static void Close(VLWindow &window)
    {
        VLComboBox *owner = WindowInternals::DropDownOwner(window);
        const bool wasOpen = WindowInternals::DropDownOpen(window);
        WindowInternals::SetDropDown(window, false, nullptr);
        if (!wasOpen)
            return;
        if (owner && WindowInternals::WindowHolds(window, TypeComboBox, owner))
            owner->open = 0;
        const RECT area = WindowInternals::DropDownRect(window);
        window.UpdateWindowRect(area.left, area.top, Clamped(static_cast<long long>(area.right) + 1),
                                Clamped(static_cast<long long>(area.bottom) + 5));
    }
};

void VLComboBox::Draw() { ComboBoxInput::Draw(*this); }

int VLComboBox::GetListBounds(VLSTRect *bounds)
{
    if (width == 0 || height == 0 || count == 0 || !bounds)
        return 0;
    *bounds = VLSTRect{x, Clamped(static_cast<long long>(y) + height + 2), width,
                       Clamped(ComboBoxInput::ListHeight(*this))};
    return 1;
}

bool DropDownHover(VLWindow &window, int code, int px, int py) { return ComboBoxInput::Hover(window, code, px, py); }
void DropDownFinish(VLWindow &window, int code, int px, int py) { ComboBoxInput::Finish(window, code, px, py); }
void DropDownPaint(VLWindow &window) { ComboBoxInput::Paint(window); }
void DropDownClose(VLWindow &window) { ComboBoxInput::Close(window); }

extern const WidgetKind ComboBoxKind = [] {
    WidgetKind kind = SkeletonKind<VLComboBox>();
    kind.mouse = ComboBoxInput::WindowMouse;
    kind.mouseInGroup = ComboBoxInput::GroupMouse;
    kind.pressHits = ComboBoxInput::PressHits;
    kind.activate = ComboBoxInput::Activate;
    kind.hasFocus = ComboBoxInput::HasFocus;
    kind.eligible = ComboBoxInput::Eligible;
    kind.gainFocus = ComboBoxInput::GainFocus;
    kind.loseFocus = ComboBoxInput::LoseFocus;
    kind.arrow = ComboBoxInput::ArrowKey;
    return kind;
}();
