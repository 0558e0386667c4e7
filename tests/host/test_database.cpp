#include <gtest/gtest.h>

#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbHostAppServices.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {

class Drawing : public ::testing::Test {
protected:
    ZrDbDatabasePtr db = zrdbHostApplicationServices()->createDatabase(true, true);

    // Adds a block of that name; returns the status of add.
    Nimb::ErrorStatus addBlock(const wchar_t* name, ZrDbObjectId* id = nullptr)
    {
        ZrDbBlockTable* table = nullptr;
        EXPECT_EQ(db->getSymbolTable(table, ZrDb::kForWrite), Nimb::eOk);
        auto* record = new ZrDbBlockTableRecord;
        record->setName(name);
        ZrDbObjectId newId;
        Nimb::ErrorStatus status = table->add(newId, record);
        if (status == Nimb::eOk)
            record->close();
        else
            delete record;
        table->close();
        if (id)
            *id = newId;
        return status;
    }

    void expectNothingOpenAndNoErrors()
    {
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty()) << db->reportedErrors().front();
    }
};

} // namespace

TEST_F(Drawing, DefaultDrawingHasLayoutsLayerAndActiveViewport)
{
    ZrDbBlockTable* blocks = nullptr;
    ASSERT_EQ(db->getSymbolTable(blocks, ZrDb::kForRead), Nimb::eOk);
    ZrDbObjectId id;
    EXPECT_EQ(blocks->getIdAt(L"*model_space", id), Nimb::eOk);
    EXPECT_EQ(id, db->modelSpaceId());
    EXPECT_TRUE(blocks->has(L"*Paper_Space"));
    blocks->close();
    ZrDbViewportTable* viewports = nullptr;
    ASSERT_EQ(db->getSymbolTable(viewports, ZrDb::kForRead), Nimb::eOk);
    EXPECT_TRUE(viewports->has(L"*Active"));
    viewports->close();
    expectNothingOpenAndNoErrors();

    ZrDbDatabase bare(false, false);
    EXPECT_TRUE(bare.modelSpaceId().isNull());
    EXPECT_FALSE(bare.isMetric());
}

TEST_F(Drawing, OpenRules)
{
    const ZrDbObjectId space = db->modelSpaceId();
    ZrDbObject *first = nullptr, *second = nullptr;
    ASSERT_EQ(zrdbOpenObject(first, space, ZrDb::kForWrite), Nimb::eOk);
    EXPECT_EQ(zrdbOpenObject(second, space, ZrDb::kForWrite), Nimb::eWasOpenForWrite);
    EXPECT_EQ(zrdbOpenObject(second, space, ZrDb::kForRead), Nimb::eWasOpenForWrite);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(db->openObjects().size(), 1u);
    EXPECT_EQ(first->close(), Nimb::eOk);

    ASSERT_EQ(zrdbOpenObject(first, space, ZrDb::kForRead), Nimb::eOk);
    ASSERT_EQ(zrdbOpenObject(second, space, ZrDb::kForRead), Nimb::eOk);
    ZrDbObject* writer = nullptr;
    EXPECT_EQ(zrdbOpenObject(writer, space, ZrDb::kForWrite), Nimb::eWasOpenForRead);
    first->close();
    second->close();

    EXPECT_EQ(zrdbOpenObject(first, ZrDbObjectId(), ZrDb::kForRead), Nimb::eNullObjectId);
    ZrDbViewportTableRecord* wrongKind = nullptr;
    EXPECT_EQ(zrdbOpenObject(wrongKind, space, ZrDb::kForRead), Nimb::eNotThatKindOfClass);
    expectNothingOpenAndNoErrors();
}

TEST_F(Drawing, MisuseIsReportedAndRefused)
{
    ZrDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForRead), Nimb::eOk);
    ZrDbLine line;
    EXPECT_EQ(space->appendZrDbEntity(&line), Nimb::eNotOpenForWrite); // read-only
    EXPECT_EQ(space->close(), Nimb::eOk);
    EXPECT_EQ(space->close(), Nimb::eWasNotOpen); // twice
    ZrString name;
    EXPECT_EQ(space->getName(name), Nimb::eNotOpenForRead); // closed
    ASSERT_EQ(db->reportedErrors().size(), 3u);
    EXPECT_NE(db->reportedErrors()[1].find("close: object is not open"), std::string::npos);
    EXPECT_TRUE(db->openObjects().empty());
}

