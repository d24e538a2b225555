// Shared helpers of the core tests: a fresh window system per test and recorded callbacks.
#pragma once

#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"
#include "own_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace driver = vorla::testing;

// Every callback of every window lands here, in order.
struct Recorded {
    static std::vector<VLSTWindowEvent> &WindowEvents()
    {
        static std::vector<VLSTWindowEvent> events;
        return events;
    }
    static std::vector<VLSTMouseEvent> &MouseEvents()
    {
        static std::vector<VLSTMouseEvent> events;
        return events;
    }
    static int &Ticks()
    {
        static int ticks = 0;
        return ticks;
    }
    static void OnWindow(VLWindow *, VLSTWindowEvent event) { WindowEvents().push_back(event); }
    static void OnMouse(VLWindow *, VLSTMouseEvent event) { MouseEvents().push_back(event); }
    static void OnTimer(VLWindow *) { ++Ticks(); }

    static std::vector<int> WindowCodes(int winID)
    {
        std::vector<int> codes;
        for (const VLSTWindowEvent &event : WindowEvents())
            if (event.winID == winID)
                codes.push_back(event.event);
        return codes;
    }
    // Button events only: pointer moves (302) depend on how the driver gets to a point.
    static std::vector<VLSTMouseEvent> ButtonEvents()
    {
        std::vector<VLSTMouseEvent> events;
        for (const VLSTMouseEvent &event : MouseEvents())
            if (event.event != 302)
                events.push_back(event);
        return events;
    }
    static std::vector<int> ButtonCodes()
    {
        std::vector<int> codes;
        for (const VLSTMouseEvent &event : ButtonEvents())
            codes.push_back(event.event);
        return codes;
    }
};

// The library is initialized once per process and never again after VorlaTerminate: a test that
// terminates it, or needs it not yet initialized, puts its body in RunInOwnProcess (own_process.h)
// so the tests after it still have a library.
class CoreTest : public ::testing::Test {
protected:
    // The window system is reset before the fixture's members exist: widgets and windows create
    // their pens and fonts when they are constructed.
    CoreTest() { driver::Reset(); }

    void SetUp() override
    {
        Recorded::WindowEvents().clear();
        Recorded::MouseEvents().clear();
        Recorded::Ticks() = 0;
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    }
};

inline std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The system window of a library window, found by its slot's class.
inline HWND HandleOf(VLWindow &window)
{
    const int id = window.GetWinID();
    if (id < 1000)
        return nullptr;
    char name[32];
    std::snprintf(name, sizeof name, "VorlaWindowClass%02d", id - 1000);
    for (HWND candidate : driver::TopLevelWindows())
        if (ClassOf(candidate) == name)
            return candidate;
    return nullptr;
}

inline std::vector<std::string> LibraryClasses()
{
    std::vector<std::string> names;
    for (const std::string &name : driver::RegisteredClasses())
        if (name.rfind("Vorla", 0) == 0)
            names.push_back(name);
    return names;
}

inline bool SameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
