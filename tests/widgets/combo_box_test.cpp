// Combo boxes as a user and a caller meet them: the entries and their geometry, opening the list,
// hovering and committing with a change event only for a new selection, separators skipped by
// the pointer and the arrows, Enter and space, closing by deactivation, navigation or a press
// elsewhere, the looks, and callbacks that pull the box or the window away mid-event.
#include "widgets_support.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> events;
std::function<void(VLComboBox *)> onChange;
void Changed(VLComboBox *combo)
{
    events.push_back("change " + std::to_string(combo->GetListIndex()));
    if (onChange)
        onChange(combo);
}
std::function<void(VLComboBox *)> onFocus;
void Focused(VLComboBox *combo)
{
    events.push_back("focus");
    if (onFocus)
        onFocus(combo);
}
using Events = std::vector<std::string>;

constexpr uint32_t Navy = 0x000080u, White = 0xFFFFFFu, Grey = 0xC0C0C0u;

class ComboBoxTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        events.clear();
        onChange = nullptr;
        onFocus = nullptr;
    }
    void TearDown() override
    {
        onChange = nullptr;
        onFocus = nullptr;
        WidgetTest::TearDown();
    }
    // A 120 x 20 box at (10, 10) with alpha, beta, a separator, gamma and delta: the open list
    // covers (10, 32)-(130, 98), entry r in rows 34 + 12r .. 45 + 12r.
    void Place(VLComboBox &c)
    {
        c.SetBounds(10, 10, 120, 20);
        c.AddText("alpha");
        c.AddText("beta");
        c.AddSeparator();
        c.AddText("gamma");
        c.AddText("delta");
        c.AttachChangeEvent(Changed);
        c.AttachFocusEvent(Focused);
        window.Add(&c);
        Repaint();
    }
    static int RowY(int r) { return 34 + 12 * r + 6; }
    // Whether the open list shows entry r highlighted (its fill left of the text).
    bool Highlighted(int r) { return Pixel(12, RowY(r)) == Navy; }
    bool ListShown() { return Pixel(12, RowY(4)) != Grey; }
    VLComboBox combo;
};

TEST_F(ComboBoxTest, EntriesSelectionTextsAndTheListGeometry)
{
    char buffer[300];
    VLSTRect list;
    EXPECT_EQ(combo.GetListIndex(), -1);
    EXPECT_EQ(combo.GetText(buffer, 10), 0);
    EXPECT_EQ(combo.AddText(nullptr), 0);
    EXPECT_EQ(combo.AddText(std::string(255, 'x').c_str()), 0);
    EXPECT_EQ(combo.SetText(0, "a"), 0) << "no entries";
    EXPECT_EQ(combo.AddText("a"), 1);
    EXPECT_EQ(combo.GetListIndex(), 0) << "the first entry is selected";
    ASSERT_EQ(combo.GetText(buffer, 10), 1);
    EXPECT_EQ(std::string(buffer), "a");
    EXPECT_EQ(combo.AddText(std::string(254, 'y').c_str()), 1);
    EXPECT_EQ(combo.GetListText(1, buffer, 254), 0) << "the text needs max > its length";
    EXPECT_EQ(combo.GetListText(1, buffer, 255), 1);
    EXPECT_EQ(combo.GetListText(2, buffer, 255), 0);
    EXPECT_EQ(combo.GetListText(-1, buffer, 255), 0);
    EXPECT_EQ(combo.GetListText(0, nullptr, 255), 0);
    EXPECT_EQ(combo.SetText(1, "b"), 1);
    EXPECT_EQ(combo.SetText(2, "b"), 0);
    EXPECT_EQ(combo.SetText(1, std::string(255, 'z').c_str()), 0);
    EXPECT_EQ(combo.SelectListIndex(2), 0);
    EXPECT_EQ(combo.SelectListIndex(1), 1);
    EXPECT_EQ(combo.GetListIndex(), 1);
    EXPECT_EQ(combo.AttachChangeEvent(nullptr), 0);
    EXPECT_TRUE(events.empty()) << "selecting by program fires nothing";

    // With the 12-pixel font and five entries the list is 66 high, 2 below the box.
    EXPECT_EQ(combo.GetListBounds(&list), 0) << "no size yet";
    combo.SetBounds(5, 7, 100, 20);
    for (int i = 0; i < 3; ++i)
        combo.AddText("more");
    ASSERT_EQ(combo.GetListBounds(&list), 1);
    EXPECT_EQ(list.x, 5);
    EXPECT_EQ(list.y, 7 + 20 + 2);
    EXPECT_EQ(list.width, 100);
    EXPECT_EQ(list.height, 12 * 5 + 6);
    EXPECT_EQ(combo.GetListBounds(nullptr), 0);
    combo.SetBounds(5, 7, 0, 20);
    EXPECT_EQ(combo.GetListBounds(&list), 0) << "a zero size is stored and has no list";

    // A separator added first is the selection, with its marker as its text.
    VLComboBox other;
    EXPECT_EQ(other.AddSeparator(), 1);
    EXPECT_EQ(other.GetListIndex(), 0);
    ASSERT_EQ(other.GetText(buffer, 255), 1);
    EXPECT_EQ(std::string(buffer), "##&&xxVORLA_SEPARATORxx&&##");
    // Large sizes and positions do not wrap the list's bounds.
    other.SetBounds(INT_MAX - 5, INT_MAX - 5, 100, INT_MAX);
    ASSERT_EQ(other.GetListBounds(&list), 1);
    EXPECT_GT(list.y, 0);
}

