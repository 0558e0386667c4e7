// Whole imports through the exports: the drawing receives real entities in
// blocks named after the model, and the view fits them.
#include <gtest/gtest.h>

#include <BRepPrimAPI_MakeCylinder.hxx>

#include <tuple>

#include <zrbr/ZrModelerGeometry.h>
#include <zrcore/NimbHost.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbBody.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Fixtures.h"

namespace {

using ImportFile = int (*)(const char*, ZrDbDatabase**);
using OpenFile = int (*)(const char*, ZrDbDatabase**, bool, void (*)(int), void (*)());

// Block names and contents, read the way the host's display reads them.
ZrDbBlockTableRecord* blockOf(ZrDbObjectId referenceId)
{
    auto* reference = ZrDbBlockReference::cast(referenceId.stub()->object);
    return ZrDbBlockTableRecord::cast(reference->blockTableRecord().stub()->object);
}

// "Name(children)", entities by kind and, for solids, their volume.
std::string tree(ZrDbObjectId referenceId)
{
    const ZrDbBlockTableRecord* block = blockOf(referenceId);
    std::string inner;
    for (ZrDbObjectId id : block->entityIds()) {
        std::string item;
        if (ZrDbBlockReference::cast(id.stub()->object)) {
            item = tree(id);
        } else if (ZrDb3dSolid::cast(id.stub()->object)) {
            ZrDb3dSolid* solid = nullptr;
            EXPECT_EQ(zrdbOpenObject(solid, id, ZrDb::kForRead), Nimb::eOk);
            const ZrModelerGeometry* body = solid->modelerGeometry();
            item = "solid " + std::to_string(static_cast<int>(std::lround(body ? body->volume() : -1.0)));
            solid->close();
        } else {
            item = ZrString(id.objectClass()->name()).utf8().substr(4);
        }
        inner += (inner.empty() ? "" : ",") + item;
    }
    return block->nameText().utf8() + "(" + inner + ")";
}

std::vector<std::string> modelSpaceTrees(ZrDbDatabase* db)
{
    std::vector<std::string> trees;
    for (ZrDbObjectId id : ZrDbBlockTableRecord::cast(db->modelSpaceId().stub()->object)->entityIds())
        trees.push_back(tree(id));
    return trees;
}

class Imports : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_EQ(host.loadPlugin(L"" QUOR_BIN_DIR "/zrquor.zrx", error), Nimb::eOk) << error;
        open = reinterpret_cast<OpenFile>(host.pluginSymbol("nimbOpenFile"));
        import = reinterpret_cast<ImportFile>(host.pluginSymbol("nimbImportFile"));
    }

    static std::string write(fixtures::Model& model, const std::string& name)
    {
        const std::string path = fixtures::tempPath(name);
        if (name.size() > 4 && name.substr(name.size() - 4) == ".igs")
            model.writeIges(path);
        else
            model.writeStep(path);
        return path;
    }

    static void expectClean(ZrDbDatabase* db)
    {
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty()) << db->reportedErrors().front();
    }

    NimbHost host;
    OpenFile open = nullptr;
    ImportFile import = nullptr;
};

} // namespace

TEST_F(Imports, FreePartsBecomeBlocksWithSolidsInOrder)
{
    fixtures::Model model;
    model.addPart(fixtures::box(1, 2, 3), "Bolt");
    model.addPart(fixtures::box(2, 2, 2, gp_Pnt(10, 0, 0)), "Bolt");
    for (const char* file : {"bolts.stp", "bolts.igs"}) {
        ZrDbDatabase* db = nullptr;
        ASSERT_EQ(open(write(model, file).c_str(), &db, false, nullptr, nullptr), 0);
        EXPECT_EQ(modelSpaceTrees(db), (std::vector<std::string>{"Bolt2(Bolt(solid 6))", "Bolt4(Bolt3(solid 8))"}))
            << file;
        expectClean(db);
        releaseDb(db);
    }
}

TEST_F(Imports, IntoADrawingAvoidsItsBlockNamesAndFitsTheView)
{
    ZrDbDatabase* drawing = host.currentDatabase();
    {
        ZrDbBlockTable* table = nullptr;
        ASSERT_EQ(drawing->getSymbolTable(table, ZrDb::kForWrite), Nimb::eOk);
        for (const wchar_t* name : {L"Part", L"PART2"}) {
            auto* record = new ZrDbBlockTableRecord;
            record->setName(name);
            ZrDbObjectId id;
            ASSERT_EQ(table->add(id, record), Nimb::eOk);
            record->close();
        }
        table->close();
    }
    fixtures::Model model;
    model.addPart(BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(100, 50, 0), gp::DZ()), 10, 5).Shape(), "part");
    ZrDbDatabase* target = drawing;
    ASSERT_EQ(import(write(model, "part.stp").c_str(), &target), 0);
    ASSERT_EQ(target, drawing);
    releaseDb(drawing); // the reference the import handed back
    EXPECT_EQ(modelSpaceTrees(drawing), (std::vector<std::string>{"part4(part3(solid 1571))"}));
    expectClean(drawing);

    // The "*Active" view is centred on the cylinder and shows all of it.
    ZrDbViewportTable* viewports = nullptr;
    ASSERT_EQ(drawing->getSymbolTable(viewports, ZrDb::kForRead), Nimb::eOk);
    ZrDbObjectId activeId;
    ASSERT_EQ(viewports->getIdAt(L"*Active", activeId), Nimb::eOk);
    viewports->close();
    ZrDbViewportTableRecord* active = nullptr;
    ASSERT_EQ(zrdbOpenObject(active, activeId, ZrDb::kForRead), Nimb::eOk);
    EXPECT_NEAR(active->centerX(), 100.0, 1e-6);
    EXPECT_NEAR(active->centerY(), 50.0, 1e-6);
    EXPECT_GE(active->height(), 20.0);
    EXPECT_LT(active->height(), 25.0);
    active->close();
}

