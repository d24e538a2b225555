// The skeleton every widget class repeats by design (bounds, texts, colours, visibility, hints,
// repaint, clear), written once: the classes' operations forward here, so fifteen flat classes do
// not carry fifteen copies. Templates work on the fields the classes name alike.
#pragma once

#include "../core/life_guard.h"
#include "../core/links.h"
#include "../core/widget_kinds.h"
#include "../core/window_internals.h"
#include "vorla/VorlaLib.h"

#include <cstring>
#include <new>
#include <type_traits>

constexpr int TextCapacity = 256;     // 255 bytes and the terminator
constexpr int HintCapacity = 512;     // 509 bytes accepted
constexpr int HintLimit = 510;        // a hint of this many bytes or more is refused
constexpr unsigned int NoColour = 0xF0000000u;

// Colour helpers of the widget drawing (each result carries 0xFF in its top byte).
unsigned int Darkened(unsigned int colour, int by);
unsigned int Half(unsigned int colour);
unsigned int ThreeQuarters(unsigned int colour);
unsigned int TwoThirds(unsigned int colour);
unsigned int OneAndAHalf(unsigned int colour);

// Offscreen picture of (width + 1) x (height + 1) pixels compatible with the screen; null for an
// empty size or when the system refuses.
HBITMAP CreateOffscreen(int width, int height);

// Background of the container a widget lies in: its nearest group with a back mode, the top-most
// group's tab, the scrolling area it (or its top-most group) lies in, or the window.
unsigned int ContainerBackground(VLWindow *window, VLGroup *group, VLScrollArea *area = nullptr);
// Whether the widget's groups are all shown (and a tab page among them is the selected one).
bool GroupsShowing(VLGroup *group);

// Narrows the window context's clip to a rectangle (right and bottom excluded) for as long as it
// lives, then restores the clip box that was in force before.
class ClipScope {
public:
    ClipScope(HDC context, int left, int top, int right, int bottom) : context_(context)
    {
        if (!context_)
            return;
        saved_ = GetClipBox(context_, &box_) != ERROR;
        IntersectClipRect(context_, left, top, right, bottom);
    }
    ~ClipScope()
    {
        if (!context_)
            return;
        SelectClipRgn(context_, nullptr);
        if (saved_)
            IntersectClipRect(context_, box_.left, box_.top, box_.right, box_.bottom);
    }
    ClipScope(const ClipScope &) = delete;
    ClipScope &operator=(const ClipScope &) = delete;

private:
    HDC context_;
    RECT box_ = {0, 0, 0, 0};
    bool saved_ = false;
};


// The rectangle a widget in these groups may draw in (the groups' rectangles intersected);
// false for a widget in no group.
bool GroupsClip(VLGroup *group, RECT &area);
// Whether a scroll area shows its widgets (it scrolls, is visible and in a window), and the view
// they are clipped to (right and bottom excluded).
bool ScrollAreaShowing(VLScrollArea *area);
bool ScrollAreaView(VLScrollArea *area, RECT &view);

// Copies text into a buffer of capacity bytes if it fits whole; false (buffer kept) otherwise.
bool StoreText(char *buffer, int capacity, const char *text);
// Copies a stored text out: at most max bytes and a terminator, so max + 1 bytes.
void CopyTextOut(const char *stored, char *buffer, int max);

struct WidgetAccess {
    template <typename W> static void AllocateBuffers(W &w)
    {
        w.text = new (std::nothrow) char[TextCapacity]();
        w.hintText = new (std::nothrow) char[HintCapacity]();
    }
    template <typename W> static void FreeBuffers(W &w)
    {
        delete[] w.text;
        w.text = nullptr;
        delete[] w.hintText;
        w.hintText = nullptr;
    }
    template <typename W> static void ResetPlacement(W &w)
    {
        w.parentWindow = nullptr;
        w.scrollArea = nullptr;
        w.group = nullptr;
        w.windowX = 0;
        w.windowY = 0;
    }
    template <typename W> static void ResetHint(W &w)
    {
        w.hintForegroundColour = 0xFF000000u;
        w.hintBackgroundColour = 0xFFFFFFC0u;
        w.hintFontSize = 12;
    }

