// VLPushButton: a command button: pressed with the mouse it sinks; released over it, it fires its select event.
#ifndef VORLA_VLPUSHBUTTON_H
#define VORLA_VLPUSHBUTTON_H

#include "vorla/VLGraphics.h"

class VORLA_API VLPushButton : public VLGraphics {
public:
    typedef void (*SelectCallback)(VLPushButton *);

    VLPushButton();
    ~VLPushButton();
    VLPushButton(const VLPushButton &) = delete;
    VLPushButton &operator=(const VLPushButton &) = delete;

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
private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct ButtonAccess; // drawing and input shared by the two button classes
    friend struct PushButtonInput;
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    VLIcon *icon;
    char *text;
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    int align;
    int visible;
    int enabled;
    int state; // 0 normal, 1 hot, 2 pressed
    int focused;
    int x;
    int y;
    int width;
    int height;
    SelectCallback selectCallback;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
