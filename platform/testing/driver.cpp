// The test driver: input as a user gives it, the virtual clock, scripted actions inside message
// loops, and pictures of windows and the screen.
#include "platform/testing/driver.h"

#include "backend/headless/headless.h"
#include "internal/system.h"
#include "internal/kernel.h"

#include <cstdio>
#include <cstdlib>
#include <deque>

namespace vorla::platform {
bool WritePng(const std::string &path, const uint32_t *pixels, int width, int height, int stride);
bool ReadPng(const std::string &path, std::vector<uint32_t> &pixels, int &width, int &height);
void ComposeScreen(std::vector<uint32_t> &pixels, int &width, int &height);

namespace {
bool g_recording = false;
std::vector<testing::MessageRecord> g_recorded;
} // namespace

void RecordMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (g_recording) g_recorded.push_back(testing::MessageRecord{window, message, wparam, lparam});
}

} // namespace vorla::platform

namespace vorla::testing {

using namespace vorla::platform;

namespace {

std::deque<std::function<void()>> g_scripts;
int g_idle_depth = 0;
std::vector<MessageBoxRecord> g_message_boxes;
uint32_t g_stall_limit = 60000;

HeadlessBackend &Headless() {
    HeadlessBackend *h = CurrentHeadless();
    if (!h) {
        std::fprintf(stderr, "VorlaLib test driver: the headless backend is not running\n");
        std::abort();
    }
    return *h;
}

bool RunScript() {
    if (g_scripts.empty()) return false;
    std::function<void()> action = std::move(g_scripts.front());
    g_scripts.pop_front();
    ++g_idle_depth;
    action();
    --g_idle_depth;
    return true;
}

void Deliver(const InputEvent &e) {
    System &s = TheSystem();
    {
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        s.input.push_back(e);
    }
    Headless().NoteProgress();
    // Inside a scripted action the running loop picks the input up itself.
    if (g_idle_depth == 0) Pump();
}

void PointerEvent(InputEvent::Kind kind, Button button) {
    InputEvent e;
    e.kind = kind;
    e.x = TheSystem().cursor.x;
    e.y = TheSystem().cursor.y;
    e.button = static_cast<int>(button);
    Deliver(e);
}

void InstallFresh(int w, int h) {
    if (w <= 0 || h <= 0) {
        w = 1024;
        h = 768;
        if (const char *screen = std::getenv("VORLA_SCREEN")) std::sscanf(screen, "%dx%d", &w, &h);
    }
    auto backend = std::make_unique<HeadlessBackend>(w, h);
    backend->SetIdlePolicy(HeadlessBackend::IdlePolicy::Fail, g_stall_limit);
    backend->SetIdleAction(RunScript);
    backend->on_message_box = [](const std::string &text, const std::string &caption, unsigned style,
                                 uintptr_t owner_surface) {
        HWND owner = nullptr;
        for (auto &entry : TheSystem().windows)
            if (owner_surface && entry.second->surface == owner_surface) owner = entry.second->handle;
        g_message_boxes.push_back(MessageBoxRecord{owner, text, caption, style});
    };
    InstallBackend(std::move(backend));
}

} // namespace

int Image::Count(uint32_t colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = std::max(0, top); y < std::min(height, bottom); ++y)
        for (int x = std::max(0, left); x < std::min(width, right); ++x)
            if (At(x, y) == colour) n++;
    return n;
}

bool Image::WritePng(const std::string &path) const {
    return vorla::platform::WritePng(path, pixels.data(), width, height, width);
}

bool Image::ReadPng(const std::string &path, Image &out) {
    return vorla::platform::ReadPng(path, out.pixels, out.width, out.height);
}

void Reset(int screen_width, int screen_height) {
    g_scripts.clear();
    g_idle_depth = 0;
    g_message_boxes.clear();
    g_recorded.clear();
    g_recording = false;
    g_stall_limit = 60000;
    ResetSystem();
    ResetGdi();
    ResetScriptedDialogs();
    ResetKernelState();
    InstallFresh(screen_width, screen_height);
}

void SetSystemMetric(int index, int value) { TheSystem().metrics[index] = value; }

POINT ClientPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

POINT CaptionPoint(HWND window) {
    Window *w = FindWindow(window);
    if (!w) return POINT{-1, -1};
    int top = w->window_box.top, caption_bottom = w->client_box.top;
    return POINT{w->window_box.left + 8, top + (caption_bottom - top) / 2 + 1};
}

POINT CloseBoxPoint(HWND window) {
    Window *w = FindWindow(window);
    if (!w) return POINT{-1, -1};
    Box b = CloseBoxOf(*w);
    if (b.Empty()) return POINT{-1, -1};
    return POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
}