    // Bounds. Classes that ignore an empty size pass ignoreEmpty; classes with an offscreen
    // picture re-create it.
    template <typename W> static void SetBounds(W &w, int x, int y, int width, int height, bool ignoreEmpty)
    {
        if (ignoreEmpty && (width == 0 || height == 0))
            return;
        w.x = x;
        w.y = y;
        w.width = width;
        w.height = height;
        RenewOffscreen(&w);
        if (w.parentWindow)
            WindowInternals::PlaceChildren(*w.parentWindow);
    }
    template <typename W> static void SetSize(W &w, int width, int height, bool ignoreEmpty)
    {
        if (ignoreEmpty && (width == 0 || height == 0))
            return;
        w.width = width;
        w.height = height;
        RenewOffscreen(&w);
    }
    // Bounds and window position set by a widget that contains this one and places it itself:
    // no placement pass runs.
    template <typename W> static void SetPartBounds(W &w, int x, int y, int width, int height)
    {
        w.x = x;
        w.y = y;
        w.width = width;
        w.height = height;
        RenewOffscreen(&w);
    }
    template <typename W> static void SetPartPosition(W &w, VLWindow *window, int windowX, int windowY)
    {
        w.parentWindow = window;
        w.windowX = windowX;
        w.windowY = windowY;
    }
    template <typename W> static void SetLocate(W &w, int x, int y)
    {
        w.x = x;
        w.y = y;
        if (w.parentWindow)
            WindowInternals::PlaceChildren(*w.parentWindow);
    }
    template <typename W> static void GetBounds(W &w, VLSTRect *bounds)
    {
        if (bounds)
            *bounds = VLSTRect{w.x, w.y, w.width, w.height};
    }
    template <typename W> static void GetSize(W &w, VLSTSize *size)
    {
        if (size)
            *size = VLSTSize{w.width, w.height};
    }
    template <typename W> static void GetLocate(W &w, VLSTPosition *position)
    {
        if (position)
            *position = VLSTPosition{w.x, w.y};
    }

    template <typename W> static void SetHintText(W &w, const char *text)
    {
        if (!text || !w.hintText || std::strlen(text) >= static_cast<size_t>(HintLimit))
            return;
        std::strcpy(w.hintText, text);
    }

    // Repaint: only a visible widget of a shown window whose groups are all showing.
    template <typename W> static void Repaint(W &w)
    {
        if (!w.visible || !w.parentWindow || !w.parentWindow->IsVisible() || !GroupsShowing(w.group))
            return;
        VLScrollArea *scroller = AreaOf(&w);
        if (scroller && !ScrollAreaShowing(scroller))
            return;
        // A widget in a group or a scrolling area never paints outside it; the clip lasts only
        // for this drawing, so callbacks that run later draw freely.
        RECT area, view;
        bool clipped = GroupsClip(w.group, area);
        if (scroller && ScrollAreaView(scroller, view)) {
            if (clipped)
                IntersectRect(&area, &area, &view);
            else
                area = view;
            clipped = true;
        }
        if (!clipped) {
            w.Draw();
            return;
        }
        w.parentWindow->BeginPaint();
        {
            ClipScope clip(WindowInternals::Context(*w.parentWindow), area.left, area.top, area.right, area.bottom);
            w.Draw();
        }
        w.parentWindow->EndPaint();
    }

    // A widget routed by a group repaints through it (clipped to it); one in the window draws.
    template <typename W> static void Redraw(W &w, bool inGroup)
    {
        if (inGroup)
            w.Repaint();
        else
            w.Draw();
    }

    // The widget's links to its window and group are cut when either is destroyed first; a
    // group's own links to it are cut when it goes.
    template <typename W> static void Link(W &w)
    {
        LinkField(&w.parentWindow);
        LinkField(&w.group);
    }
    template <typename W> static void Unlink(W &w)
    {
        UnlinkField(&w.parentWindow);
        UnlinkField(&w.group);
        if constexpr (std::is_same_v<W, VLGroup>)
            CutLinksTo(&w);
    }

