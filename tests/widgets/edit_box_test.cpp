// Edit boxes as a user meets them: typing, the caret keys and Shift selection, the mouse, double
// clicks, undo, the filters and the maximum length, double-byte characters kept whole, scrolling,
// the caret blink, the disabled look, and callbacks that end the box.
#include "edit_box_support.h"

namespace {

void Press(int vk, int times)
{
    for (int i = 0; i < times; ++i)
        driver::PressKey(vk);
}
std::string TextOf(VLEditBox &b)
{
    char buffer[8] = {};
    b.GetText(buffer, 7);
    return buffer;
}

TEST_F(EditBoxTest, TypingEntersPrintableCharactersAtTheCaretOfTheFocusedBoxOnly)
{
    Focus();
    EXPECT_EQ(focuses, 1);
    driver::TypeText("hello");
    EXPECT_EQ(changes, 5);
    Press(VK_LEFT, 2);
    driver::TypeText("XY");
    Key(VK_RETURN); // control keys never enter the text
    EXPECT_EQ(Text(), "helXYlo");
    // A click on empty space keeps the focus, a second box takes it.
    VLEditBox other;
    other.SetBounds(L, 60, W, H);
    window.Add(&other);
    driver::Click(handle, L + 2, 65);
    driver::TypeText("z");
    EXPECT_EQ(Text(), "helXYlo");
    EXPECT_EQ(TextOf(other), "z");
    window.RemoveAt(&other);
}

TEST_F(EditBoxTest, FiltersAndMaximumLength)
{
    box.SetEditMode(1);
    Focus();
    driver::TypeText("12a3-+.");
    EXPECT_EQ(Text(), "123-+.");
    box.SetText("12x");
    EXPECT_EQ(Text(), "123-+.") << "a text that fails the numeric filter is refused whole";
    box.SetEditMode(2);
    box.SetText(AI);
    EXPECT_EQ(Text(), "123-+.");

    box.SetEditMode(0);
    box.SetText("");
    box.SetMaxLength(3);
    driver::TypeText("abcd");
    EXPECT_EQ(Text(), "abc");
    box.SetMaxLength(300);
    EXPECT_EQ(box.GetMaxLength(), 255);
    box.SetMaxLength(-5);
    EXPECT_EQ(box.GetMaxLength(), 0);

    // A full buffer takes nothing more, and a text over 255 bytes is refused whole.
    box.SetMaxLength(255);
    const std::string full(255, 'q');
    box.SetText(full.c_str());
    box.SetText(std::string(256, 'r').c_str());
    changes = 0;
    driver::TypeText("s");
    EXPECT_EQ(Text(), full);
    EXPECT_EQ(changes, 0);
    // A maximum length that would cut a pair in two cuts before it.
    box.SetMaxLength(3);
    box.SetText(AI);
    EXPECT_EQ(Text(), "\x82\xa0");
}

TEST_F(EditBoxTest, ArrowsAndShiftSelection)
{
    SetAndFocus("hello");
    box.CursorPosition(4);
    Key(VK_RIGHT);
    EXPECT_EQ(box.GetCursorPosition(), 5);
    ShiftKey(VK_LEFT);
    ShiftKey(VK_LEFT);
    EXPECT_EQ(Selection(), std::make_pair(3, 4));
    ShiftKey(VK_RIGHT);
    ShiftKey(VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(-1, -1)) << "back at the anchor nothing is selected";
    // Right at the end keeps a selection; Left clears it, also at the start.
    Control('A');
    Key(VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
    Press(VK_LEFT, 8);
    Control('A');
    Key(VK_LEFT);
    EXPECT_EQ(Selection(), std::make_pair(-1, -1));
    EXPECT_EQ(box.GetCursorPosition(), 0);
    // Typing replaces the selection.
    ShiftKey(VK_RIGHT);
    ShiftKey(VK_RIGHT);
    driver::TypeText("J");
    EXPECT_EQ(Text(), "Jllo");
    EXPECT_EQ(changes, 1);
}

TEST_F(EditBoxTest, ShiftSelectionAfterAClickStartsAtTheCaret)
{
    box.SetBounds(L, T, 200, H); // wide enough not to scroll
    SetAndFocus("Type here");
    driver::Click(handle, Column(12), T + 5);
    driver::TypeText(" and more");
    driver::KeyDown(VK_SHIFT);
    Press(VK_LEFT, 4);
    driver::KeyUp(VK_SHIFT);
    EXPECT_EQ(Selection(), std::make_pair(14, 17)) << "the click's anchor ended with its release";
    // A drag still selects from where it started.
    driver::Drag(handle, Column(0), T + 5, Column(4), T + 5);
    EXPECT_EQ(Selection(), std::make_pair(0, 3));
    ShiftKey(VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(4, 4)) << "Shift starts afresh at the caret";
}

TEST_F(EditBoxTest, DoubleByteCharactersStayWhole)
{
    SetAndFocus(AI);
    box.CursorPosition(3); // no adjustment of its own: the box still keeps the pair whole
    EXPECT_EQ(box.GetCursorPosition(), 2);
    Key(VK_END);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    EXPECT_EQ(box.GetCursorPosition(), 2);
    ShiftKey(VK_LEFT);
    EXPECT_EQ(Selection(), std::make_pair(0, 1));
    Press(VK_RIGHT, 2);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "\x82\xa0");
    box.SetText(AI);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "\x82\xa2");
    box.SetText(AI);
    EXPECT_EQ(box.CursorSelect(1, 2), 1);
    EXPECT_EQ(Selection(), std::make_pair(0, 3));

