// Icons from bitmap resources drawn over a window, and the cursor table of a window.
#include "support.h"

#include "bmp_bytes.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class IconTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_EQ(window.CreateNewWindow("icons", 10, 10, 64, 32, 0), 1000);
        handle = HandleOf(window);
        window.ShowWindow(1);
        driver::Pump(); // painted grey
    }

    // Registers a 24-bit picture as resource id of the program.
    static void Register(int id, int width, int height, const std::vector<uint32_t> &rgb)
    {
        const std::vector<uint8_t> bytes = bmp::Make(width, height, rgb);
        ASSERT_TRUE(VorlaRegisterBitmapResource(GetModuleHandleA(nullptr), id, bytes.data(), bytes.size()));
    }

    void Draw(VLIcon &icon, int left, int top, int right, int bottom, int greyed)
    {
        HDC dc = GetDC(handle);
        icon.DrawImage(dc, left, top, right, bottom, greyed);
        ReleaseDC(handle, dc);
    }

    void Fill(int left, int top, int right, int bottom, COLORREF colour)
    {
        HDC dc = GetDC(handle);
        HBRUSH brush = CreateSolidBrush(colour);
        RECT area = {left, top, right, bottom};
        FillRect(dc, &area, brush);
        DeleteObject(brush);
        ReleaseDC(handle, dc);
    }

    VLWindow window;
    HWND handle = nullptr;
};

constexpr uint32_t Grey = 0xC0C0C0;

} // namespace

TEST_F(IconTest, ExactlyTheKeyColourIsTransparent)
{
    Register(11, 4, 1, {0xFF00FF, 0xFF01FF, 0x102030, 0xFE00FF});
    VLIcon icon;
    EXPECT_EQ(icon.GetImageWidth(), 0);
    ASSERT_EQ(icon.LoadImageA(nullptr, 11, 0xFFFF00FF), 1);
    EXPECT_EQ(icon.GetImageWidth(), 4);
    EXPECT_EQ(icon.GetImageHeight(), 1);
    Draw(icon, 5, 6, 40, 30, 0);
    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(5, 6), Grey);
    EXPECT_EQ(shot.At(6, 6), 0xFF01FFu);
    EXPECT_EQ(shot.At(7, 6), 0x102030u);
    EXPECT_EQ(shot.At(8, 6), 0xFE00FFu);
    EXPECT_EQ(shot.At(9, 6), Grey);

    // A failed load keeps the picture it had.
    EXPECT_EQ(icon.LoadImageA(nullptr, 12345, 0), 0);
    EXPECT_EQ(icon.LoadImageA("no-such-module", 11, 0), 0);
    EXPECT_EQ(icon.GetImageWidth(), 4);
}

TEST_F(IconTest, GreyedPixelsBlendHalfWithTheBackground)
{
    Register(12, 2, 1, {0xC80000, 0x00FF00});
    VLIcon icon;
    ASSERT_EQ(icon.LoadImageA(nullptr, 12, 0x00FF00), 1);
    Fill(0, 0, 10, 10, RGB(100, 0, 40));
    Draw(icon, 2, 3, 20, 20, 1);
    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(2, 3), 0x960014u); // (200 + 100) / 2, 0, 40 / 2
    EXPECT_EQ(shot.At(3, 3), 0x640028u); // keyed out: the background
}

TEST_F(IconTest, OddWidthsDrawStraightAndTheBoxCutsWithoutScaling)
{
    // Ten columns: the work rows are 32 bytes apart, not 30.
    std::vector<uint32_t> rgb;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            rgb.push_back(static_cast<uint32_t>(0x100000 * (x + 1) + 0x40 * y + 1));
    Register(13, 10, 3, rgb);
    VLIcon icon;
    ASSERT_EQ(icon.LoadImageA(nullptr, 13, 0xFFFF00FF), 1);
    Draw(icon, 1, 1, 60, 30, 0);
    driver::Image shot = driver::Snapshot(handle);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(shot.At(1 + x, 1 + y), rgb[y * 10 + x]) << x << "," << y;

    // A box 4 wide and 2 high: the rest stays as it was.
    Fill(0, 0, 64, 32, RGB(0, 0, 0xFF));
    Draw(icon, 20, 10, 24, 12, 0);
    shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(20, 10), rgb[0]);
    EXPECT_EQ(shot.At(23, 11), rgb[13]);
    EXPECT_EQ(shot.At(24, 10), 0x0000FFu);
    EXPECT_EQ(shot.At(20, 12), 0x0000FFu);
    EXPECT_EQ(shot.Count(0x0000FF, 0, 0, shot.width, shot.height), shot.width * shot.height - 8);
}