    // The dispatch rows every class shares.
    template <typename W> static void Place(void *widget, VLWindow *window, int originX, int originY)
    {
        W &w = *static_cast<W *>(widget);
        w.parentWindow = window;
        w.windowX = Edge(originX, w.x);
        w.windowY = Edge(originY, w.y);
    }
    template <typename W> static void Bounds(void *widget, VLSTRect &out)
    {
        W &w = *static_cast<W *>(widget);
        out = VLSTRect{w.x, w.y, w.width, w.height};
    }
    template <typename W> static bool Visible(void *widget) { return static_cast<W *>(widget)->visible != 0; }
    template <typename W> static void WindowPosition(void *widget, int &x, int &y)
    {
        W &w = *static_cast<W *>(widget);
        x = w.windowX;
        y = w.windowY;
    }
    template <typename W>
    static const char *Hint(void *widget, unsigned int &foreground, unsigned int &background, int &fontSize)
    {
        W &w = *static_cast<W *>(widget);
        foreground = w.hintForegroundColour;
        background = w.hintBackgroundColour;
        fontSize = w.hintFontSize;
        return w.hintText ? w.hintText : "";
    }
    template <typename W> static void SetGroup(void *widget, VLGroup *group)
    {
        static_cast<W *>(widget)->group = group;
    }
    template <typename W> static void SetScrollArea(void *widget, VLScrollArea *area)
    {
        static_cast<W *>(widget)->scrollArea = area;
    }
    // The scroll area a widget lies in directly (radio buttons never do).
    template <typename W> static auto AreaOf(W *w) -> decltype(w->scrollArea) { return w->scrollArea; }
    static VLScrollArea *AreaOf(const void *) { return nullptr; }
    // The setter for classes that can lie in a scroll area (radio buttons cannot).
    template <typename W>
    static auto ScrollAreaSetter(W *w) -> decltype(w->scrollArea, (void (*)(void *, VLScrollArea *))nullptr)
    {
        return SetScrollArea<W>;
    }
    static void (*ScrollAreaSetter(const void *))(void *, VLScrollArea *) { return nullptr; }
    template <typename W> static void ClearWidget(void *widget) { static_cast<W *>(widget)->Clear(); }
    template <typename W> static void DrawWidget(void *widget) { static_cast<W *>(widget)->Draw(); }

private:
    // Only classes with an offscreen picture have the field; the others take the empty overload.
    template <typename W> static auto RenewOffscreen(W *w) -> decltype(w->offscreen, void())
    {
        if (w->offscreen)
            DeleteObject(w->offscreen);
        w->offscreen = CreateOffscreen(w->width, w->height);
    }
    static void RenewOffscreen(const void *) {}
};

// The skeleton operations every class has, forwarded to WidgetAccess. ignoreEmpty says whether
// SetBounds and SetSize refuse a width or height of 0.
#define VORLA_WIDGET_BOUNDS(Class, ignoreEmpty)                                                    \
    void Class::SetBounds(int x, int y, int width, int height)                                      \
    {                                                                                               \
        WidgetAccess::SetBounds(*this, x, y, width, height, ignoreEmpty);                          \
    }                                                                                               \
    void Class::SetSize(int width, int height) { WidgetAccess::SetSize(*this, width, height, ignoreEmpty); } \
    void Class::SetLocate(int x, int y) { WidgetAccess::SetLocate(*this, x, y); }                  \
    void Class::GetBounds(VLSTRect *bounds) { WidgetAccess::GetBounds(*this, bounds); }            \
    void Class::GetSize(VLSTSize *size) { WidgetAccess::GetSize(*this, size); }                    \
    void Class::GetLocate(VLSTPosition *position) { WidgetAccess::GetLocate(*this, position); }    \
    void Class::SetVisible(int shown) { visible = shown; }                                          \
    int Class::IsVisible() { return visible; }                                                      \
    VLWindow *Class::GetParentWindow() { return parentWindow; }                                     \
    void Class::Repaint() { WidgetAccess::Repaint(*this); }

