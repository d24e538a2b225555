// A window of the window-system layer on the sdl backend that receives input-method events as the
// desktop's input method sends them through SDL, and prints every composition message it gets.
#include "platform/win32.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool g_active = false;

std::string Hex(const char *bytes, size_t size)
{
    std::string hex;
    char two[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(bytes[i]));
        hex += two;
    }
    return hex;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_ACTIVATE:
        g_active = LOWORD(wparam) != 0;
        break;
    case WM_IME_STARTCOMPOSITION:
        std::printf("start\n");
        return 0;
    case WM_IME_ENDCOMPOSITION:
        std::printf("end\n");
        return 0;
    case WM_IME_COMPOSITION: {
        HIMC context = ImmGetContext(window);
        char result[256];
        LONG n = ImmGetCompositionStringA(context, GCS_RESULTSTR, result, 255);
        ImmReleaseContext(window, context);
        std::printf("result %s\n", n > 0 ? Hex(result, static_cast<size_t>(n)).c_str() : "");
        return 0;
    }
    case WM_CHAR:
        std::printf("char %02X\n", static_cast<unsigned>(wparam & 0xFF));
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// Handles messages for the given time.
void Pump(Uint32 ms)
{
    Uint32 end = SDL_GetTicks() + ms;
    MSG message;
    while (SDL_GetTicks() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        SDL_Delay(5);
    }
    std::fflush(stdout);
}

void PushEditing(const char *utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    std::strncpy(e.edit.text, utf8, sizeof e.edit.text - 1);
    SDL_PushEvent(&e);
}

void PushText(const char *utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    SDL_PushEvent(&e);
}

} // namespace

// ime_probe: composes one short and one long result (the long one in two SDL text events, as SDL
// delivers long commits), gives one composition up, then types a plain character.
int main()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.lpszClassName = "ImeProbe";
    if (!RegisterClassExA(&wc))
        return 1;
    HWND window = CreateWindowExA(0, "ImeProbe", "ImeProbe", WS_POPUP | WS_CAPTION | WS_SYSMENU, 40, 40, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    if (!window)
        return 1;
    HIMC context = ImmCreateContext();
    ImmAssociateContext(window, context);
    ShowWindow(window, SW_SHOW);
    for (int i = 0; i < 100 && !g_active; ++i)
        Pump(50);
    std::printf("active %d\n", g_active ? 1 : 0);
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = POINT{44, 8};
    ImmSetCompositionWindow(context, &form);

    PushEditing("\xe3\x81\xab"); // "に"
    PushText("\xe6\x97\xa5\xe6\x9c\xac"); // "日本"
    Pump(300);
    std::printf("--\n");
    // Ten kanji are 30 bytes of UTF-8 and 20 of the library's code page; SDL hands over 31 at most.
    PushEditing("\xe3\x81\x82");
    PushText("\xe4\xb8\x80\xe4\xba\x8c\xe4\xb8\x89\xe5\x9b\x9b\xe4\xba\x94\xe5\x85\xad\xe4\xb8\x83\xe5\x85\xab\xe4\xb9\x9d\xe5\x8d\x81"); // 一二三四五六七八九十
    PushText("\xe7\x99\xbe"); // 百
    Pump(300);
    std::printf("--\n");
    PushEditing("\xe3\x81\x8b");
    PushEditing("");
    PushText("q");
    Pump(300);
    std::printf("done\n");
    std::fflush(stdout);
    DestroyWindow(window);
    ImmDestroyContext(context);
    return 0;
}
