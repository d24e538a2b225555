// The GDI handle table and its objects: stock objects, pens, brushes, fonts, bitmaps, regions.
#include "gdi/gdi.h"
#include "gdi/text.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace vorla::platform::gdi {

namespace {

// Every call looks its handles up here, so the lookup and the bookkeeping of selections cost the
// same however many objects an application keeps alive.
struct Table {
    std::recursive_mutex lock;
    std::unordered_map<uintptr_t, std::unique_ptr<Object>> objects;
    std::unordered_set<uintptr_t> contexts;
    HGDIOBJ stock[20] = {};
    HGDIOBJ stock_bitmap = nullptr;
};

Table *g_table = nullptr;
// Handles are never reused, not even across a reset of the table, so a stale handle kept by
// its owner can never name a newer object.
std::atomic<uintptr_t> g_next_handle{0x40000};

HGDIOBJ MakeStockBrush(Table &t, UINT style, COLORREF c) {
    auto b = std::make_unique<Brush>();
    b->style = style;
    b->colour = c;
    b->stock = true;
    return Insert(std::move(b));
}

HGDIOBJ MakeStockPen(Table &t, int style, COLORREF c) {
    auto p = std::make_unique<Pen>();
    p->style = style;
    p->colour = c;
    p->stock = true;
    return Insert(std::move(p));
}

void MakeStock(Table &t) {
    t.stock[WHITE_BRUSH] = MakeStockBrush(t, BS_SOLID, RGB(255, 255, 255));
    t.stock[LTGRAY_BRUSH] = MakeStockBrush(t, BS_SOLID, RGB(192, 192, 192));
    t.stock[GRAY_BRUSH] = MakeStockBrush(t, BS_SOLID, RGB(128, 128, 128));
    t.stock[DKGRAY_BRUSH] = MakeStockBrush(t, BS_SOLID, RGB(64, 64, 64));
    t.stock[BLACK_BRUSH] = MakeStockBrush(t, BS_SOLID, RGB(0, 0, 0));
    t.stock[NULL_BRUSH] = MakeStockBrush(t, BS_NULL, 0);
    t.stock[WHITE_PEN] = MakeStockPen(t, PS_SOLID, RGB(255, 255, 255));
    t.stock[BLACK_PEN] = MakeStockPen(t, PS_SOLID, RGB(0, 0, 0));
    t.stock[NULL_PEN] = MakeStockPen(t, PS_NULL, 0);
    auto font = std::make_unique<Font>();
    font->stock = true;
    font->em = 16;
    font->description.lfHeight = -16;
    font->description.lfWeight = FW_BOLD;
    std::strcpy(font->description.lfFaceName, "System");
    t.stock[SYSTEM_FONT] = Insert(std::move(font));
    auto gui = std::make_unique<Font>();
    gui->stock = true;
    gui->em = 12;
    gui->description.lfHeight = -12;
    t.stock[DEFAULT_GUI_FONT] = Insert(std::move(gui));
    t.stock[DC_BRUSH] = MakeStockBrush(t, BS_SOLID, RGB(255, 255, 255));
    t.stock[DC_PEN] = MakeStockPen(t, PS_SOLID, 0);
    // The 1 x 1 monochrome bitmap every fresh memory context holds.
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->stock = true;
    bitmap->width = bitmap->height = 1;
    bitmap->bits_per_pixel = 1;
    bitmap->row_bytes = 2;
    bitmap->storage.assign(2, 0);
    bitmap->bits = bitmap->storage.data();
    t.stock_bitmap = Insert(std::move(bitmap));
}

Table &TheTable() {
    if (!g_table) {
        g_table = new Table();
        MakeStock(*g_table);
    }
    return *g_table;
}

} // namespace

// Every drawing call looks up its context, the context's bitmap and its pen or brush; a few
// answers per thread are kept until any object goes (handles are never reused, so a kept answer
// is right as long as nothing was erased since).
std::atomic<uint64_t> g_erasures{0};

namespace {

struct Remembered {
    uintptr_t handle = 0;
    uint64_t erasures = 0;
    Object *object = nullptr;
};
thread_local Remembered g_remembered[8];

} // namespace

Object *Lookup(HGDIOBJ handle) {
    if (!handle) return nullptr;
    const uintptr_t id = reinterpret_cast<uintptr_t>(handle);
    Remembered &kept = g_remembered[(id >> 2) & 7];
    const uint64_t erasures = g_erasures.load(std::memory_order_acquire);
    if (kept.handle == id && kept.erasures == erasures) return kept.object;
    Table &t = TheTable();
    std::lock_guard<std::recursive_mutex> hold(t.lock);
    auto it = t.objects.find(id);
    if (it == t.objects.end()) return nullptr;
    kept = Remembered{id, erasures, it->second.get()};
    return kept.object;
}

