// VLColor: the RGB channels, the HSV triple kept beside them, the integer conversions between the
// two models and the system's window background colour; and the swatch that shows the colour and
// opens the colour dialog when clicked.
#include "../widgets/skeleton.h"

#include "surface_access.h"

#include <new>

namespace {

int Clamp255(int n) { return n < 0 ? 0 : n > 255 ? 255 : n; }

// Any int hue onto 0-359 (-1 is 359, -360 is 0, 720 is 0); wide, so INT_MIN cannot overflow.
int NormalisedHue(int hue)
{
    long long h = static_cast<long long>(hue) % 360;
    if (h < 0)
        h += 360;
    return static_cast<int>(h);
}

} // namespace

void VLColor::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    visible = 1;
    enabled = 1;
    x = y = width = height = 0;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
    changeCallback = nullptr;
    red = green = blue = 0;
    hue = saturation = value = 0; // black, and the HSV triple already agrees with it
}

void VLColor::Release()
{
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLColor)

VLColor::VLColor(int r, int g, int b) : VLColor() { SetColorRGB(r, g, b); }
VLColor::VLColor(VLSTColor colour) : VLColor() { SetColorRGB(colour); }

void VLColor::SetColorRGB(int r, int g, int b)
{
    red = Clamp255(r);
    green = Clamp255(g);
    blue = Clamp255(b);
    hue = -1;
}

void VLColor::SetColorRGB(VLSTColor colour) { SetColorRGB(colour.red, colour.green, colour.blue); }

void VLColor::GetColorRGB(int *r, int *g, int *b)
{
    if (r)
        *r = red;
    if (g)
        *g = green;
    if (b)
        *b = blue;
}

VLSTColor VLColor::GetColorRGB() { return VLSTColor{red, green, blue, 0}; }
int VLColor::GetRedValue() { return red; }
int VLColor::GetGreenValue() { return green; }
int VLColor::GetBlueValue() { return blue; }

void VLColor::SetColorHSV(int h, int s, int v)
{
    hue = NormalisedHue(h);
    saturation = Clamp255(s);
    value = Clamp255(v);
    HSVtoRGB(hue, saturation, value, &red, &green, &blue);
}

void VLColor::GetColorHSV(int *h, int *s, int *v)
{
    if (hue == -1)
        RGBtoHSV(red, green, blue, &hue, &saturation, &value);
    if (h)
        *h = hue;
    if (s)
        *s = saturation;
    if (v)
        *v = value;
}

void VLColor::RGBtoHSV(int r, int g, int b, int *h, int *s, int *v)
{
    r = Clamp255(r);
    g = Clamp255(g);
    b = Clamp255(b);
    int maximum, minimum;
    if (r < g) {
        maximum = g >= b ? g : b;
        minimum = b < r ? b : r;
    } else {
        maximum = r >= b ? r : b;
        minimum = b < g ? b : g;
    }
    if (v)
        *v = maximum;
    if (maximum == minimum) {
        if (s)
            *s = 0;
        if (h)
            *h = 0;
        return;
    }
    const int d = maximum - minimum;
    const int sat = (d * 256) / maximum;
    if (s)
        *s = sat > 255 ? 255 : sat;
    int angle;
    if (maximum == r)
        angle = ((g - b) * 60) / d;
    else if (maximum == g)
        angle = ((b - r) * 60) / d + 120;
    else
        angle = ((r - g) * 60) / d + 240;
    if (angle < 0)
        angle += 360;
    if (angle >= 360)
        angle -= 360;
    if (h)
        *h = angle;
}

void VLColor::HSVtoRGB(int h, int s, int v, int *r, int *g, int *b)
{
    h = NormalisedHue(h);
    s = Clamp255(s);
    int channels[3] = {0, 0, 0};
    if (v > 0) {
        if (v > 255)
            v = 255;
        // (s * v) >> 8 rather than / 255: the smallest channel of a saturated colour stays 1.
        const int c = (s * v) >> 8, m = v - c;
        const int f = ((h % 60) * 256) / 60, t = (f * c) >> 8;
        switch (h / 60) {
        case 0: channels[0] = v, channels[1] = m + t, channels[2] = m; break;
        case 1: channels[0] = v - t, channels[1] = v, channels[2] = m; break;
        case 2: channels[0] = m, channels[1] = v, channels[2] = m + t; break;
        case 3: channels[0] = m, channels[1] = v - t, channels[2] = v; break;
        case 4: channels[0] = m + t, channels[1] = m, channels[2] = v; break;
        default: channels[0] = v, channels[1] = m, channels[2] = v - t; break;
        }
        for (int &channel : channels)
            channel = channel > 255 ? 255 : channel;
    }
    if (r)
        *r = channels[0];
    if (g)
        *g = channels[1];
    if (b)
        *b = channels[2];
}

