// Scroll areas: the sunken frame's pixels, the content size kept for the application, and the
// kept widgets that take part in focus navigation and the arrow keys and are cleared with the area.
#include "widgets_support.h"

#include <string>
#include <vector>

namespace {

using ScrollAreaTest = WidgetTest;
std::vector<std::string> pushed;
void OnPush(VLPushButton *button)
{
    char text[16] = {};
    button->GetText(text, 15);
    pushed.push_back(text);
}

TEST_F(ScrollAreaTest, FrameAndInteriorPixels)
{
    VLScrollArea area;
    area.SetBounds(10, 10, 100, 50);
    area.SetBackgroundColor(0xFFFFE0C0);
    area.SetScrollSize(400, 300);
    window.Add(&area);
    Repaint();
    VLSTSize content = {};
    area.GetScrollSize(&content);
    EXPECT_EQ(content.width, 400);
    EXPECT_EQ(content.height, 300);
    driver::Image picture = Picture();
    EXPECT_EQ(picture.At(9, 9), 0x505050u) << "the dark outer edge, top-left";
    EXPECT_EQ(picture.At(111, 61), 0xFFFFFFu) << "the light outer edge, bottom-right";
    EXPECT_EQ(picture.At(10, 10), 0x000000u);
    EXPECT_EQ(picture.At(110, 60), 0x000000u);
    EXPECT_EQ(picture.Count(0xFFE0C0u, 11, 11, 109, 59), 98 * 48) << "the interior, (11, 11) to (108, 58)";
    EXPECT_EQ(picture.At(109, 30), 0xC0C0C0u) << "the column inside the frame is not the area's";
    EXPECT_EQ(picture.At(50, 59), 0xC0C0C0u);
    window.Clear();
}

TEST_F(ScrollAreaTest, KeptWidgetsTakeTheFocusAndArrowsAndAreClearedWithTheArea)
{
    VLScrollArea area;
    VLPushButton before, inside;
    VLSpinEditBox number;
    before.SetBounds(10, 100, 60, 20);
    area.SetBounds(10, 10, 100, 50);
    inside.SetBounds(5, 5, 40, 20);
    number.SetBounds(5, 30, 80, 20);
    window.Add(&before);
    window.Add(&area);
    area.Add(&inside);
    area.Add(&number);
    Repaint();
    EXPECT_EQ(inside.GetParentWindow(), nullptr) << "kept, not placed";
    window.NextFocus(); // the push button before the area
    window.NextFocus(); // the first widget in the area
    window.NextFocus(); // the spin edit box
    driver::PressKey(VK_UP);
    driver::PressKey(VK_UP);
    EXPECT_EQ(number.GetValue(), 2) << "the arrow keys reach the focused box";
    window.AllFocusClear();
    driver::PressKey(VK_UP);
    EXPECT_EQ(number.GetValue(), 2);
    // Clearing the area returns its widgets to their constructed state.
    inside.SetText("kept");
    area.Clear();
    char text[8] = {};
    inside.GetText(text, 7);
    EXPECT_STREQ(text, "");
    window.Clear();
}

// A scrolling area of 120 x 80 at (10, 10) over ten buttons, 30 pixels apart and wider than the
// view: its view is 102 x 62 from (11, 11), with a bar right (columns 113 to 128) and below (rows
// 73 to 88).
class ScrollingTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        pushed.clear();
        area.SetBounds(10, 10, 120, 80);
        area.SetScrollSize(200, 300);
        area.SetScrolling(1);
        for (int i = 0; i < 10; ++i) {
            buttons[i].SetBounds(4, 4 + 30 * i, 150, 24);
            buttons[i].SetText(("b" + std::to_string(i)).c_str());
            buttons[i].AttachSelectEvent(OnPush);
            area.Add(&buttons[i]);
        }
        window.Add(&first);
        first.SetBounds(150, 10, 60, 20);
        window.Add(&area);
        Repaint();
    }
    void TearDown() override { window.Clear(); }
    VLSTPosition Position()
    {
        VLSTPosition p = {};
        area.GetScrollPosition(&p);
        return p;
    }
    VLScrollArea area;
    VLPushButton buttons[10], first;
};

