// The SDL2 backend: surfaces are SDL windows placed so that their client area lies where the
// window system put it, frames are copied into the window surface by dirty rectangle, and
// SDL's events become the window system's input.
#include "backend/sdl/sdl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vorla::platform {

namespace {

SDL_Window *WindowOf(uintptr_t surface) { return reinterpret_cast<SDL_Window *>(surface); }
uintptr_t SurfaceOf(SDL_Window *window) { return reinterpret_cast<uintptr_t>(window); }
uintptr_t SurfaceOfId(uint32_t id) { return SurfaceOf(SDL_GetWindowFromID(id)); }

bool IsPopup(SDL_Window *window) { return (SDL_GetWindowFlags(window) & SDL_WINDOW_TOOLTIP) != 0; }

SdlBackend *g_reporting = nullptr;

} // namespace

void ReportWakeups() {
    if (!g_reporting) return;
    std::fprintf(stderr, "vorla sdl: %llu wakeups in %llu ms\n", static_cast<unsigned long long>(g_reporting->wakeups_),
                 static_cast<unsigned long long>(SDL_GetTicks64()));
}

std::unique_ptr<SdlBackend> SdlBackend::Start() {
    // The program keeps its own signal handling, and a window closed by the desktop is only a
    // close request: the window system decides what happens.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A click that activates a window is also a click in it, as on the desktop we mimic.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    // Frames are drawn in memory, so the cheapest way to show one is the desktop's own image
    // transfer (X11 shared memory, Wayland shm buffers). SDL's default first probes OpenGL and
    // may present through a texture, which on a machine without a GPU loads a software
    // rasterizer: tens of milliseconds and of megabytes for one more copy. The variable
    // SDL_FRAMEBUFFER_ACCELERATION still chooses, being read before this hint.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Only the desktop that is there is tried.
    const char *x = std::getenv("DISPLAY"), *wayland = std::getenv("WAYLAND_DISPLAY");
    if (!(wayland && *wayland) && x && *x) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    else if (!(x && *x) && wayland && *wayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "vorla: SDL cannot start (%s)\n", SDL_GetError());
        return nullptr;
    }
    // SDL falls back to drivers that show nothing (offscreen); then headless serves better.
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *asked = std::getenv("SDL_VIDEODRIVER"); // the user's explicit choice stands
    if (!(asked && *asked) && !(driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0))) {
        std::fprintf(stderr, "vorla: SDL found no desktop (video driver %s)\n", driver ? driver : "none");
        SDL_Quit();
        return nullptr;
    }
    std::unique_ptr<SdlBackend> backend(new SdlBackend());
    if (backend->wake_event_ == static_cast<uint32_t>(-1)) return nullptr;
    SDL_StartTextInput();
    const char *report = std::getenv("VORLA_REPORT_WAKEUPS");
    if (report && *report && *report != '0') {
        g_reporting = backend.get();
        std::atexit(ReportWakeups);
        const char *accelerated = SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
        const bool texture = accelerated && *accelerated && std::strcmp(accelerated, "0") != 0 &&
                             SDL_strcasecmp(accelerated, "false") != 0;
        std::fprintf(stderr, "vorla: the sdl backend presents frames through %s (%s driver)\n",
                     texture ? "a texture of an SDL renderer" : "the desktop's software framebuffer",
                     driver ? driver : "no");
    }
    return backend;
}

SdlBackend::SdlBackend() : video_thread_(std::this_thread::get_id()), wake_event_(SDL_RegisterEvents(1)) {}

SdlBackend::~SdlBackend() {
    if (g_reporting == this) g_reporting = nullptr;
    if (cursor_) SDL_FreeCursor(cursor_);
    SDL_Quit();
}

void SdlBackend::ScreenSize(int &width, int &height) const {
    SDL_Rect bounds{0, 0, 1024, 768};
    SDL_GetDisplayBounds(0, &bounds);
    width = bounds.w;
    height = bounds.h;
}

