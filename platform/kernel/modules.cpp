// LoadLibraryA and GetProcAddress over built-in tables: the process-status library and the
// kernel's process functions are found by name at run time, as on Windows.
#include "internal/kernel.h"

#include <atomic>
#include <cctype>
#include <cstring>
#include <string>

namespace {

struct Entry {
    const char *name;
    FARPROC procedure;
};

template <typename Function>
FARPROC Procedure(Function function) {
    // Through void (*)(void), which the compiler accepts as a stand-in for any function type.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(function));
}

struct Module {
    const char *name;
    const Entry *entries;
    size_t count;
    std::atomic<bool> available{true};
    std::atomic<int> references{0};
};

const Entry kPsapi[] = {
    {"EnumProcesses", Procedure(EnumProcesses)},
    {"EnumProcessModules", Procedure(EnumProcessModules)},
    {"GetModuleBaseNameA", Procedure(GetModuleBaseNameA)},
    {"GetProcessMemoryInfo", Procedure(GetProcessMemoryInfo)},
};

const Entry kKernel[] = {
    {"CloseHandle", Procedure(CloseHandle)},
    {"CreateToolhelp32Snapshot", Procedure(CreateToolhelp32Snapshot)},
    {"FileTimeToLocalFileTime", Procedure(FileTimeToLocalFileTime)},
    {"FileTimeToSystemTime", Procedure(FileTimeToSystemTime)},
    {"FreeLibrary", Procedure(FreeLibrary)},
    {"GetCurrentProcessId", Procedure(GetCurrentProcessId)},
    {"GetLocalTime", Procedure(GetLocalTime)},
    {"GetProcAddress", Procedure(GetProcAddress)},
    {"GetProcessTimes", Procedure(GetProcessTimes)},
    {"GetSystemTime", Procedure(GetSystemTime)},
    {"GetTickCount", Procedure(GetTickCount)},
    {"GlobalMemoryStatus", Procedure(GlobalMemoryStatus)},
    {"LoadLibraryA", Procedure(LoadLibraryA)},
    {"MultiByteToWideChar", Procedure(MultiByteToWideChar)},
    {"OpenProcess", Procedure(OpenProcess)},
    {"Process32First", Procedure(Process32First)},
    {"Process32Next", Procedure(Process32Next)},
    {"Sleep", Procedure(Sleep)},
    {"WideCharToMultiByte", Procedure(WideCharToMultiByte)},
};

Module g_modules[] = {
    {"psapi.dll", kPsapi, sizeof kPsapi / sizeof kPsapi[0]},
    {"kernel32.dll", kKernel, sizeof kKernel / sizeof kKernel[0]},
};

// "C:\Windows\System32\PSAPI" and "psapi.dll" name the same module.
std::string ModuleName(const char *path) {
    std::string name(path);
    size_t separator = name.find_last_of("\\/");
    if (separator != std::string::npos) name.erase(0, separator + 1);
    for (char &c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.find('.') == std::string::npos) name += ".dll";
    return name;
}

Module *BuiltIn(HMODULE handle) {
    for (Module &module : g_modules)
        if (reinterpret_cast<HMODULE>(&module) == handle) return &module;
    return nullptr;
}

} // namespace

namespace vorla::platform {

void SetModuleAvailable(const std::string &name, bool available) {
    const std::string wanted = ModuleName(name.c_str());
    for (Module &module : g_modules)
        if (wanted == module.name) module.available = available;
}

void ResetKernelState() {
    for (Module &module : g_modules) module.available = true;
    SetProcessRoot("/proc");
    SetFixedLocalTime(nullptr);
}

} // namespace vorla::platform

extern "C" {

HMODULE WINAPI LoadLibraryA(LPCSTR path) {
    if (!path || !path[0]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string name = ModuleName(path);
    for (Module &module : g_modules) {
        if (name != module.name) continue;
        if (!module.available) break;
        ++module.references;
        return reinterpret_cast<HMODULE>(&module);
    }
    // Modules a program registered for its resources load as well.
    if (HMODULE registered = GetModuleHandleA(path)) return registered;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
    if (!handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (Module *module = BuiltIn(handle)) {
        int count = module->references.load();
        while (count > 0 && !module->references.compare_exchange_weak(count, count - 1)) {
        }
    }
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR name) {
    Module *module = BuiltIn(handle);
    // Ordinals (a name below 0x10000) are not part of the built-in tables.
    if (!module || !name || IS_INTRESOURCE(name)) {
        SetLastError(module ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    for (size_t i = 0; i < module->count; ++i)
        if (std::strcmp(module->entries[i].name, name) == 0) return module->entries[i].procedure;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

} // extern "C"
