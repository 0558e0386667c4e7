#pragma once
// Documents: the drawings the host has open. Reached as service number 3:
//   auto* service = ZrDocumentService::cast(zrrxGetService(ZrDocumentService::kServiceNumber));
#include <zrbase/ZrRxObject.h>
#include <zrdb/ZrDbObjectId.h>

class ZrDbDatabase;
class ZrDbViewportTableRecord;

class ZrDocumentManager {
public:
    virtual ~ZrDocumentManager() = default;
    // The block that receives what is imported into db: its model space.
    virtual ZrDbObjectId receivingSpaceId(ZrDbDatabase* db) const = 0;
    // Opens db as a new document named name and takes a reference to it.
    //   mode      0 opens it in a new document; 1 replaces the current one
    //   flags     0x01 makes it the current document; 0x20 marks it as made
    //             from a foreign file, so saving asks for a new name
    //   readOnly  the document refuses to be saved
    //   history   how many undo steps the document keeps
    virtual Nimb::ErrorStatus openDatabaseAsDocument(ZrDbDatabase* db, const wchar_t* name, int mode, int flags,
                                                     bool readOnly, int history) = 0;
};

class ZrDocumentService : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrDocumentService);
    enum { kServiceNumber = 3 };

    virtual ZrDocumentManager* manager() = 0;
    // Called after an import with the "*Active" viewport of the drawing, open
    // for write: the host fits the view to everything in model space.
    virtual Nimb::ErrorStatus takeActiveViewport(ZrDbViewportTableRecord* viewport) = 0;
};
