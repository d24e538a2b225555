// Labels and the skeleton every widget shares: placement, texts, colours, repainting, clearing.
#include "widgets_support.h"

#include <cstring>

namespace {

class LabelTest : public WidgetTest {
protected:
    VLLabel label, other;
};

TEST_F(LabelTest, AddedLabelsPaintAtTheirPlaceInAddingOrder)
{
    label.SetBounds(100, 50, 30, 20);
    label.SetBackgroundColor(0xFF0000FF);
    window.Add(&label);
    window.Add(&label); // a second Add changes nothing
    other.SetBounds(110, 60, 30, 20);
    other.SetBackgroundColor(0xFFFF0000);
    window.Add(&other);
    Repaint();
    EXPECT_EQ(Pixel(100, 50), 0x0000FFu);
    EXPECT_EQ(Pixel(130, 70), 0xFF0000u) << "the later widget paints over the earlier one";
    EXPECT_EQ(Pixel(105, 55), 0x0000FFu);
    EXPECT_EQ(Pixel(99, 50), 0xC0C0C0u);
    EXPECT_EQ(label.GetParentWindow(), &window);

    // Removed once, the label is gone although it was added twice; its picture stays until the
    // window repaints.
    window.RemoveAt(&label);
    EXPECT_EQ(Pixel(100, 50), 0x0000FFu);
    Repaint();
    EXPECT_EQ(Pixel(100, 50), 0xC0C0C0u);
    EXPECT_EQ(Pixel(120, 65), 0xFF0000u);

    // Moving a placed label moves where it draws.
    other.SetLocate(10, 10);
    Repaint();
    EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(120, 65), 0xC0C0C0u);
}

TEST_F(LabelTest, TextsAreRefusedWholeAndCopiedOutWithTheirTerminator)
{
    std::string longest(255, 'a'), tooLong(256, 'b');
    label.SetText(longest.c_str());
    char buffer[300];
    label.GetText(buffer, 299);
    EXPECT_EQ(std::string(buffer), longest);
    label.SetText(tooLong.c_str());
    label.GetText(buffer, 299);
    EXPECT_EQ(std::string(buffer), longest) << "a 256-byte text leaves the old one";
    label.SetText(nullptr);
    label.GetText(buffer, 299);
    EXPECT_EQ(std::string(buffer), longest);

    label.SetText("seven!!");
    std::memset(buffer, 'x', sizeof buffer);
    label.GetText(buffer, 5);
    EXPECT_EQ(std::string(buffer), "seven"); // five bytes and a terminator as the sixth
    label.SetText("abc");
    std::memset(buffer, 'x', sizeof buffer);
    label.GetText(buffer, 5);
    EXPECT_EQ(std::string(buffer), "abc");
    label.GetText(nullptr, 5);
    label.GetText(buffer, 0);
}

TEST_F(LabelTest, ClearReturnsEverythingToTheDefaults)
{
    label.SetBounds(5, 6, 70, 20);
    label.SetText("text");
    label.SetAlign(3);
    label.SetBackMode(0);
    label.SetForegroundColor(0xFF123456);
    label.SetVisible(0);
    window.Add(&label);
    label.Clear();
    char buffer[8] = "x";
    label.GetText(buffer, 7);
    EXPECT_STREQ(buffer, "");
    VLSTRect bounds{1, 1, 1, 1};
    label.GetBounds(&bounds);
    EXPECT_EQ(bounds.x + bounds.y + bounds.width + bounds.height, 0);
    EXPECT_EQ(label.GetParentWindow(), nullptr);
    EXPECT_EQ(label.GetAlign(), 1);
    EXPECT_EQ(label.GetBackMode(), 1);
    EXPECT_EQ(label.GetForegroundColor(), 0xFF000000u);
    EXPECT_EQ(label.IsVisible(), 1);

    // Re-creating the window clears the widgets that were in it.
    other.SetBounds(1, 2, 3, 4);
    other.SetText("kept?");
    window.Add(&other);
    window.CreateNewWindow("again", 0, 0, 100, 100, 0);
    other.GetText(buffer, 7);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(other.GetParentWindow(), nullptr);
}

TEST_F(LabelTest, RepaintDrawsOnlyAPlacedVisibleLabel)
{
    label.SetBounds(10, 10, 20, 10);
    label.SetBackgroundColor(0xFF00FF00);
    label.Repaint(); // not in a window yet
    EXPECT_EQ(Pixel(10, 10), 0xC0C0C0u);
    window.Add(&label);
    label.SetVisible(0);
    label.Repaint();
    EXPECT_EQ(Pixel(10, 10), 0xC0C0C0u);
    label.SetVisible(1);
    label.Repaint();
    EXPECT_EQ(Pixel(10, 10), 0x00FF00u);
    EXPECT_EQ(Pixel(30, 20), 0x00FF00u) << "the picture is width + 1 by height + 1";

    other.SetBounds(50, 10, 0, 10);
    other.SetBackgroundColor(0xFF00FF00);
    window.Add(&other);
    other.Repaint();
    EXPECT_EQ(Pixel(50, 10), 0xC0C0C0u) << "a label of width 0 draws nothing";
}

TEST_F(LabelTest, AlignmentBackModeAndTextPlacement)
{
    // Right-aligned text ends at the label's right edge; centred text wider than the label
    // starts at its left edge.
    label.SetBounds(0, 0, 100, 20);
    label.SetText("abcd"); // 24 pixels wide
    label.SetAlign(3);
    window.Add(&label);
    other.SetBounds(0, 30, 30, 20);
    other.SetText("abcdefghij"); // 60 pixels: wider than the label
    other.SetAlign(2);
    other.SetBackMode(0);
    window.Add(&other);
    Repaint();
    driver::Image image = Picture();
    int first = -1, last = -1;
    for (int x = 0; x <= 100; ++x)
        if (image.Count(0x000000, x, 0, x + 1, 21)) {
            if (first < 0)
                first = x;
            last = x;
        }
    EXPECT_GE(first, 100 - 24);
    EXPECT_LE(last, 100);
    EXPECT_GT(image.Count(0x000000, 0, 30, 3, 51), 0) << "starts at 0";
    EXPECT_EQ(image.Count(0xFFFFFF, 0, 30, 31, 51), 0) << "back mode 0 takes the window's grey";
    EXPECT_GT(image.Count(0xC0C0C0, 0, 30, 31, 51), 300);
    Matches("label_alignments");
}

} // namespace