    // A broken lead byte given by SetText does not hide the pairs after it.
    box.SetText("\x82" "a" "\x82\xa0");
    Press(VK_RIGHT, 3);
    EXPECT_EQ(box.GetCursorPosition(), 4);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "\x82" "a");

    // Keys during a drag never select half a pair.
    box.SetText("abc\x82\xa0");
    driver::MoveTo(handle, Column(3), T + 5);
    driver::Press(); // the drag's anchor sits before the pair
    Key(VK_BACK);    // the pair moves one byte to the left, under the anchor
    ShiftKey(VK_RIGHT);
    driver::TypeText("q");
    driver::Release();
    EXPECT_EQ(Text(), "abq") << "the selection took the whole pair";
}

TEST_F(EditBoxTest, BackspaceDeleteAndUndo)
{
    SetAndFocus("");
    // Nine edits, nine undos: the history holds eight steps, the ninth undo still reports.
    driver::TypeText("abcdefghi");
    changes = 0;
    for (int i = 0; i < 9; ++i)
        Control('Z');
    EXPECT_EQ(Text(), "a");
    EXPECT_EQ(changes, 9);

    box.SetText("abc");
    Key(VK_END);
    Press(VK_RIGHT, 3);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "ab");
    Control('Z');
    EXPECT_EQ(Text(), "abc") << "one undo takes back one Backspace";
    Press(VK_LEFT, 2);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "ac");
    changes = 0;
    Control('X');
    EXPECT_EQ(changes, 1) << "a cut with nothing selected still reports";
    Control('A');
    Key(VK_BACK);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(box.GetCursorPosition(), 0);
}

TEST_F(EditBoxTest, MouseClickDragAndDoubleClick)
{
    SetAndFocus("foo.bar baz");
    auto doubleClick = [this](int column) {
        driver::Click(handle, Column(0), T + 5);
        driver::DoubleClick(handle, Column(column), T + 5);
        return Selection();
    };
    driver::Click(handle, Column(5), T + 5);
    EXPECT_EQ(box.GetCursorPosition(), 5);
    driver::Drag(handle, Column(1), T + 5, Column(4), T + 5);
    EXPECT_EQ(Selection(), std::make_pair(1, 3));
    EXPECT_EQ(box.GetCursorPosition(), 4);
    // Dragging left of the anchor, even out of the box.
    driver::Drag(handle, Column(6), T + 5, 0, T + 50);
    EXPECT_EQ(Selection(), std::make_pair(0, 5));

    EXPECT_EQ(doubleClick(5), std::make_pair(4, 6));
    EXPECT_EQ(doubleClick(3), std::make_pair(3, 3));
    EXPECT_EQ(doubleClick(7), std::make_pair(-1, -1));
    // A Japanese word is one word; a click on a trail byte lands before its pair.
    box.SetText(Nihongo);
    driver::Click(handle, Column(3), T + 5);
    EXPECT_EQ(box.GetCursorPosition(), 2);
    EXPECT_EQ(doubleClick(7), std::make_pair(0, 7));
    // A lead byte that ends the text is no pair to walk over: it ends the word.
    box.SetText("ab\x82");
    driver::DoubleClick(handle, Column(0), T + 5);
    EXPECT_EQ(Selection(), std::make_pair(0, 1));
}

