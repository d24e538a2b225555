// The headless screen as a picture: the desktop, and every shown window from the bottom up with
// its classic frame and its client pixels.
#include "internal/system.h"

#include <algorithm>

namespace vorla::platform {

namespace {

struct Picture {
    std::vector<uint32_t> &pixels;
    int width, height;

    void Fill(const Box &b, uint32_t rgb) {
        Box c = b.Intersect(Box{0, 0, width, height});
        for (int y = c.top; y < c.bottom; ++y)
            std::fill(pixels.begin() + static_cast<long>(y) * width + c.left,
                      pixels.begin() + static_cast<long>(y) * width + c.right, rgb);
    }
};

// The classic frame: grey face with light and dark edges, a caption bar and a close box.
void DrawFrame(Picture &p, const Window &w, bool active) {
    const Box &o = w.window_box;
    p.Fill(o, 0xC0C0C0);
    p.Fill(Box{o.left + 1, o.top + 1, o.right - 1, o.top + 2}, 0xFFFFFF);
    p.Fill(Box{o.left + 1, o.top + 1, o.left + 2, o.bottom - 1}, 0xFFFFFF);
    p.Fill(Box{o.left, o.bottom - 1, o.right, o.bottom}, 0x000000);
    p.Fill(Box{o.right - 1, o.top, o.right, o.bottom}, 0x000000);
    p.Fill(Box{o.left + 1, o.bottom - 2, o.right - 1, o.bottom - 1}, 0x808080);
    p.Fill(Box{o.right - 2, o.top + 1, o.right - 1, o.bottom - 1}, 0x808080);
    if ((w.style & WS_CAPTION) != WS_CAPTION) {
        if (w.style & WS_BORDER) {
            p.Fill(o, 0x000000);
        }
        return;
    }
    Box caption{w.client_box.left, o.top + (w.client_box.left - o.left), w.client_box.right, w.client_box.top - 1};
    uint32_t from = active ? 0x000080 : 0x808080, to = active ? 0x1084D0 : 0xC0C0C0;
    int span = std::max(1, caption.Width());
    for (int x = caption.left; x < caption.right; ++x) {
        int t = x - caption.left;
        auto mix = [&](int shift) {
            int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
            return static_cast<uint32_t>(a + (b - a) * t / span) << shift;
        };
        p.Fill(Box{x, caption.top, x + 1, caption.bottom}, mix(16) | mix(8) | mix(0));
    }
    Box close = CloseBoxOf(w);
    if (close.Empty()) return;
    p.Fill(close, 0xC0C0C0);
    p.Fill(Box{close.left, close.bottom - 1, close.right, close.bottom}, 0x000000);
    p.Fill(Box{close.right - 1, close.top, close.right, close.bottom}, 0x000000);
    p.Fill(Box{close.left, close.top, close.right - 1, close.top + 1}, 0xFFFFFF);
    p.Fill(Box{close.left, close.top, close.left + 1, close.bottom - 1}, 0xFFFFFF);
    int size = std::min(close.Width(), close.Height()) - 6;
    int x0 = close.left + (close.Width() - size) / 2 - 1, y0 = close.top + (close.Height() - size) / 2;
    for (int i = 0; i < size; ++i) {
        p.Fill(Box{x0 + i, y0 + i, x0 + i + 2, y0 + i + 1}, 0x000000);
        p.Fill(Box{x0 + size - 1 - i, y0 + i, x0 + size + 1 - i, y0 + i + 1}, 0x000000);
    }
}

} // namespace

// The caption's title in the system's bold 12-pixel Gothic, drawn through a DIB section that
// wraps the picture for the moment.
static void DrawTitle(Picture &p, const Window &w, bool active) {
    if ((w.style & WS_CAPTION) != WS_CAPTION || w.title.empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
        return;
    }
    std::copy(p.pixels.begin(), p.pixels.end(), static_cast<uint32_t *>(bits));
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    LOGFONTA description{};
    description.lfHeight = -12;
    description.lfWeight = FW_BOLD;
    description.lfCharSet = SHIFTJIS_CHARSET;
    static const char gothic[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
    std::copy(gothic, gothic + sizeof gothic, description.lfFaceName);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, active ? RGB(255, 255, 255) : RGB(212, 208, 200));
    Box close = CloseBoxOf(w);
    int caption_top = w.window_box.top + (w.client_box.left - w.window_box.left);
    int caption_height = w.client_box.top - 1 - caption_top;
    RECT area{w.client_box.left + 3, caption_top + (caption_height - 12) / 2,
              (close.Empty() ? w.client_box.right : close.left) - 2, caption_top + caption_height};
    IntersectClipRect(dc, area.left, caption_top, area.right, area.bottom);
    TextOutA(dc, area.left, area.top, w.title.c_str(), static_cast<int>(w.title.size()));
    GdiFlush();
    const uint32_t *drawn = static_cast<const uint32_t *>(bits);
    std::copy(drawn, drawn + p.pixels.size(), p.pixels.begin());
    SelectObject(dc, old_font);
    SelectObject(dc, old_bitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void ComposeScreen(std::vector<uint32_t> &pixels, int &width, int &height) {
    CurrentBackend().ScreenSize(width, height);
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0x008080);
    Picture p{pixels, width, height};
    System &s = TheSystem();
    for (auto it = s.z_order.rbegin(); it != s.z_order.rend(); ++it) {
        Window *w = FindWindow(*it);
        if (!w || !w->visible || !w->framebuffer) continue;
        DrawFrame(p, *w, s.active == w->handle);
        DrawTitle(p, *w, s.active == w->handle);
        const Framebuffer &fb = *w->framebuffer;
        for (int y = 0; y < fb.height; ++y)
            for (int x = 0; x < fb.width; ++x) {
                int sx = w->client_box.left + x, sy = w->client_box.top + y;
                if (sx >= 0 && sy >= 0 && sx < width && sy < height)
                    pixels[static_cast<size_t>(sy) * width + sx] = fb.pixels[static_cast<size_t>(y) * fb.width + x];
            }
    }
}

} // namespace vorla::platform
