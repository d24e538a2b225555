// VLTab: a tab row over a body, drawn straight into the window; the selected page (a group) is
// drawn frameless in the body and takes the input.
#include "tab_access.h"

#include "skeleton.h"

#include "../core/child_list.h"
#include "../core/child_walk.h"
#include "../draw/surface_access.h"

#include <cstring>

namespace {

constexpr int MaxTabs = 16;
constexpr int NameCapacity = 64; // names of 64 bytes or more are refused

const WidgetKind &PageKind()
{
    return *KindOf(TypeGroup);
}

} // namespace

void VLTab::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    for (char *&name : names)
        name = new (std::nothrow) char[NameCapacity]();
    backgroundColour = NoColour;
    foregroundColour = 0xFF000000u;
    unselectedBackgroundColour = NoColour;
    unselectedForegroundColour = NoColour;
    visible = 1;
    x = y = width = height = 0;
    pages = nullptr;
    count = 0;
    selected = 0;
    focused = 0;
    focusShown = 0;
    selectCallback = nullptr;
}

// Every page returns to its constructed state, and with it every widget on it.
void VLTab::Release()
{
    ClearAndFree(pages);
    for (char *&name : names) {
        delete[] name;
        name = nullptr;
    }
}

VORLA_WIDGET_LIFETIME(VLTab)
VORLA_WIDGET_BOUNDS(VLTab, false)
VORLA_WIDGET_COLOURS(VLTab)

void VLTab::SetUnselectBackgroundColor(unsigned long colour) { unselectedBackgroundColour = static_cast<unsigned int>(colour); }
unsigned long VLTab::GetUnselectBackgroundColor() { return unselectedBackgroundColour; }
void VLTab::SetUnselectForegroundColor(unsigned long colour) { unselectedForegroundColour = static_cast<unsigned int>(colour); }
unsigned long VLTab::GetUnselectForegroundColor() { return unselectedForegroundColour; }
int VLTab::AttachSelectEvent(TabCallback callback) { return AttachCallback(selectCallback, callback); }
void VLTab::DetachSelectEvent() { selectCallback = nullptr; }
int VLTab::GetSelectTab() { return selected; }
int VLTab::GetTabCount() { return count; }

int VLTab::Add(const char *name, VLGroup *page)
{
    if (count >= MaxTabs || !name || !page || !names[count] || std::strlen(name) >= static_cast<size_t>(NameCapacity))
        return 0;
    // A tab on its own page, at any depth, would make every walk endless.
    if (ListHolds(PageKind().children(page), TypeTab, this))
        return 0;
    if (!EnsureList(pages))
        return 0;
    SetPageTab(*page, this);
    pages->Add(page, TypeGroup);
    std::strcpy(names[count], name);
    ++count;
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
    return 1;
}

int VLTab::GetTabName(int index, char *buffer, int max)
{
    if (index < 0 || index >= count || !buffer || max < 0 || !names[index] ||
        std::strlen(names[index]) > static_cast<size_t>(max))
        return 0;
    std::strcpy(buffer, names[index]);
    return 1;
}

// ---- drawing ----

struct TabInput {
    static VLTab &Of(void *widget) { return *static_cast<VLTab *>(widget); }

    static VLGroup *Page(VLTab &t, int index)
    {
        VLGroup *found = nullptr;
        int at = 0;
        ForEachChild(t.pages, false, [&](int, void *page, const WidgetKind &) {
            if (at++ == index)
                found = static_cast<VLGroup *>(page);
            return found == nullptr;
        });
        return found;
    }
    static VLGroup *SelectedPage(VLTab &t)
    {
        return t.count > 0 && t.selected >= 0 && t.selected < t.count ? Page(t, t.selected) : nullptr;
    }

    static void ResolveColours(VLTab &t)
    {
        if (t.backgroundColour == NoColour)
            t.backgroundColour = static_cast<unsigned int>(t.parentWindow->GetBackgroundColor());
        if (t.unselectedBackgroundColour == NoColour)
            t.unselectedBackgroundColour = TwoThirds(t.backgroundColour);
        if (t.unselectedForegroundColour == NoColour)
            t.unselectedForegroundColour = Half(t.unselectedBackgroundColour);
    }

