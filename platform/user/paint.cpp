// Invalidation and painting: update regions, WM_PAINT, BeginPaint/EndPaint, window contexts and
// presenting changed framebuffer areas.
#include "internal/system.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vorla::platform {

void Framebuffer::Resize(int w, int h, uint32_t fill) {
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    std::vector<uint32_t> next(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
    int cw = std::min(w, width), ch = std::min(h, height);
    if (cw <= 0 || ch <= 0) ch = 0; // nothing of the old picture survives
    for (int y = 0; y < ch; ++y)
        std::memcpy(&next[static_cast<size_t>(y) * w], &pixels[static_cast<size_t>(y) * width],
                    static_cast<size_t>(cw) * sizeof(uint32_t));
    pixels.swap(next);
    width = w;
    height = h;
    dirty = Box{0, 0, w, h};
}

void InvalidateWhole(Window &w, bool erase) {
    if (!w.visible) return;
    w.update = Region(Box{0, 0, w.client_box.Width(), w.client_box.Height()});
    if (erase) w.erase_pending = true;
}

static Window *TopLevelOf(Window *w) {
    while (w && !w->TopLevel()) w = FindWindow(w->parent);
    return w;
}

// Cuts the shown child windows out of a region in w's client coordinates (WS_CLIPCHILDREN), or
// the shown siblings above w (WS_CLIPSIBLINGS; later children lie above earlier ones) out of a
// region in origin's client coordinates.
static void CutChildren(const Window &w, Region &region) {
    for (HWND c : w.children) {
        const Window *child = FindWindow(c);
        if (child && child->visible) region.Subtract(child->window_box.Offset(-w.client_box.left, -w.client_box.top));
    }
}

static void CutSiblingsAbove(const Window &w, const Window &parent, Region &region, const Window &origin) {
    bool above = false;
    for (HWND c : parent.children) {
        if (c == w.handle) {
            above = true;
            continue;
        }
        const Window *sibling = FindWindow(c);
        if (above && sibling && sibling->visible)
            region.Subtract(sibling->window_box.Offset(-origin.client_box.left, -origin.client_box.top));
    }
}

bool ResolveWindowTarget(HWND window, WindowTarget &target) {
    Window *w = FindWindow(window);
    if (!w) return false;
    Window *top = TopLevelOf(w);
    if (!top || !top->framebuffer) return false;
    target.framebuffer = top->framebuffer.get();
    target.origin_x = w->client_box.left - top->client_box.left;
    target.origin_y = w->client_box.top - top->client_box.top;
    Box client{0, 0, w->client_box.Width(), w->client_box.Height()};
    // A child is also limited by its parent's client area.
    for (Window *p = w; p && !p->TopLevel();) {
        Window *parent = FindWindow(p->parent);
        if (!parent) break;
        Box pc = parent->client_box.Offset(-w->client_box.left, -w->client_box.top);
        client = client.Intersect(pc);
        p = parent;
    }
    target.visible = Region(client);
    if (!w->children.empty() && (w->style & WS_CLIPCHILDREN)) CutChildren(*w, target.visible);
    for (Window *p = w; p && !p->TopLevel();) {
        Window *parent = FindWindow(p->parent);
        if (!parent) break;
        if (p->style & WS_CLIPSIBLINGS) CutSiblingsAbove(*p, *parent, target.visible, *w);
        p = parent;
    }
    return true;
}

void ExposeParent(const Window &child, const Box &screen_box) {
    Window *parent = FindWindow(child.parent);
    if (!parent || !parent->visible || screen_box.Empty()) return;
    Box box = screen_box.Offset(-parent->client_box.left, -parent->client_box.top)
                  .Intersect(Box{0, 0, parent->client_box.Width(), parent->client_box.Height()});
    if (box.Empty()) return;
    parent->update.Unite(box);
    parent->erase_pending = true;
}

void PresentAll() {
    System &s = TheSystem();
    for (HWND h : s.z_order) {
        Window *w = FindWindow(h);
        if (!w || !w->framebuffer || w->framebuffer->dirty.Empty()) continue;
        Framebuffer &fb = *w->framebuffer;
        if (w->visible && w->surface) {
            PixelView view{fb.pixels.data(), fb.width, fb.height, fb.width};
            CurrentBackend().Present(w->surface, view, fb.dirty.left, fb.dirty.top, fb.dirty.right, fb.dirty.bottom);
        }
        fb.dirty = Box{};
    }
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    if (!IsWindowVisible(window)) return TRUE; // nothing of a hidden window can be seen
    Box client{0, 0, w->client_box.Width(), w->client_box.Height()};
    Box box = rect ? Box{rect->left, rect->top, rect->right, rect->bottom}.Intersect(client) : client;
    if (box.Empty()) return TRUE;
    w->update.Unite(box);
    if (erase) w->erase_pending = true;
    // Without WS_CLIPCHILDREN the parent's painting covers its children, so they paint again too.
    if (!(w->style & WS_CLIPCHILDREN))
        for (HWND c : std::vector<HWND>(w->children)) {
            Window *child = FindWindow(c);
            if (!child || !child->visible) continue;
            long long dx = static_cast<long long>(w->client_box.left) - child->client_box.left;
            long long dy = static_cast<long long>(w->client_box.top) - child->client_box.top;
            auto at = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); };
            RECT r{at(box.left + dx), at(box.top + dy), at(box.right + dx), at(box.bottom + dy)};
            InvalidateRect(c, &r, erase);
        }
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND window, const RECT *rect) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    if (!rect) {
        w->update.Clear();
        w->erase_pending = false;
    } else {
        w->update.Subtract(Box{rect->left, rect->top, rect->right, rect->bottom});
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    Box b = w->update.Bounds();
    if (rect) *rect = RECT{b.left, b.top, b.right, b.bottom};
    return !w->update.Empty();
}

BOOL WINAPI UpdateWindow(HWND window) {
    Window *w = FindWindow(window);
    if (!w) return FALSE;
    if (!w->update.Empty() && IsWindowVisible(window)) Send(window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    Window *w = FindWindow(window);
    if (!w || !paint) return nullptr;
    Region region = w->update;
    bool erase = w->erase_pending;
    w->update.Clear();
    w->erase_pending = false;
    if (!IsWindowVisible(window)) region.Clear();
    HDC dc = CreateWindowContext(window, &region);
    std::memset(paint, 0, sizeof(*paint));
    paint->hdc = dc;
    Box b = region.Bounds();
    paint->rcPaint = RECT{b.left, b.top, b.right, b.bottom};
    paint->fErase = TRUE;
    if (erase && dc) paint->fErase = Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT *paint) {
    if (!paint) return FALSE;
    if (paint->hdc) ReleaseContext(paint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND window) {
    if (!window) return CreateScreenContext();
    if (!FindWindow(window)) return nullptr;
    return CreateWindowContext(window, nullptr);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    if (!dc) return 0;
    if (window && !IsWindowContextOf(dc, window)) return 0;
    ReleaseContext(dc);
    return 1;
}

HWND WINAPI WindowFromDC(HDC dc) { return WindowOfContext(dc); }

} // extern "C"
