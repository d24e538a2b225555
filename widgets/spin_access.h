// The spin's internal entry points, shared by the window's routing and the spin edit box that
// contains a spin.
#pragma once

#include "vorla/VLSpin.h"
#include "vorla/VLWindow.h"

struct SpinAccess {
    static void Draw(VLSpin &s) { s.Draw(); }
    static int State(const VLSpin &s) { return s.state; }
    static void SetState(VLSpin &s, int state) { s.state = state; }
    static void SetFocused(VLSpin &s, int on) { s.focused = on; }
    static void SetEnabled(VLSpin &s, int on) { s.enabled = on; }
    // The owning spin edit box registers its steps; a null step is refused.
    static int SetOwnerUp(VLSpin &s, VLSpinEditBox *owner, void (*step)(VLSpinEditBox *));
    static int SetOwnerDown(VLSpin &s, VLSpinEditBox *owner, void (*step)(VLSpinEditBox *));
    // The owner's step for the upper (up) or lower half, and the owner; null when none is set.
    static void (*OwnerStep(const VLSpin &s, bool up))(VLSpinEditBox *) { return up ? s.ownerUp : s.ownerDown; }
    static VLSpinEditBox *Owner(const VLSpin &s) { return s.owner; }
    // The spin's rectangle in window coordinates.
    static VLSTRect WindowArea(const VLSpin &s) { return VLSTRect{s.windowX, s.windowY, s.width, s.height}; }
    // Whether a point lies in the upper half (against the spin's window top and height).
    static bool UpperHalf(const VLSpin &s, int py)
    {
        return static_cast<long long>(py) - s.windowY < s.height / 2;
    }
};