uintptr_t SdlBackend::CreateSurface(const SurfaceLayout &layout) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (layout.popup)
        flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_TOOLTIP | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    else if (layout.tool)
        flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
    if (layout.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // The window manager adds the frame; the SDL window is the client area.
    SDL_Window *window =
        SDL_CreateWindow(Cp932ToUtf8(layout.title).c_str(), layout.x + layout.client_x, layout.y + layout.client_y,
                         std::max(1, layout.client_width), std::max(1, layout.client_height), flags);
    if (!window) {
        std::fprintf(stderr, "vorla: SDL cannot create a window (%s)\n", SDL_GetError());
        return 0;
    }
    if (layout.owner && !layout.popup) SDL_SetWindowModalFor(window, WindowOf(layout.owner));
    return SurfaceOf(window);
}

void SdlBackend::MoveSurface(uintptr_t surface, const SurfaceLayout &layout) {
    SDL_Window *window = WindowOf(surface);
    if (!window) return;
    int w = std::max(1, layout.client_width), h = std::max(1, layout.client_height);
    int cw = 0, ch = 0;
    SDL_GetWindowSize(window, &cw, &ch);
    if (cw != w || ch != h) SDL_SetWindowSize(window, w, h);
    SDL_SetWindowPosition(window, layout.x + layout.client_x, layout.y + layout.client_y);
}

void SdlBackend::RequestFocus(SDL_Window *window) {
    SDL_RaiseWindow(window);
    // Without a window manager nobody hands out the focus: take it, as showing a window does.
    SDL_SetWindowInputFocus(window);
    focus_asked_ = SDL_GetWindowID(window);
    focus_asked_at_ = SDL_GetTicks64();
}

void SdlBackend::ShowSurface(uintptr_t surface, bool shown, bool activate) {
    SDL_Window *window = WindowOf(surface);
    if (!window) return;
    if (!shown) {
        SDL_HideWindow(window);
        return;
    }
    SDL_Window *focused = SDL_GetKeyboardFocus();
    SDL_ShowWindow(window);
    if (activate && !IsPopup(window)) RequestFocus(window);
    // Without a window manager SDL gives every window it shows the focus; a window shown
    // without activation (a hint popup) hands it straight back.
    else if (focused && focused != window) SDL_SetWindowInputFocus(focused);
}

void SdlBackend::ActivateSurface(uintptr_t surface) {
    SDL_Window *window = WindowOf(surface);
    if (!window || IsPopup(window) || SDL_GetKeyboardFocus() == window) return;
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) RequestFocus(window);
}

void SdlBackend::SetTitle(uintptr_t surface, const std::string &title) {
    if (SDL_Window *window = WindowOf(surface)) SDL_SetWindowTitle(window, Cp932ToUtf8(title).c_str());
}

void SdlBackend::DestroySurface(uintptr_t surface) {
    SDL_Window *window = WindowOf(surface);
    if (!window) return;
    if (focus_asked_ == SDL_GetWindowID(window)) focus_asked_ = 0;
    text_input_places_.erase(surface); // a later window may get the same address
    SDL_DestroyWindow(window);
}

