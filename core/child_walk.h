// Walking a child list by type code, shared by the window and the containers.
#pragma once

#include "child_list.h"
#include "widget_kinds.h"

// Runs visit(type, widget, kind) over the entries from first to last (or last to first),
// skipping empty entries and unknown type codes; a visit returning false ends the walk.
template <typename Visit> void ForEachChild(VLChildList *list, bool backwards, Visit visit)
{
    if (!list)
        return;
    const int count = list->Count();
    for (int i = 0; i < count; ++i) {
        const int index = backwards ? count - 1 - i : i;
        void *widget = list->PointerAt(index);
        const WidgetKind *kind = KindOf(list->TypeAt(index));
        if (widget && kind && !visit(list->TypeAt(index), widget, *kind))
            return;
    }
}
