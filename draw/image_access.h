// Internal access to an image's fields for the window's dispatch, the picture readers and the
// OpenGL attachment.
#pragma once

#include "vorla/VLImage.h"

#include <cstddef>

struct ImageAccess {
    // The pixel buffer, null without one or while OpenGL is attached.
    static unsigned char *Pixels(VLImage &image) { return image.attached ? nullptr : image.pixels; }
    static int Width(const VLImage &image) { return image.width; }
    static int Height(const VLImage &image) { return image.height; }
    static void Draw(VLImage &image) { image.Draw(); }
    // Writes one pixel value (memory order red, green, blue, spare) count times from first.
    static void Fill(unsigned char *first, size_t count, unsigned int pixel);
    // The pixel value of a colour 0xAARRGGBB, as drawing writes it.
    static unsigned int PixelOf(unsigned int colour);

    // The OpenGL attachment: where its child window goes in the host, keeping a child window
    // placed and shown as the image is, the view's paint, the host destroying the child window,
    // and the end of the attachment.
    static void OpenGLPosition(const VLImage &image, int &x, int &y);
    static void FollowOpenGL(VLImage &image);
    static void FollowOpenGLViews(VLWindow &window);
    static void RenderOpenGL(VLImage &image, HWND window, HDC context);
    static void ForgetOpenGLWindow(VLImage &image, HWND window);
    static void DetachOpenGL(VLImage &image);

    // The dispatch row (image_kind.h).
    static void Place(void *image, VLWindow *window, int originX, int originY);
    static void DrawKind(void *image);
    static void ClearKind(void *image);
    static void Bounds(void *image, VLSTRect &out);
    static bool Visible(void *image);
    static void WindowPosition(void *image, int &x, int &y);
};
