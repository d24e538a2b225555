// The window-system layer as the library sees it: classes, windows, message order, timers on the
// virtual clock, painting, input, activation and capture.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace t = vorla::testing;

namespace {

std::vector<UINT> g_seen;
std::vector<std::pair<HWND, UINT>> g_seen_by;

LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    g_seen.push_back(message);
    g_seen_by.emplace_back(hwnd, message);
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

ATOM Register(const char *name, UINT style = CS_DBLCLKS, WNDPROC proc = Recorder) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}

// A window like the toolkit's: popup with caption and modal frame, client 200 x 100.
HWND MakeWindow(const char *cls, int x = 50, int y = 60, HWND owner = nullptr) {
    return CreateWindowExA(WS_EX_DLGMODALFRAME, cls, "test", WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, 206, 125, owner,
                           nullptr, nullptr, nullptr);
}

int CountOf(UINT message) {
    int n = 0;
    for (UINT m : g_seen) n += m == message;
    return n;
}

class WindowSystem : public ::testing::Test {
protected:
    void SetUp() override {
        t::Reset();
        g_seen.clear();
        g_seen_by.clear();
    }
};

TEST_F(WindowSystem, ClassesAreUniqueByNameAndOutliveNoWindow) {
    ASSERT_NE(Register("Alpha"), 0);
    EXPECT_EQ(Register("ALPHA"), 0) << "class names ignore case";
    HWND w = MakeWindow("alpha");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(UnregisterClassA("Alpha", nullptr)) << "a class with a live window stays";
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassA("Alpha", nullptr));
    EXPECT_FALSE(UnregisterClassA("Alpha", nullptr));
    EXPECT_EQ(CreateWindowExA(0, "Alpha", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowSystem, CreationSendsCreateBeforeReturningAndStaysHidden) {
    Register("C");
    HWND w = MakeWindow("C");
    ASSERT_TRUE(IsWindow(w));
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(g_seen[1], static_cast<UINT>(WM_CREATE));
    EXPECT_FALSE(IsWindowVisible(w));
    RECT outer, client;
    GetWindowRect(w, &outer);
    GetClientRect(w, &client);
    EXPECT_EQ(outer.left, 50);
    EXPECT_EQ(outer.right - outer.left, 206);
    // Modal frame 3 pixels each side and a 19-pixel caption.
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 125 - 3 - 3 - 19);
    POINT p{0, 0};
    ClientToScreen(w, &p);
    EXPECT_EQ(p.x, 53);
    EXPECT_EQ(p.y, 60 + 3 + 19);
    EXPECT_EQ(t::Snapshot(w).width, 200);

    // A thick frame is 4 pixels; a tool window has the small caption.
    HWND thick = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW, "C", "", WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                                 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    GetClientRect(thick, &client);
    EXPECT_EQ(client.right, 100 - 8);
    EXPECT_EQ(client.bottom, 100 - 8 - 16);
}

TEST_F(WindowSystem, CreateReturningMinusOneFailsTheCreation) {
    Register("Refuse", 0, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE) return -1;
        return DefWindowProcA(h, m, w, l);
    });
    EXPECT_EQ(MakeWindow("Refuse"), nullptr);
    EXPECT_TRUE(t::TopLevelWindows().empty());
    EXPECT_TRUE(UnregisterClassA("Refuse", nullptr));
}

TEST_F(WindowSystem, PostedAndInputComeBeforePaintAndPaintBeforeTimer) {
    Register("Q");
    HWND w = MakeWindow("Q");
    ShowWindow(w, SW_SHOWNA);
    t::Pump();
    SetTimer(w, 7, 100, nullptr);
    t::Advance(100); // the timer fires once on its own
    ASSERT_EQ(CountOf(WM_TIMER), 1);
    g_seen.clear();

    SetTimer(w, 7, 10, nullptr);
    InvalidateRect(w, nullptr, FALSE);
    PostMessageA(w, WM_USER + 1, 0, 0);
    PostMessageA(w, WM_USER + 2, 0, 0);
    std::vector<UINT> order;
    MSG m;
    // Let the timer come due without pumping, then read the queue in order.
    t::OnIdle([] {});
    while (order.size() < 4 && GetMessageA(&m, nullptr, 0, 0)) {
        if (m.message == WM_USER + 1 || m.message == WM_USER + 2 || m.message == WM_PAINT || m.message == WM_TIMER)
            order.push_back(m.message);
        DispatchMessageA(&m);
    }
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(order[1], static_cast<UINT>(WM_USER + 2));
    EXPECT_EQ(order[2], static_cast<UINT>(WM_PAINT));
    EXPECT_EQ(order[3], static_cast<UINT>(WM_TIMER));
}

