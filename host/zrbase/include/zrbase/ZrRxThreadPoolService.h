#pragma once
// The host's thread pool. Plug-ins hand it tasks grouped in task groups.
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ZrRxObject.h"

// A unit of work a pool thread runs. One task object may be added to a group
// several times; every addition is one run.
class ZrRxTask : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrRxTask);
    // Called instead of run for additions the group drops because an earlier
    // task of the group failed. Nothing by default.
    virtual void cancel() {}
    virtual void run(ZrRxObject* argument) = 0;
};

// Tasks that are waited for together. Made by the pool's createTaskGroup with
// one reference for the caller, which releases it with zrrxRelease.
class ZrRxTaskGroup : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrRxTaskGroup);
    // Queues one run of task with argument. The task and argument must stay
    // alive until wait returns.
    virtual Nimb::ErrorStatus addTask(ZrRxTask* task, ZrRxObject* argument) = 0;
    // Blocks until every queued run has finished. With kPropagateExceptions,
    // the first exception a task threw is thrown again here; the runs not yet
    // started when it happened are cancelled (their cancel is called instead).
    virtual Nimb::ErrorStatus wait() = 0;
};

class ZrRxThreadPoolService : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrRxThreadPoolService);

    // Group flags.
    enum GroupFlags {
        // A task's exception reaches the thread that waits. Without this flag
        // the exception is written to the standard error stream and dropped.
        kPropagateExceptions = 1,
    };
    // Priorities range from 0 (lowest) to 31; queued runs of higher
    // priority start first.
    enum { kNormalPriority = 16, kMaxPriority = 31 };

    // threadCount 0 means one thread per processor core.
    explicit ZrRxThreadPoolService(int threadCount = 0);
    ~ZrRxThreadPoolService() override;

    int numThreads() const { return static_cast<int>(m_threads.size()); }
    // Makes a group whose runs start at the given priority, of which at most
    // maxConcurrent run at the same time (0: as many as the pool has threads).
    Nimb::ErrorStatus createTaskGroup(ZrRxTaskGroup*& group, int priority, int maxConcurrent, int flags);

    // Used by groups: queues one job.
    void submit(int priority, std::function<void()> job);

private:
    void workerLoop();
    struct Job {
        int priority;
        unsigned long long order;
        std::function<void()> work;
    };
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue; // kept sorted: priority descending, then order
    unsigned long long m_nextOrder = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