TEST_F(ScrollingTest, BarsAndTheWheelScrollAndClicksLandOnTheScrolledWidget)
{
    driver::Click(handle, 20, 20);
    EXPECT_EQ(pushed, std::vector<std::string>{"b0"});
    // The down arrow of the vertical bar, at the bottom of the view's right edge.
    driver::Click(handle, 121, 65);
    EXPECT_EQ(Position().y, 16);
    driver::MoveTo(handle, 60, 40);
    driver::Wheel(-1);
    EXPECT_EQ(Position().y, 16 + 48);
    driver::Wheel(5);
    EXPECT_EQ(Position().y, 0) << "kept within the content";
    // A held arrow repeats from the fifth tick, on the clock, until it is let go.
    driver::MoveTo(handle, 121, 65);
    driver::Press();
    driver::Advance(450);
    EXPECT_EQ(Position().y, 16);
    driver::Advance(300);
    EXPECT_EQ(Position().y, 16 * 4);
    driver::Release();
    driver::Advance(500);
    EXPECT_EQ(Position().y, 16 * 4);
    area.SetScrollPosition(0, 0);
    // Paging on the track below the thumb, then the thumb dragged to the end.
    driver::Click(handle, 121, 50);
    EXPECT_EQ(Position().y, 62) << "a page is the view's height";
    driver::Drag(handle, 121, 36, 121, 200);
    EXPECT_EQ(Position().y, 300 - 62) << "the furthest the content goes";
    driver::Click(handle, 105, 80); // the horizontal bar's right arrow
    EXPECT_EQ(Position().x, 16);
    // The last button now lies at the view's top: a click there is its.
    pushed.clear();
    driver::Click(handle, 20, 11 + (4 + 270 - 238) + 10);
    EXPECT_EQ(pushed, std::vector<std::string>{"b9"});
    // Below the view nothing of the buttons is drawn or clicked.
    EXPECT_EQ(Pixel(60, 95), 0xC0C0C0u);
    driver::Click(handle, 60, 95);
    EXPECT_EQ(pushed.size(), 1u);
    EXPECT_TRUE(Matches("scroll_area_scrolled"));
}

TEST_F(ScrollingTest, FocusNavigationBringsTheFocusedWidgetIntoViewAndOffRestoresTheDefault)
{
    window.NextFocus(); // the button outside the area
    for (int i = 0; i < 6; ++i)
        window.NextFocus();
    EXPECT_EQ(Position().y, 4 + 30 * 5 + 24 - 62) << "b5 just fits at the view's bottom";
    driver::PressKey(VK_SPACE);
    EXPECT_EQ(pushed, std::vector<std::string>{"b5"});
    area.SetScrolling(0);
    EXPECT_EQ(buttons[0].GetParentWindow(), nullptr) << "kept again, not placed";
    pushed.clear();
    driver::Click(handle, 20, 20);
    EXPECT_TRUE(pushed.empty());
}

TEST_F(ScrollAreaTest, APageOfATabInAScrollingAreaRepaintsOnlyInsideTheView)
{
    VLScrollArea area;
    VLTab tab;
    VLGroup page;
    VLPushButton button;
    area.SetBounds(10, 10, 100, 60);
    area.SetScrollSize(98, 200);
    area.SetScrolling(1);
    tab.SetBounds(0, 0, 80, 150);
    page.SetBounds(0, 0, 70, 120);
    button.SetBounds(4, 40, 60, 40); // at window rows 71 to 111: mostly below the view
    tab.Add("page", &page);
    page.Add(&button);
    area.Add(&tab);
    window.Add(&area);
    Repaint();
    button.SetBackgroundColor(0xFF00FF00);
    button.Repaint();
    EXPECT_EQ(Picture().Count(0x00FF00u, 0, 72, 240, 161), 0) << "nothing below the view";
    area.SetScrollPosition(0, 30); // the button comes into view
    EXPECT_GT(Picture().Count(0x00FF00u, 0, 0, 240, 72), 0);
    window.Clear();
}

// A widget's callback may remove and delete the area it lies in, mid-route.
VLScrollArea *doomed = nullptr;
void DeleteArea(VLPushButton *button)
{
    button->GetParentWindow()->RemoveAt(doomed);
    delete doomed;
    doomed = nullptr;
}

TEST_F(ScrollAreaTest, ACallbackMayDeleteTheScrollingAreaUnderTheClick)
{
    VLPushButton inside, after;
    doomed = new VLScrollArea;
    doomed->SetBounds(10, 10, 100, 60);
    doomed->SetScrollSize(100, 200);
    doomed->SetScrolling(1);
    inside.SetBounds(4, 4, 60, 24);
    inside.AttachSelectEvent(DeleteArea);
    after.SetBounds(4, 40, 60, 24);
    doomed->Add(&inside);
    doomed->Add(&after);
    window.Add(doomed);
    Repaint();
    driver::Click(handle, 30, 20);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(inside.GetParentWindow(), nullptr) << "the area cleared its widgets as it went";
    driver::MoveTo(handle, 30, 30);
    driver::Wheel(-1);
    Repaint();
    window.Clear();
}

// A widget in a group in the area takes the focus by Tab, and its callback deletes the area.
VLWindow *host = nullptr;
void DeleteAreaOnFocus(VLEditBox *)
{
    host->RemoveAt(doomed);
    delete doomed;
    doomed = nullptr;
}

TEST_F(ScrollAreaTest, AFocusCallbackInAGroupMayDeleteTheScrollingArea)
{
    VLGroup group;
    VLEditBox edit;
    host = &window;
    doomed = new VLScrollArea;
    doomed->SetBounds(10, 10, 100, 60);
    doomed->SetScrollSize(100, 300);
    doomed->SetScrolling(1);
    group.SetBounds(0, 200, 90, 60);
    edit.SetBounds(4, 20, 60, 20);
    edit.AttachFocusEvent(DeleteAreaOnFocus);
    group.Add(&edit);
    doomed->Add(&group);
    window.Add(doomed);
    Repaint();
    window.NextFocus();
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(group.GetParentWindow(), nullptr) << "the area cleared what it held as it went";
    window.Clear();
}

} // namespace
