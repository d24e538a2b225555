// Loading picture files: every format against ImageMagick's decoding of the same file, the
// refusals, the placement of rectangles, and damaged files that must never crash.
#include "support.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void Big16(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

// A BMP with a 40-byte info header. value(x, y) is a palette index up to 8 bits, the 16-bit word,
// or 0xRRGGBB for 24 and 32 bits. The header fields can be spoilt on purpose.
struct Bmp {
    int width = 1;
    int height = 1;
    int bits = 24;
    std::vector<uint32_t> palette; // 0xRRGGBB
    std::function<uint32_t(int, int)> value = [](int, int) { return 0u; };
    int64_t coloursUsed = -1; // -1: the palette's size
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    int64_t sizeField = -1;   // -1: the true size
    size_t gap = 0;           // bytes between the colour table and the pixels
    int64_t offsetField = -1; // -1: where the pixels are

    size_t RowBytes() const { return ((static_cast<size_t>(width) * bits + 7) / 8 + 3) & ~size_t(3); }

    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> rows;
        for (int y = height - 1; y >= 0; --y) {
            std::vector<uint8_t> row(RowBytes(), 0);
            for (int x = 0; x < width; ++x) {
                const uint32_t v = value(x, y);
                if (bits < 8) {
                    const size_t bit = static_cast<size_t>(x) * bits;
                    row[bit / 8] |= static_cast<uint8_t>(v << (8 - bits - bit % 8));
                } else if (bits == 8) {
                    row[x] = static_cast<uint8_t>(v);
                } else if (bits == 16) {
                    row[2 * x] = static_cast<uint8_t>(v);
                    row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                } else {
                    const size_t at = static_cast<size_t>(x) * (bits / 8);
                    row[at] = static_cast<uint8_t>(v);
                    row[at + 1] = static_cast<uint8_t>(v >> 8);
                    row[at + 2] = static_cast<uint8_t>(v >> 16);
                }
            }
            rows.insert(rows.end(), row.begin(), row.end());
        }
        const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size() * 4 + gap);
        std::vector<uint8_t> out;
        Put16(out, 0x4D42);
        Put32(out, static_cast<uint32_t>(sizeField >= 0 ? sizeField : offset + rows.size()));
        Put32(out, 0);
        Put32(out, static_cast<uint32_t>(offsetField >= 0 ? offsetField : offset));
        Put32(out, headerSize);
        Put32(out, static_cast<uint32_t>(width));
        Put32(out, static_cast<uint32_t>(height));
        Put16(out, 1);
        Put16(out, static_cast<uint32_t>(bits));
        Put32(out, compression);
        Put32(out, static_cast<uint32_t>(rows.size()));
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, static_cast<uint32_t>(coloursUsed >= 0 ? coloursUsed : static_cast<int64_t>(palette.size())));
        Put32(out, 0);
        for (uint32_t colour : palette)
            Put32(out, colour);
        out.insert(out.end(), gap, 0xEE);
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

// An 8-bit PICT with a colour table whose rows are given already packed.
std::vector<uint8_t> Pict(int width, int height, const std::vector<uint32_t> &palette,
                          const std::vector<std::vector<uint8_t>> &packedRows)
{
    std::vector<uint8_t> out(512, 0);
    Big16(out, 0);
    for (int v : {0, 0, height, width})
        Big16(out, static_cast<uint32_t>(v));
    Big16(out, 0x0011);
    Big16(out, 0x02FF);
    Big16(out, 0x0C00);
    out.resize(out.size() + 22, 0);
    Big16(out, 0x001E);
    Big16(out, 0x0001); // clip region of 10 bytes
    Big16(out, 10);
    for (int v : {0, 0, height, width})
        Big16(out, static_cast<uint32_t>(v));
    Big16(out, 0x0098);
    Big16(out, 0x8000u | static_cast<uint32_t>(width));
    for (int v : {0, 0, height, width})
        Big16(out, static_cast<uint32_t>(v));
    Big16(out, 0);           // version
    Big16(out, 0);           // pack type (taken as 4)
    out.resize(out.size() + 4 + 8, 0); // pack size, resolutions
    Big16(out, 0);           // pixel type
    Big16(out, 8);           // pixel size
    Big16(out, 1);           // components
    Big16(out, 8);           // component size
    out.resize(out.size() + 12, 0);
    out.resize(out.size() + 6, 0); // seed, flags
    Big16(out, static_cast<uint32_t>(palette.size()) - 1);
    for (size_t i = 0; i < palette.size(); ++i) {
        Big16(out, static_cast<uint32_t>(i));
        Big16(out, ((palette[i] >> 16) & 0xFF) * 0x101);
        Big16(out, ((palette[i] >> 8) & 0xFF) * 0x101);
        Big16(out, (palette[i] & 0xFF) * 0x101);
    }
    out.resize(out.size() + 18, 0);
    for (const auto &row : packedRows) {
        if (width >= 251)
            Big16(out, static_cast<uint32_t>(row.size()));
        else
            out.push_back(static_cast<uint8_t>(row.size()));
        out.insert(out.end(), row.begin(), row.end());
    }
    Big16(out, 0x00FF);
    return out;
}

