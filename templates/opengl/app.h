// What main.cpp offers its tests: the window, its OpenGL view and where the view lies.
#pragma once

#include <vorla/VorlaLib.h>

namespace app {

// The view's place in the window's client area.
constexpr int ViewX = 110;
constexpr int ViewY = 10;
constexpr int ViewWidth = 120;
constexpr int ViewHeight = 100;

extern VLWindow window;
extern VLImage view;

// Creates and shows the main window; false when it cannot be made.
bool Open();

} // namespace app
