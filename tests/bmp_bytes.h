// Small BMP files built in memory for tests: a picture given top row first as 0xRRGGBB values.
#pragma once

#include <cstdint>
#include <vector>

namespace bmp {

inline void Put16(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::vector<uint8_t> &out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Options {
    int depth = 24;         // 1, 4, 8, 16 (5-5-5), 24 or 32
    bool topDown = false;
    bool fileHeader = true; // false: a packed DIB, as a resource section holds it
    bool coreHeader = false;
};

// For depths up to 8 the palette is the distinct colours in order of appearance.
inline std::vector<uint8_t> Make(int width, int height, const std::vector<uint32_t> &rgb, Options o = Options())
{
    std::vector<uint32_t> palette;
    std::vector<int> index(rgb.size());
    if (o.depth <= 8) {
        for (size_t i = 0; i < rgb.size(); ++i) {
            size_t p = 0;
            while (p < palette.size() && palette[p] != rgb[i])
                ++p;
            if (p == palette.size())
                palette.push_back(rgb[i]);
            index[i] = static_cast<int>(p);
        }
        palette.resize(static_cast<size_t>(1) << o.depth, 0);
    }
    const int entry = o.coreHeader ? 3 : 4;
    const uint32_t headerSize = o.coreHeader ? 12 : 40;
    const uint32_t stride = ((width * o.depth + 31) / 32) * 4;
    const uint32_t offset = (o.fileHeader ? 14 : 0) + headerSize + static_cast<uint32_t>(palette.size()) * entry;
    std::vector<uint8_t> out;
    if (o.fileHeader) {
        out.push_back('B');
        out.push_back('M');
        Put32(out, offset + stride * height);
        Put32(out, 0);
        Put32(out, offset);
    }
    Put32(out, headerSize);
    if (o.coreHeader) {
        Put16(out, width);
        Put16(out, height);
        Put16(out, 1);
        Put16(out, o.depth);
    } else {
        Put32(out, width);
        Put32(out, o.topDown ? -height : height);
        Put16(out, 1);
        Put16(out, o.depth);
        Put32(out, 0);
        Put32(out, stride * height);
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, 0);
        Put32(out, 0);
    }
    for (uint32_t colour : palette) {
        out.push_back(colour & 0xFF);
        out.push_back((colour >> 8) & 0xFF);
        out.push_back((colour >> 16) & 0xFF);
        if (entry == 4)
            out.push_back(0);
    }
    for (int r = 0; r < height; ++r) {
        const int y = o.topDown ? r : height - 1 - r;
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const uint32_t c = rgb[i];
            switch (o.depth) {
            case 1:
            case 4:
            case 8: {
                const int bit = x * o.depth;
                row[bit / 8] |= static_cast<uint8_t>(index[i] << (8 - o.depth - bit % 8));
                break;
            }
            case 16: {
                const uint32_t v = ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F);
                row[2 * x] = v & 0xFF;
                row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                break;
            }
            case 24:
                row[3 * x] = c & 0xFF;
                row[3 * x + 1] = (c >> 8) & 0xFF;
                row[3 * x + 2] = (c >> 16) & 0xFF;
                break;
            default:
                row[4 * x] = c & 0xFF;
                row[4 * x + 1] = (c >> 8) & 0xFF;
                row[4 * x + 2] = (c >> 16) & 0xFF;
                row[4 * x + 3] = 0xAA;
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace bmp
