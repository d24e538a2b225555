// Font resolution and glyphs: LOGFONT to a face file through fontconfig, FreeType faces at one
// pixel size, monochrome glyphs cached as runs, and CreateFontA.
#include "gdi/text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <iconv.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>

namespace vorla::platform::gdi {

namespace {

// The Gothic face's cell: IPAGothic's em box is 1802 units above the baseline out of 2048.
constexpr double GothicAscent = 1802.0 / 2048.0;
const char GothicFamily[] = "IPAGothic";
const char GothicFile[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
// Windows' default character for text that does not decode: the katakana middle dot.
constexpr uint32_t NarrowReplacementChar = 0xFF65, WideReplacementChar = 0x30FB;

struct Resolved {
    std::string file;
    int index = 0;
    bool gothic = false;    // em-high cell, advances by unit width
    bool bold_face = false; // fontconfig found a real bold face
};

} // namespace

// Process state of the text code between resets: FreeType, the CP932 decoder and the caches.
struct FontSystem {
    std::shared_ptr<void> library;
    iconv_t to_unicode = reinterpret_cast<iconv_t>(-1);
    std::map<std::string, Resolved> resolved;                // by face name bytes and weight class
    std::map<std::string, std::shared_ptr<FontFace>> faces; // by file, size and rendering

    FontSystem() {
        FT_Library ft = nullptr;
        if (FT_Init_FreeType(&ft) == 0)
            library = std::shared_ptr<void>(ft, [](void *l) { FT_Done_FreeType(static_cast<FT_Library>(l)); });
        to_unicode = iconv_open("UTF-32LE", "CP932");
    }
    ~FontSystem() {
        faces.clear();
        if (to_unicode != reinterpret_cast<iconv_t>(-1)) iconv_close(to_unicode);
    }

    // The Unicode character of a one- or two-byte CP932 code, or 0 when it has none.
    uint32_t ToUnicode(uint32_t code) {
        if (to_unicode == reinterpret_cast<iconv_t>(-1)) return code < 0x80 ? code : 0;
        char in[2];
        size_t in_left = 0;
        if (code > 0xFF) {
            in[0] = static_cast<char>(code >> 8);
            in[1] = static_cast<char>(code & 0xFF);
            in_left = 2;
        } else {
            in[0] = static_cast<char>(code);
            in_left = 1;
        }
        unsigned char out[8];
        char *in_ptr = in, *out_ptr = reinterpret_cast<char *>(out);
        size_t out_left = sizeof out;
        size_t n = iconv(to_unicode, &in_ptr, &in_left, &out_ptr, &out_left);
        iconv(to_unicode, nullptr, nullptr, nullptr, nullptr);
        if (n == static_cast<size_t>(-1) || in_left != 0 || sizeof out - out_left != 4) return 0;
        return static_cast<uint32_t>(out[0]) | (static_cast<uint32_t>(out[1]) << 8) |
               (static_cast<uint32_t>(out[2]) << 16) | (static_cast<uint32_t>(out[3]) << 24);
    }

