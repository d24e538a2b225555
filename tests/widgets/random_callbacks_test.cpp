// A randomised application at its most hostile: windows full of widgets and groups whose callbacks
// clear, re-create and delete windows, take widgets out, delete them, put them back elsewhere,
// hide groups, run dialogs inside dialogs and terminate the library, while random clicks, keys and
// time drive them. Each round runs in its own process (it may terminate the library) and must end
// without a crash, a sanitizer finding or a leak.
//
// VORLA_RANDOM_SECONDS sets how long the rounds go on (default 5, or 60 with CI set);
// VORLA_RANDOM_SEED repeats a run: every round prints the seed it was made from.
#include "widgets_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include <unistd.h>

namespace {

struct Node {
    int type;
    void *widget;
    Node *group = nullptr; // the group that holds it, or
    int window = -1;       // the window that holds it
};

constexpr int Label = 2, Push = 3, Edit = 4, Group = 5, Check = 7, Radio = 8, Slider = 9, Tabs = 10, Combo = 11,
              Spin = 12, Number = 13, Toggle = 16, Image = 14, List = 17, Area = 18;

// Widgets that hold widgets of their own, which go with them: a tab with two pages (a push button
// on the first), and a scrolling area over two push buttons. The tab and the area are declared
// last, so that they go first and let go of what they hold.
struct TabBundle {
    VLGroup pages[2];
    VLPushButton button;
    VLTab tab;
};
struct AreaBundle {
    VLPushButton buttons[2];
    VLScrollArea area;
};
constexpr int WindowCount = 3;
constexpr int MaxModalDepth = 3;

class Chaos {
public:
    explicit Chaos(unsigned seed) : random_(seed) {}

    void Run(int inputs);
    void Hostile(); // what a callback does, now and then
    void Finish();

private:
    int Pick(int n) { return n > 0 ? std::uniform_int_distribution<int>(0, n - 1)(random_) : 0; }
    bool Chance(int percent) { return Pick(100) < percent; }

    void MakeWindow(int index);
    Node *MakeWidget();
    bool AddTo(Node *node, int window, Node *group);
    void Remove(Node *node);
    void Delete(Node *node);
    void Orphan(Node *container);
    void OrphanWindow(int index);
    bool Within(Node *node, Node *group);
    void ClearWindow(int index, int how);
    void OpenDialog();
    void Input();
    void Step();
    HWND RandomWindow();

