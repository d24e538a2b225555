// The child list of windows and containers.
#include "child_list.h"

#include "life_guard.h"

#include <cstddef>
#include <new>

int VLChildList::Add(void *widget, int type)
{
    if (type == 0 || Find(widget, type) >= 0)
        return 0;
    try {
        entries_.push_back(Entry{type, widget});
        LifeGuard::End(this);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    return 1;
}

int VLChildList::TypeAt(int index) const
{
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].type : 0;
}

void *VLChildList::PointerAt(int index) const
{
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].widget : nullptr;
}

int VLChildList::RemoveAt(int index)
{
    if (index < 0 || index >= Count())
        return 0;
    entries_.erase(entries_.begin() + index);
    LifeGuard::End(this);
    return 1;
}

int VLChildList::Find(void *widget, int type) const
{
    for (int i = 0; i < Count(); ++i)
        if (entries_[static_cast<std::size_t>(i)].type == type && entries_[static_cast<std::size_t>(i)].widget == widget)
            return i;
    return -1;
}

void VLChildList::Clear()
{
    entries_.clear();
    LifeGuard::End(this);
}

VLChildList::~VLChildList()
{
    LifeGuard::End(this);
}
