// VLButton: a toggle button: every press flips it between selected and not and fires its select event.
#ifndef VORLA_VLBUTTON_H
#define VORLA_VLBUTTON_H

#include "vorla/VLGraphics.h"

class VORLA_API VLButton : public VLGraphics {
public:
    typedef void (*SelectCallback)(VLButton *);

    VLButton();
    ~VLButton();
    VLButton(const VLButton &) = delete;
    VLButton &operator=(const VLButton &) = delete;

    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetText(const char *text);
    void GetText(char *buffer, int max);
    void SetVisible(int visible);
    int IsVisible();
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    void SetAlign(int align);
    int GetAlign();
    void SetIcon(VLIcon *icon);
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);
    void SetEnable(int enable);
    int IsEnable();
    int AttachSelectEvent(SelectCallback callback);
    void DetachSelectEvent();
    void SetSelected(int selected);
    int IsSelected();
private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct ButtonAccess; // drawing and input shared by the two button classes
    friend struct ButtonInput;
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLScrollArea *scrollArea;
    VLGroup *group;
    int windowX;
    int windowY;
    char *text;
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    int align;
    int visible;
    int enabled;
    int state; // 0 normal, 1 hot, 2 selected
    int focused;
    int x;
    int y;
    int width;
    int height;
    VLIcon *icon;
    SelectCallback selectCallback;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
