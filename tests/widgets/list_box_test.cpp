// List boxes as a user and a caller meet them: the item store and its selection, clicks and drags
// in single and multiple selection, the scroll bar (buttons held on the clock, paging, the thumb),
// drag scrolling past the edges, Up and Down, the looks, and callbacks that pull the list away.
#include "widgets_support.h"

#include "bmp_bytes.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<int> selections; // the first selected item at each select event
std::function<void(VLListBox *)> onSelect;
void Selected(VLListBox *list)
{
    selections.push_back(list->GetListIndex());
    if (onSelect)
        onSelect(list);
}

constexpr uint32_t Navy = 0x000080u, White = 0xFFFFFFu;

class ListBoxTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        selections.clear();
        onSelect = nullptr;
    }
    void TearDown() override
    {
        onSelect = nullptr;
        WidgetTest::TearDown();
    }
    // A 150 x 134 list at (10, 10): rows of 13 pixels from y 13, ten of them; the scroll bar's
    // columns are 143..159, its up button ends at row 27 and its down button starts at row 127.
    void Place(VLListBox &l, int items, int mode = 0x12)
    {
        l.SetBounds(10, 10, 150, 134);
        l.SetMode(mode);
        for (int i = 0; i < items; ++i)
            ASSERT_EQ(l.AddText(("item " + std::to_string(i)).c_str()), 1);
        l.AttachSelectEvent(Selected);
        window.Add(&l);
        Repaint();
    }
    // The middle of the row that shows position r of the list.
    static int RowY(int r) { return 10 + 3 + r * 13 + 6; }
    // Whether the row at position r is drawn selected (its fill left of the text).
    bool RowSelected(int r) { return Pixel(14, RowY(r)) == Navy; }
    std::vector<int> Selection(VLListBox &l)
    {
        std::vector<int> out;
        for (int i = 0; i < l.GetListSize(); ++i)
            if (l.IsSelected(i))
                out.push_back(i);
        return out;
    }
    VLListBox list;
};

TEST_F(ListBoxTest, TheStoreRefusesWhatDoesNotFitAndKeepsItsSelectionThroughRemovals)
{
    char buffer[300];
    EXPECT_EQ(list.AddText(nullptr), 0);
    EXPECT_EQ(list.GetListText(0, buffer, 10), 0) << "no items";
    EXPECT_EQ(list.RemoveAllText(), 0) << "no array yet";
    EXPECT_EQ(list.SelectListClear(), 0);
    const std::string longest(254, 'x');
    EXPECT_EQ(list.AddText(longest.c_str()), 1);
    EXPECT_EQ(list.AddText(std::string(255, 'y').c_str()), 0) << "refused whole, not cut";
    EXPECT_EQ(list.GetListSize(), 1);
    EXPECT_EQ(list.GetListText(0, buffer, 254), 0) << "the text needs max > its length";
    EXPECT_EQ(list.GetListText(0, buffer, 255), 1);
    EXPECT_EQ(std::string(buffer), longest);
    EXPECT_EQ(list.SetText(0, std::string(255, 'z').c_str()), 0);
    EXPECT_EQ(list.SetText(1, "b"), 0);
    EXPECT_EQ(list.SetText(-1, "b"), 0);
    EXPECT_EQ(list.SetIcon(1, nullptr), 0);
    EXPECT_EQ(list.AddText("b", nullptr), 1);
    EXPECT_EQ(list.AddText("abcde"), 1);
    EXPECT_EQ(list.GetListText(2, buffer, 5), 0) << "five characters do not fit in max 5";
    EXPECT_EQ(list.GetListText(2, nullptr, 50), 0);
    EXPECT_EQ(list.GetListText(INT_MIN, buffer, 50), 0);

    // Single selection: selecting one drops the others; other states are stored as given.
    for (const char *t : {"c", "d", "e"})
        list.AddText(t);
    EXPECT_EQ(list.GetListIndex(), -1);
    EXPECT_EQ(list.SelectListIndex(4, 1), 1);
    EXPECT_EQ(list.SelectListIndex(2, 1), 1);
    EXPECT_EQ(Selection(list), std::vector<int>{2});
    EXPECT_EQ(list.SelectListIndex(5, 7), 1) << "a state other than 1 keeps the others";
    EXPECT_EQ(list.IsSelected(5), 7);
    EXPECT_EQ(list.GetListSelectCount(), 2);
    EXPECT_EQ(list.SelectListIndex(6, 1), 0);
    EXPECT_EQ(list.SelectListAll(), 0) << "single selection";
    EXPECT_EQ(list.IsSelected(99), 0);
    EXPECT_EQ(list.IsSelected(-1), 0);

    // Removing items before and between the selected ones moves the selection with them.
    EXPECT_EQ(list.RemoveText(0), 1);
    EXPECT_EQ(Selection(list), (std::vector<int>{1, 4}));
    EXPECT_EQ(list.RemoveText(1), 1);
    EXPECT_EQ(Selection(list), std::vector<int>{3});
    EXPECT_EQ(list.GetListIndex(), 3);
    EXPECT_EQ(list.GetListSelectCount(), 1);
    EXPECT_EQ(list.RemoveText(4), 0);
    list.GetListText(0, buffer, 50);
    EXPECT_EQ(std::string(buffer), "b");

    // Multiple selection: all, then clear.
    list.SetMode(0x20);
    EXPECT_EQ(list.SelectListAll(), 1);
    EXPECT_EQ(list.GetListSelectCount(), 4);
    EXPECT_EQ(list.SelectListIndex(0, 0), 1);
    EXPECT_EQ(list.GetListIndex(), 1);
    EXPECT_EQ(list.SelectListClear(), 1);
    EXPECT_EQ(list.GetListSelectCount(), 0);
    EXPECT_EQ(list.GetListIndex(), -1);
    EXPECT_EQ(list.RemoveAllText(), 1);
    EXPECT_EQ(list.GetListSize(), 0);
    EXPECT_EQ(list.AddText("again"), 1);
    EXPECT_EQ(list.GetListSelectCount(), 0);
}

