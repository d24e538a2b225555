// Sizes, positions and coordinates at the ends of the int range, as a careless or hostile
// application passes them: nothing may abort, overflow or stall, and what cannot be made is refused.
#include "support.h"

#include "bmp_bytes.h"

#include <chrono>
#include <climits>
#include <cstring>
#include <random>
#include <vector>

namespace {

size_t WindowCount() { return driver::TopLevelWindows().size(); }

HWND HintPopup()
{
    for (HWND window : driver::TopLevelWindows())
        if (ClassOf(window) == "VorlaToolHintClass")
            return window;
    return nullptr;
}

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

// Milliseconds taken by a call.
template <typename Call>
double Milliseconds(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class HostileSizesTest : public CoreTest {
protected:
    // A shown 64 x 48 window with a white client area, for drawing and widgets.
    void Open()
    {
        ASSERT_EQ(window.CreateNewWindow("hostile", 30, 30, 64, 48, 0), 1000);
        handle = HandleOf(window);
        window.SetBackgroundColor(0xFFFFFFFF);
        window.ShowWindow(1);
        driver::Pump();
    }
    int Black(int left, int top, int right, int bottom)
    {
        return driver::Snapshot(handle).Count(0x000000, left, top, right, bottom);
    }
    int Black() { return Black(0, 0, 64, 48); }

    VLWindow window;
    HWND handle = nullptr;
};

} // namespace

TEST_F(HostileSizesTest, WindowsThatCannotBeMadeAreRefusedAndLeaveTheirSlotFree)
{
    struct Case {
        int x, y, width, height;
    };
    const Case refused[] = {
        {0, 0, 100000, 100000},       // a framebuffer of 40 GB
        {0, 0, INT_MAX, 10},          {0, 0, 10, INT_MAX},
        {0, 0, INT_MAX - 3, 1},       // the frame pushes the outer width past the int range
        {INT_MAX - 5, 0, 100, 100},   {0, INT_MAX, 100, 100},
        {INT_MIN + 1, INT_MIN + 1, 100, 100}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {0, 0, 70000, 1},             // one side too long even for a small area
    };
    VLWindow probe;
    for (const Case &c : refused) {
        EXPECT_EQ(probe.CreateNewWindow("huge", c.x, c.y, c.width, c.height, 0), -1)
            << c.x << "," << c.y << " " << c.width << "x" << c.height;
        EXPECT_EQ(probe.GetWinID(), -1);
        EXPECT_EQ(probe.IsVisible(), 0);
        EXPECT_EQ(WindowCount(), 0u);
        EXPECT_TRUE(LibraryClasses().empty());
    }
    // Tool windows and dialogs take the same path.
    EXPECT_EQ(probe.CreateNewWindow("huge", 0, 0, INT_MAX, INT_MAX, 2), -1);
    EXPECT_EQ(probe.CreateNewDialog("huge", 0, 0, INT_MAX, 5), -1);

    // Negative sizes are no overflow either: the system makes them empty.
    VLWindow negative;
    ASSERT_EQ(negative.CreateNewWindow("neg", 0, 0, INT_MIN, INT_MIN, 1), 1000);
    RECT empty;
    GetClientRect(HandleOf(negative), &empty);
    EXPECT_TRUE(SameRect(empty, RECT{0, 0, 0, 0}));

    // The slot the refused windows tried is still the first free one, and a large real window works.
    negative.Clear();
    EXPECT_EQ(probe.CreateNewWindow("big", -2000, -1000, 4000, 3000, 1), 1000);
    HWND big = HandleOf(probe);
    ASSERT_NE(big, nullptr);
    RECT client;
    GetClientRect(big, &client);
    EXPECT_GT(client.right, 3990);
    EXPECT_GT(client.bottom, 2990);
    probe.ShowWindow(1);
    driver::Pump();
    EXPECT_EQ(driver::Snapshot(big).At(client.right - 1, client.bottom - 1), 0xC0C0C0u) << "painted to its far corner";
    // Invalidating everything there is stays inside the client area.
    probe.UpdateWindowRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_TRUE(SameRect(driver::InvalidRect(big), client));
    driver::Pump();
}

TEST_F(HostileSizesTest, TheWindowSystemRefusesImpossibleRectanglesAndKeepsTheOldOne)
{
    WNDCLASSEXA description;
    std::memset(&description, 0, sizeof description);
    description.cbSize = sizeof description;
    description.lpfnWndProc = PlainProcedure;
    description.lpszClassName = "HostilePlain";
    ASSERT_NE(RegisterClassExA(&description), 0);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(CreateWindowExA(0, "HostilePlain", "x", style, 0, 0, 100000, 100000, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "HostilePlain", "x", style, INT_MAX, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "HostilePlain", "x", style, 0, INT_MIN + 1, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(WindowCount(), 0u);

    HWND window = CreateWindowExA(0, "HostilePlain", "x", style, 10, 20, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    driver::Pump();
    RECT before;
    GetWindowRect(window, &before);
    EXPECT_FALSE(MoveWindow(window, 0, 0, INT_MAX, INT_MAX, TRUE));
    EXPECT_FALSE(MoveWindow(window, INT_MAX, INT_MAX, 10, 10, TRUE));
    EXPECT_FALSE(MoveWindow(window, INT_MIN, 0, 10, 10, TRUE));
    EXPECT_FALSE(MoveWindow(window, 0, 0, 100000, 100000, TRUE));
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(before, after));
    EXPECT_TRUE(MoveWindow(window, 5, 6, 300, 200, TRUE));
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(after, RECT{5, 6, 305, 206}));

    // Child windows at the ends of the range are refused the same way.
    EXPECT_EQ(CreateWindowExA(0, "HostilePlain", nullptr, WS_CHILD, INT_MAX - 10, 0, 100, 10, window, nullptr,
                              nullptr, nullptr),
              nullptr);

    // Invalidation with the widest rectangle stays inside the client area.
    const RECT everything = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_TRUE(InvalidateRect(window, &everything, TRUE));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_TRUE(SameRect(driver::InvalidRect(window), client));
    ValidateRect(window, &everything);
    driver::Pump();

    // Point and rectangle helpers wrap around at the ends of the range as 32-bit arithmetic does.
    POINT far = {INT_MAX, INT_MIN};
    EXPECT_TRUE(ClientToScreen(window, &far));
    POINT back = far;
    EXPECT_TRUE(ScreenToClient(window, &back));
    EXPECT_EQ(back.x, INT_MAX);
    EXPECT_EQ(back.y, INT_MIN);
    RECT moved = {INT_MAX, INT_MIN, INT_MAX, INT_MIN};
    EXPECT_TRUE(OffsetRect(&moved, 1, -1));
    EXPECT_EQ(moved.left, INT_MIN);
    EXPECT_EQ(moved.top, INT_MAX);
    EXPECT_TRUE(InflateRect(&moved, INT_MIN, INT_MIN));
    RECT framed = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_TRUE(AdjustWindowRectEx(&framed, style, FALSE, 0));
    DestroyWindow(window);
}

TEST_F(HostileSizesTest, HugeBitmapsAreRefusedWithNull)
{
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 67108865, 2), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, INT_MAX, 1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 100000, 100000), nullptr);
    EXPECT_EQ(CreateBitmap(INT_MAX, 1, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1 << 30, 1, 1, 32, nullptr), nullptr);

    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = &info;
    const LONG sizes[][2] = {{INT_MAX, 1}, {1, INT_MAX}, {1, -INT_MAX}, {100000, 100000}, {INT_MAX, INT_MAX}};
    for (const auto &size : sizes) {
        info.bmiHeader.biWidth = size[0];
        info.bmiHeader.biHeight = size[1];
        EXPECT_EQ(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
    // An ordinary size still works.
    HBITMAP small = CreateCompatibleBitmap(screen, 300, 200);
    EXPECT_NE(small, nullptr);
    DeleteObject(small);
    ReleaseDC(nullptr, screen);
}

TEST_F(HostileSizesTest, LabelsOfImpossibleSizeDrawNothingAndHarmNothing)
{
    Open();
    VLLabel label;
    label.SetText("text");
    label.SetAlign(2);
    label.SetBounds(0, 0, 10, 10);
    window.Add(&label);
    label.Repaint();
    const struct {
        int x, y, width, height;
    } bounds[] = {
        {0, 0, 67108864, 1}, {0, 0, INT_MAX, 1},       {0, 0, 1, INT_MAX},      {0, 0, INT_MAX, INT_MAX},
        {0, 0, INT_MIN, 1},  {INT_MAX, INT_MAX, 5, 5}, {INT_MIN, INT_MIN, 5, 5}, {-3, -3, 100000, 100000},
    };
    for (const auto &b : bounds) {
        label.SetBounds(b.x, b.y, b.width, b.height);
        label.Repaint();
        window.UpdateWindow();
        driver::Pump();
        VLSTRect stored;
        label.GetBounds(&stored);
        EXPECT_EQ(stored.width, b.width);
        EXPECT_EQ(stored.height, b.height);
        label.SetSize(b.width, b.height);
        label.Repaint();
    }
    // Centred text wider than the label, in a label wider than a bitmap can be, with an icon.
    const std::vector<uint8_t> bytes = bmp::Make(2, 2, {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000});
    ASSERT_TRUE(VorlaRegisterBitmapResource(GetModuleHandleA(nullptr), 41, bytes.data(), bytes.size()));
    VLIcon icon;
    ASSERT_EQ(icon.LoadImageA(nullptr, 41, 0xFF00FF), 1);
    label.SetIcon(&icon);
    for (int align : {1, 2, 3}) {
        label.SetAlign(align);
        label.SetBounds(INT_MAX - 1, 0, INT_MAX, 3);
        label.Repaint();
        label.SetBounds(INT_MIN, INT_MIN, 30, 30);
        label.Repaint();
    }
    label.SetAlign(1);
    label.SetBounds(2, 2, 30, 30);
    window.UpdateWindow();
    driver::Pump();
    EXPECT_EQ(driver::Snapshot(handle).Count(0xFF0000, 0, 0, 64, 48), 4) << "the last, sane label still draws";
    window.RemoveAt(&label);
}

TEST_F(HostileSizesTest, HintFontOfHugeSizeShowsAPopupWithoutOverflow)
{
    Open();
    VLLabel label;
    label.SetBounds(0, 0, 60, 40);
    label.SetText("hint");
    label.SetHintText("a\r\nb\nc");
    label.SetHintFontSize(INT_MAX);
    window.Add(&label);
    window.UpdateWindow();
    driver::Pump();
    HWND popup = HintPopup();
    ASSERT_NE(popup, nullptr);
    driver::MoveTo(handle, 20, 20);
    driver::Advance(1100);
    driver::Pump();
    RECT hint;
    GetWindowRect(popup, &hint);
    EXPECT_GE(hint.right, hint.left);
    EXPECT_GE(hint.bottom, hint.top);

    // A hint below a widget at the bottom of the int range.
    driver::MoveTo(handle, 50, 46);
    driver::Advance(300);
    label.SetBounds(0, INT_MAX - 100, 60, 200);
    label.SetHintFontSize(INT_MIN);
    driver::Advance(1100);
    driver::Pump();
    window.RemoveAt(&label);
}

TEST_F(HostileSizesTest, DrawingSurfaceCallsAtTheEndsOfTheRangeClipAndReturnQuickly)
{
    Open();
    window.BeginPaint();
    window.SetForegroundColor(0xFF000000);
    const int lo = INT_MIN, hi = INT_MAX;
    const double spent = Milliseconds([&] {
        window.DrawArc(lo, lo, hi, hi, 0, 90);
        window.DrawArc(0, 0, 60, 40, lo, hi);
        window.DrawArc(0, 0, 60, 40, hi, lo);
        window.DrawArc(hi, hi, lo, lo, lo + 1, hi - 1);
        window.DrawCircle(lo, lo, hi, hi);
        window.DrawFillCircle(lo, lo, hi, hi);
        window.DrawCircle(-100000000, -100000000, 100000000, 100000000);
        window.DrawRoundRect(lo, lo, hi, hi, hi, 1);
        window.DrawRoundRect(lo, lo, hi, hi, lo, 2);
        window.DrawFillRoundRect(lo, lo, hi, hi, hi);
        window.DrawRect(lo, lo, hi, hi, 1);
        window.DrawRect(lo, lo, hi, hi, 2);
        window.DrawLine(lo, lo, hi, hi, 1);
        window.DrawLine(lo, hi, hi, lo, 2);
        window.DrawLine(hi, 5, lo, 5, 1);
        window.SetPixel(hi, lo);
        VLSTPosition points[4] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
        window.DrawPolygon(points, 4);
        window.DrawFillPolygon(points, 4);
        window.DrawBezier(points, 4);
        window.DrawTextA(hi, hi, "far");
        window.DrawTextA(lo, lo, "far");
        for (int align : {1, 2, 3}) {
            window.DrawBoxText(lo, lo, hi, hi, "box", align);
            window.DrawBoxText(hi - 1, 0, hi, 40, "box", align);
            window.DrawBoxText(lo, 0, lo + 1, 40, "box", align);
        }
        // Thick pens take the same paths with their width around every point.
        window.SetSize(128);
        window.DrawLine(lo, lo, hi, hi, 1);
        window.DrawLine(lo, 20, hi, 20, 1);
        window.DrawRect(lo, lo, hi, hi, 1);
        window.DrawCircle(lo, lo, hi, hi);
        window.DrawArc(lo, lo, hi, hi, 45, 300);
        window.DrawRoundRect(lo, lo, hi, hi, hi, 1);
        window.DrawBezier(points, 4);
        window.DrawPolygon(points, 4);
        window.SetSize(1);
        window.SetFontSize(INT_MAX);
        window.DrawTextA(0, 0, "big");
        window.DrawBoxText(0, 0, 60, 40, "big", 2);
        EXPECT_GE(window.GetTextWidth("big"), 0);
    });
    EXPECT_LT(spent, 5000.0);
    window.EndPaint();

    // The same ends through the system calls themselves.
    HDC dc = GetDC(handle);
    const double direct = Milliseconds([&] {
        Arc(dc, lo, lo, hi, hi, lo, lo, hi, hi);
        Arc(dc, 0, 0, 60, 40, hi, lo, lo, hi);
        Ellipse(dc, hi - 2, hi - 2, lo, lo);
        RoundRect(dc, lo, lo, hi, hi, lo, hi);
        SetTextAlign(dc, TA_CENTER | TA_BOTTOM | TA_UPDATECP);
        MoveToEx(dc, hi, lo, nullptr);
        TextOutA(dc, 0, 0, "far", 3);
        TextOutA(dc, 0, 0, "far", 3);
        SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
        TextOutA(dc, lo, hi, "far", 3);
        RECT measured = {hi - 1, hi - 1, hi, hi};
        DrawTextA(dc, "one\ntwo", -1, &measured, DT_CALCRECT);
        EXPECT_GE(measured.right, measured.left);
        RECT box = {lo, lo, hi, hi};
        DrawTextA(dc, "a&bc", -1, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        DrawTextA(dc, "a&bc", -1, &box, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
        SIZE extent;
        EXPECT_TRUE(GetTextExtentPoint32A(dc, "far", 3, &extent));
    });
    ReleaseDC(handle, dc);
    EXPECT_LT(direct, 5000.0);

    // The results are the clipped shapes: the filled rectangle covers the whole client area, the
    // straight line crosses it.
    window.UpdateWindow();
    driver::Pump();
    window.BeginPaint();
    window.SetForegroundColor(0xFF000000);
    window.DrawLine(hi, 5, lo, 5, 1);
    EXPECT_EQ(Black(0, 5, 64, 6), 64);
    // Text centred in a box as wide as the int range sits at its middle, around x = 0.
    window.DrawBoxText(lo, 0, hi, 40, "WW", 2);
    EXPECT_GT(Black(0, 0, 8, 40), 0);
    EXPECT_EQ(Black(8, 0, 64, 5) + Black(8, 6, 64, 40), 0);
    window.DrawFillRect(lo, lo, hi, hi);
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_EQ(Black(), client.right * client.bottom);
    window.EndPaint();
}

TEST_F(HostileSizesTest, IconsDrawnIntoExtremeBoxesAreCut)
{
    Open();
    const std::vector<uint8_t> bytes = bmp::Make(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x112233, 0x445566, 0x778899});
    ASSERT_TRUE(VorlaRegisterBitmapResource(GetModuleHandleA(nullptr), 42, bytes.data(), bytes.size()));
    VLIcon icon;
    ASSERT_EQ(icon.LoadImageA(nullptr, 42, 0xFF00FF), 1);
    HDC dc = GetDC(handle);
    const int lo = INT_MIN, hi = INT_MAX;
    const int boxes[][4] = {{lo, lo, hi, hi}, {hi, hi, lo, lo}, {hi - 1, hi - 1, hi, hi}, {lo, 0, hi, 2},
                            {0, 0, hi, hi},   {0, 0, lo, lo},   {hi, 0, hi, 0}};
    for (const auto &box : boxes)
        icon.DrawImage(dc, box[0], box[1], box[2], box[3], 1);
    icon.DrawImage(dc, 10, 10, hi, hi, 0); // the whole icon: the box is larger than it
    ReleaseDC(handle, dc);
    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(10, 10), 0xFF0000u);
    EXPECT_EQ(shot.At(12, 11), 0x778899u);
}

namespace {

// The circle stepping as it was before clipping: every step of the octant, every pixel tested.
struct Reference {
    int width, height;
    std::vector<int> lit;
    Reference(int w, int h) : width(w), height(h), lit(static_cast<size_t>(w) * h, 0) {}
    void Set(long long x, long long y)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            lit[static_cast<size_t>(y) * width + static_cast<size_t>(x)] = 1;
    }
    void Run(long long x1, long long y, long long x2)
    {
        for (long long x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
            Set(x, y);
    }
    void Circle(long long cx, long long cy, long long r, bool fill)
    {
        if (r < 0)
            return;
        long long d = r, j = r, i = 0;
        do {
            if (fill) {
                Run(cx - j, cy + i, cx + j);
                Run(cx - j, cy - i, cx + j);
                Run(cx - i, cy + j, cx + i);
                Run(cx - i, cy - j, cx + i);
            } else {
                Set(cx + j, cy + i), Set(cx - j, cy + i), Set(cx + j, cy - i), Set(cx - j, cy - i);
                Set(cx + i, cy + j), Set(cx - i, cy + j), Set(cx + i, cy - j), Set(cx - i, cy - j);
            }
            d = d - 2 * i - 1;
            i = i + 1;
            if (d < 0) {
                j = j - 1;
                d = d + 2 * j;
            }
        } while (j >= i);
    }
};

} // namespace

TEST_F(HostileSizesTest, CirclesFarLargerThanTheImageCostOnlyTheirVisiblePixels)
{
    VLImage image;
    image.SetBounds(0, 0, 37, 23);
    ASSERT_NE(image.GetPointer(), nullptr);
    image.SetForegroundColor(0xFFFFFFFF);

    // Pixels inside the buffer are exactly those of the full stepping.
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> centre(-150, 190), radius(0, 220), kind(0, 1);
    for (int round = 0; round < 1500; ++round) {
        const int cx = centre(random), cy = centre(random) / 2, r = radius(random);
        const bool fill = kind(random) == 1;
        image.ClearImage(0xFF000000);
        if (fill)
            image.DrawFillCircle(cx, cy, r);
        else
            image.DrawCircle(cx, cy, r);
        Reference expected(37, 23);
        expected.Circle(cx, cy, r, fill);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(image.GetPixel(x, y) == 0xFFFFFFFFu, expected.lit[static_cast<size_t>(y) * 37 + x] == 1)
                    << (fill ? "filled " : "outline ") << cx << "," << cy << " r " << r << " at " << x << "," << y;
    }

    // Radii near the int limit on a small image stay in the milliseconds.
    const int hi = INT_MAX;
    const struct {
        int cx, cy, r;
    } huge[] = {{18, 11, hi}, {0, 0, hi - 1}, {hi, hi, hi}, {INT_MIN, 11, hi}, {18, hi - 5, hi}, {-hi + 20, 11, hi}};
    for (const auto &c : huge) {
        image.ClearImage(0xFF000000);
        EXPECT_LT(Milliseconds([&] { image.DrawCircle(c.cx, c.cy, c.r); }), 200.0) << c.cx << "," << c.cy;
        EXPECT_LT(Milliseconds([&] { image.DrawFillCircle(c.cx, c.cy, c.r); }), 200.0) << c.cx << "," << c.cy;
    }
    // A circle around the image leaves it alone; a filled one covers it.
    image.ClearImage(0xFF000000);
    image.DrawCircle(18, 11, hi);
    EXPECT_EQ(image.GetPixel(18, 11), 0xFF000000u);
    image.DrawFillCircle(18, 11, hi);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(36, 22), 0xFFFFFFFFu);
    // The top of a huge circle just inside the image is one straight run across it.
    image.ClearImage(0xFF000000);
    image.DrawCircle(18, hi - 5, hi - 10);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(image.GetPixel(x, y), y == 5 ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
}

TEST_F(HostileSizesTest, SystemDrawingAtTheEndsOfTheRangeEndsQuickly)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const int lo = INT_MIN, hi = INT_MAX;

    // A pen wider than any surface would cost its width in rows at every point: refused.
    EXPECT_EQ(CreatePen(PS_SOLID, INT_MAX, 0), nullptr);
    LOGBRUSH solid = {BS_SOLID, 0, 0};
    EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 100000, &solid, 0, nullptr), nullptr);

    POINT corners[4] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
    const double spent = Milliseconds([&] {
        for (int width : {1, 3, 128, 16384}) {
            HPEN pen = CreatePen(PS_SOLID, width, RGB(255, 0, 0));
            ASSERT_NE(pen, nullptr) << width;
            HGDIOBJ previous = SelectObject(dc, pen);
            MoveToEx(dc, lo, lo, nullptr);
            LineTo(dc, hi, hi);
            LineTo(dc, lo, 5);
            Polyline(dc, corners, 4);
            PolyBezier(dc, corners, 4);
            Rectangle(dc, lo, lo, hi, hi);
            Ellipse(dc, lo, lo, hi, hi);
            RoundRect(dc, lo, lo, hi, hi, hi, hi);
            RoundRect(dc, 0, 0, 10, 10, lo, lo);
            Arc(dc, lo, lo, hi, hi, 0, 0, 5, 5);
            SetPolyFillMode(dc, ALTERNATE);
            Polygon(dc, corners, 4);
            SetPolyFillMode(dc, WINDING);
            Polygon(dc, corners, 4);
            SelectObject(dc, previous);
            DeleteObject(pen);
        }
        DWORD dashes[2] = {0xFFFFFFFFu, 1};
        HPEN styled = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &solid, 2, dashes);
        ASSERT_NE(styled, nullptr);
        HGDIOBJ previous = SelectObject(dc, styled);
        MoveToEx(dc, lo, 3, nullptr);
        LineTo(dc, hi, 3);
        Ellipse(dc, lo, lo, hi, hi);
        RoundRect(dc, lo, lo, hi, hi, 7, 7);
        SelectObject(dc, previous);
        DeleteObject(styled);

        SetPixel(dc, hi, lo, 0);
        GetPixel(dc, lo, hi);
        BitBlt(dc, hi, hi, hi, hi, dc, lo, lo, SRCCOPY);
        BitBlt(dc, lo, lo, hi, hi, dc, hi, hi, SRCCOPY);
        StretchBlt(dc, lo, lo, hi, hi, dc, 0, 0, 3, 3, SRCCOPY);
        StretchBlt(dc, 0, 0, 30, 30, dc, lo, lo, hi, hi, SRCCOPY);
        HRGN region = CreateRectRgn(lo, lo, hi, hi);
        HRGN other = CreateRectRgn(hi - 1, lo, lo + 1, hi);
        CombineRgn(region, region, other, RGN_XOR);
        PtInRegion(region, hi, lo);
        SelectClipRgn(dc, region);
        IntersectClipRect(dc, hi, hi, lo, lo);
        SelectClipRgn(dc, nullptr);
        DeleteObject(region);
        DeleteObject(other);
    });
    EXPECT_LT(spent, 5000.0);

    // Fills across the whole range cover the whole bitmap.
    EXPECT_TRUE(PatBlt(dc, lo, lo, hi, hi, WHITENESS));
    const RECT everything = {lo, lo, hi, hi};
    HBRUSH black = CreateSolidBrush(0);
    FillRect(dc, &everything, black);
    DeleteObject(black);
    EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
    EXPECT_EQ(GetPixel(dc, 31, 31), 0u);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
