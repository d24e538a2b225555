// VLImage as a widget: its fields, bounds, hint and repaint, the pixel buffer and the 24-bit
// display bitmap it is copied into and blitted from, and its row of the dispatch table.
#include "vorla/VLImage.h"
#include "vorla/VLWindow.h"

#include "../core/life_guard.h"
#include "../core/links.h"
#include "../core/window_internals.h"
#include "../widgets/skeleton.h"
#include "image_access.h"
#include "image_kind.h"
#include "surface_access.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>

namespace {

constexpr int DescriptionSize = 40 + 256 * 4;
constexpr unsigned int Black = 0xFF000000u;

// width x 4, or 0 where that does not fit an int (such an image never has a buffer).
int LineBytesOf(int width)
{
    return width >= -(INT_MAX / 4) && width <= INT_MAX / 4 ? width * 4 : 0;
}

} // namespace

unsigned int ImageAccess::PixelOf(unsigned int colour)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(colour >> 16), static_cast<unsigned char>(colour >> 8),
                                    static_cast<unsigned char>(colour), static_cast<unsigned char>(colour >> 24)};
    unsigned int pixel;
    std::memcpy(&pixel, bytes, 4);
    return pixel;
}

void ImageAccess::Fill(unsigned char *first, size_t count, unsigned int pixel)
{
    unsigned char bytes[4];
    std::memcpy(bytes, &pixel, 4);
    if (bytes[0] == bytes[1] && bytes[0] == bytes[2] && bytes[0] == bytes[3]) {
        std::memset(first, bytes[0], count * 4);
        return;
    }
#if WCHAR_MAX > 0xFFFF
    // A 4-byte wchar_t: the C library's wide fill uses the widest stores the processor has,
    // which wins while the pixels fit the caches; beyond them the plain loop keeps up better.
    if (count < (size_t(1) << 20)) {
        std::wmemset(reinterpret_cast<wchar_t *>(first), static_cast<wchar_t>(pixel), count);
        return;
    }
#endif
    // A 64-byte block copied with constant-size memcpy becomes plain vector stores.
    unsigned char block[64];
    for (int i = 0; i < 64; i += 4)
        std::memcpy(block + i, bytes, 4);
    size_t bytesLeft = count * 4;
    unsigned char *out = first;
    while (bytesLeft >= 64) {
        std::memcpy(out, block, 64);
        out += 64;
        bytesLeft -= 64;
    }
    std::memcpy(out, block, bytesLeft);
}

VLImage::VLImage()
    : description(nullptr), hintText(nullptr)
{
    Initialise();
    WidgetAccess::Link(*this);
    LinkField(&hostWindow); // a deleted host window is forgotten
}

VLImage::~VLImage()
{
    LifeGuard::Destroy(this);
    Release();
    WidgetAccess::Unlink(*this);
    UnlinkField(&hostWindow);
}

void VLImage::Initialise()
{
    parentWindow = nullptr;
    group = nullptr;
    scrollArea = nullptr;
    windowX = 0;
    windowY = 0;
    visible = 1;
    SetForegroundColor(Black);
    x = 0;
    y = 0;
    width = 0;
    height = 0;
    pixels = nullptr;
    lineBytes = 0;
    memoryContext = nullptr;
    displayBitmap = nullptr;
    previousBitmap = nullptr;
    displayBits = nullptr;
    description = new (std::nothrow) unsigned char[DescriptionSize]();
    hintText = new (std::nothrow) char[HintCapacity]();
    hintForegroundColour = 0xFF000000u;
    hintBackgroundColour = 0xFFFFFFC0u;
    hintFontSize = 12;
    openGLWindow = nullptr;
    renderingContext = nullptr;
    attached = 0;
    hostWindow = nullptr;
    renderCallback = nullptr;
    rendering = 0;
}

// Frees the pixel block and the display bitmap with its context (the previous bitmap goes back
// into the context first).
static void ReleaseDisplay(unsigned char *&pixels, HDC &memoryContext, HBITMAP &displayBitmap, HGDIOBJ &previousBitmap,
                           unsigned char *&displayBits)
{
    delete[] pixels;
    pixels = nullptr;
    if (memoryContext && previousBitmap)
        SelectObject(memoryContext, previousBitmap);
    if (displayBitmap)
        DeleteObject(displayBitmap);
    if (memoryContext)
        DeleteDC(memoryContext);
    memoryContext = nullptr;
    displayBitmap = nullptr;
    previousBitmap = nullptr;
    displayBits = nullptr;
}

