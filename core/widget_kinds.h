// What windows and containers do with a widget of each type code. Widgets are flat classes
// without virtual operations, so every walk over a child list dispatches through this table;
// each widget class supplies its row next to its own code.
#pragma once

#include "vorla/VLWindow.h"

struct WidgetKind {
    // The placement pass: the widget takes the window and its window position, which is its own
    // position added to the container's origin (0, 0 for a window).
    void (*place)(void *widget, VLWindow *window, int originX, int originY) = nullptr;
    // Paints the widget into its window (the window's paint pass and the containers call it).
    void (*draw)(void *widget) = nullptr;
    // Returns the widget to its constructed state (the window's teardown).
    void (*clear)(void *widget) = nullptr;
    // Position relative to the container, and size.
    void (*bounds)(void *widget, VLSTRect &out) = nullptr;
    bool (*visible)(void *widget) = nullptr;
    // Window position, as the last placement pass set it.
    void (*windowPosition)(void *widget, int &x, int &y) = nullptr;

    // ---- mouse and key routing; null where the class takes no part ----
    // The class's own mouse input for event code 300, 301 or 302 at a window point.
    void (*mouse)(void *widget, int code, int x, int y) = nullptr;
    // Whether a press at the window point lands on this widget as an interactive one.
    bool (*pressHits)(void *widget, int x, int y) = nullptr;
    // Enter or space while the window's focused widget has type focusedType; true when it acted.
    bool (*activate)(void *widget, int focusedType) = nullptr;

    // ---- keyboard focus ----
    bool (*hasFocus)(void *widget) = nullptr;
    // Whether focus navigation may give the widget the focus now.
    bool (*eligible)(void *widget) = nullptr;
    void (*gainFocus)(void *widget) = nullptr;
    // Drops the focus if the widget holds it, and redraws it then.
    void (*loseFocus)(void *widget) = nullptr;
    // Containers: their part of the window's NextFocus (navigation state in and out) and of
    // AllFocusClear.
    int (*focusNext)(void *widget, int state) = nullptr;
    void (*clearFocus)(void *widget) = nullptr;

    // ---- containers ----
    // The widget's link to the group that holds it, and to the scroll area that holds it.
    void (*setGroup)(void *widget, VLGroup *group) = nullptr;
    void (*setScrollArea)(void *widget, VLScrollArea *area) = nullptr;
    // A container's own child list (null for other widgets, or an empty container).
    VLChildList *(*children)(void *widget) = nullptr;
    // The child list whose widgets are shown inside the container and take the pointer, hints
    // and typed text; null where the children are only kept (a scroll area's).
    VLChildList *(*shownChildren)(void *widget) = nullptr;
    // Mouse input inside a group: both edges count as inside and the widget repaints through its
    // group. Returns 1 when the widget reacted to the pointer, 0 when it went back to its normal
    // or hot look, -1 when the event left the hit result alone.
    int (*mouseInGroup)(void *widget, int code, int x, int y) = nullptr;
    // The pointer left the group the widget lies in (offsets: the group's window position).
    void (*leave)(void *widget, int offsetX, int offsetY) = nullptr;
    // An arrow key for a container; true when something handled it.
    bool (*arrow)(void *widget, int key) = nullptr;
    // A timer tick while the left button is down, the pointer at a window point: a widget with a
    // part held down repeats it.
    void (*held)(void *widget, int x, int y) = nullptr;
    // A turn of the mouse wheel (WHEEL_DELTA a notch) with the pointer at a window point; true
    // when the widget scrolled.
    bool (*wheel)(void *widget, int x, int y, int delta) = nullptr;

    // ---- text input ----
    // The edit box that takes keys and input-method results for this widget while it is
    // focused; null when none does.
    VLEditBox *(*focusedEditBox)(void *widget) = nullptr;

    // ---- tool hints ----
    // The widget's hint text (empty for none) and its colours and font size.
    const char *(*hint)(void *widget, unsigned int &foreground, unsigned int &background, int &fontSize) = nullptr;
};

// The widget's rectangle in window coordinates (its window position and size); false for a kind
// that cannot tell.
inline bool WindowBox(const WidgetKind &kind, void *widget, VLSTRect &box)
{
    if (!kind.bounds || !kind.windowPosition)
        return false;
    kind.bounds(widget, box);
    kind.windowPosition(widget, box.x, box.y);
    return true;
}

// Window coordinates of widgets are kept within +-2^29, far beyond any surface, so that a widget's
// edges and the few pixels its drawing adds to them never leave the int range.
constexpr long long CoordinateLimit = 1LL << 29;
inline int Clamped(long long value)
{
    return static_cast<int>(value < -CoordinateLimit ? -CoordinateLimit : value > CoordinateLimit ? CoordinateLimit : value);
}
// An edge: a start and a length, clamped the same way.
inline int Edge(int start, int length)
{
    return Clamped(static_cast<long long>(start) + length);
}

// Whether a point lies in a box: with the right and bottom edges outside, or inside. Computed
// wide, so boxes reaching the end of the int range do not wrap.
inline bool InsideExcluding(const VLSTRect &box, int x, int y)
{
    return x >= box.x && y >= box.y && static_cast<long long>(x) < static_cast<long long>(box.x) + box.width &&
           static_cast<long long>(y) < static_cast<long long>(box.y) + box.height;
}
inline bool InsideIncluding(const VLSTRect &box, int x, int y)
{
    return x >= box.x && y >= box.y && static_cast<long long>(x) <= static_cast<long long>(box.x) + box.width &&
           static_cast<long long>(y) <= static_cast<long long>(box.y) + box.height;
}

// The row of a type code; null for codes no widget class has (or whose class is not built).
const WidgetKind *KindOf(int typeCode);

// Type codes of the widget classes.
enum WidgetType {
    TypeNone = 0,
    TypeLabel = 2,
    TypePushButton = 3,
    TypeEditBox = 4,
    TypeGroup = 5,
    TypeProgressBar = 6,
    TypeCheckBox = 7,
    TypeRadioButton = 8,
    TypeSlider = 9,
    TypeTab = 10,
    TypeComboBox = 11,
    TypeSpin = 12,
    TypeSpinEditBox = 13,
    TypeImage = 14,
    TypeColor = 15,
    TypeButton = 16,
    TypeListBox = 17,
    TypeScrollArea = 18,
};
