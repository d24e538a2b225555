// VLImage: a widget whose pixels the application owns: a 32-bit buffer with software drawing,
// picture files loaded into it, shown by copying it into the window.
#ifndef VORLA_VLIMAGE_H
#define VORLA_VLIMAGE_H

#include "vorla/vorla.h"

class VORLA_API VLImage {
public:
    typedef void (*RenderCallback)();

    VLImage();
    ~VLImage();
    VLImage(const VLImage &) = delete;
    VLImage &operator=(const VLImage &) = delete;

    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    VLWindow *GetParentWindow();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);
    void Repaint();

    // Pixels are 4 bytes in memory order red, green, blue, spare; rows top first, no padding.
    unsigned char *GetPointer();
    int GetLineBytes();
    int GetImageWidth();
    int GetImageHeight();
    void ClearImage(unsigned long colour);
    void SetForegroundColor(unsigned long colour);
    void SetPixel(int x, int y);
    unsigned long GetPixel(int x, int y);
    void DrawLine(int x1, int y1, int x2, int y2);
    void DrawHLine(int x1, int y, int x2);
    void DrawVLine(int x, int y1, int y2);
    void DrawRect(int x1, int y1, int x2, int y2);
    void DrawFillRect(int x1, int y1, int x2, int y2);
    void DrawCircle(int cx, int cy, int r);
    void DrawFillCircle(int cx, int cy, int r);
    void DrawPolygon(VLSTPosition *points, int count);
    void DrawFillPolygon(VLSTPosition *points, int count);
    void DrawBezier(VLSTPosition *points, int count);

    // BMP, PICT, JPEG or PNG: the picture's rectangle (sx, sy, w, h) goes to (dx, dy). 1 on success.
    int LoadImageA(const char *file, int sx, int sy, int w, int h, int dx, int dy);
    int GetImageSize(const char *file, int *w, int *h);

    // The image becomes an OpenGL view of the window (or of the group's window): from the next
    // size change on it is a child window whose every paint runs the callback with the view's
    // context current and then shows the frame. 0 without a window or group.
    int AttachOpenGL(VLWindow *window, RenderCallback callback);
    int AttachOpenGL(VLGroup *group, RenderCallback callback);

private:
    friend struct ImageAccess;  // the window's dispatch, the readers and the OpenGL attachment
    friend struct WidgetAccess; // the skeleton shared with the other widgets

    void Initialise();
    void Release();
    void Rebuild(int newWidth, int newHeight);
    void ResizeBuffer(int newWidth, int newHeight);
    void Draw();
    void BuildOpenGLWindow();
    void ReleaseOpenGL();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    int visible;
    unsigned int foregroundColour;
    unsigned char foregroundBytes[4]; // top byte, red, green, blue
    unsigned int foregroundPixel;     // the colour in pixel layout, as drawing writes it
    int x;
    int y;
    int width;
    int height;
    unsigned char *pixels;
    int lineBytes;
    HDC memoryContext;
    HBITMAP displayBitmap;
    HGDIOBJ previousBitmap;
    unsigned char *displayBits;
    unsigned char *description; // BITMAPINFOHEADER and room for a 256-entry palette
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
    // OpenGL attachment: while attached the image has no pixel buffer operations.
    HWND openGLWindow;
    HGLRC renderingContext;
    int attached;
    VLWindow *hostWindow;
    RenderCallback renderCallback;
    int rendering; // the callback is running: a paint it causes does not start another
};

#endif
