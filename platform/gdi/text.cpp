// Text output: metrics and extents of the selected font, TextOutA with its alignment and
// background modes, and DrawTextA's lines, alignment, prefixes and clipping.
#include "gdi/text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace vorla::platform::gdi {

namespace {

// Reused between calls so that drawing cached text allocates nothing.
thread_local std::vector<const Glyph *> t_glyphs;
thread_local std::string t_line;

// Text positions come from callers and may lie anywhere in the int range; with the advances of a
// long text added they are kept in 64 bits, and only what meets the clip is drawn.
using Position = long long;

int ClampToInt(Position value) {
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// A box of 64-bit edges cut to the int range; the clip boxes it meets are far inside that range.
Box ClampedBox(Position left, Position top, Position right, Position bottom) {
    return Box{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)};
}

// The glyphs of a text and the sum of their advances.
Position Layout(FontFace &face, const char *text, int length, std::vector<const Glyph *> &glyphs) {
    glyphs.clear();
    Position width = 0;
    for (int i = 0; i < length;) {
        TextUnit unit = NextUnit(text, length, i);
        const Glyph &glyph = face.Get(unit.code);
        glyphs.push_back(&glyph);
        width += glyph.advance;
        i += unit.bytes;
    }
    return width;
}

template <bool Rgb32>
void PaintGlyphs(Canvas &canvas, const Box &area, const GlyphRun *runs, const std::vector<const Glyph *> &glyphs,
                 Position x, Position baseline, uint32_t rgb) {
    Position pen = x;
    for (const Glyph *glyph : glyphs) {
        const Box &b = glyph->bounds;
        if (glyph->run_count && pen + b.right > area.left && pen + b.left < area.right &&
            baseline + b.bottom > area.top && baseline + b.top < area.bottom) {
            bool inside = pen + b.left >= area.left && pen + b.right <= area.right && baseline + b.top >= area.top &&
                          baseline + b.bottom <= area.bottom;
            const GlyphRun *run = runs + glyph->first_run, *end = run + glyph->run_count;
            // The glyph meets the area, so its runs lie within a glyph's size of it: ints again.
            for (; run != end; ++run) {
                int y = static_cast<int>(baseline + run->dy), x0 = static_cast<int>(pen + run->x0),
                    x1 = static_cast<int>(pen + run->x1);
                if (!inside) {
                    if (y < area.top || y >= area.bottom) continue;
                    x0 = std::max(x0, area.left);
                    x1 = std::min(x1, area.right);
                }
                if (Rgb32) {
                    uint32_t *row =
                        reinterpret_cast<uint32_t *>(canvas.base + canvas.stride * (y + canvas.origin_y)) + canvas.origin_x;
                    for (int xx = x0; xx < x1; ++xx) row[xx] = rgb;
                } else {
                    for (int xx = x0; xx < x1; ++xx) canvas.Put(xx, y, rgb);
                }
            }
        }
        pen += glyph->advance;
    }
}

// Draws laid-out glyphs with the cell's top-left at (x, y): the background first in OPAQUE mode,
// then the glyph pixels in the text colour, all inside the canvas clip.
void DrawRun(const State &state, Canvas &canvas, FontFace &face, const std::vector<const Glyph *> &glyphs,
             Position x, Position y, Position width) {
    const CellMetrics &m = face.Metrics();
    if (state.background_mode == OPAQUE && width > 0)
        canvas.Fill(ClampedBox(x, y, x + width, y + m.height), ToRgb(state.background_colour));
    Position ink_left = 0, ink_top = 0, ink_right = 0, ink_bottom = 0;
    bool inked = false;
    Position pen = x, baseline = y + m.ascent;
    for (const Glyph *glyph : glyphs) {
        if (glyph->run_count) {
            const Box &b = glyph->bounds;
            ink_left = inked ? std::min(ink_left, pen + b.left) : pen + b.left;
            ink_top = inked ? std::min(ink_top, baseline + b.top) : baseline + b.top;
            ink_right = inked ? std::max(ink_right, pen + b.right) : pen + b.right;
            ink_bottom = inked ? std::max(ink_bottom, baseline + b.bottom) : baseline + b.bottom;
            inked = true;
        }
        pen += glyph->advance;
    }
    if (!inked) return;
    const Box ink = ClampedBox(ink_left, ink_top, ink_right, ink_bottom);
    if (ink.Empty()) return;
    uint32_t rgb = ToRgb(state.text_colour);
    const GlyphRun *runs = face.Runs();
    for (const Box &clip : canvas.clip.Boxes()) {
        Box area = clip.Intersect(ink);
        if (area.Empty()) continue;
        if (canvas.format == Canvas::Format::Rgb32) PaintGlyphs<true>(canvas, area, runs, glyphs, x, baseline, rgb);
        else PaintGlyphs<false>(canvas, area, runs, glyphs, x, baseline, rgb);
        canvas.Touch(area);
    }
}

FontFace *SelectedFace(Context *c) {
    Font *f = c ? As<Font>(c->state.font, Kind::Font) : nullptr;
    return f ? FaceOf(*f) : nullptr;
}

} // namespace

} // namespace vorla::platform::gdi

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    if (!metrics) return FALSE;
    std::lock_guard<std::mutex> hold(TextLock());
    FontFace *face = SelectedFace(ContextOf(dc));
    if (!face) return FALSE;
    const CellMetrics &m = face->Metrics();
    std::memset(metrics, 0, sizeof(*metrics));
    metrics->tmHeight = m.height;
    metrics->tmAscent = m.ascent;
    metrics->tmDescent = m.descent;
    metrics->tmInternalLeading = m.height - m.em;
    metrics->tmAveCharWidth = m.average_width;
    metrics->tmMaxCharWidth = m.max_width;
    metrics->tmWeight = m.weight;
    metrics->tmDigitizedAspectX = metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFC;
    metrics->tmDefaultChar = 0x1F;
    metrics->tmBreakChar = 0x20;
    // The low bit set means variable pitch; 0x06 are TMPF_VECTOR | TMPF_TRUETYPE.
    metrics->tmPitchAndFamily = static_cast<BYTE>(0x06 | (m.fixed_pitch ? 0x30 : 0x01));
    metrics->tmCharSet = m.charset;
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    if (!size || length < 0 || (length > 0 && !text)) return FALSE;
    std::lock_guard<std::mutex> hold(TextLock());
    FontFace *face = SelectedFace(ContextOf(dc));
    if (!face) return FALSE;
    Position width = 0;
    for (int i = 0; i < length;) {
        TextUnit unit = NextUnit(text, length, i);
        width += face->Get(unit.code).advance;
        i += unit.bytes;
    }
    size->cx = ClampToInt(width);
    size->cy = length > 0 ? face->Metrics().height : 0;
    return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    if (length < 0 || (length > 0 && !text)) return FALSE;
    std::lock_guard<std::mutex> hold(TextLock());
    Context *c = ContextOf(dc);
    FontFace *face = SelectedFace(c);
    if (!face) return FALSE;
    Position width = Layout(*face, text, length, t_glyphs);
    const CellMetrics &m = face->Metrics();
    UINT align = c->state.text_align;
    if (align & TA_UPDATECP) {
        x = c->state.position.x;
        y = c->state.position.y;
    }
    Position left = x;
    if ((align & TA_CENTER) == TA_CENTER) left = x - width / 2;
    else if (align & TA_RIGHT) left = x - width;
    Position top = y;
    if ((align & TA_BASELINE) == TA_BASELINE) top = static_cast<Position>(y) - m.ascent;
    else if (align & TA_BOTTOM) top = static_cast<Position>(y) - m.height;
    if (align & TA_UPDATECP) {
        // The current position moves past the text in the direction it is written from.
        if ((align & TA_CENTER) == TA_CENTER) {
        } else if (align & TA_RIGHT) c->state.position.x = ClampToInt(x - width);
        else c->state.position.x = ClampToInt(x + width);
    }
    Canvas canvas;
    if (!MakeCanvas(*c, canvas)) return FALSE;
    DrawRun(c->state, canvas, *face, t_glyphs, left, top, width);
    return TRUE;
}

