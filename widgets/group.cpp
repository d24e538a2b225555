// VLGroup: a framed, titled container that places, clips, paints and routes its own widgets, and
// keeps at most one of its radio buttons selected.
#include "button_parts.h"
#include "mark_parts.h"
#include "tab_access.h"

#include "../core/child_walk.h"

#include <new>

namespace {

constexpr unsigned int FrameBlue = 0xFF1C1C80u;

} // namespace

struct GroupAccess {
    static VLGroup &Of(void *widget) { return *static_cast<VLGroup *>(widget); }
    static VLGroup *OwnerOf(VLGroup &g) { return g.group; }
    static void Position(VLGroup &g, int &left, int &top)
    {
        left = g.windowX;
        top = g.windowY;
    }

    template <typename Visit> static void ForEachRadio(VLGroup &g, Visit visit)
    {
        ForEachChild(g.children, false, [&](int type, void *widget, const WidgetKind &) {
            return type == TypeRadioButton ? visit(*static_cast<VLRadioButton *>(widget)) : true;
        });
    }

    static void Place(void *widget, VLWindow *window, int originX, int originY)
    {
        VLGroup &g = Of(widget);
        WidgetAccess::Place<VLGroup>(widget, window, originX, originY);
        ForEachChild(g.children, false, [&](int, void *child, const WidgetKind &kind) {
            if (kind.place)
                kind.place(child, window, g.windowX, g.windowY);
            return true;
        });
    }

    static void Draw(VLGroup &g)
    {
        if (g.width == 0 || g.height == 0 || !g.visible || !g.parentWindow)
            return;
        g.parentWindow->BeginPaint();
        HDC context = WindowInternals::Context(*g.parentWindow);
        if (!context) {
            g.parentWindow->EndPaint();
            return;
        }
        const int l = g.windowX, t = g.windowY, r = Edge(l, g.width), b = Edge(t, g.height);
        SurfaceAccess::SetTarget(g, context);
        if (g.backMode == 1)
            ButtonAccess::Fill(g, l, t, r, b, g.backgroundColour);
        if (g.mode == 2) {
            ButtonAccess::Frame(g, l + 1, t + 11, r + 1, b + 1, White);
            ButtonAccess::Frame(g, l, t + 10, r, b, FrameBlue);
            const int titleWidth = g.text && *g.text ? g.GetTextWidth(g.text) : 0;
            ButtonAccess::Fill(g, l + 8, t, l + 16 + titleWidth, t + 20,
                               g.backMode == 1 ? g.backgroundColour : ContainerBackground(g.parentWindow, g.group, WidgetAccess::AreaOf(&g)));
            ButtonAccess::Text(g, g.text, g.foregroundColour, l + 12, t, r, t + 20);
        } else if (g.mode == 1) {
            ButtonAccess::Frame(g, l + 1, t + 1, r + 1, b + 1, White);
            ButtonAccess::Frame(g, l, t, r, b, FrameBlue);
        }
        SurfaceAccess::SetTarget(g, nullptr);
        {
            ClipScope clip(context, l, t, r, b);
            ForEachChild(g.children, false, [&](int type, void *child, const WidgetKind &kind) {
                if (kind.draw)
                    kind.draw(child);
                // A child group put back the clip of its own start.
                if (type == TypeGroup)
                    IntersectClipRect(context, l, t, r, b);
                return true;
            });
        }
        g.parentWindow->EndPaint();
    }

