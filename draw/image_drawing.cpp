// VLImage's software drawing: pixels, runs, clipped lines, rectangles, circles, clipped and
// filled polygons and Bézier curves, all writing the foreground pixel straight into the buffer.
#include "vorla/VLImage.h"

#include "image_access.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// a * b / c truncated toward zero; c is never 0. The product of two coordinate differences can
// pass 64 bits only for coordinates near the int limits, where a long double is close enough.
long long MulDiv(long long a, long long b, long long c)
{
    const unsigned long long ua = static_cast<unsigned long long>(a < 0 ? -a : a);
    const unsigned long long ub = static_cast<unsigned long long>(b < 0 ? -b : b);
    if (ua == 0 || ub <= static_cast<unsigned long long>(LLONG_MAX) / ua)
        return a * b / c;
    const long double exact = static_cast<long double>(a) * static_cast<long double>(b) / static_cast<long double>(c);
    return static_cast<long long>(exact);
}

struct Point {
    long long x;
    long long y;
};

int Clamp(long long value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Polygons of at most this many points are filled; clipping against four edges at most doubles
// the list at each edge, so the working lists can never overflow.
constexpr int MostFillPoints = 32;
constexpr int MostClippedPoints = MostFillPoints * 16;

// One Sutherland-Hodgman pass: points inside the edge stay, an edge crossing adds the crossing.
template <typename Inside, typename Cross>
int ClipEdge(const Point *in, int count, Point *out, Inside inside, Cross cross)
{
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const Point &p = in[i];
        const Point &q = in[(i + 1) % count];
        const bool pIn = inside(p);
        if (pIn)
            out[written++] = p;
        if (pIn != inside(q))
            out[written++] = cross(p, q);
    }
    return written;
}

// floor(sqrt(n)) exactly, for any 64-bit n.
unsigned long long SquareRoot(unsigned long long n)
{
    constexpr unsigned long long Largest = 0xFFFFFFFFull; // the root of the largest n
    unsigned long long root = static_cast<unsigned long long>(std::sqrt(static_cast<long double>(n)));
    if (root > Largest)
        root = Largest;
    while (root > 0 && root * root > n)
        --root;
    while (root < Largest && (root + 1) * (root + 1) <= n)
        ++root;
    return root;
}

// The circle stepping of radius r >= 1 (d = j = r, i = 0; d -= 2i + 1, i += 1; when d < 0, j -= 1
// and d += 2j; while j >= i) keeps d = r^2 - i^2 - j^2 + j after every step, and so draws at step i
// the offset J(i), the largest j with j(j - 1) <= r^2 - i^2; it draws step 0 and every later step
// with J(i) >= i. The offset of step i, or -1 when the stepping never draws that step.
long long CircleOffset(long long r, long long i)
{
    if (i < 0 || i > r)
        return -1;
    const unsigned long long room = static_cast<unsigned long long>(r * r - i * i);
    // j(j - 1) <= room exactly when (2j - 1)^2 <= 4 room + 1.
    const long long j = static_cast<long long>((SquareRoot(4 * room + 1) + 1) / 2);
    return i > 0 && j < i ? -1 : j;
}

// The largest drawn step i whose offset J(i) is j, or -1 when no drawn step has that offset.
long long WidestStepAt(long long r, long long j)
{
    // The steps with J(i) >= j are i = 0 .. last(j), where last(j)^2 <= r^2 - j(j - 1).
    const auto last = [r](long long k) {
        const long long room = r * r - k * (k - 1);
        return room < 0 ? -1 : static_cast<long long>(SquareRoot(static_cast<unsigned long long>(room)));
    };
    if (j < 0 || j > r)
        return -1;
    long long widest = last(j);
    if (widest > j)
        widest = j; // later steps are not drawn (J(i) < i), except step 0
    return widest > last(j + 1) ? widest : -1;
}

} // namespace

void VLImage::SetForegroundColor(unsigned long colour)
{
    foregroundColour = static_cast<unsigned int>(colour);
    foregroundBytes[0] = static_cast<unsigned char>(foregroundColour >> 24);
    foregroundBytes[1] = static_cast<unsigned char>(foregroundColour >> 16);
    foregroundBytes[2] = static_cast<unsigned char>(foregroundColour >> 8);
    foregroundBytes[3] = static_cast<unsigned char>(foregroundColour);
    foregroundPixel = ImageAccess::PixelOf(foregroundColour);
}

void VLImage::ClearImage(unsigned long colour)
{
    if (!pixels || attached)
        return;
    ImageAccess::Fill(pixels, static_cast<size_t>(width) * static_cast<size_t>(height),
                      ImageAccess::PixelOf(static_cast<unsigned int>(colour)));
}