    std::mt19937 random_;
    VLWindow *windows_[WindowCount] = {};
    std::vector<VLWindow *> dialogs_;
    std::vector<Node *> nodes_;
    std::vector<HWND> running_; // dialogs in their modal loops, innermost last
    std::vector<VLWindow *> runningDialogs_;
    bool terminated_ = false;
    bool stepPending_ = false;
    int steps_ = 0;
};

Chaos *chaos = nullptr;

// VORLA_RANDOM_TRACE=1 lists what a round does, to follow a failing seed.
void Trace(const char *what, const void *a, const void *b = nullptr, int n = 0)
{
    static const bool on = std::getenv("VORLA_RANDOM_TRACE") != nullptr;
    if (on)
        std::fprintf(stderr, "%s %p %p %d\n", what, a, b, n);
}

void OnPush(VLPushButton *) { chaos->Hostile(); }
void OnToggle(VLButton *) { chaos->Hostile(); }
void OnCheck(VLCheckBox *) { chaos->Hostile(); }
void OnEdit(VLEditBox *) { chaos->Hostile(); }
void OnSlider(VLSlider *) { chaos->Hostile(); }
void OnSpin(VLSpin *) { chaos->Hostile(); }
void OnNumber(VLSpinEditBox *) { chaos->Hostile(); }
void OnList(VLListBox *) { chaos->Hostile(); }
void OnCombo(VLComboBox *) { chaos->Hostile(); }
void OnTab(VLTab *) { chaos->Hostile(); }
void OnRadio(VLGroup *) { chaos->Hostile(); }
void OnKey(VLWindow *, VLSTKeyEvent) { chaos->Hostile(); }
void OnMouse(VLWindow *, VLSTMouseEvent) { chaos->Hostile(); }
void OnTimer(VLWindow *) { chaos->Hostile(); }
void OnWindow(VLWindow *, VLSTWindowEvent) { chaos->Hostile(); }
void OnView() { chaos->Hostile(); }

void Chaos::MakeWindow(int index)
{
    VLWindow *w = windows_[index];
    OrphanWindow(index); // creating clears the window first
    // Creating runs callbacks (the old window's destruction report): they may replace it.
    const int id = w->CreateNewWindow("random", 20 + index * 220, 20, 200, 160, Pick(2));
    Trace("made window", w, nullptr, id);
    if (id < 0 || windows_[index] != w)
        return;
    w->AttachKeyEvent(OnKey);
    w->AttachMouseEvent(OnMouse);
    if (Chance(50))
        w->AttachTimerEvent(OnTimer);
    if (Chance(50))
        w->AttachWindowEvent(OnWindow);
    w->ShowWindow(1);
}

Node *Chaos::MakeWidget()
{
    const int types[] = {Label, Push, Group, Check, Radio, Toggle, Image, Group, Push, Radio,
                         Edit, Slider, Spin, Number, List, Combo, Tabs, Area};
    Node *node = new Node{types[Pick(18)], nullptr};
    const int x = Pick(170), y = Pick(130), width = 20 + Pick(80), height = 14 + Pick(50);
    switch (node->type) {
    case Label: {
        auto *w = new VLLabel;
        w->SetBounds(x, y, width, height);
        w->SetText("label");
        w->SetHintText("hint");
        node->widget = w;
        break;
    }
    case Push: {
        auto *w = new VLPushButton;
        w->SetBounds(x, y, width, height);
        w->SetText("push");
        w->AttachSelectEvent(OnPush);
        node->widget = w;
        break;
    }
    case Group: {
        auto *w = new VLGroup;
        w->SetBounds(x, y, width + 40, height + 40);
        w->SetText("group");
        w->AttachRadioButtonSelectEvent(OnRadio);
        node->widget = w;
        break;
    }
    case Check: {
        auto *w = new VLCheckBox;
        w->SetBounds(x, y, width, 20);
        w->SetText("check");
        w->AttachSelectEvent(OnCheck);
        node->widget = w;
        break;
    }
    case Radio: {
        auto *w = new VLRadioButton;
        w->SetBounds(x % 60, y % 40, width, 18);
        w->SetText("radio");
        node->widget = w;
        break;
    }
    case Toggle: {
        auto *w = new VLButton;
        w->SetBounds(x, y, width, height);
        w->SetText("toggle");
        w->AttachSelectEvent(OnToggle);
        node->widget = w;
        break;
    }
    case Edit: {
        auto *w = new VLEditBox;
        w->SetBounds(x, y, width, 20);
        w->SetText("edit");
        w->AttachFocusEvent(OnEdit);
        w->AttachChangeEvent(OnEdit);
        node->widget = w;
        break;
    }
    case Slider: {
        auto *w = new VLSlider(Pick(2), Pick(2));
        w->SetBounds(x, y, width, height);
        w->AttachFocusEvent(OnSlider);
        w->AttachChangeEvent(OnSlider);
        node->widget = w;
        break;
    }
    case Spin: {
        auto *w = new VLSpin;
        w->SetBounds(x, y, 18, height);
        w->AttachUpSelectEvent(OnSpin);
        w->AttachDownSelectEvent(OnSpin);
        node->widget = w;
        break;
    }
    case Number: {
        auto *w = new VLSpinEditBox;
        w->SetBounds(x, y, width, 22);
        w->SetRange(-5, 5);
        w->AttachFocusEvent(OnNumber);
        w->AttachChangeEvent(OnNumber);
        w->AttachUpSelectEvent(OnNumber);
        w->AttachDownSelectEvent(OnNumber);
        node->widget = w;
        break;
    }
    case List: {
        auto *w = new VLListBox;
        w->SetBounds(x, y, width + 20, height + 20);
        w->SetMode(Pick(4));
        for (int i = 0; i < 12; ++i)
            w->AddText("item");
        w->AttachSelectEvent(OnList);
        node->widget = w;
        break;
    }
    case Combo: {
        auto *w = new VLComboBox;
        w->SetBounds(x, y, width + 20, 22);
        w->AddText("one");
        w->AddSeparator();
        w->AddText("two");
        w->AttachFocusEvent(OnCombo);
        w->AttachChangeEvent(OnCombo);
        node->widget = w;
        break;
    }
    case Tabs: {
        auto *b = new TabBundle;
        b->tab.SetBounds(x, y, width + 60, height + 40);
        b->tab.Add("a", &b->pages[0]);
        b->tab.Add("b", &b->pages[1]);
        for (VLGroup &page : b->pages)
            page.SetBounds(0, 0, width + 50, height + 16);
        b->button.SetBounds(2, 2, 30, 16);
        b->button.AttachSelectEvent(OnPush);
        b->pages[0].Add(&b->button);
        b->tab.AttachSelectEvent(OnTab);
        node->widget = b;
        break;
    }
    case Area: {
        auto *b = new AreaBundle;
        b->area.SetBounds(x, y, width + 20, height + 20);
        b->area.SetScrollSize(width + 60, height + 80);
        b->area.SetScrolling(1);
        for (int i = 0; i < 2; ++i) {
            b->buttons[i].SetBounds(2, 2 + 40 * i, width, 24);
            b->buttons[i].AttachSelectEvent(OnPush);
            b->area.Add(&b->buttons[i]);
        }
        node->widget = b;
        break;
    }
    default: {
        auto *w = new VLImage;
        w->SetBounds(x, y, 16 + Pick(40), 16 + Pick(40));
        w->SetForegroundColor(0xFF000000u | static_cast<unsigned>(random_()));
        w->DrawFillCircle(10, 10, 8);
        // Some images are OpenGL views, whose paints run the callback from the child window.
        if (Chance(30)) {
            w->AttachOpenGL(windows_[Pick(WindowCount)], OnView);
            w->SetBounds(x, y, 16 + Pick(40), 16 + Pick(40));
        }
        node->widget = w;
        break;
    }
    }
    nodes_.push_back(node);
    return node;
}

// Whether node is group or lies in it, by the containers this run keeps track of.
bool Chaos::Within(Node *node, Node *group)
{
    for (Node *g = group; g; g = g->group)
        if (g == node)
            return true;
    return false;
}

template <typename Container> void AddTyped(Container &c, Node *n)
{
    switch (n->type) {
    case Label: c.Add(static_cast<VLLabel *>(n->widget)); break;
    case Push: c.Add(static_cast<VLPushButton *>(n->widget)); break;
    case Group: c.Add(static_cast<VLGroup *>(n->widget)); break;
    case Check: c.Add(static_cast<VLCheckBox *>(n->widget)); break;
    case Toggle: c.Add(static_cast<VLButton *>(n->widget)); break;
    case Image: c.Add(static_cast<VLImage *>(n->widget)); break;
    case Edit: c.Add(static_cast<VLEditBox *>(n->widget)); break;
    case Slider: c.Add(static_cast<VLSlider *>(n->widget)); break;
    case Spin: c.Add(static_cast<VLSpin *>(n->widget)); break;
    case Number: c.Add(static_cast<VLSpinEditBox *>(n->widget)); break;
    case List: c.Add(static_cast<VLListBox *>(n->widget)); break;
    case Combo: c.Add(static_cast<VLComboBox *>(n->widget)); break;
    case Tabs: c.Add(&static_cast<TabBundle *>(n->widget)->tab); break;
    case Area: // only windows take scroll areas
        if constexpr (std::is_same_v<Container, VLWindow>)
            c.Add(&static_cast<AreaBundle *>(n->widget)->area);
        break;
    default: break;
    }
}
template <typename Container> void RemoveTyped(Container &c, Node *n)
{
    switch (n->type) {
    case Label: c.RemoveAt(static_cast<VLLabel *>(n->widget)); break;
    case Push: c.RemoveAt(static_cast<VLPushButton *>(n->widget)); break;
    case Group: c.RemoveAt(static_cast<VLGroup *>(n->widget)); break;
    case Check: c.RemoveAt(static_cast<VLCheckBox *>(n->widget)); break;
    case Toggle: c.RemoveAt(static_cast<VLButton *>(n->widget)); break;
    case Image: c.RemoveAt(static_cast<VLImage *>(n->widget)); break;
    case Edit: c.RemoveAt(static_cast<VLEditBox *>(n->widget)); break;
    case Slider: c.RemoveAt(static_cast<VLSlider *>(n->widget)); break;
    case Spin: c.RemoveAt(static_cast<VLSpin *>(n->widget)); break;
    case Number: c.RemoveAt(static_cast<VLSpinEditBox *>(n->widget)); break;
    case List: c.RemoveAt(static_cast<VLListBox *>(n->widget)); break;
    case Combo: c.RemoveAt(static_cast<VLComboBox *>(n->widget)); break;
    case Tabs: c.RemoveAt(&static_cast<TabBundle *>(n->widget)->tab); break;
    case Area:
        if constexpr (std::is_same_v<Container, VLWindow>)
            c.RemoveAt(&static_cast<AreaBundle *>(n->widget)->area);
        break;
    default: break;
    }
}

bool Chaos::AddTo(Node *node, int window, Node *group)
{
    if (node->group || node->window >= 0)
        return false;
    Trace("add", node->widget, group ? group->widget : nullptr, window);
    if (group) {
        if (Within(node, group))
            return false; // the library refuses a group inside itself too
        VLGroup &g = *static_cast<VLGroup *>(group->widget);
        if (node->type == Radio)
            g.Add(static_cast<VLRadioButton *>(node->widget));
        else
            AddTyped(g, node);
        node->group = group;
        return true;
    }
    if (node->type == Radio || window < 0)
        return false;
    AddTyped(*windows_[window], node);
    node->window = window;
    return true;
}

void Chaos::Remove(Node *node)
{
    Trace("remove", node->widget, node->group ? node->group->widget : nullptr, node->window);
    if (node->group) {
        VLGroup &g = *static_cast<VLGroup *>(node->group->widget);
        if (node->type == Radio)
            g.RemoveAt(static_cast<VLRadioButton *>(node->widget));
        else
            RemoveTyped(g, node);
    } else if (node->window >= 0) {
        RemoveTyped(*windows_[node->window], node);
    }
    node->group = nullptr;
    node->window = -1;
}

// A cleared container has let go of everything in it, at every depth.
void Chaos::Orphan(Node *container)
{
    Trace("orphan", container->widget);
    for (Node *n : nodes_)
        if (n->group == container) {
            n->group = nullptr;
            if (n->type == Group)
                Orphan(n);
        }
}

void Chaos::OrphanWindow(int index)
{
    for (Node *n : nodes_)
        if (n->window == index) {
            n->window = -1;
            if (n->type == Group) {
                // A group added while the window was being torn down never made it into the
                // window, so the window's clearing would not reach it: clear it here, as its
                // contents are now taken to be free.
                static_cast<VLGroup *>(n->widget)->Clear();
                Orphan(n);
            }
        }
}

void Chaos::Delete(Node *node)
{
    Trace("delete", node->widget, nullptr, node->type);
    Remove(node);
    nodes_.erase(std::find(nodes_.begin(), nodes_.end(), node));
    switch (node->type) {
    case Label: delete static_cast<VLLabel *>(node->widget); break;
    case Push: delete static_cast<VLPushButton *>(node->widget); break;
    case Group:
        delete static_cast<VLGroup *>(node->widget);
        Orphan(node);
        break;
    case Check: delete static_cast<VLCheckBox *>(node->widget); break;
    case Radio: delete static_cast<VLRadioButton *>(node->widget); break;
    case Toggle: delete static_cast<VLButton *>(node->widget); break;
    case Edit: delete static_cast<VLEditBox *>(node->widget); break;
    case Slider: delete static_cast<VLSlider *>(node->widget); break;
    case Spin: delete static_cast<VLSpin *>(node->widget); break;
    case Number: delete static_cast<VLSpinEditBox *>(node->widget); break;
    case List: delete static_cast<VLListBox *>(node->widget); break;
    case Combo: delete static_cast<VLComboBox *>(node->widget); break;
    case Tabs: delete static_cast<TabBundle *>(node->widget); break;
    case Area: delete static_cast<AreaBundle *>(node->widget); break;
    default: delete static_cast<VLImage *>(node->widget); break;
    }
    delete node;
}

// how: 0 clear, 1 re-create, 2 delete and make anew.
void Chaos::ClearWindow(int index, int how)
{
    Trace("clear window", windows_[index], nullptr, index * 10 + how);
    OrphanWindow(index);
    if (how == 2) {
        // Replaced before it goes: its destruction report may pick this window again.
        VLWindow *old = windows_[index];
        windows_[index] = new VLWindow;
        delete old;
        MakeWindow(index);
    } else if (how == 1) {
        MakeWindow(index);
    } else {
        windows_[index]->Clear();
    }
}

HWND Chaos::RandomWindow()
{
    std::vector<HWND> shown;
    for (HWND w : driver::TopLevelWindows())
        if (driver::IsShown(w))
            shown.push_back(w);
    return shown.empty() ? nullptr : shown[static_cast<size_t>(Pick(static_cast<int>(shown.size())))];
}

void Chaos::OpenDialog()
{
    if (static_cast<int>(running_.size()) >= MaxModalDepth || terminated_)
        return;
    VLWindow *dialog = new VLWindow;
    dialogs_.push_back(dialog);
    // The dialog's window is the one that is new: a window still being destroyed may hold the
    // same class name.
    const std::vector<HWND> before = driver::TopLevelWindows();
    const int id = dialog->CreateNewDialog("dialog", 100 + Pick(300), 100 + Pick(200), 150, 100);
    if (id < 0)
        return;
    dialog->AttachMouseEvent(OnMouse);
    dialog->AttachKeyEvent(OnKey);
    char name[32];
    std::snprintf(name, sizeof name, "VorlaWindowClass%02d", id - 1000);
    HWND handle = nullptr;
    for (HWND w : driver::TopLevelWindows()) {
        char found[64] = {};
        GetClassNameA(w, found, sizeof found);
        if (std::string(found) == name && std::find(before.begin(), before.end(), w) == before.end())
            handle = w;
    }
    running_.push_back(handle);
    runningDialogs_.push_back(dialog);
    Trace("open dialog", handle, nullptr, stepPending_);
    if (!stepPending_) {
        stepPending_ = true;
        driver::OnIdle([] { chaos->Step(); });
    }
    dialog->DoModal(); // may be deleted inside: not touched afterwards
    running_.pop_back();
    runningDialogs_.pop_back();
}

// Runs whenever a modal loop is idle: some input, and now and then the innermost dialog closes.
void Chaos::Step()
{
    // The inputs below pump the queue themselves and may take the message that wakes a modal
    // loop whose dialog went away meanwhile: however the step ends, wake the loop again.
    struct Wake {
        ~Wake() { PostMessageA(nullptr, WM_NULL, 0, 0); }
    } wake;
    stepPending_ = false;
    // A modal loop that cannot end would spin here for ever: say so and stop the round.
    if (++steps_ > 100000) {
        ADD_FAILURE() << "a modal loop did not end after 100000 idle steps";
        std::fflush(stdout);
        std::_Exit(1);
    }
    if (!running_.empty())
        Trace("  dialog id/alive", runningDialogs_.back(), nullptr, runningDialogs_.back()->GetWinID() * 10 + runningDialogs_.back()->IsVisible());
    Trace("step", running_.empty() ? nullptr : running_.back(), nullptr,
          static_cast<int>(running_.size()) * 100 + (running_.empty() ? 0 : IsWindow(running_.back()) * 10 + driver::IsShown(running_.back())));
    if (terminated_)
        return;
    for (int i = Pick(4); i > 0 && !terminated_; --i)
        Input();
    if (!terminated_ && !running_.empty() && Chance(30)) {
        HWND innermost = running_.back();
        if (innermost && IsWindow(innermost))
            driver::ClickCloseBox(innermost);
    }
    if (!terminated_ && !running_.empty() && !stepPending_) {
        stepPending_ = true;
        driver::OnIdle([] { chaos->Step(); });
    }
}

void Chaos::Hostile()
{
    if (terminated_ || !Chance(35))
        return;
    switch (Pick(13)) {
    case 0:
        ClearWindow(Pick(WindowCount), Pick(3));
        break;
    case 1:
    case 2:
        if (!nodes_.empty())
            Remove(nodes_[static_cast<size_t>(Pick(static_cast<int>(nodes_.size())))]);
        break;
    case 3:
    case 4:
        if (!nodes_.empty())
            Delete(nodes_[static_cast<size_t>(Pick(static_cast<int>(nodes_.size())))]);
        break;
    case 5:
    case 6: {
        Node *node = nodes_.empty() || Chance(30) ? MakeWidget()
                                                  : nodes_[static_cast<size_t>(Pick(static_cast<int>(nodes_.size())))];
        std::vector<Node *> groups;
        for (Node *n : nodes_)
            if (n->type == Group)
                groups.push_back(n);
        if (!groups.empty() && Chance(50))
            AddTo(node, -1, groups[static_cast<size_t>(Pick(static_cast<int>(groups.size())))]);
        else
            AddTo(node, Pick(WindowCount), nullptr);
        break;
    }
    case 7:
        if (!nodes_.empty()) {
            Node *node = nodes_[static_cast<size_t>(Pick(static_cast<int>(nodes_.size())))];
            if (node->type == Group)
                static_cast<VLGroup *>(node->widget)->SetVisible(Pick(2));
            else if (node->type == Push)
                static_cast<VLPushButton *>(node->widget)->SetVisible(Pick(2));
            else if (node->type == Number)
                static_cast<VLSpinEditBox *>(node->widget)->SetVisible(Pick(2));
            else if (node->type == Spin)
                static_cast<VLSpin *>(node->widget)->SetEnable(Pick(2));
            else if (node->type == Image) {
                static_cast<VLImage *>(node->widget)->SetVisible(Pick(2));
                static_cast<VLImage *>(node->widget)->Repaint();
            }
        }
        break;
    case 8:
        OpenDialog();
        break;
    case 9:
        if (!running_.empty() && IsWindow(running_.back()))
            DestroyWindow(running_.back());
        break;
    case 10:
        if (!nodes_.empty()) {
            Node *node = nodes_[static_cast<size_t>(Pick(static_cast<int>(nodes_.size())))];
            if (node->type == Group) {
                static_cast<VLGroup *>(node->widget)->Clear();
                Orphan(node);
            }
        }
        break;
    case 11:
        windows_[Pick(WindowCount)]->NextFocus();
        break;
    default:
        if (Chance(10)) {
            terminated_ = true;
            VorlaTerminate();
        }
        break;
    }
}

void Chaos::Input()
{
    HWND target = RandomWindow();
    switch (Pick(8)) {
    case 0:
    case 1:
    case 2:
        if (target)
            driver::Click(target, Pick(200), Pick(160), Chance(80) ? driver::Button::Left : driver::Button::Right);
        break;
    case 3:
        if (target) {
            driver::MoveTo(target, Pick(200), Pick(160));
            driver::Press();
            if (Chance(30))
                driver::Advance(static_cast<uint32_t>(Pick(1000))); // held: spins repeat
            driver::MoveTo(target, Pick(200), Pick(160));
            driver::Release();
        }
        break;
    case 4: {
        const int keys[] = {VK_TAB, VK_SPACE, VK_RETURN, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_ESCAPE, 'A'};
        const int key = keys[Pick(9)];
        // Escape destroys the window: rarely, or the run would be all re-creation.
        if (key != VK_ESCAPE || Chance(10))
            driver::PressKey(key);
        break;
    }
    case 5:
        if (target)
            driver::DoubleClick(target, Pick(200), Pick(160));
        break;
    case 6:
        driver::Advance(static_cast<uint32_t>(Pick(1200)));
        break;
    default:
        if (target)
            driver::MoveTo(target, Pick(200), Pick(160));
        break;
    }
}

void Chaos::Run(int inputs)
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    for (int i = 0; i < WindowCount; ++i)
        windows_[i] = new VLWindow; // all there before any callback can pick one
    for (int i = 0; i < WindowCount; ++i)
        MakeWindow(i);
    for (int i = 0; i < 14; ++i) {
        Node *node = MakeWidget();
        std::vector<Node *> groups;
        for (Node *n : nodes_)
            if (n->type == Group && n != node)
                groups.push_back(n);
        if (!groups.empty() && (node->type == Radio || Chance(40)))
            AddTo(node, -1, groups[static_cast<size_t>(Pick(static_cast<int>(groups.size())))]);
        else
            AddTo(node, Pick(WindowCount), nullptr);
    }
    for (int i = 0; i < WindowCount; ++i)
        windows_[i]->UpdateWindow();
    for (int i = 0; i < inputs && !terminated_; ++i) {
        Input();
        if (Chance(3))
            ClearWindow(Pick(WindowCount), 1); // bring closed windows back now and then
    }
}