    // Routes a mouse event to the children, last added first; returns the hit result.
    static int MouseInput(VLGroup &g, int code, int px, int py)
    {
        // A hidden group's widgets cannot be seen, so they take no input either.
        if (!g.parentWindow || !g.visible)
            return 0;
        // Callbacks inside may clear or delete the group or its window: the context is given
        // back through the window as long as the window is there.
        VLWindow *window = g.parentWindow;
        LifeGuard windowAlive(window);
        window->BeginPaint();
        int hit = 0;
        {
            bool radioTaken = false;
            ForEachChild(g.children, true, [&](int type, void *child, const WidgetKind &kind) {
                switch (type) {
                case TypeRadioButton:
                    if (!radioTaken && RadioMouse(g, *static_cast<VLRadioButton *>(child), code, px, py)) {
                        radioTaken = true;
                        hit = 1;
                    }
                    break;
                case TypeLabel: {
                    VLSTRect box;
                    if (kind.visible(child) && WindowBox(kind, child, box) &&
                        !WindowInternals::DropDownOpen(*g.parentWindow) && InsideIncluding(box, px, py))
                        hit = 1;
                    break;
                }
                case TypeGroup: {
                    VLGroup &inner = Of(child);
                    LifeGuard innerAlive(&inner), groupAlive(&g);
                    hit = MouseInput(inner, code, px, py);
                    if (innerAlive.Ended() || groupAlive.Ended())
                        return false;
                    if (!InsideBothEdges(inner, px, py))
                        LeaveMouse(inner, g.windowX, g.windowY);
                    break;
                }
                default:
                    if (kind.mouseInGroup) {
                        const int result = kind.mouseInGroup(child, code, px, py);
                        if (result >= 0)
                            hit = result;
                    }
                    break;
                }
                return true;
            });
        }
        if (!windowAlive.Ended())
            window->EndPaint();
        return hit;
    }

    static bool InsideBothEdges(VLGroup &g, int px, int py)
    {
        return px >= g.windowX && px <= Edge(g.windowX, g.width) && py >= g.windowY && py <= Edge(g.windowY, g.height);
    }

    static bool RadioMouse(VLGroup &g, VLRadioButton &radio, int code, int px, int py)
    {
        if (!MarkAccess::Takes(radio) || !MarkAccess::Over(radio, px, py))
            return false;
        if (code == 300) {
            radio.focused = 1;
            LifeGuard groupAlive(&g);
            SelectRadioButton(g, &radio);
            // The group's callback may have taken the button out of the group, or ended it all.
            if (!groupAlive.Ended() && g.parentWindow && g.children && g.children->Find(&radio, TypeRadioButton) >= 0)
                WindowInternals::SetFocusedWidget(*g.parentWindow, TypeRadioButton, &radio);
        }
        return true;
    }

    // The pointer is not over the group: pressed or hot push buttons inside go back to normal.
    static void LeaveMouse(VLGroup &g, int offsetX, int offsetY)
    {
        if (!g.parentWindow)
            return;
        const int left = Edge(offsetX, g.x), top = Edge(offsetY, g.y);
        g.parentWindow->BeginPaint();
        {
            ForEachChild(g.children, true, [&](int type, void *child, const WidgetKind &kind) {
                if (type == TypeGroup)
                    LeaveMouse(Of(child), left, top);
                else if (kind.leave)
                    kind.leave(child, left, top);
                return true;
            });
        }
        g.parentWindow->EndPaint();
    }

    static void SelectRadioButton(VLGroup &g, VLRadioButton *given)
    {
        if (!given || !g.parentWindow)
            return;
        g.parentWindow->BeginPaint();
        {
            bool focusInGroup = false;
            ForEachRadio(g, [&](VLRadioButton &radio) {
                if (radio.focused && WindowInternals::FocusedWidget(*g.parentWindow) == &radio)
                    focusInGroup = true;
                return true;
            });
            ForEachRadio(g, [&](VLRadioButton &radio) {
                if (&radio != given) {
                    if (radio.selected) {
                        radio.selected = 0;
                        if (focusInGroup)
                            radio.focused = 0;
                        radio.Repaint();
                    }
                } else if (!radio.selected) {
                    radio.selected = 1;
                    if (focusInGroup)
                        radio.focused = 1;
                    radio.Repaint();
                    if (focusInGroup)
                        WindowInternals::SetFocusedWidget(*g.parentWindow, TypeRadioButton, &radio);
                } else if (radio.focused) {
                    radio.Repaint();
                }
                return true;
            });
        }
        g.parentWindow->EndPaint();
        if (g.radioSelectCallback)
            g.radioSelectCallback(&g);
    }

    static bool Activate(void *widget, int focusedType)
    {
        if (!Of(widget).visible)
            return false;
        bool acted = false;
        ForEachChild(Of(widget).children, false, [&](int, void *child, const WidgetKind &kind) {
            acted = kind.activate && kind.activate(child, focusedType);
            return !acted;
        });
        return acted;
    }

