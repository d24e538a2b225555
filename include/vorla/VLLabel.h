// VLLabel: a line of text with an optional icon, composed offscreen and copied into the window.
#ifndef VORLA_VLLABEL_H
#define VORLA_VLLABEL_H

#include "vorla/VLGraphics.h"

class VORLA_API VLLabel : public VLGraphics {
public:
    VLLabel();
    ~VLLabel();
    VLLabel(const VLLabel &) = delete;
    VLLabel &operator=(const VLLabel &) = delete;

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
    void SetBackMode(int mode);
    int GetBackMode();
    void SetIcon(VLIcon *icon);
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
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
    int backMode;
    int visible;
    int x;
    int y;
    int width;
    int height;
    VLIcon *icon;
    HBITMAP offscreen;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