TEST_F(IconTest, ModulesAreFoldersOfBmpFilesBesideTheProgram)
{
    char folder[] = "/tmp/vorla-icons-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string base = folder;
    ASSERT_EQ(mkdir((base + "/buttons").c_str(), 0755), 0);
    const std::vector<uint8_t> bytes = bmp::Make(2, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC});
    std::ofstream(base + "/buttons/7.bmp", std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    setenv("VORLA_RESOURCE_DIR", folder, 1);

    VLIcon icon;
    EXPECT_EQ(icon.LoadImageA("Buttons.dll", 7, 0), 1);
    EXPECT_EQ(icon.GetImageWidth(), 2);
    Draw(icon, 0, 0, 2, 2, 0);
    EXPECT_EQ(driver::Snapshot(handle).At(1, 1), 0xAABBCCu);
    EXPECT_EQ(icon.LoadImageA("buttons", 8, 0), 0);

    unsetenv("VORLA_RESOURCE_DIR");
    std::remove((base + "/buttons/7.bmp").c_str());
    rmdir((base + "/buttons").c_str());
    rmdir(folder);
}

TEST_F(CoreTest, CursorIdsRunFrom100To123)
{
    unsigned char image[32] = {};
    unsigned char mask[32] = {};
    VLCursor cursors;
    EXPECT_EQ(cursors.CreateCursor(image, mask, 16, 0), 0);
    EXPECT_EQ(cursors.CreateCursor(image, mask, 0, -1), 0);
    EXPECT_EQ(cursors.CreateCursor(nullptr, mask, 0, 0), 0);
    for (int i = 0; i < 24; ++i)
        ASSERT_EQ(cursors.CreateCursor(image, mask, 15, 15), 100 + i);
    EXPECT_EQ(cursors.CreateCursor(image, mask, 0, 0), 0);

    VLWindow window;
    EXPECT_EQ(window.CreateCursor(image, mask, 1, 1), 100); // each window has a table of its own
}

TEST_F(CoreTest, CreatedCursorsAreTransparentOutsideTheirSixteenPixels)
{
    // An opaque 16 x 16 square: white left half, black right half; the last row transparent.
    unsigned char image[32];
    unsigned char mask[32];
    for (int row = 0; row < 16; ++row) {
        image[2 * row] = 0xFF;
        image[2 * row + 1] = 0x00;
        mask[2 * row] = mask[2 * row + 1] = row == 15 ? 0xFF : 0x00;
    }
    VLCursor cursors;
    ASSERT_EQ(cursors.CreateCursor(image, mask, 3, 4), 100);
    cursors.SetCursor(100);
    EXPECT_EQ(cursors.GetCursor(), 100);
    driver::CursorShown shown = driver::ShownCursor();
    ASSERT_EQ(shown.width, 32);
    ASSERT_EQ(shown.height, 32);
    EXPECT_EQ(shown.hot_x, 3);
    EXPECT_EQ(shown.hot_y, 4);
    EXPECT_EQ(shown.AndBit(0, 0), 0);
    EXPECT_EQ(shown.XorBit(0, 0), 1);
    EXPECT_EQ(shown.XorBit(8, 0), 0);
    EXPECT_EQ(shown.AndBit(15, 14), 0);
    EXPECT_EQ(shown.AndBit(0, 15), 1);
    EXPECT_EQ(shown.XorBit(0, 15), 0); // image AND NOT mask
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (x >= 16 || y >= 16) {
                ASSERT_EQ(shown.AndBit(x, y), 1) << x << "," << y;
                ASSERT_EQ(shown.XorBit(x, y), 0) << x << "," << y;
            }

    // A system with 16 x 16 cursors takes the input as it is; one with 24 pixels gets word rows.
    driver::SetSystemMetric(SM_CXCURSOR, 16);
    driver::SetSystemMetric(SM_CYCURSOR, 16);
    cursors.SetCursor(cursors.CreateCursor(image, mask, 0, 0));
    EXPECT_EQ(driver::ShownCursor().width, 16);
    EXPECT_EQ(driver::ShownCursor().and_plane.size(), 32u);
    driver::SetSystemMetric(SM_CXCURSOR, 24);
    driver::SetSystemMetric(SM_CYCURSOR, 24);
    cursors.SetCursor(cursors.CreateCursor(image, mask, 0, 0));
    shown = driver::ShownCursor();
    EXPECT_EQ(shown.width, 24);
    EXPECT_EQ(shown.XorBit(7, 3), 1);
    EXPECT_EQ(shown.AndBit(20, 3), 1);
    EXPECT_EQ(shown.XorBit(20, 3), 0);
    driver::SetSystemMetric(SM_CXCURSOR, 48);
    EXPECT_EQ(cursors.CreateCursor(image, mask, 0, 0), 0);
}

TEST_F(CoreTest, SystemCursorsAreSelectedById)
{
    VLCursor cursors;
    EXPECT_EQ(cursors.GetCursor(), 0);
    EXPECT_EQ(cursors.SetCursor(3), 0);
    EXPECT_EQ(cursors.GetCursor(), 3);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32513); // the I-beam
    cursors.SetCursor(50);
    cursors.SetCursor(0);
    EXPECT_EQ(cursors.GetCursor(), 3);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32513);
    const int shapes[] = {32512, 32515, 32513, 32514};
    for (int id = 1; id <= 4; ++id) {
        cursors.SetCursor(id);
        EXPECT_EQ(driver::ShownCursor().system_shape, shapes[id - 1]);
    }
}