    static bool Arrow(void *widget, int key)
    {
        VLGroup &g = Of(widget);
        if (!g.visible)
            return false;
        bool handled = false;
        ForEachChild(g.children, false, [&](int type, void *child, const WidgetKind &kind) {
            if (type == TypeRadioButton) {
                VLRadioButton &radio = *static_cast<VLRadioButton *>(child);
                if (radio.focused && radio.enabled) {
                    MoveRadioSelection(g, radio, key == 0xF20000 || key == 0xF20002 ? -1 : 1);
                    handled = true;
                }
            } else if (kind.arrow) {
                handled = kind.arrow(child, key);
            }
            return !handled;
        });
        return handled;
    }

    // Selects the previous or next enabled, visible radio button of the group; none past the ends.
    static void MoveRadioSelection(VLGroup &g, VLRadioButton &from, int step)
    {
        std::vector<VLRadioButton *> radios;
        ForEachRadio(g, [&](VLRadioButton &radio) {
            if (radio.enabled && radio.visible)
                radios.push_back(&radio);
            return true;
        });
        for (size_t i = 0; i < radios.size(); ++i)
            if (radios[i] == &from) {
                const long next = static_cast<long>(i) + step;
                if (next >= 0 && next < static_cast<long>(radios.size()))
                    SelectRadioButton(g, radios[static_cast<size_t>(next)]);
                return;
            }
    }

    static int FocusNext(void *widget, int state)
    {
        VLGroup &g = Of(widget);
        // In a hidden group a focused widget still gives the focus up, but none takes it; a
        // cleared group has no window until the next placement pass, and is not shown either.
        const bool shown = g.parentWindow && GroupsShowing(&g);
        bool radioLeft = false;
        ForEachChild(g.children, false, [&](int type, void *child, const WidgetKind &kind) {
            if (type == TypeRadioButton) {
                VLRadioButton &radio = *static_cast<VLRadioButton *>(child);
                if (radio.focused) {
                    radio.focused = 0;
                    radio.Repaint();
                    state = 1;
                    radioLeft = true; // the group's radio buttons are one stop
                } else if (shown && state == 1 && !radioLeft && radio.selected && radio.enabled && radio.visible) {
                    radio.focused = 1;
                    WindowInternals::SetFocusedWidget(*g.parentWindow, TypeRadioButton, &radio);
                    radio.Repaint();
                    state = 2;
                    if (g.radioSelectCallback)
                        g.radioSelectCallback(&g);
                }
            } else {
                state = WindowInternals::FocusStep(g.parentWindow, shown, type, child, kind, state);
            }
            return state != 2;
        });
        return state;
    }

    static void ClearFocus(void *widget)
    {
        ForEachChild(Of(widget).children, false, [&](int type, void *child, const WidgetKind &kind) {
            if (type == TypeRadioButton) {
                VLRadioButton &radio = *static_cast<VLRadioButton *>(child);
                if (radio.focused) {
                    radio.focused = 0;
                    radio.Repaint();
                }
            } else {
                WindowInternals::ClearFocusOf(child, kind);
            }
            return true;
        });
    }

    // The window's routing row: the group's own routing, then the leave reset when the pointer
    // is not over it.
    static void WindowMouse(void *widget, int code, int px, int py)
    {
        VLGroup &g = Of(widget);
        LifeGuard alive(&g);
        MouseInput(g, code, px, py);
        if (!alive.Ended() && !InsideBothEdges(g, px, py))
            LeaveMouse(g, 0, 0);
    }

    static bool PressHits(void *widget, int px, int py)
    {
        if (!Of(widget).visible)
            return false;
        bool hit = false;
        ForEachChild(Of(widget).children, false, [&](int, void *child, const WidgetKind &kind) {
            hit = kind.pressHits && kind.pressHits(child, px, py);
            return !hit;
        });
        return hit;
    }

    static void DrawWidget(void *widget) { Draw(Of(widget)); }
    static VLChildList *Children(void *widget) { return Of(widget).children; }
    static void SetGroup(void *widget, VLGroup *owner) { Of(widget).group = owner; }
    static void SetTab(VLGroup &g, VLTab *tab) { g.tab = tab; }
    static VLTab *TabOf(const VLGroup &g) { return g.tab; }
    static VLScrollArea *AreaOf(const VLGroup &g) { return g.scrollArea; }
    // A tab's page counts as visible only while its tab shows it.
    static bool Visible(void *widget)
    {
        VLGroup &g = Of(widget);
        return g.visible && (!g.tab || TabAccess::ShowsPage(*g.tab, &g));
    }
};

