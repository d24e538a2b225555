// VLGraphics: the drawing surface that windows and widgets draw themselves through.
#ifndef VORLA_VLGRAPHICS_H
#define VORLA_VLGRAPHICS_H

#include "vorla/vorla.h"

class VORLA_API VLGraphics {
public:
    VLGraphics();
    ~VLGraphics();
    VLGraphics(const VLGraphics &) = delete;
    VLGraphics &operator=(const VLGraphics &) = delete;

    void SetForegroundColor(unsigned long colour);
    void SetBackgroundColor(unsigned long colour);
    void SetSize(int size);
    void SetFontSize(int size);
    int GetFontSize();
    int GetTextWidth(const char *text);

    void SetPixel(int x, int y);
    void DrawLine(int x1, int y1, int x2, int y2, int style);
    void DrawRect(int x1, int y1, int x2, int y2, int style);
    void DrawFillRect(int x1, int y1, int x2, int y2);
    void DrawCircle(int x1, int y1, int x2, int y2);
    void DrawFillCircle(int x1, int y1, int x2, int y2);
    void DrawRoundRect(int x1, int y1, int x2, int y2, int r, int style);
    void DrawFillRoundRect(int x1, int y1, int x2, int y2, int r);
    void DrawArc(int x1, int y1, int x2, int y2, int a1, int a2);
    void DrawPolygon(VLSTPosition *points, int count);
    void DrawFillPolygon(VLSTPosition *points, int count);
    void DrawBezier(VLSTPosition *points, int count);
    void DrawTextA(int x, int y, const char *text);
    void DrawBoxText(int x1, int y1, int x2, int y2, const char *text, int align);

private:
    friend struct SurfaceAccess; // the owner chooses the target context
    struct Font;

    COLORREF Foreground() const;
    HPEN CreateDottedPen();
    void RebuildPen();

    int foregroundRed;
    int foregroundGreen;
    int foregroundBlue;
    int backgroundRed;
    int backgroundGreen;
    int backgroundBlue;
    int lineSize;
    Font *font;
    HDC target;
    HPEN pen;
    int systemCode;
};

#endif
