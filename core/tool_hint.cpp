// VLToolHint: the popup's lifetime, showing and hiding, and its painting.
#include "tool_hint.h"

#include "../draw/gothic_font.h"

#include <climits>
#include <cstring>

namespace {

const char HintClassName[] = "VorlaToolHintClass";
constexpr int TextCapacity = 512;


// The hint whose popup paints when any hint popup is asked to paint.
VLToolHint *currentHint = nullptr;

int ClampToInt(long long value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

COLORREF ToSystemColour(unsigned int colour)
{
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}


} // namespace

VLToolHint::VLToolHint()
    : owner(nullptr), ownerHandle(nullptr), instance(nullptr), popup(nullptr), font(nullptr),
      text(new char[TextCapacity]()), textColour(0xFF000000u), backgroundColour(0xFFFFFFC0u),
      fontSize(-1), shown(0), restTicks(0), lastX(-1), lastY(-1)
{
}

VLToolHint::~VLToolHint()
{
    Destroy();
}

void VLToolHint::Destroy()
{
    delete[] text;
    text = nullptr;
    if (font)
        DeleteObject(font);
    font = nullptr;
    if (popup)
        DestroyWindow(popup);
    popup = nullptr;
    if (instance)
        UnregisterClassA(HintClassName, instance);
    if (currentHint == this)
        currentHint = nullptr;
}

int VLToolHint::CreatePopup(VLWindow *ownerWindow, HWND ownerWindowHandle, HINSTANCE instanceHandle)
{
    owner = ownerWindow;
    ownerHandle = ownerWindowHandle;
    instance = instanceHandle;
    if (popup) {
        ::ShowWindow(popup, SW_HIDE);
        DestroyWindow(popup);
        popup = nullptr;
        shown = 0;
    }
    if (instance)
        UnregisterClassA(HintClassName, instance);
    currentHint = this;

    // Other windows' popups may still hold the class: registering again then fails harmlessly.
    WNDCLASSEXA description;
    std::memset(&description, 0, sizeof description);
    description.cbSize = sizeof description;
    description.style = CS_HREDRAW | CS_VREDRAW;
    description.lpfnWndProc = PopupProcedure;
    description.hInstance = instance;
    description.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    description.lpszClassName = HintClassName;
    RegisterClassExA(&description);

    popup = CreateWindowExA(WS_EX_TOPMOST, HintClassName, nullptr, WS_POPUP | WS_BORDER | WS_SYSMENU,
                            CW_USEDEFAULT, 100, CW_USEDEFAULT, 100, ownerHandle, nullptr, instance,
                            nullptr);
    if (!popup)
        return 0;
    std::strcpy(text, "    ");
    fontSize = 12;
    // Measuring needs the font that the size stands for.
    if (!font)
        font = CreateGothicFont(fontSize);
    ::ShowWindow(popup, SW_HIDE);
    ::UpdateWindow(popup);
    shown = 0;
    return 1;
}

void VLToolHint::Show(int flag)
{
    if (flag == 0)
        restTicks = 0;
    else if (restTicks < 10)
        return;
    const int wanted = flag ? 1 : 0;
    if (shown == wanted || !popup)
        return;
    currentHint = this;
    shown = wanted;
    ::ShowWindow(popup, wanted ? SW_SHOWNA : SW_HIDE);
    if (wanted)
        Refresh();
}

void VLToolHint::Refresh()
{
    if (!shown)
        return;
    currentHint = this;
    if (popup)
        InvalidateRect(popup, nullptr, TRUE);
}

void VLToolHint::SetText(const char *newText)
{
    if (!newText || !text || std::strlen(newText) >= 510)
        return;
    if (shown && std::strcmp(newText, text) != 0)
        Show(0);
    std::strcpy(text, newText);
}

void VLToolHint::SetFontSize(int size)
{
    if (size < 4)
        size = 4;
    if (size == fontSize && font)
        return;
    if (font)
        DeleteObject(font);
    font = CreateGothicFont(size);
    fontSize = font ? size : 0;
}

bool VLToolHint::Measure(int &width, int &height)
{
    if (!text || !*text || fontSize < 1 || !font)
        return false;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    HGDIOBJ previous = SelectObject(screen, font);
    int widest = 0, lines = 1;
    const char *start = text;
    for (const char *p = text;; ++p) {
        if (*p == '\r' || *p == '\n' || *p == '\0') {
            SIZE extent = {0, 0};
            if (p > start)
                GetTextExtentPoint32A(screen, start, static_cast<int>(p - start), &extent);
            if (extent.cx > widest)
                widest = extent.cx;
            if (*p == '\0')
                break;
            ++lines; // CR and LF each break the line, so CR LF leaves an empty line between
            start = p + 1;
        }
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    // A huge font or text gives a size the window system refuses, never a wrapped-around one.
    width = ClampToInt(static_cast<long long>(widest) + 10);
    height = ClampToInt(static_cast<long long>(fontSize) * lines + 10);
    return true;
}

void VLToolHint::Move(int x, int y)
{
    if (shown)
        return;
    lastX = x;
    lastY = y;
    int width = 0, height = 0;
    if (!Measure(width, height) || !popup)
        return;
    RECT outer;
    if (!GetWindowRect(ownerHandle, &outer))
        return;
    const long long top = static_cast<long long>(outer.top) + GetSystemMetrics(SM_CYBORDER) +
                          GetSystemMetrics(SM_CYCAPTION) + y;
    MoveWindow(popup, ClampToInt(static_cast<long long>(outer.left) + x), ClampToInt(top), width, height, TRUE);
    Refresh();
}

int VLToolHint::Tick()
{
    if (restTicks < 1000)
        ++restTicks;
    return restTicks;
}

LRESULT CALLBACK VLToolHint::PopupProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC context = ::BeginPaint(window, &paint);
        if (context && currentHint) {
            SelectClipRgn(context, nullptr);
            RECT client;
            GetClientRect(window, &client);
            HBRUSH brush = CreateSolidBrush(ToSystemColour(currentHint->backgroundColour));
            if (brush) {
                FillRect(context, &client, brush);
                DeleteObject(brush);
            }
            const char *hintText = currentHint->text;
            if (hintText && *hintText) {
                HGDIOBJ previous = SelectObject(context, currentHint->font);
                SetBkMode(context, TRANSPARENT);
                SetTextColor(context, ToSystemColour(currentHint->textColour));
                RECT inside = {client.left + 4, client.top + 4, client.right - 4, client.bottom - 4};
                DrawTextA(context, hintText, -1, &inside, DT_VCENTER);
                if (previous)
                    SelectObject(context, previous);
            }
        }
        ::EndPaint(window, &paint);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