// The colour GetPixel reports for a reference pixel.
unsigned long Opaque(const Rgb &c)
{
    return 0xFF000000u | static_cast<unsigned>(c.red) << 16 | static_cast<unsigned>(c.green) << 8 |
           static_cast<unsigned>(c.blue);
}

class ImageReaders : public ::testing::Test {
protected:
    // Every pixel of the image against the reference, and the spare byte.
    void ExpectPicture(const std::string &name, int tolerance, int spare)
    {
        SCOPED_TRACE(name);
        Ppm reference;
        ASSERT_TRUE(Ppm::Read(DataPath(name + ".ppm"), reference));
        image.SetSize(reference.width, reference.height);
        image.ClearImage(0x12345678);
        ASSERT_EQ(image.LoadImageA(DataPath(name).c_str(), 0, 0, reference.width, reference.height, 0, 0), 1);
        int worst = 0;
        int wrong = 0;
        for (int y = 0; y < reference.height; ++y)
            for (int x = 0; x < reference.width; ++x) {
                const Rgb want = reference.At(x, y);
                const std::vector<int> got = BytesAt(image, x, y);
                const int difference = std::max({std::abs(got[0] - want.red), std::abs(got[1] - want.green),
                                                 std::abs(got[2] - want.blue)});
                worst = std::max(worst, difference);
                if (difference > tolerance && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << got[0] << "," << got[1] << ","
                                  << got[2] << " not " << want.red << "," << want.green << "," << want.blue;
                if (got[3] != spare && ++wrong <= 3)
                    ADD_FAILURE() << "spare byte of " << x << "," << y << " is " << got[3];
            }
        EXPECT_LE(worst, tolerance);
        int w = 0, h = 0;
        EXPECT_EQ(image.GetImageSize(DataPath(name).c_str(), &w, &h), 1);
        EXPECT_EQ(w, reference.width);
        EXPECT_EQ(h, reference.height);
    }

    FreshSystem fresh;
    VLImage image;
    ScratchFiles scratch;
};

} // namespace

TEST_F(ImageReaders, EveryFormatMatchesImageMagicksDecoding)
{
    for (const char *name : {"bmp1.bmp", "bmp4.bmp", "bmp8.bmp", "bmp24.bmp", "direct.pict"})
        ExpectPicture(name, 0, 0xFF);
    // A PICT colour table holds 16-bit channels: we take the high byte, ImageMagick scales.
    ExpectPicture("palette.pict", 1, 0xFF);
    // The same libjpeg-turbo decodes for both: no difference allowed.
    for (const char *name : {"colour.jpg", "grey.jpg", "progressive.jpg"})
        ExpectPicture(name, 0, 0xFF);
    // Inks to light: one step of rounding between their arithmetic and ours.
    ExpectPicture("cmyk.jpg", 1, 0xFF);
    // PNG writes red, green and blue only: the spare byte keeps what ClearImage put there.
    for (const char *name : {"rgb.png", "palette.png", "grey.png", "grey2.png", "rgba.png", "greyalpha.png",
                             "rgb16.png", "interlaced.png", "interlaced-palette.png"})
        ExpectPicture(name, 0, 0x12);
}

