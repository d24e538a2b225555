// What the device-context code needs from the window system and offers to it: window framebuffers
// and the making of window and screen contexts.
#pragma once

#include "internal/region.h"
#include "platform/win32.h"

#include <cstdint>
#include <vector>

namespace vorla::platform {

// A top-level window's client pixels (or the screen's): 0x00RRGGBB, rows top first.
struct Framebuffer {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    Box dirty; // changed since the backend last presented it

    void Resize(int w, int h, uint32_t fill = 0);
    void MarkDirty(const Box &box) { dirty = dirty.Bound(box.Intersect(Box{0, 0, width, height})); }
};

// Where a window context draws: a framebuffer, the window's client origin inside it, and the
// visible region in client coordinates.
struct WindowTarget {
    Framebuffer *framebuffer = nullptr;
    int origin_x = 0, origin_y = 0;
    Region visible;
};

// Answered by the window system for window contexts at every drawing call, so a context of a
// destroyed window draws nothing.
bool ResolveWindowTarget(HWND window, WindowTarget &target);

// Contexts made by the window system: GetDC, BeginPaint and GetDC(NULL). A non-null paint region
// (client coordinates) limits drawing to the update region of BeginPaint.
HDC CreateWindowContext(HWND window, const Region *paint_region);
HDC CreateScreenContext();
void ReleaseContext(HDC dc);
bool IsWindowContextOf(HDC dc, HWND window);
HWND WindowOfContext(HDC dc);

// The screen's framebuffer, for drawing through GetDC(NULL).
Framebuffer &ScreenFramebuffer();

// Drops every GDI object and context (a fresh window system for the next test).
void ResetGdi();
// Live objects by kind, to find leaks in tests.
size_t LiveGdiObjects();

} // namespace vorla::platform
