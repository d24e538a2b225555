// VLSystemInfo: screen, memory and process figures. The process queries are found by name at
// run time in "psapi.dll" and "kernel32.dll", so either family of the system serves.
#include "vorla/VLSystemInfo.h"

#include "../draw/system_code.h"

#include <climits>
#include <cstring>

namespace {

typedef BOOL(WINAPI *EnumProcessesFunction)(DWORD *, DWORD, DWORD *);
typedef BOOL(WINAPI *EnumProcessModulesFunction)(HANDLE, HMODULE *, DWORD, DWORD *);
typedef DWORD(WINAPI *GetModuleBaseNameFunction)(HANDLE, HMODULE, LPSTR, DWORD);
typedef BOOL(WINAPI *GetProcessMemoryInfoFunction)(HANDLE, PROCESS_MEMORY_COUNTERS *, DWORD);
typedef BOOL(WINAPI *GetProcessTimesFunction)(HANDLE, FILETIME *, FILETIME *, FILETIME *, FILETIME *);
typedef HANDLE(WINAPI *CreateSnapshotFunction)(DWORD, DWORD);
typedef BOOL(WINAPI *ProcessWalkFunction)(HANDLE, PROCESSENTRY32 *);

// Library-wide: every constructor looks them up afresh.
EnumProcessesFunction enumProcesses;
EnumProcessModulesFunction enumProcessModules;
GetModuleBaseNameFunction getModuleBaseName;
GetProcessMemoryInfoFunction getProcessMemoryInfo;
GetProcessTimesFunction getProcessTimes;
CreateSnapshotFunction createSnapshot;
ProcessWalkFunction process32First;
ProcessWalkFunction process32Next;

const int kMostProcesses = 1000;

template <typename Function>
Function Find(HMODULE module, const char *name)
{
    if (!module)
        return nullptr;
    // Through void (*)(void), the generic function pointer type.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

// Memory figures in kilobytes; a figure beyond the int result (a 64-bit address space is 128 TB)
// is reported as the largest int rather than wrapped.
int Kilobytes(SIZE_T bytes)
{
    const unsigned long long kilobytes = static_cast<unsigned long long>(bytes) >> 10;
    return kilobytes > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(kilobytes);
}

MEMORYSTATUS MemoryStatus()
{
    MEMORYSTATUS status;
    std::memset(&status, 0, sizeof status);
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return status;
}

bool IsLeapYear(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days from 1 January 1900 up to the given date.
long long DayNumber(const SYSTEMTIME &time)
{
    static const int monthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const long long year = time.wYear;
    const long long before = year - 1;
    // Leap years in 1900 .. year - 1, counted in closed form.
    const long long leaps = (before / 4 - before / 100 + before / 400) - (1899 / 4 - 1899 / 100 + 1899 / 400);
    long long days = (year - 1900) * 365 + leaps;
    const int month = time.wMonth < 1 ? 1 : (time.wMonth > 12 ? 12 : time.wMonth);
    for (int m = 1; m < month; ++m)
        days += (m == 2 && IsLeapYear(year)) ? 29 : monthDays[m - 1];
    return days + time.wDay;
}

// Seconds between two local calendar times, whichever is later.
int TimeDifference(const SYSTEMTIME &a, const SYSTEMTIME &b)
{
    if (a.wYear < 1900 || b.wYear < 1900)
        return 0;
    const long long first = ((DayNumber(a) * 24 + a.wHour) * 60 + a.wMinute) * 60 + a.wSecond;
    const long long second = ((DayNumber(b) * 24 + b.wHour) * 60 + b.wMinute) * 60 + b.wSecond;
    const long long difference = first > second ? first - second : second - first;
    return difference > INT_MAX ? INT_MAX : static_cast<int>(difference);
}

void FillRecord(VLSTProcessInfo &record, DWORD id, const char *name, int memory, int runningTime)
{
    std::memset(&record, 0, sizeof record);
    record.processID = id;
    size_t length = 0;
    while (length < sizeof record.name - 1 && name[length])
        ++length;
    std::memcpy(record.name, name, length);
    record.memory = memory;
    record.reserved = 0;
    record.runningTime = runningTime;
}

HANDLE TakeSnapshot()
{
    HANDLE snapshot = createSnapshot(TH32CS_SNAPPROCESS, 0);
    return snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot;
}

void FirstEntry(PROCESSENTRY32 &entry)
{
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
}

} // namespace

VLSystemInfo::VLSystemInfo()
{
    statusModule = LoadLibraryA("psapi.dll");
    kernelModule = LoadLibraryA("kernel32.dll");
    enumProcesses = Find<EnumProcessesFunction>(statusModule, "EnumProcesses");
    enumProcessModules = Find<EnumProcessModulesFunction>(statusModule, "EnumProcessModules");
    getModuleBaseName = Find<GetModuleBaseNameFunction>(statusModule, "GetModuleBaseNameA");
    getProcessMemoryInfo = Find<GetProcessMemoryInfoFunction>(statusModule, "GetProcessMemoryInfo");
    getProcessTimes = Find<GetProcessTimesFunction>(kernelModule, "GetProcessTimes");
    createSnapshot = Find<CreateSnapshotFunction>(kernelModule, "CreateToolhelp32Snapshot");
    process32First = Find<ProcessWalkFunction>(kernelModule, "Process32First");
    process32Next = Find<ProcessWalkFunction>(kernelModule, "Process32Next");
}

VLSystemInfo::~VLSystemInfo()
{
    if (statusModule)
        FreeLibrary(statusModule);
    if (kernelModule)
        FreeLibrary(kernelModule);
}

int VLSystemInfo::GetOS()
{
    return 10;
}

int VLSystemInfo::GetOSVersion()
{
    return OperatingSystemCode();
}

VLSTSize VLSystemInfo::GetScreenSize()
{
    VLSTSize size = {0, 0};
    HDC screen = GetDC(nullptr);
    if (!screen)
        return size;
    size.width = GetDeviceCaps(screen, HORZRES);
    size.height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    return size;
}

int VLSystemInfo::GetScreenBPP()
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 0;
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

int VLSystemInfo::GetTotalPhysMemoryK()
{
    return Kilobytes(MemoryStatus().dwTotalPhys);
}

int VLSystemInfo::GetAvailPhysMemoryK()
{
    return Kilobytes(MemoryStatus().dwAvailPhys);
}

int VLSystemInfo::GetTotalVirtualMemoryK()
{
    return Kilobytes(MemoryStatus().dwTotalVirtual);
}

int VLSystemInfo::GetAvailVirtualMemoryK()
{
    return Kilobytes(MemoryStatus().dwAvailVirtual);
}

int VLSystemInfo::GetProcessCount()
{
    if (enumProcesses) {
        DWORD ids[kMostProcesses];
        DWORD bytes = 0;
        if (!enumProcesses(ids, sizeof ids, &bytes))
            return 0;
        return static_cast<int>(bytes / sizeof(DWORD));
    }
    if (!createSnapshot || !process32First || !process32Next)
        return 0;
    HANDLE snapshot = TakeSnapshot();
    if (!snapshot)
        return 0;
    int count = 0;
    PROCESSENTRY32 entry;
    FirstEntry(entry);
    if (process32First(snapshot, &entry)) {
        count = 1;
        for (;;) {
            entry.dwSize = sizeof entry;
            if (!process32Next(snapshot, &entry))
                break;
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

int VLSystemInfo::GetProcessInfo(VLSTProcessInfo *records, int max)
{
    if (!records || max <= 0)
        return 0;
    if (enumProcesses && enumProcessModules) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        DWORD ids[kMostProcesses];
        DWORD bytes = 0;
        if (!enumProcesses(ids, sizeof ids, &bytes))
            return 0;
        const int count = static_cast<int>(bytes / sizeof(DWORD));
        int filled = 0;
        for (int i = 0; i < count && filled < max; ++i) {
            char name[256];
            std::memset(name, 0, sizeof name);
            int memory = 0;
            int runningTime = 0;
            HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
            if (process) {
                HMODULE module = nullptr;
                DWORD needed = 0;
                if (enumProcessModules(process, &module, sizeof module, &needed)) {
                    // One byte short of the buffer, so the name stays terminated when cut.
                    if (getModuleBaseName)
                        getModuleBaseName(process, module, name, sizeof name - 1);
                    PROCESS_MEMORY_COUNTERS counters;
                    std::memset(&counters, 0, sizeof counters);
                    counters.cb = sizeof counters;
                    if (getProcessMemoryInfo && getProcessMemoryInfo(process, &counters, sizeof counters))
                        memory = Kilobytes(counters.WorkingSetSize);
                    FILETIME creation, exit, kernel, user, localCreation;
                    SYSTEMTIME started;
                    if (getProcessTimes && getProcessTimes(process, &creation, &exit, &kernel, &user) &&
                        FileTimeToLocalFileTime(&creation, &localCreation) &&
                        FileTimeToSystemTime(&localCreation, &started))
                        runningTime = TimeDifference(started, now);
                }
                CloseHandle(process);
            }
            FillRecord(records[filled++], ids[i], name[0] ? name : "Unknown", memory, runningTime);
        }
        return filled;
    }
    if (!createSnapshot || !process32First || !process32Next)
        return 0;
    HANDLE snapshot = TakeSnapshot();
    if (!snapshot)
        return 0;
    int filled = 0;
    PROCESSENTRY32 entry;
    FirstEntry(entry);
    for (BOOL more = process32First(snapshot, &entry); more && filled < max; more = process32Next(snapshot, &entry)) {
        entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
        const char *slash = std::strrchr(entry.szExeFile, '\\');
        FillRecord(records[filled++], entry.th32ProcessID, slash ? slash + 1 : entry.szExeFile, 0, 0);
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    return filled;
}
