// The process table from /proc: process handles, the process-status queries, tool-help
// snapshots and the memory status. Every byte read from /proc is treated as untrusted.
#include "internal/kernel.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpoch = 116444736000000000;
constexpr size_t kMaxProcFile = 64 * 1024;
// The one module a process lists: its executable, at the classic image base.
HMODULE const kMainModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000));

std::mutex g_lock;
std::string g_root = "/proc";

struct KernelObject {
    enum class Kind { Process, Snapshot } kind;
    DWORD pid = 0;
    std::vector<PROCESSENTRY32> entries;
    size_t next = 0;
};
std::map<uintptr_t, std::unique_ptr<KernelObject>> g_objects;

std::string Root() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_root;
}

std::string ProcessPath(DWORD pid, const char *entry) {
    return Root() + "/" + std::to_string(pid) + "/" + entry;
}

bool ReadSmallFile(const std::string &path, std::string &out) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    out.clear();
    char chunk[4096];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(chunk, static_cast<size_t>(n));
        if (out.size() >= kMaxProcFile) break;
    }
    close(fd);
    return true;
}

// A decimal number of at most 19 digits, nothing else.
bool ParseNumber(const std::string &text, uint64_t &value) {
    if (text.empty() || text.size() > 19) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

// The number after "Key:" (status, meminfo: "VmRSS:   1234 kB") or "Key " (stat: "btime 17...").
bool FindField(const std::string &text, const char *key, uint64_t &value) {
    const size_t key_length = std::strlen(key);
    size_t line = 0;
    while (line < text.size()) {
        size_t end = text.find('\n', line);
        if (end == std::string::npos) end = text.size();
        if (end - line > key_length && text.compare(line, key_length, key) == 0 &&
            (text[line + key_length] == ':' || text[line + key_length] == ' ')) {
            size_t p = line + key_length + 1;
            while (p < end && (text[p] == ' ' || text[p] == '\t')) ++p;
            size_t q = p;
            while (q < end && text[q] >= '0' && text[q] <= '9') ++q;
            return ParseNumber(text.substr(p, q - p), value);
        }
        line = end + 1;
    }
    return false;
}

// /proc/<pid>/stat: the name between the first "(" and the last ")", then the fields from the
// state on (field 3 of proc(5) is index 0 here).
struct StatLine {
    std::string name;
    std::vector<std::string> fields;
};

bool ReadStat(DWORD pid, StatLine &out) {
    std::string text;
    if (!ReadSmallFile(ProcessPath(pid, "stat"), text)) return false;
    size_t open_paren = text.find('(');
    size_t close_paren = text.rfind(')');
    if (open_paren == std::string::npos || close_paren == std::string::npos || close_paren < open_paren) return false;
    out.name = text.substr(open_paren + 1, close_paren - open_paren - 1);
    out.fields.clear();
    size_t p = close_paren + 1;
    while (p < text.size()) {
        while (p < text.size() && (text[p] == ' ' || text[p] == '\n')) ++p;
        size_t q = p;
        while (q < text.size() && text[q] != ' ' && text[q] != '\n') ++q;
        if (q > p) out.fields.push_back(text.substr(p, q - p));
        p = q;
    }
    return true;
}

bool StatNumber(const StatLine &stat, int field, uint64_t &value) {
    size_t index = static_cast<size_t>(field - 3);
    return index < stat.fields.size() && ParseNumber(stat.fields[index], value);
}

// The executable's base name, when this process may look at it.
bool ExecutableName(DWORD pid, std::string &name) {
    char target[4096];
    ssize_t n = readlink(ProcessPath(pid, "exe").c_str(), target, sizeof target - 1);
    if (n <= 0) return false;
    std::string path(target, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    size_t slash = path.rfind('/');
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    return !name.empty();
}

std::vector<DWORD> ProcessIds(bool &ok) {
    std::vector<DWORD> ids;
    DIR *dir = opendir(Root().c_str());
    ok = dir != nullptr;
    if (!dir) return ids;
    while (dirent *entry = readdir(dir)) {
        uint64_t pid;
        if (ParseNumber(entry->d_name, pid) && pid > 0 && pid <= 0xFFFFFFFFu) ids.push_back(static_cast<DWORD>(pid));
    }
    closedir(dir);
    std::sort(ids.begin(), ids.end());
    return ids;
}

HANDLE AddObject(std::unique_ptr<KernelObject> object) {
    HANDLE handle = object.get();
    std::lock_guard<std::mutex> hold(g_lock);
    g_objects[reinterpret_cast<uintptr_t>(handle)] = std::move(object);
    return handle;
}

// The object behind a handle, if it is one of ours and of the kind asked for. Objects live until
// CloseHandle, so the pointer stays valid while the caller holds the handle.
KernelObject *FindObject(HANDLE handle, KernelObject::Kind kind) {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == g_objects.end() || it->second->kind != kind) return nullptr;
    return it->second.get();
}

KernelObject *FindProcess(HANDLE handle) {
    KernelObject *object = FindObject(handle, KernelObject::Kind::Process);
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

void SetFileTime(FILETIME *out, int64_t value) {
    if (!out) return;
    out->dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(value) & 0xFFFFFFFFu);
    out->dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(value) >> 32);
}