void VLImage::SetPixel(int px, int py)
{
    if (!pixels || px < 0 || py < 0 || px >= width || py >= height)
        return;
    std::memcpy(pixels + (static_cast<size_t>(py) * width + px) * 4, &foregroundPixel, 4);
}

unsigned long VLImage::GetPixel(int px, int py)
{
    if (!pixels || px < 0 || py < 0 || px >= width || py >= height)
        return 0;
    const unsigned char *pixel = pixels + (static_cast<size_t>(py) * width + px) * 4;
    return 0xFF000000u | static_cast<unsigned int>(pixel[0]) << 16 | static_cast<unsigned int>(pixel[1]) << 8 | pixel[2];
}

void VLImage::DrawHLine(int x1, int py, int x2)
{
    if (!pixels || py < 0 || py >= height)
        return;
    int left = x1 < x2 ? x1 : x2;
    int right = x1 < x2 ? x2 : x1;
    if (right < 0 || left >= width)
        return;
    if (left < 0)
        left = 0;
    if (right >= width)
        right = width - 1;
    ImageAccess::Fill(pixels + (static_cast<size_t>(py) * width + left) * 4, static_cast<size_t>(right - left) + 1,
                      foregroundPixel);
}

void VLImage::DrawVLine(int px, int y1, int y2)
{
    if (!pixels || px < 0 || px >= width)
        return;
    int top = y1 < y2 ? y1 : y2;
    int bottom = y1 < y2 ? y2 : y1;
    if (bottom < 0 || top >= height)
        return;
    if (top < 0)
        top = 0;
    if (bottom >= height)
        bottom = height - 1;
    unsigned char *pixel = pixels + (static_cast<size_t>(top) * width + px) * 4;
    for (int row = top; row <= bottom; ++row, pixel += lineBytes)
        std::memcpy(pixel, &foregroundPixel, 4);
}

void VLImage::DrawLine(int x1, int y1, int x2, int y2)
{
    if (!pixels)
        return;
    if (x1 == x2) {
        DrawVLine(x1, y1, y2);
        return;
    }
    if (y1 == y2) {
        DrawHLine(x1, y1, x2);
        return;
    }
    // Clipped analytically first, so a long line far outside costs nothing per pixel.
    const long long w = width;
    const long long h = height;
    Point a = {x1, y1};
    Point b = {x2, y2};
    if ((a.x < 0 && b.x < 0) || (a.x >= w && b.x >= w) || (a.y < 0 && b.y < 0) || (a.y >= h && b.y >= h))
        return;
    if (a.x < 0)
        a = Point{0, a.y - MulDiv(b.y - a.y, a.x, b.x - a.x)};
    else if (b.x < 0)
        b = Point{0, a.y - MulDiv(b.y - a.y, a.x, b.x - a.x)};
    if (a.x >= w)
        a = Point{w - 1, a.y + MulDiv(w - 1 - a.x, b.y - a.y, b.x - a.x)};
    else if (b.x >= w)
        b = Point{w - 1, a.y + MulDiv(w - 1 - a.x, b.y - a.y, b.x - a.x)};
    if ((a.y < 0 && b.y < 0) || (a.y >= h && b.y >= h))
        return;
    if (a.y < 0)
        a = Point{a.x - MulDiv(b.x - a.x, a.y, b.y - a.y), 0};
    else if (b.y < 0)
        b = Point{a.x - MulDiv(b.x - a.x, a.y, b.y - a.y), 0};
    if (a.y >= h)
        a = Point{a.x + MulDiv(h - 1 - a.y, b.x - a.x, b.y - a.y), h - 1};
    else if (b.y >= h)
        b = Point{a.x + MulDiv(h - 1 - a.y, b.x - a.x, b.y - a.y), h - 1};
    if ((a.x < 0 && b.x < 0) || (a.x >= w && b.x >= w))
        return;

    // From A towards B: n pixels along the major axis, the end point itself not written.
    const long long dx = b.x - a.x;
    const long long dy = b.y - a.y;
    const long long adx = dx < 0 ? -dx : dx;
    const long long ady = dy < 0 ? -dy : dy;
    const bool xMajor = ady <= adx;
    const long long n = xMajor ? adx : ady;
    const long long minor = xMajor ? ady : adx;
    if (n < 1)
        return;
    long long stepMajor = xMajor ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
    long long stepMinor = xMajor ? (dy < 0 ? -1 : 1) : (dx < 0 ? -1 : 1);
    long long major = xMajor ? a.x : a.y;
    long long other = xMajor ? a.y : a.x;
    long long error = n >> 1;
    for (long long i = 0; i < n; ++i) {
        const long long px = xMajor ? major : other;
        const long long py = xMajor ? other : major;
        if (px >= 0 && py >= 0 && px < w && py < h)
            std::memcpy(pixels + (static_cast<size_t>(py) * width + static_cast<size_t>(px)) * 4, &foregroundPixel, 4);
        major += stepMajor;
        error -= minor;
        if (error < 0) {
            other += stepMinor;
            error += n;
        }
    }
}

