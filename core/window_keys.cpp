// Keys as the application sees them: the key table, the modifier word, the control-letter word
// and the handling of key-down, key-up and character messages.
#include "window_internals.h"

#include "ime_context.h"
#include "keys.h"
#include "life_guard.h"
#include "tool_hint.h"

namespace {

bool Down(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

bool Toggled(int virtualKey)
{
    return (GetKeyState(virtualKey) & 1) != 0;
}

int HeldModifierBits()
{
    return (Down(VK_SHIFT) ? 0x00800000 : 0) | (Down(VK_CONTROL) ? 0x00400000 : 0) |
           (Down(VK_MENU) ? 0x00200000 : 0);
}

} // namespace

int WindowInternals::ModifierWord()
{
    int word = HeldModifierBits();
    if (Toggled(VK_CAPITAL))
        word |= static_cast<int>(0x80000000u);
    if (Toggled(VK_SCROLL))
        word |= 0x40000000;
    // Bit 28 is always set; bit 29 joins it while Num Lock is on.
    word |= Toggled(VK_NUMLOCK) ? 0x30000000 : 0x10000000;
    return word;
}

int WindowInternals::ControlLetterWord(int code, int key)
{
    if (code != 201)
        return 0;
    const int held = HeldModifierBits();
    const int letter = (key >= 0 && key <= 31) ? key + 64 : 0;
    if (held == 0 || letter == 0)
        return 0;
    return held | letter;
}

LRESULT WindowInternals::HandleKey(VLWindow &window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // A key-down that folds several repeats of Escape or Tab would close or move too far at once.
    if (message == WM_KEYDOWN && (wparam == VK_ESCAPE || wparam == VK_TAB) && (lparam & 0x0F) > 1)
        return 0;
    const int code = message == WM_KEYUP ? 202 : 201;
    int key = static_cast<int>(wparam);

    // With the input method open, typed text arrives as the composition result instead.
    if (message == WM_CHAR && window.imeContext && window.imeContext->IsOpen())
        return 0;
    if (message != WM_CHAR) {
        const int keyCode = KeyCodeOfVirtualKey(key);
        if (keyCode)
            key = keyCode;
        else if (message == WM_KEYDOWN)
            return 0; // letters, digits and punctuation come through their characters
    }

    const VLSTKeyEvent event = {window.identifier, code, key, ModifierWord()};
    const int controlLetters = ControlLetterWord(code, key);

    // Every step below may run callbacks that clear or delete the window (Escape destroys it).
    LifeGuard windowAlive(&window);
    bool handled = false;
    if (window.focusedType == 4 || window.focusedType == 13)
        handled = KeyToFocusedEditBox(window, event, controlLetters);
    if (windowAlive.Ended())
        return 0;

    if (code == 201) {
        switch (key) {
        case 0xF00005:
            FocusNext(window);
            break;
        case 0xF20000:
        case 0xF20001:
        case 0xF20002:
        case 0xF20003:
            switch (window.focusedType) {
            case 8:
            case 10:
            case 11:
            case 13:
            case 17:
                RouteArrow(window, key);
                break;
            default:
                break;
            }
            break;
        case 0xF00008:
        case ' ':
            ActivateFocused(window);
            break;
        case 0xF00000:
            window.CloseWindow();
            break;
        default:
            break;
        }
    }

    if (windowAlive.Ended())
        return 0;
    if (!handled && code == 201 && window.keyCallback) {
        HideHint(window);
        window.keyCallback(&window, event);
    }
    return 0;
}
