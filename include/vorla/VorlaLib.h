// VorlaLib: every public header of the library.
#ifndef VORLA_VORLALIB_H
#define VORLA_VORLALIB_H

#include "vorla/vorla.h"
#include "vorla/VLGraphics.h"
#include "vorla/VLCursor.h"
#include "vorla/VLWindow.h"

#endif
