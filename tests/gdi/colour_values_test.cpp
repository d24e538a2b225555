// Colour values: clamping, hue wrapping, the integer RGB/HSV conversions with their rounding,
// the HSV triple kept beside the channels, and the system background colour.
#include <vorla/VorlaLib.h>

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

using Triple = std::tuple<int, int, int>;

Triple ToHSV(int r, int g, int b)
{
    int h = -9, s = -9, v = -9;
    VLColor::RGBtoHSV(r, g, b, &h, &s, &v);
    return {h, s, v};
}

Triple ToRGB(int h, int s, int v)
{
    int r = -9, g = -9, b = -9;
    VLColor::HSVtoRGB(h, s, v, &r, &g, &b);
    const VLSTColor c = VLColor::HSVtoRGB(h, s, v);
    EXPECT_EQ(Triple(c.red, c.green, c.blue), Triple(r, g, b)) << "both forms agree";
    return {r, g, b};
}

Triple RGBOf(VLColor &c)
{
    int r = -9, g = -9, b = -9;
    c.GetColorRGB(&r, &g, &b);
    const VLSTColor s = c.GetColorRGB();
    EXPECT_EQ(Triple(s.red, s.green, s.blue), Triple(r, g, b));
    EXPECT_EQ(Triple(c.GetRedValue(), c.GetGreenValue(), c.GetBlueValue()), Triple(r, g, b));
    return {r, g, b};
}

Triple HSVOf(VLColor &c)
{
    int h = -9, s = -9, v = -9;
    c.GetColorHSV(&h, &s, &v);
    return {h, s, v};
}

} // namespace

TEST(ColourValues, RGBToHSVTakesTheFirstMaximumAndTruncates)
{
    EXPECT_EQ(ToHSV(255, 128, 0), Triple(30, 255, 255));
    EXPECT_EQ(ToHSV(10, 20, 30), Triple(210, 170, 30));
    EXPECT_EQ(ToHSV(128, 128, 128), Triple(0, 0, 128));
    EXPECT_EQ(ToHSV(255, 255, 255), Triple(0, 0, 255));
    EXPECT_EQ(ToHSV(0, 0, 0), Triple(0, 0, 0));
    EXPECT_EQ(ToHSV(255, 0, 0), Triple(0, 255, 255));
    EXPECT_EQ(ToHSV(0, 255, 0), Triple(120, 255, 255));
    EXPECT_EQ(ToHSV(0, 0, 255), Triple(240, 255, 255));
    // Ties go to red before green before blue; negative hues come round once.
    EXPECT_EQ(ToHSV(255, 255, 0), Triple(60, 255, 255));
    EXPECT_EQ(ToHSV(0, 255, 255), Triple(180, 255, 255));
    EXPECT_EQ(ToHSV(255, 0, 255), Triple(300, 255, 255));
    EXPECT_EQ(ToHSV(255, 0, 1), Triple(0, 255, 255)) << "-60 / 255 truncates to 0";
    EXPECT_EQ(ToHSV(200, 100, 150), Triple(330, 128, 200));
    // Channels are clamped first, whatever an int holds.
    EXPECT_EQ(ToHSV(300, -5, INT_MIN), Triple(0, 255, 255));
    EXPECT_EQ(ToHSV(INT_MAX, INT_MAX, INT_MAX), Triple(0, 0, 255));
    // Null out-pointers are skipped, the others still written.
    int v = -1;
    VLColor::RGBtoHSV(10, 20, 30, nullptr, nullptr, &v);
    EXPECT_EQ(v, 30);
    VLColor::RGBtoHSV(10, 20, 30, nullptr, nullptr, nullptr);
}