TEST_F(EditBoxTest, TabSelectsAllClickFocusTakesItBackAndADisabledBoxOnlySelects)
{
    box.SetText("hello");
    VLPushButton button;
    button.SetBounds(10, 60, 60, 20);
    window.Add(&button);
    Key(VK_TAB);
    EXPECT_EQ(focuses, 1);
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
    EXPECT_EQ(box.GetCursorPosition(), 5);
    Key(VK_TAB);
    EXPECT_EQ(Selection(), std::make_pair(-1, -1));
    driver::TypeText("x");
    EXPECT_EQ(Text(), "hello") << "keys follow the focus away";
    window.RemoveAt(&button);

    // A disabled box selects but does not edit.
    box.SetEnable(0);
    Focus();
    changes = 0;
    driver::TypeText("x");
    Key(VK_BACK);
    Control('X');
    Control('Z');
    EXPECT_EQ(Text(), "hello");
    EXPECT_EQ(changes, 0);
    driver::Drag(handle, Column(1), T + 5, Column(3), T + 5);
    EXPECT_EQ(Selection(), std::make_pair(1, 2));
}

TEST_F(EditBoxTest, CaretBlinksOnTheVirtualClock)
{
    SetAndFocus("ab");
    driver::Click(handle, Column(2), T + 5);
    const int caretX = L + 4 + 2 * 6; // right of the "b"
    const uint32_t phases[] = {0x000000u, 0x000000u, 0xFFFFFFu, 0x000000u}; // the first blink shows
    for (int i = 0; i < 4; ++i) {
        if (i)
            driver::Advance(500);
        EXPECT_EQ(Pixel(caretX, T + 10), phases[i]) << i;
    }
    // An edit shows it at once.
    driver::Advance(500);
    driver::TypeText("c");
    EXPECT_EQ(Pixel(caretX + 6, T + 10), 0x000000u);
}

TEST_F(EditBoxTest, LongTextScrollsAndEmptiesBackToTheStart)
{
    SetAndFocus("");
    driver::TypeText("abcdefghijklmnopqrstuvwxyz");
    // The view follows the caret.
    driver::Click(handle, Column(0), T + 5);
    EXPECT_GT(box.GetCursorPosition(), 5) << "the left column shows a later byte";
    EXPECT_TRUE(Matches("edit_box_scrolled"));

    // A selection that lies left of the view marks nothing in it.
    EXPECT_EQ(box.CursorSelect(0, 1), 1);
    bool marked = false;
    const driver::Image selected = Picture();
    for (int x = L + 2; x < L + W - 2; ++x)
        marked |= selected.At(x, T + 10) == 0x0000FFu;
    EXPECT_FALSE(marked);

    Control('A');
    Key(VK_BACK);
    driver::TypeText("a");
    EXPECT_EQ(Pixel(L + 4 + 6, T + 10), 0x000000u) << "the view went back to the first byte";
}

TEST_F(EditBoxTest, BoxesTooNarrowForAColumnStillTakeText)
{
    for (int width : {1, 5, 6, 7}) {
        box.SetBounds(L, T, width, H);
        SetAndFocus("");
        driver::TypeText("abcdefgh");
        Key(VK_LEFT);
        Key(VK_RIGHT);
        Key(VK_BACK);
        EXPECT_EQ(Text(), "abcdefg") << width;
        box.CursorSelectAll();
        EXPECT_LE(box.GetCursorPosition(), 7);
    }
}

