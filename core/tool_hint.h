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
    int IsShown() const { return shown; }
    HWND Popup() const { return popup; }

private:
    void Destroy();
    void Refresh();
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