TEST_F(ImageReaders, BmpDepthsDecodeAsStored)
{
    image.SetSize(40, 4);
    // 2 bits: four palette entries packed from the top bits.
    Bmp two;
    two.width = 5;
    two.bits = 2;
    two.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    two.value = [](int x, int) { return static_cast<uint32_t>(x % 4); };
    ASSERT_EQ(image.LoadImageA(scratch.Write("two.bmp", two.Bytes()).c_str(), 0, 0, 5, 1, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(1, 0), 0xFFFF0000u);
    EXPECT_EQ(image.GetPixel(3, 0), 0xFF0000FFu);
    EXPECT_EQ(image.GetPixel(4, 0), 0xFF000000u);

    // 16 bits are 5-5-5 with the top bit ignored.
    Bmp sixteen;
    sixteen.width = 3;
    sixteen.bits = 16;
    sixteen.value = [](int x, int) { return x == 0 ? 0x7FFFu : x == 1 ? 0xFC00u : 0x001Fu; };
    ASSERT_EQ(image.LoadImageA(scratch.Write("16.bmp", sixteen.Bytes()).c_str(), 0, 0, 3, 1, 0, 1), 1);
    EXPECT_EQ(image.GetPixel(0, 1), 0xFFF8F8F8u);
    EXPECT_EQ(image.GetPixel(1, 1), 0xFFF80000u);
    EXPECT_EQ(image.GetPixel(2, 1), 0xFF0000F8u);

    // 32 bits: blue, green, red and an ignored byte; rows bottom first.
    Bmp thirtyTwo;
    thirtyTwo.width = 2;
    thirtyTwo.height = 2;
    thirtyTwo.bits = 32;
    thirtyTwo.value = [](int x, int y) { return y == 0 ? 0xABCDEFu : x == 0 ? 0x010203u : 0xFFFFFFu; };
    ASSERT_EQ(image.LoadImageA(scratch.Write("32.bmp", thirtyTwo.Bytes()).c_str(), 0, 0, 2, 2, 0, 2), 1);
    EXPECT_EQ(image.GetPixel(0, 2), 0xFFABCDEFu);
    EXPECT_EQ(image.GetPixel(0, 3), 0xFF010203u);
    EXPECT_EQ(BytesAt(image, 1, 3)[3], 0xFF);

    // 1 bit: 10 pixels take a 4-byte row, 33 pixels an 8-byte row. Cut the last byte and the
    // top row (read last) is lost while the bottom one stays.
    for (int width : {10, 33}) {
        Bmp one;
        one.width = width;
        one.height = 2;
        one.bits = 1;
        one.palette = {0x000000, 0xFFFFFF};
        one.value = [](int x, int) { return static_cast<uint32_t>(x % 2); };
        EXPECT_EQ(one.RowBytes(), width == 10 ? 4u : 8u);
        std::vector<uint8_t> bytes = one.Bytes();
        bytes.pop_back();
        image.ClearImage(0xFF000000);
        ASSERT_EQ(image.LoadImageA(scratch.Write("one.bmp", bytes).c_str(), 0, 0, width, 2, 0, 0), 1);
        EXPECT_EQ(image.GetPixel(width - 1 - (width % 2 == 0 ? 0 : 1), 1), 0xFFFFFFFFu) << width;
        EXPECT_EQ(CountColour(image, 0xFFFFFFFFu), width / 2) << width;
    }
}

TEST_F(ImageReaders, BmpHeadersOutsideTheirRulesAreRefused)
{
    image.SetSize(4, 4);
    Bmp plain; // 1 x 1, 24 bits: 58 bytes
    plain.value = [](int, int) { return 0x102030u; };
    ASSERT_EQ(plain.Bytes().size(), 58u);
    ASSERT_EQ(image.LoadImageA(scratch.Write("plain.bmp", plain.Bytes()).c_str(), 0, 0, 1, 1, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF102030u);

    image.ClearImage(0xFF000000);
    Bmp rle = plain;
    rle.compression = 1;
    Bmp v4 = plain;
    v4.headerSize = 108;
    Bmp small = plain;
    small.sizeField = 51;
    Bmp used = plain;
    used.coloursUsed = 5; // not allowed above 8 bits
    int n = 0;
    for (const Bmp *refused : {&rle, &v4, &small, &used}) {
        const std::string path = scratch.Write("refused" + std::to_string(n++) + ".bmp", refused->Bytes());
        int w = -1, h = -1;
        EXPECT_EQ(image.LoadImageA(path.c_str(), 0, 0, 1, 1, 0, 0), 0) << n;
        EXPECT_EQ(image.GetImageSize(path.c_str(), &w, &h), 0) << n;
        EXPECT_EQ(w, -1);
    }
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF000000u);

    // 8 bits with colours used 0 reads all 256 entries; 300 entries are too many.
    Bmp eight;
    eight.bits = 8;
    eight.width = 2;
    eight.palette.assign(256, 0);
    eight.palette[255] = 0x00FF7F;
    eight.coloursUsed = 0;
    eight.value = [](int x, int) { return x == 0 ? 255u : 0u; };
    ASSERT_EQ(image.LoadImageA(scratch.Write("eight.bmp", eight.Bytes()).c_str(), 0, 0, 2, 1, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF00FF7Fu);
    eight.coloursUsed = 300;
    EXPECT_EQ(image.LoadImageA(scratch.Write("eight300.bmp", eight.Bytes()).c_str(), 0, 0, 2, 1, 0, 0), 0);

    // Sizes that would make huge rows from a tiny file.
    std::vector<uint8_t> wide = plain.Bytes();
    for (int i = 18; i < 26; ++i)
        wide[i] = i == 21 || i == 25 ? 0x7F : 0xFF; // width and height 0x7FFFFFFF
    EXPECT_EQ(image.LoadImageA(scratch.Write("wide.bmp", wide).c_str(), 0, 0, 1, 1, 0, 0), 0);
}

TEST_F(ImageReaders, BmpPixelsStartWhereTheHeaderSays)
{
    image.SetSize(8, 6);
    // Writers may leave room between the colour table and the pixels; the header's offset
    // tells where they start, whatever the gap's length.
    Bmp four;
    four.width = 5;
    four.height = 3;
    four.bits = 4;
    for (uint32_t i = 0; i < 16; ++i)
        four.palette.push_back(0x010203u * i + 0x400000u);
    four.value = [](int x, int y) { return static_cast<uint32_t>((x + 4 * y) % 16); };
    Bmp true24;
    true24.width = 3;
    true24.height = 2;
    true24.value = [](int x, int y) { return 0x102030u * static_cast<uint32_t>(1 + x + 3 * y); };
    for (size_t gap : {size_t(1), size_t(3), size_t(12), size_t(1000)}) {
        SCOPED_TRACE(gap);
        for (Bmp *bmp : {&four, &true24}) {
            bmp->gap = gap;
            const std::string path = scratch.Write("gap.bmp", bmp->Bytes());
            image.ClearImage(0xFF000000);
            ASSERT_EQ(image.LoadImageA(path.c_str(), 0, 0, bmp->width, bmp->height, 1, 2), 1);
            for (int y = 0; y < bmp->height; ++y)
                for (int x = 0; x < bmp->width; ++x) {
                    const uint32_t v = bmp->value(x, y);
                    EXPECT_EQ(image.GetPixel(1 + x, 2 + y), 0xFF000000u | (bmp->bits == 4 ? bmp->palette[v] : v))
                        << x << "," << y;
                }
            EXPECT_EQ(CountColour(image, 0xFF000000u), 48 - bmp->width * bmp->height);
            int w = 0, h = 0;
            EXPECT_EQ(image.GetImageSize(path.c_str(), &w, &h), 1);
            EXPECT_EQ(w, bmp->width);
        }
    }

    // The offset is checked against the file: no row there, or pixels past its end, refuse the
    // file; a file with room for the bottom row only loads that row.
    Bmp plain = true24;
    plain.gap = 0;
    const int64_t size = static_cast<int64_t>(plain.Bytes().size()); // 54 + 2 rows of 12 bytes
    image.ClearImage(0xFF000000);
    for (int64_t offset : {size - 11, size - 1, size, size + 1, int64_t(0x7FFFFFFF), int64_t(0xFFFFFFFF)}) {
        SCOPED_TRACE(offset);
        plain.offsetField = offset;
        const std::string path = scratch.Write("beyond.bmp", plain.Bytes());
        int w = -1, h = -1;
        EXPECT_EQ(image.LoadImageA(path.c_str(), 0, 0, 3, 2, 0, 0), 0);
        EXPECT_EQ(image.GetImageSize(path.c_str(), &w, &h), 0);
        EXPECT_EQ(w, -1);
    }
    EXPECT_EQ(CountColour(image, 0xFF000000u), 48);
    plain.offsetField = size - 12; // the last 12 bytes: the top row, taken for the bottom one
    ASSERT_EQ(image.LoadImageA(scratch.Write("last.bmp", plain.Bytes()).c_str(), 0, 0, 3, 2, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(0, 1), 0xFF102030u);
    EXPECT_EQ(image.GetPixel(2, 1), 0xFF306090u);
    EXPECT_EQ(CountColour(image, 0xFF000000u), 45);
}

TEST_F(ImageReaders, PictRowsArePackedAndBoundedByTheirBuffers)
{
    image.SetSize(4, 3);
    std::vector<uint32_t> palette(256, 0);
    palette[0x41] = 0x123456;
    palette[1] = 0xFFFFFF;
    // A flag byte 0xFE repeats the next byte three times; 0x02 copies three literal bytes.
    const std::string path =
        scratch.Write("runs.pict", Pict(3, 2, palette, {{0xFE, 0x41}, {0x02, 0x01, 0x41, 0x01}}));
    ASSERT_EQ(image.LoadImageA(path.c_str(), 0, 0, 3, 2, 0, 0), 1);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(image.GetPixel(x, 0), 0xFF123456u);
    EXPECT_EQ(image.GetPixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(1, 1), 0xFF123456u);
    EXPECT_EQ(image.GetPixel(3, 0), 0xFF000000u);

    // A packed row longer than three times the row, a run beyond the row's slack, and a literal
    // run longer than the packed bytes: each row is refused and loading stops there.
    image.ClearImage(0xFF000000);
    const std::vector<uint8_t> tooLong(10, 0x00);
    const std::vector<uint8_t> tooMuch = {0x80, 0x41};
    const std::vector<uint8_t> overConsumed = {0x05, 0x41};
    for (const auto &row : {tooLong, tooMuch, overConsumed}) {
        const std::string bad = scratch.Write("bad.pict", Pict(3, 2, palette, {row, {0xFE, 0x41}}));
        EXPECT_EQ(image.LoadImageA(bad.c_str(), 0, 0, 3, 2, 0, 0), 1);
        EXPECT_EQ(CountColour(image, 0xFF000000u), 12);
    }

    int w = 0, h = 0;
    ASSERT_EQ(image.GetImageSize(path.c_str(), &w, &h), 1);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
}

TEST_F(ImageReaders, RectanglesAreClippedToThePictureAndTheImage)
{
    image.SetSize(20, 12);
    Ppm reference;
    ASSERT_TRUE(Ppm::Read(DataPath("bmp24.bmp.ppm"), reference));
    auto colour = [&](int x, int y) { return Opaque(reference.At(x, y)); };
    // From column 60 of the 70-wide picture only 10 columns exist; so for BMP, PICT and JPEG.
    for (const char *name : {"bmp24.bmp", "direct.pict", "colour.jpg"}) {
        SCOPED_TRACE(name);
        image.ClearImage(0xFF000000);
        ASSERT_EQ(image.LoadImageA(DataPath(name).c_str(), 60, 2, 50, 3, 1, 1), 1);
        int placed = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 20; ++x)
                placed += image.GetPixel(x, y) != 0xFF000000u;
        EXPECT_EQ(placed, 30); // 10 x 3
        EXPECT_EQ(image.GetPixel(11, 2), 0xFF000000u);
        EXPECT_EQ(image.GetPixel(5, 4), 0xFF000000u);
        if (name[0] == 'b') {
            EXPECT_EQ(image.GetPixel(1, 1), colour(60, 2));
            EXPECT_EQ(image.GetPixel(10, 3), colour(69, 4));
        }
    }

    // A negative target drops the columns and rows that fall off the image.
    image.ClearImage(0xFF000000);
    ASSERT_EQ(image.LoadImageA(DataPath("bmp24.bmp").c_str(), 10, 0, 30, 9, -5, -2), 1);
    EXPECT_EQ(image.GetPixel(0, 0), colour(15, 2));
    EXPECT_EQ(image.GetPixel(19, 6), colour(34, 8));
    EXPECT_EQ(image.GetPixel(0, 7), 0xFF000000u);

    // Refused: an empty rectangle, a start outside the picture.
    image.ClearImage(0xFF000000);
    for (const char *name : {"bmp24.bmp", "direct.pict", "colour.jpg", "rgb.png"}) {
        const std::string path = DataPath(name);
        EXPECT_EQ(image.LoadImageA(path.c_str(), 70, 0, 5, 5, 0, 0), 0) << name;
        EXPECT_EQ(image.LoadImageA(path.c_str(), 0, 9, 5, 5, 0, 0), 0) << name;
        EXPECT_EQ(image.LoadImageA(path.c_str(), -1, 0, 5, 5, 0, 0), 0) << name;
        EXPECT_EQ(image.LoadImageA(path.c_str(), 0, 0, 0, 5, 0, 0), 0) << name;
        EXPECT_EQ(image.LoadImageA(path.c_str(), 0, 0, 5, 0, 0, 0), 0) << name;
        // Loading starts, but no row lands: still a success.
        EXPECT_EQ(image.LoadImageA(path.c_str(), 0, 0, 5, 5, -5, 0), 1) << name;
    }
    EXPECT_EQ(CountColour(image, 0xFF000000u), 240);
}

TEST_F(ImageReaders, PngKeepsItsOwnPlacementRules)
{
    image.SetSize(20, 12);
    const std::string png = DataPath("rgb.png");
    Ppm reference;
    ASSERT_TRUE(Ppm::Read(DataPath("rgb.png.ppm"), reference));
    // The start must lie within the requested size, and the target on the image.
    EXPECT_EQ(image.LoadImageA(png.c_str(), 60, 0, 50, 3, 0, 0), 0);
    EXPECT_EQ(image.LoadImageA(png.c_str(), 0, 5, 10, 5, 0, 0), 0);
    EXPECT_EQ(image.LoadImageA(png.c_str(), 0, 0, 10, 5, -11, 0), 0);
    EXPECT_EQ(image.LoadImageA(png.c_str(), 0, 0, 10, 5, 0, 12), 0);
    EXPECT_EQ(image.LoadImageA(png.c_str(), 0, 0, 10, 5, 20, 0), 0);
    EXPECT_EQ(CountColour(image, 0xFF000000u), 240);

    ASSERT_EQ(image.LoadImageA(png.c_str(), 4, 2, 30, 9, -3, 5), 1);
    const Rgb first = reference.At(7, 2);
    EXPECT_EQ(BytesAt(image, 0, 5), (std::vector<int>{first.red, first.green, first.blue, 0xFF}));
    const Rgb last = reference.At(26, 8);
    EXPECT_EQ(BytesAt(image, 19, 11), (std::vector<int>{last.red, last.green, last.blue, 0xFF}));
    EXPECT_EQ(image.GetPixel(5, 4), 0xFF000000u);

    // A PNG is not taken for anything else; the name does not matter.
    image.ClearImage(0xFF000000);
    const std::string renamed = scratch.Write("picture.bmp", ReadBytes(png));
    EXPECT_EQ(image.LoadImageA(renamed.c_str(), 0, 0, 20, 12, 0, 0), 1);
    EXPECT_EQ(image.GetPixel(19, 8), Opaque(reference.At(19, 8)));
}

TEST_F(ImageReaders, JpegNeedsItsIdentifierAndGreyComesOutGrey)
{
    image.SetSize(70, 9);
    std::vector<uint8_t> bytes = ReadBytes(DataPath("colour.jpg"));
    ASSERT_GT(bytes.size(), 10u);
    ASSERT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 10), "JFIF");
    bytes[7] = 'X';
    EXPECT_EQ(image.LoadImageA(scratch.Write("jxif.jpg", bytes).c_str(), 0, 0, 70, 9, 0, 0), 0);
    EXPECT_EQ(CountColour(image, 0xFF000000u), 630);

    ASSERT_EQ(image.LoadImageA(DataPath("grey.jpg").c_str(), 0, 0, 70, 9, 0, 0), 1);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 70; ++x) {
            const std::vector<int> p = BytesAt(image, x, y);
            EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
        }
}