TEST_F(EditBoxTest, Looks)
{
    box.SetText("foo.bar baz");
    Focus();
    driver::DoubleClick(handle, Column(5), T + 5);
    EXPECT_TRUE(Matches("edit_box_selection"));

    VLEditBox disabled; // outlives its group, which clears it when it goes
    VLGroup group;
    group.SetBounds(120, 10, 110, 60);
    group.SetBackgroundColor(0xFF80A0C0);
    group.SetBackMode(1);
    disabled.SetBounds(5, 20, 100, 20);
    disabled.SetText("disabled");
    disabled.SetEnable(0);
    group.Add(&disabled);
    window.Add(&group);
    Repaint();
    EXPECT_EQ(Pixel(200, 35), 0x80A0C0u) << "filled with the container's colour";
    EXPECT_TRUE(Matches("edit_box_disabled")) << "its text three quarters of that colour";
    window.RemoveAt(&group);
}

TEST_F(EditBoxTest, BoxInAGroupStaysInsideItAndHidesWithIt)
{
    VLEditBox inner; // outlives its group, which clears it when it goes
    VLGroup group;
    group.SetBounds(120, 10, 60, 60);
    inner.SetBounds(5, 25, 100, 20); // reaches past the group's right edge, at x = 180
    inner.AttachChangeEvent(OnChange);
    group.Add(&inner);
    window.Add(&group);
    Repaint();
    driver::Click(handle, 130, 40);
    driver::TypeText("abc");
    driver::Advance(1000);
    EXPECT_EQ(TextOf(inner), "abc");
    EXPECT_EQ(Pixel(200, 40), 0xC0C0C0u) << "typing, clicks and the caret never draw outside the group";
    EXPECT_EQ(Pixel(175, 45), 0xFFFFFFu) << "inside the group it is drawn";
    group.SetVisible(0);
    changes = 0;
    driver::TypeText("d");
    EXPECT_EQ(TextOf(inner), "abc") << "a hidden group's box takes no keys";
    EXPECT_EQ(changes, 0);
    window.RemoveAt(&group);
}

TEST_F(EditBoxTest, TextCursorAndHintOverTheBox)
{
    box.SetHintText("Your name");
    box.SetHintBackgroundColor(0xFF00FF00);
    driver::MoveTo(handle, L + 20, T + 5);
    driver::Pump();
    EXPECT_EQ(window.GetCursor(), 3);
    driver::Advance(1100);
    HWND hint = HintPopup();
    ASSERT_NE(hint, nullptr);
    ASSERT_TRUE(driver::IsShown(hint));
    RECT area;
    GetWindowRect(hint, &area);
    EXPECT_EQ(area.right - area.left, 9 * 6 + 10) << "sized to the box's hint text";
    EXPECT_EQ(driver::SnapshotScreen().At(area.left + 2, area.top + 2), 0x00FF00u);
    driver::MoveTo(handle, L + 20, T + 50);
    driver::Pump();
    EXPECT_EQ(window.GetCursor(), 1);
}

// Callbacks that end the box or its window in the middle of an edit.
VLEditBox *doomed = nullptr;
VLWindow *doomedWindow = nullptr;
void DeleteOnChange(VLEditBox *b)
{
    doomedWindow->RemoveAt(b);
    delete b;
    doomed = nullptr;
}
void ClearOnFocus(VLEditBox *b) { b->Clear(); }

TEST_F(EditBoxTest, CallbacksMayEndTheBox)
{
    doomed = new VLEditBox;
    doomedWindow = &window;
    doomed->SetBounds(L, 60, W, H);
    doomed->AttachChangeEvent(DeleteOnChange);
    window.Add(doomed);
    driver::Click(handle, L + 5, 65);
    driver::TypeText("abc");
    EXPECT_EQ(doomed, nullptr);

    box.AttachFocusEvent(ClearOnFocus);
    box.SetText("x");
    Focus();
    driver::TypeText("yz");
    EXPECT_EQ(Text(), "") << "a cleared box has left the window";
}

} // namespace
