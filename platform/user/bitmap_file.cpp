// The bitmap reader behind LoadImageA. Every length and offset comes from untrusted bytes, so
// all arithmetic is done in 64 bits and checked against the buffer before any read.
#include "internal/bitmap_file.h"

namespace vorla::platform {

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr int64_t kMaxSide = 1 << 16;
constexpr int64_t kMaxOutput = int64_t(1) << 28;

uint32_t Le16(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t *p) { return Le16(p) | Le16(p + 2) << 16; }

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        for (uint32_t rest = m >> shift; rest & 1; rest >>= 1) ++width;
    }
    // Narrow channels are widened by repeating their bits, so full scale stays full scale.
    uint8_t Take(uint32_t pixel) const {
        if (!width) return 0;
        uint32_t value = (pixel & mask) >> shift;
        value &= (width >= 32) ? 0xFFFFFFFFu : ((1u << width) - 1);
        if (width >= 8) return static_cast<uint8_t>(value >> (width - 8));
        uint32_t wide = value;
        int bits = width;
        while (bits < 8) {
            wide = (wide << width) | value;
            bits += width;
        }
        return static_cast<uint8_t>(wide >> (bits - 8));
    }
};

} // namespace

bool DecodeBitmap(const uint8_t *data, size_t size, DecodedBitmap &out) {
    out = DecodedBitmap{};
    if (!data) return false;
    const uint64_t total = size;
    uint64_t header = 0; // where the info header starts
    uint64_t file_bits = 0;
    if (total >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (total < 14) return false;
        header = 14;
        file_bits = Le32(data + 10);
    }
    if (total < header + 4) return false;
    const uint32_t header_size = Le32(data + header);
    const bool core = header_size == 12;
    if (!core && header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 &&
        header_size != 124)
        return false;
    if (total < header + header_size) return false;
    const uint8_t *h = data + header;

    int64_t width, height;
    uint32_t planes, depth, compression = kRgb, colours_used = 0;
    if (core) {
        width = Le16(h + 4);
        height = Le16(h + 6);
        planes = Le16(h + 8);
        depth = Le16(h + 10);
        if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return false;
    } else {
        width = static_cast<int32_t>(Le32(h + 4));
        height = static_cast<int32_t>(Le32(h + 8));
        planes = Le16(h + 12);
        depth = Le16(h + 14);
        compression = Le32(h + 16);
        colours_used = Le32(h + 32);
    }
    if (planes != 1) return false;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return false;
    const bool fields = compression == kBitFields;
    if (compression != kRgb && !(fields && (depth == 16 || depth == 32))) return false;
    const bool top_down = height < 0;
    if (top_down) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;

    // The masks of bit fields: inside the larger headers, or right after a 40-byte one.
    uint64_t table = header + header_size;
    uint32_t masks[3];
    if (depth == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
    if (fields) {
        const uint64_t at = header_size == 40 ? table : header + 40;
        if (total < at + 12) return false;
        for (int i = 0; i < 3; ++i) masks[i] = Le32(data + at + 4 * i);
        if (header_size == 40) table += 12;
    }

    const uint64_t entry = core ? 3 : 4;
    uint64_t entries = colours_used;
    if (depth <= 8 && entries == 0) entries = uint64_t(1) << depth;
    if (entries > 65536) return false;
    const uint64_t palette_end = table + entries * entry;
    if (palette_end > total) return false;
    const uint64_t usable = depth <= 8 ? (entries < (uint64_t(1) << depth) ? entries : (uint64_t(1) << depth)) : 0;
    uint8_t palette[256][3] = {}; // indices past the table stay black
    for (uint64_t i = 0; i < usable; ++i) {
        const uint8_t *p = data + table + i * entry;
        palette[i][0] = p[0], palette[i][1] = p[1], palette[i][2] = p[2];
    }

    uint64_t bits_at = palette_end;
    if (header && file_bits) {
        if (file_bits < header + header_size) return false;
        bits_at = file_bits;
    }
    const uint64_t row_in = ((uint64_t(width) * depth + 31) / 32) * 4;
    if (bits_at > total || row_in * uint64_t(height) > total - bits_at) return false;

    const int64_t row_out = (width * 3 + 3) & ~int64_t(3);
    if (row_out * height > kMaxOutput) return false;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.stride = static_cast<int>(row_out);
    out.bits.assign(static_cast<size_t>(row_out * height), 0);

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int64_t r = 0; r < height; ++r) {
        const uint8_t *in = data + bits_at + uint64_t(r) * row_in;
        const int64_t target = top_down ? height - 1 - r : r;
        uint8_t *o = out.bits.data() + target * row_out;
        for (int64_t x = 0; x < width; ++x, o += 3) {
            switch (depth) {
            case 1:
            case 4:
            case 8: {
                const uint64_t bit = uint64_t(x) * depth;
                const unsigned index = (in[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
                o[0] = palette[index][0], o[1] = palette[index][1], o[2] = palette[index][2];
                break;
            }
            case 16: {
                const uint32_t p = Le16(in + 2 * x);
                o[0] = blue.Take(p), o[1] = green.Take(p), o[2] = red.Take(p);
                break;
            }
            case 24: o[0] = in[3 * x], o[1] = in[3 * x + 1], o[2] = in[3 * x + 2]; break;
            default: {
                const uint32_t p = Le32(in + 4 * x);
                o[0] = blue.Take(p), o[1] = green.Take(p), o[2] = red.Take(p);
                break;
            }
            }
        }
    }
    return true;
}

} // namespace vorla::platform
