// The colour swatch: its picture, the click that opens the colour dialog and takes its answer,
// in a window and in a group, and callbacks that pull the swatch or its window away meanwhile.
#include "widgets_support.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

int changes = 0;
VLColor *changed = nullptr;
void OnChange(VLColor *swatch)
{
    ++changes;
    changed = swatch;
}

// What the user does once the dialog is up, and whether it came up at all.
bool dialogShown = false;
void Answer(bool ok, int paletteX = 100, int paletteY = 150)
{
    dialogShown = false;
    driver::OnIdle([=] {
        dialogShown = true;
        HWND dialog = driver::ActiveWindow();
        driver::Click(dialog, paletteX, paletteY);
        driver::OnIdle([=] { driver::Click(dialog, ok ? 232 : 342, 252); });
    });
}

// Hostile callbacks: the swatch leaves its window and goes, or the window is cleared.
VLWindow *hostWindow = nullptr;
void DeleteOnChange(VLColor *swatch)
{
    ++changes;
    hostWindow->RemoveAt(swatch);
    delete swatch;
}
void ClearWindowOnChange(VLColor *)
{
    ++changes;
    hostWindow->Clear();
}

class ColourSwatchTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        changes = 0;
        changed = nullptr;
        hostWindow = &window;
    }
    void Place(VLColor &s, int x, int y)
    {
        s.SetBounds(x, y, 40, 30);
        s.AttachChangeEvent(OnChange);
        window.Add(&s);
        Repaint();
    }
    VLColor swatch;
};

TEST_F(ColourSwatchTest, FillsAndFramesBothCornersInclusiveAndDrawsNothingHiddenOrCleared)
{
    swatch.SetColorRGB(0x12, 0x34, 0x56);
    swatch.SetBounds(5, 5, 20, 10);
    window.Add(&swatch);
    Repaint();
    const driver::Image picture = Picture();
    EXPECT_EQ(picture.Count(0x123456, 6, 6, 25, 15), 19 * 9) << "the inside";
    EXPECT_EQ(picture.Count(0x000000, 5, 5, 26, 16), 2 * 21 + 2 * 9) << "the frame on both corners";
    EXPECT_EQ(picture.At(26, 16), 0xC0C0C0u);
    EXPECT_EQ(picture.At(26, 10), 0xC0C0C0u);

    // The colour shows at the next drawing; a hidden swatch is not drawn.
    swatch.SetColorHSV(120, 255, 255);
    swatch.Repaint();
    EXPECT_EQ(Pixel(15, 10), 0x01FF01u);
    swatch.SetVisible(0);
    Repaint();
    EXPECT_EQ(Pixel(15, 10), 0xC0C0C0u);
    swatch.SetVisible(1);
    swatch.SetHintText("hint");
    swatch.AttachChangeEvent(OnChange);
    swatch.Clear();
    Repaint();
    EXPECT_EQ(Pixel(5, 5), 0xC0C0C0u) << "cleared: no size and no window until placed again";
    VLSTRect bounds = {1, 1, 1, 1};
    swatch.GetBounds(&bounds);
    EXPECT_EQ(bounds.width, 0);
    EXPECT_EQ(swatch.GetRedValue(), 0);
    EXPECT_EQ(swatch.GetParentWindow(), nullptr);
    EXPECT_EQ(swatch.AttachChangeEvent(nullptr), 0);
}

TEST_F(ColourSwatchTest, AClickOpensTheDialogWithItsColourAndTakesThePickedOneWithOneChangeEvent)
{
    swatch.SetColorRGB(0x12, 0x34, 0x56);
    Place(swatch, 10, 10);
    Answer(true); // row 0, column 7 of the palette
    driver::Click(handle, 20, 20);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changed, &swatch);
    EXPECT_EQ(swatch.GetColorRGB().red, 0x60);
    EXPECT_EQ(Pixel(30, 25), 0x606060u) << "repainted at once";
    EXPECT_EQ(driver::ActiveWindow(), handle);

    // Cancelled, or OK on the same colour: no change event.
    Answer(false, 13, 145);
    driver::Click(handle, 20, 20);
    Answer(true, 100, 150);
    driver::Click(handle, 20, 20);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Pixel(30, 25), 0x606060u);
}

