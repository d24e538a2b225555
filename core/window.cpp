// VLWindow: creation in a slot, showing, the modal loop, painting contexts and teardown.
#include "vorla/VLWindow.h"

#include "vorla/VLCursor.h"
#include "../draw/gothic_font.h"
#include "../draw/surface_access.h"
#include "ime_context.h"
#include "keys.h"
#include "life_guard.h"
#include "links.h"
#include "library.h"
#include "tool_hint.h"
#include "window_internals.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int TitleCapacity = 128;


void CopyTitle(char *buffer, const char *title)
{
    buffer[0] = '\0';
    if (title) {
        std::strncpy(buffer, title, TitleCapacity - 1);
        buffer[TitleCapacity - 1] = '\0';
    }
}

// Messages for other windows that a modal dialog swallows: clicks and activation.
bool SwallowedWhileModal(UINT message)
{
    switch (message) {
    case WM_NCHITTEST:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
    case WM_ACTIVATEAPP:
        return true;
    default:
        return false;
    }
}

} // namespace

VLWindow::VLWindow()
{
    if (!Library().initialised)
        ResetLibraryState();
    Initialise();
}

VLWindow::~VLWindow()
{
    // Deleted by a callback of its own destruction report while Teardown runs: that Teardown
    // stops touching the object, this one releases the rest.
    LifeGuard::Destroy(this);
    Teardown();
    CutLinksTo(this); // widgets removed earlier still name this window
}

void VLWindow::Initialise()
{
    title = new char[TitleCapacity]();
    identifier = -1;
    flags = 0;
    backgroundColour = 0xFFC0C0C0u;
    clientWidth = 0;
    clientHeight = 0;
    alive = 0;
    children = nullptr;
    handle = nullptr;
    context = nullptr;
    imeContext = nullptr;
    compositionX = 0;
    compositionY = 0;
    caretRefreshPending = 0;
    inPaint = 0;
    cursor = new VLCursor;
    cursorShape = 0;
    owner = nullptr;
    std::memset(&windowClass, 0, sizeof windowClass);
    mouseX = -1;
    mouseY = -1;
    leftDown = 0;
    rightDown = 0;
    middleDown = 0;
    holdTicks = 0;
    dropDownOpen = 0;
    dropDownLeft = 0;
    dropDownTop = 0;
    dropDownRight = 0;
    dropDownBottom = 0;
    dropDownOwner = nullptr;
    focusedType = 0;
    focusedWidget = nullptr;
    tickCounter = 0;
    toolHint = new VLToolHint;
    keyCallback = nullptr;
    mouseCallback = nullptr;
    windowCallback = nullptr;
    timerCallback = nullptr;
    paintDepth = 0;
    tearingDown = 0;
}

// Releases everything the window owns. Each resource is taken out of its field before it is
// freed, so a callback that runs inside (the destruction report) finds nothing to free twice.
// Returns false when that callback deleted the window object: it must not be touched then.
bool VLWindow::Teardown()
{
    LifeGuard::End(this); // routing and handling in progress on this window stop
    const int outerTearingDown = tearingDown;
    tearingDown = 1;
    VLCursor *ownCursor = cursor;
    cursor = nullptr;
    delete ownCursor;
    VLToolHint *hint = toolHint;
    toolHint = nullptr;
    delete hint;
    WindowInternals::ReleaseChildren(*this);
    VLImeContext *ime = imeContext;
    imeContext = nullptr;
    delete ime;
    if (handle) {
        const HWND own = handle;
        if (context && !inPaint)
            ReleaseDC(own, context);
        context = nullptr;
        paintDepth = 0;
        SurfaceAccess::SetTarget(*this, nullptr);
        const int slot = SlotOfWindow(this);
        if (slot >= 0) {
            if (Library().slots[slot].alive) {
                LifeGuard self(this);
                DestroyWindow(own);
                if (self.Destroyed())
                    return false;
                // Widgets the destruction report added are let go as well.
                WindowInternals::ReleaseChildren(*this);
            }
            if (Library().slots[slot].handle == own) {
                UnregisterClassA(SlotClassName(slot), Library().instance);
                ZeroSlot(slot);
            }
        }
        handle = nullptr;
    }
    char *ownTitle = title;
    title = nullptr;
    delete[] ownTitle;
    tearingDown = outerTearingDown;
    return true;
}

