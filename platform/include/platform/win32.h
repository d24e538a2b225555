/* The one header through which the library reaches the window system.
 * On Windows it is the system's own headers; elsewhere it declares the subset of USER32, GDI32,
 * IMM32, COMDLG32 and KERNEL32 that our own window-system layer implements, with the same names,
 * types, constants and calling semantics. */
#ifndef VORLA_PLATFORM_WIN32_H
#define VORLA_PLATFORM_WIN32_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <imm.h>
#include <commdlg.h>
#include <tlhelp32.h>
#include <psapi.h>
#include <process.h>
#include <stdio.h>
#include <GL/gl.h>
/* The C runtime opens system paths as they are; off Windows the layer maps them. */
static inline FILE *SystemFileOpen(const char *path, const char *mode) { return fopen(path, mode); }
#else

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#define VORLA_SYSTEM_API __attribute__((visibility("default")))
#define WINAPI
#define CALLBACK
#define APIENTRY
#define WINUSERAPI VORLA_SYSTEM_API

#ifdef __cplusplus
extern "C" {
#endif

/* ---- basic types ---- */
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef short SHORT;
typedef char CHAR;
typedef uint16_t WCHAR;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef ULONG_PTR SIZE_T;
typedef LONG_PTR LPARAM;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef void VOID;
typedef void *PVOID, *LPVOID, *HANDLE;
typedef const void *LPCVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef WCHAR *LPWSTR;
typedef const WCHAR *LPCWSTR;
typedef BYTE *LPBYTE;
typedef DWORD *LPDWORD;
typedef BOOL *LPBOOL;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;

#define DECLARE_HANDLE(name) \
    struct name##__ {        \
        int unused;          \
    };                       \
    typedef struct name##__ *name
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HIMC);
DECLARE_HANDLE(HPALETTE);
DECLARE_HANDLE(HGLRC);
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef void *HGDIOBJ;
typedef HANDLE HGLOBAL;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) (LOBYTE(c))
#define GetGValue(c) (LOBYTE(((WORD)(c)) >> 8))
#define GetBValue(c) (LOBYTE((c) >> 16))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define CLR_INVALID 0xFFFFFFFF
#define MAX_PATH 260
#define LF_FACESIZE 32

typedef struct tagPOINT {
    LONG x, y;
} POINT, *LPPOINT;
typedef struct tagSIZE {
    LONG cx, cy;
} SIZE, *LPSIZE;
typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT, *LPRECT;
typedef const RECT *LPCRECT;

/* ---- messages ---- */
typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCHITTEST 0x0084
#define WM_NCPAINT 0x0085
#define WM_NCACTIVATE 0x0086
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCRBUTTONDBLCLK 0x00A6
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_IME_STARTCOMPOSITION 0x010D
#define WM_IME_ENDCOMPOSITION 0x010E
#define WM_IME_COMPOSITION 0x010F
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(wp) ((short)HIWORD(wp))
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400

#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2
#define MA_ACTIVATE 1
#define MA_NOACTIVATE 3
#define SC_CLOSE 0xF060

#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTLEFT 10
#define HTRIGHT 11
#define HTTOP 12
#define HTTOPLEFT 13
#define HTTOPRIGHT 14
#define HTBOTTOM 15
#define HTBOTTOMLEFT 16
#define HTBOTTOMRIGHT 17
#define HTBORDER 18
#define HTCLOSE 20

#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

/* ---- classes and windows ---- */
typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy, cx, y, x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA;

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW 0x00CF0000L

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_CLIENTEDGE 0x00000200L

#define CW_USEDEFAULT ((int)0x80000000)

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_SHOWNA 8

#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_USERDATA (-21)

#define GW_OWNER 4

#define HWND_DESKTOP ((HWND)0)

