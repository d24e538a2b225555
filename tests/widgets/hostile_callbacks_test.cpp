// Callbacks that do what an application may do at any time: clear, re-create, delete or terminate
// the window they were called from, take widgets out of it and delete them, run dialogs inside
// dialogs. The library must carry on without touching anything they ended (the sanitizer build
// checks that) and without visiting a widget twice.
#include "widgets_support.h"

#include <climits>
#include <functional>
#include <memory>
#include <vector>

namespace {

std::function<void()> onSelect; // what the next select callback does
int selects = 0;

void PushSelected(VLPushButton *) { ++selects; if (onSelect) onSelect(); }
void ToggleSelected(VLButton *) { ++selects; if (onSelect) onSelect(); }
void CheckSelected(VLCheckBox *) { ++selects; if (onSelect) onSelect(); }
void RadioSelected(VLGroup *) { ++selects; if (onSelect) onSelect(); }

std::function<void(VLWindow *, int)> onWindowEvent;
void WindowEvent(VLWindow *window, VLSTWindowEvent event)
{
    if (onWindowEvent)
        onWindowEvent(window, event.event);
}
int keyCallbacks = 0;
void KeyEvent(VLWindow *, VLSTKeyEvent) { ++keyCallbacks; }
int timerTicks = 0;
void TimerEvent(VLWindow *) { ++timerTicks; }
int mouseEvents = 0;
void MouseEvent(VLWindow *, VLSTMouseEvent) { ++mouseEvents; }

class HostileTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        onSelect = nullptr;
        onWindowEvent = nullptr;
        selects = keyCallbacks = timerTicks = mouseEvents = 0;
    }
    void TearDown() override
    {
        onSelect = nullptr;
        onWindowEvent = nullptr;
        WidgetTest::TearDown();
    }
    // A push button at (10, 10, 60, 24) whose callback does what onSelect says.
    void AddPushButton(VLPushButton &button, int x = 10, int y = 10)
    {
        button.SetBounds(x, y, 60, 24);
        button.SetText("Go");
        button.AttachSelectEvent(PushSelected);
        window.Add(&button);
    }
    VLPushButton push;
};

TEST_F(HostileTest, SelectCallbackMayClearOrRecreateItsWindowMidWalk)
{
    VLLabel below;
    below.SetBounds(0, 0, 200, 100);
    window.Add(&below); // visited after the button by the top-most-first walk
    AddPushButton(push);
    Repaint();

    onSelect = [&] { window.Clear(); };
    driver::Click(handle, 20, 20);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(window.GetWinID(), -1);
    VLSTRect bounds;
    push.GetBounds(&bounds);
    EXPECT_EQ(bounds.width, 0) << "the window cleared its widgets";

    ASSERT_EQ(window.CreateNewWindow("again", 20, 20, 240, 161, 0), 1000);
    window.ShowWindow(1);
    handle = GetActiveWindow();
    AddPushButton(push);
    onSelect = [&] { window.CreateNewWindow("third", 40, 40, 200, 120, 0); };
    driver::Click(handle, 20, 20);
    EXPECT_EQ(selects, 2);
    EXPECT_EQ(window.GetWinID(), 1000) << "re-created in the lowest free slot";
    EXPECT_FALSE(IsWindow(handle));

    // The new window works as any other.
    window.ShowWindow(1);
    handle = GetActiveWindow();
    AddPushButton(push);
    onSelect = nullptr;
    driver::Click(handle, 20, 20);
    EXPECT_EQ(selects, 3);
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, SelectCallbackMayTerminateTheLibrary)
{
    RunInOwnProcess([&] {
        VLLabel below; // the walk would go on to it
        below.SetBounds(0, 0, 200, 100);
        window.Add(&below);
        AddPushButton(push);
        Repaint();
        onSelect = [] { VorlaTerminate(); };
        driver::Click(handle, 20, 20);
        EXPECT_EQ(selects, 1);
        EXPECT_EQ(window.GetWinID(), -1);
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_EQ(window.CreateNewWindow("late", 0, 0, 50, 50, 0), -1);
    });
}

