// A stand-in for the window's cursor table until cursors are built: it holds no cursors.
#pragma once

#include "vorla/VLCursor.h"

class VLCursor {
public:
    int CreateCursor(unsigned char *image, unsigned char *mask, int hotX, int hotY) { return 0; }
    int SetCursor(int id) { return 0; }
    int GetCursor() { return 0; }
};
