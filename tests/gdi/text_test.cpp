// Text of the window-system layer: fonts and metrics of the Gothic face, extents against drawn
// pixels, TextOutA and DrawTextA placement, prefixes, clipping and CP932 decoding.
#include "board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace driver = vorla::testing;

namespace {

// "ＭＳ ゴシック" in CP932.
const char GothicName[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
const char Japanese[] = "\x93\xFA\x96\x7B\x8C\xEA"; // 日本語

using board::Black;
using board::Blue;
using board::Red;
using board::White;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom excluded; empty when left == right
    bool Empty() const { return right <= left; }
};

// A white board with the Gothic face selected.
class Surface : public board::Board {
public:
    Surface(int width, int height, int size = 12, int weight = FW_NORMAL, const char *face = GothicName)
        : Board(width, height) {
        Use(CreateFontA(-size, 0, 0, 0, weight, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face));
    }

    // Bounds of the pixels of one colour.
    Box Bounds(COLORREF colour) const {
        Box b{width(), height(), 0, 0};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (GetPixel(dc(), x, y) == colour) {
                    b.left = std::min(b.left, x);
                    b.top = std::min(b.top, y);
                    b.right = std::max(b.right, x + 1);
                    b.bottom = std::max(b.bottom, y + 1);
                }
        if (b.right <= b.left) return Box{};
        return b;
    }
    using Board::Count;
    int Count(COLORREF colour, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += GetPixel(dc(), x, y) == colour;
        return n;
    }

    SIZE Extent(const char *text, int length = -1) const {
        SIZE size{-1, -1};
        GetTextExtentPoint32A(dc(), text, length < 0 ? static_cast<int>(std::strlen(text)) : length, &size);
        return size;
    }
    TEXTMETRICA Metrics() const {
        TEXTMETRICA tm{};
        EXPECT_TRUE(GetTextMetricsA(dc(), &tm));
        return tm;
    }
    void Out(int x, int y, const char *text) { TextOutA(dc(), x, y, text, static_cast<int>(std::strlen(text))); }
    int Draw(const char *text, RECT rect, UINT format) { return DrawTextA(dc(), text, -1, &rect, format); }
};

bool SamePixels(const driver::Image &a, const driver::Image &b) { return a.pixels == b.pixels; }

class TextTest : public ::testing::Test {
protected:
    void SetUp() override { driver::Reset(); }
};

} // namespace

TEST_F(TextTest, GothicCellIsEmHighWithHalfAndFullWidthAdvances) {
    struct Case {
        int size, ascent, descent;
    } cases[] = {{12, 11, 1}, {16, 14, 2}, {13, 11, 2}};
    for (const Case &c : cases) {
        Surface s(8, 8, c.size);
        TEXTMETRICA tm = s.Metrics();
        EXPECT_EQ(tm.tmHeight, c.size);
        EXPECT_EQ(tm.tmAscent, c.ascent);
        EXPECT_EQ(tm.tmDescent, c.descent);
        EXPECT_EQ(tm.tmInternalLeading, 0);
        EXPECT_EQ(tm.tmAveCharWidth, c.size / 2);
        EXPECT_EQ(tm.tmMaxCharWidth, c.size);
        EXPECT_EQ(s.Extent("A").cx, c.size / 2);
        EXPECT_EQ(s.Extent("\x82\xA0").cx, c.size); // あ
        EXPECT_EQ(s.Extent("\xB1").cx, c.size / 2); // half-width katakana
        EXPECT_EQ(s.Extent(Japanese).cx, 3 * c.size);
        EXPECT_EQ(s.Extent("A\x82\xA0 x").cy, c.size);
        EXPECT_EQ(s.Extent("A\x82\xA0 x").cx, 3 * (c.size / 2) + c.size);
    }
    Surface s(8, 8);
    SIZE empty = s.Extent("");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
}

