// What an application sees of VorlaLib.dll on Windows, through the exported interface alone: the
// export ordinals at run time, pictures, text conversion, files, threads, system information, and
// windows driven by real window messages, read back with GDI.
#include <vorla/VorlaLib.h>

#include "pictures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "pump.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The library is started once per process, as an application does; VorlaTerminate runs at exit.
class Library : public ::testing::Environment {
public:
    void SetUp() override { VorlaInitialize(nullptr, GetModuleHandleA(nullptr)); }
    void TearDown() override { VorlaTerminate(); }
};

std::string TempFile(const char *name)
{
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    std::string path = length > 0 && length < MAX_PATH ? folder : ".\\";
    return path + "vorla-acceptance-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string WriteFile(const char *name, const unsigned char *bytes, size_t size)
{
    const std::string path = TempFile(name);
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(bytes, 1, size, file);
        std::fclose(file);
    }
    return path;
}

// ---- the export ordinals, as a program that imports by number finds them ----

TEST(Ordinals, FreeFunctionsAndEveryClassBlockAnswerAtTheirNumbers)
{
    HMODULE library = GetModuleHandleA("VorlaLib.dll");
    ASSERT_NE(library, nullptr);
    const struct {
        int ordinal;
        const char *name;
    } fixed[] = {
        {1, "_Z15VorlaInitializeP6HWND__P11HINSTANCE__"}, {2, "_Z16VorlaMessageLoopv"},
        {3, "_Z13VorlaGetEventv"}, {4, "_Z16VorlaMessageQuitv"}, {5, "_Z15VorlaGetVersionv"},
        {6, "_Z14VorlaTerminatev"}, {7, "_Z10VorlaGetOSv"},
        {100, "_ZN10VLFileCtrlC1Ev"}, {200, "_ZN12VLSystemInfoC1Ev"}, {1000, "_ZN8VLWindowC1Ev"},
        {2000, "_ZN10VLCheckBoxC1Ev"}, {3000, "_ZN7VLColorC1Ev"}, {4000, "_ZN10VLComboBoxC1Ev"},
        {5000, "_ZN9VLEditBoxC1Ev"}, {6000, "_ZN10VLGraphicsC1Ev"}, {7000, "_ZN7VLGroupC1Ev"},
        {8000, "_ZN7VLImageC1Ev"}, {9000, "_ZN7VLLabelC1Ev"}, {10000, "_ZN13VLProgressBarC1Ev"},
        {11000, "_ZN12VLPushButtonC1Ev"}, {12000, "_ZN13VLRadioButtonC1Ev"}, {13000, "_ZN8VLSliderC1Ev"},
        {14000, "_ZN6VLSpinC1Ev"}, {15000, "_ZN13VLSpinEditBoxC1Ev"}, {16000, "_ZN5VLTabC1Ev"},
        {17000, "_ZN8VLButtonC1Ev"}, {18000, "_ZN9VLListBoxC1Ev"}, {19000, "_ZN8VLThreadC1Ev"},
        {20000, "_ZN6VLIconC1Ev"}, {21000, "_ZN8VLStringC1Ev"}, {22000, "_ZN8VLCursorC1Ev"},
        {23000, "_ZN12VLScrollAreaC1Ev"},
    };
    for (const auto &entry : fixed) {
        FARPROC byNumber = GetProcAddress(library, MAKEINTRESOURCEA(entry.ordinal));
        FARPROC byName = GetProcAddress(library, entry.name);
        EXPECT_NE(byName, nullptr) << entry.name;
        EXPECT_EQ(byNumber, byName) << entry.ordinal << " " << entry.name;
    }
    // Called through its number, the version function answers like the imported one.
    auto version = reinterpret_cast<int (*)()>(reinterpret_cast<void *>(GetProcAddress(library, MAKEINTRESOURCEA(5))));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), VorlaGetVersion());
    EXPECT_EQ(VorlaGetVersion(), 0x110);
    EXPECT_EQ(VorlaGetOS(), 10);
    EXPECT_EQ(VorlaGetEvent(), 1);
    // Nothing answers between the blocks' exports and the next base.
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(999)), nullptr);
}

// ---- pictures: the library's own BMP reader and the JPEG and PNG libraries linked into the DLL ----

