// The parts of the widget skeleton that are not templates: texts, derived colours, offscreen
// pictures and the container's background colour.
#include "skeleton.h"

#include <algorithm>
#include <climits>

namespace {

unsigned int Channels(unsigned int colour, int (*each)(int))
{
    const int red = each(static_cast<int>((colour >> 16) & 0xFF));
    const int green = each(static_cast<int>((colour >> 8) & 0xFF));
    const int blue = each(static_cast<int>(colour & 0xFF));
    return 0xFF000000u | (static_cast<unsigned int>(red) << 16) | (static_cast<unsigned int>(green) << 8) |
           static_cast<unsigned int>(blue);
}

} // namespace

unsigned int Darkened(unsigned int colour, int by)
{
    const int red = std::max(static_cast<int>((colour >> 16) & 0xFF) - by, 0);
    const int green = std::max(static_cast<int>((colour >> 8) & 0xFF) - by, 0);
    const int blue = std::max(static_cast<int>(colour & 0xFF) - by, 0);
    return 0xFF000000u | (static_cast<unsigned int>(red) << 16) | (static_cast<unsigned int>(green) << 8) |
           static_cast<unsigned int>(blue);
}

unsigned int Half(unsigned int colour)
{
    return Channels(colour, [](int c) { return c / 2; });
}

unsigned int ThreeQuarters(unsigned int colour)
{
    return Channels(colour, [](int c) { return (c / 4) * 3; });
}

unsigned int TwoThirds(unsigned int colour)
{
    return Channels(colour, [](int c) { return c * 2 / 3; });
}

unsigned int OneAndAHalf(unsigned int colour)
{
    return Channels(colour, [](int c) { return std::min((c / 4) * 6, 255); });
}

HBITMAP CreateOffscreen(int width, int height)
{
    // (width+1) by (height+1) must not wrap around; the system refuses what it cannot make.
    if (width < 0 || height < 0 || width == INT_MAX || height == INT_MAX)
        return nullptr;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width + 1, height + 1);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

bool StoreText(char *buffer, int capacity, const char *text)
{
    if (!buffer || !text)
        return false;
    const size_t length = std::strlen(text);
    if (length >= static_cast<size_t>(capacity))
        return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

void CopyTextOut(const char *stored, char *buffer, int max)
{
    if (!buffer || max <= 0)
        return;
    if (!stored) {
        buffer[0] = '\0';
        return;
    }
    const size_t length = std::strlen(stored);
    if (length < static_cast<size_t>(max)) {
        std::memcpy(buffer, stored, length + 1);
    } else {
        std::memcpy(buffer, stored, static_cast<size_t>(max));
        buffer[max] = '\0';
    }
}