void VLImage::Release()
{
    ReleaseDisplay(pixels, memoryContext, displayBitmap, previousBitmap, displayBits);
    delete[] description;
    description = nullptr;
    delete[] hintText;
    hintText = nullptr;
    // The OpenGL context and child window go with the attachment.
    ImageAccess::DetachOpenGL(*this);
}

void VLImage::Clear()
{
    LifeGuard::End(this);
    Release();
    Initialise();
}

void VLImage::Rebuild(int newWidth, int newHeight)
{
    ReleaseDisplay(pixels, memoryContext, displayBitmap, previousBitmap, displayBits);
    // A negative size would make a top-down bitmap and a block whose size does not match the
    // drawing loops; such an image simply has no buffer. The line bytes must fit an int.
    if (!description || newWidth < 1 || newHeight < 1 || newWidth > INT_MAX / 4)
        return;
    const uint64_t blockBytes = static_cast<uint64_t>(newWidth) * (static_cast<uint64_t>(newHeight) + 1) * 4 + 8;
    if (blockBytes > static_cast<uint64_t>(PTRDIFF_MAX))
        return;

    std::memset(description, 0, DescriptionSize);
    BITMAPINFOHEADER header = {};
    header.biSize = 40;
    header.biWidth = newWidth;
    header.biHeight = newHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    std::memcpy(description, &header, sizeof header);

    HDC screen = GetDC(nullptr);
    memoryContext = CreateCompatibleDC(screen);
    void *bits = nullptr;
    if (memoryContext)
        displayBitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(description), DIB_PAL_COLORS, &bits,
                                         nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!memoryContext || !displayBitmap || !bits) {
        ReleaseDisplay(pixels, memoryContext, displayBitmap, previousBitmap, displayBits);
        return;
    }
    previousBitmap = SelectObject(memoryContext, displayBitmap);
    displayBits = static_cast<unsigned char *>(bits);

    pixels = new (std::nothrow) unsigned char[static_cast<size_t>(blockBytes)];
    if (!pixels)
        return;
    ImageAccess::Fill(pixels, static_cast<size_t>(blockBytes) / 4, ImageAccess::PixelOf(Black));
}

// A new size makes a new buffer; with an OpenGL attachment a buffer kept from before has the old
// size, so it goes instead of being shown or drawn into at the new one.
void VLImage::ResizeBuffer(int newWidth, int newHeight)
{
    if (attached)
        ReleaseDisplay(pixels, memoryContext, displayBitmap, previousBitmap, displayBits);
    else
        Rebuild(newWidth, newHeight);
}

void VLImage::SetBounds(int newX, int newY, int newWidth, int newHeight)
{
    if (newWidth != width || newHeight != height)
        ResizeBuffer(newWidth, newHeight);
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    lineBytes = LineBytesOf(width);
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
    // After placement, so the child window goes where the image is shown.
    if (attached)
        BuildOpenGLWindow();
}

void VLImage::SetSize(int newWidth, int newHeight)
{
    if (newWidth != width || newHeight != height)
        ResizeBuffer(newWidth, newHeight);
    width = newWidth;
    height = newHeight;
    lineBytes = LineBytesOf(width);
    if (attached)
        BuildOpenGLWindow();
}

void VLImage::SetLocate(int newX, int newY)
{
    x = newX;
    y = newY;
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}

void VLImage::GetBounds(VLSTRect *bounds)
{
    if (bounds)
        *bounds = VLSTRect{x, y, width, height};
}

void VLImage::GetSize(VLSTSize *size)
{
    if (size)
        *size = VLSTSize{width, height};
}

void VLImage::GetLocate(VLSTPosition *position)
{
    if (position)
        *position = VLSTPosition{x, y};
}

void VLImage::SetVisible(int shown)
{
    visible = shown;
    ImageAccess::FollowOpenGL(*this); // an OpenGL view is hidden with its image
}

int VLImage::IsVisible()
{
    return visible;
}

VLWindow *VLImage::GetParentWindow()
{
    return parentWindow;
}

void VLImage::SetHintText(const char *text)
{
    if (!text || !hintText || std::strlen(text) >= static_cast<size_t>(HintLimit))
        return;
    std::strcpy(hintText, text);
}

void VLImage::SetHintFontSize(int size)
{
    hintFontSize = size;
}

void VLImage::SetHintForegroundColor(unsigned long colour)
{
    hintForegroundColour = static_cast<unsigned int>(colour);
}

void VLImage::SetHintBackgroundColor(unsigned long colour)
{
    hintBackgroundColour = static_cast<unsigned int>(colour);
}

