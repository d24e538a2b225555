// Blits and fills: equal-size copies clipped on both sides, overlapping copies inside one
// surface, nearest-pixel stretching, DIB sections and monochrome bitmaps, FillRect and PatBlt.
#include "board.h"

#include <gtest/gtest.h>

#include <climits>

using namespace board;

namespace {

// A colour telling where a pixel came from.
COLORREF Tag(int x, int y) { return RGB(x * 3 + 1, y * 5 + 2, 77); }

void Paint(Board &b) {
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) SetPixel(b.dc(), x, y, Tag(x, y));
}

HBITMAP MakeDib(int width, int height, int bits, UINT usage, void **memory) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBSection(nullptr, &info, usage, memory, nullptr, 0);
}

class Blits : public ::testing::Test {
protected:
    void SetUp() override { vorla::testing::Reset(); }
};

TEST_F(Blits, CopyIsClippedByDestinationClipAndSourceBitmapOnly) {
    Board from(10, 8), to(16, 12);
    Paint(from);
    IntersectClipRect(from.dc(), 0, 0, 1, 1); // the source context's clip does not count
    IntersectClipRect(to.dc(), 2, 0, 14, 9);
    // The source rectangle starts 2 columns left of the bitmap and runs past its bottom.
    EXPECT_TRUE(BitBlt(to.dc(), 1, 3, 8, 9, from.dc(), -2, 1, SRCCOPY));
    SelectClipRgn(to.dc(), nullptr);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            int sx = x - 3, sy = y - 2;
            bool copied = x >= 2 && x < 9 && y >= 3 && y < 9 && sx >= 0;
            EXPECT_EQ(GetPixel(to.dc(), x, y), copied ? Tag(sx, sy) : White) << x << "," << y;
        }

    // Rectangles far beyond both surfaces copy what overlaps and nothing else.
    Board huge(6, 6);
    EXPECT_TRUE(BitBlt(huge.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, from.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(huge.dc(), 0, 0, INT_MAX, INT_MAX, from.dc(), INT_MIN, INT_MIN, SRCCOPY));
    EXPECT_TRUE(StretchBlt(huge.dc(), INT_MIN, 0, INT_MAX, 3, from.dc(), 0, 0, INT_MAX, 2, SRCCOPY));
    EXPECT_EQ(huge.Count(White), 36);
    EXPECT_TRUE(BitBlt(huge.dc(), -2, -3, INT_MAX, INT_MAX, from.dc(), 0, 0, SRCCOPY));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(GetPixel(huge.dc(), x, y), y < 5 ? Tag(x + 2, y + 3) : White);
}

TEST_F(Blits, OverlappingCopiesInsideOneSurface) {
    const int shifts[][2] = {{3, 2}, {-3, -2}, {4, 0}, {-4, 0}, {0, 3}, {0, -3}, {2, -3}, {-2, 3}, {1, 0}};
    for (auto &s : shifts)
        for (bool split_clip : {false, true}) {
            Board b(20, 16);
            Paint(b);
            if (split_clip) {
                HRGN a = CreateRectRgn(0, 0, 9, 16), c = CreateRectRgn(11, 3, 20, 16);
                CombineRgn(a, a, c, RGN_OR);
                SelectClipRgn(b.dc(), a);
                DeleteObject(a);
                DeleteObject(c);
            }
            BitBlt(b.dc(), 4 + s[0], 3 + s[1], 12, 9, b.dc(), 4, 3, SRCCOPY);
            SelectClipRgn(b.dc(), nullptr);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 20; ++x) {
                    bool visible = !split_clip || x < 9 || (x >= 11 && y >= 3);
                    int sx = x - s[0], sy = y - s[1];
                    bool copied = visible && sx >= 4 && sx < 16 && sy >= 3 && sy < 12;
                    ASSERT_EQ(GetPixel(b.dc(), x, y), copied ? Tag(sx, sy) : Tag(x, y))
                        << "shift " << s[0] << "," << s[1] << (split_clip ? " split" : "") << " at " << x << "," << y;
                }
        }
}

TEST_F(Blits, StretchTakesTheNearestSourcePixel) {
    Board from(8, 6), up(20, 14), down(4, 4), self(12, 12);
    Paint(from);
    EXPECT_TRUE(StretchBlt(up.dc(), 1, 1, 16, 12, from.dc(), 2, 1, 5, 4, SRCCOPY));
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 20; ++x) {
            bool in = x >= 1 && x < 17 && y >= 1 && y < 13;
            EXPECT_EQ(GetPixel(up.dc(), x, y), in ? Tag(2 + (x - 1) * 5 / 16, 1 + (y - 1) * 4 / 12) : White) << x << "," << y;
        }
    StretchBlt(down.dc(), 0, 0, 3, 2, from.dc(), 0, 0, 8, 6, SRCCOPY);
    EXPECT_EQ(GetPixel(down.dc(), 1, 0), Tag(2, 0));
    EXPECT_EQ(GetPixel(down.dc(), 2, 1), Tag(5, 3));
    EXPECT_EQ(GetPixel(down.dc(), 3, 0), White);
    // Columns whose source lies beyond the bitmap stay as they were.
    StretchBlt(down.dc(), 0, 3, 4, 1, from.dc(), 4, 0, 8, 1, SRCCOPY);
    EXPECT_EQ(down.Art(), Rows({"???.", "???.", "....", "??.."}));

    // A stretch inside one surface reads the source as it was.
    Paint(self);
    StretchBlt(self.dc(), 2, 2, 10, 10, self.dc(), 0, 0, 5, 5, SRCCOPY);
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 12; ++x) EXPECT_EQ(GetPixel(self.dc(), x, y), Tag((x - 2) / 2, (y - 2) / 2)) << x << "," << y;
}