TEST_F(WindowSystem, TimersFireInOrderOnTheVirtualClock) {
    static std::vector<std::pair<UINT_PTR, DWORD>> fired;
    fired.clear();
    Register("T", 0, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_TIMER) fired.emplace_back(w, GetTickCount());
        return DefWindowProcA(h, m, w, l);
    });
    HWND w = MakeWindow("T");
    SetTimer(w, 1, 100, nullptr);
    SetTimer(w, 2, 250, nullptr);
    t::Advance(520);
    std::vector<std::pair<UINT_PTR, DWORD>> expected = {{1, 100}, {1, 200}, {2, 250}, {1, 300},
                                                         {1, 400}, {2, 500}, {1, 500}};
    // Equal due times keep creation order of the timers.
    expected[5] = {1, 500};
    expected[6] = {2, 500};
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(t::Now(), 520u);

    KillTimer(w, 1);
    fired.clear();
    t::Advance(300);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].first, 2u);
    DestroyWindow(w);
    EXPECT_TRUE(t::Timers().empty()) << "a destroyed window takes its timers with it";
}

TEST_F(WindowSystem, OnlyInvalidShownWindowsArePainted) {
    Register("P");
    HWND w = MakeWindow("P");
    InvalidateRect(w, nullptr, TRUE);
    t::Pump();
    EXPECT_EQ(CountOf(WM_PAINT), 0) << "a hidden window is never painted";
    ShowWindow(w, SW_SHOW);
    t::Pump();
    EXPECT_EQ(CountOf(WM_PAINT), 1);
    EXPECT_EQ(CountOf(WM_ERASEBKGND), 1);
    t::Pump();
    EXPECT_EQ(CountOf(WM_PAINT), 1) << "a validated window gets no further paint";
    RECT r{10, 10, 20, 20};
    InvalidateRect(w, &r, FALSE);
    RECT pending = t::InvalidRect(w);
    EXPECT_EQ(pending.left, 10);
    EXPECT_EQ(pending.bottom, 20);
    UpdateWindow(w); // paints at once, without the queue
    EXPECT_EQ(CountOf(WM_PAINT), 2);
    EXPECT_EQ(CountOf(WM_ERASEBKGND), 1);
}

TEST_F(WindowSystem, PaintContextIsClippedToTheUpdateRegion) {
    Register("Clip");
    HWND w = MakeWindow("Clip");
    ShowWindow(w, SW_SHOW);
    t::Pump();
    HDC dc = GetDC(w);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all{0, 0, 200, 100};
    FillRect(dc, &all, white);
    ReleaseDC(w, dc);

    RECT part{20, 30, 40, 50};
    InvalidateRect(w, &part, FALSE);
    PAINTSTRUCT ps;
    HDC paint = BeginPaint(w, &ps);
    EXPECT_EQ(ps.rcPaint.left, 20);
    EXPECT_EQ(ps.rcPaint.bottom, 50);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(paint, &all, red);
    EndPaint(w, &ps);
    t::Image img = t::Snapshot(w);
    EXPECT_EQ(img.Count(0xFF0000, 0, 0, 200, 100), 20 * 20);
    EXPECT_EQ(img.At(20, 30), 0xFF0000u);
    EXPECT_EQ(img.At(39, 49), 0xFF0000u);
    EXPECT_EQ(img.At(40, 49), 0xFFFFFFu);
    DeleteObject(white);
    DeleteObject(red);
}

