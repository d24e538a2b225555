// The machine's system information in a window: operating system, screen, memory and the first
// running processes. The same lines go to standard output, for runs without a screen.
#include <vorla/VorlaLib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

VLWindow window;
std::vector<std::string> lines;

void Gather()
{
    VLSystemInfo info;
    char line[320];
    std::snprintf(line, sizeof line, "System %d, version %04X", info.GetOS(), info.GetOSVersion());
    lines.push_back(line);
    const VLSTSize screen = info.GetScreenSize();
    std::snprintf(line, sizeof line, "Screen %d x %d, %d bits per pixel", screen.width, screen.height,
                  info.GetScreenBPP());
    lines.push_back(line);
    std::snprintf(line, sizeof line, "Physical memory %d K, %d K available", info.GetTotalPhysMemoryK(),
                  info.GetAvailPhysMemoryK());
    lines.push_back(line);
    std::snprintf(line, sizeof line, "Virtual memory %d K, %d K available", info.GetTotalVirtualMemoryK(),
                  info.GetAvailVirtualMemoryK());
    lines.push_back(line);
    std::snprintf(line, sizeof line, "%d processes; the first this program may look at:", info.GetProcessCount());
    lines.push_back(line);

    // Processes of other users and the kernel's own are listed as "Unknown"; show named ones.
    std::vector<VLSTProcessInfo> records(1000);
    const int count = info.GetProcessInfo(records.data(), static_cast<int>(records.size()));
    int shown = 0;
    for (int i = 0; i < count && shown < 12; ++i) {
        if (std::string(records[i].name) == "Unknown")
            continue;
        std::snprintf(line, sizeof line, "  %6u  %-24.24s %8d K %8d s", records[i].processID, records[i].name,
                      records[i].memory, records[i].runningTime);
        lines.push_back(line);
        ++shown;
    }
}

void WindowEvent(VLWindow *target, VLSTWindowEvent event)
{
    if (event.event == 101) {
        PostQuitMessage(0);
    } else if (event.event == 102) {
        target->BeginPaint();
        target->SetForegroundColor(0xFF000000);
        target->SetFontSize(12);
        for (size_t i = 0; i < lines.size(); ++i)
            target->DrawTextA(10, 8 + static_cast<int>(i) * 16, lines[i].c_str());
        target->EndPaint();
    }
}

} // namespace

int main()
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    Gather();
    for (const std::string &line : lines)
        std::printf("%s\n", line.c_str());

    const int height = 30 + static_cast<int>(lines.size()) * 16;
    if (window.CreateNewWindow("System information", 40, 40, 460, height, 1) < 0)
        return 1;
    window.SetBackgroundColor(0xFFFFFFFF);
    window.AttachWindowEvent(WindowEvent);
    window.ShowWindow(1);
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
