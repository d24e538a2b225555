// Fonts as the text code sees them: a resolved face at one pixel size with its cell metrics and
// a cache of monochrome glyphs kept as horizontal runs, and the CP932 character units of a text.
#pragma once

#include "gdi/gdi.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vorla::platform::gdi {

// Lit pixels of one glyph row, relative to the pen position on the baseline: [x0, x1) on row dy.
struct GlyphRun {
    int16_t dy, x0, x1;
};

struct Glyph {
    bool loaded = false;
    int advance = 0;
    uint32_t first_run = 0, run_count = 0;
    Box bounds; // of the runs, relative to the pen position
};

struct CellMetrics {
    int em = 12, height = 12, ascent = 11, descent = 1;
    int average_width = 6, max_width = 12;
    int weight = FW_NORMAL;
    BYTE charset = DEFAULT_CHARSET;
    bool fixed_pitch = true;
};

// A character unit of a CP932 text: one byte, or a lead and a trail byte. A lead byte without a
// trail byte is a unit of its own drawn as the narrow replacement; a pair that does not decode
// draws the wide replacement (see FontFace::Load).
struct TextUnit {
    uint32_t code;  // byte, (lead << 8) | trail, or a replacement code
    int bytes;      // 1 or 2
};
constexpr uint32_t ReplacementNarrow = 0x10000;
constexpr uint32_t ReplacementWide = 0x10001;

inline bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The unit starting at text[i]; never reads at or past length.
inline TextUnit NextUnit(const char *text, int length, int i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(b)) return TextUnit{b, 1};
    if (i + 1 >= length) return TextUnit{ReplacementNarrow, 1}; // truncated pair
    unsigned char t = static_cast<unsigned char>(text[i + 1]);
    // A byte that cannot trail leaves the lead byte alone, so a terminator, a line break or an
    // ASCII character after a stray lead byte is still read as itself.
    if (!IsTrailByte(t)) return TextUnit{ReplacementNarrow, 1};
    return TextUnit{(static_cast<uint32_t>(b) << 8) | t, 2};
}

class FontFace {
public:
    const CellMetrics &Metrics() const { return metrics_; }
    // The cached glyph of a unit code, rendered on first use. Glyph addresses stay valid for the
    // life of the face; run storage may move, so read Runs() after the last Get of a call.
    const Glyph &Get(uint32_t code);
    const GlyphRun *Runs() const { return runs_.data(); }
    ~FontFace();

private:
    friend struct FontSystem;
    FontFace() = default;
    void Load(Glyph &glyph, uint32_t code);

    std::shared_ptr<void> library_; // keeps FreeType alive while the face exists
    void *face_ = nullptr;          // FT_Face
    bool fixed_cells_ = false;      // advances by unit width (em / 2, em), as the Gothic face
    bool synthetic_bold_ = false;
    CellMetrics metrics_;
    std::unique_ptr<Glyph[]> pages_[257]; // by code >> 8; page 256 holds the replacements
    std::vector<GlyphRun> runs_;
};

// Serialises every text call: glyph caches fill lazily and FreeType faces are not thread-safe.
std::mutex &TextLock();
// The face of a font object, resolved on first use. Call with TextLock held.
FontFace *FaceOf(Font &font);
// Frees every face and the font lookup cache (fontconfig keeps its own process-wide state).
void ResetText();

} // namespace vorla::platform::gdi
