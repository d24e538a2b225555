// TranslateMessage: key-down messages become character messages, US layout.
#include "internal/system.h"

namespace vorla::platform {

// The character a key gives with the current keyboard state, or 0 for none.
int CharacterFor(int vk) {
    System &s = TheSystem();
    bool shift = (s.key_state[VK_SHIFT] & 0x80) != 0;
    bool control = (s.key_state[VK_CONTROL] & 0x80) != 0;
    bool caps = (s.key_state[VK_CAPITAL] & 0x01) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return vk - 'A' + 1;
        bool upper = shift != caps;
        return upper ? vk : vk + 32;
    }
    if (control) return 0;
    switch (vk) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    case VK_SPACE: return ' ';
    default: break;
    }
    if (vk >= '0' && vk <= '9') {
        static const char shifted[] = ")!@#$%^&*(";
        return shift ? shifted[vk - '0'] : vk;
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
    struct Pair {
        int vk;
        char plain, shifted;
    };
    static const Pair punctuation[] = {{0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'},
                                       {0xBE, '.', '>'}, {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'},
                                       {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'}, {0x6A, '*', '*'},
                                       {0x6B, '+', '+'}, {0x6D, '-', '-'}, {0x6E, '.', '.'}, {0x6F, '/', '/'}};
    for (const Pair &p : punctuation)
        if (p.vk == vk) return shift ? p.shifted : p.plain;
    return 0;
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" BOOL WINAPI TranslateMessage(const MSG *message) {
    if (!message) return FALSE;
    if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) return FALSE;
    int c = CharacterFor(static_cast<int>(message->wParam));
    if (!c) return FALSE;
    UINT out = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    Window *w = FindWindow(message->hwnd);
    if (!w) return FALSE;
    MSG m = *message;
    m.message = out;
    m.wParam = static_cast<WPARAM>(c);
    // Characters go to the front of the queue, ahead of input that came later.
    System &s = TheSystem();
    {
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        s.queues[w->thread].posted.push_front(m);
    }
    return TRUE;
}
