// System information: screen and memory from the window system, and the process walk through
// both the process-status and the tool-help entry points, over this machine's /proc and over a
// stand-in tree with chosen contents.
#include "support.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <csignal>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A tree laid out like /proc, with processes whose figures the test chooses.
class FakeProc {
public:
    explicit FakeProc(long long bootTime) { WriteFile(dir_ / "stat", "cpu  1 2 3\nbtime " + std::to_string(bootTime) + "\n"); }

    // A process with an executable (so it can be opened) or without one (so it cannot).
    void Add(unsigned pid, const std::string &comm, const std::string &exe, long long startSeconds, long long rssKb)
    {
        const std::string base = dir_ / std::to_string(pid);
        const long long ticks = startSeconds * sysconf(_SC_CLK_TCK);
        WriteFile(base + "/stat", std::to_string(pid) + " (" + comm + ") S 1 1 1 0 -1 4194304 100 0 5 0 7 3 0 0 20 0 1 0 " +
                                      std::to_string(ticks) + " 1000 100\n");
        WriteFile(base + "/status", "Name:\t" + comm + "\nVmHWM:\t" + std::to_string(rssKb * 2) + " kB\nVmRSS:\t" +
                                        std::to_string(rssKb) + " kB\n");
        if (!exe.empty())
            fs::create_symlink(exe, base + "/exe");
    }
    void AddRaw(unsigned pid, const std::string &stat, const std::string &status, const std::string &exe)
    {
        const std::string base = dir_ / std::to_string(pid);
        WriteFile(base + "/stat", stat);
        WriteFile(base + "/status", status);
        if (!exe.empty())
            fs::create_symlink(exe, base + "/exe");
    }
    void Meminfo(const std::string &text) { WriteFile(dir_ / "meminfo", text); }
    std::string Root() const { return dir_.Path().string(); }

private:
    TempDir dir_;
};

SYSTEMTIME Local(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME t;
    std::memset(&t, 0, sizeof t);
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

long long UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return static_cast<long long>(timegm(&tm));
}

std::vector<VLSTProcessInfo> Walk(VLSystemInfo &info, int max)
{
    std::vector<VLSTProcessInfo> records(static_cast<size_t>(max));
    records.resize(static_cast<size_t>(info.GetProcessInfo(records.data(), max)));
    return records;
}

const VLSTProcessInfo *Find(const std::vector<VLSTProcessInfo> &records, unsigned pid)
{
    for (const VLSTProcessInfo &record : records)
        if (record.processID == pid)
            return &record;
    return nullptr;
}

int ProcFigure(const std::string &file, const std::string &key)
{
    const std::string text = ReadFile(file);
    const size_t at = text.find(key + ":");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size() + 1);
}

int ProcessesInProc()
{
    int count = 0;
    for (const fs::directory_entry &entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && std::all_of(name.begin(), name.end(), ::isdigit))
            ++count;
    }
    return std::min(count, 1000);
}

class SystemInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver::Reset(800, 600);
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

} // namespace

static_assert(sizeof(VLSTProcessInfo) == 272, "the process record is 272 bytes");

TEST_F(SystemInfo, SystemScreenAndMemory)
{
    VLSystemInfo info;
    EXPECT_EQ(info.GetOS(), 10);
    EXPECT_EQ(info.GetOSVersion(), 0x0501); // the window system reports version 5.1
    const VLSTSize screen = info.GetScreenSize();
    EXPECT_EQ(screen.width, 800);
    EXPECT_EQ(screen.height, 600);
    EXPECT_EQ(info.GetScreenBPP(), 32);

    const int total = ProcFigure("/proc/meminfo", "MemTotal");
    EXPECT_EQ(info.GetTotalPhysMemoryK(), total);
    EXPECT_GT(info.GetAvailPhysMemoryK(), 0);
    EXPECT_LE(info.GetAvailPhysMemoryK(), total);
    // A 64-bit address space holds more kilobytes than an int: the figure stops at the largest.
    EXPECT_GT(info.GetTotalVirtualMemoryK(), 0);
    EXPECT_GT(info.GetAvailVirtualMemoryK(), 0);
    EXPECT_LE(info.GetAvailVirtualMemoryK(), info.GetTotalVirtualMemoryK());
}

TEST_F(SystemInfo, MemoryFiguresBeyondTheIntRangeAreClamped)
{
    FakeProc proc(0);
    proc.Meminfo("MemTotal:       4294967296 kB\nMemFree:   10 kB\nMemAvailable:    3072 kB\nSwapTotal: 0 kB\n");
    driver::SetProcessRoot(proc.Root());
    VLSystemInfo info;
    EXPECT_EQ(info.GetTotalPhysMemoryK(), INT_MAX);
    EXPECT_EQ(info.GetAvailPhysMemoryK(), 3072);

    // Nonsense in place of numbers reads as nothing, never as a crash.
    proc.Meminfo("MemTotal: 999999999999999999999999 kB\nMemAvailable: -5 kB\nMemTotal\n:");
    EXPECT_EQ(info.GetTotalPhysMemoryK(), 0);
    EXPECT_EQ(info.GetAvailPhysMemoryK(), 0);
}

