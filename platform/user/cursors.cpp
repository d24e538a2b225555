// Cursors: the system shapes (their handle is their IDC_ number), cursors made from AND and XOR
// planes, and the one shape shown on the screen.
#include "internal/system.h"

#include <cstring>

using namespace vorla::platform;

namespace {

constexpr uintptr_t kFirstSystemShape = 32512;
constexpr uintptr_t kLastSystemShape = 32651;
constexpr int kLargestCursor = 256;

bool IsSystemShape(uintptr_t id) { return id >= kFirstSystemShape && id <= kLastSystemShape; }

void ShowShape(HCURSOR cursor) {
    System &s = TheSystem();
    uintptr_t id = reinterpret_cast<uintptr_t>(cursor);
    auto made = s.cursors.find(id);
    if (made != s.cursors.end()) {
        const CursorImage &c = made->second;
        CurrentBackend().SetPointerShape(0, c.and_plane.data(), c.xor_plane.data(), c.width, c.height, c.hot_x,
                                         c.hot_y);
    } else {
        CurrentBackend().SetPointerShape(IsSystemShape(id) ? static_cast<int>(id) : 0, nullptr, nullptr, 0, 0, 0, 0);
    }
}

} // namespace

extern "C" {

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // System cursors only: their handle carries the shape number.
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (instance || !IsSystemShape(id)) {
        SetLastError(1813); // ERROR_RESOURCE_TYPE_NOT_FOUND
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(id);
}

HCURSOR WINAPI CreateCursor(HINSTANCE, int hot_x, int hot_y, int width, int height, const void *and_plane,
                            const void *xor_plane) {
    if (!and_plane || !xor_plane || width <= 0 || height <= 0 || width > kLargestCursor ||
        height > kLargestCursor) {
        SetLastError(87); // ERROR_INVALID_PARAMETER
        return nullptr;
    }
    // Monochrome bitmap rows are word-aligned.
    const size_t row = static_cast<size_t>((width + 15) / 16) * 2;
    const size_t bytes = row * static_cast<size_t>(height);
    CursorImage image;
    image.width = width;
    image.height = height;
    image.hot_x = hot_x < 0 ? 0 : (hot_x >= width ? width - 1 : hot_x);
    image.hot_y = hot_y < 0 ? 0 : (hot_y >= height ? height - 1 : hot_y);
    const uint8_t *a = static_cast<const uint8_t *>(and_plane);
    const uint8_t *x = static_cast<const uint8_t *>(xor_plane);
    image.and_plane.assign(a, a + bytes);
    image.xor_plane.assign(x, x + bytes);
    System &s = TheSystem();
    uintptr_t handle = s.next_cursor;
    s.next_cursor += 0x10;
    s.cursors[handle] = std::move(image);
    return reinterpret_cast<HCURSOR>(handle);
}

BOOL WINAPI DestroyCursor(HCURSOR cursor) {
    System &s = TheSystem();
    uintptr_t id = reinterpret_cast<uintptr_t>(cursor);
    if (IsSystemShape(id)) return TRUE; // shared: never destroyed
    if (s.cursors.erase(id) == 0) {
        SetLastError(1402); // ERROR_INVALID_CURSOR_HANDLE
        return FALSE;
    }
    // As on Windows the cursor is gone either way, but destroying the one in use reports failure.
    return s.cursor_shape != cursor;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    System &s = TheSystem();
    uintptr_t id = reinterpret_cast<uintptr_t>(cursor);
    if (cursor && !IsSystemShape(id) && s.cursors.find(id) == s.cursors.end()) {
        SetLastError(1402);
        return nullptr;
    }
    HCURSOR previous = s.cursor_shape;
    if (cursor != previous) {
        s.cursor_shape = cursor;
        ShowShape(cursor);
    }
    return previous;
}

HCURSOR WINAPI GetCursor(void) { return TheSystem().cursor_shape; }

} // extern "C"