TEST_F(ListBoxTest, TopRowIsHeldSoTheLastPageStaysFull)
{
    list.SetBounds(0, 0, 100, 134); // 10 rows
    for (int i = 0; i < 20; ++i)
        list.AddText("x");
    list.SetScrollBarTopPos(100);
    EXPECT_EQ(list.GetScrollBarTopPos(), 10);
    list.SetScrollBarTopPos(-5);
    EXPECT_EQ(list.GetScrollBarTopPos(), 0);
    list.SetScrollBarTopPos(INT_MAX);
    EXPECT_EQ(list.GetScrollBarTopPos(), 10);
    for (int i = 0; i < 15; ++i)
        list.RemoveText(0);
    list.SetScrollBarTopPos(100);
    EXPECT_EQ(list.GetScrollBarTopPos(), 0);
    // Sizes of 0 are ignored: the list keeps its ten rows.
    list.SetBounds(0, 0, 0, 0);
    list.SetSize(100, 0);
    VLSTSize size;
    list.GetSize(&size);
    EXPECT_EQ(size.width, 100);
    EXPECT_EQ(size.height, 134);
}

TEST_F(ListBoxTest, ClicksSelectInSingleModeAndToggleInMultipleModeWithASelectEventEachTime)
{
    Place(list, 5);
    driver::Click(handle, 40, RowY(2));
    EXPECT_EQ(selections, std::vector<int>{2});
    EXPECT_TRUE(RowSelected(2));
    driver::Click(handle, 40, RowY(2));
    EXPECT_EQ(selections, (std::vector<int>{2, 2})) << "still selected, the event fires again";
    driver::Click(handle, 40, RowY(4));
    EXPECT_EQ(Selection(list), std::vector<int>{4});
    EXPECT_FALSE(RowSelected(2));
    selections.clear();
    driver::Click(handle, 40, RowY(7));
    EXPECT_TRUE(selections.empty()) << "below the last item";
    EXPECT_EQ(Selection(list), std::vector<int>{4});

    list.SetMode(0x22);
    driver::Click(handle, 40, RowY(4));
    EXPECT_EQ(list.GetListSelectCount(), 0) << "a press on a selected item unselects it";
    EXPECT_EQ(selections, std::vector<int>{-1});
    driver::Click(handle, 40, RowY(1));
    driver::Click(handle, 40, RowY(3));
    EXPECT_EQ(Selection(list), (std::vector<int>{1, 3}));
}

