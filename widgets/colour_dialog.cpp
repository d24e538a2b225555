// The colour dialog: a modal window built from the library's own window, labels, push buttons,
// edit boxes and an image, in which a colour is picked from a palette, from red, green and blue
// bars, or from a hue and saturation disc with a value bar, or typed in six boxes.
#include "skeleton.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// ---- what outlives one opening: the view, the position and the tables ----

constexpr int Disc = 150;           // the disc's tables are Disc x Disc, centred on (75, 75)
constexpr int Ramp = 140;           // columns of a bar
constexpr int PickerX = 140, PickerY = 20;
constexpr int RedBox = 0, HueBox = 3;

int viewMode = 0; // 0 the RGB bars, 1 the HSV disc
int positionX = 100, positionY = 100;

struct Tables {
    short hue[Disc * Disc];               // 0-359, or -1 outside the disc
    unsigned char saturation[Disc * Disc];
    unsigned char ramp[Ramp];             // the grey or channel level of each bar column
    bool built = false;
    // The disc as last drawn, in pixel layout: a drag on the disc moves only its marker.
    uint32_t disc[Disc * Disc];
    int discValue = -1;
};
Tables tables;

void BuildTables()
{
    if (tables.built)
        return;
    for (int dy = -75; dy < 75; ++dy) {
        for (int dx = -75; dx < 75; ++dx) {
            const int entry = (dy + 75) * Disc + (dx + 75);
            const double u = dx * (1.0 / 75), w = dy * (1.0 / 75);
            if (1 - w * w - u * u <= 0) {
                tables.hue[entry] = -1;
                continue;
            }
            const double r = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            const int saturation = static_cast<int>(r * 255 * (1.0 / 75));
            tables.saturation[entry] = static_cast<unsigned char>(saturation > 255 ? 255 : saturation);
            const double cx = r > 0 ? dx / r : dx, cy = r > 0 ? dy / r : dy;
            double t = std::acos(cx);
            if (std::asin(cy) <= 0)
                t = 6.283185307 - t;
            const int degrees = static_cast<int>(t * 57.29577951471995);
            // Rows grow downwards, so the hue runs anticlockwise on the screen.
            tables.hue[entry] = static_cast<short>(degrees < 0 ? 359 : 359 - (degrees < 359 ? degrees : 359));
        }
    }
    for (int i = 0; i < Ramp; ++i)
        tables.ramp[i] = static_cast<unsigned char>(i * 1.8214285714285714);
    tables.built = true;
}

const unsigned int Palette[48] = {
    0xFF000000, 0xFF000060, 0xFF006000, 0xFF006060, 0xFF600000, 0xFF600060, 0xFF606000, 0xFF606060,
    0xFF101010, 0xFF000080, 0xFF008000, 0xFF008080, 0xFF800000, 0xFF800080, 0xFF808000, 0xFF808080,
    0xFF202020, 0xFF0000A0, 0xFF00A000, 0xFF00A0A0, 0xFFA00000, 0xFFA000A0, 0xFFA0A000, 0xFFA0A0A0,
    0xFF303030, 0xFF0000C0, 0xFF00C000, 0xFF00C0C0, 0xFFC00000, 0xFFC000C0, 0xFFC0C000, 0xFFC0C0C0,
    0xFF404040, 0xFF0000E0, 0xFF00E000, 0xFF00E0E0, 0xFFE00000, 0xFFE000E0, 0xFFE0E000, 0xFFE0E0E0,
    0xFF505050, 0xFF0000FF, 0xFF00FF00, 0xFF00FFFF, 0xFFFF0000, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF,
};

int Clamp(long long n, int low, int high) { return static_cast<int>(n < low ? low : n > high ? high : n); }

unsigned int Opaque(int r, int g, int b)
{
    return 0xFF000000u | (static_cast<unsigned int>(r) << 16) | (static_cast<unsigned int>(g) << 8) |
           static_cast<unsigned int>(b);
}
unsigned int Grey(int level) { return Opaque(level, level, level); }
// Where a level of 0-255 puts the marker of a bar.
int Marker(int level) { return 4 + level * Ramp / 255; }

