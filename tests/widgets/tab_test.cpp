// Tabs as a user meets them: clicking tabs, the select event, Tab and the arrow keys on the tab
// row, widgets on hidden pages that neither draw nor take input, and the pages' looks.
#include "widgets_support.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;
void OnSelect(VLTab *tab) { events.push_back("select " + std::to_string(tab->GetSelectTab())); }
void OnPush(VLPushButton *) { events.push_back("push"); }
void ClearWindowOnSelect(VLTab *tab) { tab->GetParentWindow()->Clear(); }
using Events = std::vector<std::string>;

class TabTest : public WidgetTest {
protected:
    // A tab of three pages at (5, 5), 230 x 150: "One" holds a push button, "Two" an edit box,
    // "Three" a check box. Page widgets lie at the tab's position plus (4, 20).
    void SetUp() override
    {
        WidgetTest::SetUp();
        events.clear();
        tab.SetBounds(5, 5, 230, 150);
        for (VLGroup *page : {&one, &two, &three})
            page->SetBounds(0, 0, 220, 124);
        ASSERT_EQ(tab.Add("One", &one), 1);
        ASSERT_EQ(tab.Add("Two", &two), 1);
        ASSERT_EQ(tab.Add("Three", &three), 1);
        push.SetBounds(10, 10, 80, 24);
        push.SetText("Push");
        push.SetHintText("on page one");
        push.AttachSelectEvent(OnPush);
        one.Add(&push);
        edit.SetBounds(10, 10, 100, 22);
        edit.SetText("page two");
        two.Add(&edit);
        check.SetBounds(10, 40, 100, 20);
        check.SetText("Three");
        three.Add(&check);
        tab.AttachSelectEvent(OnSelect);
        window.Add(&tab);
        Repaint();
    }
    void TearDown() override { window.Clear(); }
    // The left edge of tab i in the window: one past the black right edge of the tab before,
    // which is the only black on the row's bottom line.
    int TabLeft(int i)
    {
        driver::Image picture = Picture();
        int left = 5;
        for (int x = 5; x < 240 && i > 0; ++x)
            if (picture.At(x, 5 + 15) == 0x000000u) {
                left = x + 1;
                --i;
            }
        return left;
    }
    VLTab tab;
    VLGroup one, two, three;
    VLPushButton push;
    VLEditBox edit;
    VLCheckBox check;
};

TEST_F(TabTest, ClickingTabsSwitchesPagesAndOnlyTheShownPageDrawsAndTakesInput)
{
    EXPECT_TRUE(Matches("tab_page_one"));
    driver::Click(handle, 5 + 4 + 30, 5 + 20 + 20); // the push button on page one
    EXPECT_EQ(events, Events{"push"});
    driver::Click(handle, TabLeft(1) + 5, 10);
    EXPECT_EQ(tab.GetSelectTab(), 1);
    EXPECT_TRUE(Matches("tab_page_two"));
    // The push button's place is empty now: a click there does nothing.
    driver::Click(handle, 5 + 4 + 30, 5 + 20 + 20);
    EXPECT_EQ(events, (Events{"push", "select 1"}));
    // The selected tab again: no event, but the row takes the focus mark.
    driver::Click(handle, TabLeft(1) + 5, 10);
    EXPECT_EQ(events.size(), 2u);
    EXPECT_GE(Picture().Count(0x000000u, TabLeft(1) + 4, 7, TabLeft(2) - 6, 8), 4) << "the dotted focus frame";
    // The gap right of the last tab hits nothing.
    driver::Click(handle, TabLeft(3) + 10, 10);
    EXPECT_EQ(tab.GetSelectTab(), 1);
    // SelectTab redraws and fires only on a change.
    EXPECT_EQ(tab.SelectTab(2), 1);
    EXPECT_EQ(tab.SelectTab(2), 1);
    EXPECT_EQ(tab.SelectTab(3), 0);
    EXPECT_EQ(events, (Events{"push", "select 1", "select 2"}));
    EXPECT_TRUE(Matches("tab_page_three"));
    // Hints come from the shown page only.
    driver::MoveTo(handle, 5 + 4 + 30, 5 + 20 + 20);
    driver::Advance(1100);
    for (HWND w : driver::TopLevelWindows())
        EXPECT_FALSE(w != handle && driver::IsShown(w)) << "no hint from the hidden page's button";
}

