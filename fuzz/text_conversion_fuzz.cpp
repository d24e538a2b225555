// Untrusted bytes through both text conversions: nothing may be read past the text or written
// past the target, a success leaves a terminated text inside the target, and a text converted
// one way converts back.
#include <vorla/VLString.h>

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 8192)
        return 0;
    const bool fromShiftJis = data[0] & 1;
    const int targetSize = 1 + data[1] * 4;
    // An exactly sized, terminated copy: a read past the terminator is an error the sanitizer sees.
    std::vector<char> source(data + 2, data + size);
    source.push_back('\0');
    std::vector<char> target(static_cast<size_t>(targetSize));

    VLString string;
    const int ok = fromShiftJis ? string.ConvSJIS_UTF8(source.data(), target.data(), targetSize)
                                : string.ConvUTF8_SJIS(source.data(), target.data(), targetSize);
    if (!ok)
        return 0;
    if (!std::memchr(target.data(), '\0', target.size()))
        __builtin_trap();

    std::vector<char> back(4 * size + 8);
    const int again = fromShiftJis ? string.ConvUTF8_SJIS(target.data(), back.data(), static_cast<int>(back.size()))
                                   : string.ConvSJIS_UTF8(target.data(), back.data(), static_cast<int>(back.size()));
    if (!again)
        __builtin_trap();
    return 0;
}