// ---- one opening ----

struct Widgets {
    VLImage picker;
    VLPushButton ok;
    VLPushButton cancel;
    VLLabel labels[9];
    VLEditBox boxes[6]; // red, green, blue, hue, saturation, value
    // Last, so that it goes first: its teardown clears the widgets above while they still exist.
    VLWindow window;
};

struct Session {
    unsigned long start = 0;
    unsigned long result = 0;
    int red = 0, green = 0, blue = 0;
    int hue = 0, saturation = 0, value = 0;
    int drag = 0; // RGB view: 1 red, 2 green, 3 blue bar; HSV view: 1 disc, 2 value bar
    Widgets *widgets = nullptr;
};
// One dialog at a time: its callbacks are plain functions and find it here.
Session *session = nullptr;

void OnRGBBox(VLEditBox *box);
void OnHSVBox(VLEditBox *box);

VLWindow &Window() { return session->widgets->window; }

void Fill(int left, int top, int right, int bottom, unsigned int colour)
{
    Window().SetForegroundColor(colour);
    Window().DrawFillRect(left, top, right, bottom);
}
void Frame(int left, int top, int right, int bottom, unsigned int colour)
{
    Window().SetForegroundColor(colour);
    Window().DrawRect(left, top, right, bottom, 1);
}
void Line(int x1, int y1, int x2, int y2, unsigned int colour)
{
    Window().SetForegroundColor(colour);
    Window().DrawLine(x1, y1, x2, y2, 1);
}

// ---- the picker image ----

void PutPixel(unsigned char *pixels, int x, int y, int r, int g, int b)
{
    unsigned char *p = pixels + (static_cast<size_t>(y) * Disc + x) * 4;
    p[0] = static_cast<unsigned char>(r);
    p[1] = static_cast<unsigned char>(g);
    p[2] = static_cast<unsigned char>(b);
    p[3] = 0xFF;
}

void Triangles(VLImage &image, int m, int aboveTop, int aboveTip, int belowTip, int belowBottom)
{
    image.SetForegroundColor(0xFF000000u);
    VLSTPosition above[3] = {{m - 3, aboveTop}, {m + 3, aboveTop}, {m, aboveTip}};
    image.DrawFillPolygon(above, 3);
    VLSTPosition below[3] = {{m - 3, belowBottom}, {m, belowTip}, {m + 3, belowBottom}};
    image.DrawFillPolygon(below, 3);
}

void DrawRGBPicker(VLImage &image, unsigned char *pixels)
{
    const int levels[3] = {session->red, session->green, session->blue};
    for (int bar = 0; bar < 3; ++bar) {
        const int top = 42 + 24 * bar;
        for (int row = top; row < top + 16; ++row) {
            for (int i = 0; i < Ramp; ++i) {
                int channels[3] = {0, 0, 0};
                channels[bar] = tables.ramp[i];
                PutPixel(pixels, 4 + i, row, channels[0], channels[1], channels[2]);
            }
        }
        image.SetForegroundColor(0xFF000000u);
        image.DrawRect(3, top, 144, top + 16);
        const int m = Marker(levels[bar]);
        image.SetForegroundColor(Grey(255 - levels[bar]));
        image.DrawLine(m, top - 1, m, top + 17);
        Triangles(image, m, top - 4, top - 1, top + 17, top + 21);
    }
}

