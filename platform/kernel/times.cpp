// Local and system time, and file times (100-nanosecond steps since 1601, UTC).
#include "internal/kernel.h"

#include <cstdint>
#include <ctime>
#include <mutex>

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpoch = 116444736000000000; // 1970-01-01 as a file time

std::mutex g_lock;
bool g_fixed = false;
SYSTEMTIME g_fixed_time{};

void ToSystemTime(const std::tm &tm, long milliseconds, SYSTEMTIME &out) {
    out.wYear = static_cast<WORD>(tm.tm_year + 1900);
    out.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out.wDay = static_cast<WORD>(tm.tm_mday);
    out.wHour = static_cast<WORD>(tm.tm_hour);
    out.wMinute = static_cast<WORD>(tm.tm_min);
    out.wSecond = static_cast<WORD>(tm.tm_sec);
    out.wMilliseconds = static_cast<WORD>(milliseconds);
}

// The offset of local time from UTC now, in seconds; FileTimeToLocalFileTime uses the current
// offset, as Windows does, so differences between converted times stay true across a DST change.
long CurrentBias() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    return local.tm_gmtoff;
}

int64_t FileTimeValue(const FILETIME &t) {
    return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

} // namespace

namespace vorla::platform {

void SetFixedLocalTime(const SYSTEMTIME *time) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_fixed = time != nullptr;
    if (time) g_fixed_time = *time;
}

} // namespace vorla::platform

extern "C" {

void WINAPI GetSystemTime(LPSYSTEMTIME out) {
    if (!out) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm tm{};
    gmtime_r(&now.tv_sec, &tm);
    ToSystemTime(tm, now.tv_nsec / 1000000, *out);
}

void WINAPI GetLocalTime(LPSYSTEMTIME out) {
    if (!out) return;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        if (g_fixed) {
            *out = g_fixed_time;
            return;
        }
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm tm{};
    localtime_r(&now.tv_sec, &tm);
    ToSystemTime(tm, now.tv_nsec / 1000000, *out);
}

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME *utc, LPFILETIME local) {
    if (!utc || !local) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t value = FileTimeValue(*utc);
    int64_t shifted = value + static_cast<int64_t>(CurrentBias()) * kTicksPerSecond;
    if (value < 0 || shifted < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    local->dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(shifted) & 0xFFFFFFFFu);
    local->dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(shifted) >> 32);
    return TRUE;
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME *time, LPSYSTEMTIME out) {
    if (!time || !out) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t value = FileTimeValue(*time);
    if (value < 0) { // Windows refuses file times with the top bit set
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t since_epoch = value - kUnixEpoch;
    int64_t seconds = since_epoch / kTicksPerSecond;
    int64_t rest = since_epoch % kTicksPerSecond;
    if (rest < 0) {
        rest += kTicksPerSecond;
        --seconds;
    }
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!gmtime_r(&t, &tm)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ToSystemTime(tm, static_cast<long>(rest / 10000), *out);
    return TRUE;
}

} // extern "C"