WINUSERAPI ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *);
WINUSERAPI BOOL WINAPI UnregisterClassA(LPCSTR, HINSTANCE);
WINUSERAPI BOOL WINAPI GetClassInfoExA(HINSTANCE, LPCSTR, WNDCLASSEXA *);
WINUSERAPI HWND WINAPI CreateWindowExA(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                                       HINSTANCE, LPVOID);
WINUSERAPI BOOL WINAPI DestroyWindow(HWND);
WINUSERAPI BOOL WINAPI ShowWindow(HWND, int);
WINUSERAPI BOOL WINAPI MoveWindow(HWND, int, int, int, int, BOOL);
WINUSERAPI BOOL WINAPI GetWindowRect(HWND, LPRECT);
WINUSERAPI BOOL WINAPI GetClientRect(HWND, LPRECT);
WINUSERAPI BOOL WINAPI ClientToScreen(HWND, LPPOINT);
WINUSERAPI BOOL WINAPI ScreenToClient(HWND, LPPOINT);
WINUSERAPI BOOL WINAPI AdjustWindowRectEx(LPRECT, DWORD, BOOL, DWORD);
WINUSERAPI BOOL WINAPI IsWindow(HWND);
WINUSERAPI BOOL WINAPI IsWindowVisible(HWND);
WINUSERAPI BOOL WINAPI IsWindowEnabled(HWND);
WINUSERAPI BOOL WINAPI EnableWindow(HWND, BOOL);
WINUSERAPI LONG WINAPI GetWindowLongA(HWND, int);
WINUSERAPI LONG WINAPI SetWindowLongA(HWND, int, LONG);
WINUSERAPI LONG_PTR WINAPI GetWindowLongPtrA(HWND, int);
WINUSERAPI LONG_PTR WINAPI SetWindowLongPtrA(HWND, int, LONG_PTR);
WINUSERAPI HWND WINAPI GetWindow(HWND, UINT);
WINUSERAPI HWND WINAPI GetParent(HWND);
WINUSERAPI BOOL WINAPI SetWindowTextA(HWND, LPCSTR);
WINUSERAPI int WINAPI GetWindowTextA(HWND, LPSTR, int);
WINUSERAPI int WINAPI GetClassNameA(HWND, LPSTR, int);
WINUSERAPI HWND WINAPI WindowFromPoint(POINT);
WINUSERAPI HWND WINAPI GetDesktopWindow(void);

/* activation and focus */
WINUSERAPI HWND WINAPI GetActiveWindow(void);
WINUSERAPI HWND WINAPI SetActiveWindow(HWND);
WINUSERAPI HWND WINAPI GetForegroundWindow(void);
WINUSERAPI BOOL WINAPI SetForegroundWindow(HWND);
WINUSERAPI HWND WINAPI GetFocus(void);
WINUSERAPI HWND WINAPI SetFocus(HWND);

/* message queue */
WINUSERAPI BOOL WINAPI GetMessageA(LPMSG, HWND, UINT, UINT);
WINUSERAPI BOOL WINAPI PeekMessageA(LPMSG, HWND, UINT, UINT, UINT);
WINUSERAPI BOOL WINAPI TranslateMessage(const MSG *);
WINUSERAPI LRESULT WINAPI DispatchMessageA(const MSG *);
WINUSERAPI BOOL WINAPI PostMessageA(HWND, UINT, WPARAM, LPARAM);
WINUSERAPI LRESULT WINAPI SendMessageA(HWND, UINT, WPARAM, LPARAM);
WINUSERAPI void WINAPI PostQuitMessage(int);
WINUSERAPI LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM);
WINUSERAPI LRESULT WINAPI CallWindowProcA(WNDPROC, HWND, UINT, WPARAM, LPARAM);
WINUSERAPI DWORD WINAPI GetMessageTime(void);
WINUSERAPI BOOL WINAPI WaitMessage(void);

/* timers */
WINUSERAPI UINT_PTR WINAPI SetTimer(HWND, UINT_PTR, UINT, TIMERPROC);
WINUSERAPI BOOL WINAPI KillTimer(HWND, UINT_PTR);