TEST_F(HostileTest, RemovingAndDeletingOtherWidgetsMidWalkVisitsNoWidgetTwice)
{
    // The push button holds the focus; the toggle on top of it removes and deletes it.
    auto *focused = new VLPushButton;
    AddPushButton(*focused, 10, 50);
    VLButton toggle;
    toggle.SetBounds(10, 10, 60, 24);
    toggle.AttachSelectEvent(ToggleSelected);
    window.Add(&toggle);
    Repaint();
    driver::Click(handle, 20, 60);
    ASSERT_EQ(selects, 1);

    onSelect = [&] {
        window.RemoveAt(focused);
        delete focused;
        focused = nullptr;
    };
    driver::Click(handle, 20, 20);
    EXPECT_EQ(selects, 2) << "the toggle fired once";
    EXPECT_EQ(toggle.IsSelected(), 1) << "and was not flipped back by a second visit";
    onSelect = nullptr;
    driver::Click(handle, 20, 20);
    EXPECT_EQ(toggle.IsSelected(), 0);

    // The same inside a group: a check box takes out its neighbour and deletes it.
    VLGroup group;
    group.SetBounds(100, 10, 120, 120);
    auto *neighbour = new VLCheckBox;
    neighbour->SetBounds(10, 30, 90, 20);
    VLCheckBox box;
    box.SetBounds(10, 60, 90, 20);
    box.AttachSelectEvent(CheckSelected);
    group.Add(neighbour);
    group.Add(&box);
    window.Add(&group);
    Repaint();
    selects = 0;
    onSelect = [&] {
        group.RemoveAt(neighbour);
        delete neighbour;
        neighbour = nullptr;
    };
    driver::Click(handle, 115, 75);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(box.IsSelected(), 1);
    EXPECT_EQ(group.GetRadioButtonCount(), 0);
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, WidgetsMayDeleteThemselvesFromTheirOwnCallbacks)
{
    // Removed and deleted by their own callbacks: a push button on release, a toggle on press,
    // a check box reached by Tab and a group's radio button.
    auto *button = new VLPushButton;
    AddPushButton(*button);
    Repaint();
    onSelect = [&] {
        window.RemoveAt(button);
        delete button;
    };
    driver::Click(handle, 20, 20);
    EXPECT_EQ(selects, 1);

    auto *toggle = new VLButton;
    toggle->SetBounds(10, 10, 60, 24);
    toggle->AttachSelectEvent(ToggleSelected);
    window.Add(toggle);
    onSelect = [&] {
        window.RemoveAt(toggle);
        delete toggle;
    };
    driver::Click(handle, 20, 20);
    EXPECT_EQ(selects, 2);

    auto *box = new VLCheckBox;
    box->SetBounds(10, 10, 80, 20);
    box->AttachSelectEvent(CheckSelected);
    window.Add(box);
    AddPushButton(push, 10, 60);
    onSelect = [&] {
        window.RemoveAt(box);
        delete box;
    };
    driver::PressKey(VK_TAB);
    EXPECT_EQ(selects, 3);
    onSelect = nullptr;
    driver::PressKey(VK_TAB); // the focus goes on from a window that forgot the deleted box
    driver::PressKey(VK_SPACE);
    EXPECT_EQ(selects, 4) << "the push button took the focus and fired";

    VLGroup group;
    group.SetBounds(100, 10, 120, 100);
    group.AttachRadioButtonSelectEvent(RadioSelected);
    auto *radio = new VLRadioButton;
    radio->SetBounds(10, 30, 80, 18);
    radio->SetText("A");
    group.Add(radio);
    window.Add(&group);
    Repaint();
    onSelect = [&] {
        group.RemoveAt(radio);
        delete radio;
    };
    driver::Click(handle, 115, 48);
    EXPECT_EQ(selects, 5);
    onSelect = nullptr;
    driver::PressKey(VK_DOWN); // no stale radio button receives it
    driver::Click(handle, 20, 70);
    EXPECT_EQ(selects, 6);
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, AWindowMayBeDeletedOrClearedInsideItsOwnDestructionReport)
{
    // Deleted when the close box destroys it.
    auto *doomed = new VLWindow;
    ASSERT_EQ(doomed->CreateNewWindow("doomed", 300, 20, 120, 80, 0), 1001);
    doomed->ShowWindow(1);
    HWND doomedHandle = GetActiveWindow();
    doomed->AttachWindowEvent(WindowEvent);
    onWindowEvent = [&](VLWindow *w, int code) {
        if (code == 101)
            delete w;
    };
    driver::ClickCloseBox(doomedHandle);
    EXPECT_FALSE(IsWindow(doomedHandle));

    // Deleted when Escape destroys it: its key callback is not read afterwards.
    doomed = new VLWindow;
    ASSERT_EQ(doomed->CreateNewWindow("doomed", 300, 20, 120, 80, 0), 1001);
    doomed->ShowWindow(1);
    doomedHandle = GetActiveWindow();
    doomed->AttachWindowEvent(WindowEvent);
    doomed->AttachKeyEvent(KeyEvent);
    driver::PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(doomedHandle));
    EXPECT_EQ(keyCallbacks, 0);

    // Cleared from the report of a teardown that is already clearing it: nothing is released
    // twice or left behind (the leak check of the sanitizer build watches), and it can be made again.
    VLWindow other;
    ASSERT_EQ(other.CreateNewWindow("other", 300, 20, 120, 80, 0), 1001);
    other.AttachWindowEvent(WindowEvent);
    int reports = 0;
    onWindowEvent = [&](VLWindow *w, int code) {
        if (code == 101) {
            ++reports;
            w->Clear();
            EXPECT_EQ(w->CreateNewWindow("inside", 0, 0, 50, 50, 0), -1) << "not while being torn down";
        }
    };
    other.Clear();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(other.GetWinID(), -1);
    onWindowEvent = nullptr;
    EXPECT_EQ(other.CreateNewWindow("other", 300, 20, 120, 80, 0), 1001);

    // And deleted from the report of its own Clear.
    doomed = new VLWindow;
    ASSERT_EQ(doomed->CreateNewWindow("doomed", 300, 120, 120, 80, 0), 1002);
    doomed->AttachWindowEvent(WindowEvent);
    onWindowEvent = [&](VLWindow *w, int code) {
        if (code == 101)
            delete w;
    };
    doomed->Clear();
    onWindowEvent = nullptr;
    VLWindow reuse;
    EXPECT_EQ(reuse.CreateNewWindow("reuse", 0, 0, 50, 50, 0), 1002) << "the slot was given back";
}

