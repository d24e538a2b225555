// VLCheckBox: a sunken 13 x 13 box with a cross when selected, and a text; each click toggles it.
#ifndef VORLA_VLCHECKBOX_H
#define VORLA_VLCHECKBOX_H

#include "vorla/VLGraphics.h"

class VORLA_API VLCheckBox : public VLGraphics {
public:
    typedef void (*SelectCallback)(VLCheckBox *);

    VLCheckBox();
    ~VLCheckBox();
    VLCheckBox(const VLCheckBox &) = delete;
    VLCheckBox &operator=(const VLCheckBox &) = delete;

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
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);
    void SetSelected(int selected);
    int IsSelected();
    void SetEnable(int enable);
    int IsEnable();
    int AttachSelectEvent(SelectCallback callback);
    void DetachSelectEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct MarkAccess;   // drawing and input shared with the radio button
    friend struct CheckBoxInput;
    friend struct CheckBoxFocus;
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLScrollArea *scrollArea;
    VLGroup *group;
    int windowX;
    int windowY;
    char *text;
    unsigned int foregroundColour;
    int visible;
    int selected;
    int focused;
    int enabled;
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
