// The BMP reader: uncompressed Windows bitmaps of 1, 2, 4, 8, 16, 24 and 32 bits with a 40-byte
// info header, rows from the bottom up.
#include "image_readers.h"

#include <cstring>
#include <new>

namespace {

unsigned int Word16(const unsigned char *p)
{
    return p[0] | static_cast<unsigned int>(p[1]) << 8;
}

unsigned int Word32(const unsigned char *p)
{
    return Word16(p) | Word16(p + 2) << 16;
}

class BmpReader : public PictureReader {
public:
    ~BmpReader() override { delete[] row; }

    bool ReadHeader(PictureSource &from, PictureInfo &info) override
    {
        source = &from;
        unsigned char fileHeader[14];
        if (!source->Seek(0) || !source->ReadAll(fileHeader, sizeof fileHeader))
            return false;
        if (Word16(fileHeader) != 0x4D42)
            return false;
        if (Word32(fileHeader + 2) < 52 || Word32(fileHeader + 10) < 52)
            return false;
        unsigned char header[40];
        if (!source->ReadAll(header, sizeof header))
            return false;
        const unsigned int headerSize = Word32(header);
        width = static_cast<int>(Word32(header + 4));
        height = static_cast<int>(Word32(header + 8));
        bits = static_cast<int>(Word16(header + 14));
        const unsigned int compression = Word32(header + 16);
        const unsigned int coloursUsed = Word32(header + 32);
        if (compression != 0 || headerSize != 40)
            return false;
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return false;
        // The row size is taken from the width: keep it sane.
        if (width > MostPictureSide || height > MostPictureSide || height < -MostPictureSide)
            return false;
        unsigned int count = 0;
        if (bits > 8) {
            if (coloursUsed != 0)
                return false;
        } else {
            count = coloursUsed ? coloursUsed : 1u << bits;
        }
        if (count > 256)
            return false;
        std::memset(palette, 0, sizeof palette);
        if (count && !source->ReadAll(palette, count * 4))
            return false;
        // The pixels start where the file header says, which writers may put past a gap after the
        // colour table. A file whose first row does not fit there holds no picture.
        const int64_t pixelOffset = Word32(fileHeader + 10);
        if (pixelOffset > source->Size())
            return false;
        if (width > 0 && static_cast<int64_t>(RowBytes()) > source->Size() - pixelOffset)
            return false;
        if (!source->Seek(pixelOffset))
            return false;
        info.width = width;
        info.height = height;
        info.bits = bits;
        return true;
    }

    bool Start() override
    {
        if (width < 1)
            return false;
        // The header made sure that one row fits in the file; nothing is sized from it otherwise.
        rowBytes = RowBytes();
        row = new (std::nothrow) unsigned char[rowBytes];
        return row != nullptr;
    }

    bool BottomUp() const override { return true; }

    bool SkipRows(int count) override
    {
        return row && count >= 0 && source->Skip(static_cast<int64_t>(rowBytes) * count);
    }

    bool ReadRow(unsigned char *out, int first, int count) override
    {
        if (!row)
            return false;
        if (count == 0)
            return source->Skip(static_cast<int64_t>(rowBytes));
        if (!source->ReadAll(row, rowBytes))
            return false;
        const int end = first + count;
        switch (bits) {
        case 1:
        case 2:
        case 4: {
            const int mask = (1 << bits) - 1;
            for (int x = first; x < end; ++x, out += 4) {
                const size_t bit = static_cast<size_t>(x) * bits;
                const int index = (row[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & mask;
                Colour(out, palette + index * 4);
            }
            break;
        }
        case 8:
            for (int x = first; x < end; ++x, out += 4)
                Colour(out, palette + row[x] * 4);
            break;
        case 16:
            for (int x = first; x < end; ++x, out += 4) {
                const unsigned int v = Word16(row + static_cast<size_t>(x) * 2);
                out[0] = static_cast<unsigned char>((v >> 7) & 0xF8);
                out[1] = static_cast<unsigned char>((v >> 2) & 0xF8);
                out[2] = static_cast<unsigned char>((v & 0x1F) << 3);
                out[3] = 0xFF;
            }
            break;
        case 24:
            for (int x = first; x < end; ++x, out += 4)
                Colour(out, row + static_cast<size_t>(x) * 3);
            break;
        default:
            for (int x = first; x < end; ++x, out += 4)
                Colour(out, row + static_cast<size_t>(x) * 4);
            break;
        }
        return true;
    }

private:
    // Whole bytes, padded to a multiple of 4; the width is at most MostPictureSide.
    size_t RowBytes() const
    {
        return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 7) / 8 + 3) & ~static_cast<size_t>(3);
    }

    // Blue, green, red in the file.
    static void Colour(unsigned char *out, const unsigned char *bgr)
    {
        out[0] = bgr[2];
        out[1] = bgr[1];
        out[2] = bgr[0];
        out[3] = 0xFF;
    }

    PictureSource *source = nullptr;
    int width = 0;
    int height = 0;
    int bits = 0;
    unsigned char palette[1024];
    size_t rowBytes = 0;
    unsigned char *row = nullptr;
};

} // namespace

PictureReader *NewBmpReader()
{
    return new (std::nothrow) BmpReader();
}
