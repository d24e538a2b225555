// VLGroup: a container, optionally framed and titled, that places, clips, paints and routes its
// own widgets, and keeps one of its radio buttons selected.
#ifndef VORLA_VLGROUP_H
#define VORLA_VLGROUP_H

#include "vorla/VLGraphics.h"

class VLChildList;

class VORLA_API VLGroup : public VLGraphics {
public:
    typedef void (*RadioSelectCallback)(VLGroup *);

    VLGroup();
    ~VLGroup();
    VLGroup(const VLGroup &) = delete;
    VLGroup &operator=(const VLGroup &) = delete;

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
    void SetMode(int mode);
    int GetMode();
    void SetBackMode(int mode);
    int GetBackMode();
    VLWindow *GetParentWindow();
    void Repaint();

    void Add(VLLabel *widget);
    void Add(VLPushButton *widget);
    void Add(VLEditBox *widget);
    void Add(VLGroup *widget);
    void Add(VLProgressBar *widget);
    void Add(VLCheckBox *widget);
    void Add(VLRadioButton *widget);
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
    void RemoveAt(VLRadioButton *widget);
    void RemoveAt(VLSlider *widget);
    void RemoveAt(VLTab *widget);
    void RemoveAt(VLComboBox *widget);
    void RemoveAt(VLSpin *widget);
    void RemoveAt(VLSpinEditBox *widget);
    void RemoveAt(VLImage *widget);
    void RemoveAt(VLColor *widget);
    void RemoveAt(VLButton *widget);
    void RemoveAt(VLListBox *widget);

    void SelectRadioButton(VLRadioButton *button);
    int SelectRadioButton(int index);
    int GetRadioButton();
    int GetRadioButtonCount();
    int AttachRadioButtonSelectEvent(RadioSelectCallback callback);
    void DetachRadioButtonSelectEvent();

private:
    friend struct WidgetAccess;
    friend struct GroupAccess;
    void Initialise();
    void Release();
    void Draw();
    void AddChild(int type, void *widget);
    void RemoveChild(int type, void *widget);

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    VLTab *tab;
    int windowX;
    int windowY;
    char *text;
    int x;
    int y;
    int width;
    int height;
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    int backMode;
    int visible;
    int mode;
    VLChildList *children;
    RadioSelectCallback radioSelectCallback;
};

#endif