TEST_F(TextTest, GothicNamesAndHeightsSelectTheSameCell) {
    // Other spellings of the face, a positive (cell) height and the default height.
    const char *names[] = {"MS Gothic", "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"};
    for (const char *name : names) {
        Surface s(8, 8, 12, FW_NORMAL, name);
        EXPECT_EQ(s.Metrics().tmAscent, 11) << name;
        EXPECT_EQ(s.Extent("ab\x82\xA0").cx, 24) << name;
    }
    Surface s(8, 8);
    LOGFONTA cell{};
    cell.lfHeight = 16;
    std::memcpy(cell.lfFaceName, GothicName, sizeof GothicName);
    HFONT f16 = CreateFontIndirectA(&cell);
    HGDIOBJ old = SelectObject(s.dc(), f16);
    EXPECT_EQ(s.Metrics().tmHeight, 16);
    EXPECT_EQ(s.Metrics().tmAscent, 14);
    cell.lfHeight = 0;
    HFONT f0 = CreateFontIndirectA(&cell);
    SelectObject(s.dc(), f0);
    EXPECT_EQ(s.Metrics().tmHeight, 12);
    EXPECT_EQ(s.Extent("a").cx, 6);
    SelectObject(s.dc(), old);
    DeleteObject(f16);
    DeleteObject(f0);
}

TEST_F(TextTest, UnknownFaceFallsBackToAFontThatDraws) {
    Surface s(80, 30, 12, FW_NORMAL, "No Such Face 123");
    TEXTMETRICA tm = s.Metrics();
    EXPECT_GT(tm.tmHeight, 8);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    SIZE size = s.Extent("Hello");
    EXPECT_GT(size.cx, 0);
    SetBkMode(s.dc(), TRANSPARENT);
    s.Out(2, 2, "Hello");
    Box ink = s.Bounds(Black);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 2);
    EXPECT_LE(ink.right, 2 + size.cx);
}

TEST_F(TextTest, DrawnInkStaysInsideTheMeasuredCells) {
    const char *texts[] = {"Hello, World", "MMMMWWWW", "iiii|||", "Ag\x82\xA0\xB1" "\x93\xFA", "(jpqy)"};
    for (int size : {12, 16}) {
        Surface s(200, 40, size);
        for (const char *text : texts) {
            s.Clear();
            SetBkMode(s.dc(), TRANSPARENT);
            s.Out(7, 5, text);
            SIZE extent = s.Extent(text);
            Box ink = s.Bounds(Black);
            ASSERT_FALSE(ink.Empty()) << text;
            EXPECT_GE(ink.left, 7) << text;
            EXPECT_LE(ink.right, 7 + extent.cx) << text;
            EXPECT_GE(ink.top, 5) << text;
            EXPECT_LE(ink.bottom, 5 + extent.cy) << text;
            // Opaque: the background is exactly the cell run, the glyphs are the same pixels.
            driver::Image transparent = s.Picture();
            s.Clear();
            SetBkMode(s.dc(), OPAQUE);
            SetBkColor(s.dc(), Red);
            s.Out(7, 5, text);
            Box cell = s.Bounds(Red);
            EXPECT_EQ(cell.left, 7) << text;
            EXPECT_EQ(cell.top, 5) << text;
            EXPECT_EQ(cell.right, 7 + extent.cx) << text;
            EXPECT_EQ(cell.bottom, 5 + size) << text;
            EXPECT_EQ(s.Count(Red) + s.Count(Black), extent.cx * size) << text;
            driver::Image opaque = s.Picture();
            for (size_t i = 0; i < opaque.pixels.size(); ++i)
                ASSERT_EQ(opaque.pixels[i] == 0, transparent.pixels[i] == 0) << text << " pixel " << i;
        }
    }
}