TEST_F(HostileTest, NestedDialogsGiveBackOnlyWhatTheyTook)
{
    window.AttachTimerEvent(TimerEvent);
    window.AttachMouseEvent(MouseEvent);
    VLWindow outer, inner, stray;
    ASSERT_EQ(outer.CreateNewDialog("outer", 300, 20, 150, 100), 1001);
    ASSERT_EQ(stray.CreateNewDialog("never shown", 300, 300, 100, 60), 1002);
    int ticksAfterInner = -1, mouseAfterInner = -1;
    bool outerRanOn = false;

    driver::OnIdle([&] {
        // Inside the outer dialog: open the inner one.
        driver::OnIdle([&] {
            ASSERT_EQ(inner.CreateNewDialog("inner", 320, 40, 120, 80), 1003);
            driver::OnIdle([&] { inner.CloseWindow(); });
            EXPECT_EQ(inner.DoModal(), 1);
            // Back in the outer dialog's loop: the main window is still blocked.
            timerTicks = mouseEvents = 0;
            driver::Advance(500);
            driver::Click(handle, 100, 100);
            ticksAfterInner = timerTicks;
            mouseAfterInner = mouseEvents;
            // A dialog that is not running modal is closed: the outer loop goes on.
            stray.CloseWindow();
            driver::OnIdle([&] {
                outerRanOn = IsWindow(GetActiveWindow()) && outer.GetWinID() == 1001;
                outer.CloseWindow();
            });
        });
    });
    EXPECT_EQ(outer.DoModal(), 1);
    EXPECT_EQ(ticksAfterInner, 0) << "the main window's timer stays blocked under the outer dialog";
    EXPECT_EQ(mouseAfterInner, 0) << "and so do its clicks";
    EXPECT_TRUE(outerRanOn) << "closing a dialog that runs no loop ends no loop";
    EXPECT_EQ(outer.GetWinID(), -1);

    // With every dialog gone the main window has its input back.
    timerTicks = mouseEvents = 0;
    driver::Advance(300);
    driver::Click(handle, 100, 100);
    EXPECT_GE(timerTicks, 2);
    EXPECT_GE(mouseEvents, 1);
}

