// Block definitions and references made from the assembly tree.
#include <gtest/gtest.h>

#include <zrbase/ZrHeap.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbHostAppServices.h>
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
        delete makeBlockReference(db.get(), named(name), none);
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
        EntityList entities{new ZrDbPoint(ZrGePoint3d(1, 2, 3))};
        ZrDbBlockReference* reference = makeBlockReference(db.get(), named(c.node), entities);
        ASSERT_NE(reference, nullptr) << ZrString(c.node).utf8();
        EXPECT_TRUE(entities.empty());
        EXPECT_EQ(blockNames().back(), c.block);
        delete reference;
    }
    EntityList longName{new ZrDbPoint(ZrGePoint3d())};
    delete makeBlockReference(db.get(), named(std::wstring(300, L'x').c_str()), longName);
    EXPECT_EQ(blockNames().back(), std::wstring(247, L'x'));
    EXPECT_TRUE(db->openObjects().empty());
}

TEST_F(Placing, ABlockThatCannotBeMadeDeletesItsEntities)
{
    ZrDbBlockTable* busy = nullptr;
    ASSERT_EQ(db->getSymbolTable(busy, ZrDb::kForWrite), Nimb::eOk); // the table cannot be opened again
    const long before = zrrxLiveBlockCount();
    EntityList entities{new ZrDbPoint(ZrGePoint3d()), nullptr, new ZrDbPoint(ZrGePoint3d())};
    EXPECT_EQ(makeBlockReference(db.get(), named(L"Part"), entities), nullptr);
    EXPECT_EQ(entities, (EntityList{nullptr, nullptr, nullptr}));
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
