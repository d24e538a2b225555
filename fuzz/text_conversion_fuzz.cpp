// Untrusted bytes through both text conversions of VLString: nothing may be read past the text or
// written past the target, a success leaves a terminated text inside the target, the result is
// all or nothing (one byte less room fails), and a text converted one way converts back.
#include <vorla/VLString.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

// The first byte chooses the direction, the second the target size; the rest is the text.
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
    auto convert = [&](const char *from, char *to, int toSize) {
        return fromShiftJis ? string.ConvSJIS_UTF8(from, to, toSize) : string.ConvUTF8_SJIS(from, to, toSize);
    };
    auto convertBack = [&](const char *from, char *to, int toSize) {
        return fromShiftJis ? string.ConvUTF8_SJIS(from, to, toSize) : string.ConvSJIS_UTF8(from, to, toSize);
    };
    const int ok = convert(source.data(), target.data(), targetSize);
    Check(ok == 0 || ok == 1);
    if (!ok)
        return 0;
    const void *end = std::memchr(target.data(), '\0', target.size());
    Check(end != nullptr);
    const int used = static_cast<int>(static_cast<const char *>(end) - target.data()) + 1;

    // Exactly the room it took is enough; a byte less is not, and leaves nothing to read as text.
    std::vector<char> exact(static_cast<size_t>(used));
    Check(convert(source.data(), exact.data(), used) == 1 && std::memcmp(exact.data(), target.data(), exact.size()) == 0);
    if (used > 1) {
        std::vector<char> tooSmall(static_cast<size_t>(used - 1));
        Check(convert(source.data(), tooSmall.data(), used - 1) == 0);
    }

    std::vector<char> back(4 * size + 8);
    Check(convertBack(target.data(), back.data(), static_cast<int>(back.size())) == 1);
    // Plain ASCII is the same in both code pages.
    bool ascii = true;
    for (char c : source)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        Check(std::strcmp(back.data(), source.data()) == 0 && std::strcmp(target.data(), source.data()) == 0);
    return 0;
}
