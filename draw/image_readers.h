// The picture readers behind VLImage::LoadImageA and GetImageSize: a buffered byte source over
// VLFileCtrl, and one reader per format that delivers rows for the common placement.
#pragma once

#include "vorla/VLFileCtrl.h"

#include <cstddef>
#include <cstdint>

// Pictures larger than this on either side are refused before anything is sized from them.
constexpr int MostPictureSide = 1 << 20;

// Reads a file opened by VLFileCtrl in large blocks; header fields come from here byte by byte.
class PictureSource {
public:
    explicit PictureSource(VLFileCtrl &file);
    // The file's size in bytes, as found when the source was made (0 if it could not be told).
    int64_t Size() const { return size; }
    int64_t Offset() const { return offset; }
    bool Seek(int64_t position);
    bool Skip(int64_t count) { return Seek(offset + count); }
    // Copies up to count bytes; fewer only at the end of the file or on a read error.
    size_t Read(void *out, size_t count);
    bool ReadAll(void *out, size_t count) { return Read(out, count) == count; }
    // Bytes that remain after the current position.
    int64_t Remaining() const { return size > offset ? size - offset : 0; }

private:
    static constexpr size_t BlockSize = 64 * 1024;
    bool Fill();

    VLFileCtrl &file;
    int64_t size;
    int64_t offset;       // of the next byte handed out
    int64_t blockOffset;  // of block[0]
    size_t blockLength;
    bool fileAtBlockEnd;  // the file's own position is blockOffset + blockLength
    unsigned char block[BlockSize];
};

struct PictureInfo {
    int width;
    int height;
    int bits;
};

// One format. Rows come in file order; BMP's run from the bottom row up.
class PictureReader {
public:
    virtual ~PictureReader() {}
    // Reads the header at the file's start (or where the format puts it).
    virtual bool ReadHeader(PictureSource &source, PictureInfo &info) = 0;
    // Readies the rows once the rectangle has been accepted.
    virtual bool Start() { return true; }
    // Called once after Start, before any row: only picture columns first .. first + count - 1 will
    // be asked for, so a reader may decode no more than those. false ends loading.
    virtual bool KeepColumns(int first, int count)
    {
        (void)first;
        (void)count;
        return true;
    }
    virtual bool BottomUp() const { return false; }
    // Passes over the next count rows in file order without delivering them.
    virtual bool SkipRows(int count)
    {
        for (int n = 0; n < count; ++n)
            if (!ReadRow(nullptr, 0, 0))
                return false;
        return true;
    }
    // Reads the next row and writes picture columns first .. first + count - 1 to out as 4 bytes
    // each: red, green, blue, 0xFF. count 0 reads the row and drops it.
    virtual bool ReadRow(unsigned char *out, int first, int count) = 0;
};

PictureReader *NewBmpReader();
PictureReader *NewPictReader();
PictureReader *NewJpegReader();

// PNG keeps its own placement (image_png.cpp): it writes red, green and blue into the buffer
// and leaves the spare byte. Returns 1 when the file was a PNG and the rectangle was accepted.
int LoadPng(VLFileCtrl &file, unsigned char *pixels, int imageWidth, int imageHeight, int sx, int sy, int w, int h,
            int dx, int dy);
bool PngSize(PictureSource &source, PictureInfo &info);
