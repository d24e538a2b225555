// The clipboard, global memory and the input method as programs use them: ownership of blocks,
// who may change the clipboard, text other programs put there, and composition results.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace t = vorla::testing;

namespace {

// A text block the way programs hand one to the clipboard: movable, with room to spare.
HGLOBAL TextBlock(const std::string &text, SIZE_T spare = 16) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + spare);
    if (!block) return nullptr;
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + (spare ? 1 : 0));
    GlobalUnlock(block);
    return block;
}

// Opens the clipboard, hands it a block and closes it again; what SetClipboardData returned.
HANDLE Put(HGLOBAL block, UINT format = CF_TEXT) {
    if (!OpenClipboard(nullptr)) return nullptr;
    HANDLE kept = SetClipboardData(format, block);
    CloseClipboard();
    return kept;
}

std::string ReadClipboard() {
    if (!OpenClipboard(nullptr)) return "<not opened>";
    std::string text;
    HANDLE block = GetClipboardData(CF_TEXT);
    if (block) {
        const char *bytes = static_cast<const char *>(GlobalLock(block));
        if (bytes) text.assign(bytes, strnlen(bytes, GlobalSize(block)));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

class GlobalMemory : public ::testing::Test {
protected:
    void SetUp() override { t::Reset(); }
};

using Clipboard = GlobalMemory;

TEST_F(GlobalMemory, MovableBlocksLockCountAndFixedOnesAreTheirOwnAddress) {
    HGLOBAL block = GlobalAlloc(GHND, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 100u);
    char *first = static_cast<char *>(GlobalLock(block));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(static_cast<void *>(first), static_cast<void *>(block)) << "a movable block is reached through its lock";
    EXPECT_EQ(std::string(first, 100), std::string(100, '\0')) << "zero-initialised";
    EXPECT_EQ(GlobalLock(block), first);
    EXPECT_EQ(GlobalHandle(first), block);
    EXPECT_TRUE(GlobalUnlock(block)) << "still locked once";
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "the last unlock is no failure";
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(block), nullptr);

    HGLOBAL fixed = GlobalAlloc(GPTR, 8);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalLock(fixed), static_cast<void *>(fixed));
    EXPECT_TRUE(GlobalUnlock(fixed));
    std::memcpy(fixed, "1234567", 8);
    EXPECT_EQ(GlobalSize(fixed), 8u);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST_F(GlobalMemory, HostileCallsFailInsteadOfCrashing) {
    HGLOBAL bogus = reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x1234));
    EXPECT_EQ(GlobalLock(bogus), nullptr);
    EXPECT_EQ(GlobalSize(bogus), 0u);
    EXPECT_FALSE(GlobalUnlock(bogus));
    EXPECT_EQ(GlobalFree(bogus), bogus) << "failure gives the handle back";
    EXPECT_EQ(GlobalFree(nullptr), nullptr);

    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(-1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalAlloc(0x8000, 4), nullptr) << "no such flag";
    HGLOBAL hinted = GlobalAlloc(GMEM_MOVEABLE | 0x0020 /* no discarding */, 4);
    EXPECT_NE(hinted, nullptr) << "old heap hints are taken and ignored";
    GlobalFree(hinted);

    // A movable block of no bytes exists but has nothing to lock.
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalFree(empty), nullptr);

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    ASSERT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block) << "a block is freed once";
    EXPECT_EQ(GlobalLock(block), nullptr) << "a freed handle reaches nothing";
}

TEST_F(Clipboard, TextGoesToTheClipboardWithItsBlockAndReplacingFreesTheOld) {
    HGLOBAL block = TextBlock("abc");
    EXPECT_EQ(Put(block), block);
    EXPECT_EQ(t::ClipboardText(), "abc");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE got = GetClipboardData(CF_TEXT);
    EXPECT_EQ(got, block) << "the program reads back the block it handed over";
    EXPECT_EQ(GlobalSize(got), 3u + 16u) << "the block's size, not the string's";
    CloseClipboard();
    // The block is the clipboard's now: the program cannot free it from under it.
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(ReadClipboard(), "abc");

    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL second = TextBlock("second");
    EXPECT_EQ(SetClipboardData(CF_TEXT, second), second);
    EXPECT_EQ(GlobalSize(block), 0u) << "the clipboard let go of the text it replaced";
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(second), 0u) << "emptying frees what the clipboard held";
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(t::ClipboardText(), "");
}

