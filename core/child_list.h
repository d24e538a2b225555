// The child list of windows and containers: ordered, duplicate-free (type code, widget) pairs.
// Entries are held in an array, so walks by index stay linear.
#pragma once

#include <vector>

class VLChildList {
public:
    VLChildList() = default;
    // Walks in progress over a list that goes away stop at once.
    ~VLChildList();
    VLChildList(const VLChildList &) = delete;
    VLChildList &operator=(const VLChildList &) = delete;

    // 0 for a pair already in the list (same type code and pointer) or a type code of 0.
    int Add(void *widget, int type);
    int Count() const { return static_cast<int>(entries_.size()); }
    int TypeAt(int index) const;
    void *PointerAt(int index) const;
    // Removes the entry at index; later entries move one place towards the front. 0 when out of range.
    int RemoveAt(int index);
    // The index of the first entry with this pair, or -1.
    int Find(void *widget, int type) const;
    void Clear();

private:
    struct Entry {
        int type;
        void *widget;
    };
    std::vector<Entry> entries_;
};
