// The keyboard as Windows delivers it (message kinds, lParam bits, characters, toggles), double
// clicks on the frame, cursors, and bitmap resources read from untrusted BMP bytes.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include "bmp_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace t = vorla::testing;

namespace {

struct Seen {
    UINT message;
    WPARAM wparam;
    DWORD lparam;
};
std::vector<Seen> g_keys;

LRESULT CALLBACK KeyRecorder(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if ((message >= WM_KEYDOWN && message <= WM_SYSCHAR) || message == WM_NCLBUTTONDBLCLK ||
        message == WM_NCLBUTTONDOWN)
        g_keys.push_back(Seen{message, wparam, static_cast<DWORD>(lparam)});
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        t::Reset();
        g_keys.clear();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = KeyRecorder; // no CS_DBLCLKS: the frame still gets double clicks
        wc.lpszClassName = "Keys";
        RegisterClassExA(&wc);
        window = CreateWindowExA(WS_EX_DLGMODALFRAME, "Keys", "keys", WS_POPUP | WS_CAPTION | WS_SYSMENU, 50, 60, 206,
                                 125, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(window, SW_SHOW);
        t::Pump();
        g_keys.clear();
    }
    std::vector<UINT> Messages() const {
        std::vector<UINT> out;
        for (const Seen &s : g_keys) out.push_back(s.message);
        return out;
    }
    HWND window = nullptr;
};

} // namespace

TEST_F(Keyboard, LparamCarriesRepeatScanCodeExtendedAndTransitionBits) {
    t::KeyDown('A', 3);
    t::KeyDown('A'); // held: the previous-state bit is set
    t::KeyUp('A');
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_EQ(g_keys[0].lparam, 0x001E0003u);
    EXPECT_EQ(g_keys[1].lparam, 0x001E0003u); // the character keeps its key's lParam
    EXPECT_EQ(g_keys[2].lparam, 0x401E0001u);
    EXPECT_EQ(g_keys[4].lparam, 0xC01E0001u);

    g_keys.clear();
    t::PressKey(VK_DOWN);
    t::PressKey(VK_NUMPAD0 + 2);
    t::PressKey(VK_F1 + 4);
    ASSERT_EQ(g_keys.size(), 7u);
    EXPECT_EQ(g_keys[0].lparam, 0x01500001u); // extended, scan code 0x50
    EXPECT_EQ(g_keys[2].lparam, 0x00500001u); // the pad's 2 shares the code, not extended
    EXPECT_EQ(g_keys[3].wparam, static_cast<WPARAM>('2'));
    EXPECT_EQ(g_keys[5].lparam, 0x003F0001u);
    EXPECT_EQ(MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC), 0x01u);
    EXPECT_EQ(MapVirtualKeyA(0x48, MAPVK_VSC_TO_VK), static_cast<UINT>(VK_UP));
    EXPECT_EQ(MapVirtualKeyA(0xBF, MAPVK_VK_TO_CHAR), static_cast<UINT>('/'));
}

TEST_F(Keyboard, AltMakesSystemKeysAndItsReleaseDependsOnWhatCameBetween) {
    t::PressKeyWith({VK_MENU}, 'X');
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP}));
    EXPECT_EQ(g_keys[0].lparam, 0x20380001u);
    EXPECT_EQ(g_keys[2].wparam, static_cast<WPARAM>('x'));
    EXPECT_EQ(g_keys[3].lparam & 0xE0000000u, 0xE0000000u);

    g_keys.clear();
    t::PressKey(VK_MENU); // alone
    t::PressKey(VK_F1 + 9);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}));
    EXPECT_EQ(g_keys[1].lparam, 0xE0380001u);

    // Right Alt is reported as Alt with the extended bit; the side keys keep their own state.
    g_keys.clear();
    t::KeyDown(VK_RMENU);
    EXPECT_EQ(g_keys[0].wparam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(g_keys[0].lparam, 0x21380001u);
    EXPECT_TRUE(GetKeyState(VK_MENU) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_RMENU) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_LMENU) & 0x8000);
    t::KeyUp(VK_RMENU);
    EXPECT_FALSE(GetAsyncKeyState(VK_MENU) & 0x8000);
}