void SdlBackend::Present(uintptr_t surface, const PixelView &pixels, int left, int top, int right, int bottom) {
    SDL_Window *window = WindowOf(surface);
    if (!window || !pixels.pixels) return;
    SDL_Surface *target = SDL_GetWindowSurface(window);
    if (!target) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min({right, pixels.width, target->w});
    bottom = std::min({bottom, pixels.height, target->h});
    if (right <= left || bottom <= top) return;
    SDL_Rect rect{left, top, right - left, bottom - top};
    if (target->format->format == SDL_PIXELFORMAT_RGB888 && !SDL_MUSTLOCK(target)) {
        // The usual X11 visual has the framebuffer's own layout: copy the rows.
        for (int y = top; y < bottom; ++y)
            std::memcpy(static_cast<uint8_t *>(target->pixels) + static_cast<size_t>(y) * target->pitch +
                            static_cast<size_t>(left) * 4,
                        pixels.pixels + static_cast<size_t>(y) * pixels.stride + left,
                        static_cast<size_t>(right - left) * 4);
    } else {
        SDL_Surface *source = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t *>(pixels.pixels), pixels.width, pixels.height, 32, pixels.stride * 4,
            SDL_PIXELFORMAT_RGB888);
        if (!source) return;
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        SDL_Rect to = rect;
        SDL_BlitSurface(source, &rect, target, &to);
        SDL_FreeSurface(source);
    }
    SDL_UpdateWindowSurfaceRects(window, &rect, 1);
}

void SdlBackend::PlaceTextInput(uintptr_t surface, int x, int y, int height) {
    SDL_Window *window = WindowOf(surface);
    if (!window) return;
    // Kept per window: the place is often given before the desktop hands that window the keyboard.
    text_input_places_[surface] = SDL_Rect{x, y, 1, std::max(1, height)};
    if (SDL_GetKeyboardFocus() == window) SDL_SetTextInputRect(&text_input_places_[surface]);
}

void SdlBackend::Wake() {
    {
        std::lock_guard<std::mutex> hold(wake_lock_);
        woken_ = true;
    }
    wake_signal_.notify_all();
    // One queued wake is enough however many messages were posted.
    if (!wake_queued_.exchange(true)) {
        SDL_Event event{};
        event.type = wake_event_;
        if (SDL_PushEvent(&event) != 1) wake_queued_ = false;
    }
}

// Loops on other threads cannot read SDL's queue; they sleep until their deadline or a wake.
void SdlBackend::WaitOffThread(uint64_t deadline) {
    std::unique_lock<std::mutex> hold(wake_lock_);
    auto woken = [&] { return woken_; };
    if (deadline == UINT64_MAX) {
        wake_signal_.wait(hold, woken);
    } else {
        uint64_t now = Now();
        if (deadline > now) wake_signal_.wait_for(hold, std::chrono::milliseconds(deadline - now), woken);
    }
    woken_ = false;
}

void SdlBackend::Wait(uint64_t deadline, InputSink &sink) {
    if (std::this_thread::get_id() != video_thread_) {
        WaitOffThread(deadline);
        return;
    }
    SDL_Event event;
    bool done = false;
    // Whatever is queued already goes first, without sleeping.
    while (SDL_PollEvent(&event)) done |= Translate(event, sink);
    while (!done) {
        uint64_t now = Now();
        if (deadline != UINT64_MAX && now >= deadline) break;
        int timeout = deadline == UINT64_MAX ? -1 : static_cast<int>(std::min<uint64_t>(deadline - now, 0x7FFFFFFF));
        if (!SDL_WaitEventTimeout(&event, timeout)) break; // the deadline came
        done |= Translate(event, sink);
        while (SDL_PollEvent(&event)) done |= Translate(event, sink);
    }
    wakeups_++;
}

bool SdlBackend::Poll(InputSink &sink) {
    if (std::this_thread::get_id() != video_thread_) return false; // SDL's queue is the video thread's
    SDL_Event event;
    bool delivered = false;
    while (SDL_PollEvent(&event)) delivered |= Translate(event, sink);
    return delivered;
}