void DrawHSVPicker(VLImage &image, unsigned char *pixels)
{
    const int value = session->value;
    if (tables.discValue != value) {
        for (int entry = 0; entry < Disc * Disc; ++entry) {
            if (tables.hue[entry] == -1)
                continue;
            int red, green, blue;
            VLColor::HSVtoRGB(tables.hue[entry], tables.saturation[entry], value, &red, &green, &blue);
            PutPixel(reinterpret_cast<unsigned char *>(tables.disc), entry % Disc, entry / Disc, red, green, blue);
        }
        tables.discValue = value;
    }
    // The image is exactly as wide as the disc, so the disc's entries are its first rows.
    for (int entry = 0; entry < Disc * Disc; ++entry)
        if (tables.hue[entry] != -1)
            std::memcpy(pixels + static_cast<size_t>(entry) * 4, &tables.disc[entry], 4);
    for (int row = 170; row <= 185; ++row)
        for (int i = 0; i < Ramp; ++i)
            PutPixel(pixels, 4 + i, row, tables.ramp[i], tables.ramp[i], tables.ramp[i]);
    const int m = Marker(value);
    image.SetForegroundColor(Opaque(255 - value, 255 - value, 255));
    image.DrawLine(m, 169, m, 187);
    Triangles(image, m, 166, 169, 187, 191);

    const double d = session->saturation * 0.29411764705882354;
    const double a = session->hue * 3.1415926535 * 0.005555555555555556;
    const int cx = static_cast<int>(std::cos(a) * d + 75), cy = static_cast<int>(75 - std::sin(a) * d);
    image.SetForegroundColor(0xFF000000u);
    image.DrawCircle(cx, cy, 2);
    image.SetForegroundColor(Grey(255 - value));
    image.DrawCircle(cx, cy, 3);
}

void DrawPicker()
{
    VLImage &image = session->widgets->picker;
    image.ClearImage(Window().GetBackgroundColor());
    if (unsigned char *pixels = image.GetPointer()) {
        if (viewMode == 0)
            DrawRGBPicker(image, pixels);
        else
            DrawHSVPicker(image, pixels);
    }
    image.Repaint();
}

// ---- the window's own drawing ----

void DrawModeSelector()
{
    VLWindow &window = Window();
    Fill(2, 10, 119, 94, static_cast<unsigned int>(window.GetBackgroundColor()));
    const int t = viewMode == 0 ? 16 : 56;
    Fill(4, t - 4, 116, t + 36, 0xFFC0C0F0u);
    Frame(4, t - 4, 116, t + 36, 0xFF0080FFu);
    Frame(3, t - 5, 117, t + 37, 0xFF0000FFu);

    Fill(16, 16, 48, 27, 0xFFFF0000u);
    Fill(16, 27, 48, 38, 0xFF00FF00u);
    Fill(16, 38, 48, 48, 0xFF0000FFu);
    Frame(16, 16, 48, 48, 0xFF000000u);
    window.DrawTextA(56, 26, "RGB");

    if (HDC context = WindowInternals::Context(window)) {
        for (int r = 0; r < 30; ++r) {
            for (int c = 0; c < 30; ++c) {
                const int entry = 5 * r * Disc + 5 * c;
                if (tables.hue[entry] == -1)
                    continue;
                int red, green, blue;
                VLColor::HSVtoRGB(tables.hue[entry], tables.saturation[entry], 255, &red, &green, &blue);
                ::SetPixel(context, 17 + c, 57 + r, RGB(red, green, blue));
            }
        }
    }
    window.SetForegroundColor(0xFF000000u);
    window.DrawTextA(56, 66, "HSV");
}

void DrawPalette()
{
    Fill(16, 148, 112, 220, 0xFFA0A0A0u);
    Fill(14, 146, 110, 218, 0xFF606060u);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int x = 13 + 12 * column, y = 145 + 12 * row;
            Fill(x, y, x + 10, y + 10, Palette[row * 8 + column]);
            Frame(x - 1, y - 1, x + 11, y + 11, 0xFF000000u);
        }
    }
}

unsigned int Current() { return Opaque(session->red, session->green, session->blue); }

void DrawPreview()
{
    Fill(314, 20, 394, 44, 0xFFA0A0A0u);
    Fill(312, 18, 392, 42, 0xFF606060u);
    Fill(311, 17, 350, 39, static_cast<unsigned int>(session->start));
    Fill(351, 17, 389, 39, Current());
    Frame(310, 16, 390, 40, 0xFF000000u);
}