void MoveTo(int x, int y) {
    InputEvent e;
    e.kind = InputEvent::Kind::PointerMove;
    e.x = x;
    e.y = y;
    TheSystem().cursor = POINT{x, y};
    Deliver(e);
}

void MoveTo(HWND window, int x, int y) {
    POINT p = ClientPoint(window, x, y);
    MoveTo(p.x, p.y);
}

void Press(Button button) { PointerEvent(InputEvent::Kind::ButtonDown, button); }

void Wheel(int notches) {
    InputEvent e;
    e.kind = InputEvent::Kind::Wheel;
    e.x = TheSystem().cursor.x;
    e.y = TheSystem().cursor.y;
    e.wheel = notches * WHEEL_DELTA;
    Deliver(e);
}
void Release(Button button) { PointerEvent(InputEvent::Kind::ButtonUp, button); }

void Click(int x, int y, Button button) {
    MoveTo(x, y);
    Press(button);
    Release(button);
}

void Click(HWND window, int x, int y, Button button) {
    POINT p = ClientPoint(window, x, y);
    Click(p.x, p.y, button);
}

void DoubleClick(int x, int y, Button button) {
    Click(x, y, button);
    Click(x, y, button);
}

void DoubleClick(HWND window, int x, int y, Button button) {
    POINT p = ClientPoint(window, x, y);
    DoubleClick(p.x, p.y, button);
}

void Drag(HWND window, int from_x, int from_y, int to_x, int to_y) {
    MoveTo(window, from_x, from_y);
    Press();
    int steps = 4;
    for (int i = 1; i <= steps; ++i)
        MoveTo(window, from_x + (to_x - from_x) * i / steps, from_y + (to_y - from_y) * i / steps);
    Release();
}

void ClickCloseBox(HWND window) {
    POINT p = CloseBoxPoint(window);
    Click(p.x, p.y);
}

void KeyDown(int virtual_key, int repeat) {
    InputEvent e;
    e.kind = InputEvent::Kind::KeyDown;
    e.virtual_key = virtual_key;
    e.repeat = repeat;
    Deliver(e);
}

void KeyUp(int virtual_key) {
    InputEvent e;
    e.kind = InputEvent::Kind::KeyUp;
    e.virtual_key = virtual_key;
    Deliver(e);
}

void PressKey(int virtual_key) {
    KeyDown(virtual_key);
    KeyUp(virtual_key);
}

void PressKeyWith(std::initializer_list<int> modifiers, int virtual_key, int repeat) {
    for (int modifier : modifiers) KeyDown(modifier);
    KeyDown(virtual_key, repeat);
    KeyUp(virtual_key);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) KeyUp(*it);
}

void TypeText(const char *cp932) {
    if (!cp932) return;
    InputEvent e;
    e.kind = InputEvent::Kind::Text;
    e.text = cp932;
    Deliver(e);
}

void SetToggle(int virtual_key, bool on) {
    BYTE &k = TheSystem().key_state[virtual_key & 0xFF];
    if (on) k |= 0x01;
    else k &= static_cast<BYTE>(~0x01);
}

void SetImeOpen(HWND window, bool open) { ImmSetOpenStatus(ImmGetContext(window), open ? TRUE : FALSE); }

void ImeCompose(const char *cp932_result) {
    System &s = TheSystem();
    HWND target = s.focus ? s.focus : s.active;
    if (!target || !cp932_result) return;
    HIMC context = ImmGetContext(target);
    auto it = s.input_contexts.find(reinterpret_cast<uintptr_t>(context));
    if (it != s.input_contexts.end()) it->second.result = cp932_result;
    PostMessageA(target, WM_IME_STARTCOMPOSITION, 0, 0);
    PostMessageA(target, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    PostMessageA(target, WM_IME_ENDCOMPOSITION, 0, 0);
    Headless().NoteProgress();
    if (g_idle_depth == 0) Pump();
}

uint64_t Now() { return CurrentBackend().Now(); }

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam)); // leave it for the loop that waits for it
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    PresentAll();
}

void Advance(uint32_t ms) {
    HeadlessBackend &h = Headless();
    uint64_t target = h.Now() + ms;
    for (;;) {
        Pump();
        uint64_t next = NextTimerDue(GetCurrentThreadId());
        if (next > target) break;
        if (next > h.Now()) h.SetNow(next);
        // Fire what is due now, then look again.
        Pump();
        if (NextTimerDue(GetCurrentThreadId()) <= h.Now()) continue;
    }
    h.SetNow(target);
    Pump();
    h.NoteProgress();
}

void OnIdle(std::function<void()> action) {
    g_scripts.push_back(std::move(action));
}