int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    if (!rect || (!text && count != 0)) return 0;
    if (count < 0) count = text ? static_cast<int>(std::strlen(text)) : 0;
    std::lock_guard<std::mutex> hold(TextLock());
    Context *c = ContextOf(dc);
    FontFace *face = SelectedFace(c);
    if (!face) return 0;
    const CellMetrics &m = face->Metrics();
    bool single = (format & DT_SINGLELINE) != 0, calculate = (format & DT_CALCRECT) != 0;
    bool prefixes = (format & DT_NOPREFIX) == 0;

    Canvas canvas;
    bool drawing = !calculate && MakeCanvas(*c, canvas);
    if (drawing && !(format & DT_NOCLIP))
        canvas.clip.Intersect(Box{rect->left, rect->top, rect->right, rect->bottom});

    Position y = rect->top;
    if (single && (format & DT_VCENTER))
        y = rect->top + (static_cast<Position>(rect->bottom) - rect->top) / 2 - m.height / 2;
    else if (single && (format & DT_BOTTOM)) y = static_cast<Position>(rect->bottom) - m.height;
    Position lines = 0, widest = 0;

    for (int start = 0; start < count;) {
        // One line: up to CR, LF or CR LF, or the whole text when single-line.
        int end = start;
        int next = count;
        while (end < count) {
            TextUnit unit = NextUnit(text, count, end);
            if (!single && unit.bytes == 1 && (text[end] == '\r' || text[end] == '\n')) {
                next = end + 1;
                if (text[end] == '\r' && next < count && text[next] == '\n') ++next;
                break;
            }
            end += unit.bytes;
        }
        if (end >= count) next = count;

        // What shows: "&&" is "&", "&x" is x underlined (the last one of a line), a final "&" stays.
        t_line.clear();
        int underline = -1; // byte offset of the underlined unit in t_line
        for (int i = start; i < end;) {
            TextUnit unit = NextUnit(text, end, i);
            if (prefixes && unit.bytes == 1 && text[i] == '&' && i + 1 < end) {
                if (text[i + 1] == '&') {
                    t_line.push_back('&');
                    i += 2;
                    continue;
                }
                underline = static_cast<int>(t_line.size());
                ++i;
                continue;
            }
            t_line.append(text + i, static_cast<size_t>(unit.bytes));
            i += unit.bytes;
        }

        int length = static_cast<int>(t_line.size());
        Position width = Layout(*face, t_line.data(), length, t_glyphs);
        widest = std::max(widest, width);
        if (drawing) {
            Position x = rect->left;
            if (format & DT_CENTER) x = (static_cast<Position>(rect->left) + rect->right - width) / 2;
            else if (format & DT_RIGHT) x = rect->right - width;
            DrawRun(c->state, canvas, *face, t_glyphs, x, y, width);
            if (underline >= 0) {
                Position offset = 0;
                int i = 0;
                size_t g = 0;
                while (i < underline && g < t_glyphs.size()) {
                    i += NextUnit(t_line.data(), length, i).bytes;
                    offset += t_glyphs[g++]->advance;
                }
                if (g < t_glyphs.size()) {
                    // As a pen line from the character's left edge to its right edge, end excluded.
                    Position x0 = x + offset, x1 = x0 + t_glyphs[g]->advance - 1;
                    canvas.Fill(ClampedBox(x0, y + m.ascent + 1, x1, y + m.ascent + 2), ToRgb(c->state.text_colour));
                }
            }
        }
        ++lines;
        y += m.height;
        start = next;
        if (single) break;
    }

    if (calculate) {
        rect->right = ClampToInt(rect->left + widest);
        rect->bottom = ClampToInt(rect->top + lines * m.height);
        return ClampToInt(lines * m.height);
    }
    return lines == 0 ? 0 : ClampToInt(y - rect->top);
}

} // extern "C"
