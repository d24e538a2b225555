// The colour dialog as a user meets it, acting inside its modal loop: the palette, the typed
// boxes, drags on the bars and the disc, both views, OK and Cancel, and where it opens next.
#include "widgets_support.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

using Step = std::function<void()>;

// Runs the steps one after another, each when the dialog's loop has nothing left to do.
void Chain(std::shared_ptr<std::vector<Step>> steps, size_t next = 0)
{
    if (next >= steps->size())
        return;
    driver::OnIdle([steps, next] {
        (*steps)[next]();
        Chain(steps, next + 1);
    });
}

uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }
uint32_t FromHSV(int h, int s, int v)
{
    const VLSTColor c = VLColor::HSVtoRGB(h, s, v);
    return Rgb(c.red, c.green, c.blue);
}

// Client points of the dialog.
constexpr int PreviewNowX = 370, PreviewStartX = 330, PreviewY = 28;
constexpr int RedRow = 60, GreenRow = 84, BlueRow = 108, HueRow = 140, SaturationRow = 164, ValueRow = 188;
constexpr int DiscX = 215, DiscY = 95; // the disc's centre

class ColourDialogTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        // Box texts are read by comparing with a box of the same kind showing the expected text.
        reference.SetBounds(10, 100, 40, 20);
        reference.SetEditMode(1);
        window.Add(&reference);
    }

    // Opens the dialog directly and plays the steps in it; the last one should close it.
    unsigned long Run(unsigned long colour, std::vector<Step> steps)
    {
        Chain(std::make_shared<std::vector<Step>>(std::move(steps)));
        return swatch.ColorDialog(colour);
    }
    static HWND Dialog() { return driver::ActiveWindow(); }
    static void Click(int x, int y) { driver::Click(Dialog(), x, y); }
    static driver::Image Look() { return driver::Snapshot(Dialog()); }
    // The view chosen last outlives the dialog: a click on its entry makes sure of one.
    static Step View(int mode) { return [mode] { Click(60, mode == 0 ? 30 : 70); }; }
    static Step Ok() { return [] { Click(232, 252); }; }
    static Step Cancel() { return [] { Click(342, 252); }; }
    // Empties the box at the row and types the text into it.
    static Step Type(int row, const char *text)
    {
        return [row, text] {
            Click(365, row + 10);
            driver::PressKey(VK_END);
            for (int i = 0; i < 3; ++i)
                driver::PressKey(VK_BACK);
            driver::TypeText(text);
        };
    }
    Step Keep(driver::Image &into)
    {
        return [&into] { into = Look(); };
    }

    // Whether the (unfocused) box at the row of a dialog picture shows the text.
    ::testing::AssertionResult Shows(const driver::Image &dialog, int row, const char *text)
    {
        reference.SetText(text);
        reference.Repaint();
        const driver::Image mine = Picture();
        for (int y = 0; y <= 20; ++y)
            for (int x = 0; x <= 40; ++x)
                if (mine.At(10 + x, 100 + y) != dialog.At(330 + x, row + y))
                    return ::testing::AssertionFailure() << "the box at row " << row << " does not show " << text;
        return ::testing::AssertionSuccess();
    }

    VLColor swatch;
    VLEditBox reference;
};

TEST_F(ColourDialogTest, CancelEscapeAndTheCloseBoxReturnTheStartingColourUntouchedAndOkMakesItOpaque)
{
    driver::Image opened;
    EXPECT_EQ(Run(0x00123456, {Keep(opened), Cancel()}), 0x00123456ul) << "top byte 0 included";
    EXPECT_TRUE(Shows(opened, RedRow, "18"));
    EXPECT_TRUE(Shows(opened, GreenRow, "52"));
    EXPECT_TRUE(Shows(opened, BlueRow, "86"));
    EXPECT_TRUE(Shows(opened, HueRow, "210"));
    EXPECT_TRUE(Shows(opened, SaturationRow, "79")) << "202 of 255 in percent";
    EXPECT_TRUE(Shows(opened, ValueRow, "33"));
    EXPECT_EQ(opened.At(PreviewStartX, PreviewY), 0x123456u);
    EXPECT_EQ(opened.At(PreviewNowX, PreviewY), 0x123456u);

    EXPECT_EQ(Run(0x00123456, {Ok()}), 0xFF123456ul);
    EXPECT_EQ(Run(0x80123456, {[] { driver::PressKey(VK_ESCAPE); }}), 0x80123456ul);
    EXPECT_EQ(Run(0x00ABCDEF, {[] { driver::ClickCloseBox(Dialog()); }}), 0x00ABCDEFul);
    // A change undone by a click on the starting half of the preview leaves the colour as it came.
    EXPECT_EQ(Run(0x00123456, {[] { Click(20, 150); }, [] { Click(PreviewStartX, PreviewY); }, Ok()}), 0xFF123456ul);
}