void PaintDialog()
{
    VLWindow &window = Window();
    window.BeginPaint();
    window.SetFontSize(12);
    Line(121, 0, 121, 229, 0xFF000000u);
    Line(0, 229, 400, 229, 0xFF000000u);
    Line(0, 130, 120, 130, 0xFF000000u);
    Line(120, 0, 120, 230, 0xFFFFFFFFu);
    Line(0, 231, 400, 231, 0xFFFFFFFFu);
    Line(0, 131, 120, 131, 0xFFFFFFFFu);
    DrawModeSelector();
    DrawPalette();
    DrawPicker();
    DrawPreview();
    window.EndPaint();
}

// ---- keeping the boxes, the picker and the preview in step ----

void WriteBox(int index, int number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", number);
    session->widgets->boxes[index].SetText(text);
}

void AttachBoxes(bool attach)
{
    for (int i = 0; i < 6; ++i) {
        VLEditBox &box = session->widgets->boxes[i];
        if (!attach)
            box.DetachChangeEvent();
        else
            box.AttachChangeEvent(i < HueBox ? OnRGBBox : OnHSVBox);
    }
}

// After the colour changed: rewrites the boxes that show another model, or all of them, and
// redraws the picker and the current half of the preview.
void Follow(bool rgbBoxes, bool hsvBoxes)
{
    AttachBoxes(false);
    VLWindow &window = Window();
    window.BeginPaint();
    if (rgbBoxes) {
        WriteBox(RedBox, session->red);
        WriteBox(RedBox + 1, session->green);
        WriteBox(RedBox + 2, session->blue);
    }
    if (hsvBoxes) {
        WriteBox(HueBox, session->hue);
        WriteBox(HueBox + 1, session->saturation * 100 / 255);
        WriteBox(HueBox + 2, session->value * 100 / 255);
    }
    DrawPicker();
    Fill(351, 17, 389, 39, Current());
    window.EndPaint();
    AttachBoxes(true);
}

void DeriveHSV() { VLColor::RGBtoHSV(session->red, session->green, session->blue, &session->hue, &session->saturation, &session->value); }
void DeriveRGB() { VLColor::HSVtoRGB(session->hue, session->saturation, session->value, &session->red, &session->green, &session->blue); }

int BoxNumber(VLEditBox *box)
{
    char text[64] = "";
    box->GetText(text, 63);
    return std::atoi(text);
}

int BoxIndex(VLEditBox *box)
{
    for (int i = 0; i < 6; ++i)
        if (box == &session->widgets->boxes[i])
            return i;
    return -1;
}

void OnRGBBox(VLEditBox *box)
{
    const int index = session ? BoxIndex(box) : -1;
    if (index < 0 || index >= HueBox)
        return;
    int *channels[3] = {&session->red, &session->green, &session->blue};
    *channels[index] = Clamp(BoxNumber(box), 0, 255);
    DeriveHSV();
    Follow(false, true);
}

void OnHSVBox(VLEditBox *box)
{
    const int index = session ? BoxIndex(box) : -1;
    if (index < HueBox)
        return;
    const int number = BoxNumber(box);
    if (index == HueBox)
        session->hue = Clamp(number, 0, 359);
    else // saturation and value are typed in percent
        (index == HueBox + 1 ? session->saturation : session->value) = Clamp(number, 0, 100) * 255 / 100;
    DeriveRGB();
    Follow(true, false);
}

// ---- the window's callbacks ----

bool Ours(VLWindow *window) { return session && window == &session->widgets->window; }

void OnWindowEvent(VLWindow *window, VLSTWindowEvent event)
{
    if (!Ours(window))
        return;
    if (event.event == 101) {
        positionX = event.x;
        positionY = event.y;
    } else if (event.event == 102) {
        PaintDialog();
    }
}

void SwitchView(int mode)
{
    viewMode = mode;
    Window().BeginPaint();
    DrawModeSelector();
    DrawPicker();
    Window().EndPaint();
}

