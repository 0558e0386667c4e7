// Privileges and the process search, with a stand-in process started under Wine.
#include <windows.h>

#include "app/EnvironmentChecks.h"
#include "support/QuorTest.h"
#include "support/WineEnvironment.h"

QUOR_TEST(WinesDefaultUserIsAnElevatedAdministrator) {
    CHECK(IsRunAsAdmin());
    CHECK(IsUserInAdminGroup());
}

QUOR_TEST(ProcessSearchAndTerminationIgnoreCase) {
    SleepingProcess process(L"NIMB.EXE");
    REQUIRE(process.Started());
    CHECK_EQ(FindProcessByName(L"nimb.exe"), process.Id());
    CHECK_EQ(FindProcessByName(L"Nimb.Exe"), process.Id());
    CHECK(TerminateProcessesByName(L"nimb.exe"));
    CHECK(process.EndsWithin(5000));
    CHECK_EQ(FindProcessByName(L"nimb.exe"), static_cast<DWORD>(0));
}

QUOR_TEST(AProcessThatCannotBeEndedFailsTheTermination) {
    SleepingProcess process(L"nimb.exe", SleepingProcess::kUnstoppable);
    REQUIRE(process.Started());
    CHECK(!TerminateProcessesByName(L"nimb.exe"));
    CHECK(!process.EndsWithin(200));
    CHECK_EQ(FindProcessByName(L"nimb.exe"), process.Id());
}

QUOR_TEST(TerminationOfNoMatchingProcessSucceeds) {
    CHECK(TerminateProcessesByName(L"no-such-program.exe"));
    CHECK_EQ(FindProcessByName(L"no-such-program.exe"), static_cast<DWORD>(0));
}