TEST_F(TextTest, TextColourAndJapaneseGlyphs) {
    Surface s(60, 20);
    SetBkMode(s.dc(), TRANSPARENT);
    SetTextColor(s.dc(), Blue);
    s.Out(0, 0, Japanese);
    EXPECT_EQ(s.Count(Black), 0);
    for (int i = 0; i < 3; ++i) EXPECT_GT(s.Count(Blue, i * 12, 0, i * 12 + 12, 12), 10) << "character " << i;
    // Each character is its own picture.
    driver::Image picture = s.Picture();
    auto cell = [&](int i) {
        std::vector<uint32_t> v;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) v.push_back(picture.At(i * 12 + x, y));
        return v;
    };
    EXPECT_NE(cell(0), cell(1));
    EXPECT_NE(cell(1), cell(2));
}

TEST_F(TextTest, BoldIsHeavierButKeepsTheGothicAdvances) {
    Surface normal(80, 20), bold(80, 20, 12, FW_BOLD);
    EXPECT_EQ(bold.Extent("Ab\x82\xA0").cx, 24);
    EXPECT_EQ(bold.Metrics().tmWeight, FW_BOLD);
    normal.Out(0, 0, "Ab\x82\xA0");
    bold.Out(0, 0, "Ab\x82\xA0");
    EXPECT_GT(bold.Count(Black), normal.Count(Black));
}

TEST_F(TextTest, ClipAndSurfaceEdgesLimitTheText) {
    Surface s(60, 30), reference(60, 30);
    reference.Out(3, 4, "W\x93\xFA" "W");
    IntersectClipRect(s.dc(), 8, 6, 20, 12);
    SetBkColor(s.dc(), Red);
    s.Out(3, 4, "W\x93\xFA" "W");
    driver::Image clipped = s.Picture(), full = reference.Picture();
    int inside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            bool in = x >= 8 && x < 20 && y >= 6 && y < 12;
            if (in) {
                ASSERT_EQ(clipped.At(x, y) == 0, full.At(x, y) == 0) << x << "," << y;
                inside += clipped.At(x, y) == 0;
            } else {
                ASSERT_EQ(clipped.At(x, y), 0xFFFFFFu) << x << "," << y;
            }
        }
    EXPECT_GT(inside, 0);
    // Text hanging over every edge of the surface draws its visible part only.
    SelectClipRgn(s.dc(), nullptr);
    s.Clear();
    s.Out(-5, -6, "\x93\xFA\x96\x7B\x8C\xEA\x93\xFA\x96\x7B\x8C\xEA");
    s.Out(50, 25, "\x93\xFA\x96\x7B");
    EXPECT_GT(s.Count(Black), 0);
}

TEST_F(TextTest, AlignmentModesPlaceTheCell) {
    const char text[] = "Ab\x82\xA0"; // 24 pixels wide
    struct Case {
        UINT align;
        int x, y, left, top;
    } cases[] = {
        {TA_RIGHT, 40, 10, 16, 10},
        {TA_CENTER, 40, 10, 28, 10},
        {TA_BASELINE, 5, 20, 5, 9},
        {TA_BOTTOM | TA_RIGHT, 40, 20, 16, 8},
    };
    for (const Case &c : cases) {
        Surface s(80, 40), reference(80, 40);
        SetTextAlign(s.dc(), c.align);
        s.Out(c.x, c.y, text);
        reference.Out(c.left, c.top, text);
        EXPECT_TRUE(SamePixels(s.Picture(), reference.Picture())) << "align " << c.align;
    }
    // The current position: used instead of (x, y), then moved past the text.
    Surface s(80, 40), reference(80, 40);
    SetTextAlign(s.dc(), TA_UPDATECP);
    MoveToEx(s.dc(), 3, 4, nullptr);
    s.Out(70, 70, "ab");
    s.Out(0, 0, "\x82\xA0");
    reference.Out(3, 4, "ab\x82\xA0");
    EXPECT_TRUE(SamePixels(s.Picture(), reference.Picture()));
    POINT p{};
    MoveToEx(s.dc(), 0, 0, &p);
    EXPECT_EQ(p.x, 3 + 24);
    EXPECT_EQ(p.y, 4);
}