void VLImage::DrawRect(int x1, int y1, int x2, int y2)
{
    DrawHLine(x1, y1, x2);
    DrawHLine(x1, y2, x2);
    DrawVLine(x1, y1, y2);
    DrawVLine(x2, y1, y2);
}

void VLImage::DrawFillRect(int x1, int y1, int x2, int y2)
{
    if (!pixels)
        return;
    int left = x1 < x2 ? x1 : x2;
    int right = x1 < x2 ? x2 : x1;
    int top = y1 < y2 ? y1 : y2;
    int bottom = y1 < y2 ? y2 : y1;
    if (right < 0 || left >= width || bottom < 0 || top >= height)
        return;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (right >= width)
        right = width - 1;
    if (bottom >= height)
        bottom = height - 1;
    const size_t run = static_cast<size_t>(right - left) + 1;
    if (run == static_cast<size_t>(width)) {
        // Whole rows lie next to each other: one run.
        ImageAccess::Fill(pixels + static_cast<size_t>(top) * lineBytes, run * (static_cast<size_t>(bottom - top) + 1),
                          foregroundPixel);
        return;
    }
    unsigned char *start = pixels + (static_cast<size_t>(top) * width + left) * 4;
    for (int row = top; row <= bottom; ++row, start += lineBytes)
        ImageAccess::Fill(start, run, foregroundPixel);
}

void VLImage::DrawCircle(int cx, int cy, int r)
{
    if (!pixels || r < 0)
        return;
    // A circle wholly outside the buffer writes nothing; skip its steps.
    if (static_cast<long long>(cx) + r < 0 || static_cast<long long>(cx) - r >= width ||
        static_cast<long long>(cy) + r < 0 || static_cast<long long>(cy) - r >= height)
        return;
    if (r == 0) {
        SetPixel(cx, cy);
        return;
    }
    // Only steps whose row offset meets a buffer row (cy +- i) or whose column offset meets a
    // buffer column (cx +- i) can write a pixel, so the cost follows the buffer, not the radius.
    const auto step = [&](long long i) {
        const long long j = CircleOffset(r, i);
        if (j < 0)
            return;
        const long long xs[8] = {cx + j, cx - j, cx + j, cx - j, cx + i, cx - i, cx + i, cx - i};
        const long long ys[8] = {cy + i, cy + i, cy - i, cy - i, cy + j, cy + j, cy - j, cy - j};
        for (int k = 0; k < 8; ++k)
            if (xs[k] >= 0 && ys[k] >= 0 && xs[k] < width && ys[k] < height)
                std::memcpy(pixels + (static_cast<size_t>(ys[k]) * width + static_cast<size_t>(xs[k])) * 4,
                            &foregroundPixel, 4);
    };
    for (long long row = 0; row < height; ++row)
        step(std::llabs(row - cy));
    for (long long column = 0; column < width; ++column)
        step(std::llabs(column - cx));
}

void VLImage::DrawFillCircle(int cx, int cy, int r)
{
    if (!pixels || r < 0)
        return;
    if (static_cast<long long>(cx) + r < 0 || static_cast<long long>(cx) - r >= width ||
        static_cast<long long>(cy) + r < 0 || static_cast<long long>(cy) - r >= height)
        return;
    if (r == 0) {
        DrawHLine(cx, cy, cx);
        return;
    }
    // Each buffer row gets the runs the stepping draws on it: the run of half-width J(i) of the
    // step i whose row offset it is, and the runs of half-width i of the steps whose column offset
    // J(i) it is. Those runs are nested, so the widest drawn one stands for them all.
    for (long long row = 0; row < height; ++row) {
        const long long offset = std::llabs(row - cy);
        const long long half = CircleOffset(r, offset);
        if (half >= 0)
            DrawHLine(Clamp(cx - half), static_cast<int>(row), Clamp(cx + half));
        const long long widest = WidestStepAt(r, offset);
        if (widest >= 0)
            DrawHLine(Clamp(cx - widest), static_cast<int>(row), Clamp(cx + widest));
    }
}

void VLImage::DrawPolygon(VLSTPosition *points, int count)
{
    if (!points || count < 3 || !pixels)
        return;
    for (int i = 0; i < count; ++i) {
        const VLSTPosition &from = points[i];
        const VLSTPosition &to = points[(i + 1) % count];
        DrawLine(from.x, from.y, to.x, to.y);
    }
}