bool SdlBackend::Translate(const SDL_Event &event, InputSink &sink) {
    InputEvent e;
    if (event.type == wake_event_) {
        wake_queued_ = false;
        return true;
    }
    switch (event.type) {
    case SDL_MOUSEMOTION:
        e.kind = InputEvent::Kind::PointerMove;
        e.surface = SurfaceOfId(event.motion.windowID);
        e.x = event.motion.x;
        e.y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        // Raw presses only: the window system makes double clicks itself.
        if (event.button.button == SDL_BUTTON_LEFT) e.button = 0;
        else if (event.button.button == SDL_BUTTON_RIGHT) e.button = 1;
        else if (event.button.button == SDL_BUTTON_MIDDLE) e.button = 2;
        else return false;
        e.kind = event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp;
        e.surface = SurfaceOfId(event.button.windowID);
        e.x = event.button.x;
        e.y = event.button.y;
        break;
    case SDL_MOUSEWHEEL: {
        if (event.wheel.y == 0) return false; // sideways turns have no message here
        e.kind = InputEvent::Kind::Wheel;
        e.surface = SurfaceOfId(event.wheel.windowID);
        const int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        e.wheel = notches * 120; // a notch, as the window system counts it
        SDL_GetMouseState(&e.x, &e.y); // in the window with the mouse focus, as the surface's client
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        e.virtual_key = VirtualKeyOf(event.key.keysym);
        if (!e.virtual_key) return false;
        e.kind = event.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
        e.extended = IsExtendedKey(event.key.keysym.scancode);
        e.repeat = 1; // an auto-repeat is a key-down of a key that is down already
        break;
    case SDL_TEXTINPUT: {
        // With Alt held the key is a system key: TranslateMessage makes its character.
        if (SDL_GetModState() & KMOD_LALT) return false;
        std::string text = Utf8ToCp932(event.text.text);
        if (composing_) {
            // The input method committed its composition. SDL cuts a long one into several text
            // events queued together: they are one result, not a result and typed characters.
            std::string utf8 = event.text.text;
            SDL_Event next;
            while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
                   next.type == SDL_TEXTINPUT && SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) == 1)
                utf8 += next.text.text;
            text = Utf8ToCp932(utf8);
            composing_ = false;
            e.kind = InputEvent::Kind::Composition;
            e.text = text;
            sink.Deliver(e);
            e.kind = InputEvent::Kind::CompositionEnd;
            e.text.clear();
            break;
        }
        if (text.empty()) return false;
        e.kind = InputEvent::Kind::Text;
        e.text = text;
        break;
    }
    case SDL_TEXTEDITING:
        if (event.edit.text[0] && !composing_) {
            composing_ = true;
            e.kind = InputEvent::Kind::CompositionStart;
        } else if (!event.edit.text[0] && composing_) {
            composing_ = false; // given up without a result
            e.kind = InputEvent::Kind::CompositionEnd;
        } else {
            return false;
        }
        break;
    case SDL_WINDOWEVENT: {
        e.surface = SurfaceOfId(event.window.windowID);
        if (!e.surface) return false;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: e.kind = InputEvent::Kind::CloseRequest; break;
        case SDL_WINDOWEVENT_EXPOSED: e.kind = InputEvent::Kind::Expose; break;
        case SDL_WINDOWEVENT_MOVED:
            e.kind = InputEvent::Kind::Moved;
            e.x = event.window.data1;
            e.y = event.window.data2;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST: {
            if (IsPopup(WindowOf(e.surface))) return false; // popups are never active
            bool gained = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            // Focus changes that only echo an earlier request of ours would undo a later one.
            if (focus_asked_ && SDL_GetTicks64() - focus_asked_at_ < 1000) {
                if (!gained || event.window.windowID != focus_asked_) return false;
                focus_asked_ = 0;
            }
            e.kind = InputEvent::Kind::Activate;
            e.active = gained;
            if (gained) { // SDL places the composition for the focused window only
                auto place = text_input_places_.find(e.surface);
                if (place != text_input_places_.end()) SDL_SetTextInputRect(&place->second);
            }
            break;
        }
        default: return false;
        }
        break;
    }
    default: return false;
    }
    sink.Deliver(e);
    return true;
}

std::unique_ptr<Backend> StartSdlBackend() { return SdlBackend::Start(); }

} // namespace vorla::platform