void VLImage::Repaint()
{
    if (attached) {
        if (!visible || !parentWindow || !parentWindow->IsVisible() || !GroupsShowing(group))
            return;
        if (openGLWindow) {
            RECT client = {0, 0, 0, 0};
            GetClientRect(openGLWindow, &client);
            InvalidateRect(openGLWindow, &client, FALSE);
        }
        return;
    }
    // Like every widget: only when it can be seen, and inside its groups only.
    WidgetAccess::Repaint(*this);
}

void VLImage::Draw()
{
    // An OpenGL view's area is its child window's.
    if (!width || !height || !visible || !parentWindow || attached)
        return;
    VLWindow *window = parentWindow;
    window->BeginPaint();
    HDC target = SurfaceAccess::Target(*window);
    if (target && pixels && memoryContext && displayBits) {
        GdiFlush(); // the system may still be writing the bitmap's memory
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
        for (int row = 0; row < height; ++row) {
            const unsigned char *in = pixels + static_cast<size_t>(row) * lineBytes;
            unsigned char *out = displayBits + static_cast<size_t>(height - 1 - row) * stride;
            for (int column = 0; column < width; ++column, in += 4, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
        BitBlt(target, windowX, windowY, width, height, memoryContext, 0, 0, SRCCOPY);
    }
    window->EndPaint();
}

unsigned char *VLImage::GetPointer()
{
    return attached ? nullptr : pixels;
}

int VLImage::GetLineBytes()
{
    return attached ? 0 : lineBytes;
}

int VLImage::GetImageWidth()
{
    return width;
}

int VLImage::GetImageHeight()
{
    return height;
}

// ---- the dispatch row ----

void ImageAccess::Place(void *widget, VLWindow *window, int originX, int originY)
{
    VLImage &image = *static_cast<VLImage *>(widget);
    image.parentWindow = window;
    image.windowX = Edge(originX, image.x);
    image.windowY = Edge(originY, image.y);
    FollowOpenGL(image);
}

void ImageAccess::DrawKind(void *widget)
{
    static_cast<VLImage *>(widget)->Draw();
}

void ImageAccess::ClearKind(void *widget)
{
    static_cast<VLImage *>(widget)->Clear();
}

void ImageAccess::Bounds(void *widget, VLSTRect &out)
{
    const VLImage &image = *static_cast<VLImage *>(widget);
    out = VLSTRect{image.x, image.y, image.width, image.height};
}

bool ImageAccess::Visible(void *widget)
{
    return static_cast<VLImage *>(widget)->visible != 0;
}

void ImageAccess::WindowPosition(void *widget, int &outX, int &outY)
{
    const VLImage &image = *static_cast<VLImage *>(widget);
    outX = image.windowX;
    outY = image.windowY;
}

// An image takes no input of its own: a press on it only makes it the window's focused widget.
struct ImageInput {
    static bool Inside(VLImage &image, int px, int py, bool bothEdges)
    {
        int left = 0, top = 0;
        ImageAccess::WindowPosition(&image, left, top);
        VLSTRect bounds;
        ImageAccess::Bounds(&image, bounds);
        if (bothEdges)
            return px >= left && px <= Edge(left, bounds.width) && py >= top && py <= Edge(top, bounds.height);
        return px >= left && px < Edge(left, bounds.width) && py >= top && py < Edge(top, bounds.height);
    }
    static int Press(void *widget, int code, int px, int py, bool bothEdges)
    {
        VLImage &image = *static_cast<VLImage *>(widget);
        VLWindow *window = image.GetParentWindow();
        if (!window || !ImageAccess::Visible(widget) || WindowInternals::DropDownOpen(*window) ||
            !Inside(image, px, py, bothEdges))
            return -1;
        if (code == 300)
            WindowInternals::SetFocusedWidget(*window, TypeImage, widget);
        return 1;
    }
};

extern const WidgetKind ImageKind = [] {
    WidgetKind kind;
    kind.place = ImageAccess::Place;
    kind.draw = ImageAccess::DrawKind;
    kind.clear = ImageAccess::ClearKind;
    kind.bounds = ImageAccess::Bounds;
    kind.visible = ImageAccess::Visible;
    kind.windowPosition = ImageAccess::WindowPosition;
    kind.setGroup = WidgetAccess::SetGroup<VLImage>;
    kind.hint = WidgetAccess::Hint<VLImage>;
    kind.mouse = [](void *widget, int code, int px, int py) { ImageInput::Press(widget, code, px, py, false); };
    kind.mouseInGroup = [](void *widget, int code, int px, int py) {
        return ImageInput::Press(widget, code, px, py, true);
    };
    kind.pressHits = [](void *widget, int px, int py) {
        return ImageAccess::Visible(widget) && ImageInput::Inside(*static_cast<VLImage *>(widget), px, py, false);
    };
    return kind;
}();
