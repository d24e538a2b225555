// Prints where a top-level window's client area lies on the screen ("x y width height"), found by its
// title, so that a screen capture can be cut to it. Exits 1 when no such window shows.
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2)
        return std::fprintf(stderr, "usage: client_rect TITLE\n"), 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    RECT client;
    POINT origin = {0, 0};
    if (!window || !IsWindowVisible(window) || !GetClientRect(window, &client) || !ClientToScreen(window, &origin))
        return std::fprintf(stderr, "no window \"%s\" shows\n", argv[1]), 1;
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}
