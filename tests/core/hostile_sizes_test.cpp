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

// Registers a bitmap resource from the given pixels and loads it into an icon.
void LoadIcon(VLIcon &icon, int id, int width, int height, const std::vector<uint32_t> &pixels)
{
    const std::vector<uint8_t> bytes = bmp::Make(width, height, pixels);
    ASSERT_TRUE(VorlaRegisterBitmapResource(GetModuleHandleA(nullptr), id, bytes.data(), bytes.size()));
    ASSERT_EQ(icon.LoadImageA(nullptr, id, 0xFF00FF), 1);
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
        {0, 0, 100000, 100000},                                  // a framebuffer of 40 GB
        {0, 0, INT_MAX - 3, 1},                                  // the frame pushes the width past the range
        {INT_MAX - 5, 0, 100, 100}, {0, INT_MAX, 100, 100}, {INT_MIN + 1, INT_MIN + 1, 100, 100},
        {0, 0, 70000, 1},                                        // one side too long even for a small area
    };
    VLWindow probe;
    for (const Case &c : refused) {
        EXPECT_EQ(probe.CreateNewWindow("huge", c.x, c.y, c.width, c.height, 0), -1)
            << c.x << "," << c.y << " " << c.width << "x" << c.height;
        EXPECT_EQ(probe.GetWinID(), -1);
        EXPECT_EQ(WindowCount(), 0u);
    }
    // Tool windows and dialogs take the same path.
    EXPECT_EQ(probe.CreateNewWindow("huge", 0, 0, INT_MAX, INT_MAX, 2), -1);
    EXPECT_EQ(probe.CreateNewDialog("huge", 0, 0, INT_MAX, 5), -1);

    // Negative sizes are no overflow either: the system makes them empty.
    VLWindow negative;
    ASSERT_EQ(negative.CreateNewWindow("neg", 0, 0, INT_MIN, INT_MIN, 1), 1000);
    RECT client;
    GetClientRect(HandleOf(negative), &client);
    EXPECT_TRUE(SameRect(client, RECT{0, 0, 0, 0}));

    // The slot the refused windows tried is still the first free one, and a large real window works.
    negative.Clear();
    EXPECT_EQ(probe.CreateNewWindow("big", -2000, -1000, 4000, 3000, 1), 1000);
    HWND big = HandleOf(probe);
    ASSERT_NE(big, nullptr);
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
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = DefWindowProcA;
    description.lpszClassName = "HostilePlain";
    ASSERT_NE(RegisterClassExA(&description), 0);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    auto make = [&](DWORD with, int x, int y, int width, int height, HWND parent) {
        return CreateWindowExA(0, "HostilePlain", "x", with, x, y, width, height, parent, nullptr, nullptr, nullptr);
    };
    EXPECT_EQ(make(style, 0, 0, 100000, 100000, nullptr), nullptr);
    EXPECT_EQ(make(style, INT_MAX, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(make(style, 0, INT_MIN + 1, 10, 10, nullptr), nullptr);
    EXPECT_EQ(WindowCount(), 0u);

    HWND window = make(style, 10, 20, 200, 100, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    driver::Pump();
    RECT before;
    GetWindowRect(window, &before);
    for (const RECT &r : {RECT{0, 0, INT_MAX, INT_MAX}, RECT{INT_MAX, INT_MAX, 10, 10}, RECT{INT_MIN, 0, 10, 10},
                          RECT{0, 0, 100000, 100000}})
        EXPECT_FALSE(MoveWindow(window, r.left, r.top, r.right, r.bottom, TRUE));
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(before, after));
    EXPECT_TRUE(MoveWindow(window, 5, 6, 300, 200, TRUE));
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(after, RECT{5, 6, 305, 206}));

    // Child windows at the ends of the range are refused the same way.
    EXPECT_EQ(make(WS_CHILD, INT_MAX - 10, 0, 100, 10, window), nullptr);

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

TEST_F(HostileSizesTest, LabelsHintsAndIconsOfImpossibleSizeDrawOnlyWhatFits)
{
    Open();
    VLLabel label;
    label.SetText("text");
    label.SetAlign(2);
    window.Add(&label);
    const struct {
        int x, y, width, height;
    } bounds[] = {
        {0, 0, 67108864, 1}, {0, 0, 1, INT_MAX}, {0, 0, INT_MAX, INT_MAX}, {0, 0, INT_MIN, 1},
        {INT_MAX, INT_MAX, 5, 5}, {INT_MIN, INT_MIN, 5, 5}, {-3, -3, 100000, 100000},
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
    }
    // Centred text wider than the label, in a label wider than a bitmap can be, with an icon.
    VLIcon icon;
    LoadIcon(icon, 41, 2, 2, {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000});
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

    // A hint font of huge size shows a popup without overflow, also below a widget at the bottom of the range.
    label.SetBounds(0, 0, 60, 40);
    label.SetHintText("a\r\nb\nc");
    label.SetHintFontSize(INT_MAX);
    window.UpdateWindow();
    driver::Pump();
    HWND popup = nullptr;
    for (HWND top : driver::TopLevelWindows())
        popup = ClassOf(top) == "VorlaToolHintClass" ? top : popup;
    ASSERT_NE(popup, nullptr);
    driver::MoveTo(handle, 20, 20);
    driver::Advance(1100);
    driver::Pump();
    RECT hint;
    GetWindowRect(popup, &hint);
    EXPECT_GE(hint.right, hint.left);
    EXPECT_GE(hint.bottom, hint.top);
    driver::MoveTo(handle, 50, 46);
    driver::Advance(300);
    label.SetBounds(0, INT_MAX - 100, 60, 200);
    label.SetHintFontSize(INT_MIN);
    driver::Advance(1100);
    driver::Pump();
    window.RemoveAt(&label);
    window.UpdateWindow();
    driver::Pump();

    // Icons drawn straight into extreme boxes are cut to what is there.
    VLIcon colours;
    LoadIcon(colours, 42, 3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x112233, 0x445566, 0x778899});
    HDC dc = GetDC(handle);
    const int lo = INT_MIN, hi = INT_MAX;
    const int boxes[][4] = {{lo, lo, hi, hi}, {hi, hi, lo, lo}, {hi - 1, hi - 1, hi, hi}, {lo, 0, hi, 2},
                            {0, 0, hi, hi},   {0, 0, lo, lo},   {hi, 0, hi, 0}};
    for (const auto &box : boxes)
        colours.DrawImage(dc, box[0], box[1], box[2], box[3], 1);
    colours.DrawImage(dc, 10, 10, hi, hi, 0); // the whole icon: the box is larger than it
    ReleaseDC(handle, dc);
    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(10, 10), 0xFF0000u);
    EXPECT_EQ(shot.At(12, 11), 0x778899u);
}