TEST_F(HostileTest, RadioButtonsLetTheFocusGoWhenAPressTakesItElsewhere)
{
    VLGroup group;
    group.SetBounds(10, 10, 120, 100);
    VLRadioButton radios[2];
    for (int i = 0; i < 2; ++i) {
        radios[i].SetBounds(10, 25 + i * 25, 90, 18);
        radios[i].SetText("Pick");
        group.Add(&radios[i]);
    }
    window.Add(&group);
    AddPushButton(push, 150, 10);
    Repaint();
    // The focus mark of a radio button: a black frame from the text's left edge.
    const auto marked = [&](int i) { return Pixel(20 + 16, 35 + i * 25 + 3) == 0x000000u; };

    driver::Click(handle, 25, 40);
    EXPECT_TRUE(marked(0));
    driver::Click(handle, 25, 65);
    EXPECT_FALSE(marked(0)) << "the first lets the focus go to the second";
    EXPECT_TRUE(marked(1));
    driver::Click(handle, 160, 20);
    EXPECT_FALSE(marked(1)) << "and the second to the push button";
    EXPECT_EQ(selects, 1);
    // Tab moves on from the push button, the one focused widget, to the group's selected button.
    driver::PressKey(VK_TAB);
    EXPECT_TRUE(marked(1));
    EXPECT_FALSE(marked(0));
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, WidgetsInAHiddenGroupTakeNoInput)
{
    VLGroup outer, inner;
    outer.SetBounds(10, 10, 200, 130);
    inner.SetBounds(5, 60, 180, 60);
    VLPushButton button;
    button.SetBounds(10, 25, 60, 24);
    button.AttachSelectEvent(PushSelected);
    VLCheckBox box;
    box.SetBounds(90, 25, 80, 20);
    box.AttachSelectEvent(CheckSelected);
    VLRadioButton radio;
    radio.SetBounds(10, 20, 80, 18);
    outer.AttachRadioButtonSelectEvent(RadioSelected);
    inner.AttachRadioButtonSelectEvent(RadioSelected);
    outer.Add(&button);
    outer.Add(&box);
    inner.Add(&radio);
    outer.Add(&inner);
    window.Add(&outer);

    // Focused before the group is hidden: keys must not reach it afterwards either.
    driver::Click(handle, 30, 45);
    ASSERT_EQ(selects, 1);
    outer.SetVisible(0);
    Repaint();
    EXPECT_EQ(Pixel(30, 45), 0xC0C0C0u) << "nothing drawn";
    driver::PressKey(VK_SPACE);
    driver::Click(handle, 30, 45);
    driver::Click(handle, 105, 45);
    driver::Click(handle, 25, 95);
    driver::PressKey(VK_TAB);
    driver::PressKey(VK_SPACE);
    driver::PressKey(VK_RETURN);
    EXPECT_EQ(selects, 1) << "no clicks, no keys, no focus";
    EXPECT_EQ(box.IsSelected(), 0);
    EXPECT_EQ(radio.IsSelected(), 0);

    // Only the inner group hidden: the outer one's widgets work, the inner one's do not.
    outer.SetVisible(1);
    inner.SetVisible(0);
    driver::Click(handle, 25, 95);
    EXPECT_EQ(radio.IsSelected(), 0);
    driver::Click(handle, 105, 45);
    EXPECT_EQ(box.IsSelected(), 1);
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, GroupsCannotHoldThemselves)
{
    VLGroup a, b, c;
    a.SetBounds(10, 10, 150, 130);
    b.SetBounds(10, 20, 120, 100);
    c.SetBounds(10, 20, 90, 60);
    a.Add(&a);
    a.Add(&b);
    b.Add(&c);
    c.Add(&a); // a cycle through three groups
    b.Add(&a);
    VLPushButton inside;
    inside.SetBounds(10, 20, 50, 24);
    inside.AttachSelectEvent(PushSelected);
    c.Add(&inside);
    window.Add(&a);
    Repaint();
    driver::Click(handle, 55, 85);
    EXPECT_EQ(selects, 1) << "the tree still routes";
    driver::PressKey(VK_TAB);

    // Taken out, a group keeps its link to the group it was in; putting that group into it
    // closes a circle of links, which painting, focus and hints must walk without end.
    VLGroup d, e;
    d.SetBounds(160, 10, 60, 60);
    e.SetBounds(5, 5, 40, 40);
    VLCheckBox deep;
    deep.SetBounds(5, 5, 30, 20);
    e.Add(&d);
    e.RemoveAt(&d);
    d.Add(&e);
    e.Add(&deep);
    window.Add(&d);
    Repaint();
    deep.Repaint();
    driver::PressKey(VK_TAB);
    driver::Click(handle, 175, 25);
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, ImagesPaintInsideTheirGroupAndGiveTheContextBack)
{
    VLGroup group;
    group.SetBounds(10, 10, 60, 60);
    VLImage image;
    image.SetBounds(10, 10, 100, 100);
    image.SetForegroundColor(0xFFFF0000);
    image.DrawFillRect(0, 0, 99, 99);
    group.Add(&image);
    window.Add(&group);
    Repaint();
    image.SetForegroundColor(0xFF0000FF);
    image.DrawFillRect(0, 0, 99, 99);
    image.Repaint();
    EXPECT_EQ(Pixel(40, 40), 0x0000FFu);
    EXPECT_EQ(Pixel(100, 100), 0xC0C0C0u) << "cut at the group, like every widget";

    // Outside BeginPaint and EndPaint the window's own surface has nowhere to draw.
    window.SetForegroundColor(0xFF00FF00);
    window.DrawFillRect(150, 100, 200, 140);
    EXPECT_EQ(Pixel(170, 120), 0xC0C0C0u);
    window.BeginPaint();
    window.DrawFillRect(150, 100, 200, 140);
    window.EndPaint();
    EXPECT_EQ(Pixel(170, 120), 0x00FF00u);
    window.Clear(); // before the test's own widgets go
}