TEST_F(TextTest, DrawTextPlacesSingleLinesByTheTruncatingRules) {
    const char text[] = "Abc\x82\xA0"; // 30 pixels at 12, 40 at 16
    for (int size : {12, 16}) {
        int cx = size == 12 ? 30 : 40;
        struct Case {
            UINT format;
            RECT rect;
            int x, y;
        } cases[] = {
            {DT_SINGLELINE, {3, 5, 71, 33}, 3, 5},
            {DT_SINGLELINE | DT_CENTER, {3, 5, 72, 33}, (3 + 72 - cx) / 2, 5},
            {DT_SINGLELINE | DT_RIGHT, {3, 5, 71, 33}, 71 - cx, 5},
            {DT_SINGLELINE | DT_VCENTER, {3, 5, 71, 34}, 3, 5 + 29 / 2 - size / 2},
            {DT_SINGLELINE | DT_VCENTER | DT_CENTER, {-9, 3, 20, 30}, (-9 + 20 - cx) / 2, 3 + 27 / 2 - size / 2},
            {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, {3, 5, 71, 33}, 71 - cx, 33 - size},
            {DT_VCENTER | DT_CENTER, {3, 5, 71, 34}, (3 + 71 - cx) / 2, 5}, // not single-line: no centring
        };
        for (const Case &c : cases) {
            Surface s(80, 40, size), reference(80, 40, size);
            SetBkColor(s.dc(), Red);
            SetBkColor(reference.dc(), Red);
            int height = s.Draw(text, c.rect, c.format | DT_NOCLIP);
            reference.Out(c.x, c.y, text);
            EXPECT_TRUE(SamePixels(s.Picture(), reference.Picture())) << size << " format " << c.format;
            Box cell = s.Bounds(Red);
            EXPECT_EQ(cell.left, std::max(c.x, 0)) << size << " format " << c.format;
            EXPECT_EQ(cell.top, c.y) << size << " format " << c.format;
            bool offset = (c.format & DT_SINGLELINE) && (c.format & (DT_VCENTER | DT_BOTTOM));
            EXPECT_EQ(height, offset ? c.y + size - c.rect.top : size) << size << " format " << c.format;
        }
    }
    // (-9 + 20 - 30) / 2 truncates to -9, not -10.
    Surface s(80, 40);
    SetBkColor(s.dc(), Red);
    s.Draw("Abc\x82\xA0", RECT{-9, 3, 20, 30}, DT_SINGLELINE | DT_CENTER | DT_NOCLIP);
    EXPECT_EQ(s.Count(Red, 0, 0, 80, 40) + s.Count(Black, 0, 0, 80, 40), (30 - 9) * 12);
}

