// Internal access to a drawing surface's target context, for the window or widget that owns it.
#pragma once

#include "vorla/VLGraphics.h"

struct SurfaceAccess {
    static void SetTarget(VLGraphics &surface, HDC context) { surface.target = context; }
    static HDC Target(const VLGraphics &surface) { return surface.target; }
};
