// Window classes: registration by case-insensitive name, refused while windows of the class live.
#include "internal/system.h"

#include <cctype>
#include <cstring>

namespace vorla::platform {

static std::string ClassKey(LPCSTR name) {
    std::string key = name ? name : "";
    for (char &c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::shared_ptr<WindowClass> LookupClass(LPCSTR name) {
    if (!name || reinterpret_cast<uintptr_t>(name) < 0x10000) return nullptr; // atoms are not kept
    System &s = TheSystem();
    auto it = s.classes.find(ClassKey(name));
    return it == s.classes.end() ? nullptr : it->second;
}

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *description) {
    if (!description || description->cbSize != sizeof(WNDCLASSEXA) || !description->lpszClassName ||
        !description->lpfnWndProc || reinterpret_cast<uintptr_t>(description->lpszClassName) < 0x10000 ||
        !description->lpszClassName[0] || std::strlen(description->lpszClassName) > 255)
        return 0;
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    std::string key = ClassKey(description->lpszClassName);
    if (s.classes.count(key)) return 0;
    auto c = std::make_shared<WindowClass>();
    c->name = description->lpszClassName;
    c->description = *description;
    c->description.lpszClassName = nullptr; // the caller's string need not outlive the call
    c->description.lpszMenuName = nullptr;
    s.classes[key] = c;
    static ATOM next_atom = 0xC000;
    ATOM atom = next_atom++;
    if (next_atom == 0) next_atom = 0xC000;
    return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    System &s = TheSystem();
    std::lock_guard<std::recursive_mutex> hold(s.lock);
    if (!name || reinterpret_cast<uintptr_t>(name) < 0x10000) return FALSE;
    auto it = s.classes.find(ClassKey(name));
    if (it == s.classes.end() || it->second->description.hInstance != instance) return FALSE;
    if (it->second->windows > 0) return FALSE;
    s.classes.erase(it);
    return TRUE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, WNDCLASSEXA *out) {
    auto c = LookupClass(name);
    if (!c || !out || c->description.hInstance != instance) return FALSE;
    *out = c->description;
    out->lpszClassName = name;
    return TRUE;
}

int WINAPI GetClassNameA(HWND window, LPSTR buffer, int size) {
    Window *w = FindWindow(window);
    if (!w || !buffer || size <= 0) return 0;
    std::string name = w->window_class->name;
    int n = static_cast<int>(std::min<size_t>(name.size(), static_cast<size_t>(size - 1)));
    std::memcpy(buffer, name.data(), static_cast<size_t>(n));
    buffer[n] = 0;
    return n;
}

} // extern "C"
