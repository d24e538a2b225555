// VLIcon: a bitmap resource read pixel by pixel with one colour keyed out, and its drawing over
// whatever lies beneath through a 24-bit work bitmap.
#include "vorla/VLIcon.h"

#include <cstring>
#include <new>

namespace {

constexpr int DescriptionSize = 40 + 256 * 4;

} // namespace

VLIcon::VLIcon()
    : pixels(nullptr), width(0), height(0), memoryContext(nullptr), workBitmap(nullptr), previousBitmap(nullptr),
      workBits(nullptr), description(new unsigned char[DescriptionSize]()), workRowLength(0)
{
}

VLIcon::~VLIcon()
{
    delete[] pixels;
    ReleaseWork();
    delete[] description;
}

void VLIcon::ReleaseWork()
{
    if (memoryContext) {
        if (previousBitmap)
            SelectObject(memoryContext, previousBitmap);
        DeleteDC(memoryContext);
    }
    if (workBitmap)
        DeleteObject(workBitmap);
    memoryContext = nullptr;
    workBitmap = nullptr;
    previousBitmap = nullptr;
    workBits = nullptr;
}

int VLIcon::LoadImageA(const char *module, int id, unsigned long transparent)
{
    HMODULE instance = GetModuleHandleA(module);
    // A module that is not there must not turn into a request for the system's own bitmaps.
    if (module && !instance)
        return 0;
    HBITMAP loaded = static_cast<HBITMAP>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(id & 0xFFFF), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded)
        return 0;
    const unsigned int keyRed = (transparent >> 16) & 0xFF;
    const unsigned int keyGreen = (transparent >> 8) & 0xFF;
    const unsigned int keyBlue = transparent & 0xFF;

    HDC reader = CreateCompatibleDC(nullptr);
    if (!reader) {
        DeleteObject(loaded);
        return 0;
    }
    HGDIOBJ readerPrevious = SelectObject(reader, loaded);
    BITMAP info = {};
    GetObjectA(loaded, sizeof info, &info);

    delete[] pixels;
    pixels = nullptr;
    width = info.bmWidth > 0 ? info.bmWidth : 0;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    pixels = count ? new (std::nothrow) unsigned char[count * 4] : nullptr;
    if (!pixels) {
        SelectObject(reader, readerPrevious);
        DeleteDC(reader);
        DeleteObject(loaded);
        return 0;
    }
    unsigned char *pixel = pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, pixel += 4) {
            const COLORREF colour = GetPixel(reader, x, y);
            const unsigned int red = GetRValue(colour);
            const unsigned int green = GetGValue(colour);
            const unsigned int blue = GetBValue(colour);
            const bool keyed = red == keyRed && green == keyGreen && blue == keyBlue;
            pixel[0] = keyed ? 0 : 255;
            pixel[1] = static_cast<unsigned char>(red);
            pixel[2] = static_cast<unsigned char>(green);
            pixel[3] = static_cast<unsigned char>(blue);
        }
    }
    SelectObject(reader, readerPrevious);
    DeleteDC(reader);
    DeleteObject(loaded);

    ReleaseWork();
    std::memset(description, 0, DescriptionSize);
    BITMAPINFOHEADER header = {};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::memcpy(description, &header, sizeof header);
    workRowLength = (width * 3 + 3) & ~3;

    HDC screen = GetDC(nullptr);
    memoryContext = CreateCompatibleDC(screen);
    void *bits = nullptr;
    if (memoryContext) {
        workBitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(description), DIB_PAL_COLORS, &bits,
                                      nullptr, 0);
    }
    ReleaseDC(nullptr, screen);
    if (workBitmap && bits) {
        previousBitmap = SelectObject(memoryContext, workBitmap);
        workBits = static_cast<unsigned char *>(bits);
    } else {
        ReleaseWork(); // keeps the pixels; the icon just draws nothing
    }
    return 1;
}

int VLIcon::GetImageWidth()
{
    return width;
}

int VLIcon::GetImageHeight()
{
    return height;
}

void VLIcon::DrawImage(HDC context, int left, int top, int right, int bottom, int greyed)
{
    if (!pixels || !memoryContext || !workBits)
        return;
    // The work bitmap first takes the background, so keyed pixels and greying show it.
    StretchBlt(memoryContext, 0, 0, width, height, context, left, top, width, height, SRCCOPY);
    GdiFlush();
    // The box may span the whole int range, or be turned inside out: measure it in 64 bits.
    const long long boxRows = static_cast<long long>(bottom) - top;
    const long long boxColumns = static_cast<long long>(right) - left;
    const int rows = boxRows < height ? static_cast<int>(boxRows) : height;
    const int columns = boxColumns < width ? static_cast<int>(boxColumns) : width;
    for (int row = 0; row < rows; ++row) {
        unsigned char *work = workBits + static_cast<size_t>(height - 1 - row) * workRowLength;
        const unsigned char *pixel = pixels + static_cast<size_t>(row) * width * 4;
        for (int column = 0; column < columns; ++column, pixel += 4, work += 3) {
            if (pixel[0] == 0)
                continue;
            if (greyed) {
                work[0] = static_cast<unsigned char>((work[0] + pixel[3]) >> 1);
                work[1] = static_cast<unsigned char>((work[1] + pixel[2]) >> 1);
                work[2] = static_cast<unsigned char>((work[2] + pixel[1]) >> 1);
            } else {
                work[0] = pixel[3];
                work[1] = pixel[2];
                work[2] = pixel[1];
            }
        }
    }
    StretchBlt(context, left, top, width, height, memoryContext, 0, 0, width, height, SRCCOPY);
}