TEST_F(ListBoxTest, DraggingAcrossItemsTogglesEachOnceInMultipleModeAndMovesTheSingleSelection)
{
    Place(list, 8, 0x22);
    list.SelectListIndex(2, 1);
    driver::MoveTo(handle, 40, RowY(0));
    driver::Press();
    for (int r = 0; r <= 4; ++r)
        for (int dy : {-4, 0, 4}) // several moves within each row
            driver::MoveTo(handle, 40, RowY(r) + dy);
    driver::Release();
    EXPECT_EQ(Selection(list), (std::vector<int>{0, 1, 3, 4})) << "item 2 was toggled off once";
    EXPECT_EQ(selections.size(), 1u + 15u) << "the press and every move over an item";

    // A new press starts a new gesture: the same item toggles again.
    driver::Click(handle, 40, RowY(4));
    EXPECT_EQ(Selection(list), (std::vector<int>{0, 1, 3}));

    list.SetMode(0x12);
    driver::Drag(handle, 40, RowY(0), 40, RowY(6));
    EXPECT_EQ(Selection(list), std::vector<int>{6});
    EXPECT_TRUE(RowSelected(6));
    EXPECT_FALSE(RowSelected(0));
}

TEST_F(ListBoxTest, ScrollButtonsStepOnceAndRepeatWhileHeldFromTheFifthTick)
{
    Place(list, 30);
    driver::Click(handle, 150, 20); // up button at the top: nothing to do
    EXPECT_EQ(list.GetScrollBarTopPos(), 0);
    driver::Click(handle, 150, 135);
    EXPECT_EQ(list.GetScrollBarTopPos(), 1);
    EXPECT_TRUE(selections.empty()) << "the bar selects nothing";

    driver::MoveTo(handle, 150, 135);
    driver::Press();
    EXPECT_EQ(list.GetScrollBarTopPos(), 2);
    EXPECT_EQ(Pixel(146, 131), 0xB4B4B4u) << "pressed: the face darkened by 12";
    driver::Advance(400); // four ticks: the repeat waits
    EXPECT_EQ(list.GetScrollBarTopPos(), 2);
    driver::Advance(300);
    EXPECT_EQ(list.GetScrollBarTopPos(), 5);
    driver::Advance(5000);
    EXPECT_EQ(list.GetScrollBarTopPos(), 20) << "held to the last page";
    driver::Release();
    EXPECT_EQ(Pixel(146, 131), 0xC0C0C0u);
    driver::Advance(1000);
    EXPECT_EQ(list.GetScrollBarTopPos(), 20);

    // Held on the up button, it walks back up and stops at the top.
    driver::MoveTo(handle, 150, 20);
    driver::Press();
    driver::Advance(3000);
    EXPECT_EQ(list.GetScrollBarTopPos(), 0);
    driver::Release();
    // Three items in ten rows: the down button has nothing to show.
    VLListBox shortList;
    shortList.SetBounds(10, 10, 150, 134);
    shortList.AddText("a");
    shortList.AddText("b");
    shortList.AddText("c");
    window.RemoveAt(&list);
    window.Add(&shortList);
    Repaint();
    driver::Click(handle, 150, 135);
    EXPECT_EQ(shortList.GetScrollBarTopPos(), 0);
    EXPECT_EQ(Pixel(150, 40), 0xC0C0C0u) << "the thumb fills the track";
    EXPECT_EQ(Pixel(150, 124), 0xC0C0C0u);
    window.Clear();
}

TEST_F(ListBoxTest, TheTrackPagesAndTheThumbDragsToTheEnd)
{
    Place(list, 100);
    // 100 items in 10 rows: the thumb is 10 pixels long at the top of the 100-pixel track.
    driver::Click(handle, 150, 100);
    EXPECT_EQ(list.GetScrollBarTopPos(), 10);
    driver::Click(handle, 150, 100);
    EXPECT_EQ(list.GetScrollBarTopPos(), 20);
    driver::Click(handle, 150, 29);
    EXPECT_EQ(list.GetScrollBarTopPos(), 10);
    // Grab the thumb (now 10 pixels lower) and pull it down past the end, then half way back.
    driver::MoveTo(handle, 150, 10 + 17 + 10 + 5);
    driver::Press();
    driver::MoveTo(handle, 150, 200);
    EXPECT_EQ(list.GetScrollBarTopPos(), 10) << "a thumb top past the track changes nothing";
    driver::MoveTo(handle, 150, 10 + 17 + 80 + 5);
    EXPECT_EQ(list.GetScrollBarTopPos(), 80);
    driver::MoveTo(handle, 150, 10 + 17 + 95 + 4);
    EXPECT_EQ(list.GetScrollBarTopPos(), 90) << "held to the last page";
    driver::MoveTo(handle, 20, 10 + 17 + 50 + 5); // the drag goes on off the bar
    EXPECT_EQ(list.GetScrollBarTopPos(), 50);
    driver::Release();
    driver::MoveTo(handle, 150, 10 + 17 + 90);
    EXPECT_EQ(list.GetScrollBarTopPos(), 50) << "released";
    EXPECT_TRUE(selections.empty());
}