TEST_F(ComboBoxTest, AClickOpensTheListHoverHighlightsAndAClickCommitsWithOneChangeEvent)
{
    Place(combo);
    driver::MoveTo(handle, 60, 20);
    driver::Press();
    EXPECT_EQ(events, Events{"focus"});
    EXPECT_TRUE(ListShown());
    EXPECT_TRUE(Highlighted(0)) << "the selected entry is highlighted";
    EXPECT_EQ(Pixel(125, 15), 0x808080u) << "the button is drawn pressed";
    driver::Release();
    EXPECT_EQ(Pixel(125, 15), Grey) << "the release lifts the button, the list stays";
    EXPECT_TRUE(ListShown());

    driver::MoveTo(handle, 60, RowY(3));
    EXPECT_TRUE(Highlighted(3));
    EXPECT_FALSE(Highlighted(0));
    EXPECT_EQ(combo.GetListIndex(), 0) << "hovering selects nothing yet";
    driver::Click(handle, 60, RowY(4));
    EXPECT_EQ(events, (Events{"focus", "change 4"}));
    EXPECT_FALSE(ListShown()) << "closed and repainted";
    char text[16];
    combo.GetText(text, 15);
    EXPECT_EQ(std::string(text), "delta");

    // Opening and committing the same entry again changes nothing.
    driver::Click(handle, 60, 20);
    driver::Click(handle, 60, RowY(4));
    EXPECT_EQ(events.size(), 2u);
    // A second press on the box closes the list and commits what was highlighted.
    driver::Click(handle, 60, 20);
    driver::MoveTo(handle, 60, RowY(1));
    driver::Click(handle, 60, 20);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(events.back(), "change 1");
}

TEST_F(ComboBoxTest, SeparatorsStandForTheirNeighbourUnderThePointerAndAreSteppedOverByArrows)
{
    Place(combo);
    driver::Click(handle, 60, 20);
    driver::MoveTo(handle, 60, RowY(2)); // the separator: the entry above it
    EXPECT_TRUE(Highlighted(1));
    driver::MoveTo(handle, 60, RowY(3));
    driver::MoveTo(handle, 60, RowY(2));
    EXPECT_TRUE(Highlighted(1));
    driver::Click(handle, 200, 150); // a press elsewhere commits the highlight
    EXPECT_EQ(combo.GetListIndex(), 1);
    EXPECT_FALSE(ListShown());

    // The arrows step over one separator; Up opens the list where it lands.
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(combo.GetListIndex(), 3);
    EXPECT_TRUE(ListShown());
    EXPECT_TRUE(Highlighted(3));
    driver::PressKey(VK_UP);
    EXPECT_EQ(combo.GetListIndex(), 1);
    driver::PressKey(VK_RIGHT);
    EXPECT_EQ(events, (Events{"focus", "change 1", "change 3", "change 1"})) << "Right shows, changes nothing";
    driver::PressKey(VK_RETURN);
    EXPECT_FALSE(ListShown());

    // A separator at the top: pointing at it highlights the entry below; Up from there stops.
    VLComboBox top;
    top.SetBounds(140, 10, 90, 20);
    top.AddSeparator();
    top.AddText("one");
    top.AddSeparator();
    top.AddSeparator();
    top.AddText("four");
    top.SelectListIndex(1);
    top.AttachChangeEvent(Changed);
    window.Add(&top);
    Repaint();
    events.clear();
    driver::Click(handle, 180, 20);
    driver::MoveTo(handle, 180, RowY(0));
    EXPECT_EQ(Pixel(142, RowY(1)), Navy);
    driver::PressKey(VK_UP);
    EXPECT_EQ(top.GetListIndex(), 1) << "nothing above the separator";
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(top.GetListIndex(), 3) << "only one step over: it lands on the second separator";
    driver::PressKey(VK_RETURN);
    EXPECT_EQ(events, Events{"change 3"});
    window.Clear();
}