TEST_F(WindowSystem, ChildWindowsAreLeftOutOfAClippingParentAndExposeItWhenTheyGo) {
    Register("Parent");
    HWND clipping = CreateWindowExA(0, "Parent", "p", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                    nullptr, nullptr, nullptr);
    HWND plain = CreateWindowExA(0, "Parent", "q", WS_POPUP | WS_VISIBLE, 300, 0, 200, 100, nullptr, nullptr, nullptr,
                                 nullptr);
    HWND child = CreateWindowExA(0, "Parent", "", WS_CHILD | WS_VISIBLE, 20, 10, 50, 40, clipping, nullptr, nullptr,
                                 nullptr);
    HWND other = CreateWindowExA(0, "Parent", "", WS_CHILD | WS_VISIBLE, 20, 10, 50, 40, plain, nullptr, nullptr,
                                 nullptr);
    t::Pump();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 200, 100};
    HDC dc = GetDC(clipping);
    FillRect(dc, &all, red);
    ReleaseDC(clipping, dc);
    EXPECT_EQ(t::Snapshot(clipping).Count(0xFF0000, 0, 0, 200, 100), 200 * 100 - 50 * 40);

    // Invalidating a parent without WS_CLIPCHILDREN invalidates the children it paints over.
    InvalidateRect(clipping, nullptr, FALSE);
    InvalidateRect(plain, nullptr, FALSE);
    EXPECT_EQ(t::InvalidRect(child).right, 0);
    EXPECT_EQ(t::InvalidRect(other).right, 50);
    t::Pump();

    // A child that moves or goes uncovers its parent, which paints there again.
    MoveWindow(child, 100, 10, 50, 40, TRUE);
    RECT exposed = t::InvalidRect(clipping);
    EXPECT_EQ(exposed.left, 20);
    EXPECT_EQ(exposed.right, 70);
    t::Pump();
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(t::InvalidRect(clipping).left, 100);
    t::Pump();
    DestroyWindow(other);
    EXPECT_EQ(t::InvalidRect(plain).bottom, 50);
    DeleteObject(red);
}

TEST_F(WindowSystem, ClickActivatesAndFocusesBeforeTheButtonMessage) {
    Register("A");
    HWND a = MakeWindow("A", 10, 10);
    HWND b = MakeWindow("A", 400, 10);
    ShowWindow(a, SW_SHOW);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(t::ActiveWindow(), b) << "showing activates";
    ShowWindow(a, SW_SHOW);
    t::Pump();
    EXPECT_EQ(t::ActiveWindow(), b) << "showing a shown window does not activate it again";
    SetActiveWindow(a);
    g_seen_by.clear();
    t::Click(b, 5, 5);
    auto index = [&](HWND h, UINT m) {
        for (size_t i = 0; i < g_seen_by.size(); ++i)
            if (g_seen_by[i].first == h && g_seen_by[i].second == m) return static_cast<int>(i);
        return -1;
    };
    int inactive = index(a, WM_ACTIVATE), active = index(b, WM_ACTIVATE), focus = index(b, WM_SETFOCUS),
        down = index(b, WM_LBUTTONDOWN), up = index(b, WM_LBUTTONUP);
    ASSERT_GE(inactive, 0);
    EXPECT_LT(index(b, WM_MOUSEACTIVATE), inactive);
    EXPECT_LT(inactive, active);
    EXPECT_LT(active, focus);
    EXPECT_LT(focus, down);
    EXPECT_LT(down, up);
    EXPECT_EQ(t::ActiveWindow(), b);
    EXPECT_EQ(GetFocus(), b);
}

TEST_F(WindowSystem, CaptureGetsThePointerEverywhere) {
    static std::vector<POINT> downs;
    downs.clear();
    Register("Cap", 0, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_LBUTTONDOWN) downs.push_back(POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return DefWindowProcA(h, m, w, l);
    });
    HWND a = MakeWindow("Cap", 100, 100);
    ShowWindow(a, SW_SHOW);
    SetCapture(a);
    EXPECT_EQ(t::CaptureWindow(), a);
    t::Click(10, 20); // far outside, on the desktop
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].x, 10 - 103);
    EXPECT_EQ(downs[0].y, 20 - 122);
    ReleaseCapture();
    t::Click(10, 20);
    EXPECT_EQ(downs.size(), 1u) << "without capture the desktop click reaches nobody";
}

