#pragma once
// nimb --timings: where the time of an open goes, on standard error. The
// phases are told by the open export's progress ticks (3 before reading, 72
// once the file is read, transferred and walked, 25 once every shape is
// converted); the host's B-rep builder counts its own time.
#include <ostream>
#include <string>

class ImportTimings {
public:
    // Called where the open export is called, and when it returns.
    void start();
    void finish();
    // The export's tick callback; forwards to next (may be null).
    static void onTick();
    static void setNext(void (*next)());

    // One line: the phases in seconds, the total and the peak memory.
    void print(const std::string& file, std::ostream& out) const;

private:
    double m_start = 0.0, m_end = 0.0;
    double m_buildBefore = 0.0, m_buildAfter = 0.0;
};