    static void Line(VLTab &t, long long x1, long long y1, long long x2, long long y2, unsigned int colour)
    {
        t.VLGraphics::SetForegroundColor(colour);
        t.DrawLine(Clamped(x1), Clamped(y1), Clamped(x2), Clamped(y2), 1);
    }

    // The tab row: each tab's shape, edges and name; the selected one open to the body.
    static void DrawRow(VLTab &t)
    {
        const long long T = t.windowY;
        long long left = t.windowX;
        for (int i = 0; i < t.count; ++i) {
            const char *name = t.names[i] ? t.names[i] : "";
            const long long textWidth = t.GetTextWidth(name), right = left + textWidth + 12;
            const bool chosen = i == t.selected;
            const unsigned int face = chosen ? t.backgroundColour : t.unselectedBackgroundColour;
            if (chosen) {
                t.VLGraphics::SetForegroundColor(face);
                t.DrawFillRect(Clamped(left + 1), Clamped(T + 15), Clamped(left + textWidth + 12), Clamped(T + 17));
            }
            VLSTPosition shape[5] = {{Clamped(left), Clamped(T)},
                                     {Clamped(right - 5), Clamped(T)},
                                     {Clamped(right - 1), Clamped(T + 4)},
                                     {Clamped(right - 1), Clamped(T + 15)},
                                     {Clamped(left), Clamped(T + 15)}};
            t.VLGraphics::SetForegroundColor(face);
            t.DrawFillPolygon(shape, 5);
            Line(t, left, T, right - 5, T, 0xFFFFFFFFu);
            Line(t, left, T, left, T + 15, 0xFFFFFFFFu);
            Line(t, right - 5, T, right - 1, T + 4, 0xFF404040u);
            Line(t, right - 1, T + 4, right - 1, T + 15, 0xFF404040u);
            if (!chosen)
                Line(t, left, T + 15, right - 1, T + 15, 0xFF808080u);
            Line(t, right, T + 5, right, T + 15, 0xFF000000u);
            if (!chosen) {
                t.VLGraphics::SetForegroundColor(t.unselectedForegroundColour);
                t.DrawBoxText(Clamped(left + 1), Clamped(T + 3), Clamped(right - 1), Clamped(T + 15), name, 2);
            } else {
                if (t.focused) {
                    t.VLGraphics::SetForegroundColor(0xFF000000u);
                    t.DrawRect(Clamped(left + 4), Clamped(T + 2), Clamped(right - 6), Clamped(T + 14), 2);
                }
                t.VLGraphics::SetForegroundColor(t.foregroundColour);
                t.DrawBoxText(Clamped(left + 1), Clamped(T + 2), Clamped(right - 1), Clamped(T + 15), name, 2);
            }
            left = right + 1;
        }
    }

    // Paints through the window's context; only the row when whole is false.
    static void Paint(VLTab &t, bool whole)
    {
        if (t.width == 0 || t.height == 0 || !t.visible || !t.parentWindow)
            return;
        ResolveColours(t);
        t.parentWindow->BeginPaint();
        HDC context = WindowInternals::Context(*t.parentWindow);
        if (!context) {
            t.parentWindow->EndPaint();
            return;
        }
        SurfaceAccess::SetTarget(t, context);
        if (whole) {
            const int L = t.windowX, T = t.windowY, R = Edge(L, t.width), B = Edge(T, t.height);
            t.VLGraphics::SetForegroundColor(t.backgroundColour);
            t.DrawFillRect(L, T + 16, R, B);
            Line(t, L, T + 16, R - 1, T + 16, 0xFFFFFFFFu);
            Line(t, L, T + 16, L, B - 1, 0xFFFFFFFFu);
            Line(t, R, T + 16, R, B, 0xFF404040u);
            Line(t, L, B, R, B, 0xFF404040u);
            Line(t, R - 1, T + 16, R - 1, B - 1, 0xFF808080u);
            Line(t, L, B - 1, R - 1, B - 1, 0xFF808080u);
        }
        DrawRow(t);
        SurfaceAccess::SetTarget(t, nullptr);
        if (whole) {
            if (VLGroup *page = SelectedPage(t)) {
                page->SetMode(0); // pages are always drawn without a frame
                PageKind().draw(page);
            }
        }
        t.parentWindow->EndPaint();
    }