TEST_F(WindowSystem, DoubleClicksOnlyForClassesThatAskForThem) {
    Register("Dbl", CS_DBLCLKS);
    Register("Single", 0);
    HWND d = MakeWindow("Dbl", 10, 10);
    HWND s = MakeWindow("Single", 400, 10);
    ShowWindow(d, SW_SHOW);
    ShowWindow(s, SW_SHOW);
    t::DoubleClick(d, 10, 10);
    EXPECT_EQ(CountOf(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(CountOf(WM_LBUTTONDBLCLK), 1);
    g_seen.clear();
    t::DoubleClick(s, 10, 10);
    EXPECT_EQ(CountOf(WM_LBUTTONDOWN), 2);
    EXPECT_EQ(CountOf(WM_LBUTTONDBLCLK), 0);
    g_seen.clear();
    t::Click(d, 10, 10);
    t::Advance(600); // past the double-click time
    t::Click(d, 10, 10);
    EXPECT_EQ(CountOf(WM_LBUTTONDBLCLK), 0);
    t::Advance(600);
    g_seen.clear();
    t::Click(d, 10, 10);
    t::Click(d, 30, 10); // too far apart
    EXPECT_EQ(CountOf(WM_LBUTTONDBLCLK), 0);
}

TEST_F(WindowSystem, FrameClicksAreNonClientAndTheCloseBoxCloses) {
    Register("N");
    HWND owner = MakeWindow("N", 10, 10);
    HWND owned = MakeWindow("N", 300, 10, owner);
    ShowWindow(owner, SW_SHOW);
    ShowWindow(owned, SW_SHOW);
    POINT caption = t::CaptionPoint(owner);
    g_seen.clear();
    t::Click(caption.x, caption.y);
    EXPECT_EQ(CountOf(WM_NCLBUTTONDOWN), 1);
    EXPECT_EQ(CountOf(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(SendMessageA(owner, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
    t::MoveTo(caption.x, caption.y);
    EXPECT_GE(CountOf(WM_NCMOUSEMOVE), 1);

    g_seen_by.clear();
    t::ClickCloseBox(owner);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(IsWindow(owned)) << "owned windows go with their owner";
    // The owned window is destroyed before its owner.
    int owned_destroy = -1, owner_destroy = -1;
    for (size_t i = 0; i < g_seen_by.size(); ++i) {
        if (g_seen_by[i].second != WM_DESTROY) continue;
        if (g_seen_by[i].first == owned) owned_destroy = static_cast<int>(i);
        if (g_seen_by[i].first == owner) owner_destroy = static_cast<int>(i);
    }
    ASSERT_GE(owned_destroy, 0);
    EXPECT_LT(owned_destroy, owner_destroy);
}

TEST_F(WindowSystem, DestroyedHandlesAreRefusedEverywhere) {
    Register("D");
    HWND w = MakeWindow("D");
    HDC dc = GetDC(w);
    DestroyWindow(w);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(DestroyWindow(w));
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_FALSE(PostMessageA(w, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
    EXPECT_FALSE(InvalidateRect(w, nullptr, TRUE));
    EXPECT_EQ(SetTimer(w, 1, 100, nullptr), 0u);
    EXPECT_EQ(GetDC(w), nullptr);
    EXPECT_EQ(SetPixel(dc, 1, 1, 0), CLR_INVALID) << "a context of a destroyed window draws nothing";
    RECT r;
    EXPECT_FALSE(GetWindowRect(w, &r));
    EXPECT_EQ(GetWindowLongA(w, GWL_HINSTANCE), 0);
    char title[8] = "x";
    EXPECT_EQ(GetWindowTextA(w, title, sizeof title), 0);
    EXPECT_EQ(title[0], 0);
}

TEST_F(WindowSystem, QuitEndsTheLoopAfterPostedMessages) {
    Register("L");
    HWND w = MakeWindow("L");
    PostMessageA(w, WM_USER, 0, 0);
    PostQuitMessage(3);
    MSG m;
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
}

TEST_F(WindowSystem, IdleScriptsRunInsideNestedLoops) {
    Register("S");
    HWND w = MakeWindow("S");
    ShowWindow(w, SW_SHOW);
    bool ran = false;
    t::OnIdle([&] {
        ran = true;
        t::Click(w, 5, 5); // delivered to the running loop, not pumped here
    });
    t::OnIdle([] { PostQuitMessage(0); });
    MSG m;
    int downs = 0;
    while (GetMessageA(&m, nullptr, 0, 0)) {
        downs += m.message == WM_LBUTTONDOWN;
        DispatchMessageA(&m);
    }
    EXPECT_TRUE(ran);
    EXPECT_EQ(downs, 1);
}

TEST(WindowSystemDeath, ALoopWithNothingToWaitForFailsLoudly) {
    EXPECT_DEATH(
        {
            t::Reset();
            Register("Stall");
            MakeWindow("Stall");
            MSG m;
            while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
        },
        "can make no progress");
}

TEST(WindowSystemDeath, TimersAloneDoNotKeepATestWaitingForever) {
    EXPECT_DEATH(
        {
            t::Reset();
            t::SetStallLimit(5000);
            Register("Tick");
            SetTimer(MakeWindow("Tick"), 1, 100, nullptr);
            MSG m;
            while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
        },
        "idle limit");
}

TEST(CriticalSection, IsReentrantForItsOwner) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    DeleteCriticalSection(&cs);
}

} // namespace
