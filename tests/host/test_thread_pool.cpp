#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include <zrbase/ZrRxThreadPoolService.h>

namespace {

// Counts runs per argument and the most runs seen at the same time.
class CountingTask : public ZrRxTask {
public:
    explicit CountingTask(int arguments) : runs(static_cast<std::size_t>(arguments)) {}
    void run(ZrRxObject* argument) override
    {
        const int now = ++running;
        int seen = mostAtOnce.load();
        while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ++runs[static_cast<std::size_t>(reinterpret_cast<std::intptr_t>(argument))];
        {
            std::lock_guard<std::mutex> guard(lock);
            threads.insert(std::this_thread::get_id());
        }
        --running;
    }
    std::vector<std::atomic<int>> runs;
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    std::mutex lock;
    std::set<std::thread::id> threads;
};

ZrRxObject* argumentFor(int i) { return reinterpret_cast<ZrRxObject*>(static_cast<std::intptr_t>(i)); }

class FailingTask : public ZrRxTask {
public:
    void run(ZrRxObject*) override
    {
        ++started;
        throw std::runtime_error("task failed");
    }
    void cancel() override { ++cancelled; }
    std::atomic<int> started{0}, cancelled{0};
};

} // namespace

TEST(ThreadPool, EveryAddedRunHappensExactlyOnceOnPoolThreads)
{
    ZrRxThreadPoolService pool(4);
    EXPECT_EQ(pool.numThreads(), 4);
    for (int maxConcurrent : {0, 1, 3}) {
        CountingTask task(40);
        ZrRxTaskGroup* group = nullptr;
        ASSERT_EQ(pool.createTaskGroup(group, 16, maxConcurrent, 1), Nimb::eOk);
        for (int i = 0; i < 40; ++i)
            group->addTask(&task, argumentFor(i));
        EXPECT_EQ(group->wait(), Nimb::eOk);
        zrrxRelease(group);
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(task.runs[static_cast<std::size_t>(i)].load(), 1) << "argument " << i;
        EXPECT_LE(task.mostAtOnce.load(), maxConcurrent == 0 ? 4 : maxConcurrent);
        EXPECT_EQ(task.threads.count(std::this_thread::get_id()), 0u);
    }
}

TEST(ThreadPool, DefaultsToOneThreadPerCore)
{
    ZrRxThreadPoolService pool;
    EXPECT_EQ(pool.numThreads(), static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    ZrRxTaskGroup* group = nullptr;
    EXPECT_EQ(pool.createTaskGroup(group, 32, 1, 1), Nimb::eInvalidInput);
    EXPECT_EQ(group, nullptr);
}

TEST(ThreadPool, FailureReachesTheWaiterAndCancelsTheRest)
{
    ZrRxThreadPoolService pool(2);
    FailingTask task;
    ZrRxTaskGroup* group = nullptr;
    ASSERT_EQ(pool.createTaskGroup(group, 16, 1, ZrRxThreadPoolService::kPropagateExceptions), Nimb::eOk);
    for (int i = 0; i < 5; ++i)
        group->addTask(&task, nullptr);
    EXPECT_THROW(group->wait(), std::runtime_error);
    zrrxRelease(group);
    EXPECT_EQ(task.started.load(), 1);
    EXPECT_EQ(task.cancelled.load(), 4);
}

TEST(ThreadPool, ReleasingAGroupWaitsForItsRuns)
{
    ZrRxThreadPoolService pool(2);
    CountingTask task(8);
    ZrRxTaskGroup* group = nullptr;
    ASSERT_EQ(pool.createTaskGroup(group, 16, 2, 1), Nimb::eOk);
    for (int i = 0; i < 8; ++i)
        group->addTask(&task, argumentFor(i));
    zrrxRelease(group);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(task.runs[static_cast<std::size_t>(i)].load(), 1);
}
