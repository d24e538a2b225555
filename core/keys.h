// The library's key codes and the virtual keys they stand for.
#pragma once

// The virtual key of a library key code, or 0 when the code is not in the table.
int VirtualKeyOfKeyCode(int keyCode);

// The library key code of a virtual key, or 0 when the key is not in the table.
int KeyCodeOfVirtualKey(int virtualKey);
