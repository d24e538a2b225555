// OpenGL on windows: pixel formats, rendering contexts and buffer swaps. Mesa's off-screen driver
// (OSMesa, loaded when the first context is made, so programs without OpenGL never pay for it)
// renders into a buffer of the window's client size; SwapBuffers copies that buffer into the
// window's part of its top-level framebuffer, where the backend presents it like any painting.
#include "internal/system.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_map>

#ifdef VORLA_HAVE_OSMESA
#include <dlfcn.h>
#endif

namespace vorla::platform {

// What a window's contexts render into: rows top first, 0xAARRGGBB (OSMesa's BGRA bytes).
struct GlDrawable {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    int users = 0; // contexts current on it; its memory may not move while any is
};

namespace {

struct Format {
    DWORD flags;
    BYTE alpha, depth, stencil;
};

constexpr DWORD Window3D = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
const Format Formats[] = {
    {Window3D | PFD_DOUBLEBUFFER, 0, 24, 8}, {Window3D | PFD_DOUBLEBUFFER, 8, 24, 8},
    {Window3D | PFD_DOUBLEBUFFER, 0, 16, 0}, {Window3D | PFD_DOUBLEBUFFER, 0, 0, 0},
    {Window3D, 0, 24, 8},                    {Window3D, 8, 24, 8},
};
constexpr int FormatCount = static_cast<int>(sizeof Formats / sizeof Formats[0]);

// The largest buffer side Mesa's software rasterizer renders, and an area (8K and more) that
// keeps one view's buffers to a few hundred megabytes; larger windows get no context.
constexpr int MaxSide = 16384;
constexpr long long MaxArea = 64LL * 1024 * 1024;

// OSMesa's entry points, looked up in the loaded library.
struct Mesa {
    bool ok = false;
    void *(*create)(unsigned format, int depth, int stencil, int accum, void *share) = nullptr;
    void (*destroy)(void *context) = nullptr;
    unsigned char (*make_current)(void *context, void *buffer, unsigned type, int width, int height) = nullptr;
    void (*pixel_store)(int name, int value) = nullptr;
    PROC (*proc_address)(const char *name) = nullptr;
    void (*flush)() = nullptr;
    void (*finish)() = nullptr;
};
constexpr unsigned OsmesaBgra = 0x1, OsmesaYUp = 0x11, GlUnsignedByte = 0x1401;

const Mesa &TheMesa() {
    static const Mesa mesa = [] {
        Mesa m;
#ifdef VORLA_HAVE_OSMESA
        const char *names[] = {std::getenv("VORLA_OSMESA_LIBRARY"), VORLA_OSMESA_SONAME, "libOSMesa.so.8",
                               "libOSMesa.so"};
        void *library = nullptr;
        for (const char *name : names)
            if (name && *name && (library = dlopen(name, RTLD_NOW | RTLD_GLOBAL))) break;
        if (!library) return m;
        auto find = [&](auto &slot, const char *name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(library, name));
            return slot != nullptr;
        };
        m.ok = find(m.create, "OSMesaCreateContextExt") && find(m.destroy, "OSMesaDestroyContext") &&
               find(m.make_current, "OSMesaMakeCurrent") && find(m.pixel_store, "OSMesaPixelStore") &&
               find(m.proc_address, "OSMesaGetProcAddress") && find(m.flush, "glFlush") &&
               find(m.finish, "glFinish");
        // The library stays loaded: the application's own GL calls resolve into it.
#endif
        return m;
    }();
    return mesa;
}

struct Context {
    uintptr_t handle = 0;
    void *mesa = nullptr;
    int format = 0;
    DWORD thread = 0; // the thread it is current in, 0 when none
    HWND window = nullptr;
    std::shared_ptr<GlDrawable> drawable;
};

std::mutex g_lock;
std::unordered_map<uintptr_t, std::unique_ptr<Context>> g_contexts;
thread_local Context *t_current = nullptr;
thread_local HDC t_current_dc = nullptr;

Context *Find(HGLRC handle) {
    auto it = g_contexts.find(reinterpret_cast<uintptr_t>(handle));
    return it == g_contexts.end() ? nullptr : it->second.get();
}

Window *WindowOf(HDC dc) {
    HWND window = dc ? WindowOfContext(dc) : nullptr;
    return window ? FindWindow(window) : nullptr;
}

// Copies a drawable into its window's visible part of the top-level framebuffer.
void Show(Window &w, const GlDrawable &drawable) {
    WindowTarget target;
    if (!ResolveWindowTarget(w.handle, target) || !target.framebuffer) return;
    Framebuffer &fb = *target.framebuffer;
    Box limit = Box{0, 0, drawable.width, drawable.height}.Intersect(
        Box{-target.origin_x, -target.origin_y, fb.width - target.origin_x, fb.height - target.origin_y});
    for (const Box &part : target.visible.Boxes()) {
        Box b = part.Intersect(limit);
        if (b.Empty()) continue;
        for (int y = b.top; y < b.bottom; ++y) {
            const uint32_t *in = &drawable.pixels[static_cast<size_t>(y) * drawable.width + b.left];
            uint32_t *out = &fb.pixels[static_cast<size_t>(y + target.origin_y) * fb.width + b.left + target.origin_x];
            for (int x = 0; x < b.Width(); ++x) out[x] = in[x] & 0x00FFFFFFu;
        }
        fb.MarkDirty(b.Offset(target.origin_x, target.origin_y));
    }
}

// A single-buffered window shows the current context's picture once it is flushed or let go.
void ShowIfSingleBuffered(const Context &c) {
    if (Formats[c.format - 1].flags & PFD_DOUBLEBUFFER) return;
    TheMesa().finish();
    if (Window *w = FindWindow(c.window)) Show(*w, *c.drawable);
}

void Release(Context &c) {
    if (c.drawable) c.drawable->users--;
    c.thread = 0;
    c.drawable.reset();
    c.window = nullptr;
}

// Makes nothing current in this thread.
void ReleaseCurrent() {
    if (!t_current) return;
    const Mesa &mesa = TheMesa();
    if (mesa.ok) {
        ShowIfSingleBuffered(*t_current);
        mesa.make_current(nullptr, nullptr, 0, 0, 0);
    }
    Release(*t_current);
    t_current = nullptr;
    t_current_dc = nullptr;
}

bool ValidFormat(int format) { return format >= 1 && format <= FormatCount; }

void Describe(int format, PIXELFORMATDESCRIPTOR &out) {
    const Format &f = Formats[format - 1];
    out = PIXELFORMATDESCRIPTOR{};
    out.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    out.nVersion = 1;
    out.dwFlags = f.flags;
    out.iPixelType = PFD_TYPE_RGBA;
    out.cColorBits = 24;
    out.cRedBits = out.cGreenBits = out.cBlueBits = 8;
    out.cRedShift = 16;
    out.cGreenShift = 8;
    out.cBlueShift = 0;
    out.cAlphaBits = f.alpha;
    out.cAlphaShift = f.alpha ? 24 : 0;
    out.cDepthBits = f.depth;
    out.cStencilBits = f.stencil;
    out.iLayerType = PFD_MAIN_PLANE;
}

} // namespace