TEST_F(Clipboard, TextFromAnotherProgramArrivesInABlockOfItsOwn) {
    t::SetClipboardText("\x93\xfa\x96\x7b x"); // "日本 x"
    EXPECT_EQ(ReadClipboard(), "\x93\xfa\x96\x7b x");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GlobalSize(GetClipboardData(CF_TEXT)), 7u) << "the text and its terminator";
    CloseClipboard();

    // Bytes are kept as they are: no line-end conversion.
    t::SetClipboardText("a\r\nb");
    EXPECT_EQ(ReadClipboard(), "a\r\nb");

    // A block without a terminator hands over its bytes and no more.
    HGLOBAL raw = TextBlock("xyz", 0);
    EXPECT_EQ(Put(raw), raw);
    EXPECT_EQ(t::ClipboardText(), "xyz");
}

TEST_F(Clipboard, OnlyTheThreadThatOpenedItMayChangeItAndOnlyWithWhatItCanKeep) {
    HGLOBAL block = TextBlock("mine");
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr) << "closed clipboard";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(nullptr));
    bool other_opened = true, other_set = true, other_closed = true;
    std::thread other([&] {
        HGLOBAL theirs = TextBlock("theirs");
        other_opened = OpenClipboard(nullptr) != 0;
        other_set = SetClipboardData(CF_TEXT, theirs) != nullptr;
        other_closed = CloseClipboard() != 0;
        GlobalFree(theirs);
    });
    other.join();
    EXPECT_FALSE(other_opened);
    EXPECT_FALSE(other_set);
    EXPECT_FALSE(other_closed) << "another thread cannot close it for us";
    // Nothing, a bogus handle or a format it cannot keep is refused.
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x2468))), nullptr);
    EXPECT_EQ(SetClipboardData(2 /* a bitmap */, block), nullptr);
    EXPECT_EQ(GetClipboardData(2), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GlobalFree(block), nullptr) << "a refused block stays the caller's";
    EXPECT_EQ(t::ClipboardText(), "");

    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4444)))) << "no such window";
}

TEST_F(Clipboard, AThreadOrWindowThatGoesAwayLeavesItClosed) {
    std::thread forgetful([] { OpenClipboard(nullptr); });
    forgetful.join();
    EXPECT_TRUE(OpenClipboard(nullptr)) << "the thread ended with the clipboard open";
    EXPECT_TRUE(CloseClipboard());

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "ClipboardOwner";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND window = CreateWindowExA(0, "ClipboardOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(GetOpenClipboardWindow(), window);
    EXPECT_FALSE(OpenClipboard(nullptr)) << "open for another window";
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), window) << "emptying makes the opening window the owner";
    DestroyWindow(window);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_TRUE(OpenClipboard(nullptr)) << "the destroyed window's clipboard was closed";
    EXPECT_TRUE(CloseClipboard());
}

// ---- the input method ----

std::vector<UINT> g_ime_messages;
std::string g_result_seen;

