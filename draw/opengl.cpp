// The OpenGL attachment: an image that is a child window of its host window, with a
// double-buffered rendering context, drawn by the application's callback on every paint.
#include "vorla/VLGroup.h"
#include "vorla/VLImage.h"
#include "vorla/VLWindow.h"

#include "../core/library.h"
#include "../core/life_guard.h"
#include "../core/links.h"
#include "../core/window_internals.h"
#include "../widgets/skeleton.h"
#include "image_access.h"

#include <algorithm>
#include <vector>

namespace {

const char OpenGLClassName[] = "VorlaOpenGLWindow";

// The class is registered with the first view and stays registered while the library runs, so
// any number of views can exist at once; each child window renders its own image.
std::vector<HINSTANCE> &registeredInstances()
{
    static std::vector<HINSTANCE> *instances = new std::vector<HINSTANCE>;
    return *instances;
}

// Attached images, so a paint of their host can keep their child windows where they are shown.
std::vector<VLImage *> &AttachedImages()
{
    static std::vector<VLImage *> *images = new std::vector<VLImage *>; // outlives static images
    return *images;
}

void Forget(VLImage *image)
{
    auto &images = AttachedImages();
    images.erase(std::remove(images.begin(), images.end(), image), images.end());
}

PIXELFORMATDESCRIPTOR WantedFormat()
{
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = 40;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 32;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

LRESULT OpenGLWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC context = BeginPaint(window, &paint);
        auto *image = reinterpret_cast<VLImage *>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (image && context)
            ImageAccess::RenderOpenGL(*image, window, context);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0; // never erased, so the view does not flicker
    case WM_NCDESTROY:
        // Destroyed with its host: the image keeps its attachment and gets a window again on the
        // next size change.
        if (auto *image = reinterpret_cast<VLImage *>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            ImageAccess::ForgetOpenGLWindow(*image, window);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK OpenGLWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return RunUnderLock(OpenGLWindowMessage, window, message, wparam, lparam);
}

bool RegisterOpenGLClass(HINSTANCE instance)
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, OpenGLClassName, &existing))
        return existing.lpfnWndProc == OpenGLWindowProcedure;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass; // 48 bytes only on 32-bit systems
    windowClass.style = 0;
    windowClass.lpfnWndProc = OpenGLWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = OpenGLClassName;
    if (!RegisterClassExA(&windowClass))
        return false;
    registeredInstances().push_back(instance);
    return true;
}

} // namespace

void UnregisterOpenGLClass()
{
    for (HINSTANCE instance : registeredInstances())
        UnregisterClassA(OpenGLClassName, instance);
    registeredInstances().clear();
}

int VLImage::AttachOpenGL(VLWindow *window, RenderCallback callback)
{
    if (!window)
        return 0;
    hostWindow = window;
    renderCallback = callback;
    if (!attached) {
        attached = 1;
        AttachedImages().push_back(this);
    }
    return 1;
}

int VLImage::AttachOpenGL(VLGroup *owner, RenderCallback callback)
{
    if (!owner || !owner->GetParentWindow())
        return 0;
    return AttachOpenGL(owner->GetParentWindow(), callback);
}

void VLImage::ReleaseOpenGL()
{
    if (renderingContext)
        wglDeleteContext(renderingContext);
    renderingContext = nullptr;
    if (openGLWindow) {
        HWND child = openGLWindow;
        openGLWindow = nullptr;
        SetWindowLongPtrA(child, GWLP_USERDATA, 0); // its last messages no longer name us
        DestroyWindow(child);
    }
}