TEST_F(Blits, DibSectionsShareTheirMemory) {
    // 24 bits bottom-up, written by the caller, under either colour usage.
    for (UINT usage : {static_cast<UINT>(DIB_RGB_COLORS), static_cast<UINT>(DIB_PAL_COLORS)}) {
        void *memory = nullptr;
        HBITMAP dib = MakeDib(5, 3, 24, usage, &memory);
        ASSERT_TRUE(dib && memory);
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, dib);
        auto *bytes = static_cast<uint8_t *>(memory);
        const int stride = (5 * 3 + 3) & ~3;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                uint8_t *p = bytes + (2 - y) * stride + x * 3; // the first row in memory is the bottom one
                COLORREF c = Tag(x, y);
                p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
            }
        Board to(6, 4);
        BitBlt(to.dc(), 1, 1, 5, 3, dc, 0, 0, SRCCOPY);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(GetPixel(to.dc(), x + 1, y + 1), Tag(x, y)) << usage;
        BitBlt(dc, 0, 0, 2, 1, to.dc(), 0, 0, SRCCOPY); // white lands in the caller's memory
        EXPECT_EQ(bytes[2 * stride + 5], 255);
        EXPECT_EQ(bytes[2 * stride + 6], GetBValue(Tag(2, 0)));
        DeleteDC(dc);
        DeleteObject(dib);
    }

    // 32 bits top-down, stretched into 24 bits bottom-up.
    void *memory = nullptr, *wide_memory = nullptr;
    HBITMAP dib = MakeDib(4, -2, 32, DIB_RGB_COLORS, &memory), wide = MakeDib(8, 4, 24, DIB_RGB_COLORS, &wide_memory);
    static_cast<uint32_t *>(memory)[1] = 0x00112233;
    static_cast<uint32_t *>(memory)[7] = 0x00445566;
    HDC dc = CreateCompatibleDC(nullptr), wide_dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, dib);
    SelectObject(wide_dc, wide);
    StretchBlt(wide_dc, 0, 0, 8, 4, dc, 0, 0, 4, 2, SRCCOPY);
    EXPECT_EQ(GetPixel(wide_dc, 3, 1), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(GetPixel(wide_dc, 7, 3), RGB(0x44, 0x55, 0x66));
    EXPECT_EQ(GetPixel(wide_dc, 7, 1), Black);
    EXPECT_EQ(static_cast<uint8_t *>(wide_memory)[7 * 3], 0x66) << "row 3 is first in memory";
    DeleteDC(wide_dc);
    DeleteDC(dc);
    DeleteObject(wide);
    DeleteObject(dib);
}

TEST_F(Blits, MonochromeBitmapsUseTheContextColours) {
    const uint8_t bits[] = {0xA5, 0x00, 0x0F, 0x00}; // rows of 8 pixels, padded to 16 bits
    HBITMAP mono = CreateBitmap(8, 2, 1, 1, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, mono);
    Board to(8, 2), from(8, 2);
    SetTextColor(to.dc(), Red); // 0 bits
    SetBkColor(to.dc(), Blue);  // 1 bits
    BitBlt(to.dc(), 0, 0, 8, 2, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(to.Art(), Rows({"brbrrbrb", "rrrrbbbb"}));

    // Colour to monochrome: the source's background colour becomes 1, everything else 0.
    from.Clear(Green);
    SetPixel(from.dc(), 2, 0, Red);
    SetPixel(from.dc(), 5, 1, Black);
    SetBkColor(from.dc(), Green);
    BitBlt(dc, 0, 0, 8, 2, from.dc(), 0, 0, SRCCOPY);
    SetTextColor(to.dc(), Black);
    SetBkColor(to.dc(), White);
    BitBlt(to.dc(), 0, 0, 8, 2, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(to.Art(), Rows({"..#.....", ".....#.."}));
    DeleteDC(dc);
    DeleteObject(mono);
}

TEST_F(Blits, FillsAndPatternBlits) {
    Board b(8, 4);
    HBRUSH red = CreateSolidBrush(Red);
    RECT r{1, 1, 5, 3}, inverted{5, 1, 1, 3};
    SetROP2(b.dc(), R2_XORPEN); // FillRect ignores the raster mode
    EXPECT_TRUE(FillRect(b.dc(), &r, red));
    FillRect(b.dc(), &inverted, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(b.Art(), Rows({"........", ".rrrr...", ".rrrr...", "........"}));
    PatBlt(b.dc(), 3, 0, 4, 2, DSTINVERT);
    SelectObject(b.dc(), red);
    PatBlt(b.dc(), 7, 4, -2, -2, PATCOPY);
    EXPECT_EQ(b.Art(), Rows({"...####.", ".rr??##.", ".rrrrrr.", ".....rr."}));
    SelectObject(b.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

} // namespace
