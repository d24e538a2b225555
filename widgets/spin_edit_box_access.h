// The spin edit box's internal entry points: its steps, its parts and what the window's routing
// calls for it.
#pragma once

#include "vorla/VLSpinEditBox.h"
#include "vorla/VLWindow.h"

struct SpinEditBoxAccess {
    static VLSpinEditBox &Of(void *widget) { return *static_cast<VLSpinEditBox *>(widget); }

    // The spin's owner steps: the number in the field plus or minus the step, kept in the range,
    // written back and selected whole.
    static void StepUp(VLSpinEditBox *box);
    static void StepDown(VLSpinEditBox *box);
    // The field's owner notification: the user changed the text.
    static void FieldChanged(VLSpinEditBox *box);

    // A held spin button repeats its step while the pointer stays on its half.
    static void Repeat(VLSpinEditBox &box, int x, int y);
    // The part of the box that takes text: the whole box but its right-most 20 pixels.
    static VLSTRect TextArea(const VLSpinEditBox &box);

    // Sets the parts' bounds from the box's, and their window positions from the box's.
    static void PlaceParts(VLSpinEditBox &box);
    static void Step(VLSpinEditBox &box, int direction);
    static void FieldText(VLSpinEditBox &box, char *text);
    static void Write(VLSpinEditBox &box, long long integer, double real);
    static void WriteInteger(VLSpinEditBox &box, long long value);
    static void WriteDouble(VLSpinEditBox &box, double value);
    static void SwitchMode(VLSpinEditBox &box, bool integer);
    static void PassFontSize(VLSpinEditBox &box);
    // Switching on reports a gain to the focus callback first; false when that callback ended
    // the box or took it out of its window.
    static bool SetFocusState(VLSpinEditBox &box, bool on);
    // The box, its field and its spin all take the focus; false when the box ended meanwhile.
    static bool TakeFocus(VLSpinEditBox &box);
    static void RedrawSpin(VLSpinEditBox &box, bool inGroup);
    // Returns 1 when a press lands on the box (it becomes the window's focused widget).
    static int MouseInput(VLSpinEditBox &box, int code, int x, int y, bool inGroup);
};
