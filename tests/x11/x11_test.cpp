// The sdl backend on a real X server: each test starts its own Xvfb, runs the probe program on
// it, drives it with X input through xdotool and reads its pixels back from the server.
#include <gtest/gtest.h>

#include "platform/testing/driver.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

bool Installed(const char *tool) {
    std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// A child process with its output read line by line.
class Process {
public:
    Process(const std::vector<std::string> &argv, const std::vector<std::string> &environment) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]);
            close(err[0]);
            for (const std::string &e : environment) putenv(const_cast<char *>(e.c_str()));
            std::vector<char *> args;
            for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Process() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }
    pid_t Pid() const { return pid_; }

    // Waits for a line of output that starts with prefix; every line read is kept.
    bool WaitFor(const std::string &prefix, double seconds, std::string *line = nullptr) {
        auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
        for (size_t seen = 0;;) {
            for (; seen < lines_.size(); ++seen)
                if (lines_[seen].compare(0, prefix.size(), prefix) == 0) {
                    if (line) *line = lines_[seen];
                    lines_.erase(lines_.begin() + static_cast<long>(seen));
                    return true;
                }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0 || !Read(static_cast<int>(left))) return false;
        }
    }
    // True when no line starting with prefix arrives within the time.
    bool Silent(const std::string &prefix, double seconds) { return !WaitFor(prefix, seconds); }

    // Waits for the process to end; its exit status, or -1 when it is still running.
    int Exit(double seconds) {
        auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
        while (Clock::now() < deadline) {
            Read(20);
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                while (Read(50)) {
                }
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
        }
        return -1;
    }
    const std::string &Errors() const { return errors_; }
    std::string Lines() const {
        std::string all;
        for (const std::string &l : lines_) all += l + "\n";
        return all;
    }

private:
    bool Read(int ms) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (poll(fds, 2, ms) <= 0) return false;
        char buffer[4096];
        bool got = false;
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            ssize_t n = read(out_, buffer, sizeof buffer);
            if (n > 0) {
                got = true;
                partial_.append(buffer, static_cast<size_t>(n));
                for (size_t end; (end = partial_.find('\n')) != std::string::npos;) {
                    lines_.push_back(partial_.substr(0, end));
                    partial_.erase(0, end + 1);
                }
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            ssize_t n = read(err_, buffer, sizeof buffer);
            if (n > 0) {
                got = true;
                errors_.append(buffer, static_cast<size_t>(n));
            }
        }
        return got;
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    bool exited_ = false;
    std::string partial_, errors_;
    std::vector<std::string> lines_;
};

