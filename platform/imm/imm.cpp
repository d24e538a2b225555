// Input-method contexts: open state, composition font and window, and the result string that a
// composition leaves (delivered by the backend or the test driver).
#include "internal/system.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace vorla::platform;

static int Clamp(int64_t v) { return static_cast<int>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, v))); }

static InputContext *Context(HIMC context) {
    if (!context) return nullptr;
    auto &all = TheSystem().input_contexts;
    auto it = all.find(reinterpret_cast<uintptr_t>(context));
    return it == all.end() ? nullptr : &it->second;
}

namespace vorla::platform {
void DestroyInputContextOf(HWND window) {
    if (Window *w = FindWindow(window)) w->input_context = nullptr;
}
} // namespace vorla::platform

extern "C" {

HIMC WINAPI ImmCreateContext(void) {
    System &s = TheSystem();
    uintptr_t id = NewHandle();
    s.input_contexts[id] = InputContext{};
    return reinterpret_cast<HIMC>(id);
}

BOOL WINAPI ImmDestroyContext(HIMC context) {
    System &s = TheSystem();
    if (!Context(context)) return FALSE;
    for (auto &entry : s.windows)
        if (entry.second->input_context == context) entry.second->input_context = nullptr;
    s.input_contexts.erase(reinterpret_cast<uintptr_t>(context));
    return TRUE;
}

HIMC WINAPI ImmAssociateContext(HWND window, HIMC context) {
    Window *w = FindWindow(window);
    if (!w) return nullptr;
    if (context && !Context(context)) return nullptr;
    HIMC previous = w->input_context;
    w->input_context = context;
    return previous;
}

HIMC WINAPI ImmGetContext(HWND window) {
    Window *w = FindWindow(window);
    return w ? w->input_context : nullptr;
}

BOOL WINAPI ImmReleaseContext(HWND window, HIMC context) { return FindWindow(window) && context ? TRUE : FALSE; }

BOOL WINAPI ImmSetCompositionFontA(HIMC context, LPLOGFONTA font) {
    InputContext *c = Context(context);
    if (!c || !font) return FALSE;
    c->font = *font;
    return TRUE;
}

BOOL WINAPI ImmGetCompositionFontA(HIMC context, LPLOGFONTA font) {
    InputContext *c = Context(context);
    if (!c || !font) return FALSE;
    *font = c->font;
    return TRUE;
}

BOOL WINAPI ImmSetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form) {
    InputContext *c = Context(context);
    if (!c || !form) return FALSE;
    c->form = *form;
    // The desktop's input method shows its composition there too.
    for (auto &entry : TheSystem().windows) {
        Window &w = *entry.second;
        if (w.input_context != context) continue;
        Window *top = &w;
        while (top && !top->TopLevel()) top = FindWindow(top->parent);
        if (!top || !top->surface) continue;
        // Any point a caller gives is placed, clamped to what a surface coordinate can hold.
        int64_t height = c->font.lfHeight ? std::llabs(static_cast<int64_t>(c->font.lfHeight)) : 12;
        int64_t x = static_cast<int64_t>(form->ptCurrentPos.x) + w.client_box.left - top->client_box.left;
        int64_t y = static_cast<int64_t>(form->ptCurrentPos.y) + w.client_box.top - top->client_box.top;
        CurrentBackend().PlaceTextInput(top->surface, Clamp(x), Clamp(y), Clamp(height));
    }
    return TRUE;
}

BOOL WINAPI ImmGetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form) {
    InputContext *c = Context(context);
    if (!c || !form) return FALSE;
    *form = c->form;
    return TRUE;
}

BOOL WINAPI ImmGetOpenStatus(HIMC context) {
    InputContext *c = Context(context);
    return c && c->open;
}

BOOL WINAPI ImmSetOpenStatus(HIMC context, BOOL open) {
    InputContext *c = Context(context);
    if (!c) return FALSE;
    c->open = open != 0;
    return TRUE;
}

LONG WINAPI ImmGetCompositionStringA(HIMC context, DWORD index, LPVOID buffer, DWORD size) {
    InputContext *c = Context(context);
    if (!c) return -1; // IMM_ERROR_GENERAL
    const std::string *text = index == GCS_RESULTSTR ? &c->result : index == GCS_COMPSTR ? &c->composition : nullptr;
    if (!text) return -1;
    if (size == 0 || !buffer) return static_cast<LONG>(text->size());
    DWORD n = static_cast<DWORD>(text->size()) < size ? static_cast<DWORD>(text->size()) : size;
    std::memcpy(buffer, text->data(), n);
    return static_cast<LONG>(n);
}

} // extern "C"