void VLWindow::Clear()
{
    // Inside the window's own teardown (a callback of its destruction report) the teardown in
    // progress finishes the work; clearing again would initialise twice and leak the first.
    if (tearingDown) {
        // The widgets the report added go now all the same, so that a caller may rely on them
        // being out of the window.
        LifeGuard::End(this);
        WindowInternals::ReleaseChildren(*this);
        return;
    }
    if (Teardown())
        Initialise();
}

int VLWindow::CreateNewWindow(const char *text, int x, int y, int width, int height, int creationFlags)
{
    // Not while the window is being torn down: the teardown would release the new window.
    if (tearingDown) {
        Clear();
        return -1;
    }
    {
        // The old window's destruction report may delete this object.
        LifeGuard self(this);
        Clear();
        if (self.Destroyed())
            return -1;
    }
    if (width == 0 || height == 0)
        return -1;
    // Nothing may be created before VorlaInitialize or after VorlaTerminate: no lock guards it.
    if (!LibraryRunning())
        return -1;
    LibraryState &library = Library();

    // Release slots whose windows are gone.
    for (int index = 0; index < SlotCount; ++index) {
        WindowSlot &entry = library.slots[index];
        if (!entry.handle || (entry.window != this && entry.alive))
            continue;
        if (entry.alive)
            ::ShowWindow(entry.handle, SW_HIDE);
        UnregisterClassA(SlotClassName(index), library.instance);
        ZeroSlot(index);
    }

    int slot = 0;
    while (slot < SlotCount && library.slots[slot].handle)
        ++slot;
    if (slot == SlotCount)
        return -1;

    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = SlotProcedure(slot);
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = library.instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = SlotClassName(slot);
    windowClass.hIconSm = nullptr;
    RegisterClassExA(&windowClass);

    const bool dialog = (creationFlags & 4) != 0;
    const bool tool = (creationFlags & 2) != 0;
    owner = dialog ? GetActiveWindow() : library.owner;
    flags = creationFlags;

    const DWORD resizable = WS_THICKFRAME | WS_MINIMIZEBOX;
    DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
    if (!dialog && (creationFlags & 1))
        style |= resizable;
    const DWORD extendedStyle = tool ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME;

    // The creation report must find this window in the slot.
    identifier = FirstWindowIdentifier + slot;
    library.slots[slot] = WindowSlot{nullptr, this, 1, 1, 0};

    const int caption = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    // Sizes near the int limits must not wrap around into small windows: the window system
    // refuses what passes the int range.
    const auto toInt = [](long long value) {
        return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    };
    const int outerWidth = toInt(static_cast<long long>(width) +
                                 2LL * (GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXBORDER)));
    const int outerHeight = toInt(static_cast<long long>(height) + caption + GetSystemMetrics(SM_CYBORDER) +
                                  2LL * GetSystemMetrics(SM_CYEDGE));

    char shortTitle[TitleCapacity];
    CopyTitle(shortTitle, text);
    HWND created = CreateWindowExA(extendedStyle, SlotClassName(slot), shortTitle, style, x, y,
                                   outerWidth, outerHeight, owner, nullptr, library.instance, nullptr);

    identifier = -1;
    ZeroSlot(slot);
    if (!created) {
        alive = 0;
        UnregisterClassA(SlotClassName(slot), library.instance);
        return -1;
    }

    delete imeContext;
    imeContext = new VLImeContext(created);
    imeContext->SetCompositionFont(GothicFace, 12);
    imeContext->PlaceCompositionWindow(0, 0);

    ::ShowWindow(created, SW_HIDE);
    SetTimer(created, static_cast<UINT_PTR>(slot), 100, nullptr);

    tickCounter = 0;
    handle = created;
    library.slots[slot] = WindowSlot{created, this, 1, 1, 0};
    identifier = FirstWindowIdentifier + slot;

    if (toolHint)
        toolHint->CreatePopup(this, created, library.instance);

    clientWidth = width;
    clientHeight = height;
    CopyTitle(title, text);
    return identifier;
}