TEST_F(HostileTest, HintsInsideAGroupGoToTheFirstChildWithTheEdgesOutside)
{
    VLGroup group;
    group.SetBounds(10, 10, 200, 120);
    VLLabel first, second, edge;
    first.SetBounds(10, 30, 80, 30);
    first.SetHintText("ab");
    second.SetBounds(10, 30, 80, 30); // the same place, added later
    second.SetHintText("abcdef");
    edge.SetBounds(90, 30, 40, 30); // starts where the first ends
    edge.SetHintText("abcd");
    group.Add(&first);
    group.Add(&second);
    group.Add(&edge);
    window.Add(&group);
    Repaint();
    HWND popup = nullptr;
    for (HWND w : driver::TopLevelWindows()) {
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (std::string(name) == "VorlaToolHintClass")
            popup = w;
    }
    ASSERT_NE(popup, nullptr);
    const auto hintWidth = [&](int x, int y) {
        driver::MoveTo(handle, x, y);
        driver::Advance(1100);
        RECT r = {};
        GetWindowRect(popup, &r);
        return driver::IsShown(popup) ? r.right - r.left : 0;
    };
    EXPECT_EQ(hintWidth(50, 60), 2 * 6 + 10) << "the first child in the list";
    driver::MoveTo(handle, 300, 150);
    driver::Advance(200);
    EXPECT_EQ(hintWidth(100, 60), 4 * 6 + 10) << "the first child's right edge is outside it";
    window.Clear(); // before the test's own widgets go
}

} // namespace