SIZE_T KilobytesToBytes(uint64_t kilobytes) {
    const uint64_t limit = static_cast<uint64_t>(SIZE_MAX) / 1024;
    return static_cast<SIZE_T>(kilobytes > limit ? SIZE_MAX : kilobytes * 1024);
}

void CopyName(const std::string &name, char *out, size_t size) {
    size_t n = std::min(name.size(), size - 1);
    std::memcpy(out, name.data(), n);
    out[n] = '\0';
}

} // namespace

namespace vorla::platform {

std::string ProcessRoot() { return Root(); }

void SetProcessRoot(const std::string &root) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_root = root.empty() ? "/proc" : root;
}

} // namespace vorla::platform

extern "C" {

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

HANDLE WINAPI OpenProcess(DWORD access, BOOL inherit, DWORD pid) {
    struct stat info;
    if (pid == 0 || stat((Root() + "/" + std::to_string(pid)).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Like a process of another user (or the kernel's own) on Windows: listed, not opened.
    std::string name;
    if (!ExecutableName(pid, name)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    auto object = std::make_unique<KernelObject>();
    object->kind = KernelObject::Kind::Process;
    object->pid = pid;
    return AddObject(std::move(object));
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    std::unique_ptr<KernelObject> object;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        auto it = g_objects.find(reinterpret_cast<uintptr_t>(handle));
        if (it == g_objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(it->second);
        g_objects.erase(it);
    }
    return TRUE;
}

BOOL WINAPI EnumProcesses(DWORD *ids, DWORD bytes, LPDWORD bytes_returned) {
    if (!bytes_returned || (!ids && bytes > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool ok;
    std::vector<DWORD> all = ProcessIds(ok);
    if (!ok) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    size_t n = std::min(all.size(), static_cast<size_t>(bytes / sizeof(DWORD)));
    std::copy(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n), ids);
    *bytes_returned = static_cast<DWORD>(n * sizeof(DWORD));
    return TRUE;
}

BOOL WINAPI EnumProcessModules(HANDLE process, HMODULE *modules, DWORD bytes, LPDWORD bytes_needed) {
    KernelObject *object = FindProcess(process);
    if (!object) return FALSE;
    if (!bytes_needed || (!modules && bytes > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string name;
    if (!ExecutableName(object->pid, name)) { // gone, or no longer ours to look at
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (bytes >= sizeof(HMODULE)) modules[0] = kMainModule;
    *bytes_needed = sizeof(HMODULE);
    return TRUE;
}

DWORD WINAPI GetModuleBaseNameA(HANDLE process, HMODULE module, LPSTR name, DWORD size) {
    KernelObject *object = FindProcess(process);
    if (!object) return 0;
    if (!name || size == 0 || (module && module != kMainModule)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string base;
    if (!ExecutableName(object->pid, base)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    // As on Windows, size is the most characters copied: a name that fills the buffer is cut
    // there and left without a terminator, which the caller sizes its buffer for.
    const size_t copied = std::min(base.size(), static_cast<size_t>(size));
    std::memcpy(name, base.data(), copied);
    if (copied < size) name[copied] = '\0';
    return static_cast<DWORD>(copied);
}

BOOL WINAPI GetProcessMemoryInfo(HANDLE process, PPROCESS_MEMORY_COUNTERS counters, DWORD size) {
    KernelObject *object = FindProcess(process);
    if (!object) return FALSE;
    if (!counters || size < sizeof(PROCESS_MEMORY_COUNTERS)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::string status;
    if (!ReadSmallFile(ProcessPath(object->pid, "status"), status)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    uint64_t resident = 0, peak = 0, data = 0;
    FindField(status, "VmRSS", resident);
    if (!FindField(status, "VmHWM", peak)) peak = resident;
    FindField(status, "VmData", data);
    std::memset(counters, 0, sizeof(PROCESS_MEMORY_COUNTERS));
    counters->cb = sizeof(PROCESS_MEMORY_COUNTERS);
    StatLine stat;
    uint64_t minor = 0, major = 0;
    if (ReadStat(object->pid, stat) && StatNumber(stat, 10, minor) && StatNumber(stat, 12, major))
        counters->PageFaultCount = static_cast<DWORD>(std::min<uint64_t>(minor + major, 0xFFFFFFFFu));
    counters->WorkingSetSize = KilobytesToBytes(resident);
    counters->PeakWorkingSetSize = KilobytesToBytes(peak);
    counters->PagefileUsage = KilobytesToBytes(data);
    counters->PeakPagefileUsage = counters->PagefileUsage;
    return TRUE;
}

BOOL WINAPI GetProcessTimes(HANDLE process, LPFILETIME creation, LPFILETIME exit, LPFILETIME kernel,
                            LPFILETIME user) {
    KernelObject *object = FindProcess(process);
    if (!object) return FALSE;
    if (!creation || !exit || !kernel || !user) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    StatLine stat;
    std::string system_stat;
    uint64_t start = 0, user_ticks = 0, kernel_ticks = 0, boot = 0;
    long ticks_per_second = sysconf(_SC_CLK_TCK);
    if (ticks_per_second <= 0 || !ReadStat(object->pid, stat) || !StatNumber(stat, 22, start) ||
        !StatNumber(stat, 14, user_ticks) || !StatNumber(stat, 15, kernel_ticks) ||
        !ReadSmallFile(Root() + "/stat", system_stat) || !FindField(system_stat, "btime", boot)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const uint64_t tps = static_cast<uint64_t>(ticks_per_second);
    // Bounds keep nonsense from overflowing: no time beyond the year 30000.
    const uint64_t limit = 900000000000ull;
    if (boot > limit || start / tps > limit || user_ticks / tps > limit || kernel_ticks / tps > limit) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto ticks_to_file_time = [tps](uint64_t ticks) {
        return static_cast<int64_t>(ticks / tps) * kTicksPerSecond +
               static_cast<int64_t>((ticks % tps) * static_cast<uint64_t>(kTicksPerSecond) / tps);
    };
    SetFileTime(creation, kUnixEpoch + static_cast<int64_t>(boot) * kTicksPerSecond + ticks_to_file_time(start));
    SetFileTime(exit, 0);
    SetFileTime(kernel, ticks_to_file_time(kernel_ticks));
    SetFileTime(user, ticks_to_file_time(user_ticks));
    return TRUE;
}

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD pid) {
    auto object = std::make_unique<KernelObject>();
    object->kind = KernelObject::Kind::Snapshot;
    if (flags & TH32CS_SNAPPROCESS) {
        bool ok;
        std::vector<DWORD> ids = ProcessIds(ok);
        if (!ok) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        for (DWORD id : ids) {
            StatLine stat;
            const bool has_stat = ReadStat(id, stat);
            // The snapshot names every process, also those it may not open.
            std::string name;
            if (!ExecutableName(id, name)) {
                if (!has_stat) continue; // ended meanwhile, or nothing to know it by
                name = stat.name;
            }
            PROCESSENTRY32 entry;
            std::memset(&entry, 0, sizeof entry);
            entry.dwSize = sizeof entry;
            entry.th32ProcessID = id;
            uint64_t parent = 0, threads = 0;
            if (StatNumber(stat, 4, parent)) entry.th32ParentProcessID = static_cast<DWORD>(parent);
            if (StatNumber(stat, 20, threads)) entry.cntThreads = static_cast<DWORD>(std::min<uint64_t>(threads, 0xFFFFFFFFu));
            entry.pcPriClassBase = 8; // normal priority class
            CopyName(name, entry.szExeFile, sizeof entry.szExeFile);
            object->entries.push_back(entry);
        }
    }
    return AddObject(std::move(object));
}

static BOOL NextEntry(HANDLE snapshot, LPPROCESSENTRY32 entry, bool first) {
    KernelObject *object = FindObject(snapshot, KernelObject::Kind::Snapshot);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!entry || entry->dwSize < sizeof(PROCESSENTRY32)) {
        SetLastError(ERROR_BAD_LENGTH);
        return FALSE;
    }
    if (first) object->next = 0;
    if (object->next >= object->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    DWORD size = entry->dwSize;
    *entry = object->entries[object->next++];
    entry->dwSize = size;
    return TRUE;
}

BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) { return NextEntry(snapshot, entry, true); }
BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) { return NextEntry(snapshot, entry, false); }

void WINAPI GlobalMemoryStatus(LPMEMORYSTATUS status) {
    if (!status) return;
    std::memset(status, 0, sizeof *status);
    status->dwLength = sizeof *status;
    std::string meminfo;
    uint64_t total = 0, available = 0, swap_total = 0, swap_free = 0;
    if (ReadSmallFile(Root() + "/meminfo", meminfo)) {
        FindField(meminfo, "MemTotal", total);
        if (!FindField(meminfo, "MemAvailable", available)) {
            uint64_t free_kb = 0, buffers = 0, cached = 0;
            FindField(meminfo, "MemFree", free_kb);
            FindField(meminfo, "Buffers", buffers);
            FindField(meminfo, "Cached", cached);
            available = free_kb + buffers + cached;
        }
        FindField(meminfo, "SwapTotal", swap_total);
        FindField(meminfo, "SwapFree", swap_free);
    }
    available = std::min(available, total);
    swap_free = std::min(swap_free, swap_total);
    status->dwTotalPhys = KilobytesToBytes(total);
    status->dwAvailPhys = KilobytesToBytes(available);
    status->dwTotalPageFile = KilobytesToBytes(total + swap_total);
    status->dwAvailPageFile = KilobytesToBytes(available + swap_free);
    status->dwMemoryLoad = total ? static_cast<DWORD>(100 - available * 100 / total) : 0;

    // The virtual figures describe this process's address space: its limit, less what it uses.
    uint64_t space = 1ull << 47; // the user half of a 48-bit address space
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        space = std::min<uint64_t>(space, limit.rlim_cur);
    std::string self;
    uint64_t used_kb = 0;
    if (ReadSmallFile(Root() + "/self/status", self)) FindField(self, "VmSize", used_kb);
    uint64_t used = std::min<uint64_t>(used_kb, space / 1024) * 1024;
    status->dwTotalVirtual = static_cast<SIZE_T>(space);
    status->dwAvailVirtual = static_cast<SIZE_T>(space - used);
}

} // extern "C"
