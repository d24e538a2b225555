// Threads: the register of 8 started objects, and threads that really run.
#include "support.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

struct Work {
    std::atomic<int> runs{0};
    std::atomic<int> sum{0};
};

struct Call {
    Work *work;
    int value;
};

void AddValue(void *argument)
{
    Call *call = static_cast<Call *>(argument);
    call->work->sum += call->value;
    call->work->runs++;
}

void Idle(void *) {}

// Waits a real while for started threads to finish their function.
bool WaitFor(const std::atomic<int> &counter, int expected)
{
    for (int i = 0; i < 500 && counter.load() < expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return counter.load() == expected;
}

} // namespace

TEST(ThreadRegister, EightStartedObjectsAtOnceThenTheNinthWaitsForADestroyedOne)
{
    Work work;
    Call calls[10];
    std::unique_ptr<VLThread> threads[9];
    for (int i = 0; i < 9; ++i) {
        calls[i] = Call{&work, 1 << i};
        threads[i] = std::make_unique<VLThread>();
    }
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(threads[i]->BeginThread(AddValue, &calls[i]), 1);
    EXPECT_EQ(threads[8]->BeginThread(AddValue, &calls[8]), 0);

    // Ending a thread does not give its slot back; destroying the object does.
    EXPECT_EQ(threads[3]->EndThread(), 1);
    EXPECT_EQ(threads[8]->BeginThread(AddValue, &calls[8]), 0);
    threads[3].reset();
    EXPECT_EQ(threads[8]->BeginThread(AddValue, &calls[8]), 1);

    // Every function ran once, each with its own argument.
    ASSERT_TRUE(WaitFor(work.runs, 9));
    EXPECT_EQ(work.sum.load(), 0x1FF);
}

TEST(ThreadRegister, RunningObjectsRefuseASecondStartAndRestartInTheirSlot)
{
    Work work;
    Call call{&work, 5};
    VLThread thread;
    EXPECT_EQ(thread.EndThread(), 0);
    EXPECT_EQ(thread.BeginThread(nullptr, &call), 0);
    ASSERT_EQ(thread.BeginThread(AddValue, &call), 1);
    EXPECT_EQ(thread.BeginThread(AddValue, &call), 0);
    EXPECT_EQ(thread.EndThread(), 1);
    EXPECT_EQ(thread.EndThread(), 0);
    ASSERT_EQ(thread.BeginThread(AddValue, &call), 1);
    ASSERT_TRUE(WaitFor(work.runs, 2));
    EXPECT_EQ(work.sum.load(), 10);

    // The restart kept one slot: seven more objects still find one each, an eighth does not.
    std::unique_ptr<VLThread> others[8];
    for (int i = 0; i < 8; ++i)
        others[i] = std::make_unique<VLThread>();
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(others[i]->BeginThread(Idle, nullptr), 1);
    EXPECT_EQ(others[7]->BeginThread(Idle, nullptr), 0);
}

TEST(ThreadRegister, SleepWaitsAndANegativeTimeDoesNotHang)
{
    VLThread thread;
    const auto start = std::chrono::steady_clock::now();
    thread.Sleep(30);
    const auto slept = std::chrono::steady_clock::now() - start;
    EXPECT_GE(slept, std::chrono::milliseconds(30));
    thread.Sleep(-5);
    thread.Sleep(0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