/* clipboard: CF_TEXT holds a global memory block of CP932 text ending in a terminator. A block
 * handed to SetClipboardData belongs to the clipboard from then on; GetClipboardData's block stays
 * the clipboard's too. Changing the clipboard needs it opened by the calling thread. */
#define CF_TEXT 1
#define ERROR_INVALID_WINDOW_HANDLE 1400
#define ERROR_CLIPBOARD_NOT_OPEN 1418
WINUSERAPI BOOL WINAPI OpenClipboard(HWND);
WINUSERAPI BOOL WINAPI CloseClipboard(void);
WINUSERAPI BOOL WINAPI EmptyClipboard(void);
WINUSERAPI HANDLE WINAPI SetClipboardData(UINT, HANDLE);
WINUSERAPI HANDLE WINAPI GetClipboardData(UINT);
WINUSERAPI BOOL WINAPI IsClipboardFormatAvailable(UINT);
WINUSERAPI HWND WINAPI GetOpenClipboardWindow(void);
WINUSERAPI HWND WINAPI GetClipboardOwner(void);

/* painting */
typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

WINUSERAPI BOOL WINAPI InvalidateRect(HWND, const RECT *, BOOL);
WINUSERAPI BOOL WINAPI ValidateRect(HWND, const RECT *);
WINUSERAPI BOOL WINAPI GetUpdateRect(HWND, LPRECT, BOOL);
WINUSERAPI BOOL WINAPI UpdateWindow(HWND);
WINUSERAPI HDC WINAPI BeginPaint(HWND, LPPAINTSTRUCT);
WINUSERAPI BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT *);
WINUSERAPI HDC WINAPI GetDC(HWND);
WINUSERAPI int WINAPI ReleaseDC(HWND, HDC);
WINUSERAPI HWND WINAPI WindowFromDC(HDC);

/* pointer */
WINUSERAPI BOOL WINAPI GetCursorPos(LPPOINT);
WINUSERAPI BOOL WINAPI SetCursorPos(int, int);
WINUSERAPI HWND WINAPI SetCapture(HWND);
WINUSERAPI BOOL WINAPI ReleaseCapture(void);
WINUSERAPI HWND WINAPI GetCapture(void);
WINUSERAPI UINT WINAPI GetDoubleClickTime(void);

/* keyboard */
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_F1 0x70
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5

WINUSERAPI SHORT WINAPI GetKeyState(int);
WINUSERAPI SHORT WINAPI GetAsyncKeyState(int);
#define MAPVK_VK_TO_VSC 0
#define MAPVK_VSC_TO_VK 1
#define MAPVK_VK_TO_CHAR 2
WINUSERAPI UINT WINAPI MapVirtualKeyA(UINT, UINT);

/* system metrics and colours */
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXSIZEFRAME SM_CXFRAME
#define SM_CYSIZEFRAME SM_CYFRAME
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CYSMCAPTION 51

#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24

WINUSERAPI int WINAPI GetSystemMetrics(int);
WINUSERAPI DWORD WINAPI GetSysColor(int);

/* message boxes */
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNO 0x00000004L
#define MB_ICONERROR 0x00000010L
#define MB_ICONWARNING 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
WINUSERAPI int WINAPI MessageBoxA(HWND, LPCSTR, LPCSTR, UINT);

/* cursors */
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_HAND MAKEINTRESOURCEA(32649)
WINUSERAPI HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR);
WINUSERAPI HCURSOR WINAPI CreateCursor(HINSTANCE, int, int, int, int, const void *, const void *);
WINUSERAPI BOOL WINAPI DestroyCursor(HCURSOR);

