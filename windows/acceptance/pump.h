// Handles every message that is waiting, for at least the given time, as a message loop would.
#pragma once

#include <windows.h>

inline void Pump(DWORD milliseconds = 200)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}
