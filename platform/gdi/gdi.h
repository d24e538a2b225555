// GDI objects and device contexts of the layer: the handle table, the pixel surfaces contexts
// draw on, and the clip that every drawing call honours.
#pragma once

#include "internal/gdi_internal.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vorla::platform::gdi {

enum class Kind { Pen, Brush, Font, Bitmap, Region, Context };

struct Object {
    Kind kind;
    bool stock = false;
    int holders = 0; // context states that have it selected: DeleteObject refuses while > 0
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    int style = PS_SOLID; // PS_STYLE_MASK part
    bool geometric = false;
    int width = 1;
    COLORREF colour = 0;
    std::vector<DWORD> user_style;
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF colour = 0;
};

class FontFace;

struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONTA description{};
    int em = 12; // character height in pixels
    std::shared_ptr<FontFace> face; // resolved by the text code on first use
};

// Pixel storage of a bitmap: 1 (monochrome), 24 or 32 bits per pixel. Rows are addressed through
// a signed stride so bottom-up DIB sections need no copy.
struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    int width = 0, height = 0, bits_per_pixel = 32;
    bool dib = false;
    bool bottom_up = false;
    int row_bytes = 0;
    std::vector<uint8_t> storage;
    uint8_t *bits = nullptr; // first byte of the first row in memory
    int selected = 0;        // memory contexts holding it (a bitmap sits in at most one)

    uint8_t *Row(int y) { return bits + static_cast<ptrdiff_t>(bottom_up ? height - 1 - y : y) * row_bytes; }
};

struct RegionObject : Object {
    RegionObject() : Object(Kind::Region) {}
    vorla::platform::Region region;
};

struct State {
    HGDIOBJ pen, brush, font, bitmap;
    POINT position;
    COLORREF text_colour, background_colour;
    int background_mode, raster_op, fill_mode;
    UINT text_align;
    bool has_clip;
    vorla::platform::Region clip;
};

struct Context : Object {
    Context() : Object(Kind::Context) {}
    enum class Target { Window, Memory, Screen } target = Target::Memory;
    HWND window = nullptr;
    bool painting = false;
    vorla::platform::Region paint_region; // client coordinates, while painting
    State state{};
    std::vector<State> saved;
};

// Sets n 32-bit pixels. Sixteen-byte stores: a plain loop is not vectorised at -O2 and runs at a
// fifth of memset speed.
inline void FillPixels(uint32_t *p, size_t n, uint32_t v) {
    typedef uint32_t Quad __attribute__((vector_size(16)));
    const Quad q = {v, v, v, v};
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        std::memcpy(p + i, &q, 16);
        std::memcpy(p + i + 4, &q, 16);
        std::memcpy(p + i + 8, &q, 16);
        std::memcpy(p + i + 12, &q, 16);
    }
    for (; i + 4 <= n; i += 4) std::memcpy(p + i, &q, 16);
    for (; i < n; ++i) p[i] = v;
}

// Where a context's pixels are this instant. Colours pass as 0x00RRGGBB.
struct Canvas {
    enum class Format { Rgb32, Bgr24, Mono } format = Format::Rgb32;
    uint8_t *base = nullptr; // pixel (0, 0) of the surface
    ptrdiff_t stride = 0;    // bytes from one row to the next, may be negative
    int width = 0, height = 0;
    int origin_x = 0, origin_y = 0;   // device (0, 0) on the surface
    vorla::platform::Region clip;     // device coordinates, already limited to the surface
    Framebuffer *framebuffer = nullptr;

    bool Valid() const { return base != nullptr; }
    void Put(int x, int y, uint32_t rgb); // device coordinates, no clip test
    uint32_t Get(int x, int y) const;
    void Fill(const Box &device_box, uint32_t rgb); // clipped
    void Touch(const Box &device_box);               // marks presented pixels as changed
};

uint32_t ToRgb(COLORREF colour);
COLORREF ToColorRef(uint32_t rgb);

Object *Lookup(HGDIOBJ handle);
template <typename T> T *As(HGDIOBJ handle, Kind kind) {
    Object *o = Lookup(handle);
    return o && o->kind == kind ? static_cast<T *>(o) : nullptr;
}
HGDIOBJ Insert(std::unique_ptr<Object> object);
Context *ContextOf(HDC dc);
bool MakeCanvas(Context &dc, Canvas &canvas);
Bitmap *StockBitmap();

} // namespace vorla::platform::gdi
