// VLScrollArea: a framed, sunken area that keeps a list of widgets and a content size. The
// widgets take part in focus navigation, arrow keys and focus clearing; placing, drawing and
// scrolling them is the application's.
#ifndef VORLA_VLSCROLLAREA_H
#define VORLA_VLSCROLLAREA_H

#include "vorla/VLGraphics.h"

class VLChildList;

class VORLA_API VLScrollArea : public VLGraphics {
public:
    VLScrollArea();
    ~VLScrollArea();
    VLScrollArea(const VLScrollArea &) = delete;
    VLScrollArea &operator=(const VLScrollArea &) = delete;

    // Every widget in the area returns to its constructed state, and the list is forgotten.
    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    // The content size: stored for the application.
    void SetScrollSize(int width, int height);
    void GetScrollSize(VLSTSize *size);
    void SetVisible(int visible);
    int IsVisible();
    void SetMode(int mode);
    int GetMode();
    void SetBackMode(int mode);
    int GetBackMode();
    // The interior's colour (white unless set).
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    VLWindow *GetParentWindow();
    void Repaint();

    // Scrolling, off unless switched on: the widgets are then placed at their positions less the
    // scroll position, drawn clipped to the interior, and take the pointer and hints as a
    // group's do; a vertical and a horizontal scroll bar appear where the content size exceeds
    // the interior, and the bars, the wheel and focus navigation (which brings the focused
    // widget into view) scroll.
    void SetScrolling(int on);
    int IsScrolling();
    // Kept within the content: 0 up to the content size less the interior's.
    void SetScrollPosition(int x, int y);
    void GetScrollPosition(VLSTPosition *position);

    void Add(VLLabel *widget);
    void Add(VLPushButton *widget);
    void Add(VLEditBox *widget);
    void Add(VLGroup *widget);
    void Add(VLProgressBar *widget);
    void Add(VLCheckBox *widget);
    void Add(VLSlider *widget);
    void Add(VLTab *widget);
    void Add(VLComboBox *widget);
    void Add(VLSpin *widget);
    void Add(VLSpinEditBox *widget);
    void Add(VLImage *widget);
    void Add(VLColor *widget);
    void Add(VLButton *widget);
    void Add(VLListBox *widget);
    void RemoveAt(VLLabel *widget);
    void RemoveAt(VLPushButton *widget);
    void RemoveAt(VLEditBox *widget);
    void RemoveAt(VLGroup *widget);
    void RemoveAt(VLProgressBar *widget);
    void RemoveAt(VLCheckBox *widget);
    void RemoveAt(VLSlider *widget);
    void RemoveAt(VLTab *widget);
    void RemoveAt(VLComboBox *widget);
    void RemoveAt(VLSpin *widget);
    void RemoveAt(VLSpinEditBox *widget);
    void RemoveAt(VLImage *widget);
    void RemoveAt(VLColor *widget);
    void RemoveAt(VLButton *widget);
    void RemoveAt(VLListBox *widget);

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct ScrollAreaRows;
    void Initialise();
    void Release();
    void Draw();
    void AddChild(int type, void *widget);
    void RemoveChild(int type, void *widget);

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    int x;
    int y;
    int width;
    int height;
    int scrollWidth;
    int scrollHeight;
    unsigned int backgroundColour;
    int backMode;
    int visible;
    int mode;
    VLChildList *children;
    HBITMAP offscreen;
    HDC drawingContext;
    int scrolling;
    int scrollX;
    int scrollY;
    int pressedPart; // the bar part held down (ScrollAreaRows' codes), 0 for none
    int grab;        // where on the thumb it was caught, in pixels from its start
    int heldTicks;   // timer ticks since a bar button was pressed
};

#endif
