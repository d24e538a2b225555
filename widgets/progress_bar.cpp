// VLProgressBar: a filled bar over an integer range, composed in an offscreen picture and copied
// to the window.
#include "skeleton.h"

#include "../draw/surface_access.h"

#include <new>

void VLProgressBar::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    backgroundColour = 0xFF808080u;
    foregroundColour = 0xFF0000FFu;
    visible = 1;
    minimum = 0;
    maximum = 100;
    position = 0;
    mode = 0;
    x = y = width = height = 0;
    offscreen = nullptr;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
}

void VLProgressBar::Release()
{
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLProgressBar)

VLProgressBar::VLProgressBar(int initialMode) : VLProgressBar() { SetMode(initialMode); }

VORLA_WIDGET_BOUNDS(VLProgressBar, false)
VORLA_WIDGET_COLOURS(VLProgressBar)
VORLA_WIDGET_HINT(VLProgressBar)

void VLProgressBar::SetMode(int value) { mode = value; }
int VLProgressBar::GetMode() { return mode; }

VORLA_WIDGET_RANGE(VLProgressBar)

void VLProgressBar::SetPosition(int value) { position = value < minimum ? minimum : value > maximum ? maximum : value; }
int VLProgressBar::GetPosition() { return position; }

namespace {

// The foreground darkened for a shading band: each channel scaled by (255 - by) / 256.
unsigned int Shade(unsigned int colour, int by)
{
    auto channel = [&](int shift) {
        const int c = static_cast<int>((colour >> shift) & 0xFF);
        return static_cast<unsigned int>((c * 255 - by * c) / 256) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

} // namespace

void VLProgressBar::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    parentWindow->BeginPaint();
    HDC window = WindowInternals::Context(*parentWindow);
    HDC memory = window && offscreen ? CreateCompatibleDC(window) : nullptr;
    if (!memory) {
        parentWindow->EndPaint();
        return;
    }
    HGDIOBJ previous = SelectObject(memory, offscreen);
    SurfaceAccess::SetTarget(*this, memory);

    const int w = width, h = height;
    VLGraphics::SetForegroundColor(backgroundColour);
    DrawFillRect(0, 0, w, h);
    VLGraphics::SetForegroundColor(0xFF000000u);
    DrawRect(0, 0, w, h, 1);

    // The range and the position may be anything an int holds (the position is not re-clamped
    // when the range changes), so the bar's end is worked out wide.
    const long long range = static_cast<long long>(maximum) - minimum;
    if (range > 0) {
        long long end = (static_cast<long long>(position) - minimum) * w / range;
        if (end > w - 1)
            end = w - 1;
        if (end < 1)
            end = 1; // an empty bar still shows one pixel
        const int e = static_cast<int>(end);
        VLGraphics::SetForegroundColor(foregroundColour);
        DrawFillRect(1, 1, e, h - 1);

        if (mode == 1) {
            if (h / 16 >= 1) {
                // Eight bands of a sixteenth of the height each, from the middle down.
                const long long band = h / 16;
                long long top = h / 2;
                unsigned int colour = foregroundColour;
                for (int k = 0; k < 8; ++k) {
                    colour = Shade(foregroundColour, k * 16);
                    VLGraphics::SetForegroundColor(colour);
                    const long long bottom = top + band >= h ? h - 1 : top + band;
                    DrawFillRect(1, static_cast<int>(top), e, static_cast<int>(bottom));
                    top += band;
                    if (top >= h)
                        top = h - 1;
                }
                VLGraphics::SetForegroundColor(colour);
                DrawFillRect(1, static_cast<int>(top), e, h - 1);
            } else if (h / 2 >= 1) {
                // Too low for bands: one darker line per row of the lower half.
                const int rows = h / 2, step = 128 / rows;
                for (int j = 0; j < rows; ++j) {
                    VLGraphics::SetForegroundColor(Shade(foregroundColour, j * step));
                    DrawLine(1, rows + j, e, rows + j, 1);
                }
            }
        }
    }

    BitBlt(window, windowX, windowY, w + 1, h + 1, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    SurfaceAccess::SetTarget(*this, nullptr);
    parentWindow->EndPaint();
}

extern const WidgetKind ProgressBarKind = [] {
    WidgetKind kind = SkeletonKind<VLProgressBar>();
    return kind; // progress bars take no input and never the focus
}();
