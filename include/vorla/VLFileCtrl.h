// VLFileCtrl: one binary file read or written in blocks, and the open and save file dialogs.
#ifndef VORLA_VLFILECTRL_H
#define VORLA_VLFILECTRL_H

#include "vorla/vorla.h"

#include <cstdio>

class VORLA_API VLFileCtrl {
public:
    VLFileCtrl();
    ~VLFileCtrl();
    VLFileCtrl(const VLFileCtrl &) = delete;
    VLFileCtrl &operator=(const VLFileCtrl &) = delete;

    int Create(const char *path);
    int Open(const char *path);
    // 0 when no file was open, or when the last buffered writes could not be saved (the
    // file is closed either way, but incomplete).
    int Close();
    int IsOpen();
    int Read(char *buffer, int size);
    int Write(const char *buffer, int size);
    int Seek(int offset, int origin); // origin 1 start, 2 current position, 3 end
    int GetOffset();
    int FileOpenDialog(const char *initialDir, char *result, int resultSize);
    int FileSaveDialog(const char *initialDir, const char *initialName, char *result, int resultSize);

private:
    int OpenStream(const char *path, const char *streamMode, int newMode);

    int mode; // 0 created for writing, 1 opened for reading
    FILE *stream;
};

#endif
