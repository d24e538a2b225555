// VLProgressBar: a position within an integer range shown as a filled bar, flat or shaded. It
// takes no input and never the focus.
#ifndef VORLA_VLPROGRESSBAR_H
#define VORLA_VLPROGRESSBAR_H

#include "vorla/VLGraphics.h"

class VORLA_API VLProgressBar : public VLGraphics {
public:
    VLProgressBar();
    // The default construction, then SetMode(mode).
    explicit VLProgressBar(int mode);
    ~VLProgressBar();
    VLProgressBar(const VLProgressBar &) = delete;
    VLProgressBar &operator=(const VLProgressBar &) = delete;

    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);

    // 1: the lower half of the bar is shaded darker towards the bottom; anything else: flat.
    void SetMode(int mode);
    int GetMode();
    // Refused (0, nothing changes) unless 0 <= minimum < maximum. The position is kept as it is.
    int SetRange(int minimum, int maximum);
    int GetRange(int *minimum, int *maximum);
    // Stored clamped to the range; the bar shows it at the next drawing.
    void SetPosition(int position);
    int GetPosition();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    int visible;
    int minimum;
    int maximum;
    int position;
    int mode;
    int x;
    int y;
    int width;
    int height;
    HBITMAP offscreen;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