    Resolved Resolve(const LOGFONTA &description, bool bold);
    std::shared_ptr<FontFace> Open(const Resolved &where, const LOGFONTA &description, bool bold);
};

namespace {

FontSystem *g_system = nullptr;

FontSystem &System() {
    if (!g_system) g_system = new FontSystem();
    return *g_system;
}

std::string Cp932ToUtf8(const std::string &bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string out(bytes.size() * 3 + 4, '\0');
    char *in_ptr = const_cast<char *>(bytes.data()), *out_ptr = &out[0];
    size_t in_left = bytes.size(), out_left = out.size();
    size_t n = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (n == static_cast<size_t>(-1)) return std::string();
    out.resize(out.size() - out_left);
    return out;
}

bool IsGothicName(const std::string &utf8) {
    // The library's face, its proportional sibling and the stock faces all draw with the Gothic
    // face, as a Japanese system does.
    static const char *const names[] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "MS Gothic", "MS PGothic", "System"};
    for (const char *name : names)
        if (strcasecmp(utf8.c_str(), name) == 0) return true;
    return false;
}

// fontconfig's best match for a family; with require_family the match must carry that family
// name (fontconfig always answers something, usually a substitute).
bool Match(const char *family, bool bold, bool japanese, bool require_family, Resolved &out) {
    FcPattern *pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    if (japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8 *>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    bool ok = true;
    if (require_family) {
        ok = false;
        FcChar8 *name = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (strcasecmp(reinterpret_cast<const char *>(name), family) == 0) ok = true;
    }
    FcChar8 *file = nullptr;
    if (ok && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        out.file = reinterpret_cast<const char *>(file);
        int index = 0, weight = FC_WEIGHT_REGULAR;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        if (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch)
            out.bold_face = weight >= FC_WEIGHT_DEMIBOLD;
        // fontconfig answers a regular face with the bold weight and asks for emboldening.
        FcBool embolden = FcFalse;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden) out.bold_face = false;
    } else {
        ok = false;
    }
    FcPatternDestroy(match);
    return ok;
}

} // namespace

Resolved FontSystem::Resolve(const LOGFONTA &description, bool bold) {
    std::string name(description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
    std::string key = name + (bold ? "\x01" : "\x02") + static_cast<char>(description.lfCharSet);
    auto found = resolved.find(key);
    if (found != resolved.end()) return found->second;

    Resolved r;
    std::string utf8 = Cp932ToUtf8(name);
    bool japanese = description.lfCharSet == SHIFTJIS_CHARSET;
    bool matched = false;
    if (name.empty() || (!utf8.empty() && IsGothicName(utf8))) {
        r.gothic = true;
        matched = Match(GothicFamily, bold, true, true, r);
        if (!matched && access(GothicFile, R_OK) == 0) {
            r.file = GothicFile; // fontconfig without the font's configuration
            matched = true;
        }
    } else if (!utf8.empty()) {
        matched = Match(utf8.c_str(), bold, japanese, true, r);
    }
    if (!matched) Match("monospace", bold, japanese, false, r);
    resolved[key] = r;
    return r;
}

std::shared_ptr<FontFace> FontSystem::Open(const Resolved &where, const LOGFONTA &description, bool bold) {
    bool synthetic = bold && !where.bold_face;
    LONG h = description.lfHeight;
    if (h == INT32_MIN) h = -12;
    std::string key = where.file + '\0' + std::to_string(where.index) + '\0' + std::to_string(h) +
                      (where.gothic ? "g" : "p") + (synthetic ? "b" : "r");
    auto found = faces.find(key);
    if (found != faces.end()) return found->second;

    std::shared_ptr<FontFace> face(new FontFace());
    face->library_ = library;
    face->fixed_cells_ = where.gothic;
    face->synthetic_bold_ = synthetic;
    FT_Face ft = nullptr;
    if (library && !where.file.empty() &&
        FT_New_Face(static_cast<FT_Library>(library.get()), where.file.c_str(), where.index, &ft) != 0)
        ft = nullptr;
    // Sizes beyond any screen use only cost memory.
    int requested = std::min(h < 0 ? -h : (h == 0 ? 12 : h), 2048);
    CellMetrics &m = face->metrics_;
    m.weight = description.lfWeight > 0 ? static_cast<int>(description.lfWeight) : FW_NORMAL;
    m.charset = description.lfCharSet;
    if (where.gothic || !ft || !FT_IS_SCALABLE(ft)) {
        face->fixed_cells_ = true;
        m.em = requested;
        m.ascent = static_cast<int>(std::lround(m.em * GothicAscent));
        m.descent = m.em - m.ascent;
        m.height = m.em;
        m.average_width = m.em / 2;
        m.max_width = m.em;
        m.fixed_pitch = true;
        if (m.charset == DEFAULT_CHARSET) m.charset = SHIFTJIS_CHARSET;
        if (ft && FT_IS_SCALABLE(ft)) FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(m.em));
        else if (ft && ft->num_fixed_sizes > 0) FT_Select_Size(ft, 0);
    } else {
        // Cell metrics as the system takes them from a TrueType face: the OS/2 Windows ascent and
        // descent, and a positive height asks for that cell height rather than an em.
        double units = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
        double above = ft->ascender, below = -ft->descender;
        const TT_OS2 *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
            above = os2->usWinAscent;
            below = os2->usWinDescent;
        }
        if (above + below <= 0) above = units, below = 0;
        m.em = h > 0 ? std::max(1, static_cast<int>(std::lround(requested * units / (above + below)))) : requested;
        FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(m.em));
        m.ascent = static_cast<int>(std::lround(above * m.em / units));
        m.descent = static_cast<int>(std::lround(below * m.em / units));
        m.height = m.ascent + m.descent;
        m.average_width = os2 && os2->xAvgCharWidth > 0 ? static_cast<int>(std::lround(os2->xAvgCharWidth * m.em / units))
                                                        : m.em / 2;
        m.max_width = static_cast<int>(std::lround(ft->max_advance_width * m.em / units)) + (synthetic ? 1 : 0);
        m.fixed_pitch = FT_IS_FIXED_WIDTH(ft);
    }
    face->face_ = ft;
    faces[key] = face;
    return face;
}

