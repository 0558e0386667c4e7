#pragma once
#include <mutex>

// A plain (non-recursive) mutex. Works with std::lock_guard.
class ZrMutex {
public:
    ZrMutex() = default;
    ZrMutex(const ZrMutex&) = delete;
    ZrMutex& operator=(const ZrMutex&) = delete;

    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    bool tryLock() { return m_mutex.try_lock(); }

private:
    std::mutex m_mutex;
};
