// Modules and bitmap resources. There are no resource sections here: a module's bitmaps are
// "<id>.bmp" files in a folder named after the module beside the program (VORLA_RESOURCE_DIR
// moves that base), or bytes the program registered at start.
#include "internal/bitmap_file.h"
#include "internal/system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace vorla::platform {

namespace {

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorModNotFound = 126;
constexpr DWORD kErrorResourceNotFound = 1814;
constexpr DWORD kErrorInvalidData = 13;
constexpr uintptr_t kProgramBase = 0x400000;   // where Windows maps a program
constexpr uintptr_t kModuleBase = 0x10000000;  // then one 64 KiB step per named module
constexpr long kMaxFileBytes = 64L << 20;

// Process-wide like a program's resource section: it outlives resets of the window system.
struct Resources {
    std::mutex lock;
    std::vector<std::string> modules; // index 0 is the program
    std::map<std::pair<uintptr_t, int>, std::vector<uint8_t>> registered;
};

Resources &TheResources() {
    static Resources *resources = new Resources; // never destroyed: reachable at exit
    return *resources;
}

std::string ExecutablePath() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return std::string();
    path[n] = '\0';
    return path;
}

// The name a module is known by: the base name, lower case, without ".dll" or ".exe", as
// Windows matches module names without case and adds ".dll" when none is given.
std::string ModuleKey(const char *name) {
    std::string text(name);
    size_t slash = text.find_last_of("/\\");
    if (slash != std::string::npos) text.erase(0, slash + 1);
    for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char *suffix : {".dll", ".exe"}) {
        size_t n = std::strlen(suffix);
        if (text.size() > n && text.compare(text.size() - n, n, suffix) == 0) text.erase(text.size() - n);
    }
    if (text.empty() || text == "." || text == "..") return std::string();
    return text;
}

const std::string &ProgramKey(Resources &r) {
    if (r.modules.empty()) {
        std::string key = ModuleKey(ExecutablePath().c_str());
        r.modules.push_back(key.empty() ? std::string("program") : key);
    }
    return r.modules[0];
}

std::string BaseFolder() {
    if (const char *dir = std::getenv("VORLA_RESOURCE_DIR"); dir && *dir) return dir;
    std::string exe = ExecutablePath();
    size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
}

bool IsFolder(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

HMODULE HandleOfIndex(size_t index) {
    uintptr_t base = index == 0 ? kProgramBase : kModuleBase + 0x10000 * (index - 1);
    return reinterpret_cast<HMODULE>(base);
}

// The module's name, or false for a handle that names no module.
bool NameOfHandle(HMODULE module, std::string &name) {
    Resources &r = TheResources();
    std::lock_guard<std::mutex> hold(r.lock);
    ProgramKey(r);
    for (size_t i = 0; i < r.modules.size(); ++i)
        if (HandleOfIndex(i) == module) {
            name = r.modules[i];
            return true;
        }
    return false;
}

HMODULE FindOrAddModule(const std::string &key, bool add) {
    Resources &r = TheResources();
    std::lock_guard<std::mutex> hold(r.lock);
    ProgramKey(r);
    for (size_t i = 0; i < r.modules.size(); ++i)
        if (r.modules[i] == key) return HandleOfIndex(i);
    if (!add || r.modules.size() > 4096) return nullptr;
    r.modules.push_back(key);
    return HandleOfIndex(r.modules.size() - 1);
}

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &bytes) {
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long length = ok ? std::ftell(file) : -1;
    ok = ok && length >= 0 && length <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(length));
        ok = length == 0 || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

// A resource name: MAKEINTRESOURCE(id) or "#id".
bool ResourceId(LPCSTR name, int &id) {
    uintptr_t value = reinterpret_cast<uintptr_t>(name);
    if ((value >> 16) == 0) {
        id = static_cast<int>(value);
        return id != 0;
    }
    if (name[0] != '#' || !name[1]) return false;
    long number = 0;
    for (const char *p = name + 1; *p; ++p) {
        if (*p < '0' || *p > '9' || number > 0xFFFF) return false;
        number = number * 10 + (*p - '0');
    }
    if (number == 0 || number > 0xFFFF) return false;
    id = static_cast<int>(number);
    return true;
}

HBITMAP MakeDibSection(const DecodedBitmap &picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = picture.height; // bottom-up, as the rows were decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, picture.bits.data(), picture.bits.size());
    return bitmap;
}

HANDLE BitmapFromBytes(const std::vector<uint8_t> &bytes, int cx, int cy) {
    DecodedBitmap picture;
    if (!DecodeBitmap(bytes.data(), bytes.size(), picture)) {
        SetLastError(kErrorInvalidData);
        return nullptr;
    }
    // Stretching to another size is not offered: ask for 0 x 0 (the bitmap's own size).
    if ((cx && cx != picture.width) || (cy && cy != picture.height)) {
        SetLastError(kErrorInvalidParameter);
        return nullptr;
    }
    return MakeDibSection(picture);
}

} // namespace

} // namespace vorla::platform

using namespace vorla::platform;

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    if (!name) return HandleOfIndex(0);
    std::string key = ModuleKey(name);
    if (key.empty()) {
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    // A named module exists once it was registered or its resource folder is there.
    HMODULE module = FindOrAddModule(key, false);
    if (!module && IsFolder(BaseFolder() + "/" + key)) module = FindOrAddModule(key, true);
    if (!module) SetLastError(kErrorModNotFound);
    return module;
}

HMODULE WINAPI VorlaRegisterModule(LPCSTR name) {
    if (!name) return HandleOfIndex(0);
    std::string key = ModuleKey(name);
    return key.empty() ? nullptr : FindOrAddModule(key, true);
}

BOOL WINAPI VorlaRegisterBitmapResource(HMODULE module, int id, const void *bytes, size_t size) {
    std::string name;
    if (!module || id <= 0 || id > 0xFFFF || !bytes || size == 0 || !NameOfHandle(module, name)) {
        SetLastError(kErrorInvalidParameter);
        return FALSE;
    }
    const uint8_t *begin = static_cast<const uint8_t *>(bytes);
    Resources &r = TheResources();
    std::lock_guard<std::mutex> hold(r.lock);
    r.registered[{reinterpret_cast<uintptr_t>(module), id}] = std::vector<uint8_t>(begin, begin + size);
    return TRUE;
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name || type != IMAGE_BITMAP || cx < 0 || cy < 0) {
        SetLastError(kErrorInvalidParameter);
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (flags & LR_LOADFROMFILE) {
        if ((reinterpret_cast<uintptr_t>(name) >> 16) == 0 || !ReadWholeFile(name, bytes)) {
            SetLastError(kErrorFileNotFound);
            return nullptr;
        }
        return BitmapFromBytes(bytes, cx, cy);
    }
    // A null instance asks for the system's own bitmaps, which this system does not carry.
    std::string module;
    int id = 0;
    if (!instance || !NameOfHandle(instance, module)) {
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    if (!ResourceId(name, id)) {
        SetLastError(kErrorResourceNotFound);
        return nullptr;
    }
    {
        Resources &r = TheResources();
        std::lock_guard<std::mutex> hold(r.lock);
        auto found = r.registered.find({reinterpret_cast<uintptr_t>(instance), id});
        if (found != r.registered.end()) bytes = found->second;
    }
    if (bytes.empty() && !ReadWholeFile(BaseFolder() + "/" + module + "/" + std::to_string(id) + ".bmp", bytes)) {
        SetLastError(kErrorResourceNotFound);
        return nullptr;
    }
    return BitmapFromBytes(bytes, cx, cy);
}

} // extern "C"