// ---- the group-showing test and the container's colour, which every widget's drawing uses ----

static void GroupWidgetPosition(VLGroup *g, int &left, int &top)
{
    GroupAccess::Position(*g, left, top);
}

// Visits a group and the groups above it, nearest first, until visit returns false. A removed
// group keeps its link to the group it was in, so the links can come round in a circle (A taken
// out of B, then B put into A): the walk ends when it comes back to a group it has seen.
template <typename Visit> static void ForEachOwner(VLGroup *group, Visit visit)
{
    VLGroup *slow = group;
    bool step = false;
    for (VLGroup *g = group; g; g = GroupAccess::OwnerOf(*g)) {
        if (!visit(g))
            return;
        if (step) {
            slow = GroupAccess::OwnerOf(*slow);
            if (slow == GroupAccess::OwnerOf(*g))
                return; // the next one was seen already
        }
        step = !step;
    }
}

// The group at the top of a widget's chain of groups.
static VLGroup *TopGroup(VLGroup *group)
{
    VLGroup *top = nullptr;
    ForEachOwner(group, [&](VLGroup *g) {
        top = g;
        return true;
    });
    return top;
}

void SetPageTab(VLGroup &page, VLTab *tab)
{
    GroupAccess::SetTab(page, tab);
}

VLTab *PageTab(const VLGroup &page)
{
    return GroupAccess::TabOf(page);
}

// Tabs lie in groups and groups on tabs' pages: the walks up go from a page to its tab's groups,
// as far as this many tabs (links left behind by removed widgets could otherwise lead round in
// a circle).
constexpr int TabHops = 32;

static bool ClipThrough(VLGroup *group, RECT &area, int hops)
{
    bool any = false;
    // A page's widgets are clipped by the groups the tab lies in as well.
    VLTab *tab = group ? PageTab(*TopGroup(group)) : nullptr;
    if (tab && TabAccess::OwningGroup(*tab) && hops < TabHops &&
        ClipThrough(TabAccess::OwningGroup(*tab), area, hops + 1))
        any = true;
    // The groups at the top of a scrolling area, and the pages of a tab in one, are clipped to
    // its view.
    RECT view;
    VLScrollArea *scroller = group ? GroupAccess::AreaOf(*TopGroup(group)) : nullptr;
    if (tab && !scroller)
        scroller = TabAccess::OwningArea(*tab);
    if (ScrollAreaView(scroller, view)) {
        if (any)
            IntersectRect(&area, &area, &view);
        else
            area = view;
        any = true;
    }
    ForEachOwner(group, [&](VLGroup *g) {
        VLSTRect bounds;
        g->GetBounds(&bounds);
        int left = 0, top = 0;
        GroupWidgetPosition(g, left, top);
        const RECT own = {left, top, Edge(left, bounds.width), Edge(top, bounds.height)};
        if (!any) {
            area = own;
            any = true;
        } else {
            IntersectRect(&area, &area, &own);
        }
        return true;
    });
    return any;
}

bool GroupsClip(VLGroup *group, RECT &area)
{
    return ClipThrough(group, area, 0);
}

static bool ShowingThrough(VLGroup *group, int hops)
{
    bool shown = true; // each group up the chain must be shown
    ForEachOwner(group, [&](VLGroup *g) { return shown = g->IsVisible() != 0; });
    // A tab's page shows only while it is the selected page of a tab that shows.
    if (shown && group) {
        VLGroup *top = TopGroup(group);
        if (VLScrollArea *area = GroupAccess::AreaOf(*top))
            shown = ScrollAreaShowing(area);
        if (VLTab *tab = PageTab(*top))
            shown = hops < TabHops && TabAccess::ShowsPage(*tab, top) &&
                    (!TabAccess::OwningArea(*tab) || ScrollAreaShowing(TabAccess::OwningArea(*tab))) &&
                    ShowingThrough(TabAccess::OwningGroup(*tab), hops + 1);
    }
    return shown;
}

bool GroupsShowing(VLGroup *group)
{
    return ShowingThrough(group, 0);
}

