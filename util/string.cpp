// VLString: Shift_JIS to UTF-8 and back through the system's code-page conversion.
#include "vorla/VLString.h"

#include <cstdlib>

namespace {

// source (NUL-terminated, in code page from) into target (code page to, at most targetSize
// bytes). All or nothing: a malformed source, a character the target code page lacks or a too
// small target gives 0.
int Convert(UINT from, UINT to, const char *source, char *target, int targetSize)
{
    if (!source || !target || targetSize <= 0)
        return 0;
    if (!source[0]) {
        target[0] = '\0';
        return 1;
    }
    // Invalid bytes fail the conversion instead of turning silently into replacement characters.
    const int wideLength = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, source, -1, nullptr, 0);
    WCHAR *wide = wideLength < 1 ? nullptr
                                 : static_cast<WCHAR *>(std::malloc(sizeof(WCHAR) * static_cast<size_t>(wideLength)));
    if (!wide) {
        target[0] = '\0';
        return 0;
    }
    int written = 0;
    if (MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, source, -1, wide, wideLength) == wideLength) {
        if (to == CP_UTF8) {
            written = WideCharToMultiByte(to, 0, wide, -1, target, targetSize, nullptr, nullptr);
        } else {
            // A character without a Shift_JIS form of its own (none at all, or only a look-alike
            // such as a backslash for the yen sign) would become '?'; that fails the whole text.
            BOOL usedDefault = FALSE;
            written = WideCharToMultiByte(to, WC_NO_BEST_FIT_CHARS, wide, -1, target, targetSize, nullptr,
                                          &usedDefault);
            if (usedDefault)
                written = 0;
        }
    }
    std::free(wide);
    if (written > 0)
        return 1;
    // Whatever part was written is no answer; a caller that ignores the result finds no text.
    target[0] = '\0';
    return 0;
}

} // namespace

VLString::VLString() {}

VLString::~VLString() {}

int VLString::ConvSJIS_UTF8(const char *source, char *target, int targetSize)
{
    return Convert(CP_OEMCP, CP_UTF8, source, target, targetSize);
}

int VLString::ConvUTF8_SJIS(const char *source, char *target, int targetSize)
{
    return Convert(CP_UTF8, CP_OEMCP, source, target, targetSize);
}