TEST_F(ListBoxTest, ASelectionDraggedPastTheEdgesScrollsOnMovesAndOnTicks)
{
    Place(list, 40);
    driver::MoveTo(handle, 40, RowY(9));
    driver::Press();
    driver::MoveTo(handle, 40, 150); // below the list
    EXPECT_EQ(list.GetScrollBarTopPos(), 1);
    driver::Advance(1000); // the pointer rests there: the list scrolls on
    const int scrolled = list.GetScrollBarTopPos();
    EXPECT_GE(scrolled, 6);
    driver::MoveTo(handle, 40, RowY(9));
    EXPECT_EQ(Selection(list), std::vector<int>{scrolled + 9});
    driver::MoveTo(handle, 40, 2); // above it
    driver::Advance(3000);
    EXPECT_EQ(list.GetScrollBarTopPos(), 0);
    driver::Release();
    // A press that began outside the list scrolls nothing.
    list.SetScrollBarTopPos(5);
    driver::MoveTo(handle, 200, 150);
    driver::Press();
    driver::MoveTo(handle, 40, 150);
    driver::Advance(1000);
    driver::Release();
    EXPECT_EQ(list.GetScrollBarTopPos(), 5);
}

TEST_F(ListBoxTest, UpAndDownMoveOneSelectionAndScrollItIntoView)
{
    Place(list, 25, 0x32);
    window.NextFocus();
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(selections, std::vector<int>{1}) << "no selection: Down selects item 1";
    driver::PressKey(VK_UP);
    driver::PressKey(VK_UP);
    EXPECT_EQ(selections, (std::vector<int>{1, 0, 0})) << "at the top the event still fires";
    list.SelectListIndex(5, 1);
    list.SelectListIndex(9, 1);
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(Selection(list), std::vector<int>{1}) << "the first selected moves, the rest go";
    list.SelectListClear();
    list.SelectListIndex(9, 1);
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(list.GetScrollBarTopPos(), 1) << "item 10 scrolled into the last row";
    EXPECT_TRUE(RowSelected(9));
    list.SelectListClear();
    list.SelectListIndex(24, 1);
    list.SetScrollBarTopPos(0);
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(list.GetScrollBarTopPos(), 15);
    EXPECT_EQ(list.GetListIndex(), 24);
    driver::PressKey(VK_LEFT);
    EXPECT_EQ(selections.size(), 6u) << "Left and Right do nothing";
    // Without the focus the keys go elsewhere.
    window.AllFocusClear();
    driver::PressKey(VK_UP);
    EXPECT_EQ(list.GetListIndex(), 24);
}

TEST_F(ListBoxTest, ThePressFocusesTheListAndADisabledOrHiddenListTakesNothing)
{
    VLPushButton other;
    other.SetBounds(170, 10, 60, 24);
    window.Add(&other);
    Place(list, 5);
    EXPECT_EQ(Pixel(10, 10), 0x505050u);
    driver::Click(handle, 40, RowY(1));
    EXPECT_EQ(Pixel(10, 10), 0x0000FFu) << "the focus frame";
    driver::Click(handle, 180, 20);
    EXPECT_EQ(Pixel(10, 10), 0x505050u) << "the focus went to the button";
    list.SetEnable(0);
    Repaint();
    driver::Click(handle, 40, RowY(3));
    EXPECT_EQ(list.GetListIndex(), 1);
    EXPECT_EQ(Pixel(14, RowY(1)), 0x606060u) << "the disabled selection: half the grey";
    window.NextFocus();
    window.NextFocus();
    EXPECT_EQ(Pixel(10, 10), 0x505050u) << "navigation passes a disabled list";
    list.SetEnable(1);
    list.SetVisible(0);
    Repaint();
    driver::Click(handle, 40, RowY(3));
    EXPECT_EQ(list.GetListIndex(), 1);
    list.SetVisible(1);
    // In a group the list is routed the same way; in a hidden group it is not.
    VLGroup group;
    VLListBox inner;
    group.SetBounds(0, 0, 240, 161);
    group.SetMode(0);
    inner.SetBounds(10, 10, 100, 60);
    inner.AddText("a");
    inner.AddText("b");
    inner.AttachSelectEvent(Selected);
    window.RemoveAt(&list);
    window.Add(&group);
    group.Add(&inner);
    Repaint();
    driver::Click(handle, 30, RowY(1));
    EXPECT_EQ(inner.GetListIndex(), 1);
    group.SetVisible(0);
    driver::Click(handle, 30, RowY(0));
    EXPECT_EQ(inner.GetListIndex(), 1);
    window.Clear();
}