TEST_F(TextTest, DrawTextClipsToTheRectangleUnlessAsked) {
    Surface s(80, 40), reference(80, 40);
    SetBkColor(s.dc(), Red);
    SetBkColor(reference.dc(), Red);
    RECT rect{10, 10, 25, 18};
    s.Draw("WWWWWW", rect, DT_SINGLELINE | DT_VCENTER);
    reference.Draw("WWWWWW", rect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    Box drawn = s.Bounds(Red);
    EXPECT_EQ(drawn.left, 10);
    EXPECT_EQ(drawn.right, 25);
    EXPECT_EQ(drawn.top, 10);
    EXPECT_EQ(drawn.bottom, 18);
    Box unclipped = reference.Bounds(Red);
    EXPECT_EQ(unclipped.right, 10 + 36);
    EXPECT_EQ(unclipped.top, 10 + 4 - 6);
}

TEST_F(TextTest, DrawTextBreaksLinesAtCrLfAndCountsCrLfOnce) {
    Surface s(80, 80), reference(80, 80);
    int height = s.Draw("ab\r\n\x82\xA0" "c\rde\n\nf\r\n", RECT{2, 3, 60, 80}, DT_CENTER);
    EXPECT_EQ(height, 5 * 12);
    reference.Out((2 + 60 - 12) / 2, 3, "ab");
    reference.Out((2 + 60 - 18) / 2, 15, "\x82\xA0" "c");
    reference.Out((2 + 60 - 12) / 2, 27, "de");
    reference.Out((2 + 60 - 6) / 2, 51, "f");
    EXPECT_TRUE(SamePixels(s.Picture(), reference.Picture()));

    // Single-line keeps every character on one line.
    Surface single(80, 20);
    EXPECT_EQ(single.Draw("a\r\nb", RECT{0, 0, 80, 20}, DT_SINGLELINE), 12);
    EXPECT_LE(single.Bounds(Black).bottom, 12);

    // DT_CALCRECT measures without drawing.
    Surface calc(80, 80);
    RECT rect{5, 6, 7, 8};
    EXPECT_EQ(DrawTextA(calc.dc(), "abc\r\n&\x82\xA0", -1, &rect, DT_CALCRECT), 24);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right, 5 + 18);
    EXPECT_EQ(rect.bottom, 6 + 24);
    EXPECT_EQ(calc.Count(White), 80 * 80);
}

TEST_F(TextTest, PrefixesUnderlineAndCollapse) {
    const int x = 4, y = 3;
    Surface s(80, 30), plain(80, 30);
    s.Draw("F&ile", RECT{x, y, 80, 30}, 0);
    plain.Out(x, y, "File");
    driver::Image with = s.Picture(), without = plain.Picture();
    // Only the row one below the baseline differs, under 'i' from its left edge to before its right.
    for (int yy = 0; yy < 30; ++yy)
        for (int xx = 0; xx < 80; ++xx) {
            bool line = yy == y + 11 + 1 && xx >= x + 6 && xx < x + 11;
            if (line) EXPECT_EQ(with.At(xx, yy), 0u) << xx << "," << yy;
            else EXPECT_EQ(with.At(xx, yy), without.At(xx, yy)) << xx << "," << yy;
        }

    // "&&" shows one "&", a final "&" shows as is, DT_NOPREFIX shows every "&".
    struct Case {
        const char *text;
        UINT format;
        const char *shown;
    } cases[] = {
        {"a&&b", 0, "a&b"},
        {"ab&", 0, "ab&"},
        {"a&b", DT_NOPREFIX, "a&b"},
        {"&&&&", 0, "&&"},
    };
    for (const Case &c : cases) {
        Surface drawn(80, 30), reference(80, 30);
        drawn.Draw(c.text, RECT{x, y, 80, 30}, c.format);
        reference.Out(x, y, c.shown);
        EXPECT_TRUE(SamePixels(drawn.Picture(), reference.Picture())) << c.text;
    }

    // Widths are taken after the prefixes are gone; a double-byte character is underlined whole.
    Surface right(80, 30), reference(80, 30);
    right.Draw("&\x82\xA0" "b", RECT{0, 0, 60, 30}, DT_RIGHT);
    reference.Out(60 - 18, 0, "\x82\xA0" "b");
    driver::Image r = right.Picture(), ref = reference.Picture();
    EXPECT_EQ(right.Count(Black, 0, 12, 80, 13), 11);
    EXPECT_EQ(right.Count(Black, 42, 12, 53, 13), 11);
    for (int yy = 0; yy < 12; ++yy)
        for (int xx = 0; xx < 80; ++xx) ASSERT_EQ(r.At(xx, yy), ref.At(xx, yy)) << xx << "," << yy;
}

