// The operating-system rules, as a table over the three registry values.
#include <windows.h>

#include "app/EnvironmentChecks.h"
#include "support/QuorTest.h"

QUOR_TEST(OperatingSystemRules) {
    struct Case {
        const wchar_t* currentVersion;
        const wchar_t* csdVersion;
        const wchar_t* productName;
        bool accepted;
        int tipType;
    };
    const Case cases[] = {
        {L"", L"", L"", false, 2},                      // unreadable CurrentVersion counts as 0.0
        {L"not a number", L"", L"", false, 2},
        {L"5.1", L"Service Pack 3", L"Windows XP", false, 2},
        {L"6.0", L"Service Pack 2", L"Windows Vista", false, 2},
        {L"6.1", L"Service Pack 1", L"Windows 7", true, 0},
        {L"6.1", L"", L"Windows 7", false, 2},
        {L"6.1", L"Service Pack 2", L"Windows 7", false, 2},
        {L"6.1", L"service pack 1", L"Windows 7", false, 2},
        {L"6.1", L"Service Pack 1 ", L"Windows 7", false, 2},
        {L"6.2", L"", L"", true, 0},                    // no further value is looked at
        {L"6.3", L"", L"Windows 10 Pro", true, 0},
        {L"6.3", L"", L"Windows Server 2012 Standard", false, 2},
        {L"6.3", L"", L"Windows Server 2012 R2 Datacenter", true, 0},
        {L"6.3", L"", L"Windows Server 2016 Standard", true, 0},
        {L"6.3", L"", L"Windows Server 2008 R2 Enterprise", false, 1},
        {L"6.3", L"", L"Windows Server", false, 1},     // no year in the product name reads as 0
        {L"6.3", L"", L"windows server 2008", true, 0}, // the search is case-sensitive
        {L"6.4", L"", L"Windows Server 2008", true, 0},
        {L"10.0", L"", L"", true, 0},
        {L"6.3.9600", L"", L"Windows Server 2012", false, 2}, // the number is read from the start
    };
    for (const Case& c : cases) {
        const OsVerdict verdict = ApplyOperatingSystemRules(c.currentVersion, c.csdVersion, c.productName);
        if (verdict.accepted != c.accepted || (!c.accepted && verdict.tipType != c.tipType)) {
            quortest::Fail(__FILE__, __LINE__,
                           "rules for " + quortest::Narrow(c.currentVersion) + " / " + quortest::Narrow(c.csdVersion) +
                               " / " + quortest::Narrow(c.productName) + ": got " +
                               (verdict.accepted ? "accepted" : "rejected type " + std::to_string(verdict.tipType)));
        }
    }
}
