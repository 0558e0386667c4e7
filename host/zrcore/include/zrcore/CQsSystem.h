#pragma once
// The host application as plug-ins see it.

// Tells which command names the host implements itself.
class CQsCommandNameService {
public:
    virtual ~CQsCommandNameService() = default;
    // True when the host itself provides a command of that name (any case).
    virtual bool isHostCommand(const wchar_t* name) const = 0;
};

// Runs the host's own actions by code.
class CQsImportActionService {
public:
    virtual ~CQsImportActionService() = default;
    // Action codes: 7 imports a STEP file into the current drawing, 8 an IGES
    // file. The host asks the user for the file, then has the loaded plug-in
    // that exports nimbImportFile import it. False when the action is
    // unknown, cancelled or could not run.
    virtual bool runAction(int actionCode) = 0;
};

class CQsSystem {
public:
    // The running host's system object; null when no host runs or the host
    // was started without it.
    static CQsSystem* instance();

    virtual ~CQsSystem() = default;
    // Either may be null when the host runs without that service.
    virtual CQsCommandNameService* commandNameService() = 0;
    virtual CQsImportActionService* importActionService() = 0;
};

namespace CQs {
enum ActionCode { kImportStep = 7, kImportIges = 8 };
}
