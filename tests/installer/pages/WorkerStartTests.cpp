// The install worker on a machine where threads are slow to start: the page
// waits for it a while, and one that does not get going in time is a failed
// installation that never runs the payload afterwards.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/FinishDlg.h"
#include "app/InstallerTexts.h"
#include "app/WelcomeDlg.h"
#include "resources/ResourceIds.h"
#include "support/InstallerRig.h"
#include "support/QuorTest.h"
#include "support/ThreadStartHold.h"
#include "support/WindowScript.h"
#include "ui/TipDialog.h"

QUOR_TEST(TheWorkerIsWaitedForAWhileAndOneThatNeverStartsFailsTheInstallation) {
    // Nothing here depends on the screen; the waits are long enough to run once.
    if (TestDpi() != 96) {
        std::printf("  runs at 96 DPI only\n");
        return;
    }
    struct Case {
        const char* name;
        DWORD holdMs;
        bool installed;
    };
    const Case cases[] = {
        {"worker starts after 1.5 s", 1500, true},
        // The page waits 5 s; the hold runs out later (it cannot be released
        // earlier: the held thread keeps the loader lock the tip needs).
        {"worker starts after 7 s", 7000, false},
    };
    for (const Case& c : cases) {
        std::printf("  case: %s\n", c.name);
        HostInstalled host; // and no LastPath of the case before
        PayloadInPlace payload;
        TipLog tips;
        ScriptStep outcome = c.installed ? When("the finish page", [] { return VisibleFinishPage() != nullptr; },
                                                [] { PostClick(VisibleFinishPage()->GetDlgItem(IDC_FINISH_BUTTON)); })
                                         : AnswerTip(tips, IDOK);
        RunInstallerInProcess(AgreeInstallThen({outcome}, [&] { HoldNextThreadStart(c.holdMs); }));
        ReleaseHeldThread();
        CHECK(HeldThreadId() != 0);
        if (c.installed) {
            CHECK(tips.empty());
            CHECK_EQ(payload.Runs().size(), static_cast<size_t>(1));
            continue;
        }
        CHECK_EQ(TextsOf(tips), std::vector<std::wstring>{Text(IDS_INSTALL_FAILED)});
        // Given up, the worker ends as soon as it runs, without installing.
        CHECK(WaitFor([] { return HeldThreadEnded() != FALSE; }, 10000));
        CHECK(payload.Runs().empty());
        CHECK_EQ(RecordedLastPath(), std::wstring());
    }
}