TEST_F(Imports, FreeGeometryOnlyWhenTheModelHasNoSurfaces)
{
    fixtures::Model wires;
    wires.addPart(fixtures::wire({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), "sketch");
    wires.addPart(fixtures::vertex({5, 5, 5}), "mark");
    fixtures::Model mixed;
    mixed.addPart(fixtures::box(1, 1, 1), "block");
    mixed.addPart(fixtures::wire({{0, 0, 0}, {1, 0, 0}}), "sketch");
    struct Case {
        fixtures::Model& model;
        const char* file;
        std::vector<std::string> trees;
    } cases[] = {
        {wires, "wires.stp", {"sketch2(sketch(Line,Line))", "mark2(mark(Point))"}},
        {mixed, "mixed.stp", {"block2(block(solid 1))"}},
    };
    for (const Case& c : cases) {
        ZrDbDatabase* db = nullptr;
        ASSERT_EQ(open(write(c.model, c.file).c_str(), &db, false, nullptr, nullptr), 0);
        EXPECT_EQ(modelSpaceTrees(db), c.trees) << c.file;
        releaseDb(db);
    }
}

TEST_F(Imports, FreeWiresBecomeCurvesWithTheirColours)
{
    fixtures::Model curves = fixtures::compositeCurves();
    fixtures::Model mixed = fixtures::compositeCurves();
    mixed.addPart(fixtures::box(1, 1, 1), "block");
    struct Case {
        fixtures::Model& model;
        const char* file;
        std::vector<std::string> trees;
    } cases[] = {
        {curves, "curves.igs",
         {"Open path2(Open path(Line,Arc,Spline))", "Outline2(Outline(Line,Arc,Line,Spline))",
          "Triangle2(Triangle(Line,Line,Line))", "Striped2(Striped(Line,Arc))"}},
        {curves, "curves.stp",
         {"Open path2(Open path(Line,Arc,Spline))", "Outline2(Outline(Line,Arc,Line,Spline))",
          "Triangle2(Triangle(Line,Line,Line))", "Striped2(Striped(Line,Arc))"}},
        // Beside a solid, free curves stay out, as in any file.
        {mixed, "mixed.igs", {"block2(block(solid 1))"}},
    };
    for (const Case& c : cases) {
        ZrDbDatabase* db = nullptr;
        ASSERT_EQ(open(write(c.model, c.file).c_str(), &db, false, nullptr, nullptr), 0);
        EXPECT_EQ(modelSpaceTrees(db), c.trees) << c.file;
        expectClean(db);
        releaseDb(db);
    }

    // Each curve in its wire's colour: red, blue, the default (by layer), and
    // for the striped wire each curve its own.
    const auto colours = [](ZrDbObjectId reference) {
        const ZrDbBlockTableRecord* inner = blockOf(blockOf(reference)->entityIds()[0]);
        std::vector<ZrCmEntityColor> found;
        for (ZrDbObjectId id : inner->entityIds()) {
            const ZrDbObjectPtr<ZrDbEntity> entity(id, ZrDb::kForRead);
            found.push_back(entity->entityColor());
        }
        EXPECT_FALSE(found.empty());
        return found;
    };
    for (const char* file : {"coloured.igs", "coloured.stp"}) {
        ZrDbDatabase* db = nullptr;
        ASSERT_EQ(open(write(curves, file).c_str(), &db, false, nullptr, nullptr), 0);
        const std::vector<ZrDbObjectId> references =
            ZrDbBlockTableRecord::cast(db->modelSpaceId().stub()->object)->entityIds();
        ASSERT_EQ(references.size(), 4u);
        for (const ZrCmEntityColor& colour : colours(references[0]))
            EXPECT_EQ(colour, ZrCmEntityColor(254, 0, 0)) << file;
        for (const ZrCmEntityColor& colour : colours(references[1]))
            EXPECT_EQ(colour, ZrCmEntityColor(0, 0, 254)) << file;
        for (const ZrCmEntityColor& colour : colours(references[2]))
            EXPECT_EQ(colour.colorMethod(), ZrCmEntityColor::kByLayer) << file;
        // The kernel's STEP writer keeps no colour of a wire's own edges.
        if (std::string(file) == "coloured.igs") {
            EXPECT_EQ(colours(references[3]), (std::vector<ZrCmEntityColor>{{0, 254, 0}, {254, 254, 0}}));
        }
        expectClean(db);
        releaseDb(db);
    }
}
