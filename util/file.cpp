// VLFileCtrl: a binary C stream read and written in blocks of 32760 bytes, paths in the system's
// backslash form, and the common open and save dialogs.
#include "vorla/VLFileCtrl.h"

#include <climits>
#include <cstring>

namespace {

const int kBlock = 32760;
const int kLongestPath = 500;
const DWORD kDialogBufferSize = 510;

// Turns "data/img/a.bmp" into "data\img\a.bmp". Leading "./" is dropped and leading "../" kept;
// empty components and a trailing "/" are refused. output holds at least kLongestPath + 1 bytes.
bool ConvertPath(const char *source, char *output)
{
    if (!source)
        return false;
    int length = 0;
    while (length <= kLongestPath && source[length])
        ++length;
    if (length == 0 || length > kLongestPath)
        return false;

    int out = 0;
    const char *p = source;
    if (*p == '/') {
        output[out++] = '\\';
        ++p;
    }
    if (*p == '.') {
        if (p[1] == '/') {
            p += 2;
            // "./\x" names x here; without its "./" it would name x at the root.
            if (*p == '\\')
                return false;
        }
        while (p[0] == '.' && p[1] == '.' && p[2] == '/') {
            output[out++] = '.';
            output[out++] = '.';
            output[out++] = '\\';
            p += 3;
        }
    }
    for (const char *slash; (slash = std::strchr(p, '/')) != nullptr; p = slash + 1) {
        if (slash == p)
            return false;
        std::memcpy(output + out, p, static_cast<size_t>(slash - p));
        out += static_cast<int>(slash - p);
        output[out++] = '\\';
    }
    if (!*p)
        return false;
    std::strcpy(output + out, p);
    return true;
}

// Copies a dialog's choice into the caller's buffer when it fits with its terminator.
int CopyChoice(char *chosen, char *result, int resultSize)
{
    chosen[kDialogBufferSize - 1] = '\0';
    const size_t length = std::strlen(chosen);
    if (length >= static_cast<size_t>(resultSize))
        return 0;
    std::memcpy(result, chosen, length + 1);
    return 1;
}

void PrepareDialog(OPENFILENAMEA &dialog, char *fileName, const char *initialDir, DWORD flags)
{
    static const char filter[] = "All Files (*.*)\0*.*\0";
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kDialogBufferSize;
    dialog.lpstrInitialDir = initialDir;
    dialog.Flags = flags;
}

} // namespace

VLFileCtrl::VLFileCtrl() : mode(1), stream(nullptr) {}

VLFileCtrl::~VLFileCtrl()
{
    Close();
}

int VLFileCtrl::OpenStream(const char *path, const char *streamMode, int newMode)
{
    char converted[kLongestPath + 1];
    if (stream || !ConvertPath(path, converted))
        return 0;
    stream = SystemFileOpen(converted, streamMode);
    if (!stream)
        return 0;
    mode = newMode;
    return 1;
}

int VLFileCtrl::Create(const char *path)
{
    return OpenStream(path, "wb", 0);
}

int VLFileCtrl::Open(const char *path)
{
    return OpenStream(path, "rb", 1);
}

int VLFileCtrl::Close()
{
    if (!stream)
        return 0;
    // The stream is gone either way. A failure here means written bytes still buffered were lost
    // (a full disk), so it is reported rather than passed off as a closed, complete file.
    const int closed = std::fclose(stream);
    stream = nullptr;
    return closed == 0 ? 1 : 0;
}

int VLFileCtrl::IsOpen()
{
    return stream ? 1 : 0;
}

int VLFileCtrl::Read(char *buffer, int size)
{
    if (!stream || !buffer || size < 1 || mode == 0)
        return -1;
    const int start = GetOffset();
    if (start < 0)
        return -1;
    int remaining = size;
    while (remaining >= kBlock) {
        std::fread(buffer, 1, kBlock, stream);
        if (std::feof(stream) || std::ferror(stream))
            break;
        buffer += kBlock;
        remaining -= kBlock;
    }
    // A read error fails the call rather than passing for a short or empty read.
    if (std::ferror(stream))
        return -1;
    if (std::feof(stream)) {
        // Set before this call: the caller was told 0 once already, now it is told -1.
        const int read = GetOffset() - start;
        return read > 0 ? read : -1;
    }
    if (remaining > 0)
        std::fread(buffer, 1, static_cast<size_t>(remaining), stream);
    if (std::ferror(stream))
        return -1;
    const int end = GetOffset();
    return end < start ? -1 : end - start;
}

int VLFileCtrl::Write(const char *buffer, int size)
{
    if (!stream || !buffer || size < 1 || mode == 1)
        return -1;
    int remaining = size;
    while (remaining > 0) {
        const int block = remaining < kBlock ? remaining : kBlock;
        if (std::fwrite(buffer, 1, static_cast<size_t>(block), stream) != static_cast<size_t>(block))
            return -1;
        buffer += block;
        remaining -= block;
    }
    return size;
}

int VLFileCtrl::Seek(int offset, int origin)
{
    if (!stream)
        return 0;
    int whence;
    switch (origin) {
    case 1: whence = SEEK_SET; break;
    case 2: whence = SEEK_CUR; break;
    case 3: whence = SEEK_END; break;
    default: return 0;
    }
    return std::fseek(stream, offset, whence) == 0 ? 1 : 0;
}

int VLFileCtrl::GetOffset()
{
    if (!stream)
        return -1;
    // ftell rather than fgetpos: fpos_t is not a number everywhere. An offset past the int range
    // is a failure, not a wrapped value.
    const long offset = std::ftell(stream);
    if (offset < 0 || offset > INT_MAX)
        return -1;
    return static_cast<int>(offset);
}

int VLFileCtrl::FileOpenDialog(const char *initialDir, char *result, int resultSize)
{
    if (!result || resultSize < 1 || resultSize > 1000)
        return 0;
    char fileName[kDialogBufferSize] = "*.*";
    OPENFILENAMEA dialog;
    PrepareDialog(dialog, fileName, initialDir, OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_HIDEREADONLY);
    if (!GetOpenFileNameA(&dialog))
        return 0;
    return CopyChoice(fileName, result, resultSize);
}

int VLFileCtrl::FileSaveDialog(const char *initialDir, const char *initialName, char *result, int resultSize)
{
    if (!result || resultSize < 1 || resultSize > 1000)
        return 0;
    char fileName[kDialogBufferSize] = "";
    if (initialName) {
        // A name longer than the buffer is cut; the dialog only offers it as a suggestion.
        size_t length = 0;
        while (length < kDialogBufferSize - 1 && initialName[length])
            ++length;
        std::memcpy(fileName, initialName, length);
    }
    OPENFILENAMEA dialog;
    PrepareDialog(dialog, fileName, initialDir, OFN_NONETWORKBUTTON | OFN_HIDEREADONLY);
    if (!GetSaveFileNameA(&dialog))
        return 0;
    return CopyChoice(fileName, result, resultSize);
}