TEST_F(Drawing, SymbolNameRules)
{
    struct Case {
        std::wstring name;
        Nimb::ErrorStatus status;
    } cases[] = {
        {L"Bolt", Nimb::eOk},
        {L"BOLT", Nimb::eDuplicateRecordName},
        {L"bolt", Nimb::eDuplicateRecordName},
        {L"", Nimb::eInvalidSymbolTableName},
        {std::wstring(255, L'x'), Nimb::eOk},
        {std::wstring(256, L'y'), Nimb::eInvalidSymbolTableName},
        {L"M8 \u87BA\u6813 (DIN 933)", Nimb::eOk},
        {L"Part.1 #2 & 'x' [y] {z}", Nimb::eOk},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addBlock(c.name.c_str()), c.status) << ZrString(c.name).utf8();
    for (wchar_t bad : std::wstring(L"<>/\\\":;?*|,=`")) {
        const std::wstring name = std::wstring(L"a") + bad + L"b";
        EXPECT_EQ(addBlock(name.c_str()), Nimb::eInvalidSymbolTableName) << ZrString(name).utf8();
    }
    expectNothingOpenAndNoErrors();
}

TEST_F(Drawing, RenamingARecordChecksTheTable)
{
    ZrDbObjectId a, b;
    ASSERT_EQ(addBlock(L"A", &a), Nimb::eOk);
    ASSERT_EQ(addBlock(L"B", &b), Nimb::eOk);
    ZrDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(zrdbOpenObject(record, b, ZrDb::kForWrite), Nimb::eOk);
    EXPECT_EQ(record->setName(L"a"), Nimb::eDuplicateRecordName);
    EXPECT_EQ(record->setName(L"a|b"), Nimb::eInvalidSymbolTableName);
    EXPECT_EQ(record->setName(L"b"), Nimb::eOk); // its own name in another case
    EXPECT_EQ(record->setName(L"C"), Nimb::eOk);
    record->close();
    // The table knows the record by its new name only.
    EXPECT_EQ(addBlock(L"c"), Nimb::eDuplicateRecordName);
    EXPECT_EQ(addBlock(L"B"), Nimb::eOk);
    expectNothingOpenAndNoErrors();
}

TEST_F(Drawing, IteratorSkipsErasedAndOutlivesTheClosedTable)
{
    ZrDbObjectId erased;
    addBlock(L"Keep1");
    addBlock(L"Gone", &erased);
    addBlock(L"Keep2");
    ZrDbObject* gone = nullptr;
    ASSERT_EQ(zrdbOpenObject(gone, erased, ZrDb::kForWrite), Nimb::eOk);
    gone->erase();
    gone->close();
    EXPECT_EQ(zrdbOpenObject(gone, erased, ZrDb::kForRead), Nimb::eWasErased);
    EXPECT_EQ(addBlock(L"GONE"), Nimb::eOk); // an erased record's name is free again

    ZrDbBlockTable* table = nullptr;
    ASSERT_EQ(db->getSymbolTable(table, ZrDb::kForRead), Nimb::eOk);
    ZrDbSymbolTableIterator* it = nullptr;
    ASSERT_EQ(table->newIterator(it), Nimb::eOk);
    table->close();
    std::vector<std::wstring> names;
    for (; !it->done(); it->step()) {
        ZrDbObjectId id;
        ASSERT_EQ(it->getRecordId(id), Nimb::eOk);
        ZrDbBlockTableRecord* record = nullptr;
        ASSERT_EQ(zrdbOpenObject(record, id, ZrDb::kForRead), Nimb::eOk);
        ZrString name;
        record->getName(name);
        names.push_back(name.wide());
        record->close();
    }
    delete it;
    EXPECT_EQ(names, (std::vector<std::wstring>{L"*Model_Space", L"*Paper_Space", L"Keep1", L"Keep2", L"GONE"}));
    expectNothingOpenAndNoErrors();
}

