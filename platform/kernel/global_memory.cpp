// Global memory blocks: fixed blocks are their own address, movable ones are reached through
// GlobalLock. The clipboard keeps the blocks handed to it, so a program cannot free those.
#include "internal/kernel.h"
#include "internal/system.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

using namespace vorla::platform;

namespace {

struct Block {
    char *data = nullptr;
    SIZE_T size = 0;
    bool moveable = false;
    unsigned locks = 0;
    bool held_by_system = false;
};

// Blocks outlive window-system resets, as a process's heap would.
struct Blocks {
    std::mutex lock;
    std::map<uintptr_t, Block> by_handle;
};

Blocks &AllBlocks() {
    static Blocks *blocks = new Blocks(); // lives for the process: frees at exit stay safe
    return *blocks;
}

// Larger than a 32-bit size would allow is refused rather than attempted.
constexpr SIZE_T kLargestBlock = static_cast<SIZE_T>(INT_MAX);
// The flags Windows takes (most of them only hints for a 16-bit heap); others are refused.
constexpr UINT kValidFlags = 0x7F72;

Block *Find(Blocks &all, HGLOBAL handle) {
    auto it = all.by_handle.find(reinterpret_cast<uintptr_t>(handle));
    return it == all.by_handle.end() ? nullptr : &it->second;
}

} // namespace

namespace vorla::platform {

bool HoldGlobalForSystem(HGLOBAL handle, bool held) {
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    Block *b = Find(all, handle);
    if (!b) return false;
    b->held_by_system = held;
    return true;
}

void FreeGlobalOfSystem(HGLOBAL handle) {
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    auto it = all.by_handle.find(reinterpret_cast<uintptr_t>(handle));
    if (it == all.by_handle.end()) return;
    std::free(it->second.data);
    all.by_handle.erase(it);
}

bool GlobalBlockText(HGLOBAL handle, std::string &text) {
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    Block *b = Find(all, handle);
    if (!b) return false;
    const void *end = b->size ? std::memchr(b->data, 0, b->size) : nullptr;
    text.assign(b->data, end ? static_cast<const char *>(end) - b->data : b->size);
    return true;
}

} // namespace vorla::platform

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T size) {
    if (flags & ~kValidFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (size > kLargestBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Block b;
    b.size = size;
    b.moveable = (flags & GMEM_MOVEABLE) != 0;
    // Always zeroed: cheap for fresh pages, and a program that forgot GMEM_ZEROINIT reads no garbage.
    // A movable block of no bytes has no memory at all, as on Windows (GlobalLock gives nothing).
    if (size || !b.moveable) {
        b.data = static_cast<char *>(std::calloc(size ? size : 1, 1));
        if (!b.data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    uintptr_t handle = b.moveable ? NewHandle() : reinterpret_cast<uintptr_t>(b.data);
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    if (!all.by_handle.emplace(handle, b).second) { // a handle number met a block's address
        std::free(b.data);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID WINAPI GlobalLock(HGLOBAL handle) {
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    Block *b = Find(all, handle);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!b->moveable) return b->data;
    if (!b->data) {
        SetLastError(ERROR_DISCARDED);
        return nullptr;
    }
    if (b->locks < 0xFF) ++b->locks; // the count saturates, as on Windows
    return b->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL handle) {
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    Block *b = Find(all, handle);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!b->moveable) return TRUE;
    if (b->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--b->locks == 0) {
        SetLastError(ERROR_SUCCESS);
        return FALSE;
    }
    return TRUE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL handle) {
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    Block *b = Find(all, handle);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return b->size;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL handle) {
    if (!handle) return nullptr;
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    auto it = all.by_handle.find(reinterpret_cast<uintptr_t>(handle));
    if (it == all.by_handle.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    // A block the clipboard holds is its to free; freeing it here would leave the clipboard
    // pointing at released memory.
    if (it->second.held_by_system) {
        SetLastError(ERROR_ACCESS_DENIED);
        return handle;
    }
    std::free(it->second.data);
    all.by_handle.erase(it);
    return nullptr;
}

HGLOBAL WINAPI GlobalHandle(LPCVOID address) {
    if (!address) return nullptr;
    Blocks &all = AllBlocks();
    std::lock_guard<std::mutex> hold(all.lock);
    for (auto &entry : all.by_handle)
        if (entry.second.data == address) return reinterpret_cast<HGLOBAL>(entry.first);
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

} // extern "C"
