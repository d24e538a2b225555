// The PNG reader: libpng decodes every colour type and depth to 8-bit red, green, blue rows, which
// go straight into the image's buffer, spare bytes untouched. Errors return through libpng's jump
// buffer to the call that failed.
#include "image_readers.h"

#if __has_include(<png.h>)

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>

#include <png.h>

namespace {

// Adam7: which rows and columns (bit 0x80 for 0 modulo 8, 0x40 for 1, ...) each pass carries.
const unsigned char PassRows[7] = {0x80, 0x80, 0x08, 0x88, 0x22, 0xAA, 0x55};
const unsigned char PassColumns[7] = {0x80, 0x08, 0x88, 0x22, 0xAA, 0x55, 0xFF};

void Fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void Quiet(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t length)
{
    PictureSource *source = static_cast<PictureSource *>(png_get_io_ptr(png));
    if (!source || source->Read(out, length) != length)
        png_error(png, "truncated");
}

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    int passes = 1;

    ~PngReader()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// The signature, the structures and the header; transform: also readies 8-bit RGB rows.
bool ReadHeader(PngReader &reader, PictureSource &source, PictureInfo &out, bool transform)
{
    unsigned char signature[4];
    if (!source.Seek(0) || !source.ReadAll(signature, sizeof signature) || png_sig_cmp(signature, 0, 4) != 0)
        return false;
    source.Seek(0);
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
    if (!reader.png)
        return false;
    reader.info = png_create_info_struct(reader.png);
    if (!reader.info)
        return false;
    if (setjmp(png_jmpbuf(reader.png)))
        return false;
    png_set_read_fn(reader.png, &source, ReadBytes);
    png_set_sig_bytes(reader.png, 0);
    png_read_info(reader.png, reader.info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colourType = 0;
    int interlace = 0;
    png_get_IHDR(reader.png, reader.info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    if (width > static_cast<png_uint_32>(MostPictureSide) || height > static_cast<png_uint_32>(MostPictureSide))
        return false;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.bits = depth;
    if (!transform)
        return true;

    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_expand(reader.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand(reader.png);
    png_set_strip_alpha(reader.png);
    if (png_get_valid(reader.png, reader.info, PNG_INFO_tRNS))
        png_set_expand(reader.png);
    // Grey and 16-bit samples would not come out as three bytes a pixel.
    if (depth == 16) {
#ifdef PNG_READ_SCALE_16_TO_8_SUPPORTED
        png_set_scale_16(reader.png); // rounds, as other decoders do
#else
        png_set_strip_16(reader.png);
#endif
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(reader.png);
    reader.passes = interlace == PNG_INTERLACE_NONE ? 1 : png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    return png_get_channels(reader.png, reader.info) == 3 && png_get_bit_depth(reader.png, reader.info) == 8 &&
           png_get_rowbytes(reader.png, reader.info) == static_cast<png_size_t>(width) * 3;
}

bool ReadRow(PngReader &reader, png_bytep row)
{
    if (setjmp(png_jmpbuf(reader.png)))
        return false;
    png_read_row(reader.png, row, nullptr);
    return true;
}

} // namespace

bool PngSize(PictureSource &source, PictureInfo &info)
{
    PngReader reader;
    return ReadHeader(reader, source, info, false);
}

int LoadPng(VLFileCtrl &file, unsigned char *pixels, int imageWidth, int imageHeight, int sx, int sy, int w, int h,
            int dx, int dy)
{
    std::unique_ptr<PictureSource> source(new (std::nothrow) PictureSource(file));
    if (!source)
        return 0;
    PngReader reader;
    PictureInfo info = {0, 0, 0};
    if (!ReadHeader(reader, *source, info, true))
        return 0;
    if (sx < 0 || sy < 0 || sx >= info.width || sy >= info.height)
        return 0;
    // PNG's own placement refuses a start beyond the requested size and targets off the image.
    if (sx >= w || sy >= h || static_cast<long long>(dx) + w < 0 || static_cast<long long>(dy) + h < 0 ||
        dx >= imageWidth || dy >= imageHeight)
        return 0;
    if (static_cast<long long>(sx) + w >= info.width)
        w = info.width - sx;
    if (static_cast<long long>(sy) + h >= info.height)
        h = info.height - sy;
    std::unique_ptr<unsigned char[]> row(new (std::nothrow) unsigned char[static_cast<size_t>(info.width) * 3]);
    if (!row)
        return 0;

    const int first = dx < 0 ? -dx : 0; // dx + w >= 0, so no overflow
    const long long room = static_cast<long long>(imageWidth) - dx;
    const int last = room < w ? static_cast<int>(room) : w; // exclusive
    for (int pass = 0; pass < reader.passes; ++pass) {
        const bool interlaced = reader.passes > 1;
        const bool lastPass = pass == reader.passes - 1;
        for (int y = 0; y < info.height; ++y) {
            const long long k = static_cast<long long>(y) - sy;
            const long long imageRow = dy + k;
            if (lastPass && (k >= h || imageRow >= imageHeight))
                return 1;
            if (!ReadRow(reader, row.get()))
                return 1;
            if (k < 0 || k >= h || imageRow < 0 || imageRow >= imageHeight)
                continue;
            if (interlaced && !(PassRows[pass] & (0x80 >> (y & 7))))
                continue;
            unsigned char *out = pixels + (static_cast<size_t>(imageRow) * imageWidth + dx + first) * 4;
            const unsigned char *in = row.get() + (static_cast<size_t>(sx) + first) * 3;
            if (!interlaced) {
                for (int j = first; j < last; ++j, out += 4, in += 3) {
                    out[0] = in[0];
                    out[1] = in[1];
                    out[2] = in[2];
                }
                continue;
            }
            const unsigned char columns = PassColumns[pass];
            for (int j = first; j < last; ++j, out += 4, in += 3) {
                if (columns & (0x80 >> ((sx + j) & 7))) {
                    out[0] = in[0];
                    out[1] = in[1];
                    out[2] = in[2];
                }
            }
        }
    }
    return 1;
}

#else
// Built without the codec's headers (the Windows compile check): such files are not recognised.

bool PngSize(PictureSource &, PictureInfo &)
{
    return false;
}

int LoadPng(VLFileCtrl &, unsigned char *, int, int, int, int, int, int, int, int)
{
    return 0;
}

#endif
