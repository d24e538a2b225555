// JPEG files whose headers claim far more than they hold: a load may cost what the image receives,
// plus a fixed ceiling for the pictures the decoder must hold whole, never what a header claims.
#include "support.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sys/resource.h>

namespace {

// The bounds are loose for shared build machines; the old reader took seconds and hundreds of
// megabytes on the same files. Time is the processor time of the call, which other work on the
// machine does not stretch.
constexpr double MostSeconds = 0.5;
constexpr long long MostGrowthKB = 64 * 1024;

// Offset of the first marker of one of the kinds, or 0.
size_t FindMarker(const std::vector<uint8_t> &bytes, std::initializer_list<uint8_t> kinds)
{
    size_t at = 2;
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
        for (uint8_t kind : kinds)
            if (bytes[at + 1] == kind)
                return at;
        at += 2 + (static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3]);
    }
    return 0;
}

// The same file with the frame claiming another size.
std::vector<uint8_t> Claiming(std::vector<uint8_t> bytes, int width, int height)
{
    const size_t frame = FindMarker(bytes, {0xC0, 0xC1, 0xC2});
    EXPECT_NE(frame, 0u);
    if (frame == 0)
        return bytes;
    bytes[frame + 5] = static_cast<uint8_t>(height >> 8);
    bytes[frame + 6] = static_cast<uint8_t>(height);
    bytes[frame + 7] = static_cast<uint8_t>(width >> 8);
    bytes[frame + 8] = static_cast<uint8_t>(width);
    return bytes;
}

// The headers up to the first scan, then that scan's header count times with two bytes of data
// each: every scan is a pass over the whole picture, whatever data it has.
std::vector<uint8_t> ManyScans(const std::vector<uint8_t> &bytes, int count)
{
    const size_t scan = FindMarker(bytes, {0xDA});
    EXPECT_NE(scan, 0u);
    if (scan == 0)
        return bytes;
    const size_t length = 2 + (static_cast<size_t>(bytes[scan + 2]) << 8 | bytes[scan + 3]);
    std::vector<uint8_t> out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(scan));
    for (int n = 0; n < count; ++n) {
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(scan),
                   bytes.begin() + static_cast<std::ptrdiff_t>(scan + length));
        out.insert(out.end(), {0x00, 0x00});
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

long long StatusKB(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0)
            return std::atoll(line.c_str() + length);
    return -1;
}

double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Cost {
    double seconds;
    long long growthKB; // peak resident memory during the call, above what it was before
};

template <class Call> Cost Measure(Call call)
{
    // Start the peak afresh where the system allows it; otherwise this process's earlier peak
    // can only make the growth look larger.
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    const long long before = StatusKB("VmRSS:");
    const double start = ProcessorSeconds();
    call();
    const double seconds = ProcessorSeconds() - start;
    long long peak = StatusKB("VmHWM:");
    if (peak < 0) {
        rusage usage;
        getrusage(RUSAGE_SELF, &usage);
        peak = usage.ru_maxrss;
    }
    return {seconds, peak - before};
}

class HostileReaders : public ::testing::Test {
protected:
    FreshSystem fresh;
    VLImage image;
    ScratchFiles scratch;
};

} // namespace

