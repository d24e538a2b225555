// VLSlider: a sunken track with a thumb the user drags or places with the mouse, over an integer
// range; an optional ruler of eleven ticks lies under the track.
#ifndef VORLA_VLSLIDER_H
#define VORLA_VLSLIDER_H

#include "vorla/VLGraphics.h"

class VORLA_API VLSlider : public VLGraphics {
public:
    typedef void (*SliderCallback)(VLSlider *);

    VLSlider();
    // The default construction, then SetRuler(ruler) and SetSliderSize(size).
    VLSlider(int ruler, int size);
    ~VLSlider();
    VLSlider(const VLSlider &) = delete;
    VLSlider &operator=(const VLSlider &) = delete;

    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);
    void SetEnable(int enabled);
    int IsEnable();

    // Refused (0, nothing changes) unless 0 <= minimum < maximum. The position is kept as it is.
    int SetRange(int minimum, int maximum);
    int GetRange(int *minimum, int *maximum);
    // Stored clamped to the range; a change is reported to the change callback. No repaint.
    void SetPosition(int position);
    int GetPosition();
    void SetRuler(int ruler);
    int IsRuler();
    // 0: the large thumb (12 x 22); anything else: the small one (8 x 13).
    void SetSliderSize(int size);
    int GetSliderSize();
    // A null callback is refused (0) and the old one kept.
    int AttachChangeEvent(SliderCallback callback);
    int AttachFocusEvent(SliderCallback callback);
    void DetachChangeEvent();
    void DetachFocusEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct SliderInput;
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    unsigned int trackColour;
    unsigned int faceColour;
    int visible;
    int minimum;
    int maximum;
    int position;
    int ruler;
    int hot;
    int dragging;
    int smallThumb;
    int focused;
    int enabled;
    int x;
    int y;
    int width;
    int height;
    HBITMAP offscreen;
    SliderCallback focusCallback;
    SliderCallback changeCallback;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