TEST_F(ColourSwatchTest, OnlyPressesInsideAnEnabledSwatchShownInAShownContainerOpenTheDialog)
{
    VLColor inGroup; // outlives the group, which clears it when it goes
    VLGroup group;
    group.SetBounds(60, 60, 120, 80);
    inGroup.SetBounds(10, 10, 40, 30);
    group.Add(&inGroup);
    window.Add(&group);
    Place(swatch, 10, 10);
    Answer(true);
    driver::Click(handle, 50, 25); // the right edge
    driver::Click(handle, 30, 40); // the bottom edge
    driver::Click(handle, 30, 25, driver::Button::Right);
    EXPECT_TRUE(dialogShown) << "either button opens it";
    EXPECT_EQ(changes, 1);
    Answer(true);
    driver::Click(handle, 109, 99);
    EXPECT_TRUE(dialogShown) << "in a group";
    EXPECT_EQ(Pixel(100, 90), 0x606060u);
    swatch.SetEnable(0);
    group.SetVisible(0);
    Answer(true, 13, 145);
    driver::Click(handle, 20, 20);
    driver::Click(handle, 100, 90);
    EXPECT_FALSE(dialogShown);
    driver::OnIdle([] {}); // the unused answer goes
    driver::Pump();
    window.RemoveAt(&group);
}

TEST_F(ColourSwatchTest, TheHintWorksAgainAfterTheDialogTookTheRelease)
{
    swatch.SetHintText("colour");
    Place(swatch, 10, 10);
    Answer(false);
    driver::Click(handle, 20, 20);
    ASSERT_TRUE(dialogShown);
    driver::MoveTo(handle, 25, 25);
    driver::Advance(1100);
    const std::vector<HWND> tops = driver::TopLevelWindows();
    EXPECT_TRUE(std::any_of(tops.begin(), tops.end(), [](HWND top) {
        char name[64] = "";
        GetClassNameA(top, name, sizeof name);
        return std::string(name) == "VorlaToolHintClass" && driver::IsShown(top);
    })) << "no button is held down any more";
}

TEST_F(ColourSwatchTest, NoDialogWithoutAFreeWindowSlotLeavesTheColourAsItWas)
{
    swatch.SetColorRGB(0x12, 0x34, 0x56);
    Place(swatch, 10, 10);
    std::vector<std::unique_ptr<VLWindow>> others;
    for (int i = 1; i < 16; ++i) {
        others.push_back(std::make_unique<VLWindow>());
        ASSERT_EQ(others.back()->CreateNewWindow("full", 300, 300, 10, 10, 0), 1000 + i);
    }
    driver::Click(handle, 20, 20);
    EXPECT_EQ(swatch.GetColorRGB().red, 0x12);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Pixel(30, 25), 0x123456u);
}

TEST_F(ColourSwatchTest, CallbacksMayDeleteTheSwatchOrClearItsWindowDuringOrAfterTheDialog)
{
    // The change callback deletes the swatch.
    VLColor *doomed = new VLColor;
    doomed->SetBounds(10, 10, 40, 30);
    doomed->AttachChangeEvent(DeleteOnChange);
    window.Add(doomed);
    Repaint();
    Answer(true);
    driver::Click(handle, 20, 20);
    EXPECT_EQ(changes, 1);

    // The change callback clears the window.
    swatch.SetBounds(10, 10, 40, 30);
    swatch.AttachChangeEvent(ClearWindowOnChange);
    window.Add(&swatch);
    Repaint();
    Answer(true);
    driver::Click(handle, 20, 20);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(window.GetWinID(), -1);

    // Application code that runs while the dialog is open (another window's callbacks) clears
    // the swatch's window, or deletes the swatch: OK then changes nothing anywhere.
    auto again = [&](VLColor &s) {
        ASSERT_EQ(window.CreateNewWindow("again", 20, 20, 240, 161, 0), 1000);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        Place(s, 10, 10);
    };
    again(swatch);
    driver::OnIdle([&] {
        HWND dialog = driver::ActiveWindow();
        window.Clear();
        driver::Click(dialog, 100, 150);
        driver::OnIdle([dialog] { driver::Click(dialog, 232, 252); });
    });
    driver::Click(handle, 20, 20);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(swatch.GetRedValue(), 0);

    doomed = new VLColor;
    again(*doomed);
    driver::OnIdle([&] {
        HWND dialog = driver::ActiveWindow();
        window.RemoveAt(doomed);
        delete doomed;
        driver::Click(dialog, 100, 150);
        driver::OnIdle([dialog] { driver::Click(dialog, 232, 252); });
    });
    driver::Click(handle, 20, 20);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Pixel(30, 25), 0x000000u) << "its old picture, not the picked colour";
}

} // namespace