// A private X server on a display number it picks itself.
class XServer {
public:
    XServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the display number once it accepts connections.
        pollfd p{fds[0], POLLIN, 0};
        std::string number;
        char c;
        while (poll(&p, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string &Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

std::string Output(const std::string &command) {
    std::string out;
    if (FILE *f = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
        pclose(f);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

bool Shell(const std::string &command) { return std::system(command.c_str()) == 0; }

// The client area of a window as the X server shows it, from an xwd dump.
bool CaptureWindow(const std::string &window, vorla::testing::Image &image) {
    std::string path = "/tmp/vorla-x11-" + std::to_string(getpid()) + ".xwd";
    if (!Shell("xwd -silent -id " + window + " -out " + path)) return false;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    if (bytes.size() < 100) return false;
    auto field = [&](int i) {
        const unsigned char *p = &bytes[static_cast<size_t>(i) * 4];
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    };
    uint32_t header = field(0), format = field(2), width = field(4), height = field(5), order = field(7),
             bits = field(11), line = field(12), colours = field(19);
    if (format != 2 || bits != 32) return false; // a 24-bit TrueColor ZPixmap, as Xvfb gives
    size_t at = header + static_cast<size_t>(colours) * 12;
    if (bytes.size() < at + static_cast<size_t>(line) * height) return false;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.assign(static_cast<size_t>(width) * height, 0);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char *p = &bytes[at + static_cast<size_t>(y) * line + x * 4];
            uint32_t v = order == 0 ? (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]
                                    : (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
            image.pixels[static_cast<size_t>(y) * width + x] = v & 0xFFFFFF;
        }
    return true;
}

// Reads a field of /proc/PID/task/PID/status (the thread that runs the message loop).
long ThreadStatus(pid_t pid, const std::string &name) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, name.size() + 1, name + ":") == 0) return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
    return -1;
}

// CPU time of the process in clock ticks.
long CpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip; // state .. cmajflt
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

class X11 : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *tool : {"Xvfb", "xdotool", "xwd"})
            if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
        server_ = std::make_unique<XServer>();
        ASSERT_FALSE(server_->Display().empty()) << "Xvfb did not start";
        setenv("DISPLAY", server_->Display().c_str(), 1);
    }

    // Starts the probe with the sdl backend and waits until its window is up and painted.
    std::unique_ptr<Process> StartProbe(std::vector<std::string> extra_environment = {},
                                        const std::string &argument = "") {
        std::vector<std::string> environment{"VORLA_BACKEND=sdl", "DISPLAY=" + server_->Display()};
        environment.insert(environment.end(), extra_environment.begin(), extra_environment.end());
        std::vector<std::string> argv{VORLA_X11_PROBE};
        if (!argument.empty()) argv.push_back(argument);
        auto probe = std::make_unique<Process>(argv, environment);
        std::string line;
        EXPECT_TRUE(probe->WaitFor("client ", 20, &line)) << probe->Errors();
        std::sscanf(line.c_str(), "client %d %d", &client_x_, &client_y_);
        EXPECT_TRUE(probe->WaitFor("painted 1000", 10)) << probe->Errors();
        FindWindow();
        EXPECT_FALSE(window_.empty());
        return probe;
    }

    // A search can fail while the server's window tree changes under it: ask again.
    void FindWindow() {
        window_.clear();
        for (int attempt = 0; attempt < 50 && window_.empty(); ++attempt) {
            if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            window_ = Output("xdotool search --onlyvisible --name '^Probe$' 2>/dev/null | tail -n 1");
        }
    }

    bool Capture(vorla::testing::Image &image) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (CaptureWindow(window_, image)) return true;
            FindWindow();
        }
        return false;
    }

    // xdotool in client coordinates of the probe's window.
    void Click(int x, int y, const std::string &button = "1") {
        ASSERT_TRUE(Shell("xdotool mousemove --sync " + std::to_string(client_x_ + x) + " " +
                        std::to_string(client_y_ + y) + " click " + button));
    }

    std::unique_ptr<XServer> server_;
    int client_x_ = -1, client_y_ = -1;
    std::string window_;
};

TEST_F(X11, WindowSitsWhereTheWindowSystemPutsItsClientArea) {
    auto probe = StartProbe();
    std::string geometry = Output("xwininfo -id " + window_ + " | grep -E 'Absolute|Width|Height'");
    int x = -1, y = -1, w = -1, h = -1;
    std::sscanf(geometry.c_str(), " Absolute upper-left X: %d Absolute upper-left Y: %d Width: %d Height: %d", &x,
                &y, &w, &h);
    EXPECT_EQ(x, client_x_);
    EXPECT_EQ(y, client_y_);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 199); // the window's creation arithmetic leaves one row less than asked
    EXPECT_GT(client_x_, 40); // inside the frame the window system drew around (40, 40)
    EXPECT_GT(client_y_, 40);
}

TEST_F(X11, ClicksReachTheMouseCallbackInClientCoordinates) {
    auto probe = StartProbe();
    Click(50, 70);
    EXPECT_TRUE(probe->WaitFor("mouse 1000 300 50 70 left 1 right 0", 5)) << probe->Lines();
    EXPECT_TRUE(probe->WaitFor("mouse 1000 301 50 70 left 0 right 0", 5)) << probe->Lines();
    Click(120, 90, "3");
    EXPECT_TRUE(probe->WaitFor("mouse 1000 300 120 90 left 0 right 1", 5)) << probe->Lines();
    EXPECT_TRUE(probe->WaitFor("mouse 1000 301 120 90 left 0 right 0", 5)) << probe->Lines();
}

