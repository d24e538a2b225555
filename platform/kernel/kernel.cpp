// Kernel services the library uses: critical sections, version, clock, threads and errors.
#include "internal/system.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

using namespace vorla::platform;

namespace {

// A re-entrant lock that also knows its owner, so TryEnter and recursion behave as on Windows.
struct CriticalLock {
    std::recursive_mutex mutex;
};

thread_local DWORD t_last_error = 0;
std::atomic<DWORD> g_next_thread_id{1};
thread_local DWORD t_thread_id = 0;

} // namespace

extern "C" {

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
    if (!section) return;
    std::memset(section, 0, sizeof(*section));
    section->Lock = new CriticalLock();
    section->LockCount = -1;
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
    if (!section || !section->Lock) return;
    delete static_cast<CriticalLock *>(section->Lock);
    section->Lock = nullptr;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
    if (!section || !section->Lock) return;
    static_cast<CriticalLock *>(section->Lock)->mutex.lock();
    section->RecursionCount++;
    section->OwningThread = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()));
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    if (!section || !section->Lock) return FALSE;
    if (!static_cast<CriticalLock *>(section->Lock)->mutex.try_lock()) return FALSE;
    section->RecursionCount++;
    section->OwningThread = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()));
    return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
    if (!section || !section->Lock) return;
    if (--section->RecursionCount == 0) section->OwningThread = nullptr;
    static_cast<CriticalLock *>(section->Lock)->mutex.unlock();
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) return FALSE;
    // An NT-family system: Windows XP, 5.1.2600.
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::strcpy(info->szCSDVersion, "Service Pack 3");
    return TRUE;
}

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(CurrentBackend().Now()); }

void WINAPI Sleep(DWORD ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

DWORD WINAPI GetCurrentThreadId(void) {
    if (!t_thread_id) t_thread_id = g_next_thread_id++;
    return t_thread_id;
}

DWORD WINAPI GetLastError(void) { return t_last_error; }
void WINAPI SetLastError(DWORD error) { t_last_error = error; }

BOOL WINAPI DisableThreadLibraryCalls(HMODULE) { return TRUE; }

// GetModuleHandleA lives with the resources (user/resources.cpp).

} // extern "C"
