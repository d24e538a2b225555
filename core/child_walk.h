// Walking a child list by type code, shared by the window and the containers.
#pragma once

#include "child_list.h"
#include "life_guard.h"
#include "widget_kinds.h"

#include <new>

// Runs visit(type, widget, kind) over the entries from first to last (or last to first),
// skipping empty entries and unknown type codes; a visit returning false ends the walk.
// A visit may call application code, which may change the list or free it (clearing, removing,
// re-creating or deleting the window or a container): the walk then stops at once, so no entry is
// visited twice or after it left the list, and the list is not read again. Returns false when it
// stopped that way.
template <typename Visit> bool ForEachChild(VLChildList *list, bool backwards, Visit visit)
{
    if (!list)
        return true;
    LifeGuard guard(list);
    const int count = list->Count();
    for (int i = 0; i < count; ++i) {
        const int index = backwards ? count - 1 - i : i;
        const int type = list->TypeAt(index);
        void *widget = list->PointerAt(index);
        const WidgetKind *kind = KindOf(type);
        if (widget && kind && !visit(type, widget, *kind))
            return !guard.Ended();
        if (guard.Ended())
            return false;
    }
    return true;
}

// Whether the list holds the pair, directly or, at any depth, in a container it holds.
inline bool ListHolds(VLChildList *list, int type, void *widget)
{
    bool held = false;
    ForEachChild(list, false, [&](int entryType, void *entry, const WidgetKind &kind) {
        held = (entryType == type && entry == widget) || (kind.children && ListHolds(kind.children(entry), type, widget));
        return !held;
    });
    return held;
}

// Offers something to the entries in turn (last to first when backwards) until take returns true
// for one; true when one took it.
template <typename Take> bool OfferToChildren(VLChildList *list, bool backwards, Take take)
{
    bool taken = false;
    ForEachChild(list, backwards, [&](int type, void *widget, const WidgetKind &kind) {
        taken = take(type, widget, kind);
        return !taken;
    });
    return taken;
}

// Returns every widget of a container's list to its constructed state, then frees the list. The
// field is emptied first, so a widget's clearing that comes back to the container finds no list.
inline void ClearAndFree(VLChildList *&list)
{
    ForEachChild(list, false, [](int, void *child, const WidgetKind &kind) {
        if (kind.clear)
            kind.clear(child);
        return true;
    });
    VLChildList *gone = list;
    list = nullptr;
    delete gone;
}

// A container's list, made on first use; false when it cannot be made.
inline bool EnsureList(VLChildList *&list)
{
    if (!list)
        list = new (std::nothrow) VLChildList;
    return list != nullptr;
}

// Takes the first entry of the pair out of the list, if it holds it.
inline void RemovePair(VLChildList *list, int type, void *widget)
{
    const int index = list ? list->Find(widget, type) : -1;
    if (index >= 0)
        list->RemoveAt(index);
}