namespace {

// A group placed last by another window that is then deleted has no window until the next
// placement pass: focus navigation passes it by.
TEST_F(HostileTest, AGroupWhoseOtherWindowWasDeletedTakesNoFocus)
{
    VLGroup group;
    group.SetBounds(10, 10, 120, 100);
    group.AttachRadioButtonSelectEvent(RadioSelected);
    VLRadioButton radio;
    radio.SetBounds(10, 30, 80, 18);
    group.Add(&radio);
    window.Add(&group);
    auto *other = new VLWindow;
    ASSERT_EQ(other->CreateNewWindow("other", 300, 20, 150, 120, 0), 1001);
    other->Add(&group);
    group.SelectRadioButton(0);
    other->RemoveAt(&group);
    delete other;
    selects = 0;
    driver::PressKey(VK_TAB);
    EXPECT_EQ(selects, 0);
    VLLabel absent;
    window.RemoveAt(&absent); // runs the window's placement pass, which gives the group its window back
    driver::PressKey(VK_TAB);
    EXPECT_EQ(selects, 1) << "the selected radio button takes the focus again";
    window.Clear(); // before the test's own widgets go
}

// The pointer over an edit box inside a group shows the text cursor: the type under the pointer
// is that of the widget inside the group, not the group's.
TEST_F(HostileTest, TheTextCursorShowsOverAnEditBoxInsideAGroup)
{
    VLGroup group;
    group.SetBounds(10, 10, 200, 120);
    VLEditBox edit;
    edit.SetBounds(20, 40, 100, 24);
    group.Add(&edit);
    window.Add(&group);
    Repaint();
    driver::MoveTo(handle, 60, 60);
    EXPECT_EQ(window.GetCursor(), 3);
    driver::MoveTo(handle, 180, 110);
    EXPECT_EQ(window.GetCursor(), 1) << "over the group itself";
    window.Clear(); // before the test's own widgets go
}

// Bounds at the ends of the int range: every widget draws, routes, hints and takes the focus
// without overflowing (the sanitizer build checks the arithmetic).
TEST_F(HostileTest, WidgetsAtTheEndsOfTheIntRangeNeitherOverflowNorAbort)
{
    const int far = INT_MAX, near = INT_MIN;
    VLGroup outer, inner;
    VLLabel label;
    VLPushButton button;
    VLButton toggle;
    VLCheckBox box;
    VLRadioButton radio;
    VLImage image;
    VLProgressBar bar;
    VLSlider slider;
    VLSpin spin;
    VLSpinEditBox number;
    VLTab tab;
    VLGroup page;
    VLScrollArea area;
    VLPushButton scrolled;
    const int boxes[][4] = {{far - 5, far - 5, far, far}, {near, near, far, far}, {0, 0, far, 1}, {5, 5, near, near}, {-5, -5, 40, 40}};
    for (const auto &b : boxes) {
        window.Clear();
        ASSERT_EQ(window.CreateNewWindow("far", 20, 20, 240, 161, 0), 1000);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        outer.SetBounds(b[0], b[1], b[2], b[3]);
        inner.SetBounds(b[0], b[1], b[2], b[3]);
        label.SetBounds(b[0], b[1], b[2], b[3]);
        label.SetHintText("far");
        button.SetBounds(b[0], b[1], b[2], b[3]);
        button.SetText("far");
        toggle.SetBounds(b[0], b[1], b[2], b[3]);
        box.SetBounds(b[0], b[1], b[2], b[3]);
        box.SetText("far");
        radio.SetBounds(b[0], b[1], b[2], b[3]);
        radio.SetText("far");
        image.SetBounds(b[0], b[1], 8, 8);
        bar.SetBounds(b[0], b[1], b[2], b[3]);
        bar.SetRange(0, far);
        bar.SetPosition(far - 1);
        slider.SetBounds(b[0], b[1], b[2], b[3]);
        slider.SetRange(0, far);
        spin.SetBounds(b[0], b[1], b[2], b[3]);
        number.SetBounds(b[0], b[1], b[2], b[3]);
        number.SetRange(near, far);
        number.SetValue(far);
        outer.Add(&bar);
        inner.Add(&spin);
        outer.Add(&number);
        tab.Add("far", &page); // the window's clearing took the page back
        area.SetScrolling(1);
        tab.SetBounds(b[0], b[1], b[2], b[3]);
        page.SetBounds(b[0], b[1], b[2], b[3]);
        area.SetBounds(b[0], b[1], b[2], b[3]);
        area.SetScrollSize(b[2], b[3]);
        area.SetScrollPosition(far, far);
        scrolled.SetBounds(b[0], b[1], b[2], b[3]);
        area.Add(&scrolled);
        window.Add(&tab);
        window.Add(&area);
        inner.Add(&slider);
        inner.Add(&radio);
        inner.Add(&button);
        inner.Add(&image);
        outer.Add(&inner);
        outer.Add(&box);
        window.Add(&outer);
        window.Add(&label);
        window.Add(&toggle);
        Repaint();
        driver::Click(handle, 10, 10);
        driver::MoveTo(handle, 20, 20);
        driver::Advance(1100);
        driver::PressKey(VK_TAB);
        driver::PressKey(VK_SPACE);
        driver::PressKey(VK_DOWN);
        driver::PressKey(VK_UP);
        driver::Wheel(-3);
        label.Repaint();
        button.Repaint();
        radio.Repaint();
        image.Repaint();
    }
    window.Clear(); // before the test's own widgets go
}

} // namespace
