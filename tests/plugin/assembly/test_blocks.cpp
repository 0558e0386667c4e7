// Block definitions and references made from the assembly tree.
#include <gtest/gtest.h>

#include <zrbase/ZrHeap.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbHostAppServices.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbRefusals.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Fixtures.h"
#include "assembly/Blocks.h"
#include "assembly/ImportModel.h"
#include "support/TestReaders.h"

using fixtures::box;

namespace {

ShapeNode named(const wchar_t* name)
{
    ShapeNode node;
    node.name = name;
    return node;
}

// A drawing that the tests import into, as the driver does.
class Placing : public ::testing::Test {
protected:
    void SetUp() override { usedBlockNames.clear(); }

    // Reads path, converts every item to a point and places the roots in model space.
    void place(const std::string& path)
    {
        RecordingStepReader reader(path);
        ASSERT_GT(reader.read(), 0u);
        reader.runWorkers();
        ZrDbBlockTableRecord* space = nullptr;
        ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
        placeRootReferences(&reader, reader.rootNodes(), db.get(), space);
        space->close();
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty());
    }

    void addBlock(const wchar_t* name)
    {
        EntityList none;
        makeBlockReference(db.get(), named(name), none);
    }

    // Block names in the order the blocks were made (layouts left out).
    std::vector<std::wstring> blockNames()
    {
        std::vector<std::wstring> names;
        ZrDbBlockTable* table = nullptr;
        db->getSymbolTable(table, ZrDb::kForRead);
        for (ZrDbObjectId id : table->recordIds()) {
            const ZrString& name = ZrDbSymbolTableRecord::cast(id.stub()->object)->nameText();
            if (name[0] != L'*')
                names.push_back(name.wide());
        }
        table->close();
        return names;
    }

    // "Name(children)" of the block behind a reference id, read without opening.
    std::string tree(ZrDbObjectId referenceId)
    {
        auto* reference = ZrDbBlockReference::cast(referenceId.stub()->object);
        auto* block = ZrDbBlockTableRecord::cast(reference->blockTableRecord().stub()->object);
        std::string text = block->nameText().utf8();
        std::string inner;
        for (ZrDbObjectId id : block->entityIds())
            inner += (inner.empty() ? "" : ",") +
                     (ZrDbBlockReference::cast(id.stub()->object) ? tree(id) : std::string("pt"));
        return text + "(" + inner + ")";
    }

    std::vector<std::string> modelSpaceTrees()
    {
        std::vector<std::string> trees;
        auto* space = ZrDbBlockTableRecord::cast(db->modelSpaceId().stub()->object);
        for (ZrDbObjectId id : space->entityIds())
            trees.push_back(tree(id));
        return trees;
    }

    ZrDbDatabasePtr db = zrdbHostApplicationServices()->createDatabase(true, true);
};

// count new points, owned by the list.
EntityList points(int count)
{
    EntityList list;
    for (int i = 0; i < count; ++i)
        list.push_back(std::make_unique<ZrDbPoint>(ZrGePoint3d(i, 2, 3)));
    return list;
}

std::string stepFile(fixtures::Model& model, const std::string& name)
{
    const std::string path = fixtures::tempPath(name + ".step");
    model.writeStep(path);
    return path;
}

} // namespace