TEST_F(TabTest, TabTakesTheRowThenThePageAndArrowsSwitchPagesUpToTheEnds)
{
    VLPushButton before;
    before.SetBounds(0, 0, 4, 4);
    window.Clear();
    ASSERT_EQ(window.CreateNewWindow("tabs", 20, 20, 240, 161, 0), 1000);
    window.ShowWindow(1);
    handle = GetActiveWindow();
    tab.Clear();
    ASSERT_EQ(tab.Add("One", &one), 0 + 1);
    tab.Add("Two", &two);
    tab.Add("Three", &three);
    tab.AttachSelectEvent(OnSelect);
    tab.SetBounds(5, 5, 230, 150);
    one.Add(&push);
    push.SetBounds(10, 10, 80, 24);
    push.AttachSelectEvent(OnPush);
    two.Add(&edit);
    edit.SetBounds(10, 10, 100, 22);
    window.Add(&before);
    window.Add(&tab);
    Repaint();
    window.NextFocus(); // the small button
    window.NextFocus(); // the tab row
    driver::PressKey(VK_SPACE);
    EXPECT_TRUE(events.empty()) << "the row holds the focus, not the page's button";
    driver::PressKey(VK_LEFT);
    EXPECT_EQ(tab.GetSelectTab(), 0) << "the left end: nothing happens";
    driver::PressKey(VK_RIGHT);
    driver::PressKey(VK_RIGHT);
    driver::PressKey(VK_RIGHT);
    EXPECT_EQ(tab.GetSelectTab(), 2);
    EXPECT_EQ(events, (Events{"select 1", "select 2"}));
    driver::PressKey(VK_LEFT);
    window.NextFocus(); // from the row into page two: its edit box
    driver::TypeText("!");
    char text[32] = {};
    edit.GetText(text, 31);
    EXPECT_STREQ(text, "!") << "the edit box took the focus with its text selected";
    driver::PressKey(VK_LEFT); // the edit box's caret, not the tab
    EXPECT_EQ(tab.GetSelectTab(), 1);
    window.Clear();
}

TEST_F(TabTest, RefusalsNamesColoursAndACallbackThatClearsTheWindow)
{
    VLGroup spare[13];
    for (VLGroup &page : spare)
        EXPECT_EQ(tab.Add("", &page), 1);
    EXPECT_EQ(tab.GetTabCount(), 16);
    VLGroup extra;
    EXPECT_EQ(tab.Add("x", &extra), 0) << "a seventeenth page";
    VLTab other;
    EXPECT_EQ(other.Add(nullptr, &extra), 0);
    EXPECT_EQ(other.Add("x", nullptr), 0);
    EXPECT_EQ(other.Add(std::string(64, 'n').c_str(), &extra), 0);
    EXPECT_EQ(other.SelectTab(0), 0) << "not in a window";
    // A tab on its own page, or a page holding its tab, is refused: nothing loops.
    VLGroup holder;
    holder.Add(&other);
    EXPECT_EQ(other.Add("self", &holder), 0);
    VLGroup inner;
    EXPECT_EQ(other.Add("inner", &inner), 1);
    inner.Add(&other);
    window.Add(&holder);
    Repaint();
    window.RemoveAt(&holder);
    other.Clear(); // its page goes before it
    char name[8] = {};
    EXPECT_EQ(tab.GetTabName(2, name, 5), 1);
    EXPECT_STREQ(name, "Three");
    EXPECT_EQ(tab.GetTabName(2, name, 4), 0);
    EXPECT_EQ(tab.GetTabName(16, name, 7), 0);
    // An empty name makes a 12-pixel tab: the fourth tab's black right edge lies 12 past its
    // left edge.
    Repaint();
    EXPECT_EQ(Pixel(TabLeft(3) + 12, 12), 0x000000u);
    // The page's widgets stand on the tab's body colour; the page's frame is never drawn.
    tab.SetBackgroundColor(0xFFE0F0FF);
    one.SetMode(1);
    VLPushButton late;
    late.SetBounds(10, 60, 80, 24);
    one.Add(&late);
    tab.SelectTab(0);
    Repaint();
    EXPECT_EQ(Pixel(5 + 4 + 1, 5 + 20 + 1), 0xE0F0FFu);
    EXPECT_EQ(Pixel(5 + 4 + 10 + 4, 5 + 20 + 60 + 4), 0xE0F0FFu) << "a new button's face follows the page's ground";
    // A select callback may clear the window under the click.
    tab.AttachSelectEvent(ClearWindowOnSelect);
    driver::Click(handle, TabLeft(1) + 5, 10);
    EXPECT_EQ(tab.GetParentWindow(), nullptr);
    EXPECT_EQ(tab.GetTabCount(), 0) << "the window's teardown cleared the tab and its pages";
}

} // namespace
