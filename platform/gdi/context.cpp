// Device contexts: window, memory and screen contexts, their state, object selection, clipping,
// and the canvas through which every drawing call reaches pixels.
#include "gdi/gdi.h"
#include "internal/system.h"

#include <cstring>
#include <new>
#include <utility>

namespace vorla::platform::gdi {

HGDIOBJ StockBitmapHandle();
std::vector<HDC> ContextsOfWindow(HWND window);
void CountSelections(const State &state, int change);

uint32_t ToRgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
COLORREF ToColorRef(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

void Canvas::Put(int x, int y, uint32_t rgb) {
    int sx = x + origin_x, sy = y + origin_y;
    uint8_t *row = base + stride * sy;
    switch (format) {
    case Format::Rgb32: reinterpret_cast<uint32_t *>(row)[sx] = rgb; break;
    case Format::Bgr24:
        row[sx * 3] = static_cast<uint8_t>(rgb);
        row[sx * 3 + 1] = static_cast<uint8_t>(rgb >> 8);
        row[sx * 3 + 2] = static_cast<uint8_t>(rgb >> 16);
        break;
    case Format::Mono: {
        int luminance = ((rgb >> 16) & 0xFF) * 30 + ((rgb >> 8) & 0xFF) * 59 + (rgb & 0xFF) * 11;
        uint8_t bit = static_cast<uint8_t>(0x80 >> (sx & 7));
        if (luminance >= 128 * 100) row[sx >> 3] |= bit;
        else row[sx >> 3] &= static_cast<uint8_t>(~bit);
        break;
    }
    }
}

uint32_t Canvas::Get(int x, int y) const {
    int sx = x + origin_x, sy = y + origin_y;
    const uint8_t *row = base + stride * sy;
    switch (format) {
    case Format::Rgb32: return reinterpret_cast<const uint32_t *>(row)[sx] & 0xFFFFFF;
    case Format::Bgr24:
        return static_cast<uint32_t>(row[sx * 3]) | (static_cast<uint32_t>(row[sx * 3 + 1]) << 8) |
               (static_cast<uint32_t>(row[sx * 3 + 2]) << 16);
    case Format::Mono: return (row[sx >> 3] & (0x80 >> (sx & 7))) ? 0xFFFFFF : 0;
    }
    return 0;
}

void Canvas::Fill(const Box &box, uint32_t rgb) {
    for (const Box &c : clip.Boxes()) {
        Box b = c.Intersect(box);
        if (b.Empty()) continue;
        if (format == Format::Rgb32) {
            for (int y = b.top; y < b.bottom; ++y) {
                uint32_t *row = reinterpret_cast<uint32_t *>(base + stride * (y + origin_y)) + origin_x;
                FillPixels(row + b.left, static_cast<size_t>(b.right - b.left), rgb);
            }
        } else {
            for (int y = b.top; y < b.bottom; ++y)
                for (int x = b.left; x < b.right; ++x) Put(x, y, rgb);
        }
        Touch(b);
    }
}

void Canvas::Touch(const Box &box) {
    if (framebuffer) framebuffer->MarkDirty(box.Offset(origin_x, origin_y));
}

Context *ContextOf(HDC dc) { return As<Context>(dc, Kind::Context); }

bool MakeCanvas(Context &dc, Canvas &canvas) {
    // A canvas made again for the next call keeps its clip's storage.
    Region visible = std::move(canvas.clip);
    canvas = Canvas{};
    switch (dc.target) {
    case Context::Target::Window: {
        WindowTarget target;
        if (!ResolveWindowTarget(dc.window, target) || !target.framebuffer) return false;
        Framebuffer &fb = *target.framebuffer;
        canvas.format = Canvas::Format::Rgb32;
        canvas.base = reinterpret_cast<uint8_t *>(fb.pixels.data());
        canvas.stride = static_cast<ptrdiff_t>(fb.width) * 4;
        canvas.width = fb.width;
        canvas.height = fb.height;
        canvas.origin_x = target.origin_x;
        canvas.origin_y = target.origin_y;
        canvas.framebuffer = &fb;
        visible = target.visible;
        if (dc.painting) visible.Intersect(dc.paint_region);
        break;
    }
    case Context::Target::Screen: {
        Framebuffer &fb = ScreenFramebuffer();
        canvas.format = Canvas::Format::Rgb32;
        canvas.base = reinterpret_cast<uint8_t *>(fb.pixels.data());
        canvas.stride = static_cast<ptrdiff_t>(fb.width) * 4;
        canvas.width = fb.width;
        canvas.height = fb.height;
        visible.Assign(Box{0, 0, fb.width, fb.height});
        break;
    }
    case Context::Target::Memory: {
        Bitmap *b = As<Bitmap>(dc.state.bitmap, Kind::Bitmap);
        if (!b || !b->bits) return false;
        canvas.format = b->bits_per_pixel == 32   ? Canvas::Format::Rgb32
                        : b->bits_per_pixel == 24 ? Canvas::Format::Bgr24
                                                  : Canvas::Format::Mono;
        canvas.base = b->Row(0);
        canvas.stride = b->bottom_up ? -static_cast<ptrdiff_t>(b->row_bytes) : b->row_bytes;
        canvas.width = b->width;
        canvas.height = b->height;
        visible.Assign(Box{0, 0, b->width, b->height});
        break;
    }
    }
    if (!canvas.base) return false;
    visible.Intersect(Box{-canvas.origin_x, -canvas.origin_y, canvas.width - canvas.origin_x,
                          canvas.height - canvas.origin_y});
    if (dc.state.has_clip) visible.Intersect(dc.state.clip);
    canvas.clip = std::move(visible);
    return true;
}

static void DefaultState(State &s) {
    s.pen = GetStockObject(BLACK_PEN);
    s.brush = GetStockObject(WHITE_BRUSH);
    s.font = GetStockObject(SYSTEM_FONT);
    s.bitmap = nullptr;
    s.position = POINT{0, 0};
    s.text_colour = 0;
    s.background_colour = RGB(255, 255, 255);
    s.background_mode = OPAQUE;
    s.raster_op = R2_COPYPEN;
    s.fill_mode = ALTERNATE;
    s.text_align = TA_TOP | TA_LEFT;
    s.has_clip = false;
    s.clip.Clear();
}

} // namespace vorla::platform::gdi

namespace vorla::platform {

using namespace gdi;

HDC CreateWindowContext(HWND window, const Region *paint_region) {
    auto c = std::make_unique<Context>();
    c->target = Context::Target::Window;
    c->window = window;
    DefaultState(c->state);
    if (paint_region) {
        c->painting = true;
        c->paint_region = *paint_region;
    }
    return static_cast<HDC>(Insert(std::move(c)));
}

HDC CreateScreenContext() {
    auto c = std::make_unique<Context>();
    c->target = Context::Target::Screen;
    DefaultState(c->state);
    return static_cast<HDC>(Insert(std::move(c)));
}

} // namespace vorla::platform

namespace vorla::platform::gdi {
void EraseObject(HGDIOBJ handle);
}

namespace vorla::platform {

void ReleaseContext(HDC dc) {
    Context *c = ContextOf(dc);
    if (!c || c->target == Context::Target::Memory) return;
    gdi::EraseObject(dc);
}

bool IsWindowContextOf(HDC dc, HWND window) {
    Context *c = ContextOf(dc);
    return c && (c->target == Context::Target::Window ? c->window == window : window == nullptr);
}

HWND WindowOfContext(HDC dc) {
    Context *c = ContextOf(dc);
    return c && c->target == Context::Target::Window ? c->window : nullptr;
}

Framebuffer &ScreenFramebuffer() {
    static Framebuffer screen;
    int w = 0, h = 0;
    CurrentBackend().ScreenSize(w, h);
    if (screen.width != w || screen.height != h) screen.Resize(w, h, 0x008080);
    return screen;
}

void ReleaseContextsOf(HWND window) {
    // Contexts of a destroyed window stop drawing; they are freed with it, as on Windows, where
    // ReleaseDC afterwards simply fails.
    for (HDC dc : gdi::ContextsOfWindow(window)) gdi::EraseObject(dc);
}

} // namespace vorla::platform

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

HDC WINAPI CreateCompatibleDC(HDC reference) {
    if (reference && !ContextOf(reference)) return nullptr;
    auto c = std::make_unique<Context>();
    c->target = Context::Target::Memory;
    DefaultState(c->state);
    c->state.bitmap = StockBitmapHandle();
    return static_cast<HDC>(Insert(std::move(c)));
}

BOOL WINAPI DeleteDC(HDC dc) {
    Context *c = ContextOf(dc);
    if (!c) return FALSE;
    if (Bitmap *b = As<Bitmap>(c->state.bitmap, Kind::Bitmap)) b->selected--;
    for (State &s : c->saved)
        if (Bitmap *b = As<Bitmap>(s.bitmap, Kind::Bitmap)) b->selected--;
    EraseObject(dc);
    return TRUE;
}

int WINAPI SaveDC(HDC dc) {
    Context *c = ContextOf(dc);
    if (!c) return 0;
    c->saved.push_back(c->state);
    if (Bitmap *b = As<Bitmap>(c->state.bitmap, Kind::Bitmap)) b->selected++;
    return static_cast<int>(c->saved.size());
}

BOOL WINAPI RestoreDC(HDC dc, int level) {
    Context *c = ContextOf(dc);
    if (!c) return FALSE;
    int count = static_cast<int>(c->saved.size());
    if (level < 0) level = count + 1 + level;
    if (level < 1 || level > count) return FALSE;
    if (Bitmap *b = As<Bitmap>(c->state.bitmap, Kind::Bitmap)) b->selected--;
    CountSelections(c->state, -1);
    c->state = c->saved[static_cast<size_t>(level - 1)];
    CountSelections(c->state, +1);
    for (int i = count - 1; i >= level; --i)
        if (Bitmap *b = As<Bitmap>(c->saved[static_cast<size_t>(i)].bitmap, Kind::Bitmap)) b->selected--;
    c->saved.resize(static_cast<size_t>(level - 1));
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    Context *c = ContextOf(dc);
    Object *o = Lookup(object);
    if (!c || !o) return nullptr;
    HGDIOBJ previous = nullptr;
    // The selection counts move with the handles, so DeleteObject can tell at once whether an
    // object is still selected somewhere.
    auto swap = [&](HGDIOBJ &slot) {
        previous = slot;
        slot = object;
        o->holders++;
        if (Object *old = Lookup(previous)) old->holders--;
    };
    switch (o->kind) {
    case Kind::Pen: swap(c->state.pen); break;
    case Kind::Brush: swap(c->state.brush); break;
    case Kind::Font: swap(c->state.font); break;
    case Kind::Bitmap: {
        if (c->target != Context::Target::Memory) return nullptr;
        Bitmap *b = static_cast<Bitmap *>(o);
        if (object == c->state.bitmap) return object;
        if (b->selected > 0 && !b->stock) return nullptr; // a bitmap sits in one context at a time
        if (Bitmap *old = As<Bitmap>(c->state.bitmap, Kind::Bitmap)) old->selected--;
        b->selected++;
        swap(c->state.bitmap);
        break;
    }
    case Kind::Region: {
        int result = SelectClipRgn(dc, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(result));
    }
    default: return nullptr;
    }
    return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type) {
    Context *c = ContextOf(dc);
    if (!c) return nullptr;
    switch (type) {
    case OBJ_PEN: return c->state.pen;
    case OBJ_BRUSH: return c->state.brush;
    case OBJ_FONT: return c->state.font;
    case OBJ_BITMAP: return c->state.bitmap;
    default: return nullptr;
    }
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    Context *c = ContextOf(dc);
    if (!c) return 0;
    int w = 0, h = 0;
    CurrentBackend().ScreenSize(w, h);
    int bits = 32;
    if (c->target == Context::Target::Memory) {
        // A memory context describes the device it is compatible with: the screen.
        bits = 32;
    }
    switch (index) {
    case HORZRES: return w;
    case VERTRES: return h;
    case BITSPIXEL: return bits;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
    }
}

BOOL WINAPI GdiFlush(void) { return TRUE; }

COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) {
    Context *c = ContextOf(dc);
    if (!c) return CLR_INVALID;
    COLORREF old = c->state.text_colour;
    c->state.text_colour = colour & 0xFFFFFF;
    return old;
}
COLORREF WINAPI GetTextColor(HDC dc) {
    Context *c = ContextOf(dc);
    return c ? c->state.text_colour : CLR_INVALID;
}
COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
    Context *c = ContextOf(dc);
    if (!c) return CLR_INVALID;
    COLORREF old = c->state.background_colour;
    c->state.background_colour = colour & 0xFFFFFF;
    return old;
}
COLORREF WINAPI GetBkColor(HDC dc) {
    Context *c = ContextOf(dc);
    return c ? c->state.background_colour : CLR_INVALID;
}
int WINAPI SetBkMode(HDC dc, int mode) {
    Context *c = ContextOf(dc);
    if (!c || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = c->state.background_mode;
    c->state.background_mode = mode;
    return old;
}
int WINAPI GetBkMode(HDC dc) {
    Context *c = ContextOf(dc);
    return c ? c->state.background_mode : 0;
}
int WINAPI SetROP2(HDC dc, int mode) {
    Context *c = ContextOf(dc);
    if (!c || mode < 1 || mode > 16) return 0;
    int old = c->state.raster_op;
    c->state.raster_op = mode;
    return old;
}
int WINAPI GetROP2(HDC dc) {
    Context *c = ContextOf(dc);
    return c ? c->state.raster_op : 0;
}
UINT WINAPI SetTextAlign(HDC dc, UINT align) {
    Context *c = ContextOf(dc);
    if (!c) return 0xFFFFFFFF; // GDI_ERROR
    UINT old = c->state.text_align;
    c->state.text_align = align;
    return old;
}
int WINAPI SetPolyFillMode(HDC dc, int mode) {
    Context *c = ContextOf(dc);
    if (!c || (mode != ALTERNATE && mode != WINDING)) return 0;
    int old = c->state.fill_mode;
    c->state.fill_mode = mode;
    return old;
}

int WINAPI SelectClipRgn(HDC dc, HRGN region) {
    Context *c = ContextOf(dc);
    if (!c) return ERROR;
    if (!region) {
        c->state.has_clip = false;
        c->state.clip.Clear();
        return SIMPLEREGION;
    }
    auto *r = As<RegionObject>(region, Kind::Region);
    if (!r) return ERROR;
    c->state.has_clip = true;
    c->state.clip = r->region; // a copy: the caller may delete its region
    return c->state.clip.Empty() ? NULLREGION : c->state.clip.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

int WINAPI IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    Context *c = ContextOf(dc);
    if (!c) return ERROR;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    Box box{left, top, right, bottom};
    if (!c->state.has_clip) {
        c->state.has_clip = true;
        c->state.clip = Region(box);
    } else {
        c->state.clip.Intersect(box);
    }
    return c->state.clip.Empty() ? NULLREGION : c->state.clip.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    Context *c = ContextOf(dc);
    if (!c || !rect) return ERROR;
    Canvas canvas;
    Region r;
    if (MakeCanvas(*c, canvas)) r = canvas.clip;
    Box b = r.Bounds();
    *rect = RECT{b.left, b.top, b.right, b.bottom};
    return r.Empty() ? NULLREGION : r.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

// Bitmaps as large as the system would make: each side within the 27-bit device coordinates of
// its GDI, and at most 256 MiB of pixels, like a window's framebuffer. Rows are word-aligned for
// device-dependent bitmaps (align 16) and double-word aligned for DIB sections (align 32); the
// row length in bytes, or 0 when the bitmap is refused.
static long long BitmapRowBytes(long long width, long long height, long long bits, long long align) {
    constexpr long long SideLimit = 1LL << 27, ByteLimit = 1LL << 28;
    if (width <= 0 || height <= 0 || width > SideLimit || height > SideLimit) return 0;
    const long long row = ((width * bits + align - 1) / align) * (align / 8);
    return row * height > ByteLimit ? 0 : row;
}

// Storage for a new bitmap's pixels, false when the memory cannot be had.
static bool Allocate(Bitmap &b, long long bytes) {
    try {
        b.storage.assign(static_cast<size_t>(bytes), 0);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bits, const void *data) {
    if (planes != 1 || (bits != 1 && bits != 24 && bits != 32)) return nullptr;
    const long long row = BitmapRowBytes(width, height, bits, 16);
    if (row == 0) return nullptr;
    auto b = std::make_unique<Bitmap>();
    b->width = width;
    b->height = height;
    b->bits_per_pixel = static_cast<int>(bits);
    b->row_bytes = static_cast<int>(row);
    if (!Allocate(*b, row * height)) return nullptr;
    if (data) std::memcpy(b->storage.data(), data, b->storage.size());
    b->bits = b->storage.data();
    return static_cast<HBITMAP>(Insert(std::move(b)));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    Context *c = ContextOf(dc);
    if (!c || width <= 0 || height <= 0) return nullptr;
    int bits = 32;
    if (c->target == Context::Target::Memory) {
        Bitmap *current = As<Bitmap>(c->state.bitmap, Kind::Bitmap);
        bits = current ? current->bits_per_pixel : 1;
        if (bits == 24) bits = 32;
    }
    return CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr);
}

HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage, void **bits_out, HANDLE section,
                                DWORD offset) {
    if (bits_out) *bits_out = nullptr;
    if (!info || section) return nullptr;
    const BITMAPINFOHEADER &h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1) return nullptr;
    if (h.biBitCount != 24 && h.biBitCount != 32) return nullptr;
    if (h.biCompression != BI_RGB) return nullptr;
    if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return nullptr;
    LONG width = h.biWidth, height = h.biHeight;
    if (width <= 0 || height == 0 || height == INT32_MIN) return nullptr;
    bool bottom_up = height > 0;
    if (height < 0) height = -height;
    const long long row = BitmapRowBytes(width, height, h.biBitCount, 32);
    if (row == 0) return nullptr;
    auto b = std::make_unique<Bitmap>();
    b->width = width;
    b->height = height;
    b->bits_per_pixel = h.biBitCount;
    b->dib = true;
    b->bottom_up = bottom_up;
    b->row_bytes = static_cast<int>(row);
    if (!Allocate(*b, row * height)) return nullptr;
    b->bits = b->storage.data();
    if (bits_out) *bits_out = b->storage.data();
    return static_cast<HBITMAP>(Insert(std::move(b)));
}

} // extern "C"
