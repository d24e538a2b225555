// RunInOwnProcess: runs part of a test in a fresh process of the same test program. The library
// starts once per process and VorlaTerminate ends it for good, so a test that terminates it (or
// needs it never started) must not do so in the process that runs the other tests.
#pragma once

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace own_process {

// Names the test and call a started program is to run the body of: "Suite.Test#2".
inline constexpr const char *kMarker = "VORLA_TEST_OWN_PROCESS";
// The started program's exit code when the body ran and nothing failed; a plain 0 would also be
// what an empty test run returns.
inline constexpr int kBodyPassed = 86;

// Counts the calls within the current test, so a test may call RunInOwnProcess more than once.
struct CallCounter : ::testing::EmptyTestEventListener {
    int calls = 0;
    void OnTestStart(const ::testing::TestInfo &) override { calls = 0; }
};

inline int NextCall()
{
    static CallCounter *counter = [] {
        auto *made = new CallCounter; // owned by GoogleTest from here on
        ::testing::UnitTest::GetInstance()->listeners().Append(made);
        return made;
    }();
    return ++counter->calls;
}

inline std::string CurrentTestName()
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "." + test->name() : std::string();
}

// The started program's side: runs the body with every failure caught here, prints them, and
// ends the process, so nothing after the call runs in it.
template <typename Body>
[[noreturn]] void RunBodyAndExit(Body &body)
{
    // Failures on this thread are caught here, even inside EXPECT_NONFATAL_FAILURE; those of other
    // threads reach the test's result.
    const ::testing::TestResult &result = *::testing::UnitTest::GetInstance()->current_test_info()->result();
    const int before = result.total_part_count();
    ::testing::TestPartResultArray caught;
    {
        ::testing::ScopedFakeTestPartResultReporter catcher(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &caught);
        body();
    }
    int failures = 0;
    for (int i = 0; i < caught.size(); ++i) {
        const ::testing::TestPartResult &part = caught.GetTestPartResult(i);
        if (!part.failed())
            continue;
        ++failures;
        std::printf("%s:%d: Failure\n%s\n", part.file_name() ? part.file_name() : "unknown", part.line_number(),
                    part.message());
    }
    for (int i = before; i < result.total_part_count(); ++i)
        failures += result.GetTestPartResult(i).failed();
    std::fflush(stdout);
    // exit, not _exit: the process ends as an application's would, static destructors and the
    // sanitizers' leak check included.
    std::exit(failures ? 1 : kBodyPassed);
}

// What ended the started program, in words.
inline std::string Describe(int status)
{
    if (WIFSIGNALED(status))
        return "was killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    if (!WIFEXITED(status))
        return "ended with wait status " + std::to_string(status);
    if (WEXITSTATUS(status) == 0)
        return "ended without reaching the call (filtered out, or the test took another path)";
    return "exited with code " + std::to_string(WEXITSTATUS(status));
}

} // namespace own_process

// Runs body in a new run of this test program that is filtered to the current test. That run
// repeats the test up to this call (fixture, SetUp, the statements before it; earlier
// RunInOwnProcess calls are skipped), runs body and exits. This process skips body and goes on
// after the call; a failure inside body, a crash, a sanitizer report or a leak in the other
// process fails the current test here, with that process's output.
//
// Use it for every test that calls VorlaTerminate or needs a library that was never initialized:
//
//     TEST_F(CoreTest, TerminateClearsWindows)
//     {
//         RunInOwnProcess([] { ...; VorlaTerminate(); ... });
//     }
//
// The body runs in another process: it can reach the fixture's members, but nothing it changes
// comes back.
template <typename Body>
void RunInOwnProcess(Body body)
{
    const std::string test = own_process::CurrentTestName();
    const std::string call = test + "#" + std::to_string(own_process::NextCall());
    const char *started = std::getenv(own_process::kMarker);
    if (started && std::string(started).rfind(test + "#", 0) == 0) {
        // Started for one call of this test: run that one, skip the others (they have their own
        // processes).
        if (call == started)
            own_process::RunBodyAndExit(body);
        return;
    }

    // Everything the new process gets is made before fork: only exec-safe calls may follow it.
    const std::string filter = "--gtest_filter=" + test;
    const char *argv[] = {"/proc/self/exe", filter.c_str(), "--gtest_also_run_disabled_tests", nullptr};
    // Sharding or report settings would filter the one test out or overwrite this run's report.
    static const char *const kDropped[] = {"GTEST_TOTAL_SHARDS=", "GTEST_SHARD_INDEX=", "GTEST_SHARD_STATUS_FILE=",
                                           "GTEST_OUTPUT=", "XML_OUTPUT_FILE=", "TEST_PREMATURE_EXIT_FILE=",
                                           "GTEST_REPEAT="};
    const std::string marker = std::string(own_process::kMarker) + "=" + call;
    std::vector<const char *> envp;
    for (char **entry = environ; entry && *entry; ++entry) {
        bool dropped = std::strncmp(*entry, own_process::kMarker, std::strlen(own_process::kMarker)) == 0;
        for (const char *prefix : kDropped)
            dropped = dropped || std::strncmp(*entry, prefix, std::strlen(prefix)) == 0;
        if (!dropped)
            envp.push_back(*entry);
    }
    envp.push_back(marker.c_str());
    envp.push_back(nullptr);

    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "RunInOwnProcess: no pipe: " << std::strerror(errno);
        return;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        // Dies with this process, so a test run killed on timeout leaves nothing behind.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        execve(argv[0], const_cast<char *const *>(argv), const_cast<char *const *>(envp.data()));
        _exit(127);
    }
    close(output[1]);
    if (child < 0) {
        close(output[0]);
        ADD_FAILURE() << "RunInOwnProcess: cannot fork: " << std::strerror(errno);
        return;
    }

    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(output[0], buffer, sizeof buffer);
        if (got > 0)
            text.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(output[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            ADD_FAILURE() << "RunInOwnProcess: lost the process of " << call << ": " << std::strerror(errno);
            return;
        }
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == own_process::kBodyPassed)
        return;
    ADD_FAILURE() << "The own process of " << call << " " << own_process::Describe(status) << ". Its output:\n"
                  << text;
}
