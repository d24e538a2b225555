// The headless backend: the virtual clock moves only when a loop has nothing else to do.
#include "backend/headless/headless.h"

#include "internal/system.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vorla::platform {

void ComposeScreen(std::vector<uint32_t> &pixels, int &width, int &height);
bool WritePng(const std::string &path, const uint32_t *pixels, int width, int height, int stride);

HeadlessBackend::HeadlessBackend(int screen_width, int screen_height)
    : width_(screen_width > 0 ? screen_width : 1024), height_(screen_height > 0 ? screen_height : 768) {
    if (const char *limit = std::getenv("VORLA_HEADLESS_IDLE_MS")) {
        long value = std::strtol(limit, nullptr, 10);
        if (value > 0) idle_limit_ = static_cast<uint64_t>(value);
    }
}

void HeadlessBackend::ScreenSize(int &width, int &height) const {
    width = width_;
    height = height_;
}

uintptr_t HeadlessBackend::CreateSurface(const SurfaceLayout &) { return next_surface_++; }

void HeadlessBackend::SetPointerShape(int system_shape, const uint8_t *and_plane, const uint8_t *xor_plane, int width,
                                      int height, int hot_x, int hot_y) {
    pointer_shape_ = system_shape;
    pointer_and_.clear();
    pointer_xor_.clear();
    pointer_width_ = pointer_height_ = pointer_hot_x_ = pointer_hot_y_ = 0;
    if (!and_plane || !xor_plane || width <= 0 || height <= 0) return;
    // Monochrome rows are word-aligned.
    const size_t bytes = static_cast<size_t>((width + 15) / 16) * 2 * static_cast<size_t>(height);
    pointer_and_.assign(and_plane, and_plane + bytes);
    pointer_xor_.assign(xor_plane, xor_plane + bytes);
    pointer_width_ = width;
    pointer_height_ = height;
    pointer_hot_x_ = hot_x;
    pointer_hot_y_ = hot_y;
}

bool HeadlessBackend::SetClipboardText(const std::string &cp932) {
    clipboard_ = cp932;
    return true;
}

bool HeadlessBackend::GetClipboardText(std::string &cp932) {
    cp932 = clipboard_;
    return true;
}

int HeadlessBackend::MessageBox(uintptr_t owner, const std::string &text, const std::string &caption, unsigned style) {
    if (on_message_box) on_message_box(text, caption, style, owner);
    int answer = answer_;
    answer_ = IDOK;
    return answer;
}

void HeadlessBackend::Stall(const char *why) {
    std::fprintf(stderr,
                 "VorlaLib headless: a message loop can make no progress: %s (virtual time %llu ms). "
                 "A test must give the loop input, a scripted action, or a way to end.\n",
                 why, static_cast<unsigned long long>(now_));
    std::fflush(stderr);
    std::abort();
}

// A program run headless has settled: picture the screen once, then end the waiting loop.
void HeadlessBackend::EndIdleProgram() {
    if (!screen_written_) {
        screen_written_ = true;
        const char *dir = std::getenv("VORLA_SNAPSHOT_DIR");
        if (dir && *dir) {
            std::vector<uint32_t> pixels;
            int w = 0, h = 0;
            ComposeScreen(pixels, w, h);
            WritePng(std::string(dir) + "/screen.png", pixels.data(), w, h, w);
        }
    }
    PostQuitMessage(0);
}

void HeadlessBackend::Wait(uint64_t deadline, InputSink &) {
    {
        std::lock_guard<std::mutex> hold(wake_lock_);
        if (woken_) {
            woken_ = false;
            return;
        }
    }
    if (idle_action_ && idle_action_()) {
        idle_spent_ = 0;
        return;
    }
    if (deadline == UINT64_MAX) {
        // Another thread may still post something: give it a moment of real time.
        std::unique_lock<std::mutex> hold(wake_lock_);
        if (wake_signal_.wait_for(hold, std::chrono::seconds(2), [&] { return woken_; })) {
            woken_ = false;
            return;
        }
        hold.unlock();
        if (policy_ == IdlePolicy::Quit) {
            EndIdleProgram();
            return;
        }
        Stall("no input, no timer and no scripted action");
    }
    uint64_t step = deadline > now_ ? deadline - now_ : 0;
    if (idle_spent_ + step > idle_limit_) {
        idle_spent_ = 0;
        if (policy_ == IdlePolicy::Quit) {
            EndIdleProgram();
            return;
        }
        Stall("only timers fired for longer than the idle limit");
    }
    idle_spent_ += step;
    now_ += step;
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard<std::mutex> hold(wake_lock_);
        woken_ = true;
    }
    wake_signal_.notify_all();
}

} // namespace vorla::platform
