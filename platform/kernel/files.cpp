// Files named in the system's form: backslashes separate folders, as the library writes them.
#include "platform/win32.h"

#include <cerrno>
#include <string>

extern "C" FILE *SystemFileOpen(const char *path, const char *mode) {
    if (!path || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    std::string native(path);
    for (char &c : native)
        if (c == '\\') c = '/';
    return std::fopen(native.c_str(), mode);
}