/* images from resources or files */
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x00000000
#define LR_LOADFROMFILE 0x00000010
#define LR_CREATEDIBSECTION 0x00002000
WINUSERAPI HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR, UINT, int, int, UINT);
WINUSERAPI HCURSOR WINAPI SetCursor(HCURSOR);
WINUSERAPI HCURSOR WINAPI GetCursor(void);

/* ---- GDI ---- */
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5
#define PS_USERSTYLE 7
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_COSMETIC 0x00000000
#define PS_TYPE_MASK 0x000F0000

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define TRANSPARENT 1
#define OPAQUE 2

#define R2_BLACK 1
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_COPYPEN 13
#define R2_WHITE 16

#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define PATCOPY 0x00F00021
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

#define ALTERNATE 1
#define WINDING 2

#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800

#define TA_LEFT 0
#define TA_TOP 0
#define TA_UPDATECP 1
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SHIFTJIS_CHARSET 128
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define NONANTIALIASED_QUALITY 3
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1

#define BI_RGB 0
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH;

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN;

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *LPLOGFONTA;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *LPTEXTMETRICA;

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} BITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO;

VORLA_SYSTEM_API HGDIOBJ WINAPI GetStockObject(int);
VORLA_SYSTEM_API HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ);
VORLA_SYSTEM_API BOOL WINAPI DeleteObject(HGDIOBJ);
VORLA_SYSTEM_API int WINAPI GetObjectA(HGDIOBJ, int, LPVOID);
VORLA_SYSTEM_API DWORD WINAPI GetObjectType(HGDIOBJ);
VORLA_SYSTEM_API HGDIOBJ WINAPI GetCurrentObject(HDC, UINT);

VORLA_SYSTEM_API HDC WINAPI CreateCompatibleDC(HDC);
VORLA_SYSTEM_API BOOL WINAPI DeleteDC(HDC);
VORLA_SYSTEM_API int WINAPI SaveDC(HDC);
VORLA_SYSTEM_API BOOL WINAPI RestoreDC(HDC, int);
VORLA_SYSTEM_API int WINAPI GetDeviceCaps(HDC, int);
VORLA_SYSTEM_API BOOL WINAPI GdiFlush(void);

VORLA_SYSTEM_API HPEN WINAPI CreatePen(int, int, COLORREF);
VORLA_SYSTEM_API HPEN WINAPI ExtCreatePen(DWORD, DWORD, const LOGBRUSH *, DWORD, const DWORD *);
VORLA_SYSTEM_API HBRUSH WINAPI CreateSolidBrush(COLORREF);
VORLA_SYSTEM_API HFONT WINAPI CreateFontIndirectA(const LOGFONTA *);
VORLA_SYSTEM_API HFONT WINAPI CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                                          DWORD, LPCSTR);

VORLA_SYSTEM_API COLORREF WINAPI SetTextColor(HDC, COLORREF);
VORLA_SYSTEM_API COLORREF WINAPI GetTextColor(HDC);
VORLA_SYSTEM_API COLORREF WINAPI SetBkColor(HDC, COLORREF);
VORLA_SYSTEM_API COLORREF WINAPI GetBkColor(HDC);
VORLA_SYSTEM_API int WINAPI SetBkMode(HDC, int);
VORLA_SYSTEM_API int WINAPI GetBkMode(HDC);
VORLA_SYSTEM_API int WINAPI SetROP2(HDC, int);
VORLA_SYSTEM_API int WINAPI GetROP2(HDC);
VORLA_SYSTEM_API UINT WINAPI SetTextAlign(HDC, UINT);
VORLA_SYSTEM_API int WINAPI SetPolyFillMode(HDC, int);