TEST_F(ImageReaders, NothingLoadsWithoutABufferOrAFile)
{
    int w = 0, h = 0;
    EXPECT_EQ(image.LoadImageA(DataPath("bmp24.bmp").c_str(), 0, 0, 5, 5, 0, 0), 0);
    EXPECT_EQ(image.GetImageSize(DataPath("bmp24.bmp").c_str(), &w, &h), 0);
    image.SetSize(5, 5);
    EXPECT_EQ(image.GetImageSize(DataPath("bmp24.bmp").c_str(), nullptr, &h), 0);
    EXPECT_EQ(image.GetImageSize(nullptr, &w, &h), 0);
    EXPECT_EQ(image.LoadImageA(nullptr, 0, 0, 5, 5, 0, 0), 0);
    EXPECT_EQ(image.LoadImageA(DataPath("missing.bmp").c_str(), 0, 0, 5, 5, 0, 0), 0);
    EXPECT_EQ(image.GetImageSize(DataPath("missing.bmp").c_str(), &w, &h), 0);
    EXPECT_EQ(image.GetImageSize(DataPath("bmp24.bmp.ppm").c_str(), &w, &h), 0);
    EXPECT_EQ(w, 0);
}

TEST_F(ImageReaders, DamagedFilesLoadPartlyOrFailButNeverCrash)
{
    image.SetSize(70, 9);
    // A 24-bit BMP cut after three rows keeps the bottom three.
    std::vector<uint8_t> bmp = ReadBytes(DataPath("bmp24.bmp"));
    const size_t row = (70 * 3 + 3) & ~size_t(3);
    image.ClearImage(0xFF000000);
    ASSERT_EQ(image.LoadImageA(scratch.Write("cut.bmp", std::vector<uint8_t>(bmp.begin(), bmp.begin() + 54 + 3 * row + 7))
                                   .c_str(),
                               0, 0, 70, 9, 0, 0),
              1);
    Ppm reference;
    ASSERT_TRUE(Ppm::Read(DataPath("bmp24.bmp.ppm"), reference));
    EXPECT_EQ(image.GetPixel(3, 6), Opaque(reference.At(3, 6)));
    EXPECT_EQ(image.GetPixel(3, 5), 0xFF000000u);

    uint32_t seed = 12345;
    auto random = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (const char *name : {"bmp1.bmp", "bmp4.bmp", "bmp8.bmp", "bmp24.bmp", "direct.pict", "palette.pict",
                             "colour.jpg", "grey.jpg", "progressive.jpg", "cmyk.jpg", "rgb.png", "palette.png",
                             "grey2.png", "rgba.png", "rgb16.png", "interlaced.png"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> whole = ReadBytes(DataPath(name));
        const size_t step = whole.size() / 50 + 1;
        for (size_t length = 0; length < whole.size(); length += step) {
            const std::string path = scratch.Write("cut", std::vector<uint8_t>(whole.begin(), whole.begin() + length));
            const int loaded = image.LoadImageA(path.c_str(), 0, 0, 70, 9, 0, 0);
            EXPECT_TRUE(loaded == 0 || loaded == 1);
            int w = 0, h = 0;
            if (image.GetImageSize(path.c_str(), &w, &h)) {
                EXPECT_TRUE(w == 70 && h == 9) << length;
            }
        }
        for (int variant = 0; variant < 60; ++variant) {
            std::vector<uint8_t> spoilt = whole;
            const int changes = 1 + variant % 4;
            for (int c = 0; c < changes; ++c)
                spoilt[random() % spoilt.size()] = static_cast<uint8_t>(random());
            const std::string path = scratch.Write("spoilt", spoilt);
            const int loaded = image.LoadImageA(path.c_str(), variant % 7, variant % 3, 70, 9, variant % 5 - 2, 0);
            EXPECT_TRUE(loaded == 0 || loaded == 1);
            int w = 0, h = 0;
            image.GetImageSize(path.c_str(), &w, &h);
        }
    }
}

// Inputs the fuzz targets found, kept so they stay harmless.
TEST_F(ImageReaders, InputsFoundByFuzzingStayHarmless)
{
    image.SetSize(64, 48);
    for (const char *name : {"damaged/pict-component-overflow.pict", "damaged/jpeg-dropped-row.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = DataPath(name);
        int w = 0, h = 0;
        image.GetImageSize(path.c_str(), &w, &h);
        const int whole = image.LoadImageA(path.c_str(), 0, 0, 1 << 20, 1 << 20, 0, 0);
        const int part = image.LoadImageA(path.c_str(), 3, 1, 40, 30, -7, 20);
        EXPECT_TRUE(whole == 0 || whole == 1);
        EXPECT_TRUE(part == 0 || part == 1);
    }
}
