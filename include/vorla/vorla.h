// VorlaLib: the export macro, the free functions, the shared records and the class names.
#ifndef VORLA_VORLA_H
#define VORLA_VORLA_H

#include "platform/win32.h"

#ifdef _WIN32
#ifdef VORLA_BUILDING_LIBRARY
#define VORLA_API __declspec(dllexport)
#else
#define VORLA_API __declspec(dllimport)
#endif
#else
#define VORLA_API __attribute__((visibility("default")))
#endif

class VLWindow;
class VLGraphics;
class VLColor;
class VLImage;
class VLIcon;
class VLCursor;
class VLLabel;
class VLPushButton;
class VLButton;
class VLCheckBox;
class VLRadioButton;
class VLGroup;
class VLProgressBar;
class VLSlider;
class VLSpin;
class VLTab;
class VLScrollArea;
class VLEditBox;
class VLListBox;
class VLComboBox;
class VLSpinEditBox;
class VLString;
class VLFileCtrl;
class VLSystemInfo;
class VLThread;

struct VLSTPosition {
    int x;
    int y;
};

struct VLSTSize {
    int width;
    int height;
};

struct VLSTRect {
    int x;
    int y;
    int width;
    int height;
};

struct VLSTColor {
    int red;
    int green;
    int blue;
    int reserved; // never read nor set by the library
};

// Codes 100 created, 101 destroyed, 102 painted, 104 activated, 105 deactivated.
struct VLSTWindowEvent {
    int winID;
    int event;
    int x;      // screen position of the outer top-left corner
    int y;
    int width;  // client size derived from the outer rectangle
    int height;
};

// Codes 300 press, 301 release, 302 move, 303 double click; positions in client coordinates.
struct VLSTMouseEvent {
    int winID;
    int event;
    int x;
    int y;
    int reserved1;
    int left;
    int right;
    int middle;
    int reserved2[5];
};

// Codes 201 key down or character, 202 key up.
struct VLSTKeyEvent {
    int winID;
    int event;
    int key;
    int modifiers;
};

// One running process, as VLSystemInfo::GetProcessInfo reports it (272 bytes).
struct VLSTProcessInfo {
    unsigned int processID;
    char name[256];   // executable base name, or "Unknown"
    int memory;       // working set in kilobytes
    int reserved;     // always 0
    int runningTime;  // seconds since the process started
};

VORLA_API void VorlaInitialize(HWND owner, HINSTANCE instance);
VORLA_API void VorlaMessageLoop();
VORLA_API int VorlaGetEvent();
VORLA_API void VorlaMessageQuit();
VORLA_API int VorlaGetVersion();
VORLA_API void VorlaTerminate();
VORLA_API int VorlaGetOS();

#endif
