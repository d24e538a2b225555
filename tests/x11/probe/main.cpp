// A window for the X server tests: it draws a fixed picture and prints every key, mouse and
// window event it receives on stdout, one line each, so a test can drive it with real input.
#include <vorla/VorlaLib.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

VLWindow probe;
VLWindow other;
VLEditBox edit;

void Picture(VLWindow *window)
{
    window->BeginPaint();
    window->SetForegroundColor(0xFF000000);
    window->SetFontSize(16);
    window->DrawTextA(8, 6, "Probe 0123");
    window->SetFontSize(12);
    window->DrawTextA(8, 28, "\x83\x76\x83\x8d\x81\x5b\x83\x75 ABC xyz"); // katakana, then Latin
    window->SetForegroundColor(0xFFCC2200);
    window->DrawFillRect(10, 60, 90, 120);
    window->SetForegroundColor(0xFF0033CC);
    window->DrawLine(100, 60, 200, 140, 0);
    window->DrawCircle(210, 60, 280, 130);
    window->SetForegroundColor(0xFF00AA44);
    window->DrawFillRoundRect(20, 140, 160, 180, 12);
    window->EndPaint();
}

void PrintClientOrigin(VLWindow *window)
{
    POINT origin{0, 0};
    ClientToScreen(GetActiveWindow(), &origin);
    std::printf("client %d %d\n", static_cast<int>(origin.x), static_cast<int>(origin.y));
}

void WindowEvent(VLWindow *window, VLSTWindowEvent event)
{
    if (event.event == 102) {
        if (window == &probe)
            Picture(window);
        std::printf("painted %d\n", event.winID);
        std::fflush(stdout);
        return;
    }
    std::printf("window %d %d at %d %d size %d %d\n", event.winID, event.event, event.x, event.y, event.width,
                event.height);
    if (event.event == 104 && window == &probe)
        PrintClientOrigin(window);
    if (event.event == 101 && window == &probe)
        PostQuitMessage(0);
    std::fflush(stdout);
}

void MouseEvent(VLWindow *window, VLSTMouseEvent event)
{
    if (event.event == 302)
        return;
    std::printf("mouse %d %d %d %d left %d right %d\n", event.winID, event.event, event.x, event.y, event.left,
                event.right);
    std::fflush(stdout);
}

// "clipboard": F7 copies a Japanese text, F9 one with a code no desktop character matches, F8
// prints the clipboard's bytes in hexadecimal.
bool clipboard_keys = false;

void Copy(const char *text)
{
    int copied = 0;
    if (OpenClipboard(nullptr)) {
        size_t length = std::strlen(text);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, length + 16);
        if (char *bytes = block ? static_cast<char *>(GlobalLock(block)) : nullptr) {
            std::memcpy(bytes, text, length + 1);
            GlobalUnlock(block);
            copied = SetClipboardData(CF_TEXT, block) != nullptr;
            if (!copied)
                GlobalFree(block); // refused: still ours
        }
        CloseClipboard();
    }
    std::printf("copied %d\n", copied);
}

void Paste()
{
    std::string hex = "none";
    if (OpenClipboard(nullptr)) {
        HANDLE block = GetClipboardData(CF_TEXT);
        const char *bytes = block ? static_cast<const char *>(GlobalLock(block)) : nullptr;
        if (bytes) {
            hex.clear();
            for (size_t i = 0; i < GlobalSize(block) && bytes[i]; ++i) {
                char two[3];
                std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(bytes[i]));
                hex += two;
            }
            GlobalUnlock(block);
        }
        CloseClipboard();
    }
    std::printf("pasted %s\n", hex.c_str());
}

// "edit": an edit box whose every change prints its text in hexadecimal.
void EditChanged(VLEditBox *box)
{
    char text[256] = {};
    box->GetText(text, sizeof text);
    std::printf("text ");
    for (const char *c = text; *c; ++c)
        std::printf("%02X", static_cast<unsigned char>(*c));
    std::printf("\n");
    std::fflush(stdout);
}

void KeyEvent(VLWindow *window, VLSTKeyEvent event)
{
    std::printf("key %d %d %X %08X\n", event.winID, event.event, event.key, event.modifiers);
    if (clipboard_keys && event.event == 201) {
        if (event.key == 0xF10007)
            Copy("\x93\xfa\x96\x7b abc"); // "日本 abc"
        else if (event.key == 0xF10009)
            Copy("x\x85\x40y"); // a lead byte of a row with no characters
        else if (event.key == 0xF10008)
            Paste();
    }
    std::fflush(stdout);
}

} // namespace

// probe [two|clipboard|edit]: one window at (40, 40), client 300 x 200; "two" adds a second one beside it.
int main(int argc, char **argv)
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    if (probe.CreateNewWindow("Probe", 40, 40, 300, 200, 0) < 0)
        return 1;
    probe.SetBackgroundColor(0xFFF0E8D0);
    probe.AttachWindowEvent(WindowEvent);
    probe.AttachMouseEvent(MouseEvent);
    probe.AttachKeyEvent(KeyEvent);
    if (argc > 1 && std::strcmp(argv[1], "two") == 0) {
        if (other.CreateNewWindow("Other", 420, 40, 200, 120, 0) < 0)
            return 1;
        other.SetBackgroundColor(0xFF99CC66);
        other.AttachWindowEvent(WindowEvent);
        other.AttachMouseEvent(MouseEvent);
        other.AttachKeyEvent(KeyEvent);
        other.ShowWindow(1);
    }
    if (argc > 1 && std::strcmp(argv[1], "clipboard") == 0)
        clipboard_keys = true;
    if (argc > 1 && std::strcmp(argv[1], "edit") == 0) {
        edit.SetBounds(170, 150, 120, 20);
        edit.AttachChangeEvent(EditChanged);
        probe.Add(&edit);
    }
    probe.ShowWindow(1);
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
