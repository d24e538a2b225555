// Untrusted BMP bytes through the bitmap resource path: registration, decoding and the DIB
// section it makes. Nothing may read outside the bytes, and a bitmap that loads must be whole.
#include "platform/win32.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    HMODULE self = GetModuleHandleA(nullptr);
    if (!VorlaRegisterBitmapResource(self, 1, data, size)) return 0;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(self, MAKEINTRESOURCEA(1), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return 0;
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) != static_cast<int>(sizeof info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0 || info.bmBitsPixel != 24 || !info.bmBits)
        std::abort();
    // Touch the last byte of the last row: the whole picture must be there.
    const size_t row = (static_cast<size_t>(info.bmWidth) * 3 + 3) & ~static_cast<size_t>(3);
    volatile uint8_t last = static_cast<uint8_t *>(info.bmBits)[row * static_cast<size_t>(info.bmHeight) - 1];
    (void)last;
    DeleteObject(bitmap);
    return 0;
}