VLSTColor VLColor::HSVtoRGB(int h, int s, int v)
{
    VLSTColor colour = {0, 0, 0, 0};
    HSVtoRGB(h, s, v, &colour.red, &colour.green, &colour.blue);
    return colour;
}

unsigned long VLColor::GetSystem_WindowBackgroundColor()
{
    // The system keeps 0x00BBGGRR; colour values are 0xAARRGGBB.
    const unsigned long system = GetSysColor(COLOR_MENU) & 0xFFFFFFu;
    return 0xFF000000ul | ((system & 0xFF) << 16) | (system & 0xFF00) | ((system >> 16) & 0xFF);
}

// ---- the swatch: a framed rectangle of the colour that opens the colour dialog when clicked ----

VORLA_WIDGET_BOUNDS(VLColor, false)
VORLA_WIDGET_HINT(VLColor)

void VLColor::SetEnable(int enable) { enabled = enable; }
int VLColor::IsEnable() { return enabled; }
int VLColor::AttachChangeEvent(ColorCallback callback) { return AttachCallback(changeCallback, callback); }
void VLColor::DetachChangeEvent() { changeCallback = nullptr; }

void VLColor::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    parentWindow->BeginPaint();
    HDC window = WindowInternals::Context(*parentWindow);
    if (window) {
        SurfaceAccess::SetTarget(*this, window);
        // Both corners are inclusive: the swatch covers (width + 1) x (height + 1) pixels.
        const int right = Edge(windowX, width), bottom = Edge(windowY, height);
        VLGraphics::SetForegroundColor(0xFF000000ul | (static_cast<unsigned long>(red) << 16) |
                                       (static_cast<unsigned long>(green) << 8) | static_cast<unsigned long>(blue));
        DrawFillRect(windowX, windowY, right, bottom);
        VLGraphics::SetForegroundColor(0xFF000000ul);
        DrawRect(windowX, windowY, right, bottom, 1);
        SurfaceAccess::SetTarget(*this, nullptr);
    }
    parentWindow->EndPaint();
}

struct ColorInput {
    static VLColor &Of(void *widget) { return *static_cast<VLColor *>(widget); }

    static bool Inside(VLColor &c, int px, int py, bool bothEdges)
    {
        const VLSTRect box = {c.windowX, c.windowY, c.width, c.height};
        return bothEdges ? InsideIncluding(box, px, py) : InsideExcluding(box, px, py);
    }

    // A press on the swatch runs the dialog from the swatch's colour and takes what it returns.
    static int Mouse(VLColor &c, int code, int px, int py, bool inGroup)
    {
        if (!c.enabled || !c.visible || !c.parentWindow || !Inside(c, px, py, inGroup))
            return -1;
        if (code != 300)
            return 1;
        VLWindow *window = c.parentWindow;
        WindowInternals::SetFocusedWidget(*window, TypeColor, &c);
        WindowInternals::HideHint(*window);
        const unsigned long start = 0xFF000000ul | (static_cast<unsigned long>(c.red) << 16) |
                                    (static_cast<unsigned long>(c.green) << 8) | static_cast<unsigned long>(c.blue);
        // The dialog's loop runs the application's other callbacks: they may delete the swatch or
        // clear its window while it is open.
        LifeGuard alive(&c), windowAlive(window);
        const unsigned long chosen = c.ColorDialog(start);
        if (!windowAlive.Ended())
            WindowInternals::ForgetButtons(*window); // the dialog took the release
        if (alive.Ended())
            return 1;
        // No dialog could be opened: the swatch keeps its colour instead of turning black.
        if (chosen == 0)
            return 1;
        c.SetColorRGB(static_cast<int>((chosen >> 16) & 0xFF), static_cast<int>((chosen >> 8) & 0xFF),
                      static_cast<int>(chosen & 0xFF));
        c.Repaint();
        if (c.changeCallback && chosen != start)
            c.changeCallback(&c);
        return 1;
    }

    static bool PressHits(void *widget, int px, int py)
    {
        VLColor &c = Of(widget);
        return c.visible && Inside(c, px, py, false);
    }
};

extern const WidgetKind ColorKind = [] {
    WidgetKind kind = SkeletonKind<VLColor>();
    kind.mouse = [](void *widget, int code, int px, int py) { ColorInput::Mouse(ColorInput::Of(widget), code, px, py, false); };
    kind.mouseInGroup = [](void *widget, int code, int px, int py) {
        return ColorInput::Mouse(ColorInput::Of(widget), code, px, py, true);
    };
    kind.pressHits = ColorInput::PressHits;
    return kind; // a swatch never takes the focus and takes no keys
}();