TEST_F(HostileReaders, JpegLoadsDecodeOnlyTheRowsAndColumnsTheImageReceives)
{
    image.SetSize(64, 64);
    // A 748-byte baseline file claiming 65000 x 65000: its data runs out in the first rows, and
    // the decoder makes the rest the grey of blocks without coefficients.
    const std::string huge = scratch.Write("huge.jpg", Claiming(ReadBytes(DataPath("colour.jpg")), 65000, 65000));
    struct Part {
        int sx, sy, dx, dy;
    };
    for (const Part &part : {Part{0, 30000, 0, 0}, Part{64000, 64990, 3, 1}, Part{20000, 100, -8, -8}}) {
        SCOPED_TRACE(part.sx);
        image.ClearImage(0xFF000000);
        int loaded = 0;
        const Cost cost = Measure([&] { loaded = image.LoadImageA(huge.c_str(), part.sx, part.sy, 64, 64, part.dx, part.dy); });
        EXPECT_LT(cost.seconds, MostSeconds);
        EXPECT_LT(cost.growthKB, MostGrowthKB);
        ASSERT_EQ(loaded, 1);
        const int columns = std::min(64 - part.dx, std::min(64, 65000 - part.sx) + std::min(part.dx, 0));
        const int rows = std::min(64 - part.dy, std::min(64, 65000 - part.sy) + std::min(part.dy, 0));
        EXPECT_EQ(CountColour(image, 0xFF808080u), columns * rows);
        EXPECT_EQ(image.GetPixel(std::max(part.dx, 0), std::max(part.dy, 0)), 0xFF808080u);
    }

    // Whatever is skipped or cropped, each part of a real picture comes out as in the whole one:
    // the decoder's neighbours of a kept pixel (chroma, smoothing of missing coefficients) stay.
    const std::vector<uint8_t> progressive = ReadBytes(DataPath("wide-progressive.jpg"));
    const std::string cut = scratch.Write(
        "cut.jpg", std::vector<uint8_t>(progressive.begin(), progressive.begin() + static_cast<std::ptrdiff_t>(progressive.size() * 2 / 5)));
    for (const std::string &path : {DataPath("wide.jpg"), DataPath("wide-progressive.jpg"), cut}) {
        SCOPED_TRACE(path);
        int width = 0, height = 0;
        ASSERT_EQ(image.GetImageSize(path.c_str(), &width, &height), 1);
        VLImage whole;
        whole.SetSize(width, height);
        ASSERT_EQ(whole.LoadImageA(path.c_str(), 0, 0, width, height, 0, 0), 1);
        int wrong = 0;
        for (int sy = 0; sy < height; sy += 7)
            for (int sx = 0; sx < width; sx += 5) {
                // Rectangles within the image, and ones cut by its edges.
                const int dx = sx % 2 ? -3 : 2, dy = sy % 2 ? -2 : 1;
                const int w = sx % 3 ? 40 : 17, h = sy % 3 ? 30 : 11;
                image.ClearImage(0xFF000000);
                ASSERT_EQ(image.LoadImageA(path.c_str(), sx, sy, w, h, dx, dy), 1);
                for (int y = 0; y < 64; ++y)
                    for (int x = 0; x < 64; ++x) {
                        const int px = sx + x - dx, py = sy + y - dy;
                        const bool placed = px >= sx && px < std::min(sx + w, width) && py >= sy &&
                                            py < std::min(sy + h, height);
                        const unsigned long want = placed ? whole.GetPixel(px, py) : 0xFF000000u;
                        if (image.GetPixel(x, y) != want && ++wrong <= 3)
                            ADD_FAILURE() << "from " << sx << "," << sy << ": pixel " << px << "," << py;
                    }
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(HostileReaders, ProgressiveJpegsAreHeldToAFixedCeiling)
{
    image.SetSize(64, 64);
    const std::vector<uint8_t> progressive = ReadBytes(DataPath("progressive.jpg"));
    // A kilobyte claiming 16000 x 16000: the whole picture's coefficients would take 740 MB
    // before the first row could come out.
    const std::string huge = scratch.Write("huge.jpg", Claiming(progressive, 16000, 16000));
    // 6400 x 6400 fits (123 MB), but the file repeats its first scan a thousand times; each would
    // be a pass over all 960 000 blocks of the picture.
    const std::string scans = scratch.Write("scans.jpg", ManyScans(Claiming(progressive, 6400, 6400), 1000));
    for (const std::string &path : {huge, scans}) {
        SCOPED_TRACE(path);
        int loaded = -1;
        const Cost cost = Measure([&] { loaded = image.LoadImageA(path.c_str(), 0, 0, 64, 64, 0, 0); });
        EXPECT_EQ(loaded, 0);
        EXPECT_LT(cost.seconds, MostSeconds);
        if (path == huge) {
            EXPECT_LT(cost.growthKB, MostGrowthKB);
        }
        EXPECT_EQ(CountColour(image, 0xFF000000u), 64 * 64);
    }
    int w = 0, h = 0;
    EXPECT_EQ(image.GetImageSize(huge.c_str(), &w, &h), 1); // the header alone is read cheaply
    EXPECT_EQ(w, 16000);
}