TEST_F(ComboBoxTest, EnterAndSpaceOpenAndCommitAndTheListClosesOnDeactivationAndNavigation)
{
    VLPushButton button;
    button.SetBounds(150, 120, 60, 24);
    Place(combo);
    window.Add(&button);
    window.NextFocus();
    EXPECT_EQ(events, Events{"focus"});
    EXPECT_EQ(Pixel(10, 10), 0x0000FFu) << "the focus frame";
    driver::PressKey(VK_SPACE);
    EXPECT_TRUE(ListShown());
    driver::PressKey(VK_DOWN);
    driver::PressKey(VK_RETURN);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(events, (Events{"focus", "change 1"}));

    // Deactivation closes the list and takes the focus.
    driver::PressKey(VK_SPACE);
    ASSERT_TRUE(ListShown());
    VLWindow other;
    ASSERT_EQ(other.CreateNewWindow("other", 300, 20, 100, 60, 0), 1001);
    other.ShowWindow(1);
    driver::Pump();
    EXPECT_FALSE(ListShown());
    other.Clear();
    SetActiveWindow(handle);
    driver::Pump();
    driver::MoveTo(handle, 60, RowY(3));
    driver::Click(handle, 200, 150);
    EXPECT_EQ(combo.GetListIndex(), 1) << "no list was open to commit";

    // Navigation closes it too, without committing.
    window.NextFocus();
    driver::PressKey(VK_DOWN);
    ASSERT_TRUE(ListShown());
    EXPECT_EQ(combo.GetListIndex(), 3);
    driver::PressKey(VK_TAB);
    EXPECT_FALSE(ListShown());
    driver::MoveTo(handle, 60, RowY(0));
    driver::Click(handle, 180, 130);
    EXPECT_EQ(combo.GetListIndex(), 3);
    window.Clear();
}

TEST_F(ComboBoxTest, WhileTheListIsOpenOtherWidgetsTakeNoInputAndADisabledBoxNeverOpens)
{
    int pushes = 0;
    static int *counter = nullptr;
    counter = &pushes;
    VLPushButton button;
    button.SetBounds(150, 40, 60, 24);
    button.AttachSelectEvent([](VLPushButton *) { ++*counter; });
    Place(combo);
    window.Add(&button);
    driver::Click(handle, 60, 20);
    driver::MoveTo(handle, 60, RowY(1));
    driver::Click(handle, 170, 50); // closes and commits; the button does not see it
    EXPECT_EQ(pushes, 0);
    EXPECT_EQ(combo.GetListIndex(), 1);
    driver::Click(handle, 170, 50);
    EXPECT_EQ(pushes, 1);
    combo.SetEnable(0);
    Repaint();
    driver::Click(handle, 60, 20);
    EXPECT_FALSE(ListShown());
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(combo.GetListIndex(), 1);
    combo.SetEnable(1);
    combo.SetVisible(0);
    Repaint();
    driver::Click(handle, 60, 20);
    EXPECT_FALSE(ListShown());
    // An empty box opens nothing to commit.
    VLComboBox empty;
    empty.SetBounds(10, 120, 100, 20);
    empty.AttachChangeEvent(Changed);
    window.Add(&empty);
    driver::Click(handle, 50, 130);
    driver::PressKey(VK_RETURN);
    driver::PressKey(VK_DOWN);
    driver::Click(handle, 50, 130);
    EXPECT_EQ(empty.GetListIndex(), -1);
    EXPECT_EQ(events, (Events{"focus", "change 1"}));
    window.Clear();
}

