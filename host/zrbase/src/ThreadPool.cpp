#include "zrbase/ZrRxThreadPoolService.h"

#include <algorithm>
#include <iostream>

ZRRX_DEFINE_MEMBERS(ZrRxTask, ZrRxObject, nullptr)
ZRRX_DEFINE_MEMBERS(ZrRxTaskGroup, ZrRxObject, nullptr)
ZRRX_DEFINE_MEMBERS(ZrRxThreadPoolService, ZrRxObject, nullptr)

namespace {

// Runs are handed to the pool at most maxConcurrent at a time; the rest wait
// in the group's own queue.
class PoolTaskGroup : public ZrRxTaskGroup {
public:
    PoolTaskGroup(ZrRxThreadPoolService& pool, int priority, int maxConcurrent, int flags)
        : m_pool(pool), m_priority(priority), m_maxConcurrent(maxConcurrent), m_flags(flags)
    {
    }

    // A group released without wait still lets its runs finish first.
    ~PoolTaskGroup() override { waitForAll(); }

    Nimb::ErrorStatus addTask(ZrRxTask* task, ZrRxObject* argument) override
    {
        if (!task)
            return Nimb::eNullObjectPointer;
        std::lock_guard<std::mutex> guard(m_mutex);
        m_waiting.push_back({task, argument});
        ++m_unfinished;
        startWhatMayRun();
        return Nimb::eOk;
    }

    Nimb::ErrorStatus wait() override
    {
        waitForAll();
        std::lock_guard<std::mutex> guard(m_mutex);
        if (m_failure && (m_flags & ZrRxThreadPoolService::kPropagateExceptions)) {
            std::exception_ptr failure = m_failure;
            m_failure = nullptr;
            std::rethrow_exception(failure);
        }
        return Nimb::eOk;
    }

private:
    void waitForAll()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_allDone.wait(lock, [this] { return m_unfinished == 0; });
    }

    struct Run {
        ZrRxTask* task;
        ZrRxObject* argument;
    };

    // Called with m_mutex held.
    void startWhatMayRun()
    {
        while (!m_waiting.empty() && (m_maxConcurrent <= 0 || m_running < m_maxConcurrent)) {
            Run run = m_waiting.front();
            m_waiting.pop_front();
            ++m_running;
            m_pool.submit(m_priority, [this, run] { execute(run); });
        }
    }

    void execute(Run run)
    {
        bool cancelled;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            cancelled = static_cast<bool>(m_failure);
        }
        try {
            if (cancelled)
                run.task->cancel();
            else
                run.task->run(run.argument);
        } catch (...) {
            recordFailure(std::current_exception());
        }
        std::lock_guard<std::mutex> guard(m_mutex);
        --m_running;
        --m_unfinished;
        startWhatMayRun();
        if (m_unfinished == 0)
            m_allDone.notify_all();
    }

    void recordFailure(std::exception_ptr failure)
    {
        if (!(m_flags & ZrRxThreadPoolService::kPropagateExceptions)) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& e) {
                std::cerr << "nimb: a pool task failed: " << e.what() << '\n';
            } catch (...) {
                std::cerr << "nimb: a pool task failed\n";
            }
            return;
        }
        std::lock_guard<std::mutex> guard(m_mutex);
        if (!m_failure)
            m_failure = failure;
    }

    ZrRxThreadPoolService& m_pool;
    const int m_priority;
    const int m_maxConcurrent;
    const int m_flags;
    std::mutex m_mutex;
    std::condition_variable m_allDone;
    std::deque<Run> m_waiting;
    int m_running = 0;
    int m_unfinished = 0;
    std::exception_ptr m_failure;
};

} // namespace

ZrRxThreadPoolService::ZrRxThreadPoolService(int threadCount)
{
    if (threadCount <= 0)
        threadCount = std::max(1u, std::thread::hardware_concurrency());
    m_threads.reserve(static_cast<std::size_t>(threadCount));
    for (int i = 0; i < threadCount; ++i)
        m_threads.emplace_back([this] { workerLoop(); });
}

ZrRxThreadPoolService::~ZrRxThreadPoolService()
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads)
        t.join();
}

Nimb::ErrorStatus ZrRxThreadPoolService::createTaskGroup(ZrRxTaskGroup*& group, int priority, int maxConcurrent, int flags)
{
    group = nullptr;
    if (priority < 0 || priority > kMaxPriority || maxConcurrent < 0)
        return Nimb::eInvalidInput;
    group = new PoolTaskGroup(*this, priority, maxConcurrent, flags);
    return Nimb::eOk;
}

void ZrRxThreadPoolService::submit(int priority, std::function<void()> job)
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        Job entry{priority, m_nextOrder++, std::move(job)};
        auto position = std::upper_bound(m_queue.begin(), m_queue.end(), entry, [](const Job& a, const Job& b) {
            return a.priority != b.priority ? a.priority > b.priority : a.order < b.order;
        });
        m_queue.insert(position, std::move(entry));
    }
    m_wake.notify_one();
}

void ZrRxThreadPoolService::workerLoop()
{
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return; // stopping, and nothing left to do
            work = std::move(m_queue.front().work);
            m_queue.pop_front();
        }
        work();
    }
}
