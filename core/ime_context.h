// VLImeContext: the input-method context a window owns for its composition window.
#pragma once

#include "vorla/vorla.h"

class VLImeContext {
public:
    explicit VLImeContext(HWND window);
    ~VLImeContext();
    VLImeContext(const VLImeContext &) = delete;
    VLImeContext &operator=(const VLImeContext &) = delete;

    int SetCompositionFont(const char *face, int size);
    int PlaceCompositionWindow(int x, int y);
    int IsOpen();
    // Writes the composition result, at most size bytes, and a terminator (size + 1 in all).
    int TakeResultString(char *buffer, int size);

private:
    HWND window;
    HIMC context;
    HIMC previous; // the window's own context, given back when this one goes
};
