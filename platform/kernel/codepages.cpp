// Code-page conversion: MultiByteToWideChar and WideCharToMultiByte over iconv. The system's
// code page (CP_ACP, CP_OEMCP) is 932 here; CP_UTF8 is UTF-8; wide text is UTF-16.
#include "platform/win32.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>

namespace {

const char *IconvName(UINT page) {
    switch (page) {
    case CP_ACP:
    case CP_OEMCP:
    case 932: return "CP932";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
    }
}

class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can into out. Returns 0 when the input is used up, else the errno
    // that stopped it (EILSEQ, EINVAL) with in and left at the offending input.
    int Run(const char *&in, size_t &left, std::string &out) {
        char chunk[1024];
        while (left > 0) {
            char *in_ptr = const_cast<char *>(in);
            char *out_ptr = chunk;
            size_t out_left = sizeof chunk;
            size_t n = iconv(cd_, &in_ptr, &left, &out_ptr, &out_left);
            int error = n == static_cast<size_t>(-1) ? errno : 0;
            out.append(chunk, static_cast<size_t>(out_ptr - chunk));
            in = in_ptr;
            if (error == E2BIG) continue;
            if (error) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return error;
            }
        }
        return 0;
    }

private:
    iconv_t cd_;
};

void AppendUnit(std::string &out, uint16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

// Hands the converted units or bytes to the caller's buffer with Windows' size rules: a zero
// size asks for the length, a too small buffer fails whole.
template <typename Unit>
int Deliver(const std::string &converted, size_t unit_size, Unit *target, int target_size) {
    size_t units = converted.size() / unit_size;
    if (units > 0x7FFFFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (target_size == 0) return static_cast<int>(units);
    if (units > static_cast<size_t>(target_size)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, converted.data(), units * unit_size);
    return static_cast<int>(units);
}

size_t WideLength(LPCWSTR text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

// Whether source[index] starts a high-low surrogate pair within the units given.
bool IsSurrogatePair(LPCWSTR source, size_t index, size_t units) {
    return index + 1 < units && source[index] >= 0xD800 && source[index] <= 0xDBFF && source[index + 1] >= 0xDC00 &&
           source[index + 1] <= 0xDFFF;
}

// The iconv name of a code page when the arguments of a conversion make sense; null (and the
// last error set) otherwise.
const char *CheckedPage(UINT page, const void *source, int source_length, const void *target,
                               int target_size) {
    const char *name = IconvName(page);
    if (!name || !source || source_length == 0 || source_length < -1 || target_size < 0 ||
        (target_size > 0 && !target) || (target && source == target)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return name;
}

} // namespace

extern "C" {

int WINAPI MultiByteToWideChar(UINT page, DWORD flags, LPCSTR source, int source_length, LPWSTR target,
                               int target_size) {
    const char *name = CheckedPage(page, source, source_length, target, target_size);
    if (!name)
        return 0;
    const DWORD allowed = page == CP_UTF8 ? MB_ERR_INVALID_CHARS : (MB_PRECOMPOSED | MB_ERR_INVALID_CHARS);
    if (flags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    size_t left = source_length == -1 ? std::strlen(source) + 1 : static_cast<size_t>(source_length);

    Converter converter("UTF-16LE", name);
    if (!converter.Ok()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string converted;
    const char *in = source;
    while (converter.Run(in, left, converted)) {
        if (flags & MB_ERR_INVALID_CHARS) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
        // Undecodable bytes become the code page's replacement character, one byte at a time.
        AppendUnit(converted, page == CP_UTF8 ? 0xFFFD : 0x30FB);
        ++in;
        --left;
    }
    return Deliver(converted, 2, target, target_size);
}

int WINAPI WideCharToMultiByte(UINT page, DWORD flags, LPCWSTR source, int source_length, LPSTR target,
                               int target_size, LPCSTR default_char, LPBOOL used_default) {
    const char *name = CheckedPage(page, source, source_length, target, target_size);
    if (!name)
        return 0;
    const bool utf8 = page == CP_UTF8;
    if (utf8 && (default_char || used_default)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    if (flags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (used_default) *used_default = FALSE;
    size_t units = source_length == -1 ? WideLength(source) + 1 : static_cast<size_t>(source_length);

    // The default character of code page 932 is '?'; a given one is one (possibly double-byte)
    // character.
    std::string fallback = "?";
    if (default_char && default_char[0]) {
        const unsigned char lead = static_cast<unsigned char>(default_char[0]);
        const bool double_byte = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && default_char[1];
        fallback.assign(default_char, double_byte ? 2 : 1);
    }

    Converter converter(name, "UTF-16LE");
    if (!converter.Ok()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string bytes(units * 2, '\0');
    for (size_t i = 0; i < units; ++i) {
        bytes[2 * i] = static_cast<char>(source[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(source[i] >> 8);
    }
    std::string converted;
    if (!utf8 && (flags & WC_NO_BEST_FIT_CHARS)) {
        // Only characters whose bytes read back as themselves count; the code page's look-alikes
        // (the yen sign as a backslash, the wave dash as the full-width tilde) and characters
        // it lacks become the default character.
        Converter back("UTF-16LE", name);
        if (!back.Ok()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        // Most texts hold none of them: a whole text that reads back unchanged is exact.
        {
            const char *in = bytes.data();
            size_t left = bytes.size();
            std::string decoded;
            if (converter.Run(in, left, converted) == 0) {
                in = converted.data();
                left = converted.size();
                if (back.Run(in, left, decoded) == 0 && decoded == bytes)
                    return Deliver(converted, 1, target, target_size);
            }
            converted.clear();
        }
        for (size_t i = 0; i < units;) {
            const size_t count = IsSurrogatePair(source, i, units) ? 2 : 1;
            const std::string original = bytes.substr(2 * i, 2 * count);
            std::string encoded, decoded;
            const char *in = original.data();
            size_t left = original.size();
            bool exact = converter.Run(in, left, encoded) == 0;
            if (exact) {
                in = encoded.data();
                left = encoded.size();
                exact = back.Run(in, left, decoded) == 0 && decoded == original;
            }
            if (exact) {
                converted += encoded;
            } else {
                converted += fallback;
                if (used_default) *used_default = TRUE;
            }
            i += count;
        }
        return Deliver(converted, 1, target, target_size);
    }
    const char *in = bytes.data();
    size_t left = bytes.size();
    while (converter.Run(in, left, converted)) {
        // A lone surrogate or a character the code page lacks.
        if (utf8 && (flags & WC_ERR_INVALID_CHARS)) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
        size_t index = static_cast<size_t>(in - bytes.data()) / 2;
        size_t skip = IsSurrogatePair(source, index, units) ? 2 : 1;
        if (utf8) {
            converted += "\xEF\xBF\xBD";
        } else {
            converted += fallback;
            if (used_default) *used_default = TRUE;
        }
        skip = std::min(skip * 2, left);
        in += skip;
        left -= skip;
    }
    return Deliver(converted, 1, target, target_size);
}

} // extern "C"
