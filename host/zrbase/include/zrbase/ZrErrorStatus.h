#pragma once
// Result codes of every host call. 0 is success; the others name the reason.

namespace Nimb {

enum ErrorStatus : int {
    eOk = 0,
    eNotImplemented = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eOutOfMemory = 4,
    eKeyNotFound = 5,
    eDuplicateKey = 6,
    eInvalidIndex = 7,
    eNotThatKindOfClass = 8,
    eWrongObjectType = 9,
    eNullObjectId = 10,
    eNullObjectPointer = 11,
    eNoDatabase = 12,
    eNotInDatabase = 13,
    eAlreadyInDb = 14,
    eWasErased = 15,
    ePermanentlyErased = 16,
    eWasOpenForRead = 17,
    eWasOpenForWrite = 18,
    eWasNotOpen = 19,
    eNotOpenForRead = 20,
    eNotOpenForWrite = 21,
    eAtMaxReaders = 22,
    eInvalidSymbolTableName = 23,
    eDuplicateRecordName = 24,
    eModuleNotFound = 25,
    eModuleLocked = 26,
    eVersionMismatch = 27,
    eInvalidExtents = 28,
    eGeneralModelingFailure = 29,
    eBusy = 30,
    eCommandFailed = 31,
};

// Short English name of a status, for messages.
const char* errorStatusText(ErrorStatus status);

} // namespace Nimb