unsigned int ContainerBackground(VLWindow *window, VLGroup *group, VLScrollArea *area)
{
    if (!window)
        return 0;
    unsigned int colour = static_cast<unsigned int>(window->GetBackgroundColor());
    bool found = false;
    ForEachOwner(group, [&](VLGroup *g) {
        if (g->GetBackMode() == 0)
            return true;
        colour = static_cast<unsigned int>(g->GetBackgroundColor());
        found = true;
        return false;
    });
    // Without a coloured group, a tab's page stands on the tab's body, and the widgets of a
    // scrolling area on its interior.
    if (!found && group) {
        VLGroup *top = TopGroup(group);
        if (VLTab *tab = PageTab(*top))
            colour = TabAccess::PageBackground(*tab, window);
        area = GroupAccess::AreaOf(*top);
    }
    if (!found && ScrollAreaShowing(area))
        colour = static_cast<unsigned int>(area->GetBackgroundColor());
    return colour;
}

// ---- the group's own operations ----

void VLGroup::Initialise()
{
    parentWindow = nullptr;
    group = nullptr;
    scrollArea = nullptr;
    tab = nullptr;
    windowX = windowY = 0;
    text = new (std::nothrow) char[TextCapacity]();
    x = y = width = height = 0;
    backgroundColour = 0xFFFFFFFFu;
    foregroundColour = 0xFF000000u;
    backMode = 0;
    visible = 1;
    mode = 2;
    children = nullptr;
    radioSelectCallback = nullptr;
}

// Every child returns to its constructed state (nested groups clear theirs in turn).
void VLGroup::Release()
{
    ClearAndFree(children);
    delete[] text;
    text = nullptr;
}

VORLA_WIDGET_LIFETIME(VLGroup)

VORLA_WIDGET_BOUNDS(VLGroup, false)
VORLA_WIDGET_TEXT(VLGroup)
VORLA_WIDGET_COLOURS(VLGroup)

void VLGroup::SetMode(int value) { mode = value; }
int VLGroup::GetMode() { return mode; }
void VLGroup::SetBackMode(int value) { backMode = value; }
int VLGroup::GetBackMode() { return backMode; }

void VLGroup::Draw()
{
    GroupAccess::Draw(*this);
}

void VLGroup::AddChild(int type, void *widget)
{
    const WidgetKind *kind = KindOf(type);
    if (!widget || !kind)
        return;
    // A group inside itself, at any depth (a tab's pages count), would make every walk endless.
    if ((type == TypeGroup || type == TypeTab) &&
        (widget == this || ListHolds(kind->children(widget), TypeGroup, this)))
        return;
    if (!EnsureList(children))
        return;
    if (kind->setGroup)
        kind->setGroup(widget, this);
    children->Add(widget, type);
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}

void VLGroup::RemoveChild(int type, void *widget)
{
    RemovePair(children, type, widget);
    if (parentWindow) {
        WindowInternals::PlaceChildren(*parentWindow);
        WindowInternals::ForgetFocusIfGone(*parentWindow);
    }
}

