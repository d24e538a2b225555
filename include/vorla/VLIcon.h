// VLIcon: a small picture from a bitmap resource with one colour keyed out, drawn normally or
// greyed (half blended into its background).
#ifndef VORLA_VLICON_H
#define VORLA_VLICON_H

#include "vorla/vorla.h"

class VORLA_API VLIcon {
public:
    VLIcon();
    ~VLIcon();
    VLIcon(const VLIcon &) = delete;
    VLIcon &operator=(const VLIcon &) = delete;

    // Bitmap resource id of the named module (null: the program itself); pixels of the colour
    // transparent (0xAARRGGBB, top byte ignored) are left out when drawing. 1 on success.
    int LoadImageA(const char *module, int id, unsigned long transparent);
    int GetImageWidth();
    int GetImageHeight();

    // Used by the widgets: draws with the top-left at (left, top), cut to the box, never scaled.
    void DrawImage(HDC context, int left, int top, int right, int bottom, int greyed);

private:
    void ReleaseWork();

    unsigned char *pixels; // mark, red, green, blue per pixel, top row first; mark 0 is transparent
    int width;
    int height;
    HDC memoryContext;
    HBITMAP workBitmap; // 24-bit bottom-up: the background, then the icon over it
    HGDIOBJ previousBitmap;
    unsigned char *workBits;
    unsigned char *description; // BITMAPINFOHEADER and room for 256 palette entries
    int workRowLength;
};

#endif
