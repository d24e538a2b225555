// Edit boxes and the other ways text arrives or leaves: copy, cut and paste through the
// clipboard, and input-method results inserted or overwriting at the caret.
#include "edit_box_support.h"

#include <cstring>
#include <string>

namespace {

using EditBoxClipboardTest = EditBoxTest;
using EditBoxInputMethodTest = EditBoxTest;

TEST_F(EditBoxClipboardTest, CopyCutAndPaste)
{
    SetAndFocus("foo.bar baz");
    driver::DoubleClick(handle, Column(5), T + 5);
    Control('C');
    EXPECT_EQ(driver::ClipboardText(), "bar");
    EXPECT_EQ(Text(), "foo.bar baz");
    Control('X');
    EXPECT_EQ(Text(), "foo. baz");
    EXPECT_EQ(box.GetCursorPosition(), 4);
    driver::SetClipboardText("xy");
    Control('V');
    EXPECT_EQ(Text(), "foo.xy baz");
    EXPECT_EQ(box.GetCursorPosition(), 6);
    Control('Z');
    EXPECT_EQ(Text(), "foo. baz") << "a paste is one undo step";

    // Select-all copies the whole text although its end lies one past the last byte.
    Control('A');
    Control('C');
    EXPECT_EQ(driver::ClipboardText(), "foo. baz");
    // Pasting over a selection replaces it.
    driver::SetClipboardText("Q");
    Control('V');
    EXPECT_EQ(Text(), "Q");
}

TEST_F(EditBoxClipboardTest, PastedTextIsCleanedAndCut)
{
    SetAndFocus("");
    driver::SetClipboardText("a\r\nb");
    Control('V');
    EXPECT_EQ(Text(), "a??b");

    // At most 254 bytes of a long clipboard text, and never more than the maximum length.
    box.SetText("");
    driver::SetClipboardText(std::string(300, 'x'));
    Control('V');
    EXPECT_EQ(Text(), std::string(254, 'x'));
    box.SetText("");
    box.SetMaxLength(5);
    Control('V');
    EXPECT_EQ(Text(), "xxxxx");

    // A pair cut by the maximum length goes whole; a lead byte without its trail becomes "?".
    box.SetText("");
    box.SetMaxLength(3);
    driver::SetClipboardText(AI);
    Control('V');
    EXPECT_EQ(Text(), "\x82\xa0");
    box.SetMaxLength(255);
    box.SetText("");
    driver::SetClipboardText("z\x82");
    Control('V');
    EXPECT_EQ(Text(), "z?");

    // Another program's block need not end in a terminator: only its own bytes are read.
    box.SetText("");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), "abc", 3);
    GlobalUnlock(block);
    ASSERT_NE(SetClipboardData(CF_TEXT, block), nullptr);
    CloseClipboard();
    Control('V');
    EXPECT_EQ(Text(), "abc");

    // Filters refuse a paste whole.
    box.SetText("");
    box.SetEditMode(1);
    driver::SetClipboardText("12a");
    Control('V');
    EXPECT_EQ(Text(), "");
    driver::SetClipboardText("-1.5");
    Control('V');
    EXPECT_EQ(Text(), "-1.5");
}

TEST_F(EditBoxClipboardTest, EmptyClipboardAndDisabledBox)
{
    SetAndFocus("keep");
    driver::SetClipboardText("");
    Control('V');
    EXPECT_EQ(Text(), "keep");
    EXPECT_EQ(changes, 0);
    // Nothing selected: a copy leaves the clipboard alone.
    driver::SetClipboardText("before");
    Control('C');
    EXPECT_EQ(driver::ClipboardText(), "before");

    box.SetEnable(0);
    Control('A');
    Control('C');
    EXPECT_EQ(driver::ClipboardText(), "keep") << "a disabled box still copies";
    driver::SetClipboardText("more");
    Control('V');
    Control('X');
    EXPECT_EQ(Text(), "keep");
    EXPECT_EQ(driver::ClipboardText(), "more");
}

TEST_F(EditBoxInputMethodTest, ResultsInsertOrOverwriteByTheInsertToggle)
{
    SetAndFocus("xyz");
    driver::SetImeOpen(handle, true);
    Key(VK_RIGHT);
    driver::SetToggle(VK_INSERT, true);
    driver::ImeCompose(AI);
    EXPECT_EQ(Text(), std::string("x") + AI + "yz");
    EXPECT_EQ(box.GetCursorPosition(), 5);
    EXPECT_EQ(changes, 1);

    box.SetText("xyz");
    Key(VK_RIGHT);
    driver::SetToggle(VK_INSERT, false);
    driver::ImeCompose(AI);
    EXPECT_EQ(Text(), std::string("x") + AI);
    EXPECT_EQ(box.GetCursorPosition(), 5);

    // Overwriting the lead byte of a pair with one byte leaves a space for its trail.
    box.SetText(AI);
    driver::ImeCompose("a");
    EXPECT_EQ(Text(), "a \x82\xa2");

    // While the input method is open, typed characters come only as its results.
    box.SetText("");
    driver::TypeText("q");
    EXPECT_EQ(Text(), "");
    driver::SetImeOpen(handle, false);
    driver::TypeText("q");
    EXPECT_EQ(Text(), "q");
}

TEST_F(EditBoxInputMethodTest, CompositionWindowFollowsTheCaret)
{
    SetAndFocus("abc");
    driver::SetImeOpen(handle, true);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    driver::ImeCompose(Nihongo);
    COMPOSITIONFORM form = {};
    ASSERT_TRUE(ImmGetCompositionWindow(ImmGetContext(handle), &form));
    // The composition started with the caret at 2.
    EXPECT_EQ(form.ptCurrentPos.x, L + 4 + 2 * 6);
    EXPECT_EQ(form.ptCurrentPos.y, T + 4);
    // Without a focused box it goes back to the corner.
    window.AllFocusClear();
    driver::ImeCompose("z");
    ASSERT_TRUE(ImmGetCompositionWindow(ImmGetContext(handle), &form));
    EXPECT_EQ(form.ptCurrentPos.x, 0);
    // Insert is off: the result overwrote the "c"; the later one without a focused box went nowhere.
    EXPECT_EQ(Text(), std::string("ab") + Nihongo);
}

} // namespace
