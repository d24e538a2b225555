// Rectangles and regions of device pixels: [left, right) x [top, bottom), as the window system
// uses them for update regions, visible regions and clipping.
#pragma once

#include <algorithm>
#include <vector>

namespace vorla::platform {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Box Intersect(const Box &o) const {
        Box r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.Empty()) return Box{};
        return r;
    }
    Box Bound(const Box &o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        return Box{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    Box Offset(int dx, int dy) const { return Box{left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const Box &o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// A set of pixels kept as disjoint boxes. Regions here are small (a handful of boxes), so the
// operations favour simplicity over banding.
class Region {
public:
    Region() = default;
    explicit Region(const Box &box) {
        if (!box.Empty()) boxes_.push_back(box);
    }

    bool Empty() const { return boxes_.empty(); }
    const std::vector<Box> &Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }
    // Becomes the box, keeping its storage: for regions remade at every call.
    void Assign(const Box &box) {
        boxes_.clear();
        if (!box.Empty()) boxes_.push_back(box);
    }

    Box Bounds() const {
        Box b;
        for (const Box &x : boxes_) b = b.Bound(x);
        return b;
    }
    bool Contains(int x, int y) const {
        for (const Box &b : boxes_)
            if (b.Contains(x, y)) return true;
        return false;
    }
    bool IsRectangle() const { return boxes_.size() == 1; }

    void Unite(const Box &box) {
        if (box.Empty()) return;
        Region add(box);
        for (const Box &b : boxes_) add.Subtract(b);
        boxes_.insert(boxes_.end(), add.boxes_.begin(), add.boxes_.end());
        Coalesce();
    }
    void Unite(const Region &o) {
        for (const Box &b : o.boxes_) Unite(b);
    }
    void Intersect(const Box &box) { // in place: every drawing call clips its surface this way
        size_t kept = 0;
        for (const Box &b : boxes_) {
            Box i = b.Intersect(box);
            if (!i.Empty()) boxes_[kept++] = i;
        }
        boxes_.resize(kept);
    }
    void Intersect(const Region &o) {
        std::vector<Box> out;
        for (const Box &a : boxes_)
            for (const Box &b : o.boxes_) {
                Box i = a.Intersect(b);
                if (!i.Empty()) out.push_back(i);
            }
        boxes_.swap(out);
        Coalesce();
    }
    void Subtract(const Box &cut) {
        if (cut.Empty()) return;
        std::vector<Box> out;
        for (const Box &b : boxes_) {
            Box i = b.Intersect(cut);
            if (i.Empty()) {
                out.push_back(b);
                continue;
            }
            if (b.top < i.top) out.push_back(Box{b.left, b.top, b.right, i.top});
            if (i.bottom < b.bottom) out.push_back(Box{b.left, i.bottom, b.right, b.bottom});
            if (b.left < i.left) out.push_back(Box{b.left, i.top, i.left, i.bottom});
            if (i.right < b.right) out.push_back(Box{i.right, i.top, b.right, i.bottom});
        }
        boxes_.swap(out);
    }
    void Subtract(const Region &o) {
        for (const Box &b : o.boxes_) Subtract(b);
    }
    void Offset(int dx, int dy) {
        for (Box &b : boxes_) b = b.Offset(dx, dy);
    }
    bool operator==(const Region &o) const {
        Region a = *this;
        a.Subtract(o);
        Region b = o;
        b.Subtract(*this);
        return a.Empty() && b.Empty();
    }

private:
    // Merges boxes that share a full edge, so repeated unions of the same area stay small.
    void Coalesce() {
        bool merged = true;
        while (merged && boxes_.size() > 1) {
            merged = false;
            for (size_t i = 0; i < boxes_.size() && !merged; ++i)
                for (size_t j = i + 1; j < boxes_.size() && !merged; ++j) {
                    Box &a = boxes_[i];
                    const Box &b = boxes_[j];
                    if (a.top == b.top && a.bottom == b.bottom && (a.right == b.left || b.right == a.left)) {
                        a = Box{std::min(a.left, b.left), a.top, std::max(a.right, b.right), a.bottom};
                        merged = true;
                    } else if (a.left == b.left && a.right == b.right && (a.bottom == b.top || b.bottom == a.top)) {
                        a = Box{a.left, std::min(a.top, b.top), a.right, std::max(a.bottom, b.bottom)};
                        merged = true;
                    }
                    if (merged) boxes_.erase(boxes_.begin() + static_cast<long>(j));
                }
        }
    }

    std::vector<Box> boxes_;
};

} // namespace vorla::platform
