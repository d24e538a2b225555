// VLRadioButton: a round sunken button with a dot when selected; it lives in a group, which keeps
// one of its radio buttons selected.
#ifndef VORLA_VLRADIOBUTTON_H
#define VORLA_VLRADIOBUTTON_H

#include "vorla/VLGraphics.h"

class VORLA_API VLRadioButton : public VLGraphics {
public:
    VLRadioButton();
    ~VLRadioButton();
    VLRadioButton(const VLRadioButton &) = delete;
    VLRadioButton &operator=(const VLRadioButton &) = delete;

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
    // In a group: selects this button and deselects the group's others. Outside one: nothing.
    void SetSelected(int selected);
    int IsSelected();
    void SetEnable(int enable);
    int IsEnable();

private:
    friend struct WidgetAccess;
    friend struct MarkAccess;
    friend struct GroupAccess;
    friend struct RadioButtonHit;
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
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
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