// Builds the child window and its context at the image's place in the host window; on any
// failure the image stays attached without a window.
void VLImage::BuildOpenGLWindow()
{
    ReleaseOpenGL();
    HWND host = hostWindow ? WindowInternals::Handle(*hostWindow) : nullptr;
    if (width <= 0 || height <= 0 || !host)
        return;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(host, GWLP_HINSTANCE));
    if (!RegisterOpenGLClass(instance))
        return;
    int left = 0, top = 0;
    ImageAccess::OpenGLPosition(*this, left, top);
    HWND child = CreateWindowExA(0, OpenGLClassName, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, left, top,
                                 width, height, host, nullptr, nullptr, nullptr);
    if (!child)
        return;
    SetWindowLongPtrA(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    openGLWindow = child;

    HDC context = GetDC(child);
    const PIXELFORMATDESCRIPTOR wanted = WantedFormat();
    const int format = context ? ChoosePixelFormat(context, &wanted) : 0;
    if (format && SetPixelFormat(context, format, &wanted))
        renderingContext = wglCreateContext(context);
    if (context)
        ReleaseDC(child, context);
    if (!renderingContext) {
        ReleaseOpenGL();
        return;
    }
    // Shown once the context exists, so its first paint (from the message loop) renders.
    if (visible && GroupsShowing(group))
        ShowWindow(child, SW_SHOW);
}

// ---- access for the window's passes and the child window ----

void ImageAccess::OpenGLPosition(const VLImage &image, int &x, int &y)
{
    // Where the image is placed in its host; an image not placed there uses its own position.
    const bool placed = image.parentWindow && image.parentWindow == image.hostWindow;
    x = placed ? image.windowX : image.x;
    y = placed ? image.windowY : image.y;
}

void ImageAccess::FollowOpenGL(VLImage &image)
{
    HWND child = image.openGLWindow;
    if (!child || !image.hostWindow)
        return;
    int left = 0, top = 0;
    OpenGLPosition(image, left, top);
    RECT box = {0, 0, 0, 0};
    GetWindowRect(child, &box);
    POINT corner = {box.left, box.top};
    ScreenToClient(WindowInternals::Handle(*image.hostWindow), &corner);
    if (corner.x != left || corner.y != top)
        MoveWindow(child, left, top, box.right - box.left, box.bottom - box.top, TRUE);
    const bool shown = image.visible && GroupsShowing(image.group);
    const bool showing = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != showing)
        ShowWindow(child, shown ? SW_SHOW : SW_HIDE);
}

void ImageAccess::FollowOpenGLViews(VLWindow &window)
{
    // Moving or showing a child window calls no application code, so the list cannot change.
    for (VLImage *image : AttachedImages())
        if (image->hostWindow == &window)
            FollowOpenGL(*image);
}

void ImageAccess::ForgetOpenGLWindow(VLImage &image, HWND window)
{
    if (image.openGLWindow != window)
        return;
    image.openGLWindow = nullptr; // already on its way out: only the context is left to delete
    image.ReleaseOpenGL();
}

void ImageAccess::DetachOpenGL(VLImage &image)
{
    image.ReleaseOpenGL();
    if (image.attached)
        Forget(&image);
}

void ImageAccess::RenderOpenGL(VLImage &image, HWND window, HDC context)
{
    // Without a callback there is nothing to draw, and no frame is shown.
    if (!image.attached || !image.renderingContext || image.openGLWindow != window || image.rendering ||
        !image.renderCallback)
        return;
    const HGLRC rendering = image.renderingContext;
    // A view drawn from inside another's callback (a dialog it opened) hands the context back.
    const HGLRC outerContext = wglGetCurrentContext();
    const HDC outerTarget = wglGetCurrentDC();
    if (!wglMakeCurrent(context, rendering))
        return;
    image.rendering = 1;
    LifeGuard alive(&image);
    image.renderCallback();
    // The callback may have cleared, rebuilt or deleted the image: then the frame is not shown.
    const bool same = !alive.Destroyed() && image.renderingContext == rendering && image.openGLWindow == window;
    if (!alive.Destroyed())
        image.rendering = 0;
    if (same) {
        glFlush();
        SwapBuffers(context);
    }
    if (outerContext && outerContext != rendering)
        wglMakeCurrent(outerTarget, outerContext);
    else
        wglMakeCurrent(context, nullptr);
}
