// An edit box in the widget window, and the user's hands on it, for the edit box tests.
#pragma once

#include "widgets_support.h"

#include <string>
#include <utility>

inline int changes = 0;
inline int focuses = 0;
inline void OnChange(VLEditBox *) { ++changes; }
inline void OnFocus(VLEditBox *) { ++focuses; }

// The box spans L = 10, T = 10, W = 100, H = 20: 15 columns of 6 pixels from x = 14.
constexpr int L = 10, T = 10, W = 100, H = 20;
constexpr int Column(int c) { return L + 4 + c * 6 + 2; }

// Two double-byte characters (hiragana A and I) and a Japanese word of four.
inline const char *const AI = "\x82\xa0\x82\xa2";
inline const char *const Nihongo = "\x93\xfa\x96\x7b\x8c\xea\x82\xc5";

class EditBoxTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        changes = focuses = 0;
        box.SetBounds(L, T, W, H);
        box.AttachChangeEvent(OnChange);
        box.AttachFocusEvent(OnFocus);
        window.Add(&box);
        Repaint();
    }

    std::string Text()
    {
        char buffer[300] = {};
        box.GetText(buffer, 299);
        return buffer;
    }
    std::pair<int, int> Selection()
    {
        int start = -9, end = -9;
        if (!box.GetCursorSelect(&start, &end))
            return {-1, -1};
        return {start, end};
    }
    // On the left edge: inside any box however narrow, at column 0.
    void Focus() { driver::Click(handle, L, T + 5); }
    void Key(int vk) { driver::PressKey(vk); }
    void ShiftKey(int vk) { driver::PressKeyWith({VK_SHIFT}, vk); }
    void Control(char letter) { driver::PressKeyWith({VK_CONTROL}, letter); }
    void SetAndFocus(const char *text)
    {
        box.SetText(text);
        Focus();
        changes = 0;
    }

    VLEditBox box;
};
