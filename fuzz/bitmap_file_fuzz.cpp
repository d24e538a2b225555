// Untrusted BMP bytes as a bitmap resource: registration, decoding and the DIB section it makes,
// then the icon an application makes of it and draws, plainly and greyed. Nothing may read
// outside the bytes, a bitmap that loads must be whole, and the icon must have its size.
#include "platform/win32.h"

#include <vorla/VLIcon.h>

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A 40 x 30 memory bitmap to draw icons into; icons larger than that are cut at its edges.
HDC Canvas()
{
    static HDC canvas = [] {
        HDC screen = GetDC(nullptr);
        HDC made = CreateCompatibleDC(screen);
        SelectObject(made, CreateCompatibleBitmap(screen, 40, 30));
        ReleaseDC(nullptr, screen);
        return made;
    }();
    return canvas;
}

} // namespace

// The first byte picks the transparent colour and how the icon is drawn; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t control = data[0];
    ++data;
    --size;
    HMODULE self = GetModuleHandleA(nullptr);
    if (!VorlaRegisterBitmapResource(self, 1, data, size))
        return 0;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(self, MAKEINTRESOURCEA(1), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    VLIcon icon;
    const unsigned long transparent = (control & 1) ? 0xFFFFFFFFul : 0xFF000000ul | (control * 0x010101ul);
    const int loaded = icon.LoadImageA(nullptr, 1 + 0x10000 * (control >> 7), transparent);
    // The icon takes the resource's own answer.
    Check((loaded == 1) == (bitmap != nullptr));
    if (!bitmap)
        return 0;

    BITMAP info{};
    Check(GetObjectA(bitmap, sizeof info, &info) == static_cast<int>(sizeof info));
    Check(info.bmWidth > 0 && info.bmHeight > 0 && info.bmBitsPixel == 24 && info.bmBits);
    Check(icon.GetImageWidth() == info.bmWidth && icon.GetImageHeight() == info.bmHeight);
    // Touch the last byte of the last row: the whole picture must be there.
    const size_t row = (static_cast<size_t>(info.bmWidth) * 3 + 3) & ~static_cast<size_t>(3);
    volatile uint8_t last = static_cast<uint8_t *>(info.bmBits)[row * static_cast<size_t>(info.bmHeight) - 1];
    (void)last;
    DeleteObject(bitmap);

    const int left = (control >> 1 & 7) - 4;
    const int top = (control >> 4 & 7) - 4;
    icon.DrawImage(Canvas(), left, top, left + 50, top + 20, control & 2);
    icon.DrawImage(Canvas(), -info.bmWidth + 1, 29, 40, 30, !(control & 2));
    return 0;
}
