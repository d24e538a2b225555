// Files named in the system's form: backslashes separate folders, as the library writes them.
#include "platform/win32.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>

extern "C" FILE *SystemFileOpen(const char *path, const char *mode) {
    if (!path || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    std::string native(path);
    for (char &c : native)
        if (c == '\\') c = '/';
    FILE *file = std::fopen(native.c_str(), mode);
    if (!file) return nullptr;
    // The C runtime here opens a folder for reading; the system's refuses it with EACCES in every
    // mode. Checked on the opened descriptor, so a folder put in the file's place meanwhile is
    // caught too.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        errno = EACCES;
        return nullptr;
    }
    return file;
}