TEST_F(Keyboard, CharactersFollowTheUsLayout) {
    auto typed = [&](std::initializer_list<int> held, int key) {
        g_keys.clear();
        t::PressKeyWith(held, key);
        for (const Seen &s : g_keys)
            if (s.message == WM_CHAR) return static_cast<int>(s.wparam);
        return -1;
    };
    EXPECT_EQ(typed({}, 'Q'), 'q');
    EXPECT_EQ(typed({VK_SHIFT}, 'Q'), 'Q');
    EXPECT_EQ(typed({VK_SHIFT}, '1'), '!');
    EXPECT_EQ(typed({}, VK_BACK), 8);
    EXPECT_EQ(typed({}, VK_RETURN), 13);
    EXPECT_EQ(typed({}, VK_ESCAPE), 27);
    EXPECT_EQ(typed({}, VK_TAB), 9);
    EXPECT_EQ(typed({}, VK_F1), -1);
    EXPECT_EQ(typed({VK_CONTROL}, 'A'), 1);
    EXPECT_EQ(typed({VK_CONTROL}, 'Z'), 26);
    EXPECT_EQ(typed({VK_CONTROL}, VK_RETURN), 10);
    EXPECT_EQ(typed({VK_CONTROL}, '1'), -1);
    EXPECT_EQ(typed({VK_CONTROL, VK_MENU}, 'A'), -1);

    // Caps Lock toggles with each press and turns letters over, Shift turns them back.
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    t::PressKey(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    EXPECT_EQ(typed({}, 'Q'), 'Q');
    EXPECT_EQ(typed({VK_SHIFT}, 'Q'), 'q');
    for (int key : {VK_NUMLOCK, VK_SCROLL, VK_INSERT}) {
        t::KeyDown(key);
        EXPECT_EQ(GetKeyState(key) & 0xFFFF, 0x8001) << key;
        t::KeyUp(key);
        EXPECT_EQ(GetKeyState(key), 1) << key;
        t::PressKey(key);
        EXPECT_EQ(GetKeyState(key), 0) << key;
    }
}

TEST_F(Keyboard, TheFrameGetsDoubleClicksWhateverTheClassStyle) {
    POINT caption = t::CaptionPoint(window);
    t::DoubleClick(caption.x, caption.y);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK}));
}

TEST(Cursors, CreatedCursorsCarryTheirPlanesToTheScreen) {
    t::Reset();
    uint8_t and_plane[4 * 32], xor_plane[4 * 32];
    for (int i = 0; i < 4 * 32; ++i) and_plane[i] = static_cast<uint8_t>(i), xor_plane[i] = static_cast<uint8_t>(~i);
    HCURSOR made = CreateCursor(nullptr, 5, 6, 32, 32, and_plane, xor_plane);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 32, 32, nullptr, xor_plane), nullptr);
    EXPECT_EQ(SetCursor(made), nullptr);
    t::CursorShown shown = t::ShownCursor();
    EXPECT_EQ(shown.handle, made);
    EXPECT_EQ(shown.system_shape, 0);
    EXPECT_EQ(shown.hot_x, 5);
    EXPECT_EQ(shown.and_plane, std::vector<uint8_t>(and_plane, and_plane + sizeof and_plane));
    EXPECT_EQ(shown.xor_plane, std::vector<uint8_t>(xor_plane, xor_plane + sizeof xor_plane));

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_EQ(SetCursor(arrow), made);
    EXPECT_EQ(t::ShownCursor().system_shape, 32512);
    EXPECT_TRUE(t::ShownCursor().and_plane.empty());
    EXPECT_TRUE(DestroyCursor(made));
    EXPECT_FALSE(DestroyCursor(made));
    EXPECT_EQ(SetCursor(made), nullptr); // a destroyed cursor is refused
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_TRUE(DestroyCursor(arrow)); // shared: stays usable
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(100)), nullptr);
}

