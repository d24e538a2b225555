// The headless backend: surfaces in memory, a virtual clock, input from the test driver.
#pragma once

#include "backend/backend.h"
#include "platform/win32.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace vorla::platform {

class HeadlessBackend : public Backend {
public:
    // What a loop does when only timers are left for longer than the idle limit: fail loudly
    // (tests) or end the program's message loops with a quit message (programs run headless).
    enum class IdlePolicy { Fail, Quit };

    HeadlessBackend(int screen_width, int screen_height);

    const char *Name() const override { return "headless"; }
    void ScreenSize(int &width, int &height) const override;
    uint64_t Now() override { return now_; }
    bool VirtualClock() const override { return true; }

    uintptr_t CreateSurface(const SurfaceLayout &layout) override;
    void MoveSurface(uintptr_t surface, const SurfaceLayout &layout) override {}
    void ShowSurface(uintptr_t surface, bool shown, bool activate) override {}
    void SetTitle(uintptr_t surface, const std::string &title) override {}
    void DestroySurface(uintptr_t surface) override {}
    void Present(uintptr_t surface, const PixelView &pixels, int left, int top, int right, int bottom) override {}
    void SetPointerShape(int system_shape, const uint8_t *and_plane, const uint8_t *xor_plane, int width, int height,
                         int hot_x, int hot_y) override;
    bool SetClipboardText(const std::string &cp932) override;
    bool GetClipboardText(std::string &cp932) override;
    int MessageBox(uintptr_t owner, const std::string &text, const std::string &caption, unsigned style) override;
    void Wait(uint64_t deadline, InputSink &sink) override;
    void Wake() override;

    // ---- for the test driver ----
    void SetNow(uint64_t now) { now_ = now; }
    void SetIdleAction(std::function<bool()> action) { idle_action_ = std::move(action); }
    void SetIdlePolicy(IdlePolicy policy, uint64_t limit_ms) {
        policy_ = policy;
        idle_limit_ = limit_ms;
    }
    void NoteProgress() { idle_spent_ = 0; }
    int PointerShape() const { return pointer_shape_; }
    // The planes of a shape made from AND and XOR planes (empty for a system shape).
    const std::vector<uint8_t> &PointerAndPlane() const { return pointer_and_; }
    const std::vector<uint8_t> &PointerXorPlane() const { return pointer_xor_; }
    int PointerWidth() const { return pointer_width_; }
    int PointerHeight() const { return pointer_height_; }
    int PointerHotX() const { return pointer_hot_x_; }
    int PointerHotY() const { return pointer_hot_y_; }
    const std::string &Clipboard() const { return clipboard_; }
    void SetMessageBoxAnswer(int answer) { answer_ = answer; }
    std::function<void(const std::string &, const std::string &, unsigned, uintptr_t)> on_message_box;

private:
    [[noreturn]] void Stall(const char *why);
    void EndIdleProgram();

    int width_, height_;
    uint64_t now_ = 0;
    uintptr_t next_surface_ = 1;
    std::function<bool()> idle_action_;
    IdlePolicy policy_ = IdlePolicy::Quit;
    uint64_t idle_limit_ = 3000;
    uint64_t idle_spent_ = 0;
    bool screen_written_ = false;
    int pointer_shape_ = 0;
    std::vector<uint8_t> pointer_and_, pointer_xor_;
    int pointer_width_ = 0, pointer_height_ = 0, pointer_hot_x_ = 0, pointer_hot_y_ = 0;
    std::string clipboard_;
    int answer_ = IDOK;
    std::mutex wake_lock_;
    std::condition_variable wake_signal_;
    bool woken_ = false;
};

HeadlessBackend *CurrentHeadless(); // null when another backend runs

} // namespace vorla::platform