// Construction, destruction and Clear of a class whose Initialise sets the defaults and whose
// Release frees what it owns.
// Code running after a callback learns through its guard that the widget was cleared or deleted.
#define VORLA_WIDGET_LIFETIME(Class)                                                               \
    Class::Class()                                                                                  \
    {                                                                                               \
        Initialise();                                                                               \
        WidgetAccess::Link(*this);                                                                  \
    }                                                                                               \
    Class::~Class()                                                                                 \
    {                                                                                               \
        LifeGuard::Destroy(this);                                                                   \
        Release();                                                                                  \
        WidgetAccess::Unlink(*this);                                                                \
    }                                                                                               \
    void Class::Clear()                                                                             \
    {                                                                                               \
        LifeGuard::End(this);                                                                       \
        Release();                                                                                  \
        Initialise();                                                                               \
    }

#define VORLA_WIDGET_TEXT(Class)                                                                   \
    void Class::SetText(const char *newText)                                                        \
    {                                                                                               \
        if (newText && text)                                                                        \
            StoreText(text, TextCapacity, newText);                                                 \
    }                                                                                               \
    void Class::GetText(char *buffer, int max) { CopyTextOut(text, buffer, max); }

#define VORLA_WIDGET_COLOURS(Class)                                                                \
    void Class::SetBackgroundColor(unsigned long colour) { backgroundColour = static_cast<unsigned int>(colour); } \
    unsigned long Class::GetBackgroundColor() { return backgroundColour; }                         \
    void Class::SetForegroundColor(unsigned long colour) { foregroundColour = static_cast<unsigned int>(colour); } \
    unsigned long Class::GetForegroundColor() { return foregroundColour; }

// The range of the classes that hold a position in it: a negative or empty range is refused.
#define VORLA_WIDGET_RANGE(Class)                                                                  \
    int Class::SetRange(int low, int high)                                                          \
    {                                                                                               \
        if (low < 0 || low >= high)                                                                 \
            return 0;                                                                               \
        minimum = low;                                                                              \
        maximum = high;                                                                             \
        return 1;                                                                                   \
    }                                                                                               \
    int Class::GetRange(int *low, int *high)                                                        \
    {                                                                                               \
        if (low)                                                                                    \
            *low = minimum;                                                                         \
        if (high)                                                                                   \
            *high = maximum;                                                                        \
        return 1;                                                                                   \
    }

// Attach...Event: a null function is refused and keeps the old callback.
template <typename Callback> int AttachCallback(Callback &slot, Callback callback)
{
    if (!callback)
        return 0;
    slot = callback;
    return 1;
}

#define VORLA_WIDGET_HINT(Class)                                                                   \
    void Class::SetHintText(const char *newText) { WidgetAccess::SetHintText(*this, newText); }    \
    void Class::SetHintFontSize(int size) { hintFontSize = size; }                                  \
    void Class::SetHintForegroundColor(unsigned long colour) { hintForegroundColour = static_cast<unsigned int>(colour); } \
    void Class::SetHintBackgroundColor(unsigned long colour) { hintBackgroundColour = static_cast<unsigned int>(colour); }

// The rows every widget class fills the same way: placement, drawing, clearing, bounds,
// visibility, the owning group and the hint.
template <typename W> WidgetKind SkeletonKind()
{
    WidgetKind kind;
    kind.place = WidgetAccess::Place<W>;
    kind.draw = WidgetAccess::DrawWidget<W>;
    kind.clear = WidgetAccess::ClearWidget<W>;
    kind.bounds = WidgetAccess::Bounds<W>;
    kind.visible = WidgetAccess::Visible<W>;
    kind.windowPosition = WidgetAccess::WindowPosition<W>;
    kind.setGroup = WidgetAccess::SetGroup<W>;
    kind.setScrollArea = WidgetAccess::ScrollAreaSetter(static_cast<W *>(nullptr));
    kind.hint = WidgetAccess::Hint<W>;
    return kind;
}

// The mouse rows of a class whose Input::Mouse(widget, code, x, y, inGroup) routes the pointer:
// straight in a window, and inside a group (where it also reports the hit result).
template <typename W, typename Input> void WindowMouseOf(void *widget, int code, int x, int y)
{
    Input::Mouse(*static_cast<W *>(widget), code, x, y, false);
}
template <typename W, typename Input> int GroupMouseOf(void *widget, int code, int x, int y)
{
    return Input::Mouse(*static_cast<W *>(widget), code, x, y, true);
}