TEST(UniqueBlockName, CleansAndNumbersNames)
{
    usedBlockNames = {L"Bolt", L"Bolt2", L"m8", L"M8_2", L"x.y.z"};
    struct Case {
        const wchar_t* node;
        const wchar_t* block;
    } cases[] = {
        {L"a/b;c", L"a_b_c"},
        {L"x*y,z", L"x.y.z2"},
        {L"a\\b", L"a|b"},
        {L"say \"hi\"", L"say 'hi'"},
        {L"k=1`2?:", L"k_1_2__"},
        {L"Bolt", L"Bolt3"},
        {L"BOLT", L"BOLT3"},
        {L"M8", L"M8_3"},
        {L"Nut", L"Nut"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(uniqueBlockName(named(c.node)).wide(), c.block) << ZrString(c.node).utf8();
    usedBlockNames = {L""};
    EXPECT_EQ(uniqueBlockName(named(L"")).wide(), L"2");
    usedBlockNames.clear();
}

TEST_F(Placing, EachFreeShapeGivesTwoBlocks)
{
    fixtures::Model model;
    model.addPart(box(1, 1, 1), "Bolt");
    model.addPart(box(2, 2, 2), "Bolt");
    place(stepFile(model, "bolts"));
    EXPECT_EQ(blockNames(), (std::vector<std::wstring>{L"Bolt", L"Bolt2", L"Bolt3", L"Bolt4"}));
    EXPECT_EQ(modelSpaceTrees(), (std::vector<std::string>{"Bolt2(Bolt(pt))", "Bolt4(Bolt3(pt))"}));
}

TEST_F(Placing, AssemblyInstancesGetBlocksOfTheirOwn)
{
    fixtures::Model model;
    TDF_Label part = model.addPart(box(1, 1, 1), "P");
    TDF_Label assembly = model.addAssembly("A");
    model.addComponent(assembly, part, fixtures::translation(1, 0, 0), "C1");
    model.addComponent(assembly, part, fixtures::translation(2, 0, 0), "C2");
    place(stepFile(model, "instances"));
    EXPECT_EQ(blockNames(), (std::vector<std::wstring>{L"P", L"P2", L"C1", L"P3", L"P4", L"C2", L"A"}));
    EXPECT_EQ(modelSpaceTrees(), (std::vector<std::string>{"A(C1(P2(P(pt))),C2(P4(P3(pt))))"}));
}

TEST_F(Placing, NamesAlreadyInTheDrawingAreAvoided)
{
    addBlock(L"m8");
    usedBlockNames = {L"m8", L"Part", L"PART2"};
    fixtures::Model model;
    model.addPart(box(1, 1, 1), "M8");
    model.addPart(box(1, 1, 1), "part");
    place(stepFile(model, "existing"));
    EXPECT_EQ(blockNames(), (std::vector<std::wstring>{L"m8", L"M8_2", L"M8_3", L"part3", L"part4"}));
}

TEST_F(Placing, RefusedNamesFallBackWithoutLosingEntities)
{
    struct Case {
        const wchar_t* node;
        const wchar_t* block;
    } cases[] = {
        {L"", L"tempName1"},
        {L"a\\b", L"a_b"},
        {L"<left>", L"_left_"},
        {L"tempName1", L"tempName1_2"}, // fallback names count as used ...
        {L"", L"tempName2"},            // ... and stay unique themselves
    };
    for (const Case& c : cases) {
        EntityList entities = points(1);
        const std::unique_ptr<ZrDbBlockReference> reference = makeBlockReference(db.get(), named(c.node), entities);
        ASSERT_NE(reference, nullptr) << ZrString(c.node).utf8();
        EXPECT_TRUE(entities.empty());
        EXPECT_EQ(blockNames().back(), c.block);
    }
    EntityList longName = points(1);
    makeBlockReference(db.get(), named(std::wstring(300, L'x').c_str()), longName);
    EXPECT_EQ(blockNames().back(), std::wstring(247, L'x'));
    EXPECT_TRUE(db->openObjects().empty());
}

TEST_F(Placing, ABlockThatCannotBeMadeDeletesItsEntities)
{
    ZrDbBlockTable* busy = nullptr;
    ASSERT_EQ(db->getSymbolTable(busy, ZrDb::kForWrite), Nimb::eOk); // the table cannot be opened again
    const long before = zrrxLiveBlockCount();
    EntityList entities = points(3);
    entities[1].reset();
    EXPECT_EQ(makeBlockReference(db.get(), named(L"Part"), entities), nullptr);
    ASSERT_EQ(entities.size(), 3u);
    for (const std::unique_ptr<ZrDbEntity>& entity : entities)
        EXPECT_EQ(entity, nullptr);
    EXPECT_EQ(zrrxLiveBlockCount(), before);
    EXPECT_EQ(usedBlockNames.count(L"Part"), 0u);
    busy->close();
}

TEST_F(Placing, NodesWithoutEntitiesMakeNoBlock)
{
    RecordingStepReader reader("unused.step");
    ShapeNode root = named(L"Root");
    ShapeNode empty = named(L"Empty");
    empty.isShape = true; // a shape node whose items made nothing
    ShapeNode hollow = named(L"Hollow");
    hollow.children.push_back(named(L"Leaf"));
    root.children = {empty, hollow};
    EntityList out;
    collectNodeReferences(&reader, root, db.get(), out);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(blockNames().empty());
}

// Entities have one owner: the list until a block takes them, then the
// database. The database refuses on request (ZrDbRefusals) to follow the
// failure paths; every host object counts in the live-block counter.
class Refusing : public Placing {
protected:
    void TearDown() override { zrdbRefuseNothing(); }

    static long blocksOfOnePoint()
    {
        const long before = zrrxLiveBlockCount();
        const auto point = std::make_unique<ZrDbPoint>(ZrGePoint3d());
        return zrrxLiveBlockCount() - before;
    }

    // Entity ids of the block a reference refers to.
    static std::vector<ZrDbObjectId> entitiesOfBlock(const ZrString& name, ZrDbDatabase* db)
    {
        ZrDbBlockTable* table = nullptr;
        db->getSymbolTable(table, ZrDb::kForRead);
        ZrDbObjectId id;
        table->getIdAt(name, id);
        table->close();
        return ZrDbBlockTableRecord::cast(id.stub()->object)->entityIds();
    }

    void expectClean()
    {
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty()) << db->reportedErrors().front();
    }
};

TEST_F(Refusing, AnEntityTheBlockRefusesIsDeleted)
{
    const long point = blocksOfOnePoint();
    ASSERT_GT(point, 0);
    long before = zrrxLiveBlockCount();
    EntityList taken = points(3);
    const std::unique_ptr<ZrDbBlockReference> reference = makeBlockReference(db.get(), named(L"Taken"), taken);
    ASSERT_NE(reference, nullptr);
    const long allTaken = zrrxLiveBlockCount() - before;
    EXPECT_EQ(entitiesOfBlock(L"Taken", db.get()).size(), 3u);

    before = zrrxLiveBlockCount();
    EntityList entities = points(3);
    zrdbRefuse(ZrDbRefusable::kAppendEntity, 1); // the second append fails
    const std::unique_ptr<ZrDbBlockReference> other = makeBlockReference(db.get(), named(L"Other"), entities);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(entities.empty());
    EXPECT_EQ(entitiesOfBlock(L"Other", db.get()).size(), 2u);
    // The refused point is gone; the two taken ones live in the database.
    EXPECT_EQ(zrrxLiveBlockCount() - before, allTaken - point);
    expectClean();
}

TEST_F(Refusing, AReferenceWithoutItsBlockLeavesTheEntitiesToTheDatabase)
{
    const long before = zrrxLiveBlockCount();
    EntityList entities = points(2);
    const long made = zrrxLiveBlockCount() - before;
    zrdbRefuse(ZrDbRefusable::kSetBlockTableRecord, 0);
    EXPECT_EQ(makeBlockReference(db.get(), named(L"Part"), entities), nullptr);
    // The list points into the database no more: the block keeps its entities.
    ASSERT_EQ(entities.size(), 2u);
    for (const std::unique_ptr<ZrDbEntity>& entity : entities)
        EXPECT_EQ(entity, nullptr);
    const std::vector<ZrDbObjectId> inBlock = entitiesOfBlock(L"Part", db.get());
    ASSERT_EQ(inBlock.size(), 2u);
    for (ZrDbObjectId id : inBlock)
        EXPECT_TRUE(id.isValid());
    entities.clear();
    // The two points and their block live on in the database; the reference is gone.
    EXPECT_EQ(zrrxLiveBlockCount() - before, made + 1);
    expectClean();
}

TEST_F(Refusing, NothingOfAnImportOutlivesItsDatabase)
{
    fixtures::Model model;
    TDF_Label part = model.addPart(box(1, 1, 1), "P");
    TDF_Label assembly = model.addAssembly("A");
    model.addComponent(assembly, part, fixtures::translation(1, 0, 0), "C1");
    model.addComponent(assembly, part, fixtures::translation(2, 0, 0), "C2");
    model.addPart(box(3, 3, 3), "Loose");
    const std::string path = stepFile(model, "refusals");
    struct Case {
        const char* what;
        ZrDbRefusable operation;
        int allowed;
        int count;
        std::size_t references; // in model space
    } cases[] = {
        // Appends, in order: P's point, P2's reference to P, C1's, P3, P4,
        // C2, A's two, A2 into model space; Loose's point, Loose2, into model space.
        {"the first append refused", ZrDbRefusable::kAppendEntity, 0, 1, 2},
        {"every append refused", ZrDbRefusable::kAppendEntity, 0, 1000, 0},
        {"from the first reference into model space on", ZrDbRefusable::kAppendEntity, 8, 1000, 0},
        // References set, in order: to P, P2, C1, P3, P4, C2, A, Loose, Loose2.
        {"the first reference not set", ZrDbRefusable::kSetBlockTableRecord, 0, 1, 2},
        {"from the outer blocks on", ZrDbRefusable::kSetBlockTableRecord, 6, 1000, 0},
    };
    for (const Case& c : cases) {
        usedBlockNames.clear();
        const long before = zrrxLiveBlockCount();
        {
            ZrDbDatabasePtr drawing = zrdbHostApplicationServices()->createDatabase(true, true);
            RecordingStepReader reader(path);
            ASSERT_GT(reader.read(), 0u);
            reader.runWorkers();
            {
                ZrDbObjectPtr<ZrDbBlockTableRecord> space(drawing->modelSpaceId(), ZrDb::kForWrite);
                ASSERT_TRUE(space);
                zrdbRefuse(c.operation, c.allowed, c.count);
                placeRootReferences(&reader, reader.rootNodes(), drawing.get(), space.get());
                zrdbRefuseNothing();
                EXPECT_EQ(space->entityIds().size(), c.references) << c.what;
            }
            for (const WorkItem& item : reader.allItems())
                EXPECT_TRUE(item.entities.empty()) << c.what; // every entity was moved on
            EXPECT_TRUE(drawing->openObjects().empty()) << c.what;
            EXPECT_TRUE(drawing->reportedErrors().empty()) << c.what;
        }
        EXPECT_EQ(zrrxLiveBlockCount(), before) << c.what;
    }
}
