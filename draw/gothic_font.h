// The system's Japanese Gothic face, which every library text uses.
#pragma once

#include "platform/win32.h"

// "ＭＳ ゴシック" in Shift_JIS.
extern const char GothicFace[14];

// The Gothic face at a character height of size pixels, Shift_JIS character set; null on failure.
HFONT CreateGothicFont(int size);
