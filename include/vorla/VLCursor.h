// VLCursor: a window's table of mouse cursors, the four system cursors and up to 24 of its own.
#ifndef VORLA_VLCURSOR_H
#define VORLA_VLCURSOR_H

#include "vorla/vorla.h"

class VORLA_API VLCursor {
public:
    VLCursor();
    ~VLCursor();
    VLCursor(const VLCursor &) = delete;
    VLCursor &operator=(const VLCursor &) = delete;

    // A 16 x 16 monochrome cursor: 2 bytes per row, leftmost pixel in the top bit. image 1 is
    // white, mask 1 is transparent. Returns the new id (100 to 123) or 0.
    int CreateCursor(unsigned char *image, unsigned char *mask, int hotX, int hotY);
    // Shows the cursor with this id (1 arrow, 2 cross, 3 text, 4 wait, or a created one). Returns 0.
    int SetCursor(int id);
    int GetCursor();

private:
    HCURSOR handles[32]; // 0-3 system cursors, 4-7 unused, 8-31 created ones
    int ids[32];
    int currentId;
};

#endif