VORLA_SYSTEM_API COLORREF WINAPI SetPixel(HDC, int, int, COLORREF);
VORLA_SYSTEM_API COLORREF WINAPI GetPixel(HDC, int, int);
VORLA_SYSTEM_API BOOL WINAPI MoveToEx(HDC, int, int, LPPOINT);
VORLA_SYSTEM_API BOOL WINAPI LineTo(HDC, int, int);
VORLA_SYSTEM_API BOOL WINAPI Rectangle(HDC, int, int, int, int);
VORLA_SYSTEM_API int WINAPI FillRect(HDC, const RECT *, HBRUSH);
VORLA_SYSTEM_API BOOL WINAPI Ellipse(HDC, int, int, int, int);
VORLA_SYSTEM_API BOOL WINAPI RoundRect(HDC, int, int, int, int, int, int);
VORLA_SYSTEM_API BOOL WINAPI Arc(HDC, int, int, int, int, int, int, int, int);
VORLA_SYSTEM_API BOOL WINAPI Polygon(HDC, const POINT *, int);
VORLA_SYSTEM_API BOOL WINAPI Polyline(HDC, const POINT *, int);
VORLA_SYSTEM_API BOOL WINAPI PolyBezier(HDC, const POINT *, DWORD);
VORLA_SYSTEM_API BOOL WINAPI PatBlt(HDC, int, int, int, int, DWORD);

VORLA_SYSTEM_API HBITMAP WINAPI CreateCompatibleBitmap(HDC, int, int);
VORLA_SYSTEM_API HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO *, UINT, void **, HANDLE, DWORD);
VORLA_SYSTEM_API HBITMAP WINAPI CreateBitmap(int, int, UINT, UINT, const void *);
VORLA_SYSTEM_API BOOL WINAPI BitBlt(HDC, int, int, int, int, HDC, int, int, DWORD);
VORLA_SYSTEM_API BOOL WINAPI StretchBlt(HDC, int, int, int, int, HDC, int, int, int, int, DWORD);

VORLA_SYSTEM_API HRGN WINAPI CreateRectRgn(int, int, int, int);
VORLA_SYSTEM_API HRGN WINAPI CreateRectRgnIndirect(const RECT *);
VORLA_SYSTEM_API int WINAPI CombineRgn(HRGN, HRGN, HRGN, int);
VORLA_SYSTEM_API int WINAPI GetRgnBox(HRGN, LPRECT);
VORLA_SYSTEM_API BOOL WINAPI PtInRegion(HRGN, int, int);
VORLA_SYSTEM_API int WINAPI SelectClipRgn(HDC, HRGN);
VORLA_SYSTEM_API int WINAPI IntersectClipRect(HDC, int, int, int, int);
VORLA_SYSTEM_API int WINAPI GetClipBox(HDC, LPRECT);

VORLA_SYSTEM_API BOOL WINAPI TextOutA(HDC, int, int, LPCSTR, int);
VORLA_SYSTEM_API BOOL WINAPI GetTextExtentPoint32A(HDC, LPCSTR, int, LPSIZE);
VORLA_SYSTEM_API BOOL WINAPI GetTextMetricsA(HDC, LPTEXTMETRICA);
VORLA_SYSTEM_API int WINAPI DrawTextA(HDC, LPCSTR, int, LPRECT, UINT);

/* rectangles */
WINUSERAPI BOOL WINAPI SetRect(LPRECT, int, int, int, int);
WINUSERAPI BOOL WINAPI SetRectEmpty(LPRECT);
WINUSERAPI BOOL WINAPI IsRectEmpty(const RECT *);
WINUSERAPI BOOL WINAPI PtInRect(const RECT *, POINT);
WINUSERAPI BOOL WINAPI IntersectRect(LPRECT, const RECT *, const RECT *);
WINUSERAPI BOOL WINAPI UnionRect(LPRECT, const RECT *, const RECT *);
WINUSERAPI BOOL WINAPI OffsetRect(LPRECT, int, int);
WINUSERAPI BOOL WINAPI InflateRect(LPRECT, int, int);
WINUSERAPI BOOL WINAPI EqualRect(const RECT *, const RECT *);