LRESULT CALLBACK ImeWindow(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_COMPOSITION) {
        g_ime_messages.push_back(message);
        if (message == WM_IME_COMPOSITION && (lparam & GCS_RESULTSTR)) {
            HIMC context = ImmGetContext(hwnd);
            char buffer[256] = {};
            LONG n = ImmGetCompositionStringA(context, GCS_RESULTSTR, buffer, 255);
            if (n >= 0) g_result_seen.assign(buffer, static_cast<size_t>(n));
            ImmReleaseContext(hwnd, context);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

class InputMethod : public ::testing::Test {
protected:
    void SetUp() override {
        t::Reset();
        g_ime_messages.clear();
        g_result_seen.clear();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ImeWindow;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = "ImeTest";
        ASSERT_NE(RegisterClassExA(&wc), 0);
        window_ = CreateWindowExA(0, "ImeTest", "ime", WS_POPUP | WS_CAPTION, 30, 40, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ShowWindow(window_, SW_SHOW);
        t::Pump();
        context_ = ImmCreateContext();
        ASSERT_NE(context_, nullptr);
    }
    HWND window_ = nullptr;
    HIMC context_ = nullptr;
};

TEST_F(InputMethod, AContextBelongsToTheWindowsItIsAssociatedWith) {
    EXPECT_EQ(ImmGetContext(window_), nullptr);
    EXPECT_EQ(ImmAssociateContext(window_, context_), nullptr) << "no context before";
    EXPECT_EQ(ImmGetContext(window_), context_);
    EXPECT_TRUE(ImmReleaseContext(window_, context_));

    HIMC second = ImmCreateContext();
    EXPECT_EQ(ImmAssociateContext(window_, second), context_) << "gives back the one it replaces";
    EXPECT_TRUE(ImmDestroyContext(second));
    EXPECT_EQ(ImmGetContext(window_), nullptr) << "a destroyed context leaves its windows";
    EXPECT_FALSE(ImmDestroyContext(second)) << "destroyed once";
    EXPECT_EQ(ImmAssociateContext(window_, second), nullptr) << "a stale context is not associated";

    ASSERT_EQ(ImmAssociateContext(window_, context_), nullptr);
    DestroyWindow(window_);
    EXPECT_EQ(ImmGetContext(window_), nullptr);
    EXPECT_TRUE(ImmDestroyContext(context_)) << "the context outlives the window it served";
    EXPECT_EQ(ImmAssociateContext(nullptr, context_), nullptr);
}

TEST_F(InputMethod, OpenStatusFontAndWindowAreKeptPerContextEvenAtTheEndsOfTheRange) {
    EXPECT_FALSE(ImmGetOpenStatus(context_)) << "a new context is closed";
    EXPECT_TRUE(ImmSetOpenStatus(context_, TRUE));
    EXPECT_TRUE(ImmGetOpenStatus(context_));
    EXPECT_FALSE(ImmGetOpenStatus(ImmCreateContext()));

    LOGFONTA font{};
    font.lfHeight = INT32_MIN;
    std::strcpy(font.lfFaceName, "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_TRUE(ImmSetCompositionFontA(context_, &font));
    LOGFONTA back{};
    EXPECT_TRUE(ImmGetCompositionFontA(context_, &back));
    EXPECT_EQ(back.lfHeight, INT32_MIN);
    EXPECT_STREQ(back.lfFaceName, font.lfFaceName);

    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    COMPOSITIONFORM got{};
    for (POINT p : {POINT{INT32_MIN, INT32_MIN}, POINT{INT32_MAX, INT32_MIN}, POINT{44, 8}}) {
        form.ptCurrentPos = p;
        EXPECT_TRUE(ImmSetCompositionWindow(context_, &form));
        EXPECT_TRUE(ImmGetCompositionWindow(context_, &got));
        EXPECT_EQ(got.dwStyle, static_cast<DWORD>(CFS_POINT));
        EXPECT_EQ(got.ptCurrentPos.x, p.x);
        EXPECT_EQ(got.ptCurrentPos.y, p.y);
    }

    // Without a context, or without somewhere to write, nothing happens.
    EXPECT_FALSE(ImmSetOpenStatus(nullptr, TRUE));
    EXPECT_FALSE(ImmGetOpenStatus(nullptr));
    EXPECT_FALSE(ImmSetCompositionFontA(context_, nullptr));
    EXPECT_FALSE(ImmGetCompositionWindow(nullptr, &got));
    HIMC bogus = reinterpret_cast<HIMC>(static_cast<uintptr_t>(0x5678));
    EXPECT_FALSE(ImmSetCompositionWindow(bogus, &form));
    EXPECT_EQ(ImmGetCompositionStringA(bogus, GCS_RESULTSTR, nullptr, 0), -1);
}

TEST_F(InputMethod, AResultArrivesBetweenStartAndEndOfComposition) {
    ASSERT_EQ(ImmAssociateContext(window_, context_), nullptr);
    t::SetImeOpen(window_, true);
    EXPECT_TRUE(ImmGetOpenStatus(context_));

    t::ImeCompose("\x93\xfa\x96\x7b\x8c\xea"); // "日本語"
    EXPECT_EQ(g_ime_messages, (std::vector<UINT>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}));
    EXPECT_EQ(g_result_seen, "\x93\xfa\x96\x7b\x8c\xea");

    // The size asked with no buffer; a short buffer gets what fits and nothing past it.
    EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_RESULTSTR, nullptr, 0), 6);
    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_RESULTSTR, small, 4), 4);
    EXPECT_EQ(std::string(small, 5), "\x93\xfa\x96\x7b#") << "no terminator is written past the size given";
    EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_COMPSTR, nullptr, 0), 0) << "nothing is being composed";
    EXPECT_EQ(ImmGetCompositionStringA(context_, 0x1234, small, 8), -1) << "no such string";

    // A long result: the window asks for 255 bytes and gets no more.
    std::string longest(300, 'k');
    t::ImeCompose(longest.c_str());
    EXPECT_EQ(g_result_seen, longest.substr(0, 255));
    EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_RESULTSTR, nullptr, 0), 300);
}

} // namespace
