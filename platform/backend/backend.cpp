// Choosing the backend at start (VORLA_BACKEND), and writing headless snapshots.
#include "backend/backend.h"
#include "backend/headless/headless.h"
#include "internal/system.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vorla::platform {

bool WritePng(const std::string &path, const uint32_t *pixels, int width, int height, int stride);

namespace {

Backend *g_backend = nullptr;

void ScreenFromEnvironment(int &w, int &h) {
    w = 1024;
    h = 768;
    if (const char *screen = std::getenv("VORLA_SCREEN")) {
        int a = 0, b = 0;
        if (std::sscanf(screen, "%dx%d", &a, &b) == 2 && a > 0 && b > 0 && a <= 16384 && b <= 16384) {
            w = a;
            h = b;
        }
    }
}

std::string SnapshotDirectory() {
    const char *dir = std::getenv("VORLA_SNAPSHOT_DIR");
    return dir && *dir ? std::string(dir) : std::string();
}

std::string SnapshotName(const Window &w) {
    std::string name = w.window_class ? w.window_class->name : "window";
    for (char &c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')) c = '_';
    return name;
}

void WriteSnapshot(const Window &w) {
    std::string dir = SnapshotDirectory();
    if (dir.empty() || !CurrentHeadless() || !w.TopLevel() || !w.framebuffer) return;
    const Framebuffer &fb = *w.framebuffer;
    if (fb.width <= 0 || fb.height <= 0) return;
    std::string path = dir + "/" + SnapshotName(w) + ".png";
    WritePng(path, fb.pixels.data(), fb.width, fb.height, fb.width);
}

void WriteSnapshotsAtExit() {
    if (SnapshotDirectory().empty() || !CurrentHeadless()) return;
    System &s = TheSystem();
    for (HWND h : s.z_order) {
        Window *w = FindWindow(h);
        if (w && w->visible) WriteSnapshot(*w);
    }
}

} // namespace

void WriteSnapshotOnDestroy(const Window &window) { WriteSnapshot(window); }

void InstallProgramScript(HeadlessBackend &backend);

#ifdef VORLA_HAVE_SDL
std::unique_ptr<Backend> StartSdlBackend(); // null when SDL cannot open the display
#endif

// VORLA_BACKEND=sdl asks for the desktop, =headless for memory; unset, a reachable display decides.
static Backend *StartDesktopBackend() {
    const char *choice = std::getenv("VORLA_BACKEND");
    bool want = choice && std::strcmp(choice, "sdl") == 0;
    if (choice && *choice && !want) return nullptr;
    if (!want) {
        const char *x = std::getenv("DISPLAY"), *wayland = std::getenv("WAYLAND_DISPLAY");
        if (!(x && *x) && !(wayland && *wayland)) return nullptr;
    }
#ifdef VORLA_HAVE_SDL
    if (std::unique_ptr<Backend> sdl = StartSdlBackend()) return sdl.release();
    if (want) std::fprintf(stderr, "vorla: the sdl backend cannot start; running headless\n");
#else
    if (want) std::fprintf(stderr, "vorla: built without SDL2; running headless\n");
#endif
    return nullptr;
}

Backend &CurrentBackend() {
    if (!g_backend) g_backend = StartDesktopBackend();
    if (!g_backend) {
        int w, h;
        ScreenFromEnvironment(w, h);
        auto *headless = new HeadlessBackend(w, h);
        InstallProgramScript(*headless);
        g_backend = headless;
        std::atexit(WriteSnapshotsAtExit);
    }
    return *g_backend;
}

void InstallBackend(std::unique_ptr<Backend> backend) {
    delete g_backend;
    g_backend = backend.release();
}

HeadlessBackend *CurrentHeadless() { return dynamic_cast<HeadlessBackend *>(&CurrentBackend()); }

} // namespace vorla::platform