int VLWindow::CreateNewDialog(const char *text, int x, int y, int width, int height)
{
    return CreateNewWindow(text, x, y, width, height, 4);
}

int VLWindow::ShowWindow(int show)
{
    if ((flags & 4) || !handle)
        return 0;
    if (show) {
        // Showing activates, and the activation reports may end this window.
        const HWND own = handle;
        LifeGuard self(this);
        ::ShowWindow(own, SW_SHOW);
        if (!self.Ended() && GetActiveWindow() != own)
            SetActiveWindow(own);
    } else {
        ::ShowWindow(handle, SW_HIDE);
    }
    return 1;
}

int VLWindow::DoModal()
{
    // Without a handle (still inside creation) nothing may be blocked: the loop would never run.
    if (identifier < FirstWindowIdentifier || !(flags & 4) || !handle)
        return 0;
    LibraryState &library = Library();
    const int slot = identifier - FirstWindowIdentifier;
    const HWND dialog = handle;

    // What this dialog takes away it gives back, and nothing more: an outer dialog's loop may
    // still be blocking some windows when this one ends.
    HWND blockedHandle[SlotCount];
    int blockedInput[SlotCount];
    for (int index = 0; index < SlotCount; ++index) {
        WindowSlot &entry = library.slots[index];
        blockedHandle[index] = entry.handle;
        blockedInput[index] = entry.inputEnabled;
        entry.inputEnabled = 0;
        if (entry.window || entry.alive) {
            if (entry.window) {
                WindowInternals::HideHint(*entry.window);
                WindowInternals::ClearAllFocus(*entry.window);
            }
        }
    }
    library.slots[slot].inputEnabled = 1;
    library.slots[slot].modal = 1;
    tickCounter = 0;
    library.modalEndRequest = 0;

    const HWND previouslyActive = GetActiveWindow();
    ::ShowWindow(dialog, SW_SHOW);
    if (GetActiveWindow() != dialog)
        SetActiveWindow(dialog);
    ::UpdateWindow(dialog);

    const int outerModalSlot = library.modalSlot;
    library.modalSlot = slot;

    bool quit = false;
    WPARAM quitCode = 0;
    while (library.slots[slot].alive && library.slots[slot].window == this) {
        library.slots[slot].inputEnabled = 1;
        // Checked before waiting, so that no message is taken and then dropped.
        if (library.modalEndRequest)
            break;
        MSG message = {};
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            quitCode = message.wParam;
            break;
        }
        if (message.hwnd != dialog && library.modalSlot == slot) {
            if (!SwallowedWhileModal(message.message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (GetActiveWindow() != dialog && library.slots[slot].alive)
                SetActiveWindow(dialog);
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    library.modalSlot = outerModalSlot;

    if (library.slots[slot].window == this && library.slots[slot].handle == dialog) {
        // Ended by a quit message: the dialog would otherwise live on outside any slot.
        if (library.slots[slot].alive)
            DestroyWindow(dialog);
        UnregisterClassA(SlotClassName(slot), library.instance);
        library.slots[slot].handle = nullptr;
        library.slots[slot].window = nullptr;
        library.slots[slot].alive = 0;
        library.slots[slot].modal = 0;
    }

    for (int index = 0; index < SlotCount; ++index) {
        WindowSlot &entry = library.slots[index];
        if (entry.handle && entry.handle == blockedHandle[index])
            entry.inputEnabled = outerModalSlot < 0 ? 1 : blockedInput[index];
    }
    library.modalEndRequest = 0;
    if (previouslyActive && IsWindow(previouslyActive))
        SetActiveWindow(previouslyActive);
    // The quit message belongs to the outer loop as well: hand it on.
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return 1;
}

void VLWindow::CloseWindow()
{
    if (handle && alive)
        DestroyWindow(handle);
}

int VLWindow::GetWinID()
{
    return identifier;
}

int VLWindow::IsVisible()
{
    return alive;
}

void VLWindow::SetBackgroundColor(unsigned long colour)
{
    backgroundColour = static_cast<unsigned int>(colour & 0xFFFFFFFFu);
}

unsigned long VLWindow::GetBackgroundColor()
{
    return backgroundColour;
}

void VLWindow::UpdateWindow()
{
    if (handle)
        InvalidateRect(handle, nullptr, FALSE);
}

void VLWindow::UpdateWindowRect(int left, int top, int right, int bottom)
{
    if (!handle)
        return;
    RECT area = {left < 0 ? 0 : left, top < 0 ? 0 : top, right > clientWidth ? clientWidth : right,
                 bottom > clientHeight ? clientHeight : bottom};
    InvalidateRect(handle, &area, FALSE);
}

void VLWindow::BeginPaint()
{
    if (inPaint || !handle)
        return;
    // Nested calls keep the outer context, and with it any clip region set on it.
    if (paintDepth > 0 && context) {
        ++paintDepth;
        return;
    }
    if (context)
        ReleaseDC(handle, context);
    context = GetDC(handle);
    paintDepth = context ? 1 : 0;
    SurfaceAccess::SetTarget(*this, context);
}

void VLWindow::EndPaint()
{
    if (inPaint || !handle || !context)
        return;
    if (paintDepth > 1) {
        --paintDepth;
        return;
    }
    ReleaseDC(handle, context);
    context = nullptr;
    paintDepth = 0;
    SurfaceAccess::SetTarget(*this, nullptr);
}

void VLWindow::MessageBoxA(const char *caption, const char *text)
{
    if (!caption || !text || !handle)
        return;
    ::MessageBoxA(handle, text, caption, 0);
}

VLSTPosition VLWindow::GetMousePosition()
{
    POINT point = {0, 0};
    if (!GetCursorPos(&point))
        point.x = point.y = 0;
    return VLSTPosition{static_cast<int>(point.x), static_cast<int>(point.y)};
}

VLSTPosition VLWindow::GetWindowPosition()
{
    VLSTWindowEvent rectangle = {};
    if (alive && WindowInternals::WindowRectangle(*this, rectangle))
        return VLSTPosition{rectangle.x, rectangle.y};
    return VLSTPosition{0, 0};
}

int VLWindow::CreateCursor(unsigned char *image, unsigned char *mask, int hotX, int hotY)
{
    return cursor ? cursor->CreateCursor(image, mask, hotX, hotY) : 0;
}

int VLWindow::SetCursor(int shape)
{
    if (!cursor)
        return 0;
    cursorShape = shape;
    return 1;
}

int VLWindow::GetCursor()
{
    return cursor ? cursorShape : 0;
}

int VLWindow::GetKeyState(int key)
{
    int virtualKey = VirtualKeyOfKeyCode(key);
    if (virtualKey == 0)
        virtualKey = (key >= 'a' && key <= 'z') ? key - 'a' + 'A' : key;
    if (virtualKey < 0 || virtualKey > 0xFF)
        return 0;
    return (::GetKeyState(virtualKey) & 0x8000) ? 1 : 0;
}

int VLWindow::AttachKeyEvent(KeyCallback callback)
{
    if (!callback)
        return 0;
    keyCallback = callback;
    return 1;
}

void VLWindow::DetachKeyEvent()
{
    keyCallback = nullptr;
}

int VLWindow::AttachMouseEvent(MouseCallback callback)
{
    if (!callback)
        return 0;
    mouseCallback = callback;
    return 1;
}

void VLWindow::DetachMouseEvent()
{
    mouseCallback = nullptr;
}

int VLWindow::AttachWindowEvent(WindowCallback callback)
{
    if (!callback)
        return 0;
    windowCallback = callback;
    UpdateWindow();
    return 1;
}

void VLWindow::DetachWindowEvent()
{
    windowCallback = nullptr;
}

int VLWindow::AttachTimerEvent(TimerCallback callback)
{
    if (!callback)
        return 0;
    timerCallback = callback;
    return 1;
}

void VLWindow::DetachTimerEvent()
{
    timerCallback = nullptr;
}
