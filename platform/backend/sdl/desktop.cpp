// The SDL backend's desktop services: text conversion, clipboard, pointer shapes, message boxes.
#include "backend/sdl/sdl.h"
#include "platform/win32.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace vorla::platform {

namespace {

// Converts what it can; a character the target cannot hold becomes '?'.
std::string Convert(const std::string &text, const char *to, const char *from, size_t from_unit) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string out;
    char *in = const_cast<char *>(text.data());
    size_t left = text.size();
    char chunk[512];
    while (left > 0) {
        char *to_ptr = chunk;
        size_t room = sizeof chunk;
        size_t n = iconv(cd, &in, &left, &to_ptr, &room);
        out.append(chunk, static_cast<size_t>(to_ptr - chunk));
        if (n == static_cast<size_t>(-1) && errno != E2BIG) {
            out.push_back('?');
            // Step over one unit of the source: a UTF-8 sequence or a CP932 byte.
            size_t skip = 1;
            if (from_unit == 0)
                while (skip < left && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
            in += std::min(skip, left);
            left -= std::min(skip, left);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

// Converts all of the text or nothing: false when any character has no counterpart.
bool ConvertWhole(const std::string &text, const char *to, const char *from, std::string &out) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char *in = const_cast<char *>(text.data());
    size_t left = text.size();
    char chunk[512];
    bool whole = true;
    while (left > 0) {
        char *to_ptr = chunk;
        size_t room = sizeof chunk;
        size_t n = iconv(cd, &in, &left, &to_ptr, &room);
        out.append(chunk, static_cast<size_t>(to_ptr - chunk));
        // Irreversible conversions (a best fit) count as failures too: what lands on the other
        // side must be what was there.
        if (n == static_cast<size_t>(-1) ? errno != E2BIG : n != 0) {
            whole = false;
            break;
        }
    }
    if (whole) { // a shift state left open at the end is flushed, or fails
        char *to_ptr = chunk;
        size_t room = sizeof chunk;
        if (iconv(cd, nullptr, nullptr, &to_ptr, &room) == static_cast<size_t>(-1)) whole = false;
        out.append(chunk, static_cast<size_t>(to_ptr - chunk));
    }
    iconv_close(cd);
    if (!whole) out.clear();
    return whole;
}

} // namespace

bool Cp932ToUtf8Whole(const std::string &text, std::string &utf8) { return ConvertWhole(text, "UTF-8", "CP932", utf8); }
bool Utf8ToCp932Whole(const std::string &text, std::string &cp932) { return ConvertWhole(text, "CP932", "UTF-8", cp932); }

std::string Cp932ToUtf8(const std::string &text) { return Convert(text, "UTF-8", "CP932", 1); }
std::string Utf8ToCp932(const std::string &text) { return Convert(text, "CP932", "UTF-8", 0); }

// The desktop's clipboard holds UTF-8. Text that does not convert whole is refused both ways:
// a paste with characters replaced or missing would be worse than none.
bool SdlBackend::SetClipboardText(const std::string &cp932) {
    std::string utf8;
    if (!Cp932ToUtf8Whole(cp932, utf8)) return false;
    return SDL_SetClipboardText(utf8.c_str()) == 0;
}

bool SdlBackend::GetClipboardText(std::string &cp932) {
    cp932.clear();
    if (!SDL_HasClipboardText()) return false;
    char *text = SDL_GetClipboardText();
    if (!text) return false;
    bool whole = Utf8ToCp932Whole(text, cp932);
    SDL_free(text);
    return whole;
}

void SdlBackend::SetPointerShape(int system_shape, const uint8_t *and_plane, const uint8_t *xor_plane, int width,
                                 int height, int hot_x, int hot_y) {
    SDL_Cursor *next = nullptr;
    if (and_plane && xor_plane && width > 0 && height > 0) {
        // Windows planes: AND 1 XOR 0 clear, 1 1 inverted, 0 0 black, 0 1 white. SDL's: data 0 mask 0
        // clear, 1 0 inverted, 1 1 black, 0 1 white; so mask = !AND and data = !(AND ^ XOR).
        const int from_row = (width + 15) / 16 * 2, to_row = (width + 7) / 8;
        std::vector<Uint8> data(static_cast<size_t>(to_row) * height), mask(data.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                size_t from = static_cast<size_t>(y) * from_row + x / 8;
                Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
                bool a = (and_plane[from] & bit) != 0, o = (xor_plane[from] & bit) != 0;
                size_t to = static_cast<size_t>(y) * to_row + x / 8;
                if (!a) mask[to] |= bit;
                if (a == o) data[to] |= bit;
            }
        next = SDL_CreateCursor(data.data(), mask.data(), to_row * 8, height, hot_x, hot_y);
    } else if (system_shape) {
        SDL_SystemCursor shape = SDL_SYSTEM_CURSOR_ARROW;
        switch (system_shape) {
        case 32513: shape = SDL_SYSTEM_CURSOR_IBEAM; break;
        case 32514: shape = SDL_SYSTEM_CURSOR_WAIT; break;
        case 32515: shape = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
        case 32642: shape = SDL_SYSTEM_CURSOR_SIZENWSE; break;
        case 32643: shape = SDL_SYSTEM_CURSOR_SIZENESW; break;
        case 32644: shape = SDL_SYSTEM_CURSOR_SIZEWE; break;
        case 32645: shape = SDL_SYSTEM_CURSOR_SIZENS; break;
        case 32646: shape = SDL_SYSTEM_CURSOR_SIZEALL; break;
        case 32648: shape = SDL_SYSTEM_CURSOR_NO; break;
        case 32649: shape = SDL_SYSTEM_CURSOR_HAND; break;
        case 32650: shape = SDL_SYSTEM_CURSOR_WAITARROW; break;
        default: break;
        }
        next = SDL_CreateSystemCursor(shape);
    }
    // No shape at all hides the pointer, as SetCursor(NULL) does.
    SDL_ShowCursor(next ? SDL_ENABLE : SDL_DISABLE);
    if (!next) return;
    SDL_SetCursor(next);
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = next;
}

int SdlBackend::MessageBox(uintptr_t owner, const std::string &text, const std::string &caption, unsigned style) {
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    switch (style & 0xF0) {
    case MB_ICONERROR: flags = SDL_MESSAGEBOX_ERROR; break;
    case MB_ICONWARNING: flags = SDL_MESSAGEBOX_WARNING; break;
    default: break;
    }
    SDL_Window *parent = reinterpret_cast<SDL_Window *>(owner);
    std::string title = Cp932ToUtf8(caption), message = Cp932ToUtf8(text);
    const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    std::vector<SDL_MessageBoxButtonData> buttons;
    switch (style & 0xF) {
    case MB_OK:
        // One button needs no choice.
        return SDL_ShowSimpleMessageBox(flags, title.c_str(), message.c_str(), parent) == 0 ? IDOK : 0;
    case MB_OKCANCEL: buttons = {{enter, IDOK, "OK"}, {escape, IDCANCEL, "Cancel"}}; break;
    case 2: buttons = {{0, 3, "Abort"}, {enter, 4, "Retry"}, {escape, 5, "Ignore"}}; break;
    case 3: buttons = {{enter, IDYES, "Yes"}, {0, IDNO, "No"}, {escape, IDCANCEL, "Cancel"}}; break;
    case MB_YESNO: buttons = {{enter, IDYES, "Yes"}, {escape, IDNO, "No"}}; break;
    case 5: buttons = {{enter, 4, "Retry"}, {escape, IDCANCEL, "Cancel"}}; break;
    default: buttons = {{enter | escape, IDOK, "OK"}}; break;
    }
    SDL_MessageBoxData box{flags, parent, title.c_str(), message.c_str(), static_cast<int>(buttons.size()),
                           buttons.data(), nullptr};
    int chosen = 0;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) return 0;
    return chosen > 0 ? chosen : IDCANCEL;
}

int VirtualKeyOf(const SDL_Keysym &key) {
    // Letters and digits follow the desktop's layout, the rest the key's place on the board.
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + (key.sym - SDLK_a);
    if (key.sym >= SDLK_0 && key.sym <= SDLK_9) return '0' + (key.sym - SDLK_0);
    SDL_Scancode s = key.scancode;
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return 'A' + (s - SDL_SCANCODE_A);
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return '1' + (s - SDL_SCANCODE_1);
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return 0x70 + (s - SDL_SCANCODE_F1);
    if (s >= SDL_SCANCODE_F13 && s <= SDL_SCANCODE_F24) return 0x7C + (s - SDL_SCANCODE_F13);
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return 0x61 + (s - SDL_SCANCODE_KP_1);
    switch (s) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: return 0x0D;
    case SDL_SCANCODE_ESCAPE: return 0x1B;
    case SDL_SCANCODE_BACKSPACE: return 0x08;
    case SDL_SCANCODE_TAB: return 0x09;
    case SDL_SCANCODE_SPACE: return 0x20;
    case SDL_SCANCODE_MINUS: return 0xBD;
    case SDL_SCANCODE_EQUALS: return 0xBB;
    case SDL_SCANCODE_LEFTBRACKET: return 0xDB;
    case SDL_SCANCODE_RIGHTBRACKET: return 0xDD;
    case SDL_SCANCODE_BACKSLASH: return 0xDC;
    case SDL_SCANCODE_NONUSHASH: return 0xDC;
    case SDL_SCANCODE_SEMICOLON: return 0xBA;
    case SDL_SCANCODE_APOSTROPHE: return 0xDE;
    case SDL_SCANCODE_GRAVE: return 0xC0;
    case SDL_SCANCODE_COMMA: return 0xBC;
    case SDL_SCANCODE_PERIOD: return 0xBE;
    case SDL_SCANCODE_SLASH: return 0xBF;
    case SDL_SCANCODE_NONUSBACKSLASH: return 0xE2;
    case SDL_SCANCODE_INTERNATIONAL1: return 0xE2; // the Japanese backslash-underscore key
    case SDL_SCANCODE_INTERNATIONAL3: return 0xDC; // the Japanese yen key
    case SDL_SCANCODE_CAPSLOCK: return 0x14;
    case SDL_SCANCODE_PRINTSCREEN: return 0x2C;
    case SDL_SCANCODE_SCROLLLOCK: return 0x91;
    case SDL_SCANCODE_PAUSE: return 0x13;
    case SDL_SCANCODE_INSERT: return 0x2D;
    case SDL_SCANCODE_HOME: return 0x24;
    case SDL_SCANCODE_PAGEUP: return 0x21;
    case SDL_SCANCODE_DELETE: return 0x2E;
    case SDL_SCANCODE_END: return 0x23;
    case SDL_SCANCODE_PAGEDOWN: return 0x22;
    case SDL_SCANCODE_RIGHT: return 0x27;
    case SDL_SCANCODE_LEFT: return 0x25;
    case SDL_SCANCODE_DOWN: return 0x28;
    case SDL_SCANCODE_UP: return 0x26;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 0x90;
    case SDL_SCANCODE_KP_DIVIDE: return 0x6F;
    case SDL_SCANCODE_KP_MULTIPLY: return 0x6A;
    case SDL_SCANCODE_KP_MINUS: return 0x6D;
    case SDL_SCANCODE_KP_PLUS: return 0x6B;
    case SDL_SCANCODE_KP_ENTER: return 0x0D;
    case SDL_SCANCODE_KP_0: return 0x60;
    case SDL_SCANCODE_KP_PERIOD: return 0x6E;
    case SDL_SCANCODE_APPLICATION: return 0x5D;
    case SDL_SCANCODE_LCTRL: return 0xA2;
    case SDL_SCANCODE_LSHIFT: return 0xA0;
    case SDL_SCANCODE_LALT: return 0xA4;
    case SDL_SCANCODE_LGUI: return 0x5B;
    case SDL_SCANCODE_RCTRL: return 0xA3;
    case SDL_SCANCODE_RSHIFT: return 0xA1;
    case SDL_SCANCODE_RALT: return 0xA5;
    case SDL_SCANCODE_RGUI: return 0x5C;
    case SDL_SCANCODE_LANG1: return 0x15; // kana
    case SDL_SCANCODE_LANG2: return 0x19; // kanji
    case SDL_SCANCODE_INTERNATIONAL2: return 0x15;
    case SDL_SCANCODE_INTERNATIONAL4: return 0x1C; // henkan
    case SDL_SCANCODE_INTERNATIONAL5: return 0x1D; // muhenkan
    default: return 0;
    }
}

bool IsExtendedKey(SDL_Scancode s) {
    switch (s) {
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_KP_DIVIDE:
    case SDL_SCANCODE_INSERT:
    case SDL_SCANCODE_DELETE:
    case SDL_SCANCODE_HOME:
    case SDL_SCANCODE_END:
    case SDL_SCANCODE_PAGEUP:
    case SDL_SCANCODE_PAGEDOWN:
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_NUMLOCKCLEAR:
    case SDL_SCANCODE_LGUI:
    case SDL_SCANCODE_RGUI:
    case SDL_SCANCODE_APPLICATION: return true;
    default: return false;
    }
}

} // namespace vorla::platform