namespace {

void Count(HGDIOBJ handle, int change) {
    if (Object *o = Lookup(handle)) o->holders += change;
}

} // namespace

void CountSelections(const State &state, int change) {
    Count(state.pen, change);
    Count(state.brush, change);
    Count(state.font, change);
    Count(state.bitmap, change);
}

HGDIOBJ Insert(std::unique_ptr<Object> object) {
    Table &t = g_table ? *g_table : TheTable();
    std::lock_guard<std::recursive_mutex> hold(t.lock);
    uintptr_t id = g_next_handle.fetch_add(4);
    Object *o = object.get();
    t.objects[id] = std::move(object);
    if (o->kind == Kind::Context) {
        t.contexts.insert(id);
        CountSelections(static_cast<Context *>(o)->state, +1);
    }
    return reinterpret_cast<HGDIOBJ>(id);
}

Bitmap *StockBitmap() { return static_cast<Bitmap *>(Lookup(TheTable().stock_bitmap)); }

HGDIOBJ StockBitmapHandle() { return TheTable().stock_bitmap; }

void EraseObject(HGDIOBJ handle) {
    Table &t = TheTable();
    std::lock_guard<std::recursive_mutex> hold(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end()) return;
    if (it->second->kind == Kind::Context) {
        t.contexts.erase(it->first);
        CountSelections(static_cast<Context *>(it->second.get())->state, -1);
    }
    g_erasures.fetch_add(1, std::memory_order_acq_rel);
    t.objects.erase(it);
}

std::vector<HDC> ContextsOfWindow(HWND window) {
    Table &t = TheTable();
    std::lock_guard<std::recursive_mutex> hold(t.lock);
    std::vector<HDC> out;
    for (uintptr_t id : t.contexts)
        if (static_cast<Context *>(t.objects.at(id).get())->window == window) out.push_back(reinterpret_cast<HDC>(id));
    return out;
}

} // namespace vorla::platform::gdi

namespace vorla::platform {

void ResetGdi() {
    gdi::g_erasures.fetch_add(1, std::memory_order_acq_rel);
    delete gdi::g_table;
    gdi::g_table = nullptr;
    gdi::ResetText(); // after the fonts that hold faces are gone
}

size_t LiveGdiObjects() {
    gdi::Table &t = gdi::TheTable();
    std::lock_guard<std::recursive_mutex> hold(t.lock);
    size_t n = 0;
    for (auto &entry : t.objects)
        if (!entry.second->stock) n++;
    return n;
}

} // namespace vorla::platform

using namespace vorla::platform::gdi;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index < 0 || index >= 20) return nullptr;
    return TheTable().stock[index];
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    Object *o = Lookup(handle);
    if (!o || o->kind == Kind::Context) return FALSE;
    if (o->stock) return TRUE;
    // Windows refuses to delete an object that is selected into a context.
    if (o->holders > 0) return FALSE;
    EraseObject(handle);
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ handle) {
    Object *o = Lookup(handle);
    if (!o) return 0;
    switch (o->kind) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Region: return OBJ_REGION;
    case Kind::Context:
        return static_cast<Context *>(o)->target == Context::Target::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}

int WINAPI GetObjectA(HGDIOBJ handle, int size, LPVOID out) {
    Object *o = Lookup(handle);
    if (!o) return 0;
    switch (o->kind) {
    case Kind::Bitmap: {
        Bitmap *b = static_cast<Bitmap *>(o);
        if (!out) return sizeof(BITMAP);
        if (size < static_cast<int>(sizeof(BITMAP))) return 0;
        BITMAP info{};
        info.bmType = 0;
        info.bmWidth = b->width;
        info.bmHeight = b->height;
        info.bmWidthBytes = static_cast<LONG>(((static_cast<long long>(b->width) * b->bits_per_pixel + 15) / 16) * 2);
        info.bmPlanes = 1;
        info.bmBitsPixel = static_cast<WORD>(b->bits_per_pixel);
        info.bmBits = b->dib ? b->storage.data() : nullptr;
        std::memcpy(out, &info, sizeof(info));
        return sizeof(BITMAP);
    }
    case Kind::Pen: {
        Pen *p = static_cast<Pen *>(o);
        if (!out) return sizeof(LOGPEN);
        if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
        LOGPEN info{static_cast<UINT>(p->style), POINT{p->width, 0}, p->colour};
        std::memcpy(out, &info, sizeof(info));
        return sizeof(LOGPEN);
    }
    case Kind::Brush: {
        Brush *b = static_cast<Brush *>(o);
        if (!out) return sizeof(LOGBRUSH);
        if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
        LOGBRUSH info{b->style, b->colour, 0};
        std::memcpy(out, &info, sizeof(info));
        return sizeof(LOGBRUSH);
    }
    case Kind::Font: {
        Font *f = static_cast<Font *>(o);
        if (!out) return sizeof(LOGFONTA);
        int n = size < static_cast<int>(sizeof(LOGFONTA)) ? size : static_cast<int>(sizeof(LOGFONTA));
        if (n <= 0) return 0;
        std::memcpy(out, &f->description, static_cast<size_t>(n));
        return n;
    }
    default: return 0;
    }
}