TEST(ColourValues, HSVToRGBGoesBySixtyDegreeSectorsAndKeepsOneInTheSmallestChannel)
{
    // Saturation and value 255: c = 254, m = 1; half way through a sector t = 127.
    EXPECT_EQ(ToRGB(0, 255, 255), Triple(255, 1, 1));
    EXPECT_EQ(ToRGB(30, 255, 255), Triple(255, 128, 1));
    EXPECT_EQ(ToRGB(90, 255, 255), Triple(128, 255, 1));
    EXPECT_EQ(ToRGB(150, 255, 255), Triple(1, 255, 128));
    EXPECT_EQ(ToRGB(210, 255, 255), Triple(1, 128, 255));
    EXPECT_EQ(ToRGB(270, 255, 255), Triple(128, 1, 255));
    EXPECT_EQ(ToRGB(330, 255, 255), Triple(255, 1, 128));
    EXPECT_EQ(ToRGB(359, 255, 255), Triple(255, 1, 6));
    EXPECT_EQ(ToRGB(210, 170, 30), Triple(11, 21, 30));
    EXPECT_EQ(ToRGB(0, 0, 128), Triple(128, 128, 128));
    // Hues wrap modulo 360 from anywhere in the int range.
    EXPECT_EQ(ToRGB(-1, 255, 255), ToRGB(359, 255, 255));
    for (int h : {360, 720, -360, 360 * 1000})
        EXPECT_EQ(ToRGB(h, 200, 200), ToRGB(0, 200, 200)) << h;
    EXPECT_EQ(ToRGB(INT_MAX, 255, 255), ToRGB(127, 255, 255));
    EXPECT_EQ(ToRGB(INT_MIN, 255, 255), ToRGB(232, 255, 255));
    // A value of 0 or below is black whatever else; saturation and value above 255 are 255.
    EXPECT_EQ(ToRGB(200, 300, -5), Triple(0, 0, 0));
    EXPECT_EQ(ToRGB(200, 255, 0), Triple(0, 0, 0));
    EXPECT_EQ(ToRGB(200, 128, 300), Triple(128, 213, 255));
    EXPECT_EQ(ToRGB(INT_MIN, INT_MAX, INT_MAX), ToRGB(232, 255, 255));
    EXPECT_EQ(ToRGB(100, INT_MIN, 77), Triple(77, 77, 77));
    int g = -1;
    VLColor::HSVtoRGB(120, 255, 255, nullptr, &g, nullptr);
    EXPECT_EQ(g, 255);
}

TEST(ColourValues, ChannelsAreClampedAndTheHSVTripleIsKeptAsGivenUntilTheChannelsChange)
{
    VLColor black;
    EXPECT_EQ(RGBOf(black), Triple(0, 0, 0));
    EXPECT_EQ(HSVOf(black), Triple(0, 0, 0));

    VLColor made(-5, 300, 7);
    EXPECT_EQ(RGBOf(made), Triple(0, 255, 7));
    VLColor fromRecord(VLSTColor{400, -1, 128, 12345});
    EXPECT_EQ(RGBOf(fromRecord), Triple(255, 0, 128));
    EXPECT_EQ(HSVOf(fromRecord), ToHSV(255, 0, 128)) << "derived on the first request";

    VLColor c;
    c.SetColorRGB(-5, 300, 7);
    EXPECT_EQ(RGBOf(c), Triple(0, 255, 7));
    c.SetColorRGB(VLSTColor{INT_MIN, INT_MAX, 256, 0});
    EXPECT_EQ(RGBOf(c), Triple(0, 255, 255));

    // The triple set is the one read back, not the one converting the channels back would give.
    c.SetColorHSV(-30, 100, 200);
    EXPECT_EQ(HSVOf(c), Triple(330, 100, 200));
    EXPECT_EQ(RGBOf(c), ToRGB(330, 100, 200));
    EXPECT_NE(ToHSV(200, 122, 161), Triple(330, 100, 200)) << "the conversion is not its own inverse here";
    ASSERT_EQ(RGBOf(c), Triple(200, 122, 161));
    // Setting the same channels again makes the triple follow the channels.
    c.SetColorRGB(200, 122, 161);
    EXPECT_EQ(HSVOf(c), ToHSV(200, 122, 161));
    c.SetColorHSV(720, -4, 999);
    EXPECT_EQ(HSVOf(c), Triple(0, 0, 255));
    EXPECT_EQ(RGBOf(c), Triple(255, 255, 255));
    c.SetColorHSV(INT_MIN, INT_MAX, INT_MIN);
    EXPECT_EQ(HSVOf(c), Triple(232, 255, 0));
    EXPECT_EQ(RGBOf(c), Triple(0, 0, 0));

    // Null pointers are skipped.
    c.SetColorRGB(1, 2, 3);
    int g = -1, s = -1;
    c.GetColorRGB(nullptr, &g, nullptr);
    c.GetColorHSV(nullptr, &s, nullptr);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(s, 170);
    c.GetColorRGB(nullptr, nullptr, nullptr);
    c.GetColorHSV(nullptr, nullptr, nullptr);

    // Clear makes the colour black with a valid triple again.
    c.SetColorHSV(100, 100, 100);
    c.Clear();
    EXPECT_EQ(RGBOf(c), Triple(0, 0, 0));
    EXPECT_EQ(HSVOf(c), Triple(0, 0, 0));
}

TEST(ColourValues, SystemBackgroundIsTheMenuColourTurnedIntoAnOpaqueColourValue)
{
    const DWORD system = GetSysColor(COLOR_MENU);
    const unsigned long expected = 0xFF000000ul | ((system & 0xFFul) << 16) | (system & 0xFF00ul) |
                                   ((system >> 16) & 0xFFul);
    EXPECT_EQ(VLColor::GetSystem_WindowBackgroundColor(), expected);
    EXPECT_EQ(VLColor::GetSystem_WindowBackgroundColor(), 0xFFC0C0C0ul);
}
