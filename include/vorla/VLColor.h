// VLColor: a colour value with RGB and HSV access and the integer conversions between them, and
// at the same time a small widget (a swatch) that opens the modal colour dialog when clicked.
#ifndef VORLA_VLCOLOR_H
#define VORLA_VLCOLOR_H

#include "vorla/VLGraphics.h"

class VORLA_API VLColor : public VLGraphics {
public:
    typedef void (*ColorCallback)(VLColor *);

    // Black, with a valid HSV triple of (0, 0, 0).
    VLColor();
    // The channels clamped to 0-255; the HSV triple is derived on first request.
    VLColor(int red, int green, int blue);
    explicit VLColor(VLSTColor colour);
    ~VLColor();
    VLColor(const VLColor &) = delete;
    VLColor &operator=(const VLColor &) = delete;

    // ---- the value ----
    // Channels are clamped to 0-255. No repaint, no event.
    void SetColorRGB(int red, int green, int blue);
    void SetColorRGB(VLSTColor colour);
    // Null pointers are skipped.
    void GetColorRGB(int *red, int *green, int *blue);
    VLSTColor GetColorRGB();
    int GetRedValue();
    int GetGreenValue();
    int GetBlueValue();
    // The hue is taken modulo 360, saturation and value are clamped; the triple is kept as given
    // and the RGB channels follow from it.
    void SetColorHSV(int hue, int saturation, int value);
    void GetColorHSV(int *hue, int *saturation, int *value);
    // The conversions the dialog uses, for any caller. They are not exact inverses: a saturated
    // colour keeps 1 in its smallest channel (HSV 0, 255, 255 gives RGB 255, 1, 1).
    static void RGBtoHSV(int red, int green, int blue, int *hue, int *saturation, int *value);
    static void HSVtoRGB(int hue, int saturation, int value, int *red, int *green, int *blue);
    static VLSTColor HSVtoRGB(int hue, int saturation, int value);
    // The system's menu colour as a colour value 0xFFRRGGBB.
    static unsigned long GetSystem_WindowBackgroundColor();

    // ---- the swatch ----
    // Clear also makes the colour black again.
    void Clear();
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
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);
    // Called after the dialog opened by a click changed the colour. A null callback is refused
    // (0) and the old one kept.
    int AttachChangeEvent(ColorCallback callback);
    void DetachChangeEvent();

    // Runs the modal colour dialog starting at colour (0xAARRGGBB). Returns 0xFF000000 with the
    // chosen channels after OK, the starting colour untouched after Cancel or any other closing,
    // and 0 when the dialog cannot be opened (no window could be made, or a dialog is already
    // open). With a parent window the dialog takes that window's background colour.
    unsigned long ColorDialog(unsigned long colour);

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct ColorInput;   // the window's routing rows
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLScrollArea *scrollArea;
    VLGroup *group;
    int windowX;
    int windowY;
    int visible;
    int enabled;
    int x;
    int y;
    int width;
    int height;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
    ColorCallback changeCallback;
    int red;
    int green;
    int blue;
    int hue; // -1: the HSV triple is still to be derived from the channels
    int saturation;
    int value;
};

#endif