TEST(Pictures, PngColoursArriveInThePublicLayout)
{
    const std::string path = WriteFile("four.png", FourColoursPng, FourColoursPng_len);
    VLImage image;
    image.SetSize(4, 2);
    int width = 0, height = 0;
    ASSERT_EQ(image.GetImageSize(path.c_str(), &width, &height), 1);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    ASSERT_EQ(image.LoadImageA(path.c_str(), 0, 0, 4, 2, 0, 0), 1);
    const unsigned long expected[2][4] = {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF},
                                          {0xFF000000, 0xFF808080, 0xFFFFFF00, 0xFFFF00FF}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.GetPixel(x, y) & 0xFFFFFF, expected[y][x] & 0xFFFFFF) << x << "," << y;
    // Memory order red, green, blue, fourth byte.
    const unsigned char *pixels = image.GetPointer();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[1], 0);
    EXPECT_EQ(pixels[2], 0);
    DeleteFileA(path.c_str());
}

TEST(Pictures, JpegDecodesToItsColourAndPlacesARectangle)
{
    const std::string path = WriteFile("flat.jpg", FlatJpeg, FlatJpeg_len);
    VLImage image;
    image.SetSize(20, 10);
    image.ClearImage(0xFF000000);
    int width = 0, height = 0;
    ASSERT_EQ(image.GetImageSize(path.c_str(), &width, &height), 1);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 8);
    // Columns 10.. of the picture land from image column 2; the rest stays black.
    ASSERT_EQ(image.LoadImageA(path.c_str(), 10, 0, 6, 8, 2, 1), 1);
    const unsigned long inside = image.GetPixel(2, 1);
    EXPECT_NEAR(static_cast<int>((inside >> 16) & 0xFF), 0x20, 3);
    EXPECT_NEAR(static_cast<int>((inside >> 8) & 0xFF), 0x60, 3);
    EXPECT_NEAR(static_cast<int>(inside & 0xFF), 0xC0, 3);
    EXPECT_EQ(image.GetPixel(1, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.GetPixel(8, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.GetPixel(2, 0) & 0xFFFFFF, 0u);
    DeleteFileA(path.c_str());
}

TEST(Pictures, BmpIsReadAndBrokenFilesAreRefused)
{
    // A 2 x 1 24-bit BMP: blue then red (stored B, G, R), rows padded to 4 bytes.
    const unsigned char bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                                 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0};
    const std::string path = WriteFile("two.bmp", bmp, sizeof bmp);
    VLImage image;
    image.SetSize(2, 1);
    ASSERT_EQ(image.LoadImageA(path.c_str(), 0, 0, 2, 1, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.GetPixel(1, 0) & 0xFFFFFF, 0xFF0000u);
    DeleteFileA(path.c_str());

    // Files cut inside their headers are refused and write nothing; a PNG cut inside its rows is
    // taken with the rows it has (none here), so the image keeps its pixels.
    const std::string png = WriteFile("cut.png", FourColoursPng, 20);
    const std::string rows = WriteFile("rows.png", FourColoursPng, FourColoursPng_len / 2);
    const std::string jpeg = WriteFile("cut.jpg", FlatJpeg, 40);
    int width = -7, height = -7;
    EXPECT_EQ(image.GetImageSize(TempFile("missing.png").c_str(), &width, &height), 0);
    EXPECT_EQ(image.GetImageSize(png.c_str(), &width, &height), 0);
    EXPECT_EQ(width, -7);
    EXPECT_EQ(image.LoadImageA(png.c_str(), 0, 0, 2, 1, 0, 0), 0);
    EXPECT_EQ(image.LoadImageA(jpeg.c_str(), 0, 0, 2, 1, 0, 0), 0);
    EXPECT_EQ(image.LoadImageA(rows.c_str(), 0, 0, 2, 1, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.GetPixel(1, 0) & 0xFFFFFF, 0xFF0000u);
    DeleteFileA(rows.c_str());
    DeleteFileA(png.c_str());
    DeleteFileA(jpeg.c_str());
}

TEST(Pictures, SoftwareDrawingKeepsItsPixels)
{
    VLImage image;
    image.SetSize(8, 8);
    image.ClearImage(0xFF000000);
    image.SetForegroundColor(0xFF123456);
    image.DrawRect(1, 1, 6, 6);
    EXPECT_EQ(image.GetPixel(1, 1) & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(image.GetPixel(6, 3) & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(image.GetPixel(3, 3) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.GetLineBytes(), 32);
}

// ---- text, files, threads, system information ----

TEST(Text, ShiftJisAndUtf8ConvertBothWays)
{
    VLString convert;
    char utf8[32] = {};
    ASSERT_EQ(convert.ConvSJIS_UTF8("\x93\xfa\x96\x7b abc", utf8, sizeof utf8), 1); // "日本 abc"
    EXPECT_STREQ(utf8, "\xe6\x97\xa5\xe6\x9c\xac abc");
    char sjis[32] = {};
    ASSERT_EQ(convert.ConvUTF8_SJIS(utf8, sjis, sizeof sjis), 1);
    EXPECT_STREQ(sjis, "\x93\xfa\x96\x7b abc");
    // Too small a target is a failure, never a cut character.
    char small[3] = {};
    EXPECT_EQ(convert.ConvSJIS_UTF8("\x93\xfa\x96\x7b", small, sizeof small), 0);
}

TEST(Files, WrittenBytesReadBackAtTheirOffsets)
{
    const std::string path = TempFile("file.bin");
    VLFileCtrl file;
    ASSERT_EQ(file.Create(path.c_str()), 1);
    EXPECT_EQ(file.IsOpen(), 1);
    EXPECT_EQ(file.Write("0123456789", 10), 10);
    ASSERT_EQ(file.Close(), 1);
    ASSERT_EQ(file.Open(path.c_str()), 1);
    EXPECT_GE(file.Seek(4, 1), 0);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, 3), 3);
    EXPECT_STREQ(buffer, "456");
    EXPECT_EQ(file.GetOffset(), 7);
    EXPECT_EQ(file.Read(buffer, 8), 3);
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(file.Open(TempFile("missing.bin").c_str()), 0);
    DeleteFileA(path.c_str());
}

std::atomic<int> threadRuns{0};

TEST(Threads, AStartedFunctionRunsWithItsArgument)
{
    VLThread thread;
    static int argument = 41;
    ASSERT_EQ(thread.BeginThread([](void *value) { threadRuns += *static_cast<int *>(value) + 1; }, &argument), 1);
    for (int i = 0; i < 400 && threadRuns.load() == 0; ++i)
        Sleep(5);
    EXPECT_EQ(threadRuns.load(), 42);
}

TEST(SystemInfo, ScreenAndMemoryAgreeWithTheSystem)
{
    VLSystemInfo info;
    const VLSTSize screen = info.GetScreenSize();
    EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(info.GetTotalPhysMemoryK(), 0);
    EXPECT_GE(info.GetTotalPhysMemoryK(), info.GetAvailPhysMemoryK());
    EXPECT_GE(info.GetProcessCount(), 1);
}

// ---- windows driven by real messages ----

std::vector<VLSTWindowEvent> windowEvents;
std::vector<VLSTMouseEvent> mouseEvents;
int pressed = 0;

class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        windowEvents.clear();
        mouseEvents.clear();
        pressed = 0;
    }
    void TearDown() override
    {
        window.CloseWindow();
        Pump(50);
    }
    HWND Open(const char *title)
    {
        id = window.CreateNewWindow(title, 40, 40, 320, 200, 0);
        if (id < 0)
            return nullptr;
        window.SetBackgroundColor(0xFFD4D0C8);
        window.AttachWindowEvent([](VLWindow *, VLSTWindowEvent event) { windowEvents.push_back(event); });
        window.AttachMouseEvent([](VLWindow *, VLSTMouseEvent event) { mouseEvents.push_back(event); });
        return FindWindowA(nullptr, title);
    }
    // Presses and lets go of the left button at a client point, as the system reports it.
    static void Click(HWND handle, int x, int y)
    {
        PostMessageA(handle, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PostMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    static COLORREF Pixel(HWND handle, int x, int y)
    {
        HDC dc = GetDC(handle);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(handle, dc);
        return colour;
    }

    VLWindow window;
    int id = -1;
};

TEST_F(Windows, ShownWindowIsPaintedAndReportsItsEvents)
{
    HWND handle = Open("VorlaLib acceptance: paint");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(id, 1000);
    EXPECT_EQ(window.GetWinID(), 1000);
    EXPECT_EQ(window.ShowWindow(1), 1);
    Pump();
    EXPECT_EQ(window.IsVisible(), 1);
    RECT client;
    ASSERT_TRUE(GetClientRect(handle, &client));
    // The outer size counts one border row fewer than a dialog frame has, so the client area is a
    // row short of the height asked for; the window events report the client area as it is.
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 199);
    // The background, in the system's 0x00BBGGRR form.
    EXPECT_EQ(Pixel(handle, 5, 5), RGB(0xD4, 0xD0, 0xC8));
    EXPECT_EQ(Pixel(handle, 310, 190), RGB(0xD4, 0xD0, 0xC8));
    bool painted = false;
    for (const VLSTWindowEvent &event : windowEvents) {
        painted = painted || (event.event == 102 && event.winID == 1000);
        EXPECT_EQ(event.width, client.right) << event.event;
        EXPECT_EQ(event.height, client.bottom) << event.event;
    }
    EXPECT_TRUE(painted);
}

TEST_F(Windows, ClicksReachTheWindowAndAPushButton)
{
    HWND handle = Open("VorlaLib acceptance: click");
    ASSERT_NE(handle, nullptr);
    VLPushButton button;
    button.SetBounds(20, 20, 100, 30);
    button.SetText("Press");
    button.AttachSelectEvent([](VLPushButton *) { ++pressed; });
    window.Add(&button);
    window.ShowWindow(1);
    Pump();

    Click(handle, 70, 35);
    EXPECT_EQ(pressed, 1);
    std::vector<int> codes;
    for (const VLSTMouseEvent &event : mouseEvents)
        if (event.event != 302) {
            codes.push_back(event.event);
            EXPECT_EQ(event.winID, 1000);
            EXPECT_EQ(event.x, 70);
            EXPECT_EQ(event.y, 35);
        }
    EXPECT_EQ(codes, (std::vector<int>{300, 301}));

    // Beside the button nothing is selected; a hidden button takes no clicks.
    Click(handle, 200, 150);
    EXPECT_EQ(pressed, 1);
    button.SetVisible(0);
    Click(handle, 70, 35);
    EXPECT_EQ(pressed, 1);
    window.Clear();
}

TEST_F(Windows, LabelPaintsItsColoursOverTheBackground)
{
    HWND handle = Open("VorlaLib acceptance: label");
    ASSERT_NE(handle, nullptr);
    VLLabel label;
    label.SetBounds(10, 10, 120, 24);
    label.SetText("Label");
    label.SetBackgroundColor(0xFF3A5A8C);
    label.SetForegroundColor(0xFFFFFFFF);
    window.Add(&label);
    window.ShowWindow(1);
    Pump();
    EXPECT_EQ(Pixel(handle, 12, 12), RGB(0x3A, 0x5A, 0x8C));
    EXPECT_EQ(Pixel(handle, 128, 32), RGB(0x3A, 0x5A, 0x8C));
    EXPECT_EQ(Pixel(handle, 140, 40), RGB(0xD4, 0xD0, 0xC8));
    // Some of the label's pixels are its text.
    int text = 0;
    for (int y = 10; y < 34; ++y)
        for (int x = 10; x < 130; ++x)
            text += Pixel(handle, x, y) == RGB(0xFF, 0xFF, 0xFF);
    EXPECT_GT(text, 10);
    window.Clear();
}

TEST_F(Windows, SlotsRunOutAtSixteenAndAreGivenBack)
{
    std::vector<VLWindow> windows(16);
    int made = 0;
    for (VLWindow &each : windows)
        made += each.CreateNewWindow("VorlaLib acceptance: slot", 0, 0, 50, 50, 0) >= 0;
    EXPECT_EQ(made, 16);
    VLWindow extra;
    EXPECT_EQ(extra.CreateNewWindow("VorlaLib acceptance: one too many", 0, 0, 50, 50, 0), -1);
    windows[3].CloseWindow();
    Pump(50);
    EXPECT_EQ(extra.CreateNewWindow("VorlaLib acceptance: slot again", 0, 0, 50, 50, 0), 1003);
    extra.CloseWindow();
    for (VLWindow &each : windows)
        each.CloseWindow();
    Pump(50);
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Library);
    return RUN_ALL_TESTS();
}
