// An application and a user at a spin edit box: random formats (most of them hostile), values,
// ranges and steps of both modes, typing, clicks, held buttons on the clock, and the Up and Down
// keys. Whatever happens, the field keeps a number of at most 255 bytes (or nothing), the format
// stays under 64 characters, and stepping stays inside the range.
#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace driver = vorla::testing;

namespace {

// Reads the input a byte at a time; zeros once it runs out.
struct Bytes {
    const uint8_t *data;
    size_t size, at = 0;
    bool More() const { return at < size; }
    uint8_t Next() { return at < size ? data[at++] : 0; }
    int Integer()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Next();
        return static_cast<int>(v);
    }
    double Real()
    {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | Next();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::string Take(size_t most)
    {
        size_t n = std::min<size_t>(Next() % (most + 1), size - at);
        std::string s(reinterpret_cast<const char *>(data + at), n);
        at += n;
        return s;
    }
};

bool Numeric(const char *text)
{
    for (; *text; ++text)
        if (!std::strchr("0123456789.-+", *text))
            return false;
    return true;
}

struct Stage {
    VLSpinEditBox box; // made before the window: the window clears it when it goes
    VLWindow window;
    HWND handle = nullptr;
    Stage()
    {
        driver::Reset(400, 200);
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        window.CreateNewWindow("fuzz", 0, 0, 300, 60, 0);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        window.Add(&box);
        driver::Pump();
    }
};

} // namespace

// fontconfig keeps its configuration for the life of the process; that is not a leak of ours.
extern "C" __attribute__((visibility("default"))) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Stage stage;
    if (size > 2048)
        return 0;
    VLSpinEditBox &box = stage.box;
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
