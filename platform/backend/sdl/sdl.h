// The SDL2 backend: every top-level window is an SDL window; input comes from SDL's event queue.
#pragma once

#include "backend/backend.h"

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vorla::platform {

class SdlBackend : public Backend {
public:
    // Null when SDL cannot open the display.
    static std::unique_ptr<SdlBackend> Start();
    ~SdlBackend() override;

    const char *Name() const override { return "sdl"; }
    void ScreenSize(int &width, int &height) const override;
    uint64_t Now() override { return SDL_GetTicks64(); }
    bool VirtualClock() const override { return false; }

    uintptr_t CreateSurface(const SurfaceLayout &layout) override;
    void MoveSurface(uintptr_t surface, const SurfaceLayout &layout) override;
    void ShowSurface(uintptr_t surface, bool shown, bool activate) override;
    void SetTitle(uintptr_t surface, const std::string &title) override;
    void DestroySurface(uintptr_t surface) override;
    void Present(uintptr_t surface, const PixelView &pixels, int left, int top, int right, int bottom) override;
    void SetPointerShape(int system_shape, const uint8_t *and_plane, const uint8_t *xor_plane, int width, int height,
                         int hot_x, int hot_y) override;
    bool SetClipboardText(const std::string &cp932) override;
    bool GetClipboardText(std::string &cp932) override;
    int MessageBox(uintptr_t owner, const std::string &text, const std::string &caption, unsigned style) override;
    void Wait(uint64_t deadline, InputSink &sink) override;
    void Wake() override;
    bool Poll(InputSink &sink) override;
    void PlaceTextInput(uintptr_t surface, int x, int y, int height) override;
    void ActivateSurface(uintptr_t surface) override;
    bool DeliversText() const override { return true; }

private:
    SdlBackend();
    // Hands one SDL event to the sink; true when something was delivered or a wake arrived.
    bool Translate(const SDL_Event &event, InputSink &sink);
    void WaitOffThread(uint64_t deadline);
    void RequestFocus(SDL_Window *window);

    std::thread::id video_thread_;
    uint32_t wake_event_ = 0;
    std::atomic<bool> wake_queued_{false};
    std::mutex wake_lock_;
    std::condition_variable wake_signal_;
    bool woken_ = false;              // for loops on other threads
    bool composing_ = false;          // an input-method composition is under way
    uint32_t focus_asked_ = 0;        // the window we last gave the focus, until the desktop confirms
    uint64_t focus_asked_at_ = 0;
    SDL_Cursor *cursor_ = nullptr;
    std::map<uintptr_t, SDL_Rect> text_input_places_; // where each surface's composition shows
    uint64_t wakeups_ = 0;            // returns from waiting, reported at exit when asked
    friend void ReportWakeups();
};

// Code-page conversion between the layer's CP932 and the desktop's UTF-8.
std::string Cp932ToUtf8(const std::string &text);
std::string Utf8ToCp932(const std::string &text);
// The same, all or nothing: false (and no text) when any character does not convert.
bool Cp932ToUtf8Whole(const std::string &text, std::string &utf8);
bool Utf8ToCp932Whole(const std::string &text, std::string &cp932);

// The virtual key of an SDL key, or 0 for keys the window system has no code for.
int VirtualKeyOf(const SDL_Keysym &key);
bool IsExtendedKey(SDL_Scancode code);

} // namespace vorla::platform
