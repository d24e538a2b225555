// A small white drawing surface for the drawing tests, read back as text art so tests can state
// exact pixel sets: '.' white, '#' black, 'r' red, 'g' green, 'b' blue, '?' anything else.
#pragma once

#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace board {

constexpr COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Red = RGB(255, 0, 0),
                   Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255);

// A memory context holding a 32-bit compatible bitmap. Objects handed to Use stay selected and
// are deleted with the board.
class Board {
public:
    Board(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        SelectObject(dc_, bitmap_);
        Clear();
    }
    ~Board() {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
        for (HGDIOBJ o : owned_) DeleteObject(o);
    }
    Board(const Board &) = delete;
    Board &operator=(const Board &) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void Clear(COLORREF colour = White) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    void Use(HGDIOBJ object) {
        SelectObject(dc_, object);
        owned_.push_back(object);
    }
    void Pen(int style, int width, COLORREF colour) { Use(CreatePen(style, width, colour)); }
    void Brush(COLORREF colour) { Use(CreateSolidBrush(colour)); }
    void NoPen() { SelectObject(dc_, GetStockObject(NULL_PEN)); }
    void NoBrush() { SelectObject(dc_, GetStockObject(NULL_BRUSH)); }

    // GetPixel answers only inside the clip: read after SelectClipRgn(dc, NULL).
    std::string Art() const {
        std::string out;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) out += Letter(GetPixel(dc_, x, y));
            out += '\n';
        }
        return out;
    }
    int Count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += GetPixel(dc_, x, y) == colour;
        return n;
    }
    vorla::testing::Image Picture() const {
        vorla::testing::Image image;
        image.width = width_;
        image.height = height_;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                COLORREF c = GetPixel(dc_, x, y);
                image.pixels.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
            }
        return image;
    }
    static char Letter(COLORREF c) {
        return c == White ? '.' : c == Black ? '#' : c == Red ? 'r' : c == Green ? 'g' : c == Blue ? 'b' : '?';
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    std::vector<HGDIOBJ> owned_;
};

// Text art joined from rows, so expected pictures read as pictures in the source.
inline std::string Rows(std::initializer_list<const char *> rows) {
    std::string out;
    for (const char *r : rows) (out += r) += '\n';
    return out;
}

} // namespace board