TEST_F(ListBoxTest, TheHintShowsBelowThePointer)
{
    list.SetHintText("rows");
    Place(list, 5);
    driver::MoveTo(handle, 40, 30);
    driver::Advance(1500);
    RECT outer = {0, 0, 0, 0}, hint = {0, 0, 0, 0};
    GetWindowRect(handle, &outer);
    for (HWND w : driver::TopLevelWindows())
        if (w != handle && driver::IsShown(w))
            GetWindowRect(w, &hint);
    EXPECT_EQ(hint.left, outer.left + 40 + 12);
    EXPECT_EQ(hint.top, outer.top + 1 + 19 + 30 + 20) << "20 below the pointer, not below the list";
}

TEST_F(ListBoxTest, CallbacksMayRemoveDeleteOrClearMidEvent)
{
    VLListBox *owned = new VLListBox;
    Place(*owned, 30);
    onSelect = [&](VLListBox *l) {
        window.RemoveAt(l);
        delete l;
    };
    driver::Click(handle, 40, RowY(1));
    EXPECT_EQ(selections.size(), 1u);
    Repaint();

    // Cleared from inside a drag, a held tick and a key.
    Place(list, 30);
    onSelect = [&](VLListBox *) { window.Clear(); };
    driver::MoveTo(handle, 40, RowY(1));
    driver::Press();
    driver::MoveTo(handle, 40, RowY(2));
    driver::Advance(1000);
    driver::Release();
    EXPECT_EQ(list.GetListSize(), 0);
    EXPECT_EQ(window.GetWinID(), -1);
    ASSERT_EQ(window.CreateNewWindow("again", 20, 20, 240, 161, 0), 1000);
    window.ShowWindow(1);
    handle = GetActiveWindow();
    Place(list, 30);
    window.NextFocus();
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(window.GetWinID(), -1);
}

TEST_F(ListBoxTest, LooksScrolledWithASelectionIconsFocusAndDisabled)
{
    const std::vector<uint8_t> bytes =
        bmp::Make(8, 8, std::vector<uint32_t>(64, 0xFF00FF), bmp::Options{24, false, true, false});
    std::vector<uint32_t> dot(64, 0xFF00FF);
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x)
            dot[y * 8 + x] = (x + y) % 2 ? 0x00A000u : 0xE0C000u;
    const std::vector<uint8_t> dotBytes = bmp::Make(8, 8, dot);
    ASSERT_TRUE(VorlaRegisterBitmapResource(GetModuleHandleA(nullptr), 41, dotBytes.data(), dotBytes.size()));
    VLIcon icon;
    ASSERT_EQ(icon.LoadImageA(nullptr, 41, 0xFFFF00FF), 1);

    VLListBox plain, disabled;
    list.SetBounds(4, 4, 120, 100);
    list.SetMode(0x32);
    for (int i = 0; i < 40; ++i)
        list.AddText(("row " + std::to_string(i)).c_str(), i % 3 == 0 ? &icon : nullptr);
    list.SelectListIndex(12, 1);
    list.SelectListIndex(14, 1);
    list.SetScrollBarTopPos(10);
    plain.SetBounds(130, 4, 104, 60);
    plain.SetMode(0);
    plain.AddText("no bar");
    plain.AddText("\x93\xfa\x96\x7b\x8c\xea", &icon);
    plain.SelectListIndex(1, 1);
    disabled.SetBounds(130, 70, 104, 84);
    for (int i = 0; i < 9; ++i)
        disabled.AddText("off", &icon);
    disabled.SelectListIndex(2, 1);
    disabled.SetEnable(0);
    window.Add(&list);
    window.Add(&plain);
    window.Add(&disabled);
    Repaint();
    window.NextFocus();
    driver::MoveTo(handle, 4 + 112, 4 + 96); // hovering the down button
    EXPECT_TRUE(Matches("list_box_looks"));
    window.Clear();
}

} // namespace