TEST_F(ColourDialogTest, PaletteClicksPickTheColourUnderThePointerAndEveryBoxFollows)
{
    driver::Image black, white, grey;
    const unsigned long result = Run(0xFF3080C0, {[] { Click(13, 145); }, Keep(black), [] { Click(107, 215); },
                                                  Keep(white), [] { Click(100, 150); }, Keep(grey), Ok()});
    EXPECT_EQ(result, 0xFF606060ul) << "row 0, column 7";
    EXPECT_EQ(black.At(PreviewNowX, PreviewY), 0x000000u);
    EXPECT_EQ(black.At(PreviewStartX, PreviewY), 0x3080C0u) << "the starting half stays";
    EXPECT_TRUE(Shows(black, RedRow, "0"));
    EXPECT_TRUE(Shows(black, ValueRow, "0"));
    EXPECT_EQ(white.At(PreviewNowX, PreviewY), 0xFFFFFFu);
    EXPECT_TRUE(Shows(white, BlueRow, "255"));
    EXPECT_TRUE(Shows(white, SaturationRow, "0"));
    EXPECT_TRUE(Shows(white, ValueRow, "100"));
    EXPECT_TRUE(Shows(grey, GreenRow, "96"));
    EXPECT_EQ(grey.At(PreviewNowX, PreviewY), 0x606060u);
}

TEST_F(ColourDialogTest, TypedNumbersAreClampedAndTheOtherModelsBoxesFollow)
{
    driver::Image typed;
    // 300 in the red box is red 255: hue 350, saturation 203 (79 %), value 255 (100 %).
    EXPECT_EQ(Run(0x00123456, {Type(RedRow, "300"), Keep(typed), Ok()}), 0xFFFF3456ul);
    EXPECT_TRUE(Shows(typed, HueRow, "350"));
    EXPECT_TRUE(Shows(typed, SaturationRow, "79"));
    EXPECT_TRUE(Shows(typed, ValueRow, "100"));
    EXPECT_TRUE(Shows(typed, GreenRow, "52")) << "the other channels are not rewritten";
    EXPECT_EQ(typed.At(PreviewNowX, PreviewY), 0xFF3456u);

    // Saturation 128 shows as 50 %; typing 50 stores 127, and the channels follow from HSV.
    driver::Image opened;
    EXPECT_EQ(Run(0x00C86496, {Keep(opened), Type(SaturationRow, "50"), Keep(typed), Ok()}), 0xFFC86597ul);
    EXPECT_TRUE(Shows(opened, SaturationRow, "50"));
    EXPECT_TRUE(Shows(typed, RedRow, "200"));
    EXPECT_TRUE(Shows(typed, GreenRow, "101"));
    EXPECT_TRUE(Shows(typed, BlueRow, "151"));
    EXPECT_TRUE(Shows(typed, HueRow, "330")) << "the hue box is not rewritten";

    // A hue past 359 is 359; a value past 100 % is 255.
    EXPECT_EQ(Run(0x00FF0000, {Type(HueRow, "999"), Type(ValueRow, "555"), Ok()}), 0xFF000000ul | FromHSV(359, 255, 255));
    // Letters cannot be typed; an emptied box counts as 0.
    EXPECT_EQ(Run(0x00123456, {Type(GreenRow, "x"), Ok()}), 0xFF120056ul);
}

TEST_F(ColourDialogTest, ADragStartedOnTheRedBarKeepsChangingRedOverTheGreenBarUntilTheRelease)
{
    driver::Image dragging;
    const unsigned long result = Run(
        0xFF000000, {View(0),
                     [] {
                         driver::MoveTo(Dialog(), 214, 70); // red 127
                         driver::Press();
                         driver::MoveTo(Dialog(), 200, 94); // over the green bar: red 102
                     },
                     Keep(dragging),
                     [] {
                         driver::MoveTo(Dialog(), 400, 94); // past the end: red 255
                         driver::Release();
                         driver::MoveTo(Dialog(), 150, 70); // no button: nothing
                     },
                     Ok()});
    EXPECT_EQ(dragging.At(PreviewNowX, PreviewY), Rgb(102, 0, 0));
    EXPECT_TRUE(Shows(dragging, RedRow, "102"));
    EXPECT_TRUE(Shows(dragging, GreenRow, "0"));
    EXPECT_EQ(result, 0xFFFF0000ul);

    // A click between the bars changes nothing; a drag off the blue bar's left end gives blue 0.
    EXPECT_EQ(Run(0xFF0000FF, {View(0), [] { Click(200, 81); },
                                [] { driver::Drag(Dialog(), 150, 115, 100, 115); }, Ok()}),
              0xFF000000ul);
}