size_t LiveGlContexts() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_contexts.size();
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR *wanted) {
    if (!wanted || !WindowOf(dc)) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    // The closest format that draws to a window with OpenGL: buffering first, then alpha, then
    // depth and stencil bits as near as they come.
    int best = 0;
    long best_cost = 0;
    for (int i = 1; i <= FormatCount; ++i) {
        const Format &f = Formats[i - 1];
        long cost = 0;
        if (!(wanted->dwFlags & PFD_DOUBLEBUFFER_DONTCARE) &&
            ((wanted->dwFlags ^ f.flags) & PFD_DOUBLEBUFFER))
            cost += 100000;
        if ((wanted->cAlphaBits != 0) != (f.alpha != 0)) cost += 10000;
        if (!(wanted->dwFlags & PFD_DEPTH_DONTCARE)) {
            if ((wanted->cDepthBits != 0) != (f.depth != 0)) cost += 1000;
            cost += 10 * std::abs(static_cast<int>(wanted->cDepthBits) - f.depth);
        }
        cost += std::abs(static_cast<int>(wanted->cStencilBits) - f.stencil);
        if (!best || cost < best_cost) {
            best = i;
            best_cost = cost;
        }
    }
    return best;
}

int WINAPI DescribePixelFormat(HDC dc, int format, UINT size, LPPIXELFORMATDESCRIPTOR out) {
    if (!WindowOf(dc)) return 0;
    if (!out) return FormatCount;
    if (!ValidFormat(format) || size < sizeof(PIXELFORMATDESCRIPTOR)) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    Describe(format, *out);
    return FormatCount;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR *) {
    Window *w = WindowOf(dc);
    // A window's pixel format is set once for its life.
    if (!w || !ValidFormat(format) || (w->pixel_format && w->pixel_format != format)) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE;
    }
    w->pixel_format = format;
    return TRUE;
}