TEST_F(ComboBoxTest, InAGroupTheListIsPaintedOverTheWindowBeyondTheGroup)
{
    VLGroup group;
    group.SetBounds(5, 5, 200, 40);
    group.SetMode(1);
    combo.SetBounds(10, 10, 120, 20);
    combo.AddText("one");
    combo.AddText("two");
    combo.AddText("three");
    combo.AttachChangeEvent(Changed);
    window.Add(&group);
    group.Add(&combo);
    Repaint();
    driver::Click(handle, 70, 25);
    EXPECT_EQ(Pixel(20, 5 + 10 + 20 + 2 + 2 + 12 + 6), White) << "the second entry, below the group";
    driver::MoveTo(handle, 70, 5 + 10 + 20 + 2 + 12 + 6);
    driver::Click(handle, 70, 5 + 10 + 20 + 2 + 12 + 6);
    EXPECT_EQ(events, Events{"change 1"});
    EXPECT_EQ(Pixel(20, 5 + 10 + 20 + 2 + 2 + 12 + 6), Grey);
    group.SetVisible(0);
    driver::Click(handle, 70, 25);
    EXPECT_EQ(Pixel(20, 5 + 10 + 20 + 2 + 2 + 12 + 6), Grey) << "a hidden group's box takes no press";
    window.Clear();
}

TEST_F(ComboBoxTest, CallbacksMayDeleteTheBoxOrClearTheWindowMidEvent)
{
    VLComboBox *owned = new VLComboBox;
    Place(*owned);
    onChange = [&](VLComboBox *c) {
        window.RemoveAt(c);
        delete c;
    };
    driver::Click(handle, 60, 20);
    driver::Click(handle, 60, RowY(3));
    EXPECT_EQ(events, (Events{"focus", "change 3"}));
    Repaint();
    EXPECT_EQ(Pixel(60, 20), Grey);

    // Deleted with its list open: the list goes with it.
    owned = new VLComboBox;
    Place(*owned);
    driver::Click(handle, 60, 20);
    window.RemoveAt(owned);
    delete owned;
    driver::MoveTo(handle, 60, RowY(1));
    driver::Click(handle, 60, RowY(1));
    EXPECT_FALSE(ListShown());

    // The focus callback clears the window on the opening press; a key's change does too.
    events.clear();
    Place(combo);
    onFocus = [&](VLComboBox *) { window.Clear(); };
    driver::Click(handle, 60, 20);
    EXPECT_EQ(events, Events{"focus"});
    EXPECT_EQ(window.GetWinID(), -1);
    ASSERT_EQ(window.CreateNewWindow("again", 20, 20, 240, 161, 0), 1000);
    window.ShowWindow(1);
    handle = GetActiveWindow();
    onFocus = nullptr;
    Place(combo);
    onChange = [&](VLComboBox *) { window.Clear(); };
    window.NextFocus();
    driver::PressKey(VK_DOWN); // nothing was highlighted yet: the first entry again, no change
    EXPECT_EQ(window.GetWinID(), 1000);
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(window.GetWinID(), -1);
    driver::Pump();
}

TEST_F(ComboBoxTest, LooksClosedFocusedDisabledAndOpenWithAHighlightAndASeparator)
{
    VLComboBox disabled, narrow, coloured;
    disabled.SetBounds(140, 10, 90, 22);
    disabled.AddText("disabled");
    disabled.SetEnable(0);
    narrow.SetBounds(140, 40, 24, 20); // too narrow for text
    narrow.AddText("hidden");
    coloured.SetBounds(140, 70, 90, 24);
    coloured.SetBackgroundColor(0xFFFFE0E0);
    coloured.SetForegroundColor(0xFF800000);
    coloured.AddText("\x93\xfa\x96\x7b\x8c\xea");
    window.Add(&disabled);
    window.Add(&narrow);
    window.Add(&coloured);
    combo.SetListSelectBackgroundColor(0xFF008000);
    Place(combo);
    driver::Click(handle, 60, 20);
    driver::MoveTo(handle, 60, RowY(3));
    EXPECT_TRUE(Matches("combo_box_open"));
    driver::Click(handle, 60, RowY(3));
    driver::MoveTo(handle, 200, 150);
    EXPECT_TRUE(Matches("combo_box_closed"));
    // A separator as the selection shows no text: its marker is not for the user.
    VLComboBox marked;
    marked.SetBounds(10, 120, 120, 20);
    marked.AddSeparator();
    marked.AddText("after");
    window.Add(&marked);
    Repaint();
    EXPECT_EQ(Picture().Count(0x000000, 12, 122, 110, 138), 0);
    marked.SelectListIndex(1);
    EXPECT_GT(Picture().Count(0x000000, 12, 122, 110, 138), 10);
    window.Clear();
}

} // namespace