void VLGroup::Add(VLLabel *widget) { AddChild(TypeLabel, widget); }
void VLGroup::Add(VLPushButton *widget) { AddChild(TypePushButton, widget); }
void VLGroup::Add(VLGroup *widget) { AddChild(TypeGroup, widget); }
void VLGroup::Add(VLCheckBox *widget) { AddChild(TypeCheckBox, widget); }
void VLGroup::Add(VLRadioButton *widget) { AddChild(TypeRadioButton, widget); }
void VLGroup::Add(VLButton *widget) { AddChild(TypeButton, widget); }
void VLGroup::RemoveAt(VLLabel *widget) { RemoveChild(TypeLabel, widget); }
void VLGroup::RemoveAt(VLPushButton *widget) { RemoveChild(TypePushButton, widget); }
void VLGroup::RemoveAt(VLGroup *widget) { RemoveChild(TypeGroup, widget); }
void VLGroup::RemoveAt(VLCheckBox *widget) { RemoveChild(TypeCheckBox, widget); }
void VLGroup::RemoveAt(VLRadioButton *widget) { RemoveChild(TypeRadioButton, widget); }
void VLGroup::RemoveAt(VLButton *widget) { RemoveChild(TypeButton, widget); }
void VLGroup::Add(VLImage *widget) { AddChild(TypeImage, widget); }
void VLGroup::RemoveAt(VLImage *widget) { RemoveChild(TypeImage, widget); }
void VLGroup::Add(VLEditBox *widget) { AddChild(TypeEditBox, widget); }
void VLGroup::RemoveAt(VLEditBox *widget) { RemoveChild(TypeEditBox, widget); }
void VLGroup::Add(VLProgressBar *widget) { AddChild(TypeProgressBar, widget); }
void VLGroup::RemoveAt(VLProgressBar *widget) { RemoveChild(TypeProgressBar, widget); }
void VLGroup::Add(VLSlider *widget) { AddChild(TypeSlider, widget); }
void VLGroup::RemoveAt(VLSlider *widget) { RemoveChild(TypeSlider, widget); }
void VLGroup::Add(VLColor *widget) { AddChild(TypeColor, widget); }
void VLGroup::RemoveAt(VLColor *widget) { RemoveChild(TypeColor, widget); }
void VLGroup::Add(VLListBox *widget) { AddChild(TypeListBox, widget); }
void VLGroup::RemoveAt(VLListBox *widget) { RemoveChild(TypeListBox, widget); }
void VLGroup::Add(VLComboBox *widget) { AddChild(TypeComboBox, widget); }
void VLGroup::RemoveAt(VLComboBox *widget) { RemoveChild(TypeComboBox, widget); }
void VLGroup::Add(VLTab *widget) { AddChild(TypeTab, widget); }
void VLGroup::RemoveAt(VLTab *widget) { RemoveChild(TypeTab, widget); }
void VLGroup::Add(VLSpin *widget) { AddChild(TypeSpin, widget); }
void VLGroup::RemoveAt(VLSpin *widget) { RemoveChild(TypeSpin, widget); }
void VLGroup::Add(VLSpinEditBox *widget) { AddChild(TypeSpinEditBox, widget); }
void VLGroup::RemoveAt(VLSpinEditBox *widget) { RemoveChild(TypeSpinEditBox, widget); }

void VLGroup::SelectRadioButton(VLRadioButton *button)
{
    GroupAccess::SelectRadioButton(*this, button);
}

int VLGroup::SelectRadioButton(int index)
{
    if (index < 0 || !children)
        return 0;
    VLRadioButton *found = nullptr;
    int at = 0;
    GroupAccess::ForEachRadio(*this, [&](VLRadioButton &radio) {
        if (at++ == index)
            found = &radio;
        return found == nullptr;
    });
    if (!found)
        return 0;
    GroupAccess::SelectRadioButton(*this, found);
    return 1;
}

int VLGroup::GetRadioButton()
{
    int at = 0, selected = -1;
    GroupAccess::ForEachRadio(*this, [&](VLRadioButton &radio) {
        if (radio.IsSelected()) {
            selected = at;
            return false;
        }
        ++at;
        return true;
    });
    return selected;
}

int VLGroup::GetRadioButtonCount()
{
    int count = 0;
    GroupAccess::ForEachRadio(*this, [&](VLRadioButton &) {
        ++count;
        return true;
    });
    return count;
}

int VLGroup::AttachRadioButtonSelectEvent(RadioSelectCallback callback) { return AttachCallback(radioSelectCallback, callback); }

void VLGroup::DetachRadioButtonSelectEvent()
{
    radioSelectCallback = nullptr;
}

extern const WidgetKind GroupKind = [] {
    WidgetKind kind;
    kind.place = GroupAccess::Place;
    kind.draw = GroupAccess::DrawWidget;
    kind.clear = WidgetAccess::ClearWidget<VLGroup>;
    kind.bounds = WidgetAccess::Bounds<VLGroup>;
    kind.visible = GroupAccess::Visible;
    kind.windowPosition = WidgetAccess::WindowPosition<VLGroup>;
    kind.mouse = GroupAccess::WindowMouse;
    // A tab routes the pointer into its selected page through this.
    kind.mouseInGroup = [](void *widget, int code, int px, int py) {
        return GroupAccess::MouseInput(GroupAccess::Of(widget), code, px, py);
    };
    kind.pressHits = GroupAccess::PressHits;
    kind.activate = GroupAccess::Activate;
    kind.focusNext = GroupAccess::FocusNext;
    kind.clearFocus = GroupAccess::ClearFocus;
    kind.setGroup = GroupAccess::SetGroup;
    kind.children = GroupAccess::Children;
    kind.shownChildren = GroupAccess::Children;
    kind.setScrollArea = WidgetAccess::SetScrollArea<VLGroup>;
    kind.arrow = GroupAccess::Arrow;
    return kind; // a group shows no hint of its own: its children's are searched
}();