void TakeColour(unsigned int colour)
{
    session->red = static_cast<int>((colour >> 16) & 0xFF);
    session->green = static_cast<int>((colour >> 8) & 0xFF);
    session->blue = static_cast<int>(colour & 0xFF);
    DeriveHSV();
    Follow(true, true);
}

void DragHSV(long long x, long long y)
{
    const long long ix = x - PickerX, iy = y - PickerY;
    if (ix >= 0 && ix < Disc && iy >= 0 && iy < 186 && session->drag == 0) {
        if (iy < Disc)
            session->drag = 1;
        else if (ix >= 4 && ix < 4 + Ramp && iy >= 170)
            session->drag = 2;
    }
    if (session->drag == 1) {
        const double dx = static_cast<double>(ix - 75), dy = static_cast<double>(75 - iy);
        const double r = std::sqrt(dx * dx + dy * dy);
        session->saturation = Clamp(static_cast<long long>(r * 3.4000000000000004), 0, 255);
        double cx = dx, cy = dy;
        if (r > 0) {
            cx = std::fmax(-1.0, std::fmin(1.0, dx / r));
            cy = std::fmax(-1.0, std::fmin(1.0, dy / r));
        }
        double t = std::acos(cx);
        if (std::asin(cy) <= 0)
            t = 6.283185307 - t;
        session->hue = static_cast<int>((360 - static_cast<long long>(t * -57.29577951471995)) % 360);
    } else if (session->drag == 2) {
        session->value = Clamp((ix - 4) * 255 / Ramp, 0, 255);
    } else {
        // A press beside the disc and the bar (on OK, say) leaves the colour as it is: turning
        // the unchanged HSV triple back into channels would shift a saturated colour by one.
        return;
    }
    DeriveRGB();
    Follow(true, true);
}

void DragRGB(long long x, long long y)
{
    if (session->drag == 0 && !(x >= 144 && x <= 283 && y >= 62 && y <= 125))
        return;
    int *channels[3] = {&session->red, &session->green, &session->blue};
    bool changed = false;
    for (int bar = 0; bar < 3; ++bar) {
        const int top = 62 + 24 * bar, number = bar + 1;
        long long level;
        if (y >= top && y <= top + 15 && (session->drag == 0 || session->drag == number)) {
            session->drag = number;
            level = Clamp((x - 144) * 255 / Ramp, 0, 255);
        } else if (session->drag == number) {
            level = (static_cast<long long>(Clamp(x - 144, 0, Ramp)) * 255) / Ramp;
        } else {
            continue;
        }
        if (level != *channels[bar]) {
            *channels[bar] = static_cast<int>(level);
            changed = true;
        }
    }
    if (changed) {
        DeriveHSV();
        Follow(true, true);
    }
}

void OnMouse(VLWindow *window, VLSTMouseEvent event)
{
    if (!Ours(window))
        return;
    const long long x = event.x, y = event.y;
    if (event.event == 301) {
        session->drag = 0;
        return;
    }
    if (event.event == 303)
        return;
    if (event.event == 300) {
        if (x >= 4 && x <= 115) {
            if (y >= 12 && y <= 51 && viewMode == 1) {
                SwitchView(0);
                return;
            }
            if (y >= 52 && y <= 91 && viewMode == 0) {
                SwitchView(1);
                return;
            }
        }
        if (x >= 311 && x <= 349 && y >= 17 && y <= 38) {
            TakeColour(static_cast<unsigned int>(session->start));
            return;
        }
        if (x >= 12 && x <= 107 && y >= 144 && y <= 215) {
            const long long column = std::min<long long>((x - 12) / 12, 7), row = std::min<long long>((y - 144) / 12, 5);
            TakeColour(Palette[column + 8 * row]);
            return;
        }
    } else if (event.event != 302) {
        return;
    }
    if (!event.left)
        return;
    if (viewMode == 1)
        DragHSV(x, y);
    else
        DragRGB(x, y);
}

