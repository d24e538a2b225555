// The operating-system version code, read from the system's version record.
#include "system_code.h"

#include "platform/win32.h"

#include <cstring>

int OperatingSystemCode()
{
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return 0;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return version.dwMinorVersion == 0 ? 0x95 : 0x98;
    const int major = static_cast<int>(version.dwMajorVersion % 100);
    const int minor = static_cast<int>(version.dwMinorVersion % 100);
    return ((major / 10) << 12) + ((major % 10) << 8) + ((minor / 10) << 4) + (minor % 10);
}
