// The test driver: a user's hands and eyes on the headless screen. Tests press, move, type and
// wait through it, then look at callbacks, state and pixels. Headless backend only.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#ifdef _WIN32
#error "the test driver exists only in the headless window system"
#endif

namespace vorla::testing {

#define VORLA_TESTING_API __attribute__((visibility("default")))

enum class Button { Left = 0, Right = 1, Middle = 2 };

// A captured picture: 0x00RRGGBB pixels, rows top first.
struct VORLA_TESTING_API Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Empty() const { return width <= 0 || height <= 0; }
    // Number of pixels equal to colour (0x00RRGGBB) inside [left, right) x [top, bottom).
    int Count(uint32_t colour, int left, int top, int right, int bottom) const;
    bool WritePng(const std::string &path) const;
    static bool ReadPng(const std::string &path, Image &out);
};

// ---- the whole window system ----
// Throws away every window, class, timer, queue and input state, installs a fresh headless
// backend with the given screen (0, 0: VORLA_SCREEN or 1024x768) and a virtual clock at 0.
VORLA_TESTING_API void Reset(int screen_width = 0, int screen_height = 0);
VORLA_TESTING_API void SetSystemMetric(int index, int value);

// ---- pointer ----
VORLA_TESTING_API POINT ClientPoint(HWND window, int x, int y); // client point -> screen point
VORLA_TESTING_API POINT CaptionPoint(HWND window);              // a point on the caption text area
VORLA_TESTING_API POINT CloseBoxPoint(HWND window);
VORLA_TESTING_API void MoveTo(int x, int y);
VORLA_TESTING_API void MoveTo(HWND window, int x, int y);
VORLA_TESTING_API void Press(Button button = Button::Left);
VORLA_TESTING_API void Release(Button button = Button::Left);
// Turns the wheel at the pointer: positive notches away from the user (scrolling up).
VORLA_TESTING_API void Wheel(int notches);
VORLA_TESTING_API void Click(int x, int y, Button button = Button::Left);
VORLA_TESTING_API void Click(HWND window, int x, int y, Button button = Button::Left);
VORLA_TESTING_API void DoubleClick(int x, int y, Button button = Button::Left);
VORLA_TESTING_API void DoubleClick(HWND window, int x, int y, Button button = Button::Left);
VORLA_TESTING_API void Drag(HWND window, int from_x, int from_y, int to_x, int to_y);
VORLA_TESTING_API void ClickCloseBox(HWND window);

// ---- keyboard ----
VORLA_TESTING_API void KeyDown(int virtual_key, int repeat = 1);
VORLA_TESTING_API void KeyUp(int virtual_key);
VORLA_TESTING_API void PressKey(int virtual_key); // down and up
// Holds the modifiers down in order (e.g. {VK_SHIFT, VK_CONTROL}), presses the key with a
// repeat count, releases it, then lets the modifiers go in reverse order.
VORLA_TESTING_API void PressKeyWith(std::initializer_list<int> modifiers, int virtual_key, int repeat = 1);
VORLA_TESTING_API void TypeText(const char *cp932);
VORLA_TESTING_API void SetToggle(int virtual_key, bool on); // VK_CAPITAL, VK_NUMLOCK, VK_SCROLL, VK_INSERT
VORLA_TESTING_API void SetImeOpen(HWND window, bool open);
VORLA_TESTING_API void ImeCompose(const char *cp932_result);

// ---- time ----
VORLA_TESTING_API uint64_t Now();
// Moves the virtual clock forward by ms, firing due timers in order and pumping after each.
VORLA_TESTING_API void Advance(uint32_t ms);
// Handles every message that is ready (input, posted, paint, due timers) without moving the clock.
VORLA_TESTING_API void Pump();
// Runs the action once, the next time a message loop (nested or not) has nothing to do.
VORLA_TESTING_API void OnIdle(std::function<void()> action);
// How much virtual time a loop may spend with nothing but timers before the test fails.
VORLA_TESTING_API void SetStallLimit(uint32_t ms);

// ---- observation ----
VORLA_TESTING_API Image Snapshot(HWND window); // client area
VORLA_TESTING_API Image SnapshotScreen();      // desktop with every shown window, frames included
// Compares with <folder>/<name>.png, the folder being VORLA_GOLDEN_DIR from the environment, else
// the one given; VORLA_UPDATE_GOLDENS=1 rewrites it. On a mismatch the message says where, and the
// actual picture is written beside the build as <name>.actual.png.
VORLA_TESTING_API bool MatchesGoldenIn(const char *folder, const Image &image, const std::string &name,
                                       std::string *message);
