// Loading pictures into a VLImage: the buffered byte source, the common placement of rows and
// the order in which the readers are tried.
#include "vorla/VLImage.h"

#include "image_access.h"
#include "image_readers.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

PictureSource::PictureSource(VLFileCtrl &file)
    : file(file), size(0), offset(0), blockOffset(0), blockLength(0), fileAtBlockEnd(false)
{
    if (file.Seek(0, 3)) {
        const int end = file.GetOffset();
        // Past the int range the file cannot tell its size; reads still end where it ends.
        size = end >= 0 ? end : INT64_MAX;
    }
    file.Seek(0, 1);
}

bool PictureSource::Seek(int64_t position)
{
    if (position < 0)
        return false;
    offset = position;
    return true;
}

bool PictureSource::Fill()
{
    if (!fileAtBlockEnd || offset != blockOffset + static_cast<int64_t>(blockLength)) {
        if (offset > INT_MAX || !file.Seek(static_cast<int>(offset), 1)) {
            blockLength = 0;
            fileAtBlockEnd = false;
            return false;
        }
    }
    blockOffset = offset;
    const int got = file.Read(reinterpret_cast<char *>(block), static_cast<int>(BlockSize));
    blockLength = got > 0 ? static_cast<size_t>(got) : 0;
    fileAtBlockEnd = got > 0;
    return blockLength > 0;
}

size_t PictureSource::Read(void *out, size_t count)
{
    unsigned char *to = static_cast<unsigned char *>(out);
    size_t done = 0;
    while (done < count) {
        if (offset >= blockOffset && offset < blockOffset + static_cast<int64_t>(blockLength)) {
            const size_t at = static_cast<size_t>(offset - blockOffset);
            size_t take = blockLength - at;
            if (take > count - done)
                take = count - done;
            std::memcpy(to + done, block + at, take);
            done += take;
            offset += static_cast<int64_t>(take);
            continue;
        }
        if (!Fill())
            break;
    }
    return done;
}

namespace {

// The rectangle checks every loader shares; false refuses the call.
bool AcceptRectangle(const PictureInfo &info, int sx, int sy, int &w, int &h)
{
    if (sx < 0 || sy < 0 || sx >= info.width || sy >= info.height)
        return false;
    if (static_cast<long long>(sx) + w >= info.width)
        w = info.width - sx;
    if (static_cast<long long>(sy) + h >= info.height)
        h = info.height - sy;
    return true;
}

// Rows of one reader into the image. Returns 1 once the header and the rectangle were accepted,
// however many rows then arrive.
int LoadWith(PictureReader &reader, VLImage &image, const char *path, int sx, int sy, int w, int h, int dx, int dy)
{
    if (w < 1 || h < 1)
        return 0;
    VLFileCtrl file;
    if (!file.Open(path))
        return 0;
    std::unique_ptr<PictureSource> source(new (std::nothrow) PictureSource(file));
    PictureInfo info = {0, 0, 0};
    if (!source || !reader.ReadHeader(*source, info))
        return 0;
    const int imageWidth = ImageAccess::Width(image);
    const int imageHeight = ImageAccess::Height(image);
    if (!AcceptRectangle(info, sx, sy, w, h))
        return 0;
    if (!reader.Start())
        return 0;

    unsigned char *pixels = ImageAccess::Pixels(image);
    long long first = dx < 0 ? -static_cast<long long>(dx) : 0;
    long long last = static_cast<long long>(imageWidth) - dx; // exclusive
    if (last > w)
        last = w;
    if (first >= last)
        return 1; // no column lands in the image
    const int firstColumn = static_cast<int>(first);
    const int columns = static_cast<int>(last - first);
    const size_t imageColumn = static_cast<size_t>(static_cast<long long>(dx) + first);

    // The same for rows: rectangle rows k in [top, bottom) land on image rows dy + k. Only those
    // are decoded; rows before them in file order are passed over, and reading stops after them.
    const long long top = dy < 0 ? -static_cast<long long>(dy) : 0;
    long long bottom = static_cast<long long>(imageHeight) - dy;
    if (bottom > h)
        bottom = h;
    if (top >= bottom)
        return 1; // no row lands in the image
    const int rows = static_cast<int>(bottom - top);
    const int firstRow = sy + static_cast<int>(top); // picture row
    if (!reader.KeepColumns(sx + firstColumn, columns))
        return 1;
    const bool bottomUp = reader.BottomUp();
    const int before = bottomUp ? info.height - (firstRow + rows) : firstRow;
    if (!reader.SkipRows(before))
        return 1;

    const unsigned char *lastPlaced = nullptr;
    for (int n = 0; n < rows; ++n) {
        const int row = bottomUp ? firstRow + rows - 1 - n : firstRow + n;
        const size_t imageRow = static_cast<size_t>(static_cast<long long>(dy) + row - sy);
        unsigned char *out = pixels + (imageRow * static_cast<size_t>(imageWidth) + imageColumn) * 4;
        if (!reader.ReadRow(out, sx + firstColumn, columns))
            break;
        lastPlaced = out + static_cast<size_t>(columns - 1) * 4;
    }
    // Placement went pixel by pixel through the foreground colour, which thus ends as the last
    // pixel placed; callers may draw on in that colour.
    if (lastPlaced)
        image.SetForegroundColor(0xFF000000u | static_cast<unsigned int>(lastPlaced[0]) << 16 |
                                 static_cast<unsigned int>(lastPlaced[1]) << 8 | lastPlaced[2]);
    return 1;
}

} // namespace

int VLImage::LoadImageA(const char *file, int sx, int sy, int w, int h, int dx, int dy)
{
    if (!pixels || attached || !file)
        return 0;
    PictureReader *(*const makers[])() = {NewBmpReader, NewPictReader, NewJpegReader};
    for (auto make : makers) {
        std::unique_ptr<PictureReader> reader(make());
        if (reader && LoadWith(*reader, *this, file, sx, sy, w, h, dx, dy))
            return 1;
    }
    if (w < 1 || h < 1)
        return 0;
    VLFileCtrl png;
    if (!png.Open(file))
        return 0;
    return LoadPng(png, pixels, width, height, sx, sy, w, h, dx, dy);
}

int VLImage::GetImageSize(const char *file, int *w, int *h)
{
    if (!file || !w || !h || !pixels || attached)
        return 0;
    VLFileCtrl opened;
    if (!opened.Open(file))
        return 0;
    std::unique_ptr<PictureSource> source(new (std::nothrow) PictureSource(opened));
    if (!source)
        return 0;
    PictureInfo info = {0, 0, 0};
    PictureReader *(*const makers[])() = {NewBmpReader, NewPictReader, NewJpegReader};
    bool found = false;
    for (auto make : makers) {
        std::unique_ptr<PictureReader> reader(make());
        if (reader && reader->ReadHeader(*source, info)) {
            found = true;
            break;
        }
    }
    if (!found && !PngSize(*source, info))
        return 0;
    *w = info.width;
    *h = info.height;
    return 1;
}