TEST_F(SystemInfo, ProcessWalkOfThisMachineFindsThisTest)
{
    VLSystemInfo info;
    const int expected = ProcessesInProc();
    const int count = info.GetProcessCount();
    EXPECT_NEAR(count, expected, 10);

    EXPECT_EQ(info.GetProcessInfo(nullptr, 5), 0);
    VLSTProcessInfo one[1];
    EXPECT_EQ(info.GetProcessInfo(one, 0), 0);
    EXPECT_EQ(info.GetProcessInfo(one, 1), 1);

    const int residentKb = ProcFigure("/proc/self/status", "VmRSS");
    const std::vector<VLSTProcessInfo> records = Walk(info, 1000);
    EXPECT_NEAR(static_cast<int>(records.size()), expected, 10);
    const VLSTProcessInfo *self = Find(records, static_cast<unsigned>(getpid()));
    ASSERT_NE(self, nullptr);
    EXPECT_STREQ(self->name, "test_util");
    EXPECT_GT(self->memory, residentKb / 2);
    EXPECT_LT(self->memory, residentKb * 2);
    EXPECT_EQ(self->reserved, 0);
    EXPECT_GE(self->runningTime, 0);
    EXPECT_LT(self->runningTime, 600);
    for (const VLSTProcessInfo &record : records) {
        ASSERT_LT(std::strlen(record.name), 256u);
        if (std::strcmp(record.name, "Unknown") == 0) {
            EXPECT_EQ(record.memory, 0);
            EXPECT_EQ(record.runningTime, 0);
        }
    }
}

TEST_F(SystemInfo, ToolHelpWalkServesWithoutTheProcessStatusLibrary)
{
    driver::SetModuleAvailable("psapi.dll", false);
    VLSystemInfo info;
    EXPECT_NEAR(info.GetProcessCount(), ProcessesInProc(), 10);
    const std::vector<VLSTProcessInfo> records = Walk(info, 1000);
    const VLSTProcessInfo *self = Find(records, static_cast<unsigned>(getpid()));
    ASSERT_NE(self, nullptr);
    EXPECT_STREQ(self->name, "test_util");
    EXPECT_EQ(self->memory, 0);
    EXPECT_EQ(self->runningTime, 0);
    EXPECT_EQ(Walk(info, 2).size(), 2u);

    // Without either library there is nothing to count.
    driver::SetModuleAvailable("kernel32.dll", false);
    VLSystemInfo none;
    EXPECT_EQ(none.GetProcessCount(), 0);
    EXPECT_TRUE(Walk(none, 10).empty());
}

TEST_F(SystemInfo, RecordsFromAChosenProcessTable)
{
    // Booted 31 December 2023 at 23:59:50; now it is 00:00:10 on New Year's Day.
    FakeProc proc(UtcSeconds(2023, 12, 31, 23, 59, 50));
    proc.Add(10, "alpha", "/usr/bin/alpha", 0, 2048);
    proc.Add(20, "kworker/0:1", "", 0, 0);                    // cannot be opened
    proc.Add(30, "leap", "/opt/leap (deleted)", 58 * 86400 + 12 * 3600 + 10, 4); // 28 February 2024, 12:00
    driver::SetProcessRoot(proc.Root());
    driver::SetLocalTime(Local(2024, 1, 1, 0, 0, 10));

    VLSystemInfo info;
    EXPECT_EQ(info.GetProcessCount(), 3);
    std::vector<VLSTProcessInfo> records = Walk(info, 10);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Walk(info, 2).size(), 2u);

    EXPECT_EQ(records[0].processID, 10u);
    EXPECT_STREQ(records[0].name, "alpha");
    EXPECT_EQ(records[0].memory, 2048);
    EXPECT_EQ(records[0].runningTime, 20); // across the year's end

    EXPECT_EQ(records[1].processID, 20u);
    EXPECT_STREQ(records[1].name, "Unknown");
    EXPECT_EQ(records[1].memory, 0);
    EXPECT_EQ(records[1].runningTime, 0);

    EXPECT_STREQ(records[2].name, "leap");
    EXPECT_EQ(records[2].memory, 4);
    // Two days later, across 29 February.
    driver::SetLocalTime(Local(2024, 3, 1, 12, 0, 0));
    records = Walk(info, 10);
    EXPECT_EQ(records[2].runningTime, 2 * 86400);
    // A clock before 1900 gives no running time at all.
    driver::SetLocalTime(Local(1899, 12, 31, 0, 0, 0));
    EXPECT_EQ(Walk(info, 10)[0].runningTime, 0);

    // The tool-help walk names every process, also the one it could not open.
    driver::SetModuleAvailable("psapi.dll", false);
    VLSystemInfo toolHelp;
    records = Walk(toolHelp, 10);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_STREQ(records[1].name, "kworker/0:1");
    EXPECT_EQ(records[1].memory, 0);
}