void VLImage::DrawFillPolygon(VLSTPosition *points, int count)
{
    if (!points || count < 3 || count > MostFillPoints || !pixels)
        return;
    const long long w = width;
    const long long h = height;
    Point first[MostClippedPoints];
    Point second[MostClippedPoints];
    for (int i = 0; i < count; ++i)
        first[i] = Point{points[i].x, points[i].y};

    // The bottom edge lies at the height itself: rows are filled top-inclusive, bottom-exclusive.
    int n = ClipEdge(first, count, second, [](const Point &p) { return p.x >= 0; },
                     [](const Point &p, const Point &q) { return Point{0, p.y - MulDiv(q.y - p.y, p.x, q.x - p.x)}; });
    if (n < 3)
        return;
    n = ClipEdge(second, n, first, [w](const Point &p) { return p.x <= w - 1; },
                 [w](const Point &p, const Point &q) {
                     return Point{w - 1, p.y + MulDiv(q.y - p.y, w - 1 - p.x, q.x - p.x)};
                 });
    if (n < 3)
        return;
    n = ClipEdge(first, n, second, [](const Point &p) { return p.y >= 0; },
                 [](const Point &p, const Point &q) { return Point{p.x - MulDiv(q.x - p.x, p.y, q.y - p.y), 0}; });
    if (n < 3)
        return;
    n = ClipEdge(second, n, first, [h](const Point &p) { return p.y <= h; },
                 [h](const Point &p, const Point &q) { return Point{p.x + MulDiv(q.x - p.x, h - p.y, q.y - p.y), h}; });
    if (n < 3)
        return;

    const Point *list = first;
    int top = 0;
    long long bottomY = list[0].y;
    for (int i = 1; i < n; ++i) {
        if (list[i].y < list[top].y)
            top = i;
        if (list[i].y > bottomY)
            bottomY = list[i].y;
    }
    if (list[top].y >= bottomY)
        return;

    // Two walkers go down the chains on either side of the top vertex.
    struct Walker {
        int direction;
        int target;
        long long x, step, a, b, error;
    };
    Walker walkers[2] = {{-1, top, list[top].x, 1, 0, 0, 0}, {1, top, list[top].x, 1, 0, 0, 0}};
    for (long long row = list[top].y; row < bottomY; ++row) {
        for (Walker &walker : walkers) {
            if (list[walker.target].y != row)
                continue;
            do {
                walker.x = list[walker.target].x;
                walker.target = (walker.target + walker.direction + n) % n;
            } while (list[walker.target].y == row);
            const Point &to = list[walker.target];
            walker.step = to.x < walker.x ? -1 : 1;
            walker.a = 2 * (to.x < walker.x ? walker.x - to.x : to.x - walker.x);
            walker.b = 2 * (to.y - row);
            walker.error = walker.a - (to.y - row);
        }
        DrawHLine(static_cast<int>(walkers[0].x), static_cast<int>(row), static_cast<int>(walkers[1].x));
        for (Walker &walker : walkers) {
            if (walker.b >= 1 && walker.error >= 0) {
                do {
                    walker.x += walker.step;
                    walker.error -= walker.b;
                } while (walker.error >= 0);
            }
            walker.error += walker.a;
        }
    }
}

void VLImage::DrawBezier(VLSTPosition *points, int count)
{
    if (!points || count < 4 || !pixels)
        return;
    VLSTPosition current = points[0];
    const int segments = (count - 1) / 3;
    for (int k = 0; k < segments; ++k) {
        const VLSTPosition *p = points + 3 * k;
        double t = 0.0;
        for (int step = 0; step < 11; ++step, t += 0.1) {
            VLSTPosition next;
            if (t <= 0.0) {
                next = p[0];
            } else if (t >= 1.0) {
                next = p[3];
            } else {
                const double u = 1.0 - t;
                const double fx = p[0].x * u * u * u + 3.0 * p[1].x * u * u * t + 3.0 * p[2].x * u * t * t + p[3].x * t * t * t;
                const double fy = p[0].y * u * u * u + 3.0 * p[1].y * u * u * t + 3.0 * p[2].y * u * t * t + p[3].y * t * t * t;
                // The curve stays within its control points; the clamp only guards the conversion.
                next.x = fx <= INT_MIN ? INT_MIN : fx >= INT_MAX ? INT_MAX : static_cast<int>(fx);
                next.y = fy <= INT_MIN ? INT_MIN : fy >= INT_MAX ? INT_MAX : static_cast<int>(fy);
            }
            DrawLine(current.x, current.y, next.x, next.y);
            current = next;
        }
    }
}