// The same with the folder the test program was built with (VORLA_GOLDEN_DIR defined when it is
// compiled), else "golden" in the working directory.
inline bool MatchesGolden(const Image &image, const std::string &name, std::string *message)
{
#ifdef VORLA_GOLDEN_DIR
    return MatchesGoldenIn(VORLA_GOLDEN_DIR, image, name, message);
#else
    return MatchesGoldenIn("golden", image, name, message);
#endif
}

VORLA_TESTING_API std::vector<HWND> TopLevelWindows(); // every existing top-level window, top first
VORLA_TESTING_API bool IsShown(HWND window);
VORLA_TESTING_API HWND ActiveWindow();
VORLA_TESTING_API HWND CaptureWindow();
VORLA_TESTING_API std::vector<std::string> RegisteredClasses();
VORLA_TESTING_API size_t LiveOpenGLContexts(); // made by wglCreateContext and not yet deleted
struct TimerInfo {
    HWND window;
    UINT_PTR id;
    UINT interval;
    uint64_t due;
};
VORLA_TESTING_API std::vector<TimerInfo> Timers();
VORLA_TESTING_API RECT InvalidRect(HWND window); // bounds of the pending update region
// The pointer shape on the screen: a system shape (IDC_ number, 0 for none) or a cursor made from
// planes, with its size, hot spot and word-aligned monochrome AND and XOR rows.
struct CursorShown {
    HCURSOR handle = nullptr;
    int system_shape = 0;
    int width = 0, height = 0, hot_x = 0, hot_y = 0;
    std::vector<uint8_t> and_plane, xor_plane;
    // 1 when a pixel of a plane is set; rows are (width + 15) / 16 * 2 bytes.
    int AndBit(int x, int y) const { return Bit(and_plane, x, y); }
    int XorBit(int x, int y) const { return Bit(xor_plane, x, y); }

private:
    int Bit(const std::vector<uint8_t> &plane, int x, int y) const {
        const size_t row = static_cast<size_t>((width + 15) / 16) * 2;
        return (plane[row * y + x / 8] >> (7 - x % 8)) & 1;
    }
};
VORLA_TESTING_API CursorShown ShownCursor();
// The clipboard's text as another program would see it or put it there (CP932; empty: no text).
VORLA_TESTING_API std::string ClipboardText();
VORLA_TESTING_API void SetClipboardText(const std::string &cp932);
struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
VORLA_TESTING_API std::vector<MessageBoxRecord> MessageBoxes();
VORLA_TESTING_API void AnswerMessageBox(int answer); // the next message box returns this (default IDOK)

// Every message a window procedure received since the last call, in order (for tests of the
// window system itself): records window, message, wParam, lParam.
struct MessageRecord {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};
VORLA_TESTING_API void RecordMessages(bool on);
VORLA_TESTING_API std::vector<MessageRecord> RecordedMessages();

// ---- file dialogs ----
// Each open or save dialog takes the next answer: a chosen path, or a cancel. With none queued
// it is cancelled, as nobody sits at a headless screen.
VORLA_TESTING_API void AnswerFileDialog(const std::string &path);
VORLA_TESTING_API void CancelFileDialog();
struct FileDialogRecord {
    bool save;
    HWND owner;
    std::vector<std::string> filter; // description, pattern, ...
    std::string title;
    std::string initial_dir;
    std::string initial_name; // the file name buffer on entry
    DWORD flags;
    DWORD buffer_size;
};
VORLA_TESTING_API std::vector<FileDialogRecord> FileDialogs(); // every dialog asked for, in order

// ---- processes, modules, local time (until the next Reset) ----
// A directory laid out like /proc (<pid>/stat, status, exe; stat; meminfo) to read instead.
VORLA_TESTING_API void SetProcessRoot(const std::string &directory);
// Takes "psapi.dll" or "kernel32.dll" away from LoadLibraryA, or gives it back.
VORLA_TESTING_API void SetModuleAvailable(const char *name, bool available);
VORLA_TESTING_API void SetLocalTime(const SYSTEMTIME &time); // what GetLocalTime answers

} // namespace vorla::testing