TEST_F(ColourDialogTest, TheDiscGivesHueAndSaturationFromItsCentreAndTheValueBarTheValue)
{
    driver::Image beside, centre, right, above, value;
    const unsigned long result = Run(
        0xFFFF8000, {View(1),
                     [] { Click(290, 95); }, Keep(beside), // just right of the picker: nothing starts
                     [] { Click(DiscX, DiscY); }, Keep(centre),
                     [] {
                         driver::MoveTo(Dialog(), DiscX + 10, DiscY);
                         driver::Press();
                     },
                     Keep(right),
                     [] {
                         driver::MoveTo(Dialog(), DiscX, DiscY - 10);
                         driver::Release();
                     },
                     Keep(above), Ok()});
    EXPECT_EQ(beside.At(PreviewNowX, PreviewY), 0xFF8000u) << "the colour did not move off its channels";
    EXPECT_TRUE(Shows(centre, HueRow, "269"));
    EXPECT_TRUE(Shows(centre, SaturationRow, "0"));
    EXPECT_EQ(centre.At(PreviewNowX, PreviewY), 0xFFFFFFu);
    EXPECT_TRUE(Shows(right, HueRow, "0"));
    EXPECT_TRUE(Shows(right, SaturationRow, "13")) << "34 of 255";
    EXPECT_EQ(right.At(PreviewNowX, PreviewY), FromHSV(0, 34, 255));
    EXPECT_TRUE(Shows(above, HueRow, "90"));
    EXPECT_EQ(result, 0xFF000000ul | FromHSV(90, 34, 255));

    // The value bar: half way along is 127; dragged past its end, 255 and no more.
    EXPECT_EQ(Run(0xFFFF0000, {View(1), [] { Click(214, 198); }, Keep(value), Ok()}), 0xFF000000ul | FromHSV(0, 255, 127));
    EXPECT_TRUE(Shows(value, ValueRow, "49"));
    EXPECT_EQ(Run(0xFFFF0000, {View(1), [] { driver::Drag(Dialog(), 214, 198, 500, 20); }, Ok()}), 0xFFFF0101ul);
}

TEST_F(ColourDialogTest, DiscPixelsCarryTheHueOfTheirDirectionAndTheSaturationOfTheirDistance)
{
    driver::Image disc;
    Run(0xFFFFFFFF, {View(1), Keep(disc), Cancel()});
    const int s = 10 * 255 / 75; // ten pixels out
    EXPECT_EQ(disc.At(DiscX + 10, DiscY), FromHSV(0, s, 255)) << "right";
    EXPECT_EQ(disc.At(DiscX, DiscY - 10), FromHSV(90, s, 255)) << "above";
    EXPECT_EQ(disc.At(DiscX - 10, DiscY), FromHSV(180, s, 255)) << "left";
    EXPECT_EQ(disc.At(DiscX, DiscY + 10), FromHSV(269, s, 255)) << "below";
    EXPECT_EQ(disc.At(DiscX + 74, DiscY), FromHSV(0, 251, 255)) << "the rim";
    EXPECT_EQ(disc.At(DiscX - 75, DiscY - 75), 0xC0C0C0u) << "outside the disc";
}

TEST_F(ColourDialogTest, TheNextOpeningComesWhereTheDialogWasMovedInTheViewChosenLast)
{
    RECT first = {0, 0, 0, 0};
    Run(0xFF000000, {View(1), [&] {
                         GetWindowRect(Dialog(), &first);
                         MoveWindow(Dialog(), first.left + 37, first.top + 21, first.right - first.left,
                                    first.bottom - first.top, TRUE);
                     },
                     Cancel()});
    RECT second = {0, 0, 0, 0};
    driver::Image opened;
    Run(0xFF000000, {[&] { GetWindowRect(Dialog(), &second); }, Keep(opened), View(0), Cancel()});
    EXPECT_EQ(second.left, first.left + 37);
    EXPECT_EQ(second.top, first.top + 21);
    EXPECT_EQ(opened.At(110, 60), 0xC0C0F0u) << "the HSV entry is the marked one";
    EXPECT_EQ(opened.At(110, 30), 0xC0C0C0u);
}

TEST_F(ColourDialogTest, OneDialogAtATimeAndNoneWithoutAFreeWindowSlot)
{
    unsigned long nested = 1;
    EXPECT_EQ(Run(0xFF112233, {[&] {
                                   VLColor other;
                                   nested = other.ColorDialog(0xFF445566);
                               },
                               Ok()}),
              0xFF112233ul);
    EXPECT_EQ(nested, 0ul);

    std::vector<std::unique_ptr<VLWindow>> others;
    for (int i = 1; i < 16; ++i) {
        others.push_back(std::make_unique<VLWindow>());
        ASSERT_EQ(others.back()->CreateNewWindow("full", 0, 0, 10, 10, 0), 1000 + i);
    }
    EXPECT_EQ(swatch.ColorDialog(0xFF112233), 0ul);
}

TEST_F(ColourDialogTest, ViewsMatchTheirPictures)
{
    driver::Image rgb, hsv;
    Run(0xFF3080C0, {View(0), [] { Click(88, 186); }, Keep(rgb), View(1), Keep(hsv), Cancel()});
    std::string message;
    EXPECT_TRUE(driver::MatchesGolden(rgb, "colour_dialog_rgb", &message)) << message;
    EXPECT_TRUE(driver::MatchesGolden(hsv, "colour_dialog_hsv", &message)) << message;
}

} // namespace
