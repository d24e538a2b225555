// Shift_JIS to UTF-8 and back: all or nothing, with exact target sizes.
#include "support.h"

#include <cstring>

namespace {

std::string ToUtf8(const char *source, int size)
{
    std::vector<char> target(static_cast<size_t>(size) + 8, '#');
    VLString string;
    if (!string.ConvSJIS_UTF8(source, target.data(), size))
        return "<failed>";
    return std::string(target.data());
}

std::string ToSjis(const char *source, int size)
{
    std::vector<char> target(static_cast<size_t>(size) + 8, '#');
    VLString string;
    if (!string.ConvUTF8_SJIS(source, target.data(), size))
        return "<failed>";
    return std::string(target.data());
}

} // namespace

TEST(StringConversion, ArgumentsAndEmptyText)
{
    VLString string;
    char target[8] = "xyz";
    EXPECT_EQ(string.ConvSJIS_UTF8(nullptr, target, 8), 0);
    EXPECT_EQ(string.ConvSJIS_UTF8("a", nullptr, 8), 0);
    EXPECT_EQ(string.ConvSJIS_UTF8("a", target, 0), 0);
    EXPECT_EQ(string.ConvUTF8_SJIS(nullptr, target, 10), 0);
    EXPECT_EQ(string.ConvUTF8_SJIS("a", target, 0), 0);
    EXPECT_STREQ(target, "xyz");

    EXPECT_EQ(string.ConvSJIS_UTF8("", target, 1), 1);
    EXPECT_EQ(target[0], '\0');
    std::strcpy(target, "xyz");
    EXPECT_EQ(string.ConvUTF8_SJIS("", target, 10), 1);
    EXPECT_EQ(target[0], '\0');
}

TEST(StringConversion, ShiftJisToUtf8FitsExactlyOrFails)
{
    EXPECT_EQ(ToUtf8("abc", 4), "abc");
    EXPECT_EQ(ToUtf8("abc", 3), "<failed>");
    // HIRAGANA A: two bytes become three.
    EXPECT_EQ(ToUtf8("\x82\xA0", 4), "\xE3\x81\x82");
    EXPECT_EQ(ToUtf8("\x82\xA0", 3), "<failed>");
    // Half-width katakana, a kanji and ASCII in one text; the backslash stays a backslash.
    EXPECT_EQ(ToUtf8("\xB1\x8A\xBF\\x", 64), "\xEF\xBD\xB1\xE6\xBC\xA2\\x");
}

TEST(StringConversion, MalformedShiftJisFailsWhole)
{
    EXPECT_EQ(ToUtf8("ab\x82", 16), "<failed>");     // lead byte without trail byte
    EXPECT_EQ(ToUtf8("\x82\x20ok", 16), "<failed>"); // trail byte out of range
    EXPECT_EQ(ToUtf8("\xFD", 16), "<failed>");       // not a character of the code page
}

TEST(StringConversion, Utf8ToShiftJisRoundTripsAndRefusesWhatItCannotHold)
{
    EXPECT_EQ(ToSjis("\xE3\x81\x82", 3), "\x82\xA0");
    EXPECT_EQ(ToSjis("\xE3\x81\x82", 2), "<failed>");
    EXPECT_EQ(ToSjis("A\xE6\xBC\xA2\xEF\xBD\xB1", 5), "A\x8A\xBF\xB1");

    const char original[] = "\x83\x65\x83\x58\x83\x67 test \x82\xA0\x81\x5B";
    char utf8[64], back[64];
    VLString string;
    ASSERT_EQ(string.ConvSJIS_UTF8(original, utf8, sizeof utf8), 1);
    ASSERT_EQ(string.ConvUTF8_SJIS(utf8, back, sizeof back), 1);
    EXPECT_STREQ(back, original);

    // No Shift_JIS form: the whole text fails rather than carrying a '?'.
    EXPECT_EQ(ToSjis("caf\xC3\xA9", 16), "<failed>");
    EXPECT_EQ(ToSjis("\xF0\x9F\x98\x80", 16), "<failed>");
    // Malformed UTF-8: cut sequence, overlong form, encoded surrogate, stray continuation byte.
    EXPECT_EQ(ToSjis("ab\xC3", 16), "<failed>");
    EXPECT_EQ(ToSjis("\xC0\xAF", 16), "<failed>");
    EXPECT_EQ(ToSjis("\xED\xA0\x80", 16), "<failed>");
    EXPECT_EQ(ToSjis("\x80", 16), "<failed>");
}

