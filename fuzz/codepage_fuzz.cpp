// Untrusted bytes through the system's code-page conversions that VLString and the text drawing
// rest on: Shift_JIS (932) and UTF-8 to UTF-16 and back, with exact lengths, too small buffers
// and every flag. Nothing may be read past the given length or written past the given size, a
// length asked for must be the length delivered, and converted text must convert back.
#include "platform/win32.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// UTF-16 text to a code page, checking the size rules on the way; empty when refused. used is
// set when some character had no form in the code page.
std::vector<char> FromWide(UINT page, DWORD flags, const std::vector<WCHAR> &wide, const char *fallback, BOOL *used)
{
    if (wide.empty())
        return {};
    const int length = static_cast<int>(wide.size());
    if (used)
        *used = 2; // neither answer: the call must give one
    const int needed = WideCharToMultiByte(page, flags, wide.data(), length, nullptr, 0, fallback, used);
    if (needed <= 0)
        return {};
    Check(!used || *used == TRUE || *used == FALSE);
    std::vector<char> out(static_cast<size_t>(needed));
    Check(WideCharToMultiByte(page, flags, wide.data(), length, out.data(), needed, fallback, nullptr) == needed);
    if (needed > 1) { // one byte short fails whole
        std::vector<char> tooSmall(static_cast<size_t>(needed - 1));
        Check(WideCharToMultiByte(page, flags, wide.data(), length, tooSmall.data(), needed - 1, fallback, nullptr) == 0);
    }
    return out;
}

// Bytes (length -1: up to their terminator) to UTF-16, checking the size rules; empty when refused.
std::vector<WCHAR> ToWide(UINT page, DWORD flags, const char *bytes, int length)
{
    const int needed = MultiByteToWideChar(page, flags, bytes, length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::vector<WCHAR> out(static_cast<size_t>(needed));
    Check(MultiByteToWideChar(page, flags, bytes, length, out.data(), needed) == needed);
    if (needed > 1) {
        std::vector<WCHAR> tooSmall(static_cast<size_t>(needed - 1));
        Check(MultiByteToWideChar(page, flags, bytes, length, tooSmall.data(), needed - 1) == 0);
    }
    return out;
}

} // namespace

// The first byte chooses the code page and the flags; the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 4096)
        return 0;
    const uint8_t control = data[0];
    const bool utf8 = control & 1;
    const UINT page = utf8 ? CP_UTF8 : ((control & 2) ? 932 : CP_OEMCP);
    const bool strict = control & 4;
    const DWORD decodeFlags = (strict ? MB_ERR_INVALID_CHARS : 0) | (!utf8 && (control & 32) ? MB_PRECOMPOSED : 0);
    // An exactly sized copy without a terminator: a read past the length is an error the
    // sanitizer sees.
    std::vector<char> bytes(data + 1, data + size);
    const int length = static_cast<int>(bytes.size());

    const std::vector<WCHAR> wide = ToWide(page, decodeFlags, bytes.data(), length);
    if (std::memchr(bytes.data(), '\0', bytes.size()))
        ToWide(page, decodeFlags, bytes.data(), -1);
    if (!strict)
        Check(!wide.empty()); // undecodable bytes are replaced, never refused

    // The same bytes taken as UTF-16 of their own, lone surrogates and all, out to both pages.
    std::vector<WCHAR> units(bytes.size() / 2);
    if (!units.empty())
        std::memcpy(units.data(), bytes.data(), units.size() * sizeof(WCHAR));
    FromWide(CP_UTF8, strict ? WC_ERR_INVALID_CHARS : 0, units, nullptr, nullptr);
    const char fallback[] = {static_cast<char>((control & 0x80) ? 0x82 : '*'), static_cast<char>(control | 0x40), 0};
    BOOL used = FALSE;
    FromWide(932, strict ? WC_NO_BEST_FIT_CHARS : 0, units, (control & 8) ? fallback : nullptr,
             (control & 16) ? &used : nullptr);

    if (!strict || wide.empty())
        return 0;
    // Text that decoded without a replacement converts back: UTF-8 to the very same bytes, and
    // Shift_JIS to bytes that decode to the same characters (code page 932 has a few characters
    // twice and gives back one form of them).
    if (utf8) {
        const std::vector<char> back = FromWide(CP_UTF8, WC_ERR_INVALID_CHARS, wide, nullptr, nullptr);
        Check(back == bytes);
    } else {
        const std::vector<char> back = FromWide(page, WC_NO_BEST_FIT_CHARS, wide, nullptr, &used);
        Check(!back.empty() && used == FALSE);
        Check(ToWide(page, MB_ERR_INVALID_CHARS, back.data(), static_cast<int>(back.size())) == wide);
    }
    return 0;
}