TEST_F(TextTest, InvalidAndTruncatedCp932AdvancesAndDraws) {
    Surface s(120, 20);
    struct Case {
        std::vector<char> bytes;
        int cx;
    } cases[] = {
        {{'\x82'}, 6},              // lead byte at the end
        {{'\x82', ' '}, 12},        // lead byte followed by a non-trail byte: two narrow units
        {{'\x82', '\x0A'}, 12},     // a line feed is never a trail byte
        {{'\x85', '\x40'}, 12},     // a well-formed pair without a character
        {{'\x80', '\xA0', '\xFD'}, 18},
        {{'a', '\x82', '\xA0', '\xE0'}, 24},
    };
    for (const Case &c : cases) {
        // Exactly sized heap buffers: any read past the length is caught by the sanitizers.
        std::vector<char> bytes = c.bytes;
        int n = static_cast<int>(bytes.size());
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32A(s.dc(), bytes.data(), n, &size));
        EXPECT_EQ(size.cx, c.cx) << n;
        s.Clear();
        SetBkMode(s.dc(), TRANSPARENT);
        EXPECT_TRUE(TextOutA(s.dc(), 1, 1, bytes.data(), n));
        RECT rect{0, 0, 120, 20};
        DrawTextA(s.dc(), bytes.data(), n, &rect, DT_SINGLELINE);
        DrawTextA(s.dc(), bytes.data(), n, &rect, 0);
        DrawTextA(s.dc(), bytes.data(), n, &rect, DT_CALCRECT);
    }
    // The replacement has a picture, and a length shorter than the text is honoured.
    s.Clear();
    TextOutA(s.dc(), 0, 0, "\x85\x40", 2);
    EXPECT_GT(s.Count(Black), 0);
    SIZE size{};
    GetTextExtentPoint32A(s.dc(), "\x82\xA0", 1, &size);
    EXPECT_EQ(size.cx, 6);
    RECT rect{0, 0, 10, 10};
    EXPECT_EQ(DrawTextA(s.dc(), nullptr, 0, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(s.dc(), "", -1, &rect, 0), 0);
}

TEST_F(TextTest, TwentyFourBitDibSectionGetsTheSamePixels) {
    const int w = 50, h = 16;
    Surface reference(w, h);
    SetBkColor(reference.dc(), Red);
    SetTextColor(reference.dc(), Blue);
    reference.Out(3, 2, "Ag\x93\xFA");
    driver::Image expected = reference.Picture();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    HGDIOBJ old_bitmap = SelectObject(dc, dib);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, GothicName);
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkColor(dc, Red);
    SetTextColor(dc, Blue);
    TextOutA(dc, 3, 2, "Ag\x93\xFA", 4);
    const int row_bytes = (3 * w + 3) & ~3;
    const unsigned char *memory = static_cast<const unsigned char *>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char *p = memory + (h - 1 - y) * row_bytes + 3 * x;
            uint32_t rgb = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            ASSERT_EQ(rgb, expected.At(x, y)) << x << "," << y;
        }
    SelectObject(dc, old_font);
    SelectObject(dc, old_bitmap);
    DeleteObject(font);
    DeleteObject(dib);
    DeleteDC(dc);
}

TEST_F(TextTest, AlignedTextMatchesGoldenPictures) {
    // "Vorla &File 日本語ｶﾀｶﾅ" left, centred and right in cells of three rows.
    const char text[] = "Vorla &File \x93\xFA\x96\x7B\x8C\xEA\xB6\xC0\xB6\xC5";
    for (int size : {12, 16}) {
        const int w = 16 * size, row = size + 6;
        Surface s(w, 3 * row, size);
        SetBkColor(s.dc(), RGB(255, 255, 192));
        SetTextColor(s.dc(), RGB(0, 0, 128));
        UINT alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
        for (int i = 0; i < 3; ++i)
            s.Draw(text, RECT{2, i * row, w - 2, (i + 1) * row}, DT_SINGLELINE | DT_VCENTER | alignments[i]);
        std::string message;
        EXPECT_TRUE(driver::MatchesGolden(s.Picture(), "text_" + std::to_string(size), &message)) << message;
    }
}
