// VLToolHint: the small popup that shows a widget's hint text below it.
#pragma once

#include "vorla/vorla.h"

class VLToolHint {
public:
    VLToolHint();
    ~VLToolHint();
    VLToolHint(const VLToolHint &) = delete;
    VLToolHint &operator=(const VLToolHint &) = delete;

    // Creates (or re-creates) the popup owned by a window; 1 on success.
    int CreatePopup(VLWindow *ownerWindow, HWND ownerHandle, HINSTANCE instanceHandle);
    void Show(int flag);
    void Hide() { Show(0); }
    // Counts a tick (at most 1000) and returns the count.
    int Tick();
    // What the popup shows; a text of 510 bytes or more is refused.
    void SetText(const char *newText);
    void SetTextColour(unsigned int colour) { textColour = colour; }
    void SetBackgroundColour(unsigned int colour) { backgroundColour = colour; }
    void SetFontSize(int size);
    // While hidden: places the popup at (x, y) of the owner's client area, sized to the text.
    void Move(int x, int y);
    int IsShown() const { return shown; }
    HWND Popup() const { return popup; }

private:
    void Destroy();
    void Refresh();
    // The popup's size for the text: widest line + 10 by lines x font size + 10.
    bool Measure(int &width, int &height);
    static LRESULT CALLBACK PopupProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    VLWindow *owner;
    HWND ownerHandle;
    HINSTANCE instance;
    HWND popup;
    HFONT font;
    char *text;
    unsigned int textColour;
    unsigned int backgroundColour;
    int fontSize;
    int shown;
    int restTicks;
    int lastX;
    int lastY;
};