TEST_F(SystemInfo, MalformedProcessFilesNeverCrashTheWalk)
{
    FakeProc proc(UtcSeconds(2024, 5, 1, 0, 0, 0));
    const std::string longName(300, 'n');
    proc.AddRaw(5, "5 (no closing paren S 1", "VmRSS:\n", "/bin/" + longName);
    proc.AddRaw(6, "6 (a) b) S 1 1 1 0 -1 0 1 0 1 0 99999999999999999999 1 0 0 20 0 1 0 18446744073709551615 1 1\n",
                "VmRSS: 9999999999999999999 kB\n", "/bin/odd");
    proc.AddRaw(7, "", "", "/");
    proc.AddRaw(8, std::string(100000, ')'), std::string(100000, 'V'), "/bin/big");
    WriteFile(proc.Root() + "/123abc/stat", "not a process");
    driver::SetProcessRoot(proc.Root());
    driver::SetLocalTime(Local(2024, 5, 1, 0, 1, 0));

    VLSystemInfo info;
    const std::vector<VLSTProcessInfo> records = Walk(info, 10);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(std::string(records[0].name), longName.substr(0, 255)); // the record's limit
    EXPECT_EQ(records[0].runningTime, 0);
    EXPECT_STREQ(records[1].name, "odd");
    EXPECT_EQ(records[1].memory, INT_MAX);
    EXPECT_EQ(records[1].runningTime, 0);
    EXPECT_STREQ(records[2].name, "Unknown"); // "/" has no base name
    EXPECT_STREQ(records[3].name, "big");

    driver::SetModuleAvailable("psapi.dll", false);
    VLSystemInfo toolHelp;
    const std::vector<VLSTProcessInfo> named = Walk(toolHelp, 10);
    ASSERT_EQ(named.size(), 3u); // one with neither a name nor a stat is left out
    EXPECT_EQ(std::string(named[0].name), longName.substr(0, 255));
}

// The longest name a file may have here, on a real process: both walks keep all of it.
TEST_F(SystemInfo, BothWalksKeepTheLongestExecutableName)
{
    TempDir dir;
    std::string name = "vorla-" + std::string(249, 's');
    ASSERT_EQ(name.size(), 255u);
    const std::string path = dir / name;
    std::error_code error;
    fs::copy_file("/bin/sleep", path, error);
    fs::permissions(path, fs::perms::owner_all, error);
    char seconds[] = "60";
    char *arguments[] = {&name[0], seconds, nullptr};
    pid_t child = 0;
    if (error || posix_spawn(&child, path.c_str(), nullptr, nullptr, arguments, environ) != 0)
        GTEST_SKIP() << "cannot run a program from " << dir.Path();
    struct Reaper {
        pid_t pid;
        ~Reaper()
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    } reaper{child};

    VLSystemInfo info;
    const std::vector<VLSTProcessInfo> records = Walk(info, 1000);
    const VLSTProcessInfo *found = Find(records, static_cast<unsigned>(child));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(std::string(found->name), name);
    EXPECT_GT(found->memory, 0);

    driver::SetModuleAvailable("psapi.dll", false);
    VLSystemInfo toolHelp;
    const std::vector<VLSTProcessInfo> named = Walk(toolHelp, 1000);
    found = Find(named, static_cast<unsigned>(child));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(std::string(found->name), name);
}

// The system's name query as the walk relies on it: size is the most characters copied, and a
// name that fills the buffer gets no terminator.
TEST_F(SystemInfo, ModuleBaseNameFillsAtMostTheSizeGiven)
{
    HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    char name[16];
    std::memset(name, '#', sizeof name);
    EXPECT_EQ(GetModuleBaseNameA(self, nullptr, name, 4), 4u);
    EXPECT_EQ(std::string(name, 5), "test#");
    std::memset(name, '#', sizeof name);
    EXPECT_EQ(GetModuleBaseNameA(self, nullptr, name, 9), 9u);
    EXPECT_EQ(std::string(name, 10), "test_util#");
    EXPECT_EQ(GetModuleBaseNameA(self, nullptr, name, 10), 9u);
    EXPECT_STREQ(name, "test_util");
    EXPECT_EQ(GetModuleBaseNameA(self, nullptr, name, 0), 0u);
    CloseHandle(self);
}