// Drawing with a pen costs its width in rows around every point; no surface is wider than this,
// so a wider pen is refused rather than left to take minutes and gigabytes per call.
constexpr long long PenWidthLimit = 16384;

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
    int kind = style & PS_STYLE_MASK;
    if (kind > PS_NULL && kind != 6 /* PS_INSIDEFRAME */) return nullptr;
    if (width > PenWidthLimit) return nullptr;
    auto p = std::make_unique<Pen>();
    p->style = kind == 6 ? PS_SOLID : kind;
    p->width = width < 1 ? 1 : width;
    p->colour = colour & 0xFFFFFF;
    return static_cast<HPEN>(Insert(std::move(p)));
}

HPEN WINAPI ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH *brush, DWORD count, const DWORD *entries) {
    if (!brush || brush->lbStyle != BS_SOLID) return nullptr;
    int kind = static_cast<int>(style & PS_STYLE_MASK);
    bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
    if (kind == PS_USERSTYLE) {
        if (count == 0 || count > 16 || !entries) return nullptr;
        unsigned long long total = 0; // 32-bit entries must not wrap around to an empty pattern
        for (DWORD i = 0; i < count; ++i) total += entries[i];
        if (total == 0) return nullptr;
    } else if (count != 0 || entries) {
        return nullptr;
    }
    if (!geometric && width != 1) return nullptr;
    if (width > PenWidthLimit) return nullptr;
    auto p = std::make_unique<Pen>();
    p->style = kind;
    p->geometric = geometric;
    p->width = width < 1 ? 1 : static_cast<int>(width);
    p->colour = brush->lbColor & 0xFFFFFF;
    if (kind == PS_USERSTYLE) p->user_style.assign(entries, entries + count);
    return static_cast<HPEN>(Insert(std::move(p)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
    auto b = std::make_unique<Brush>();
    b->style = BS_SOLID;
    b->colour = colour & 0xFFFFFF;
    return static_cast<HBRUSH>(Insert(std::move(b)));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA *description) {
    if (!description) return nullptr;
    auto f = std::make_unique<Font>();
    f->description = *description;
    f->description.lfFaceName[LF_FACESIZE - 1] = 0;
    LONG h = description->lfHeight;
    f->em = h == INT32_MIN ? 12 : h < 0 ? -h : (h == 0 ? 12 : h); // the text code reads INT32_MIN as -12 too
    return static_cast<HFONT>(Insert(std::move(f)));
}

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    auto r = std::make_unique<RegionObject>();
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    r->region = vorla::platform::Region(vorla::platform::Box{left, top, right, bottom});
    return static_cast<HRGN>(Insert(std::move(r)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT *rect) {
    if (!rect) return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

static int Complexity(const vorla::platform::Region &r) {
    return r.Empty() ? NULLREGION : r.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

int WINAPI CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    auto *d = As<RegionObject>(dest, Kind::Region);
    auto *ra = As<RegionObject>(a, Kind::Region);
    auto *rb = As<RegionObject>(b, Kind::Region);
    if (!d || !ra || (mode != RGN_COPY && !rb)) return ERROR;
    vorla::platform::Region out = ra->region;
    switch (mode) {
    case RGN_AND: out.Intersect(rb->region); break;
    case RGN_OR: out.Unite(rb->region); break;
    case RGN_DIFF: out.Subtract(rb->region); break;
    case RGN_XOR: {
        vorla::platform::Region both = ra->region;
        both.Intersect(rb->region);
        out.Unite(rb->region);
        out.Subtract(both);
        break;
    }
    case RGN_COPY: break;
    default: return ERROR;
    }
    d->region = out;
    return Complexity(out);
}

int WINAPI GetRgnBox(HRGN region, LPRECT rect) {
    auto *r = As<RegionObject>(region, Kind::Region);
    if (!r || !rect) return ERROR;
    vorla::platform::Box b = r->region.Bounds();
    *rect = RECT{b.left, b.top, b.right, b.bottom};
    return Complexity(r->region);
}

BOOL WINAPI PtInRegion(HRGN region, int x, int y) {
    auto *r = As<RegionObject>(region, Kind::Region);
    return r && r->region.Contains(x, y);
}

} // extern "C"