namespace {

// Appends the lit runs of a rendered glyph bitmap.
void AppendRuns(const FT_Bitmap &bitmap, int left, int top, bool embolden, std::vector<GlyphRun> &runs) {
    int rows = static_cast<int>(bitmap.rows), columns = static_cast<int>(bitmap.width);
    int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    if (!bitmap.buffer || rows <= 0 || columns <= 0) return;
    bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    for (int r = 0; r < rows; ++r) {
        const unsigned char *row = bitmap.buffer + static_cast<ptrdiff_t>(bitmap.pitch < 0 ? rows - 1 - r : r) * pitch;
        auto lit = [&](int c) { return mono ? (row[c >> 3] & (0x80 >> (c & 7))) != 0 : row[c] >= 128; };
        int c = 0;
        while (c < columns) {
            if (!lit(c)) {
                ++c;
                continue;
            }
            int start = c;
            while (c < columns && lit(c)) ++c;
            int end = c + (embolden ? 1 : 0);
            GlyphRun run{static_cast<int16_t>(r - top), static_cast<int16_t>(left + start), static_cast<int16_t>(left + end)};
            if (embolden && !runs.empty() && runs.back().dy == run.dy && runs.back().x1 >= run.x0)
                runs.back().x1 = run.x1;
            else
                runs.push_back(run);
        }
    }
}

} // namespace

std::mutex &TextLock() {
    static std::mutex lock; // process-lived: it guards the caches across resets
    return lock;
}

FontFace::~FontFace() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
}

const Glyph &FontFace::Get(uint32_t code) {
    uint32_t page = code >> 8;
    if (page > 256) page = 256, code = ReplacementWide;
    std::unique_ptr<Glyph[]> &glyphs = pages_[page];
    if (!glyphs) glyphs.reset(new Glyph[256]);
    Glyph &glyph = glyphs[code & 0xFF];
    if (!glyph.loaded) Load(glyph, code);
    return glyph;
}

void FontFace::Load(Glyph &glyph, uint32_t code) {
    glyph.loaded = true;
    bool wide = code > 0xFF && code != ReplacementNarrow;
    uint32_t character = 0;
    if (code == ReplacementNarrow) character = NarrowReplacementChar;
    else if (code == ReplacementWide) character = WideReplacementChar;
    else {
        character = System().ToUnicode(code);
        if (!character && code != 0) character = wide ? WideReplacementChar : NarrowReplacementChar;
    }
    FT_Face ft = static_cast<FT_Face>(face_);
    int advance = wide ? metrics_.em : metrics_.em / 2;
    glyph.first_run = static_cast<uint32_t>(runs_.size());
    // Control characters have no picture; they still take their cell.
    if (ft && character >= 0x20) {
        FT_UInt index = FT_Get_Char_Index(ft, character);
        if (!index && (character == NarrowReplacementChar || character == WideReplacementChar))
            index = FT_Get_Char_Index(ft, '?');
        if (FT_Load_Glyph(ft, index, FT_LOAD_TARGET_MONO) == 0) {
            FT_GlyphSlot slot = ft->glyph;
            bool embolden_bitmap = synthetic_bold_;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE && synthetic_bold_) {
                FT_Outline_EmboldenXY(&slot->outline, 64, 0); // one pixel wider, as simulated bold
                embolden_bitmap = false;
            }
            if (slot->format == FT_GLYPH_FORMAT_BITMAP || FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0)
                AppendRuns(slot->bitmap, slot->bitmap_left, slot->bitmap_top, embolden_bitmap, runs_);
            if (!fixed_cells_) advance = static_cast<int>((slot->advance.x + 32) >> 6) + (synthetic_bold_ ? 1 : 0);
        }
    }
    glyph.advance = advance;
    glyph.run_count = static_cast<uint32_t>(runs_.size()) - glyph.first_run;
    Box bounds;
    for (uint32_t i = glyph.first_run; i < runs_.size(); ++i)
        bounds = bounds.Bound(Box{runs_[i].x0, runs_[i].dy, runs_[i].x1, runs_[i].dy + 1});
    glyph.bounds = bounds;
}

FontFace *FaceOf(Font &font) {
    if (!font.face) {
        FontSystem &system = System();
        bool bold = font.description.lfWeight >= 600; // FW_SEMIBOLD and heavier
        font.face = system.Open(system.Resolve(font.description, bold), font.description, bold);
    }
    return font.face.get();
}

void ResetText() {
    std::lock_guard<std::mutex> hold(TextLock());
    delete g_system;
    g_system = nullptr;
}

} // namespace vorla::platform::gdi

extern "C" {

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                         DWORD underline, DWORD strike_out, DWORD charset, DWORD output_precision,
                         DWORD clip_precision, DWORD quality, DWORD pitch_and_family, LPCSTR face) {
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = height;
    description.lfWidth = width;
    description.lfEscapement = escapement;
    description.lfOrientation = orientation;
    description.lfWeight = weight;
    description.lfItalic = static_cast<BYTE>(italic);
    description.lfUnderline = static_cast<BYTE>(underline);
    description.lfStrikeOut = static_cast<BYTE>(strike_out);
    description.lfCharSet = static_cast<BYTE>(charset);
    description.lfOutPrecision = static_cast<BYTE>(output_precision);
    description.lfClipPrecision = static_cast<BYTE>(clip_precision);
    description.lfQuality = static_cast<BYTE>(quality);
    description.lfPitchAndFamily = static_cast<BYTE>(pitch_and_family);
    if (face) std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&description);
}

} // extern "C"
