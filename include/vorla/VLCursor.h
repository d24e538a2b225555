// VLCursor: a window's table of mouse cursors.
#ifndef VORLA_VLCURSOR_H
#define VORLA_VLCURSOR_H

#include "vorla/vorla.h"

#endif