void SetStallLimit(uint32_t ms) {
    g_stall_limit = ms;
    Headless().SetIdlePolicy(HeadlessBackend::IdlePolicy::Fail, ms);
}

Image Snapshot(HWND window) {
    Image image;
    Window *w = FindWindow(window);
    WindowTarget target;
    if (!w || !ResolveWindowTarget(window, target) || !target.framebuffer) return image;
    image.width = w->client_box.Width();
    image.height = w->client_box.Height();
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    const Framebuffer &fb = *target.framebuffer;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            int fx = x + target.origin_x, fy = y + target.origin_y;
            if (fx >= 0 && fy >= 0 && fx < fb.width && fy < fb.height)
                image.pixels[static_cast<size_t>(y) * image.width + x] = fb.pixels[static_cast<size_t>(fy) * fb.width + fx];
        }
    return image;
}

Image SnapshotScreen() {
    Image img;
    ComposeScreen(img.pixels, img.width, img.height);
    return img;
}

bool MatchesGoldenIn(const char *folder, const Image &image, const std::string &name, std::string *message) {
    std::string dir;
    if (const char *env = std::getenv("VORLA_GOLDEN_DIR")) dir = env;
    if (dir.empty() && folder) dir = folder;
    if (dir.empty()) dir = "golden";
    std::string path = dir + "/" + name + ".png";
    const char *update = std::getenv("VORLA_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        bool ok = image.WritePng(path);
        if (!ok && message) *message = "could not write " + path;
        return ok;
    }
    Image golden;
    if (!Image::ReadPng(path, golden)) {
        if (message) *message = "no golden picture " + path + " (VORLA_UPDATE_GOLDENS=1 writes it)";
        return false;
    }
    std::string actual = name + ".actual.png";
    if (golden.width != image.width || golden.height != image.height) {
        image.WritePng(actual);
        if (message)
            *message = "size " + std::to_string(image.width) + "x" + std::to_string(image.height) + " differs from " +
                       std::to_string(golden.width) + "x" + std::to_string(golden.height) + " of " + path +
                       "; actual written to " + actual;
        return false;
    }
    int differ = 0, fx = -1, fy = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) != golden.At(x, y)) {
                if (differ++ == 0) {
                    fx = x;
                    fy = y;
                }
            }
    if (differ == 0) return true;
    image.WritePng(actual);
    if (message) {
        char text[256];
        std::snprintf(text, sizeof text, "%d pixels differ from %s, first at (%d, %d): %06X instead of %06X", differ,
                      path.c_str(), fx, fy, image.At(fx, fy), golden.At(fx, fy));
        *message = std::string(text) + "; actual written to " + actual;
    }
    return false;
}

std::vector<HWND> TopLevelWindows() { return TheSystem().z_order; }

bool IsShown(HWND window) { return IsWindowVisible(window) != FALSE; }
HWND ActiveWindow() { return TheSystem().active; }
HWND CaptureWindow() { return TheSystem().capture; }

std::vector<std::string> RegisteredClasses() {
    std::vector<std::string> out;
    for (auto &entry : TheSystem().classes) out.push_back(entry.second->name);
    return out;
}

size_t LiveOpenGLContexts() { return LiveGlContexts(); }

std::vector<TimerInfo> Timers() {
    std::vector<TimerInfo> out;
    for (const Timer &t : TheSystem().timers) out.push_back(TimerInfo{t.window, t.id, t.interval, t.due});
    return out;
}

RECT InvalidRect(HWND window) {
    RECT r{0, 0, 0, 0};
    GetUpdateRect(window, &r, FALSE);
    return r;
}

CursorShown ShownCursor() {
    HeadlessBackend &h = Headless();
    CursorShown shown;
    shown.handle = TheSystem().cursor_shape;
    shown.system_shape = h.PointerShape();
    shown.width = h.PointerWidth();
    shown.height = h.PointerHeight();
    shown.hot_x = h.PointerHotX();
    shown.hot_y = h.PointerHotY();
    shown.and_plane = h.PointerAndPlane();
    shown.xor_plane = h.PointerXorPlane();
    return shown;
}

std::string ClipboardText() { return Headless().Clipboard(); }
void SetClipboardText(const std::string &cp932) { Headless().SetClipboardText(cp932); }

std::vector<MessageBoxRecord> MessageBoxes() { return g_message_boxes; }
void AnswerMessageBox(int answer) { Headless().SetMessageBoxAnswer(answer); }

void RecordMessages(bool on) {
    vorla::platform::g_recording = on;
    if (on) vorla::platform::g_recorded.clear();
}

std::vector<MessageRecord> RecordedMessages() {
    std::vector<MessageRecord> out;
    out.swap(vorla::platform::g_recorded);
    return out;
}

} // namespace vorla::testing
