// Reading the bitmap formats a resource or a .bmp file may hold into 24-bit bottom-up rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorla::platform {

struct DecodedBitmap {
    int width = 0;
    int height = 0;
    int stride = 0;            // bytes per row: width x 3 rounded up to 4
    std::vector<uint8_t> bits; // blue, green, red; bottom row first, as in a bottom-up DIB
};

// Accepts a file ("BM" and its file header) or a packed DIB as a resource section holds it:
// core, info and v4/v5 headers; 1, 4, 8, 16, 24 and 32 bits; uncompressed or bit fields; either
// row order. Anything malformed, truncated or absurdly large is refused with false.
bool DecodeBitmap(const uint8_t *data, size_t size, DecodedBitmap &out);

} // namespace vorla::platform