/* ---- OpenGL on windows (WGL) ----
 * Contexts render off screen and SwapBuffers copies the back buffer into the window. The GL calls
 * an application makes come from the system's GL library; glFlush is declared here because the
 * library calls it itself (it is not exported, so the application's glFlush stays the system's). */
typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR, *PPIXELFORMATDESCRIPTOR, *LPPIXELFORMATDESCRIPTOR;
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_STEREO 0x00000002
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_DRAW_TO_BITMAP 0x00000008
#define PFD_SUPPORT_GDI 0x00000010
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_GENERIC_ACCELERATED 0x00001000
#define PFD_DEPTH_DONTCARE 0x20000000
#define PFD_DOUBLEBUFFER_DONTCARE 0x40000000
#define PFD_STEREO_DONTCARE 0x80000000
#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0
#define ERROR_INVALID_PIXEL_FORMAT 2000
typedef void (*PROC)(void);
VORLA_SYSTEM_API int WINAPI ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR *);
VORLA_SYSTEM_API BOOL WINAPI SetPixelFormat(HDC, int, const PIXELFORMATDESCRIPTOR *);
VORLA_SYSTEM_API int WINAPI GetPixelFormat(HDC);
VORLA_SYSTEM_API int WINAPI DescribePixelFormat(HDC, int, UINT, LPPIXELFORMATDESCRIPTOR);
VORLA_SYSTEM_API BOOL WINAPI SwapBuffers(HDC);
VORLA_SYSTEM_API HGLRC WINAPI wglCreateContext(HDC);
VORLA_SYSTEM_API BOOL WINAPI wglDeleteContext(HGLRC);
VORLA_SYSTEM_API BOOL WINAPI wglMakeCurrent(HDC, HGLRC);
VORLA_SYSTEM_API HGLRC WINAPI wglGetCurrentContext(void);
VORLA_SYSTEM_API HDC WINAPI wglGetCurrentDC(void);
VORLA_SYSTEM_API PROC WINAPI wglGetProcAddress(LPCSTR);
void APIENTRY glFlush(void);

/* ---- input method ---- */
#define CFS_DEFAULT 0x0000
#define CFS_RECT 0x0001
#define CFS_POINT 0x0002
#define GCS_COMPSTR 0x0008
#define GCS_RESULTSTR 0x0800

typedef struct tagCOMPOSITIONFORM {
    DWORD dwStyle;
    POINT ptCurrentPos;
    RECT rcArea;
} COMPOSITIONFORM, *LPCOMPOSITIONFORM;

VORLA_SYSTEM_API HIMC WINAPI ImmCreateContext(void);
VORLA_SYSTEM_API BOOL WINAPI ImmDestroyContext(HIMC);
VORLA_SYSTEM_API HIMC WINAPI ImmAssociateContext(HWND, HIMC);
VORLA_SYSTEM_API HIMC WINAPI ImmGetContext(HWND);
VORLA_SYSTEM_API BOOL WINAPI ImmReleaseContext(HWND, HIMC);
VORLA_SYSTEM_API BOOL WINAPI ImmSetCompositionFontA(HIMC, LPLOGFONTA);
VORLA_SYSTEM_API BOOL WINAPI ImmGetCompositionFontA(HIMC, LPLOGFONTA);
VORLA_SYSTEM_API BOOL WINAPI ImmSetCompositionWindow(HIMC, LPCOMPOSITIONFORM);
VORLA_SYSTEM_API BOOL WINAPI ImmGetCompositionWindow(HIMC, LPCOMPOSITIONFORM);
VORLA_SYSTEM_API BOOL WINAPI ImmGetOpenStatus(HIMC);
VORLA_SYSTEM_API BOOL WINAPI ImmSetOpenStatus(HIMC, BOOL);
VORLA_SYSTEM_API LONG WINAPI ImmGetCompositionStringA(HIMC, DWORD, LPVOID, DWORD);

