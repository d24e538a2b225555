// The edit box's internal entry points: what the window's routing calls for the focused box.
#pragma once

#include "vorla/VLEditBox.h"
#include "vorla/VLWindow.h"

struct EditBoxAccess {
    // Byte classes of a text position: -1 outside the text, 0 a printable single byte, 1 the lead
    // and 2 the trail byte of a double-byte character, -2 anything else (control bytes, single
    // bytes above 0x7F, a lead byte without its trail).
    static int ClassifyByte(const char *text, int index);

    static void SetFocusState(VLEditBox &box, int on);
    static void BlinkCaret(VLEditBox &box);
    static void KeyInput(VLEditBox &box, const VLSTKeyEvent &event, int controlLetters);
    // Returns 1 when the selection, the caret or the anchor changed.
    static int MouseInput(VLEditBox &box, const VLSTMouseEvent &event);
    static void InsertText(VLEditBox &box, const char *text, int insert);
    static bool Focused(const VLEditBox &box) { return box.focused != 0; }
    // Where the input method's composition window goes: at the caret, in window coordinates.
    static void CompositionPoint(VLEditBox &box, int &x, int &y);
    // The box's rectangle in window coordinates.
    static VLSTRect WindowArea(const VLEditBox &box);

    // ---- the spin edit box that contains a box ----
    static void SetOwner(VLEditBox &box, VLSpinEditBox *owner, void (*changed)(VLSpinEditBox *))
    {
        box.owner = owner;
        box.ownerChanged = changed;
    }
    static void SetFocusedFlag(VLEditBox &box, int on) { box.focused = on; }
    static void SetEnabledFlag(VLEditBox &box, int on) { box.enabled = on; }
    static void SetCaretPhase(VLEditBox &box, int phase) { box.caretPhase = phase; }
    static void Draw(VLEditBox &box) { box.Draw(); }

    // ---- editing ----
    static int Length(const VLEditBox &box);
    static int CharacterWidth(VLEditBox &box);
    static int VisibleCount(VLEditBox &box);
    static bool Fits(VLEditBox &box, long long columns);
    static bool HasSelection(const VLEditBox &box);
    // Keeps the caret and the first visible byte inside the text and on character starts.
    static void Settle(VLEditBox &box);
    static void ScrollToCaret(VLEditBox &box, bool afterInsertion);
    static void PushUndo(VLEditBox &box);
    static void Undo(VLEditBox &box);
    static int DeleteSelection(VLEditBox &box, bool notify);
    // The change callback, then the owner's notification; false when the box ended meanwhile.
    static bool Changed(VLEditBox &box);
    static void TypeCharacter(VLEditBox &box, int c);
    static void MoveLeft(VLEditBox &box, bool shift);
    static void MoveRight(VLEditBox &box, bool shift);
    static void ExtendSelection(VLEditBox &box, int before, bool shift);
    static void Erase(VLEditBox &box, bool forward);
    static void ControlLetter(VLEditBox &box, int letter);
    static void SelectWord(VLEditBox &box, int px, int py);
    static void Copy(VLEditBox &box);
    static void Paste(VLEditBox &box);
};
