// A user and a hostile clipboard at an edit box: random keys, characters, clicks and drags,
// pastes of random bytes and input-method results. Whatever happens, the text stays within 255
// bytes and its maximum length, keeps every double-byte pair whole, and the caret and the
// selection stay in it.
#include "widget_fuzz.h"

namespace driver = vorla::testing;
using fuzzing::Bytes;

namespace {

bool Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool Trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Only whole characters: printable single bytes and lead bytes with their trails, so that any
// broken pair found later is the box's doing.
std::string WellFormed(const std::string &raw)
{
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(raw[i]);
        if (Lead(b) && i + 1 < raw.size() && Trail(static_cast<unsigned char>(raw[i + 1]))) {
            out += raw.substr(i, 2);
            ++i;
        } else if (b >= 0x20 && b <= 0x7E) {
            out += raw[i];
        }
    }
    return out.substr(0, 255);
}

// True when the text is whole characters only; boundary[i] tells where characters start.
bool Whole(const char *text, size_t length, bool *boundary)
{
    for (size_t i = 0; i < length;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        boundary[i] = true;
        if (Lead(b)) {
            if (i + 1 >= length || !Trail(static_cast<unsigned char>(text[i + 1])))
                return false;
            boundary[i + 1] = false;
            i += 2;
        } else {
            if (b < 0x20)
                return false;
            ++i;
        }
    }
    boundary[length] = true;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzzing::Stage<VLEditBox> stage;
    if (size > 2048)
        return 0;
    VLEditBox &box = stage.widget;
    HWND handle = stage.handle;
    Bytes in{data, size};

    // A fresh box of a random width, focused, and a known keyboard.
    box.SetText("");
    box.SetMaxLength(255);
    box.SetEditMode(0);
    box.SetEnable(1);
    box.SetBounds(10, 10, 1 + in.Next() * 2, 20);
    driver::SetImeOpen(handle, false);
    driver::SetToggle(VK_INSERT, false);
    driver::Click(handle, 10, 15);

    static const int keys[] = {VK_LEFT, VK_RIGHT, VK_BACK, VK_DELETE, VK_HOME, VK_END, VK_RETURN, VK_INSERT};
    static const char letters[] = {'A', 'C', 'V', 'X', 'Z'};
    int steps = 0;
    while (in.More() && ++steps < 200) {
        char before[300] = {};
        box.GetText(before, 299);
        const size_t oldLength = std::strlen(before);
        const uint8_t op = in.Next();
        bool mayGrow = false; // undo may bring back a text longer than a lowered maximum
        switch (op % 12) {
        case 0:
        case 1: {
            const char typed[2] = {static_cast<char>(in.Next()), 0};
            if (typed[0])
                driver::TypeText(typed);
            break;
        }
        case 2: {
            const int key = keys[in.Next() % (sizeof keys / sizeof *keys)];
            if (op & 0x80)
                driver::PressKeyWith({VK_SHIFT}, key);
            else
                driver::PressKey(key);
            break;
        }
        case 3: {
            const char letter = letters[in.Next() % sizeof letters];
            mayGrow = letter == 'Z';
            driver::PressKeyWith({VK_CONTROL}, letter);
            break;
        }
        case 4: {
            const int x = in.Next() * 2 - 20, y = 15 + (in.Next() % 16) - 8;
            switch (op >> 6) {
            case 0: driver::Click(handle, x, y); break;
            case 1: driver::DoubleClick(handle, x, y); break;
            case 2: driver::Drag(handle, x, y, in.Next() * 2 - 20, 15); break;
            default: driver::MoveTo(handle, x, y); break;
            }
            break;
        }
        case 5:
            driver::SetClipboardText(in.Take(300));
            driver::PressKeyWith({VK_CONTROL}, 'V');
            break;
        case 6: {
            driver::SetImeOpen(handle, true);
            driver::SetToggle(VK_INSERT, (op & 0x80) != 0);
            const std::string result = in.Take(300);
            driver::ImeCompose(result.c_str());
            driver::SetImeOpen(handle, false);
            break;
        }
        case 7:
            box.SetMaxLength(static_cast<int8_t>(in.Next()) * 3);
            mayGrow = true;
            break;
        case 8:
            box.SetEditMode(in.Next() % 4);
            break;
        case 9:
            box.SetText(WellFormed(in.Take(300)).c_str());
            break;
        case 10: {
            const int a = static_cast<int8_t>(in.Next()), b = in.Next();
            if (op & 0x80)
                box.CursorSelect(a, b);
            else
                box.CursorPosition(a);
            break;
        }
        default:
            if (op & 0x80)
                box.SetEnable(!box.IsEnable());
            else
                driver::Advance(100 * (1 + in.Next() % 10));
            break;
        }
        (void)mayGrow;

        char text[300] = {};
        box.GetText(text, 299);
        const size_t length = std::strlen(text);
        bool boundary[300] = {};
        if (length > 255 || !Whole(text, length, boundary))
            __builtin_trap();
        // An edit never makes the text longer than the maximum length, unless it already was.
        if (op % 12 != 7 && op % 12 != 3 && op % 12 != 9 && length > oldLength &&
            length > static_cast<size_t>(box.GetMaxLength()))
            __builtin_trap();
        if (op % 12 == 3 && !mayGrow && length > oldLength && length > static_cast<size_t>(box.GetMaxLength()))
            __builtin_trap();
        const int caret = box.GetCursorPosition();
        if (caret < 0 || static_cast<size_t>(caret) > length || !boundary[caret])
            __builtin_trap();
        int start = -1, end = -1;
        if (box.GetCursorSelect(&start, &end) && start <= end && static_cast<size_t>(start) < length) {
            if (!boundary[start])
                __builtin_trap();
            if (static_cast<size_t>(end) + 1 < length && !boundary[end + 1])
                __builtin_trap();
        }
    }
    return 0;
}