/* ---- kernel ---- */
typedef struct _RTL_CRITICAL_SECTION {
    void *Lock; /* owned by the layer between Initialize and Delete */
    LONG LockCount;
    LONG RecursionCount;
    HANDLE OwningThread;
    HANDLE LockSemaphore;
    ULONG_PTR SpinCount;
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

VORLA_SYSTEM_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION);
VORLA_SYSTEM_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION);
VORLA_SYSTEM_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION);
VORLA_SYSTEM_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION);
VORLA_SYSTEM_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION);

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
} OSVERSIONINFOA, *LPOSVERSIONINFOA;
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

VORLA_SYSTEM_API BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA);
VORLA_SYSTEM_API DWORD WINAPI GetTickCount(void);
VORLA_SYSTEM_API void WINAPI Sleep(DWORD);
VORLA_SYSTEM_API DWORD WINAPI GetCurrentThreadId(void);
VORLA_SYSTEM_API DWORD WINAPI GetLastError(void);
VORLA_SYSTEM_API void WINAPI SetLastError(DWORD);
VORLA_SYSTEM_API BOOL WINAPI DisableThreadLibraryCalls(HMODULE);
VORLA_SYSTEM_API HMODULE WINAPI GetModuleHandleA(LPCSTR);

/* ---- only here: how a program supplies what Windows keeps in resource sections ----
 * A module's bitmap resource <id> is read from <base>/<module>/<id>.bmp, where <base> is the
 * program's folder or VORLA_RESOURCE_DIR and <module> the module's name in lower case without
 * ".dll" or ".exe" (a null module: the program's own name). Bytes registered here (a .bmp file
 * or a packed DIB) come first. VorlaRegisterModule makes a named module known to
 * GetModuleHandleA without a folder. */
VORLA_SYSTEM_API HMODULE WINAPI VorlaRegisterModule(LPCSTR);
VORLA_SYSTEM_API BOOL WINAPI VorlaRegisterBitmapResource(HMODULE, int, const void *, size_t);

/* ---- code pages ---- */
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_ERR_INVALID_CHARS 0x00000080
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_NOT_SUPPORTED 50
#define ERROR_BUSY 170
#define ERROR_BAD_LENGTH 24
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_MOD_NOT_FOUND 126
#define ERROR_PROC_NOT_FOUND 127
#define ERROR_NO_MORE_FILES 18
#define ERROR_INVALID_FLAGS 1004
#define ERROR_NO_UNICODE_TRANSLATION 1113
VORLA_SYSTEM_API int WINAPI MultiByteToWideChar(UINT, DWORD, LPCSTR, int, LPWSTR, int);
VORLA_SYSTEM_API int WINAPI WideCharToMultiByte(UINT, DWORD, LPCWSTR, int, LPSTR, int, LPCSTR, LPBOOL);

/* ---- memory status, times ---- */
typedef struct _MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    SIZE_T dwTotalPhys;
    SIZE_T dwAvailPhys;
    SIZE_T dwTotalPageFile;
    SIZE_T dwAvailPageFile;
    SIZE_T dwTotalVirtual;
    SIZE_T dwAvailVirtual;
} MEMORYSTATUS, *LPMEMORYSTATUS;
VORLA_SYSTEM_API void WINAPI GlobalMemoryStatus(LPMEMORYSTATUS);