TEST_F(HostileSizesTest, DrawingSurfaceCallsAtTheEndsOfTheRangeClipAndReturnQuickly)
{
    Open();
    window.BeginPaint();
    window.SetForegroundColor(0xFF000000);
    const int lo = INT_MIN, hi = INT_MAX;
    VLSTPosition points[4] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
    const double spent = Milliseconds([&] {
        // Thick pens take the same paths with their width around every point.
        for (int size : {1, 128}) {
            window.SetSize(size);
            for (const RECT &b : {RECT{lo, lo, hi, hi}, RECT{hi, hi, lo, lo}}) {
                window.DrawArc(b.left, b.top, b.right, b.bottom, 45, 300);
                window.DrawCircle(b.left, b.top, b.right, b.bottom);
                window.DrawFillCircle(b.left, b.top, b.right, b.bottom);
                window.DrawRoundRect(b.left, b.top, b.right, b.bottom, hi, 1);
                window.DrawRoundRect(b.left, b.top, b.right, b.bottom, lo, 2);
                window.DrawFillRoundRect(b.left, b.top, b.right, b.bottom, hi);
                for (int style : {1, 2}) {
                    window.DrawRect(b.left, b.top, b.right, b.bottom, style);
                    window.DrawLine(b.left, b.bottom, b.right, b.top, style);
                }
            }
            window.DrawPolygon(points, 4);
            window.DrawFillPolygon(points, 4);
            window.DrawBezier(points, 4);
        }
        window.DrawArc(0, 0, 60, 40, lo, hi);
        window.DrawArc(hi, hi, lo, lo, lo + 1, hi - 1);
        window.SetPixel(hi, lo);
        window.DrawTextA(hi, hi, "far");
        for (int align : {1, 2, 3}) {
            window.DrawBoxText(lo, lo, hi, hi, "box", align);
            window.DrawBoxText(hi - 1, 0, hi, 40, "box", align);
            window.DrawBoxText(lo, 0, lo + 1, 40, "box", align);
        }
        window.SetSize(1);
        window.SetFontSize(INT_MAX);
        window.DrawTextA(0, 0, "big");
        window.DrawBoxText(0, 0, 60, 40, "big", 2);
        EXPECT_GE(window.GetTextWidth("big"), 0);
    });
    EXPECT_LT(spent, 5000.0);
    window.EndPaint();

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
    EXPECT_EQ(Black(0, 0, 64, 48), client.right * client.bottom);
    window.EndPaint();
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
            lit[static_cast<size_t>(y * width + x)] = 1;
    }
    void Run(long long x1, long long y, long long x2)
    {
        for (long long x = x1; x <= x2; ++x)
            Set(x, y);
    }
    void Circle(long long cx, long long cy, long long r, bool fill)
    {
        if (r < 0)
            return;
        long long d = r, j = r, i = 0;
        do {
            if (fill) {
                Run(cx - j, cy + i, cx + j), Run(cx - j, cy - i, cx + j);
                Run(cx - i, cy + j, cx + i), Run(cx - i, cy - j, cx + i);
            } else {
                Set(cx + j, cy + i), Set(cx - j, cy + i), Set(cx + j, cy - i), Set(cx - j, cy - i);
                Set(cx + i, cy + j), Set(cx - i, cy + j), Set(cx + i, cy - j), Set(cx - i, cy - j);
            }
            d -= 2 * i++ + 1;
            if (d < 0)
                d += 2 * --j;
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
        fill ? image.DrawFillCircle(cx, cy, r) : image.DrawCircle(cx, cy, r);
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
    } huge[] = {{18, 11, hi}, {hi, hi, hi}, {INT_MIN, 11, hi}, {18, hi - 5, hi}};
    for (const auto &c : huge) {
        EXPECT_LT(Milliseconds([&] { image.DrawCircle(c.cx, c.cy, c.r), image.DrawFillCircle(c.cx, c.cy, c.r); }), 400.0)
            << c.cx << "," << c.cy;
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

TEST_F(HostileSizesTest, SystemDrawingAtTheEndsOfTheRangeIsRefusedOrEndsQuickly)
{
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    // Bitmaps, and pens wider than any surface (their width in rows at every point), are refused.
    EXPECT_EQ(CreateCompatibleBitmap(screen, 67108865, 2), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 100000, 100000), nullptr);
    EXPECT_EQ(CreateBitmap(INT_MAX, 1, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1 << 30, 1, 1, 32, nullptr), nullptr);
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    for (const auto &size : {std::make_pair(INT_MAX, 1), std::make_pair(1, -INT_MAX), std::make_pair(100000, 100000)}) {
        void *bits = &info;
        info.bmiHeader.biWidth = size.first;
        info.bmiHeader.biHeight = size.second;
        EXPECT_EQ(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
    EXPECT_EQ(CreatePen(PS_SOLID, INT_MAX, 0), nullptr);
    LOGBRUSH solid = {BS_SOLID, 0, 0};
    EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 100000, &solid, 0, nullptr), nullptr);

    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const int lo = INT_MIN, hi = INT_MAX;
    POINT corners[4] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
    DWORD dashes[2] = {0xFFFFFFFFu, 1};
    const double spent = Milliseconds([&] {
        const HPEN pens[] = {CreatePen(PS_SOLID, 1, RGB(255, 0, 0)), CreatePen(PS_SOLID, 128, RGB(255, 0, 0)),
                             CreatePen(PS_SOLID, 16384, RGB(255, 0, 0)),
                             ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &solid, 2, dashes)};
        for (HPEN pen : pens) {
            ASSERT_NE(pen, nullptr);
            HGDIOBJ previous = SelectObject(dc, pen);
            MoveToEx(dc, lo, lo, nullptr);
            LineTo(dc, hi, hi);
            LineTo(dc, lo, 5);
            Polyline(dc, corners, 4);
            PolyBezier(dc, corners, 4);
            Rectangle(dc, lo, lo, hi, hi);
            Ellipse(dc, lo, lo, hi, hi);
            Ellipse(dc, hi - 2, hi - 2, lo, lo);
            RoundRect(dc, lo, lo, hi, hi, hi, hi);
            RoundRect(dc, 0, 0, 10, 10, lo, lo);
            Arc(dc, lo, lo, hi, hi, 0, 0, 5, 5);
            Arc(dc, 0, 0, 60, 40, hi, lo, lo, hi);
            for (int mode : {ALTERNATE, WINDING})
                SetPolyFillMode(dc, mode), Polygon(dc, corners, 4);
            SelectObject(dc, previous);
            DeleteObject(pen);
        }
        SetPixel(dc, hi, lo, 0);
        GetPixel(dc, lo, hi);
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
        // Text placed from the current position or aligned at the ends of the range.
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
    // An ordinary size still works.
    HBITMAP small = CreateCompatibleBitmap(screen, 300, 200);
    EXPECT_NE(small, nullptr);
    DeleteObject(small);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
