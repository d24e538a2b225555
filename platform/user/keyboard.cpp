// The US keyboard: set-1 scan codes of the virtual keys, MapVirtualKeyA, and TranslateMessage,
// which turns key-down messages into character messages.
#include "internal/system.h"

namespace vorla::platform {

struct ScanCode {
    int code;
    bool extended;
};

namespace {

struct KeyScan {
    int vk;
    int code;
    bool extended;
};

// Navigation keys come before the numeric pad that shares their codes, so a scan code maps back
// to the navigation key as on Windows.
constexpr KeyScan kScanCodes[] = {
    {0x1B, 0x01, false}, {0x31, 0x02, false}, {0x32, 0x03, false}, {0x33, 0x04, false}, {0x34, 0x05, false},
    {0x35, 0x06, false}, {0x36, 0x07, false}, {0x37, 0x08, false}, {0x38, 0x09, false}, {0x39, 0x0A, false},
    {0x30, 0x0B, false}, {0xBD, 0x0C, false}, {0xBB, 0x0D, false}, {0x08, 0x0E, false}, {0x09, 0x0F, false},
    {'Q', 0x10, false},  {'W', 0x11, false},  {'E', 0x12, false},  {'R', 0x13, false},  {'T', 0x14, false},
    {'Y', 0x15, false},  {'U', 0x16, false},  {'I', 0x17, false},  {'O', 0x18, false},  {'P', 0x19, false},
    {0xDB, 0x1A, false}, {0xDD, 0x1B, false}, {0x0D, 0x1C, false}, {0x11, 0x1D, false}, {0xA2, 0x1D, false},
    {0xA3, 0x1D, true},  {'A', 0x1E, false},  {'S', 0x1F, false},  {'D', 0x20, false},  {'F', 0x21, false},
    {'G', 0x22, false},  {'H', 0x23, false},  {'J', 0x24, false},  {'K', 0x25, false},  {'L', 0x26, false},
    {0xBA, 0x27, false}, {0xDE, 0x28, false}, {0xC0, 0x29, false}, {0x10, 0x2A, false}, {0xA0, 0x2A, false},
    {0xDC, 0x2B, false}, {'Z', 0x2C, false},  {'X', 0x2D, false},  {'C', 0x2E, false},  {'V', 0x2F, false},
    {'B', 0x30, false},  {'N', 0x31, false},  {'M', 0x32, false},  {0xBC, 0x33, false}, {0xBE, 0x34, false},
    {0xBF, 0x35, false}, {0x6F, 0x35, true},  {0xA1, 0x36, false}, {0x10, 0x36, false}, {0x6A, 0x37, false}, {0x12, 0x38, false},
    {0xA4, 0x38, false}, {0xA5, 0x38, true},  {0x20, 0x39, false}, {0x14, 0x3A, false}, {0x70, 0x3B, false},
    {0x71, 0x3C, false}, {0x72, 0x3D, false}, {0x73, 0x3E, false}, {0x74, 0x3F, false}, {0x75, 0x40, false},
    {0x76, 0x41, false}, {0x77, 0x42, false}, {0x78, 0x43, false}, {0x79, 0x44, false}, {0x90, 0x45, true},
    {0x91, 0x46, false}, {0x24, 0x47, true},  {0x26, 0x48, true},  {0x21, 0x49, true},  {0x6D, 0x4A, false},
    {0x25, 0x4B, true},  {0x0C, 0x4C, false}, {0x27, 0x4D, true},  {0x6B, 0x4E, false}, {0x23, 0x4F, true},
    {0x28, 0x50, true},  {0x22, 0x51, true},  {0x2D, 0x52, true},  {0x2E, 0x53, true},  {0x67, 0x47, false},
    {0x68, 0x48, false}, {0x69, 0x49, false}, {0x64, 0x4B, false}, {0x65, 0x4C, false}, {0x66, 0x4D, false},
    {0x61, 0x4F, false}, {0x62, 0x50, false}, {0x63, 0x51, false}, {0x60, 0x52, false}, {0x6E, 0x53, false},
    {0x7A, 0x57, false}, {0x7B, 0x58, false}, {0x5B, 0x5B, true},  {0x5C, 0x5C, true},  {0x5D, 0x5D, true},
};

} // namespace

ScanCode ScanCodeOf(int vk) {
    for (const KeyScan &k : kScanCodes)
        if (k.vk == vk) return ScanCode{k.code, k.extended};
    return ScanCode{0, false};
}

namespace {

// The character a key gives with these modifiers, or 0 for none.
int CharacterWith(int vk, bool shift, bool control, bool alt, bool caps) {
    // Control with Alt is AltGr, which gives nothing on this layout.
    if (control && alt) return 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return vk - 'A' + 1;
        bool upper = shift != caps;
        return upper ? vk : vk + 32;
    }
    if (control) {
        switch (vk) {
        case VK_RETURN: return 10;
        case VK_BACK: return 127;
        case VK_ESCAPE: return 27;
        case VK_SPACE: return ' ';
        case 0xDB: return 27; // [
        case 0xDC: return 28; // backslash
        case 0xDD: return 29; // ]
        case '6': return shift ? 30 : 0;
        case 0xBD: return shift ? 31 : 0; // -
        default: return 0;
        }
    }
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

} // namespace

// The character a key gives with the current keyboard state, or 0 for none.
int CharacterFor(int vk) {
    const BYTE *k = TheSystem().key_state;
    return CharacterWith(vk, (k[VK_SHIFT] & 0x80) != 0, (k[VK_CONTROL] & 0x80) != 0, (k[VK_MENU] & 0x80) != 0,
                         (k[VK_CAPITAL] & 0x01) != 0);
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" UINT WINAPI MapVirtualKeyA(UINT code, UINT type) {
    switch (type) {
    case MAPVK_VK_TO_VSC: return static_cast<UINT>(ScanCodeOf(static_cast<int>(code & 0xFF)).code);
    case MAPVK_VSC_TO_VK:
        for (const KeyScan &k : kScanCodes)
            if (k.code == static_cast<int>(code) && !(k.vk >= 0xA0 && k.vk <= 0xA5)) return static_cast<UINT>(k.vk);
        return 0;
    case MAPVK_VK_TO_CHAR: {
        int vk = static_cast<int>(code & 0xFF);
        // The unshifted character; letters come as capitals, as on Windows.
        if (vk >= 'A' && vk <= 'Z') return static_cast<UINT>(vk);
        if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return 0;
        return static_cast<UINT>(CharacterWith(vk, false, false, false, false));
    }
    default: return 0;
    }
}

extern "C" BOOL WINAPI TranslateMessage(const MSG *message) {
    if (!message) return FALSE;
    if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) return FALSE;
    int c = CharacterFor(static_cast<int>(message->wParam));
    if (!c) return FALSE;
    // A desktop backend sends the printable characters of its own keyboard layout as text.
    if (message->message == WM_KEYDOWN && c >= 0x20 && c != 0x7F && CurrentBackend().DeliversText()) return FALSE;
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
