// The PICT reader: version 2 pictures after their 512-byte preamble, one packed pixel map of
// 1, 4, 8, 16 or 24 bits (direct or with a colour table), rows top first.
#include "image_readers.h"

#include <cstring>
#include <new>

namespace {

unsigned int Big16(const unsigned char *p)
{
    return static_cast<unsigned int>(p[0]) << 8 | p[1];
}

int Signed16(const unsigned char *p)
{
    return static_cast<short>(Big16(p));
}

class PictReader : public PictureReader {
public:
    ~PictReader() override
    {
        delete[] packed;
        delete[] unpacked;
    }

    bool ReadHeader(PictureSource &from, PictureInfo &info) override
    {
        source = &from;
        unsigned char start[14];
        if (!source->Seek(512) || !source->ReadAll(start, sizeof start))
            return false;
        if (Signed16(start + 2) != 0 || Signed16(start + 4) != 0 || Signed16(start + 6) == 0 ||
            Signed16(start + 8) == 0 || Big16(start + 10) != 0x0011 || Big16(start + 12) != 0x02FF)
            return false;
        unsigned char header[24];
        if (!source->ReadAll(header, sizeof header) || Big16(header) != 0x0C00)
            return false;

        unsigned int opcode = 0;
        for (;;) {
            unsigned char word[2];
            if (!source->ReadAll(word, 2))
                return false;
            opcode = Big16(word);
            if (opcode == 0x009A || opcode == 0x0098)
                break;
            if (opcode == 0x00FF)
                return false;
            if (opcode == 0x00A1) {
                unsigned char comment[4];
                if (!source->ReadAll(comment, 4))
                    return false;
                const unsigned int length = Big16(comment + 2);
                if (length > 510 || !source->Skip(length))
                    return false;
            } else if (opcode == 0x0001) {
                if (!source->Skip(10))
                    return false;
            }
            // 0x0000, 0x001E and every other opcode: nothing to skip.
        }

        unsigned char map[50];
        const int mapLength = opcode == 0x009A ? 50 : 46;
        if (!source->ReadAll(map, static_cast<size_t>(mapLength)))
            return false;
        const unsigned char *p = opcode == 0x009A ? map + 4 : map;
        const unsigned int storedRowBytes = Big16(p);
        if (!(storedRowBytes & 0x8000) || Signed16(p + 2) != 0 || Signed16(p + 4) != 0)
            return false;
        rowBytes = static_cast<int>(storedRowBytes & 0x7FFF);
        height = Signed16(p + 6);
        width = Signed16(p + 8);
        packType = static_cast<int>(Big16(p + 12));
        pixelType = static_cast<int>(Big16(p + 26));
        pixelSize = static_cast<int>(Big16(p + 28));
        componentCount = static_cast<int>(Big16(p + 30));
        componentSize = static_cast<int>(Big16(p + 32));
        std::memset(palette, 0, sizeof palette);
        if (opcode == 0x0098) {
            packType = 4;
            unsigned char table[8];
            if (!source->ReadAll(table, sizeof table))
                return false;
            entries = Big16(table + 6) + 1;
            for (unsigned int i = 0; i < entries; ++i) {
                unsigned char entry[8];
                if (!source->ReadAll(entry, sizeof entry))
                    return false;
                const unsigned int value = Big16(entry);
                if (value <= 255) {
                    palette[value][0] = entry[2];
                    palette[value][1] = entry[4];
                    palette[value][2] = entry[6];
                }
            }
        }
        if (!source->Skip(18) || source->Offset() > source->Size())
            return false;
        if (pixelSize == 0 || (packType != 3 && packType != 4))
            return false;
        // Both counts come from the file: their product can pass any real depth.
        const long long product = static_cast<long long>(componentCount) * componentSize;
        bits = pixelSize == 32 ? (product <= 64 ? static_cast<int>(product) : 0) : pixelSize;
        info.width = width;
        info.height = height;
        info.bits = bits;
        return true;
    }