namespace {

// The colour at (x, y) of a loaded bitmap, as 0xRRGGBB.
uint32_t PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

HBITMAP LoadBytes(const std::vector<uint8_t> &bytes, int id = 40) {
    HMODULE self = GetModuleHandleA(nullptr);
    if (!VorlaRegisterBitmapResource(self, id, bytes.data(), bytes.size())) return nullptr;
    return static_cast<HBITMAP>(LoadImageA(self, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

} // namespace

TEST(BitmapResources, EveryResourceDepthAndRowOrderReadsTheSamePicture) {
    t::Reset();
    const std::vector<uint32_t> picture = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000,
                                           0xFF0000, 0x808080, 0x00FF00, 0xFFFFFF, 0x0000FF};
    struct Case {
        int depth;
        bool top_down, file, core;
    };
    const Case cases[] = {{1, false, true, false}, {4, false, false, false}, {8, true, true, false},
                          {8, false, false, true}, {16, false, true, false}, {24, false, false, false},
                          {24, true, true, false},  {32, false, true, false}};
    for (const Case &c : cases) {
        bmp::Options o;
        o.depth = c.depth;
        o.topDown = c.top_down;
        o.fileHeader = c.file;
        o.coreHeader = c.core;
        // Two colours only for one bit per pixel.
        std::vector<uint32_t> rgb = picture;
        if (c.depth == 1)
            for (uint32_t &v : rgb) v = v == 0xFFFFFF ? 0xFFFFFF : 0x000000;
        HBITMAP bitmap = LoadBytes(bmp::Make(5, 2, rgb, o));
        ASSERT_NE(bitmap, nullptr) << c.depth;
        BITMAP info{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, 5);
        EXPECT_EQ(info.bmHeight, 2);
        EXPECT_EQ(info.bmBitsPixel, 24);
        EXPECT_NE(info.bmBits, nullptr);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x) {
                uint32_t want = rgb[y * 5 + x];
                if (c.depth == 16) want &= 0xF8F8F8, want |= (want >> 5) & 0x070707;
                EXPECT_EQ(PixelOf(bitmap, x, y), want) << "depth " << c.depth << " at " << x << "," << y;
            }
        DeleteObject(bitmap);
    }
}

TEST(BitmapResources, MalformedBytesAreRefusedCleanly) {
    t::Reset();
    const std::vector<uint8_t> good = bmp::Make(3, 3, std::vector<uint32_t>(9, 0x123456));
    ASSERT_NE(LoadBytes(good), nullptr);
    auto with = [&](size_t at, std::vector<uint8_t> patch) {
        std::vector<uint8_t> bytes = good;
        for (size_t i = 0; i < patch.size(); ++i) bytes[at + i] = patch[i];
        return bytes;
    };
    const std::vector<std::vector<uint8_t>> bad = {
        std::vector<uint8_t>(good.begin(), good.end() - 1), // truncated pixels
        std::vector<uint8_t>(good.begin(), good.begin() + 20), // truncated header
        with(14, {41, 0, 0, 0}),                           // unknown header size
        with(26, {2, 0}),                                  // two planes
        with(28, {7, 0}),                                  // seven bits per pixel
        with(30, {1, 0, 0, 0}),                            // run-length compressed
        with(18, {0, 0, 0, 0}),                            // no width
        with(18, {0xFF, 0xFF, 0xFF, 0xFF}),                // negative width
        with(22, {0, 0, 0, 0x80}),                         // the most negative height
        with(18, {0, 0, 0, 0x40}),                         // absurdly wide
        with(10, {0xF0, 0xFF, 0xFF, 0xFF}),                // pixels far past the end
        with(10, {4, 0, 0, 0}),                            // pixels inside the header
        {'B', 'M'},
        {0x28},
    };
    for (size_t i = 0; i < bad.size(); ++i) EXPECT_EQ(LoadBytes(bad[i]), nullptr) << "case " << i;

    // Palette entries past the colour count and indices past the palette.
    bmp::Options o;
    o.depth = 8;
    std::vector<uint8_t> palette = bmp::Make(2, 1, {0x112233, 0x445566}, o);
    palette[14 + 32] = 0xFF, palette[14 + 33] = 0xFF; // 65535 colours used: past the end
    EXPECT_EQ(LoadBytes(palette), nullptr);
    palette = bmp::Make(2, 1, {0x112233, 0x445566}, o);
    palette[14 + 32] = 1; // one colour: index 1 has none and reads black
    HBITMAP short_palette = LoadBytes(palette);
    ASSERT_NE(short_palette, nullptr);
    EXPECT_EQ(PixelOf(short_palette, 0, 0), 0x112233u);
    EXPECT_EQ(PixelOf(short_palette, 1, 0), 0x000000u);
}

TEST(BitmapResources, ModulesFilesAndNames) {
    t::Reset();
    EXPECT_EQ(GetModuleHandleA("surely-not-here"), nullptr);
    HMODULE module = VorlaRegisterModule("Extra.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA("extra"), module);
    EXPECT_NE(module, GetModuleHandleA(nullptr));
    const std::vector<uint8_t> bytes = bmp::Make(1, 1, {0xABCDEF});
    ASSERT_TRUE(VorlaRegisterBitmapResource(module, 3, bytes.data(), bytes.size()));
    EXPECT_FALSE(VorlaRegisterBitmapResource(reinterpret_cast<HMODULE>(0x1234), 3, bytes.data(), bytes.size()));
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, "#3", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), 0xABCDEFu);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(3), IMAGE_BITMAP, 0, 0, 0), nullptr); // no system bitmaps
    EXPECT_EQ(LoadImageA(module, MAKEINTRESOURCEA(3), IMAGE_ICON, 0, 0, 0), nullptr);
    EXPECT_EQ(LoadImageA(module, MAKEINTRESOURCEA(3), IMAGE_BITMAP, 4, 4, 0), nullptr); // no stretching

    char path[] = "/tmp/vorla-bmp-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    FILE *file = fdopen(fd, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    HBITMAP from_file = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(from_file, nullptr);
    EXPECT_EQ(PixelOf(from_file, 0, 0), 0xABCDEFu);
    std::remove(path);
    EXPECT_EQ(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}