// Characters Shift_JIS only approximates: the yen sign would come back as a backslash, the wave
// dash as a full-width tilde, and so on. Each has no form of its own, so the text fails whole.
TEST(StringConversion, Utf8ToShiftJisRefusesLookAlikeCharacters)
{
    const char *const lookAlikes[] = {
        "\xC2\xA5",     // YEN SIGN, would become '\\'
        "\xE2\x80\xBE", // OVERLINE, would become '~'
        "\xE3\x80\x9C", // WAVE DASH
        "\xE2\x88\x92", // MINUS SIGN
        "\xE2\x80\x94", // EM DASH
        "\xE2\x80\x96", // DOUBLE VERTICAL LINE
        "\xC2\xA2",     // CENT SIGN
        "\xC2\xA3",     // POUND SIGN
        "\xC2\xAC",     // NOT SIGN
    };
    for (const char *character : lookAlikes) {
        SCOPED_TRACE(character);
        EXPECT_EQ(ToSjis(character, 16), "<failed>");
        EXPECT_EQ(ToSjis((std::string("price ") + character + "100").c_str(), 64), "<failed>");
        // A caller that ignores the result finds no text rather than a wrong one.
        char target[16];
        std::memset(target, '#', sizeof target);
        VLString string;
        EXPECT_EQ(string.ConvUTF8_SJIS((std::string(character) + "100").c_str(), target, sizeof target), 0);
        EXPECT_EQ(target[0], '\0');
    }

    // The characters Shift_JIS does hold for them convert, and come back unchanged.
    const char held[] = "\\100 ~ \xEF\xBD\x9E\xEF\xBC\x8D\xE2\x80\x95\xE2\x88\xA5\xEF\xBF\xA0\xEF\xBF\xA1\xEF\xBF\xA2";
    EXPECT_EQ(ToSjis(held, 64), "\\100 ~ \x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA");
    EXPECT_EQ(ToUtf8(ToSjis(held, 64).c_str(), 64), held);
}

// The system's conversion calls as the library relies on them.
TEST(StringCodePages, SizeQueriesBuffersAndInvalidCharacters)
{
    const char text[] = "a\x82\xA0";
    EXPECT_EQ(MultiByteToWideChar(CP_OEMCP, 0, text, -1, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(932, 0, text, 3, nullptr, 0), 2); // no terminator asked for
    WCHAR wide[4] = {};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 3), 3);
    EXPECT_EQ(wide[0], 'a');
    EXPECT_EQ(wide[1], 0x3042);
    EXPECT_EQ(wide[2], 0);

    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", -1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    // Without the flag an invalid byte becomes a replacement character.
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xFFz", 2, wide, 4), 2);
    EXPECT_EQ(wide[0], 0xFFFD);
    EXPECT_EQ(wide[1], 'z');

    // A character code page 932 lacks, and a lone surrogate: the default character is used.
    const WCHAR missing[] = {'x', 0x00E9, 0xD800, 0};
    char narrow[8] = {};
    BOOL usedDefault = FALSE;
    ASSERT_EQ(WideCharToMultiByte(932, 0, missing, -1, narrow, sizeof narrow, nullptr, &usedDefault), 4);
    EXPECT_STREQ(narrow, "x??");
    EXPECT_TRUE(usedDefault);
    // UTF-8 refuses a default character; the size query counts the terminator.
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, missing, -1, nullptr, 0, nullptr, &usedDefault), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, missing, -1, nullptr, 0, nullptr, nullptr), 1 + 2 + 3 + 1);
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", -1, nullptr, 0), 0);
}

TEST(StringCodePages, NoBestFitTurnsLookAlikesIntoTheDefaultCharacter)
{
    const WCHAR yen[] = {0x00A5, '1', 0x301C, 0xFF5E, 0};
    char narrow[16];
    BOOL usedDefault = TRUE;
    // Without the flag the code page maps each to its nearest character.
    std::memset(narrow, 0, sizeof narrow);
    ASSERT_EQ(WideCharToMultiByte(932, 0, yen, -1, narrow, sizeof narrow, nullptr, &usedDefault), 7);
    EXPECT_STREQ(narrow, "\\1\x81\x60\x81\x60");
    EXPECT_FALSE(usedDefault);

    // With it, a character whose bytes read back as another character has no form.
    EXPECT_EQ(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, yen, -1, nullptr, 0, nullptr, nullptr), 6);
    std::memset(narrow, 0, sizeof narrow);
    ASSERT_EQ(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, yen, -1, narrow, sizeof narrow, nullptr, &usedDefault), 6);
    EXPECT_STREQ(narrow, "?1?\x81\x60");
    EXPECT_TRUE(usedDefault);
    // A double-byte default character takes their place the same way.
    std::memset(narrow, 0, sizeof narrow);
    ASSERT_EQ(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, yen, 3, narrow, sizeof narrow, "\x81\x45", &usedDefault), 5);
    EXPECT_EQ(std::string(narrow, 5), "\x81\x45" "1\x81\x45");
    // Text without look-alikes is untouched and reports no default character.
    const WCHAR plain[] = {'a', 0x3042, '\\', 0xFF61, 0};
    usedDefault = TRUE;
    ASSERT_EQ(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, plain, -1, narrow, sizeof narrow, nullptr, &usedDefault), 6);
    EXPECT_STREQ(narrow, "a\x82\xA0\\\xA1");
    EXPECT_FALSE(usedDefault);
    // Too small a buffer still fails whole.
    EXPECT_EQ(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, yen, -1, narrow, 5, nullptr, &usedDefault), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}
