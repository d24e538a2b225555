// An application and a user at a spin edit box: random formats (most of them hostile), values,
// ranges and steps of both modes, typing, clicks, held buttons on the clock, and the Up and Down
// keys. Whatever happens, the field keeps a number of at most 255 bytes (or nothing), the format
// stays under 64 characters, and stepping stays inside the range.
#include "widget_fuzz.h"

namespace driver = vorla::testing;
using fuzzing::Bytes;

namespace {

bool Numeric(const char *text)
{
    for (; *text; ++text)
        if (!std::strchr("0123456789.-+", *text))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzzing::Stage<VLSpinEditBox> stage;
    if (size > 2048)
        return 0;
    VLSpinEditBox &box = stage.widget;
    HWND handle = stage.handle;
    Bytes in{data, size};

    // A fresh box, 100 x 20 at (10, 10): its spin covers columns 92..109, halves split at row 20.
    box.Clear();
    stage.window.Add(&box); // the window dropped nothing, so this places the new parts again
    box.SetBounds(10, 10, 100, 20);
    driver::Click(handle, 20, 15);

    int steps = 0;
    int before = box.GetValue();
    while (in.More() && ++steps < 200) {
        const uint8_t op = in.Next();
        bool mayStep = false; // only a step changes the value then
        switch (op % 10) {
        case 0:
            box.SetFormat(in.Take(70).c_str());
            break;
        case 1:
            if (op & 0x80)
                box.SetValueF(in.Real());
            else
                box.SetValue(in.Integer());
            break;
        case 2:
            if (op & 0x80)
                box.SetRangeF(in.Real(), in.Real());
            else
                box.SetRange(in.Integer(), in.Integer());
            break;
        case 3:
            if (op & 0x80)
                box.SetDiffValueF(in.Real());
            else
                box.SetDiffValue(in.Integer());
            break;
        case 4: {
            const char typed[2] = {static_cast<char>(in.Next()), 0};
            if (typed[0])
                driver::TypeText(typed);
            break;
        }
        case 5:
            driver::PressKey(op & 0x80 ? VK_UP : op & 0x40 ? VK_DOWN : op & 0x20 ? VK_BACK : VK_DELETE);
            mayStep = (op & 0xC0) != 0;
            break;
        case 6: {
            // A click, or a hold of a few ticks, somewhere on or around the box.
            const int x = in.Next() / 2, y = 5 + in.Next() % 30;
            driver::MoveTo(handle, x, y);
            driver::Press();
            if (op & 0x80)
                driver::Advance(100 * (1 + in.Next() % 12));
            driver::Release();
            mayStep = true;
            break;
        }
        case 7:
            box.CursorSelect(static_cast<int8_t>(in.Next()), in.Next());
            break;
        case 8:
            box.SetBounds(static_cast<int8_t>(in.Next()), 10, in.Next(), 5 + in.Next() % 40);
            box.SetBounds(10, 10, 100, 20);
            break;
        default:
            box.SetEnable(op & 0x80 ? 0 : 1);
            box.SetVisible(op & 0x40 ? 0 : 1);
            box.Repaint();
            break;
        }

        char format[80] = {};
        box.GetFormat(format, 79);
        if (std::strlen(format) >= 64)
            __builtin_trap();
        // The field's text, as the user would copy it.
        box.CursorSelectAll();
        driver::SetClipboardText("");
        driver::PressKeyWith({VK_CONTROL}, 'C');
        const std::string text = driver::ClipboardText();
        if (text.size() > 255 || !Numeric(text.c_str()))
            __builtin_trap();
        // A step leaves a number inside the range (when the format writes what it read back).
        const int value = box.GetValue();
        if (mayStep && value != before && std::strcmp(format, "%d") == 0) {
            int low = 0, high = 0;
            box.GetRange(&low, &high);
            if (value < low || value > high)
                __builtin_trap();
        }
        before = value;
    }
    return 0;
}
