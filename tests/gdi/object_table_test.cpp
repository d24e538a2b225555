// The handle table: an object selected into any context cannot be deleted, through every way a
// selection starts and ends, and no call slows down as an application keeps more objects alive.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

const LOGFONTA AnyFont{};

class ObjectTable : public ::testing::Test {
protected:
    void SetUp() override { vorla::testing::Reset(); }
};

TEST_F(ObjectTable, SelectedObjectsAreKeptUntilEveryContextLetsGo) {
    HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    HGDIOBJ firstBrush = SelectObject(first, brush), secondBrush = SelectObject(second, brush);
    SelectObject(first, pen);
    SelectObject(first, pen); // selecting it again counts once
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(pen));
    SelectObject(first, firstBrush);
    EXPECT_FALSE(DeleteObject(brush)) << "still in the second context";
    SelectObject(first, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_TRUE(DeleteDC(second)); // a context that goes lets go of what it held
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush)) << "already gone";
    (void)secondBrush;
    DeleteDC(first);
}

TEST_F(ObjectTable, RestoredStatesHoldWhatTheyName) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH saved = CreateSolidBrush(RGB(10, 0, 0)), later = CreateSolidBrush(RGB(20, 0, 0));
    HFONT font = CreateFontIndirectA(&AnyFont);
    SelectObject(dc, saved);
    ASSERT_EQ(SaveDC(dc), 1);
    SelectObject(dc, later);
    SelectObject(dc, font);
    EXPECT_TRUE(DeleteObject(saved)) << "only a saved state names it, as on Windows";
    HBRUSH again = CreateSolidBrush(RGB(30, 0, 0));
    SelectObject(dc, again);
    ASSERT_EQ(SaveDC(dc), 2);
    SelectObject(dc, later);
    ASSERT_TRUE(RestoreDC(dc, 2));
    EXPECT_FALSE(DeleteObject(again)) << "selected again by the restore";
    EXPECT_TRUE(DeleteObject(later)) << "let go by the restore";
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_FALSE(RestoreDC(dc, 5));
    EXPECT_FALSE(DeleteObject(again)) << "a refused restore changes nothing";
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(again));
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(ObjectTable, WindowContextsLetGoWhenReleasedOrWhenTheirWindowGoes) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "ObjectTableWindow";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND window = CreateWindowExA(0, "ObjectTableWindow", "w", WS_POPUP | WS_CAPTION, 0, 0, 100, 80, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(7, 7, 7));
    HPEN pen = CreatePen(PS_DOT, 1, RGB(8, 8, 8));
    HDC released = GetDC(window), orphaned = GetDC(window);
    SelectObject(released, brush);
    SelectObject(orphaned, pen);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(ReleaseDC(window, released), 1);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(pen));
    DestroyWindow(window);
    EXPECT_TRUE(DeleteObject(pen)) << "the destroyed window's context is gone";
    EXPECT_EQ(ReleaseDC(window, orphaned), 0);
}

TEST_F(ObjectTable, BitmapsFollowTheSameRule) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ stock = SelectObject(dc, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(dc)) << "a context is deleted with DeleteDC";
    SelectObject(dc, stock);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects pretend";
    EXPECT_NE(GetObjectType(GetStockObject(WHITE_BRUSH)), 0u);
    DeleteDC(dc);
}

// Seconds for a round of the calls a drawing surface makes per fill: a brush made, used and
// deleted, beside a pen selected in and out. The best of a few tries, so a busy machine's
// pauses do not count.
double FillRound(HDC dc) {
    double best = 1e9;
    const RECT box{0, 0, 4, 4};
    for (int attempt = 0; attempt < 5; ++attempt) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 2000; ++i) {
            HBRUSH brush = CreateSolidBrush(RGB(i & 255, 0, 0));
            FillRect(dc, &box, brush);
            DeleteObject(brush);
            HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, i & 255, 0));
            HGDIOBJ old = SelectObject(dc, pen);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

TEST_F(ObjectTable, CallsCostTheSameHoweverManyObjectsLive) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    SelectObject(dc, bitmap);
    const double few = FillRound(dc);
    // An application with many widgets keeps a pen, a font and a context or two for each.
    std::vector<HGDIOBJ> kept;
    for (int i = 0; i < 60000; ++i) {
        kept.push_back(CreatePen(PS_SOLID, 1, RGB(i & 255, 1, 1)));
        kept.push_back(CreateFontIndirectA(&AnyFont));
        if (i % 10 == 0) kept.push_back(CreateCompatibleDC(nullptr));
    }
    const double many = FillRound(dc);
    // A walk over the live objects would make this hundreds of times slower; a larger table only
    // costs some cache misses.
    EXPECT_LT(many, few * 8 + 0.002) << "few " << few << " s, many " << many << " s";
    for (HGDIOBJ o : kept)
        if (GetObjectType(o) == OBJ_MEMDC) DeleteDC(static_cast<HDC>(o));
        else DeleteObject(o);
    EXPECT_EQ(GetObjectType(kept.back()), 0u);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

} // namespace
