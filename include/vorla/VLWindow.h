// VLWindow: a top-level window or modal dialog whose client area the library paints itself.
#ifndef VORLA_VLWINDOW_H
#define VORLA_VLWINDOW_H

#include "vorla/VLGraphics.h"
#include "vorla/VLCursor.h"

class VLChildList;
class VLImeContext;
class VLToolHint;

class VORLA_API VLWindow : public VLGraphics {
public:
    typedef void (*KeyCallback)(VLWindow *, VLSTKeyEvent);
    typedef void (*MouseCallback)(VLWindow *, VLSTMouseEvent);
    typedef void (*WindowCallback)(VLWindow *, VLSTWindowEvent);
    typedef void (*TimerCallback)(VLWindow *);

    VLWindow();
    ~VLWindow();
    VLWindow(const VLWindow &) = delete;
    VLWindow &operator=(const VLWindow &) = delete;

    void Clear();
    int CreateNewWindow(const char *title, int x, int y, int width, int height, int flags);
    int CreateNewDialog(const char *title, int x, int y, int width, int height);
    int ShowWindow(int show);
    int DoModal();
    void CloseWindow();
    int GetWinID();
    int IsVisible();
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void UpdateWindow();
    void UpdateWindowRect(int left, int top, int right, int bottom);
    void BeginPaint();
    void EndPaint();
    void MessageBoxA(const char *caption, const char *text);
    VLSTPosition GetMousePosition();
    VLSTPosition GetWindowPosition();
    int CreateCursor(unsigned char *image, unsigned char *mask, int hotX, int hotY);
    int SetCursor(int shape);
    int GetCursor();
    int GetKeyState(int key);

    int AttachKeyEvent(KeyCallback callback);
    void DetachKeyEvent();
    int AttachMouseEvent(MouseCallback callback);
    void DetachMouseEvent();
    int AttachWindowEvent(WindowCallback callback);
    void DetachWindowEvent();
    int AttachTimerEvent(TimerCallback callback);
    void DetachTimerEvent();

    // Widgets are shown by adding them; the window holds them but never owns them. A radio
    // button goes into a group, never straight into a window.
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
    void Add(VLScrollArea *widget);
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
    void RemoveAt(VLScrollArea *widget);
    // Keyboard focus: Tab moves it to the next widget that can take it; clearing drops it everywhere.
    void NextFocus();
    void AllFocusClear();

private:
    friend struct WindowInternals; // the message handler and the library's other parts

    void Initialise();
    bool Teardown();
    void AddChild(int type, void *widget);
    void RemoveChild(int type, void *widget);

    char *title;
    int identifier;
    int flags;
    unsigned int backgroundColour;
    int clientWidth;
    int clientHeight;
    int alive;
    VLChildList *children;
    HWND handle;
    HDC context;
    VLImeContext *imeContext;
    int compositionX;
    int compositionY;
    int caretRefreshPending;
    int inPaint;
    VLCursor *cursor;
    int cursorShape;
    HWND owner;
    WNDCLASSEXA windowClass;
    int mouseX;
    int mouseY;
    int leftDown;
    int rightDown;
    int middleDown;
    int holdTicks;
    int dropDownOpen;
    int dropDownLeft;
    int dropDownTop;
    int dropDownRight;
    int dropDownBottom;
    VLComboBox *dropDownOwner;
    int focusedType;
    void *focusedWidget;
    int tickCounter;
    VLToolHint *toolHint;
    KeyCallback keyCallback;
    MouseCallback mouseCallback;
    WindowCallback windowCallback;
    TimerCallback timerCallback;
    int paintDepth; // nesting of BeginPaint/EndPaint outside a paint message
    int tearingDown; // 1 while Teardown runs: its destruction report may call back into the window
};

#endif