    // The tab under a window point, -1 for none (the gaps between tabs hit nothing). The names
    // are measured in the window's context, as they are drawn.
    static int TabAt(VLTab &t, int px, int py)
    {
        HDC context = WindowInternals::Context(*t.parentWindow);
        if (t.count == 0 || !context || WindowInternals::DropDownOpen(*t.parentWindow))
            return -1;
        SurfaceAccess::SetTarget(t, context);
        const int index = TabUnder(t, px, py);
        SurfaceAccess::SetTarget(t, nullptr);
        return index;
    }
    static int TabUnder(VLTab &t, int px, int py)
    {
        if (py < t.windowY || static_cast<long long>(py) > static_cast<long long>(t.windowY) + 15 || px < t.windowX)
            return -1;
        long long left = t.windowX;
        for (int i = 0; i < t.count; ++i) {
            const long long right = left + (t.names[i] ? t.GetTextWidth(t.names[i]) : 0) + 12;
            if (px >= left && px < right)
                return i;
            left = right + 1;
        }
        return -1;
    }

    static void ClearPages(VLTab &t)
    {
        ForEachChild(t.pages, false, [](int, void *page, const WidgetKind &kind) {
            if (kind.clearFocus)
                kind.clearFocus(page);
            return true;
        });
    }

    // Selects a tab and reports a change; false when the callback ended the tab.
    static bool Choose(VLTab &t, int index)
    {
        const int old = t.selected;
        t.selected = index;
        ClearPages(t);
        t.focused = 1;
        WindowInternals::SetFocusedWidget(*t.parentWindow, TypeTab, &t);
        t.Draw();
        if (index == old || !t.selectCallback)
            return true;
        LifeGuard alive(&t);
        t.selectCallback(&t);
        return !alive.Ended();
    }

    static int MouseInput(VLTab &t, int code, int px, int py)
    {
        if (!t.parentWindow || !t.visible || t.count == 0 || t.selected >= t.count ||
            !WindowInternals::Context(*t.parentWindow))
            return 0;
        bool onTab = false;
        if (code == 300) {
            t.focused = 0;
            const int index = TabAt(t, px, py);
            if (index >= 0) {
                onTab = true;
                if (index != t.selected) {
                    if (!Choose(t, index))
                        return 1;
                } else {
                    ClearPages(t);
                    t.focused = 1;
                    WindowInternals::SetFocusedWidget(*t.parentWindow, TypeTab, &t);
                    if (t.focused != t.focusShown)
                        Paint(t, false);
                }
            } else if (t.focused != t.focusShown) {
                Paint(t, false); // the focus mark goes
            }
        }
        if (!onTab && t.parentWindow) {
            if (VLGroup *page = SelectedPage(t)) {
                LifeGuard alive(&t);
                PageKind().mouseInGroup(page, code, px, py);
                if (alive.Ended())
                    return 1;
            }
        }
        t.focusShown = t.focused;
        return 1;
    }