void Chaos::Finish()
{
    if (!terminated_)
        VorlaTerminate();
    terminated_ = true;
    // Termination clears the windows that hold a slot; one whose creation failed holds widgets
    // all the same.
    for (int i = 0; i < WindowCount; ++i) {
        windows_[i]->Clear();
        OrphanWindow(i);
    }
    // Containers first let go of what they hold, then everything goes.
    while (!nodes_.empty())
        Delete(nodes_.back());
    for (VLWindow *w : windows_)
        delete w;
    for (VLWindow *d : dialogs_)
        delete d;
    dialogs_.clear();
}

class RandomCallbacksTest : public ::testing::Test {
protected:
    RandomCallbacksTest() { driver::Reset(); }
};

TEST_F(RandomCallbacksTest, HostileCallbacksUnderRandomInputLeaveNoFault)
{
    const char *seconds = std::getenv("VORLA_RANDOM_SECONDS");
    const int budget = seconds ? std::atoi(seconds) : (std::getenv("CI") ? 60 : 5);
    const char *given = std::getenv("VORLA_RANDOM_SEED");
    const unsigned base = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                : static_cast<unsigned>(std::random_device{}());
    // The rounds' own processes must make the same run.
    setenv("VORLA_RANDOM_SEED", std::to_string(base).c_str(), 1);
    std::printf("random callbacks: base seed %u (VORLA_RANDOM_SEED=%u repeats this run)\n", base, base);
    const auto start = std::chrono::steady_clock::now();
    int rounds = 0;
    do {
        const unsigned seed = base + static_cast<unsigned>(rounds);
        SCOPED_TRACE("round seed " + std::to_string(seed));
        RunInOwnProcess([seed] {
            std::printf("round seed %u\n", seed);
            std::fflush(stdout);
            alarm(60); // a round that hangs ends here, with its seed on record
            driver::SetStallLimit(600000);
            Chaos run(seed);
            chaos = &run;
            run.Run(300);
            run.Finish();
            chaos = nullptr;
        });
        ++rounds;
        if (::testing::Test::HasFailure())
            break;
    } while (std::chrono::steady_clock::now() - start < std::chrono::seconds(budget));
    std::printf("random callbacks: %d rounds\n", rounds);
}

} // namespace
