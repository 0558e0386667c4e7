#include "zrbase/ZrErrorStatus.h"

namespace Nimb {

const char* errorStatusText(ErrorStatus status)
{
    switch (status) {
    case eOk: return "ok";
    case eNotImplemented: return "not implemented";
    case eNotApplicable: return "not applicable";
    case eInvalidInput: return "invalid input";
    case eOutOfMemory: return "out of memory";
    case eKeyNotFound: return "key not found";
    case eDuplicateKey: return "duplicate key";
    case eInvalidIndex: return "invalid index";
    case eNotThatKindOfClass: return "not that kind of class";
    case eWrongObjectType: return "wrong object type";
    case eNullObjectId: return "null object id";
    case eNullObjectPointer: return "null object pointer";
    case eNoDatabase: return "no database";
    case eNotInDatabase: return "not in database";
    case eAlreadyInDb: return "already in a database";
    case eWasErased: return "was erased";
    case ePermanentlyErased: return "permanently erased";
    case eWasOpenForRead: return "was open for read";
    case eWasOpenForWrite: return "was open for write";
    case eWasNotOpen: return "was not open";
    case eNotOpenForRead: return "not open for read";
    case eNotOpenForWrite: return "not open for write";
    case eAtMaxReaders: return "at max readers";
    case eInvalidSymbolTableName: return "invalid symbol table name";
    case eDuplicateRecordName: return "duplicate record name";
    case eModuleNotFound: return "module not found";
    case eModuleLocked: return "module locked";
    case eVersionMismatch: return "version mismatch";
    case eInvalidExtents: return "invalid extents";
    case eGeneralModelingFailure: return "general modeling failure";
    case eBusy: return "busy";
    case eCommandFailed: return "command failed";
    }
    return "unknown status";
}

} // namespace Nimb