TEST_F(Drawing, AppendPassesTheEntityToTheDatabase)
{
    ZrDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
    auto* point = new ZrDbPoint(ZrGePoint3d(1, 2, 3));
    EXPECT_TRUE(point->isNewObject());
    EXPECT_EQ(point->close(), Nimb::eOk); // closing a new object does nothing
    ZrDbObjectId id;
    ASSERT_EQ(space->appendZrDbEntity(id, point), Nimb::eOk);
    EXPECT_EQ(point->blockId(), db->modelSpaceId());
    EXPECT_TRUE(point->isWriteEnabled());
    EXPECT_EQ(space->appendZrDbEntity(point), Nimb::eAlreadyInDb);
    point->close();
    space->close();
    ZrDbBlockTableRecord loose;
    ZrDbLine line;
    EXPECT_EQ(loose.appendZrDbEntity(&line), Nimb::eNotInDatabase);
    EXPECT_EQ(space->entityIds().size(), 1u);
    expectNothingOpenAndNoErrors();
}

TEST_F(Drawing, BlockReferenceNeedsAnExistingBlockThatIsNotALayout)
{
    ZrDbObjectId block;
    ASSERT_EQ(addBlock(L"Part", &block), Nimb::eOk);
    ZrDbBlockReference reference;
    EXPECT_EQ(reference.setBlockTableRecord(ZrDbObjectId()), Nimb::eNullObjectId);
    EXPECT_EQ(reference.setBlockTableRecord(db->modelSpaceId()), Nimb::eInvalidInput);
    EXPECT_EQ(reference.setBlockTableRecord(db->layerTableId()), Nimb::eInvalidInput);
    EXPECT_EQ(reference.setBlockTableRecord(block), Nimb::eOk);
    EXPECT_EQ(reference.blockTableRecord(), block);
    EXPECT_EQ(reference.position(), ZrGePoint3d::kOrigin);
}

TEST_F(Drawing, ABlockCannotHoldItself)
{
    ZrDbObjectId outer, inner;
    addBlock(L"Outer", &outer);
    addBlock(L"Inner", &inner);
    ZrDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(zrdbOpenObject(record, outer, ZrDb::kForWrite), Nimb::eOk);
    auto* inward = new ZrDbBlockReference(ZrGePoint3d(), inner);
    ASSERT_EQ(record->appendZrDbEntity(inward), Nimb::eOk);
    inward->close();
    record->close();
    ASSERT_EQ(zrdbOpenObject(record, inner, ZrDb::kForWrite), Nimb::eOk);
    auto* cycle = new ZrDbBlockReference(ZrGePoint3d(), outer);
    EXPECT_EQ(record->appendZrDbEntity(cycle), Nimb::eInvalidInput);
    delete cycle;
    record->close();
    expectNothingOpenAndNoErrors();
}

TEST(DatabaseReferences, PointerAdoptsSharesAndDetaches)
{
    ZrDbDatabasePtr first = zrdbHostApplicationServices()->createDatabase(true, false);
    ZrDbDatabase* raw = first.get();
    EXPECT_EQ(raw->referenceCount(), 1);
    {
        ZrDbDatabasePtr second(raw);
        EXPECT_EQ(raw->referenceCount(), 2);
    }
    EXPECT_EQ(raw->referenceCount(), 1);
    ZrDbDatabase* handedOut = first.detach();
    EXPECT_FALSE(first);
    EXPECT_EQ(handedOut->referenceCount(), 1);
    releaseDb(handedOut);
}

TEST(Colours, MethodsAndIndices)
{
    ZrCmEntityColor colour;
    EXPECT_EQ(colour.colorMethod(), ZrCmEntityColor::kByColor);
    EXPECT_EQ(ZrCmEntityColor::noColor().value(), 0xC8000000u);
    colour.setRed(254);
    EXPECT_EQ(colour.value(), 0xC2FE0000u);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&colour);
    EXPECT_EQ(bytes[2], 254); // blue, green, red, method in memory
    EXPECT_EQ(bytes[3], 0xC2);
    EXPECT_TRUE(colour.setColorIndex(0));
    EXPECT_EQ(colour.colorMethod(), ZrCmEntityColor::kByBlock);
    EXPECT_EQ(colour.colorIndex(), 0);
    EXPECT_TRUE(colour.setColorIndex(5));
    EXPECT_EQ(colour.colorIndex(), 5);
    EXPECT_FALSE(colour.setColorIndex(300));
    EXPECT_EQ(ZrCmEntityColor(255, 0, 0).colorIndex(), 1);
    EXPECT_EQ(ZrCmColor().colorIndex(), 256);
}
