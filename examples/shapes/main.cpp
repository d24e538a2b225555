// Every drawing operation of the surface in one window: lines and pens, rectangles, circles,
// rounded rectangles, arcs, polygons, curves and text in its alignments and sizes.
#include <vorla/VorlaLib.h>

namespace {

VLWindow window;

void Caption(VLWindow *w, int x, int y, const char *text)
{
    w->SetForegroundColor(0xFF000000);
    w->SetFontSize(12);
    w->DrawTextA(x, y, text);
}

void DrawSheet(VLWindow *w)
{
    // Lines: solid at three widths, then dotted.
    Caption(w, 10, 6, "lines");
    const unsigned long colours[3] = {0xFF000000, 0xFFC00000, 0xFF0040C0};
    for (int i = 0; i < 3; ++i) {
        w->SetForegroundColor(colours[i]);
        w->SetSize(1 + i * 3);
        w->DrawLine(10, 28 + i * 14, 140, 28 + i * 14 + i * 4, 1);
    }
    w->SetSize(1);
    w->SetForegroundColor(0xFF000000);
    w->DrawLine(10, 76, 140, 76, 2);
    w->DrawLine(10, 82, 140, 110, 1);
    w->DrawLine(140, 86, 10, 114, 2);

    // Rectangles: outline, dotted outline, filled.
    Caption(w, 160, 6, "rectangles");
    w->DrawRect(160, 26, 220, 66, 1);
    w->DrawRect(230, 26, 290, 66, 2);
    w->SetForegroundColor(0xFF2E8B57);
    w->DrawFillRect(160, 74, 220, 114);
    w->SetForegroundColor(0xFF000000);
    w->SetSize(3);
    w->DrawRect(230, 74, 290, 114, 1);
    w->SetSize(1);

    // Circles and rounded rectangles.
    Caption(w, 310, 6, "circles");
    w->DrawCircle(310, 26, 360, 76);
    w->SetForegroundColor(0xFFE0A000);
    w->DrawFillCircle(370, 26, 440, 76);
    w->SetForegroundColor(0xFF000000);
    w->DrawRoundRect(310, 84, 370, 114, 12, 1);
    w->DrawRoundRect(380, 84, 440, 114, 12, 2);
    w->SetForegroundColor(0xFF8040C0);
    w->DrawFillRoundRect(450, 84, 520, 114, 16);

    // Arcs: a quarter from twelve to three, and three quarters.
    w->SetForegroundColor(0xFF000000);
    Caption(w, 460, 6, "arcs");
    w->SetSize(2);
    w->DrawArc(460, 26, 510, 76, 0, 90);
    w->SetSize(1);
    w->DrawArc(520, 26, 570, 76, 90, 0);

    // Polygons and a curve.
    Caption(w, 10, 130, "polygons and curves");
    VLSTPosition star[5] = {{60, 150}, {90, 230}, {15, 180}, {105, 180}, {30, 230}};
    w->DrawPolygon(star, 5);
    w->SetForegroundColor(0xFF3060A0);
    VLSTPosition arrow[7] = {{130, 170}, {190, 170}, {190, 150}, {230, 190}, {190, 230}, {190, 210}, {130, 210}};
    w->DrawFillPolygon(arrow, 7);
    w->SetForegroundColor(0xFFC00000);
    w->SetSize(2);
    VLSTPosition curve[7] = {{250, 230}, {270, 140}, {330, 140}, {350, 190}, {370, 240}, {420, 240}, {440, 150}};
    w->DrawBezier(curve, 7);
    w->SetSize(1);

    // Text: the three box alignments at 12 and 16 pixels, and text with an ampersand.
    w->SetForegroundColor(0xFF000000);
    Caption(w, 10, 250, "text");
    const char *names[3] = {"left", "centre", "right"};
    for (int size = 0; size < 2; ++size) {
        for (int align = 1; align <= 3; ++align) {
            int left = 10 + (align - 1) * 200, top = 270 + size * 40;
            w->SetForegroundColor(0xFFB0B0B0);
            w->DrawRect(left, top, left + 190, top + 32, 1);
            w->SetForegroundColor(0xFF000000);
            w->SetFontSize(size == 0 ? 12 : 16);
            w->DrawBoxText(left, top, left + 190, top + 32, names[align - 1], align);
        }
    }
    w->SetFontSize(16);
    w->DrawTextA(10, 356, "Fish & Chips");
    // "日本語のテキスト" in Shift_JIS.
    w->DrawTextA(200, 356, "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67");
    w->SetFontSize(12);
}

void WindowEvent(VLWindow *w, VLSTWindowEvent event)
{
    if (event.event == 101) {
        PostQuitMessage(0);
    } else if (event.event == 102) {
        w->BeginPaint();
        DrawSheet(w);
        w->EndPaint();
    }
}

} // namespace

int main()
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    if (window.CreateNewWindow("Shapes", 40, 30, 620, 390, 0) < 0)
        return 1;
    window.SetBackgroundColor(0xFFFFFFFF);
    window.AttachWindowEvent(WindowEvent);
    window.ShowWindow(1);
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
