// VLCursor: system cursors by id and monochrome cursors built at the system's cursor size.
#include "vorla/VLCursor.h"

namespace {

constexpr int SlotTotal = 32;
constexpr int FirstOwnSlot = 8;
constexpr int OwnIdOffset = 92; // slot 8 gets id 100

} // namespace

VLCursor::VLCursor()
{
    for (int slot = 0; slot < SlotTotal; ++slot) {
        handles[slot] = nullptr;
        ids[slot] = 0;
    }
    const LPCSTR system[4] = {IDC_ARROW, IDC_CROSS, IDC_IBEAM, IDC_WAIT};
    for (int slot = 0; slot < 4; ++slot) {
        handles[slot] = LoadCursorA(nullptr, system[slot]);
        ids[slot] = slot + 1;
    }
    currentId = 0;
}

VLCursor::~VLCursor()
{
    // System cursors are shared and never destroyed.
    for (int slot = FirstOwnSlot; slot < SlotTotal; ++slot) {
        if (handles[slot])
            DestroyCursor(handles[slot]);
    }
}

int VLCursor::CreateCursor(unsigned char *image, unsigned char *mask, int hotX, int hotY)
{
    if (hotX < 0 || hotX > 15 || hotY < 0 || hotY > 15 || !image || !mask)
        return 0;
    int slot = FirstOwnSlot;
    while (slot < SlotTotal && handles[slot])
        ++slot;
    if (slot == SlotTotal)
        return 0;
    int width = GetSystemMetrics(SM_CXCURSOR);
    int height = GetSystemMetrics(SM_CYCURSOR);
    if (width > 32 || height > 32)
        return 0;
    if (width < 16 || height < 16 || (width == 16 && height == 16)) {
        width = 16;
        height = 16;
    }
    // Monochrome rows are word-aligned (a 24-pixel row takes 4 bytes); outside the 16 x 16
    // input the cursor is transparent: AND 1, XOR 0.
    const int rowBytes = (width + 15) / 16 * 2;
    unsigned char andPlane[32 * 4];
    unsigned char xorPlane[32 * 4];
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < rowBytes; ++column) {
            const int at = row * rowBytes + column;
            if (row < 16 && column < 2) {
                const unsigned char maskByte = mask[row * 2 + column];
                andPlane[at] = maskByte;
                xorPlane[at] = static_cast<unsigned char>(image[row * 2 + column] & ~maskByte);
            } else {
                andPlane[at] = 0xFF;
                xorPlane[at] = 0;
            }
        }
    }
    HCURSOR made = ::CreateCursor(nullptr, hotX, hotY, width, height, andPlane, xorPlane);
    if (!made)
        return 0;
    handles[slot] = made;
    ids[slot] = slot + OwnIdOffset;
    return ids[slot];
}

int VLCursor::SetCursor(int id)
{
    if (id < 1)
        return 0;
    for (int slot = 0; slot < SlotTotal; ++slot) {
        if (ids[slot] == id) {
            if (handles[slot]) {
                ::SetCursor(handles[slot]);
                currentId = id;
            }
            break;
        }
    }
    return 0;
}

int VLCursor::GetCursor()
{
    return currentId;
}