/* global memory: movable blocks are reached through GlobalLock; fixed ones are their own address */
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_DDESHARE 0x2000
#define GMEM_SHARE 0x2000
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define ERROR_DISCARDED 157
#define ERROR_NOT_LOCKED 158
VORLA_SYSTEM_API HGLOBAL WINAPI GlobalAlloc(UINT, SIZE_T);
VORLA_SYSTEM_API LPVOID WINAPI GlobalLock(HGLOBAL);
VORLA_SYSTEM_API BOOL WINAPI GlobalUnlock(HGLOBAL);
VORLA_SYSTEM_API SIZE_T WINAPI GlobalSize(HGLOBAL);
VORLA_SYSTEM_API HGLOBAL WINAPI GlobalFree(HGLOBAL);
VORLA_SYSTEM_API HGLOBAL WINAPI GlobalHandle(LPCVOID);

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *LPFILETIME;
typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;
VORLA_SYSTEM_API void WINAPI GetLocalTime(LPSYSTEMTIME);
VORLA_SYSTEM_API void WINAPI GetSystemTime(LPSYSTEMTIME);
VORLA_SYSTEM_API BOOL WINAPI FileTimeToLocalFileTime(const FILETIME *, LPFILETIME);
VORLA_SYSTEM_API BOOL WINAPI FileTimeToSystemTime(const FILETIME *, LPSYSTEMTIME);

/* ---- modules loaded at run time (built-in tables: "psapi.dll", "kernel32.dll") ---- */
typedef INT_PTR(WINAPI *FARPROC)(void);
VORLA_SYSTEM_API HMODULE WINAPI LoadLibraryA(LPCSTR);
VORLA_SYSTEM_API BOOL WINAPI FreeLibrary(HMODULE);
VORLA_SYSTEM_API FARPROC WINAPI GetProcAddress(HMODULE, LPCSTR);

/* ---- processes (from /proc) ---- */
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_VM_READ 0x0010
#define TH32CS_SNAPPROCESS 0x00000002
VORLA_SYSTEM_API HANDLE WINAPI OpenProcess(DWORD, BOOL, DWORD);
VORLA_SYSTEM_API BOOL WINAPI CloseHandle(HANDLE);
VORLA_SYSTEM_API DWORD WINAPI GetCurrentProcessId(void);
VORLA_SYSTEM_API BOOL WINAPI GetProcessTimes(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);

typedef struct _PROCESS_MEMORY_COUNTERS {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;
    SIZE_T PeakPagefileUsage;
} PROCESS_MEMORY_COUNTERS, *PPROCESS_MEMORY_COUNTERS;
VORLA_SYSTEM_API BOOL WINAPI EnumProcesses(DWORD *, DWORD, LPDWORD);
VORLA_SYSTEM_API BOOL WINAPI EnumProcessModules(HANDLE, HMODULE *, DWORD, LPDWORD);
VORLA_SYSTEM_API DWORD WINAPI GetModuleBaseNameA(HANDLE, HMODULE, LPSTR, DWORD);
VORLA_SYSTEM_API BOOL WINAPI GetProcessMemoryInfo(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);

typedef struct tagPROCESSENTRY32 {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];
} PROCESSENTRY32, *LPPROCESSENTRY32;
VORLA_SYSTEM_API HANDLE WINAPI CreateToolhelp32Snapshot(DWORD, DWORD);
VORLA_SYSTEM_API BOOL WINAPI Process32First(HANDLE, LPPROCESSENTRY32);
VORLA_SYSTEM_API BOOL WINAPI Process32Next(HANDLE, LPPROCESSENTRY32);

/* ---- C runtime: threads; files by system path ---- */
VORLA_SYSTEM_API uintptr_t _beginthread(void (*)(void *), unsigned, void *);
/* Opens a file named in the system's form (backslashes); the layer maps it to the native path. */
VORLA_SYSTEM_API FILE *SystemFileOpen(const char *, const char *);

/* ---- common dialogs ---- */
typedef UINT_PTR(CALLBACK *LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void *pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;
#define OPENFILENAME_SIZE_VERSION_400A (offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR))
#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_NONETWORKBUTTON 0x00020000
#define OFN_EXPLORER 0x00080000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003
VORLA_SYSTEM_API BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA);
VORLA_SYSTEM_API BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA);
VORLA_SYSTEM_API DWORD WINAPI CommDlgExtendedError(void);

#ifdef __cplusplus
}
#endif

#endif /* _WIN32 */
#endif /* VORLA_PLATFORM_WIN32_H */