void OnOK(VLPushButton *)
{
    if (!session)
        return;
    session->result = Opaque(Clamp(session->red, 0, 255), Clamp(session->green, 0, 255), Clamp(session->blue, 0, 255));
    Window().CloseWindow();
}

void OnCancel(VLPushButton *)
{
    if (!session)
        return;
    session->result = session->start;
    Window().CloseWindow();
}

void Build(Widgets &w, unsigned int background)
{
    w.picker.SetBounds(140, 20, 150, 192);
    w.picker.ClearImage(background);
    w.window.Add(&w.picker);
    w.ok.SetBounds(182, 240, 100, 24);
    w.ok.SetText("OK");
    w.ok.AttachSelectEvent(OnOK);
    w.window.Add(&w.ok);
    w.cancel.SetBounds(292, 240, 100, 24);
    w.cancel.SetText("Cancel");
    w.cancel.AttachSelectEvent(OnCancel);
    w.window.Add(&w.cancel);

    struct LabelRow {
        int x, y, width;
        const char *text;
    };
    const LabelRow rows[9] = {{310, 60, 50, "R"},  {310, 84, 50, "G"},  {310, 108, 50, "B"},
                              {310, 140, 50, "H"}, {310, 164, 50, "S"}, {310, 188, 50, "V"},
                              {376, 140, 20, "\x81\x8B"}, {376, 164, 20, "%"}, {376, 188, 20, "%"}};
    for (int i = 0; i < 9; ++i) {
        w.labels[i].SetBounds(rows[i].x, rows[i].y, rows[i].width, 20);
        w.labels[i].SetText(rows[i].text);
        w.labels[i].SetBackMode(0);
        w.window.Add(&w.labels[i]);
    }
    const int boxTops[6] = {60, 84, 108, 140, 164, 188};
    for (int i = 0; i < 6; ++i) {
        w.boxes[i].SetBounds(330, boxTops[i], 40, 20);
        w.boxes[i].SetEditMode(1);
        w.boxes[i].SetMaxLength(3);
        w.window.Add(&w.boxes[i]);
    }
}

} // namespace

unsigned long VLColor::ColorDialog(unsigned long colour)
{
    if (session)
        return 0; // the dialog's state is library-wide: one at a time
    Widgets *widgets = new (std::nothrow) Widgets;
    if (!widgets)
        return 0;
    // The dialog takes this swatch's window background; read before the dialog's loop runs the
    // application's callbacks, which may delete the swatch.
    const unsigned int background =
        parentWindow ? static_cast<unsigned int>(parentWindow->GetBackgroundColor()) : 0xFFC0C0C0u;

    Session state;
    state.start = colour;
    state.result = colour;
    state.red = static_cast<int>((colour >> 16) & 0xFF);
    state.green = static_cast<int>((colour >> 8) & 0xFF);
    state.blue = static_cast<int>(colour & 0xFF);
    VLColor::RGBtoHSV(state.red, state.green, state.blue, &state.hue, &state.saturation, &state.value);
    state.widgets = widgets;

    VLWindow &window = widgets->window;
    if (window.CreateNewDialog("Color", positionX, positionY, 400, 270) < 0) {
        delete widgets;
        return 0;
    }
    window.SetBackgroundColor(background);
    BuildTables();
    Build(*widgets, background);

    session = &state;
    AttachBoxes(false);
    WriteBox(RedBox, state.red);
    WriteBox(RedBox + 1, state.green);
    WriteBox(RedBox + 2, state.blue);
    WriteBox(HueBox, state.hue);
    WriteBox(HueBox + 1, state.saturation * 100 / 255);
    WriteBox(HueBox + 2, state.value * 100 / 255);
    AttachBoxes(true);
    window.AttachWindowEvent(OnWindowEvent);
    window.AttachMouseEvent(OnMouse);
    window.DoModal();
    session = nullptr;

    // A loop ended by a quit message leaves the dialog's window standing: it goes here.
    window.CloseWindow();
    window.Clear();
    const unsigned long result = state.result;
    delete widgets;
    return result;
}
