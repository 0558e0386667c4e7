#include "ImportTimings.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include <zrbr/ZrBrepBuilder.h>

namespace {

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// When each tick came, in order.
std::vector<double> tickTimes;
void (*nextTick)() = nullptr;

// The time of the n-th tick (1-based), or fallback when there were fewer.
double tickAt(std::size_t n, double fallback) { return n <= tickTimes.size() ? tickTimes[n - 1] : fallback; }

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

void ImportTimings::start()
{
    tickTimes.clear();
    m_buildBefore = zrbrBuildSeconds();
    m_start = now();
}

void ImportTimings::finish()
{
    m_end = now();
    m_buildAfter = zrbrBuildSeconds();
}

void ImportTimings::onTick()
{
    tickTimes.push_back(now());
    if (nextTick)
        nextTick();
}

void ImportTimings::setNext(void (*next)()) { nextTick = next; }

void ImportTimings::print(const std::string& file, std::ostream& out) const
{
    // The callback comes from the second tick on: its second call starts
    // the read, its third (the first of the 72 after the read) ends it, and
    // the first of the 25 after the conversion (its 75th) ends that.
    const double readStart = tickAt(2, m_start);
    const double readEnd = tickAt(3, m_end);
    const double convertEnd = tickAt(75, readEnd);
    const double build = m_buildAfter - m_buildBefore;
    const double convert = convertEnd - readEnd;
    char line[512];
    std::snprintf(line, sizeof line,
                  "timings %s: read %.3f s, convert %.3f s (plug-in %.3f s, host builder %.3f s), blocks %.3f s, "
                  "total %.3f s, peak %.1f MB\n",
                  file.c_str(), readEnd - readStart, convert, convert - build > 0.0 ? convert - build : 0.0, build,
                  m_end - convertEnd, m_end - m_start, peakMegabytes());
    out << line;
}