    // ---- the window's rows ----
    static void Place(void *widget, VLWindow *window, int originX, int originY)
    {
        VLTab &t = Of(widget);
        WidgetAccess::Place<VLTab>(widget, window, originX, originY);
        const int pageX = Edge(t.windowX, 4), pageY = Edge(t.windowY, 20);
        ForEachChild(t.pages, false, [&](int, void *page, const WidgetKind &kind) {
            kind.place(page, window, pageX, pageY);
            return true;
        });
    }
    static void WindowMouse(void *widget, int code, int px, int py) { MouseInput(Of(widget), code, px, py); }
    static int GroupMouse(void *widget, int code, int px, int py) { return MouseInput(Of(widget), code, px, py); }
    static bool PressHits(void *widget, int px, int py)
    {
        VLTab &t = Of(widget);
        return t.visible && InsideExcluding(VLSTRect{t.windowX, t.windowY, t.width, t.height}, px, py);
    }
    static bool HasFocus(void *widget) { return Of(widget).focused != 0; }
    static void LoseFocus(void *widget)
    {
        VLTab &t = Of(widget);
        if (!t.focused)
            return;
        t.focused = 0;
        Paint(t, false);
    }
    static void ClearFocus(void *widget)
    {
        VLTab &t = Of(widget);
        ClearPages(t);
        if (t.focused) {
            t.focused = 0;
            t.Repaint();
        }
    }
    // The tab row takes the focus when it is handed on; holding it, it hands it into its page.
    static int FocusNext(void *widget, int state)
    {
        VLTab &t = Of(widget);
        VLGroup *page = SelectedPage(t);
        const bool shown = t.visible && t.parentWindow && GroupsShowing(t.group);
        if (state == 1 && shown) {
            t.focused = 1;
            WindowInternals::SetFocusedWidget(*t.parentWindow, TypeTab, &t);
            Paint(t, false);
            return 2;
        }
        if (t.focused) {
            t.focused = 0;
            Paint(t, false);
            state = 1;
        }
        return page ? PageKind().focusNext(page, state) : state;
    }
    static bool Arrow(void *widget, int key)
    {
        VLTab &t = Of(widget);
        if (!t.visible)
            return false;
        if (t.focused && (key == 0xF20000 || key == 0xF20001)) {
            const int next = t.selected + (key == 0xF20000 ? -1 : 1);
            if (next >= 0 && next < t.count)
                t.SelectTab(next);
            return true; // at either end the key is still the row's
        }
        return OfferToChildren(t.pages, false, [&](int, void *page, const WidgetKind &kind) {
            return kind.arrow && kind.arrow(page, key);
        });
    }
    static bool Activate(void *widget, int focusedType)
    {
        VLTab &t = Of(widget);
        if (!t.visible)
            return false;
        return OfferToChildren(t.pages, false, [&](int, void *page, const WidgetKind &kind) {
            return kind.activate && kind.activate(page, focusedType);
        });
    }
    static VLChildList *Pages(void *widget) { return Of(widget).pages; }
};

void VLTab::Draw()
{
    TabInput::Paint(*this, true);
}

int VLTab::SelectTab(int index)
{
    if (index < 0 || index >= count || !parentWindow)
        return 0;
    TabInput::Choose(*this, index);
    return 1;
}

bool TabAccess::ShowsPage(VLTab &tab, const VLGroup *page)
{
    return tab.visible && TabInput::SelectedPage(tab) == page;
}

unsigned int TabAccess::PageBackground(VLTab &tab, VLWindow *window)
{
    if (tab.backgroundColour != NoColour)
        return tab.backgroundColour;
    return window ? static_cast<unsigned int>(window->GetBackgroundColor()) : 0;
}

extern const WidgetKind TabKind = [] {
    WidgetKind kind; // the skeleton's rows but the hint: the tab has none, its page's widgets do
    kind.draw = WidgetAccess::DrawWidget<VLTab>;
    kind.clear = WidgetAccess::ClearWidget<VLTab>;
    kind.bounds = WidgetAccess::Bounds<VLTab>;
    kind.visible = WidgetAccess::Visible<VLTab>;
    kind.windowPosition = WidgetAccess::WindowPosition<VLTab>;
    kind.setGroup = WidgetAccess::SetGroup<VLTab>;
    kind.place = TabInput::Place;
    kind.mouse = TabInput::WindowMouse;
    kind.mouseInGroup = TabInput::GroupMouse;
    kind.pressHits = TabInput::PressHits;
    kind.hasFocus = TabInput::HasFocus;
    kind.loseFocus = TabInput::LoseFocus;
    kind.clearFocus = TabInput::ClearFocus;
    kind.focusNext = TabInput::FocusNext;
    kind.arrow = TabInput::Arrow;
    kind.activate = TabInput::Activate;
    kind.children = TabInput::Pages;
    kind.shownChildren = TabInput::Pages; // pages other than the selected one count as hidden
    kind.setScrollArea = WidgetAccess::SetScrollArea<VLTab>;
    return kind;
}();