int WINAPI GetPixelFormat(HDC dc) {
    Window *w = WindowOf(dc);
    if (!w || !w->pixel_format) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    return w->pixel_format;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    Window *w = WindowOf(dc);
    if (!w || !w->pixel_format) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    const Mesa &mesa = TheMesa();
    if (!mesa.ok) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const Format &f = Formats[w->pixel_format - 1];
    void *made = mesa.create(OsmesaBgra, f.depth, f.stencil, 0, nullptr);
    if (!made) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto context = std::make_unique<Context>();
    context->mesa = made;
    context->format = w->pixel_format;
    context->handle = NewHandle();
    const uintptr_t handle = context->handle;
    std::lock_guard<std::mutex> hold(g_lock);
    g_contexts[handle] = std::move(context);
    return reinterpret_cast<HGLRC>(handle);
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC handle) {
    if (!handle) {
        ReleaseCurrent();
        return TRUE;
    }
    std::unique_lock<std::mutex> hold(g_lock);
    Context *c = Find(handle);
    if (!c) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD me = GetCurrentThreadId();
    if (c->thread && c->thread != me) {
        SetLastError(ERROR_BUSY);
        return FALSE;
    }
    Window *w = WindowOf(dc);
    if (!w || w->pixel_format != c->format) {
        SetLastError(w ? ERROR_INVALID_PIXEL_FORMAT : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    int width = std::max(1, w->client_box.Width()), height = std::max(1, w->client_box.Height());
    if (width > MaxSide || height > MaxSide || static_cast<long long>(width) * height > MaxArea) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    hold.unlock();
    if (t_current) ReleaseCurrent();
    if (!w->gl_drawable) w->gl_drawable = std::make_shared<GlDrawable>();
    GlDrawable &d = *w->gl_drawable;
    // The buffer follows the window's size unless another context renders into it right now.
    if ((d.width != width || d.height != height) && d.users == 0) {
        try {
            d.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        } catch (const std::bad_alloc &) {
            d.pixels.clear();
            d.width = d.height = 0;
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        d.width = width;
        d.height = height;
    }
    const Mesa &mesa = TheMesa();
    if (!mesa.ok || d.pixels.empty() || !mesa.make_current(c->mesa, d.pixels.data(), GlUnsignedByte, d.width, d.height)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    mesa.pixel_store(OsmesaYUp, 0); // rows top first, as the framebuffer keeps them
    c->thread = me;
    c->window = w->handle;
    c->drawable = w->gl_drawable;
    c->drawable->users++;
    t_current = c;
    t_current_dc = dc;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC handle) {
    std::unique_lock<std::mutex> hold(g_lock);
    Context *c = Find(handle);
    if (!c) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (c->thread && c->thread != GetCurrentThreadId()) {
        SetLastError(ERROR_BUSY);
        return FALSE;
    }
    hold.unlock();
    if (t_current == c) ReleaseCurrent();
    hold.lock();
    auto it = g_contexts.find(reinterpret_cast<uintptr_t>(handle));
    if (it == g_contexts.end()) return FALSE;
    std::unique_ptr<Context> gone = std::move(it->second);
    g_contexts.erase(it);
    hold.unlock();
    if (TheMesa().ok && gone->mesa) TheMesa().destroy(gone->mesa);
    return TRUE;
}

HGLRC WINAPI wglGetCurrentContext(void) { return t_current ? reinterpret_cast<HGLRC>(t_current->handle) : nullptr; }

HDC WINAPI wglGetCurrentDC(void) { return t_current ? t_current_dc : nullptr; }

PROC WINAPI wglGetProcAddress(LPCSTR name) {
    if (!name || !t_current || !TheMesa().ok) return nullptr;
    return TheMesa().proc_address(name);
}

BOOL WINAPI SwapBuffers(HDC dc) {
    Window *w = WindowOf(dc);
    if (!w || !w->pixel_format || !w->gl_drawable) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Rendering still under way into this window finishes first.
    if (t_current && t_current->drawable == w->gl_drawable && TheMesa().ok) TheMesa().finish();
    Show(*w, *w->gl_drawable);
    return TRUE;
}

// The library's own glFlush: the driver's, and a single-buffered window shows the result.
void APIENTRY glFlush(void) {
    if (!t_current || !TheMesa().ok) return;
    TheMesa().flush();
    ShowIfSingleBuffered(*t_current);
}

} // extern "C"
