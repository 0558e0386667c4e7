#include <gtest/gtest.h>

#include <sstream>

#include <cmath>

#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbDxfOut.h>
#include <zrdb/ZrDbHostAppServices.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {

// Pairs of group code and value, as a DXF reader sees them.
std::vector<std::pair<int, std::string>> groups(const std::string& text)
{
    std::vector<std::pair<int, std::string>> out;
    std::istringstream in(text);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value))
        out.emplace_back(std::stoi(code), value);
    return out;
}

ZrDbObjectId addBlockWithPoint(ZrDbDatabase* db, const wchar_t* name, const ZrGePoint3d& at)
{
    ZrDbBlockTable* table = nullptr;
    db->getSymbolTable(table, ZrDb::kForWrite);
    auto* block = new ZrDbBlockTableRecord;
    block->setName(name);
    ZrDbObjectId id;
    EXPECT_EQ(table->add(id, block), Nimb::eOk);
    auto* point = new ZrDbPoint(at);
    ZrCmColor red;
    red.setRGB(254, 0, 0);
    point->setColor(red);
    block->appendZrDbEntity(point);
    point->close();
    block->close();
    table->close();
    return id;
}

void insert(ZrDbDatabase* db, ZrDbObjectId block)
{
    ZrDbBlockTableRecord* space = nullptr;
    zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite);
    auto* reference = new ZrDbBlockReference(ZrGePoint3d(), block);
    space->appendZrDbEntity(reference);
    reference->close();
    space->close();
}

} // namespace

TEST(DxfOut, BlocksInsertsPointsAndColours)
{
    ZrDbDatabasePtr db = zrdbHostApplicationServices()->createDatabase(true, true);
    insert(db.get(), addBlockWithPoint(db.get(), L"\u87BA\u6813 M8", ZrGePoint3d(1, 2.5, -3)));
    std::ostringstream out;
    ASSERT_EQ(zrdbWriteDxf(db.get(), out), Nimb::eOk);
    const auto g = groups(out.str());
    ASSERT_FALSE(g.empty());
    EXPECT_EQ(g.back(), std::make_pair(0, std::string("EOF")));
    auto has = [&](std::vector<std::pair<int, std::string>> run) {
        return std::search(g.begin(), g.end(), run.begin(), run.end()) != g.end();
    };
    EXPECT_TRUE(has({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {8, "0"}, {2, "\\U+87BA\\U+6813 M8"}}));
    EXPECT_TRUE(has({{0, "POINT"}, {8, "0"}, {62, "1"}, {420, "16646144"}, {10, "1"}, {20, "2.5"}, {30, "-3"}}));
    EXPECT_TRUE(has({{0, "SECTION"}, {2, "ENTITIES"}, {0, "INSERT"}, {8, "0"}, {2, "\\U+87BA\\U+6813 M8"}}));
    EXPECT_TRUE(has({{9, "$EXTMIN"}, {10, "1"}, {20, "2.5"}, {30, "-3"}}));
    EXPECT_TRUE(has({{0, "LAYER"}, {2, "0"}}));
    EXPECT_TRUE(has({{0, "VPORT"}, {2, "*ACTIVE"}}));
    EXPECT_TRUE(db->openObjects().empty());
    EXPECT_TRUE(db->reportedErrors().empty());
}

TEST(DxfOut, CurvesExactlyOrAsPolylines)
{
    ZrDbDatabasePtr db = zrdbHostApplicationServices()->createDatabase(true, true);
    ZrDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
    auto add = [&](ZrDbCurve* entity, const ZrGeCurve3d& curve) {
        ASSERT_EQ(entity->setFromGeCurve(curve), Nimb::eOk);
        space->appendZrDbEntity(entity);
        entity->close();
    };
    add(new ZrDbLine, ZrGeLineSeg3d(ZrGePoint3d(0, 0, 0), ZrGePoint3d(3, 4, 0)));
    // A quarter arc in the plane x = 2, normal +X: its centre is written in
    // that plane's own coordinates.
    add(new ZrDbArc, ZrGeCircArc3d(ZrGePoint3d(2, 0, 0), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 5, 0,
                                   1.5707963267948966));
    add(new ZrDbEllipse, ZrGeEllipArc3d(ZrGePoint3d(), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 10, 5));
    space->close();

    std::ostringstream out;
    ASSERT_EQ(zrdbWriteDxf(db.get(), out), Nimb::eOk);
    const auto g = groups(out.str());
    auto has = [&](std::vector<std::pair<int, std::string>> run) {
        return std::search(g.begin(), g.end(), run.begin(), run.end()) != g.end();
    };
    EXPECT_TRUE(has({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "3"}, {21, "4"}, {31, "0"}}));
    EXPECT_TRUE(has({{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "2"}, {40, "5"}, {210, "1"}, {220, "0"},
                     {230, "0"}}));
    // The ellipse: a closed 3D polyline whose vertices lie on it.
    auto polyline = std::find(g.begin(), g.end(), std::make_pair(0, std::string("POLYLINE")));
    ASSERT_NE(polyline, g.end());
    int vertices = 0;
    for (auto it = polyline; it != g.end() && it->second != "SEQEND"; ++it)
        if (it->first == 10 && it != polyline + 3) {
            const double x = std::stod(it->second), y = std::stod((it + 1)->second);
            EXPECT_NEAR(x * x / 100 + y * y / 25, 1.0, 1e-9);
            ++vertices;
        }
    EXPECT_GE(vertices, 32);
    EXPECT_TRUE(has({{66, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "9"}}));
}

TEST(DxfOut, RefusesADrawingWithObjectsOpenForWrite)
{
    ZrDbDatabasePtr db = zrdbHostApplicationServices()->createDatabase(true, false);
    ZrDbObject* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
    std::ostringstream out;
    EXPECT_EQ(zrdbWriteDxf(db.get(), out), Nimb::eWasOpenForWrite);
    EXPECT_TRUE(out.str().empty());
    space->close();
    std::string error;
    EXPECT_EQ(zrdbSaveAsDxf(db.get(), "/nonexistent-folder/x.dxf", error), Nimb::eInvalidInput);
    EXPECT_EQ(error, "cannot write /nonexistent-folder/x.dxf");
}
