// Walking a child list by type code, shared by the window and the containers.
#pragma once

#include "child_list.h"
#include "life_guard.h"
#include "widget_kinds.h"

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