TEST_F(X11, TwoQuickClicksAreADoubleClickAndTwoSlowOnesAreNot) {
    auto probe = StartProbe();
    ASSERT_TRUE(Shell("xdotool mousemove --sync " + std::to_string(client_x_ + 30) + " " +
                    std::to_string(client_y_ + 40) + " click --repeat 2 --delay 80 1"));
    EXPECT_TRUE(probe->WaitFor("mouse 1000 303 30 40", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool click --repeat 2 --delay 700 1"));
    EXPECT_TRUE(probe->Silent("mouse 1000 303", 2)) << "slow clicks made a double click";
}

TEST_F(X11, KeysReachTheKeyCallbackWithTheLibraryCodes) {
    auto probe = StartProbe();
    ASSERT_TRUE(Shell("xdotool key F5"));
    EXPECT_TRUE(probe->WaitFor("key 1000 201 F10005 ", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key a"));
    EXPECT_TRUE(probe->WaitFor("key 1000 201 61 ", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key shift+b"));
    std::string line;
    ASSERT_TRUE(probe->WaitFor("key 1000 201 42 ", 5, &line)) << probe->Lines();
    unsigned modifiers = 0;
    std::sscanf(line.c_str(), "key 1000 201 42 %X", &modifiers);
    EXPECT_EQ(modifiers & 0x00E00000u, 0x00800000u) << line; // Shift, and only Shift, was down for 'B'
    ASSERT_TRUE(Shell("xdotool key Down Left"));
    EXPECT_TRUE(probe->WaitFor("key 1000 201 F20003 ", 5)) << probe->Lines();
    EXPECT_TRUE(probe->WaitFor("key 1000 201 F20000 ", 5)) << probe->Lines();
    // Each key typed once: no character arrives twice.
    EXPECT_TRUE(probe->Silent("key 1000 201 61 ", 1)) << "'a' arrived twice";
}

TEST_F(X11, HeldKeyRepeats) {
    auto probe = StartProbe();
    ASSERT_TRUE(Shell("xdotool keydown Right sleep 1.2 keyup Right"));
    int downs = 0;
    while (probe->WaitFor("key 1000 201 F20001 ", 1)) downs++;
    EXPECT_GE(downs, 3) << "the X server repeats a held key";
}

TEST_F(X11, EscapeClosesTheWindowAndEndsTheProgram) {
    auto probe = StartProbe();
    ASSERT_TRUE(Shell("xdotool key Escape"));
    EXPECT_TRUE(probe->WaitFor("window 1000 101", 5)) << probe->Lines();
    EXPECT_EQ(probe->Exit(10), 0) << probe->Errors();
    EXPECT_EQ(Output("xdotool search --onlyvisible --name '^Probe$' 2>/dev/null"), "") << "the window stayed";
}

TEST_F(X11, ClickingAnotherWindowMovesTheActivation) {
    auto probe = StartProbe({}, "two");
    ASSERT_TRUE(Shell("xdotool mousemove --sync 500 100 click 1"));
    EXPECT_TRUE(probe->WaitFor("window 1000 105", 5)) << probe->Lines();
    EXPECT_TRUE(probe->WaitFor("window 1001 104", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key F1"));
    EXPECT_TRUE(probe->WaitFor("key 1001 201 F10001 ", 5)) << probe->Lines();
    Click(10, 10);
    EXPECT_TRUE(probe->WaitFor("window 1000 104", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key F2"));
    EXPECT_TRUE(probe->WaitFor("key 1000 201 F10002 ", 5)) << probe->Lines();
}

TEST_F(X11, ClosingTheActiveWindowLeavesTheKeyboardWithTheNextOne) {
    auto probe = StartProbe({}, "two");
    ASSERT_TRUE(Shell("xdotool mousemove --sync 500 100 click 1"));
    ASSERT_TRUE(probe->WaitFor("window 1001 104", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key Escape"));
    EXPECT_TRUE(probe->WaitFor("window 1001 101", 5)) << probe->Lines();
    EXPECT_TRUE(probe->WaitFor("window 1000 104", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key F3"));
    EXPECT_TRUE(probe->WaitFor("key 1000 201 F10003 ", 5)) << probe->Lines();
}

TEST_F(X11, PixelsOnTheServerEqualTheHeadlessRendering) {
    // The same program headless: its snapshot is the reference.
    char folder[] = "/tmp/vorla-x11-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    {
        Process headless({VORLA_X11_PROBE}, {"VORLA_BACKEND=headless", std::string("VORLA_SNAPSHOT_DIR=") + folder});
        ASSERT_EQ(headless.Exit(60), 0) << headless.Errors();
    }
    vorla::testing::Image expected;
    std::string png = std::string(folder) + "/VorlaWindowClass00.png";
    ASSERT_TRUE(vorla::testing::Image::ReadPng(png, expected)) << png;
    Shell(std::string("rm -rf ") + folder);
    ASSERT_EQ(expected.width, 300);
    ASSERT_EQ(expected.height, 199);

    auto probe = StartProbe();
    vorla::testing::Image shown;
    int differing = -1;
    // The last rows may still be on their way to the server: look again for a moment.
    for (int attempt = 0; attempt < 20 && differing != 0; ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(Capture(shown));
        ASSERT_EQ(shown.width, expected.width);
        ASSERT_EQ(shown.height, expected.height);
        differing = 0;
        for (size_t i = 0; i < shown.pixels.size(); ++i)
            if ((shown.pixels[i] & 0xFFFFFF) != (expected.pixels[i] & 0xFFFFFF)) differing++;
    }
    EXPECT_EQ(differing, 0);
    // The picture is not trivially equal: it holds the background, text and shapes.
    EXPECT_GT(expected.Count(0xF0E8D0, 0, 0, 300, 199), 30000);
    EXPECT_GT(expected.Count(0x000000, 0, 0, 300, 50), 50);
    EXPECT_EQ(expected.Count(0xCC2200, 10, 60, 90, 120), 80 * 60);
}

TEST_F(X11, ThePictureStaysThroughInput) {
    auto probe = StartProbe();
    // A press repaints nothing here; the picture stays as it was, pixel for pixel.
    vorla::testing::Image before, after;
    for (int attempt = 0; attempt < 30; ++attempt) { // until the first picture has arrived
        ASSERT_TRUE(Capture(before));
        if (before.At(0, 0) == 0xF0E8D0 && before.At(299, 198) == 0xF0E8D0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_EQ(before.At(299, 198), 0xF0E8D0u);
    Click(200, 20);
    ASSERT_TRUE(probe->WaitFor("mouse 1000 301", 5));
    ASSERT_TRUE(Capture(after));
    EXPECT_EQ(before.pixels, after.pixels);
}

TEST_F(X11, AnIdleWindowWakesTenTimesASecond) {
    auto probe = StartProbe({"VORLA_REPORT_WAKEUPS=1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    long switches = ThreadStatus(probe->Pid(), "voluntary_ctxt_switches");
    long cpu = CpuTicks(probe->Pid());
    auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    long switched = ThreadStatus(probe->Pid(), "voluntary_ctxt_switches") - switches;
    long used = CpuTicks(probe->Pid()) - cpu;
    ASSERT_TRUE(Shell("xdotool key Escape"));
    ASSERT_EQ(probe->Exit(10), 0);
    unsigned long long wakeups = 0, ms = 0;
    size_t at = probe->Errors().find("vorla sdl: ");
    ASSERT_NE(at, std::string::npos) << probe->Errors();
    std::sscanf(probe->Errors().c_str() + at, "vorla sdl: %llu wakeups in %llu ms", &wakeups, &ms);
    double rate = static_cast<double>(wakeups) * 1000.0 / static_cast<double>(ms);
    double sleeps = static_cast<double>(switched) / seconds;
    std::printf("idle window: %.1f wakeups per second over the run, %.1f sleeps per second while idle, "
                "%ld CPU ticks in %.1f s\n", rate, sleeps, used, seconds);
    // Ten timer ticks a second; a loaded machine delays ticks, a busy loop would show thousands.
    EXPECT_GE(rate, 6.0);
    EXPECT_LE(rate, 14.0);
    EXPECT_GE(sleeps, 6.0);
    EXPECT_LE(sleeps, 40.0); // a wakeup may also wait once for the X server
    EXPECT_LE(used, 30); // well under a tenth of one core
}

// Text the probe copies reaches other programs through the desktop's clipboard, and theirs
// reaches the probe, converted between their UTF-8 and the library's code page.
TEST_F(X11, ClipboardTextGoesBothWaysWithTheDesktop) {
    if (!Installed("xclip")) GTEST_SKIP() << "xclip is not installed (scripts/install-deps.sh installs it)";
    auto probe = StartProbe({}, "clipboard");
    const std::string xclip = "xclip -selection clipboard";
    ASSERT_TRUE(Shell("xdotool key F7"));
    ASSERT_TRUE(probe->WaitFor("copied 1", 5)) << probe->Lines() << probe->Errors();
    EXPECT_EQ(Output(xclip + " -o"), "\u65e5\u672c abc");

    // A code with no desktop character is refused whole; the clipboard keeps what it had.
    ASSERT_TRUE(Shell("xdotool key F9"));
    EXPECT_TRUE(probe->WaitFor("copied 0", 5)) << probe->Lines();
    EXPECT_EQ(Output(xclip + " -o"), "\u65e5\u672c abc");

    ASSERT_TRUE(Shell("printf '%s' '\u8a9e x\\y' | " + xclip + " -i 2>/dev/null"));
    ASSERT_TRUE(Shell("xdotool key F8"));
    EXPECT_TRUE(probe->WaitFor("pasted 8CEA20785C79", 5)) << probe->Lines(); // "語 x\\y"

    // Text the library's code page cannot hold is no text at all, not a partial paste.
    ASSERT_TRUE(Shell("printf '%s' 'ok \U0001F600' | " + xclip + " -i 2>/dev/null"));
    ASSERT_TRUE(Shell("xdotool key F8"));
    EXPECT_TRUE(probe->WaitFor("pasted none", 5)) << probe->Lines();
}

#ifdef VORLA_X11_IME_PROBE
// Input-method events as SDL delivers them become the composition messages, with the result in
// the window's context; a long commit that SDL cuts in two is still one result.
TEST_F(X11, InputMethodEventsBecomeCompositionMessages) {
    Process probe({VORLA_X11_IME_PROBE}, {"VORLA_BACKEND=sdl", "DISPLAY=" + server_->Display()});
    ASSERT_EQ(probe.Exit(30), 0) << probe.Errors();
    EXPECT_TRUE(probe.WaitFor("done", 1));
    EXPECT_EQ(probe.Lines(), "active 1\n"
                             "start\nresult 93FA967B\nend\n--\n"
                             "start\nresult 88EA93F18E4F8E6C8CDC985A8EB594AA8BE38F5C9553\nend\n--\n"
                             "start\nend\nchar 71\n")
        << probe.Errors();
}
#endif

// Typed keys reach a focused edit box of the probe once each, as the desktop's keyboard lays
// them out; copy and paste in the box go through the desktop's clipboard.
class X11EditBox : public X11 {
protected:
    // Waits for the box to report a text ending in hex; every report on the way is kept.
    bool WaitForText(Process &probe, const std::string &hex, double seconds) {
        auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
        std::string line;
        while (Clock::now() < deadline) {
            if (!probe.WaitFor("text ", std::chrono::duration<double>(deadline - Clock::now()).count(), &line)) break;
            reports_.push_back(line.substr(5));
            if (reports_.back() == hex) return true;
        }
        return false;
    }
    // Clicks into the box until the program has seen the click: on a busy machine the first one
    // can reach the server before the window is ready for it.
    void FocusBox(Process &probe) {
        for (int attempt = 0; attempt < 4; ++attempt) {
            Click(180, 160);
            if (probe.WaitFor("mouse 1000 301 ", 3)) return;
        }
        ADD_FAILURE() << "the edit box never saw the click\n" << probe.Lines();
    }
    std::vector<std::string> reports_;
};

TEST_F(X11EditBox, TypedTextArrivesOnce) {
    auto probe = StartProbe({}, "edit");
    FocusBox(*probe);
    ASSERT_TRUE(Shell("xdotool type --delay 60 'aB1 z'"));
    EXPECT_TRUE(WaitForText(*probe, "614231207A", 5)) << probe->Lines();
    EXPECT_TRUE(probe->Silent("text ", 1)) << "a character arrived twice";
    for (const std::string &r : reports_) EXPECT_LE(r.size(), 10u) << r;
}

TEST_F(X11EditBox, CopiedTextReachesTheDesktopAndPastedTextTheBox) {
    if (!Installed("xclip")) GTEST_SKIP() << "xclip is not installed (scripts/install-deps.sh installs it)";
    auto probe = StartProbe({}, "edit");
    const std::string xclip = "xclip -selection clipboard";
    FocusBox(*probe);
    ASSERT_TRUE(Shell("xdotool type --delay 60 'copy me'"));
    ASSERT_TRUE(WaitForText(*probe, "636F7079206D65", 5)) << probe->Lines();
    ASSERT_TRUE(Shell("xdotool key ctrl+a ctrl+c"));
    std::string copied;
    for (int attempt = 0; attempt < 50 && copied != "copy me"; ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        copied = Output(xclip + " -o 2>/dev/null");
    }
    EXPECT_EQ(copied, "copy me");

    // Pasted over the selection: the desktop's UTF-8 arrives as the library's code page.
    ASSERT_TRUE(Shell("printf '%s' '\u65e5\u672c' | " + xclip + " -i 2>/dev/null"));
    ASSERT_TRUE(Shell("xdotool key ctrl+a ctrl+v"));
    EXPECT_TRUE(WaitForText(*probe, "93FA967B", 5)) << probe->Lines();
}

// A frame drawn in memory goes to the desktop as an image: no OpenGL library (on a machine
// without a GPU, a whole software rasterizer) is loaded for it, the choice is reported, and the
// process stays small.
TEST_F(X11, FramesReachTheDesktopWithoutOpenGL) {
    auto probe = StartProbe({"VORLA_REPORT_WAKEUPS=1"});
    std::ifstream maps("/proc/" + std::to_string(probe->Pid()) + "/maps");
    std::string mapped((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    for (const char *library : {"libGL", "libEGL", "libLLVM", "_dri.so"})
        EXPECT_EQ(mapped.find(library), std::string::npos) << library << " is loaded";
    long peak = ThreadStatus(probe->Pid(), "VmHWM"); // kB
    EXPECT_GT(peak, 0);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's shadow memory makes every process large
    EXPECT_LT(peak, 48 * 1024) << "peak resident memory " << peak << " kB";
#endif
    ASSERT_TRUE(Shell("xdotool key Escape"));
    ASSERT_EQ(probe->Exit(10), 0);
    EXPECT_NE(probe->Errors().find("presents frames through the desktop's software framebuffer (x11 driver)"),
              std::string::npos)
        << probe->Errors();
}

#ifdef VORLA_X11_OPENGL_EXAMPLE
// The OpenGL example turns its cube by the frame count alone, so after the same number of frames
// the desktop shows, pixel for pixel, what the headless screen showed: the view's frame and the
// widgets around it.
TEST_F(X11, AnOpenGLViewShowsTheHeadlessFramesOnTheServer) {
    const std::string frames = "12";
    char folder[] = "/tmp/vorla-x11-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    // Headless, once at the first frame and once after the count.
    auto headless = [&](const std::string &count, vorla::testing::Image &image) {
        Process run({VORLA_X11_OPENGL_EXAMPLE, "--frames", count},
                    {"VORLA_BACKEND=headless", std::string("VORLA_SNAPSHOT_DIR=") + folder});
        ASSERT_EQ(run.Exit(60), 0) << run.Errors();
        EXPECT_TRUE(run.WaitFor("frame " + count, 1)) << run.Lines();
        std::string png = std::string(folder) + "/VorlaWindowClass00.png";
        ASSERT_TRUE(vorla::testing::Image::ReadPng(png, image)) << png;
        std::remove(png.c_str());
    };
    vorla::testing::Image first, expected;
    headless("0", first);
    headless(frames, expected);
    Shell(std::string("rm -rf ") + folder);
    ASSERT_EQ(expected.width, 340);
    ASSERT_EQ(first.width, expected.width);
    ASSERT_EQ(first.height, expected.height);

    Process example({VORLA_X11_OPENGL_EXAMPLE, "--frames", frames},
                    {"VORLA_BACKEND=sdl", "DISPLAY=" + server_->Display()});
    ASSERT_TRUE(example.WaitFor("frame " + frames, 30)) << example.Lines() << example.Errors();
    for (int attempt = 0; attempt < 50 && window_.empty(); ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        window_ = Output("xdotool search --onlyvisible --name '^OpenGL view$' 2>/dev/null | tail -n 1");
    }
    ASSERT_FALSE(window_.empty());
    vorla::testing::Image shown;
    int differing = -1;
    // The last frame may still be on its way to the server: look again for a moment.
    for (int attempt = 0; attempt < 20 && differing != 0; ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(Capture(shown));
        ASSERT_EQ(shown.width, expected.width);
        ASSERT_EQ(shown.height, expected.height);
        differing = 0;
        for (size_t i = 0; i < shown.pixels.size(); ++i)
            if ((shown.pixels[i] & 0xFFFFFF) != (expected.pixels[i] & 0xFFFFFF)) differing++;
    }
    EXPECT_EQ(differing, 0);
    std::printf("OpenGL example after %s frames: %d of %zu pixels differ between the server and the headless screen\n",
                frames.c_str(), differing, shown.pixels.size());

    // Not trivially equal: the view holds a shaded cube on its ground, it turned between the
    // first frame and the last, and the widgets are drawn around it.
    const uint32_t ground = expected.At(10, 10);
    EXPECT_EQ(expected.At(329, 249), ground);
    EXPECT_NE(expected.At(170, 130), ground);
    std::vector<uint32_t> colours;
    for (int y = 10; y < 250; ++y)
        for (int x = 10; x < 330; ++x)
            colours.push_back(expected.At(x, y));
    std::sort(colours.begin(), colours.end());
    EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 1000);
    int turned = 0;
    for (int y = 10; y < 250; ++y)
        for (int x = 10; x < 330; ++x)
            turned += first.At(x, y) != expected.At(x, y);
    EXPECT_GT(turned, 5000);
    EXPECT_GT(expected.Count(0xC8CED6, 10, 258, 90, 282), 1000); // the button's face
    EXPECT_EQ(expected.Count(ground, 0, 250, 340, 290), 0);     // the view stays inside its bounds

    ASSERT_TRUE(Shell("xdotool key Escape"));
    EXPECT_EQ(example.Exit(10), 0) << example.Errors();
}

// A frame count that is not a whole number from 0 up is refused before any window opens.
TEST(OpenGLExample, RefusesAFrameCountThatIsNotACount) {
    for (const char *count : {"-1", "12x", "", "99999999999", "0x10"}) {
        Process run({VORLA_X11_OPENGL_EXAMPLE, "--frames", count}, {"VORLA_BACKEND=headless"});
        EXPECT_EQ(run.Exit(30), 2) << count;
        EXPECT_NE(run.Errors().find("usage:"), std::string::npos) << count;
    }
    Process missing({VORLA_X11_OPENGL_EXAMPLE, "--frames"}, {"VORLA_BACKEND=headless"});
    EXPECT_EQ(missing.Exit(30), 2);
}

// The button pauses the turning (the count is never reached) and runs it again, from the keyboard
// as from the mouse.
TEST(OpenGLExample, PauseHoldsTheCountAndRunGoesOn) {
    auto run = [](const char *script) {
        Process example({VORLA_X11_OPENGL_EXAMPLE, "--frames", "5"},
                        {"VORLA_BACKEND=headless", std::string("VORLA_HEADLESS_SCRIPT=") + script});
        EXPECT_EQ(example.Exit(30), 0) << script << example.Errors();
        return example.Lines();
    };
    EXPECT_EQ(run(""), "frame 5\n");
    EXPECT_EQ(run("key Tab; key Space"), "");
    EXPECT_EQ(run("key Tab; key Space; key Space"), "frame 5\n");
}
#endif

} // namespace
