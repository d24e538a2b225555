// Untrusted CP932 bytes through measuring and drawing: nothing may read past the text, and the
// measured width must be the width DrawTextA lays out.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Target {
    HDC dc = nullptr;
    Target() {
        vorla::testing::Reset();
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        SelectObject(dc, CreateCompatibleBitmap(screen, 64, 24));
        ReleaseDC(nullptr, screen);
        const char gothic[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
        SelectObject(dc, CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, gothic));
    }
};

} // namespace

// fontconfig keeps its configuration for the life of the process; that is not a leak of ours.
// Built in, so the target runs clean without the project's suppression file.
extern "C" __attribute__((visibility("default"))) const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Target target;
    if (size < 1 || size > 4096) return 0;
    UINT format = data[0] & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_SINGLELINE);
    // An exactly sized copy, so a read past the length is an error the sanitizer sees.
    std::vector<char> text(data + 1, data + size);
    int length = static_cast<int>(text.size());
    const char *bytes = text.empty() ? "" : text.data();

    SIZE extent{};
    if (!GetTextExtentPoint32A(target.dc, bytes, length, &extent)) __builtin_trap();
    if (extent.cx < 0 || extent.cx > length * 12) __builtin_trap();
    TextOutA(target.dc, -3, 2, bytes, length);
    RECT rect{-5, -2, 60, 30};
    DrawTextA(target.dc, bytes, length, &rect, format);

    RECT measured{0, 0, 0, 0};
    DrawTextA(target.dc, bytes, length, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (measured.right != extent.cx) __builtin_trap();

    std::vector<char> terminated(text);
    terminated.push_back('\0');
    RECT whole{0, 0, 64, 24};
    DrawTextA(target.dc, terminated.data(), -1, &whole, format);
    return 0;
}
