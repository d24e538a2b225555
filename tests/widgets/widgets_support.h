// A shown window of known colour for the widget tests, reset before any library object exists.
#pragma once

#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"
#include "own_process.h"

#include <gtest/gtest.h>

#include <string>

namespace driver = vorla::testing;

// The tool-hint popup every library window owns (one window: the only one there is).
inline HWND HintPopup()
{
    for (HWND top : driver::TopLevelWindows()) {
        char name[64] = "";
        GetClassNameA(top, name, sizeof name);
        if (std::string(name) == "VorlaToolHintClass")
            return top;
    }
    return nullptr;
}

// A test that calls VorlaTerminate runs it inside RunInOwnProcess (own_process.h): the library
// lives once per process, and the tests after it need it.
class WidgetTest : public ::testing::Test {
protected:
    WidgetTest() { driver::Reset(); }

    void SetUp() override
    {
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        ASSERT_EQ(window.CreateNewWindow("widgets", 20, 20, 240, 161, 0), 1000);
        window.SetBackgroundColor(0xFFC0C0C0);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        driver::Pump();
    }

    // Widgets must leave their window before they are destroyed: the fixture's widgets go first.
    void TearDown() override { window.Clear(); }

    // The client pixel (0x00RRGGBB) after everything pending was handled.
    uint32_t Pixel(int x, int y)
    {
        driver::Pump();
        return driver::Snapshot(handle).At(x, y);
    }
    driver::Image Picture()
    {
        driver::Pump();
        return driver::Snapshot(handle);
    }
    void Repaint()
    {
        window.UpdateWindow();
        driver::Pump();
    }
    bool Matches(const std::string &golden)
    {
        std::string message;
        bool ok = driver::MatchesGolden(Picture(), golden, &message);
        if (!ok)
            ADD_FAILURE() << message;
        return ok;
    }

    VLWindow window;
    HWND handle = nullptr;
};
