// Shared by the targets that play a user at a widget: the input read a byte at a time, and a shown
// window holding the widget on the headless screen.
#pragma once

#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzzing {

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

// One widget in a shown 300 x 60 window on a 400 x 200 screen, for the life of the process.
template <typename Widget> struct Stage {
    Widget widget; // made before the window: the window clears it when it goes
    VLWindow window;
    HWND handle = nullptr;
    Stage()
    {
        vorla::testing::Reset(400, 200);
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        window.CreateNewWindow("fuzz", 0, 0, 300, 60, 0);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        window.Add(&widget);
        vorla::testing::Pump();
    }
};

} // namespace fuzzing

// fontconfig keeps its configuration for the life of the process; that is not a leak of ours.
extern "C" __attribute__((visibility("default"))) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