    bool Start() override
    {
        if (width < 1)
            return false;
        switch (bits) {
        case 1: unpackedLength = (width + 7) / 8; longRows = width >= 2001; break;
        case 4: unpackedLength = (width + 1) / 2; longRows = width >= 501; break;
        case 8: unpackedLength = width; longRows = width >= 251; break;
        case 16: unpackedLength = 2 * width; longRows = width >= 126; break;
        case 24: unpackedLength = 3 * width; longRows = width >= 63; break;
        default: return true; // other depths have no rows
        }
        // A packed row may not be longer than three times its unpacked length; an unpacked row
        // gets 16 bytes of slack for a run that ends just past it.
        packed = new (std::nothrow) unsigned char[static_cast<size_t>(unpackedLength) * 3];
        unpacked = new (std::nothrow) unsigned char[static_cast<size_t>(unpackedLength) + 16];
        return packed && unpacked;
    }

    bool ReadRow(unsigned char *out, int first, int count) override
    {
        if (!packed || !unpacked)
            return false;
        unsigned char lengthBytes[2];
        int length;
        if (longRows) {
            if (!source->ReadAll(lengthBytes, 2))
                return false;
            length = static_cast<int>(Big16(lengthBytes));
        } else {
            if (!source->ReadAll(lengthBytes, 1))
                return false;
            length = lengthBytes[0];
        }
        if (length > unpackedLength * 3)
            return false;
        if (!source->ReadAll(packed, static_cast<size_t>(length)))
            return false;
        if (count == 0)
            return true;
        if (!Unpack(length))
            return false;
        Decode(out, first, count);
        return true;
    }

private:
    // PackBits by bytes (pack type 4) or by 16-bit words (pack type 3).
    bool Unpack(int length)
    {
        const int unit = packType == 3 ? 2 : 1;
        const int capacity = unpackedLength + 16;
        std::memset(unpacked, 0, static_cast<size_t>(capacity));
        int in = 0;
        int written = 0;
        while (in < length) {
            const int flag = packed[in++];
            if (flag < 128) {
                const int bytes = (flag + 1) * unit;
                if (in + bytes > length || written + bytes > capacity)
                    return false;
                std::memcpy(unpacked + written, packed + in, static_cast<size_t>(bytes));
                in += bytes;
                written += bytes;
            } else {
                const int repeat = 257 - flag;
                if (in + unit > length || written + repeat * unit > capacity)
                    return false;
                for (int r = 0; r < repeat; ++r, written += unit)
                    std::memcpy(unpacked + written, packed + in, static_cast<size_t>(unit));
                in += unit;
            }
        }
        return true;
    }

    void Decode(unsigned char *out, int first, int count)
    {
        const int end = first + count;
        for (int x = first; x < end; ++x, out += 4) {
            const unsigned char *colour = nullptr;
            switch (bits) {
            case 1: colour = palette[(unpacked[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: colour = palette[(unpacked[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: colour = palette[unpacked[x]]; break;
            case 16: {
                const unsigned int v = Big16(unpacked + 2 * x);
                out[0] = static_cast<unsigned char>(((v >> 10) & 31) * 8);
                out[1] = static_cast<unsigned char>(((v >> 5) & 31) * 8);
                out[2] = static_cast<unsigned char>((v & 31) * 8);
                break;
            }
            default:
                out[0] = unpacked[x];
                out[1] = unpacked[width + x];
                out[2] = unpacked[2 * width + x];
                break;
            }
            if (colour) {
                out[0] = colour[0];
                out[1] = colour[1];
                out[2] = colour[2];
            }
            out[3] = 0xFF;
        }
    }

    PictureSource *source = nullptr;
    int width = 0;
    int height = 0;
    int rowBytes = 0;
    int packType = 0;
    int pixelType = 0;
    int pixelSize = 0;
    int componentCount = 0;
    int componentSize = 0;
    int bits = 0;
    unsigned int entries = 0;
    unsigned char palette[256][3];
    int unpackedLength = 0;
    bool longRows = false;
    unsigned char *packed = nullptr;
    unsigned char *unpacked = nullptr;
};

} // namespace

PictureReader *NewPictReader()
{
    return new (std::nothrow) PictReader();
}
