// Copies between 24-bit DIB sections and 32-bit bitmaps: every width and offset the word-wise
// row conversion meets, both row orders, the bytes beside a copy left alone, and a 640 x 480
// conversion at the speed of a plain loop over the same pixels.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class Conversions : public ::testing::Test {
protected:
    void SetUp() override { vorla::testing::Reset(); }
};

// A memory context holding a DIB section (bits 24 or 32; height < 0 for top-down).
struct Dib {
    HDC dc;
    HBITMAP bitmap;
    uint8_t *bits = nullptr;
    int width, height, stride;
    bool bottomUp;

    Dib(int w, int h, int bitCount) : width(w), height(h < 0 ? -h : h), bottomUp(h > 0)
    {
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bitCount), BI_RGB, 0, 0, 0, 0, 0};
        void *memory = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<uint8_t *>(memory);
        stride = ((w * bitCount + 31) / 32) * 4;
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bitmap);
    }
    ~Dib()
    {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    uint8_t *Row(int y) const { return bits + static_cast<ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride; }
};

uint8_t Byte(int i) { return static_cast<uint8_t>(i * 37 + 11); }

TEST_F(Conversions, EveryWidthAndOffsetFrom24To32) {
    for (int rows : {3, -3}) {
        Dib from(13, rows, 24), to(16, 3, 32);
        for (int i = 0; i < from.stride * 3; ++i)
            from.bits[i] = Byte(i);
        for (int sx = 0; sx < 4; ++sx)
            for (int w = 1; w <= 9; ++w) {
                std::memset(to.bits, 0xEE, static_cast<size_t>(to.stride) * 3);
                ASSERT_TRUE(BitBlt(to.dc, 2, 0, w, 3, from.dc, sx, 0, SRCCOPY));
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < 16; ++x) {
                        uint32_t got;
                        std::memcpy(&got, to.Row(y) + x * 4, 4);
                        uint32_t want = 0xEEEEEEEE;
                        if (x >= 2 && x < 2 + w) {
                            const uint8_t *p = from.Row(y) + (sx + x - 2) * 3;
                            want = p[0] | p[1] << 8 | p[2] << 16;
                        }
                        ASSERT_EQ(got, want) << "rows " << rows << " sx " << sx << " w " << w << " at " << x << "," << y;
                    }
            }
    }
}

TEST_F(Conversions, EveryWidthAndOffsetFrom32To24) {
    for (int rows : {3, -3}) {
        Dib from(16, 3, 32), to(13, rows, 24);
        for (int i = 0; i < from.stride * 3; ++i)
            from.bits[i] = Byte(i); // the unused top bytes too: they must not reach the copy
        for (int dx = 0; dx < 4; ++dx)
            for (int w = 1; w <= 9; ++w) {
                std::memset(to.bits, 0xEE, static_cast<size_t>(to.stride) * 3);
                ASSERT_TRUE(BitBlt(to.dc, dx, 0, w, 3, from.dc, 3, 0, SRCCOPY));
                for (int y = 0; y < 3; ++y)
                    for (int b = 0; b < to.stride; ++b) { // padding included
                        uint8_t want = 0xEE;
                        int x = b / 3;
                        if (b < 13 * 3 && x >= dx && x < dx + w)
                            want = from.Row(y)[(3 + x - dx) * 4 + b % 3];
                        ASSERT_EQ(to.Row(y)[b], want) << "rows " << rows << " dx " << dx << " w " << w << " byte " << b;
                    }
            }
    }
}

TEST_F(Conversions, ClippedAndPartlyOutsideCopies) {
    Dib from(7, 5, 24), to(9, -6, 32);
    for (int i = 0; i < from.stride * 5; ++i)
        from.bits[i] = Byte(i);
    std::memset(to.bits, 0, static_cast<size_t>(to.stride) * 6);
    IntersectClipRect(to.dc, 1, 1, 8, 5);
    // The source starts left of and above its bitmap: only pixels on both surfaces are copied.
    ASSERT_TRUE(BitBlt(to.dc, 0, 0, 9, 6, from.dc, -2, -1, SRCCOPY));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) {
            uint32_t got;
            std::memcpy(&got, to.Row(y) + x * 4, 4);
            int sx = x - 2, sy = y - 1;
            uint32_t want = 0;
            if (x >= 1 && x < 8 && y >= 1 && y < 5 && sx >= 0 && sx < 7 && sy >= 0 && sy < 5) {
                const uint8_t *p = from.Row(sy) + sx * 3;
                want = p[0] | p[1] << 8 | p[2] << 16;
            }
            EXPECT_EQ(got, want) << x << "," << y;
        }
}

// Best of a few tries, so a busy machine's pauses do not count.
template <typename Work> double Seconds(Work work)
{
    double best = 1e9;
    for (int attempt = 0; attempt < 7; ++attempt) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 4; ++i)
            work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

TEST_F(Conversions, RunAtTheSpeedOfAPlainLoop) {
    constexpr int W = 640, H = 480;
    Dib narrow(W, H, 24), wide(W, H, 32);
    for (int i = 0; i < narrow.stride * H; ++i)
        narrow.bits[i] = Byte(i);
    std::vector<uint32_t> plain(static_cast<size_t>(W) * H);
    volatile uint32_t sink = 0;
    const double loop = Seconds([&] {
        for (int y = 0; y < H; ++y) {
            const uint8_t *s = narrow.Row(y);
            uint32_t *d = plain.data() + static_cast<size_t>(y) * W;
            for (int x = 0; x < W; ++x)
                d[x] = s[3 * x] | s[3 * x + 1] << 8 | s[3 * x + 2] << 16;
        }
        sink = sink + plain[static_cast<size_t>(sink) % plain.size()];
    });
    const double there = Seconds([&] { BitBlt(wide.dc, 0, 0, W, H, narrow.dc, 0, 0, SRCCOPY); });
    const double back = Seconds([&] { BitBlt(narrow.dc, 0, 0, W, H, wide.dc, 0, 0, SRCCOPY); });
    // A call per pixel through a format switch is several times slower than the loop.
    EXPECT_LT(there, loop * 2.5) << "loop " << loop << " s, 24 to 32 " << there << " s";
    EXPECT_LT(back, loop * 2.5) << "loop " << loop << " s, 32 to 24 " << back << " s";
}

} // namespace
