// VLSpin: two small stacked buttons, an upward and a downward arrow. A press and release on a
// half reports that half; the spin holds no value of its own.
#ifndef VORLA_VLSPIN_H
#define VORLA_VLSPIN_H

#include "vorla/VLGraphics.h"

class VORLA_API VLSpin : public VLGraphics {
public:
    typedef void (*SpinCallback)(VLSpin *);

    VLSpin();
    ~VLSpin();
    VLSpin(const VLSpin &) = delete;
    VLSpin &operator=(const VLSpin &) = delete;

    void Clear();
    // A width or height of 0 is ignored.
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    void SetEnable(int enabled);
    int IsEnable();
    // 0xF0000000 (the default face) takes the container's background at the first drawing.
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    // The arrows' colour.
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);

    // Called when a press on the upper (lower) half is released over the spin. A null callback
    // is refused (0) and the old one kept.
    int AttachUpSelectEvent(SpinCallback callback);
    int AttachDownSelectEvent(SpinCallback callback);
    void DetachUpSelectEvent();
    void DetachDownSelectEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct SpinAccess;   // the owning spin edit box
    friend struct SpinInput;    // the window's routing rows
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
    int enabled;
    int focused;
    // 0 none, 128 upper half pressed, 8 lower half pressed, 64 upper half hot, 4 lower half hot.
    int state;
    int x;
    int y;
    int width;
    int height;
    SpinCallback upCallback;
    SpinCallback downCallback;
    // Set only by a spin edit box that contains the spin: its steps, and the box itself.
    void (*ownerUp)(VLSpinEditBox *);
    void (*ownerDown)(VLSpinEditBox *);
    VLSpinEditBox *owner;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
