#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>

#include <cmath>

#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbBodyMesh.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbDxfOut.h>
#include <zrdb/ZrDbHostAppServices.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {

// One object of the file: its type and its groups after the 0 group.
struct DxfObject {
    std::string type;
    std::vector<std::pair<int, std::string>> groups;

    std::string value(int code, int nth = 0) const
    {
        for (const auto& group : groups)
            if (group.first == code && nth-- == 0)
                return group.second;
        return "(none)";
    }
    bool has(int code) const { return value(code) != "(none)"; }
};

std::vector<DxfObject> objects(const std::string& text)
{
    std::vector<DxfObject> out;
    std::istringstream in(text);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value)) {
        if (std::stoi(code) == 0)
            out.push_back({value, {}});
        else if (!out.empty())
            out.back().groups.emplace_back(std::stoi(code), value);
    }
    return out;
}

std::string hex(std::uint64_t value)
{
    std::ostringstream text;
    text << std::uppercase << std::hex << value;
    return text.str();
}

class DxfOut : public ::testing::Test {
protected:
    ZrDbDatabasePtr db = zrdbHostApplicationServices()->createDatabase(true, true);

    ZrDbObjectId addBlock(const wchar_t* name)
    {
        ZrDbBlockTable* table = nullptr;
        db->getSymbolTable(table, ZrDb::kForWrite);
        auto* block = new ZrDbBlockTableRecord;
        block->setName(name);
        ZrDbObjectId id;
        EXPECT_EQ(table->add(id, block), Nimb::eOk);
        block->close();
        table->close();
        return id;
    }

    ZrDbObjectId append(ZrDbObjectId blockId, ZrDbEntity* entity)
    {
        ZrDbBlockTableRecord* block = nullptr;
        EXPECT_EQ(zrdbOpenObject(block, blockId, ZrDb::kForWrite), Nimb::eOk);
        ZrDbObjectId id;
        EXPECT_EQ(block->appendZrDbEntity(id, entity), Nimb::eOk);
        entity->close();
        block->close();
        return id;
    }

    ZrDbObjectId appendCurve(ZrDbCurve* curve, const ZrGeCurve3d& geometry)
    {
        EXPECT_EQ(curve->setFromGeCurve(geometry), Nimb::eOk);
        return append(db->modelSpaceId(), curve);
    }

    std::vector<DxfObject> written()
    {
        std::ostringstream out;
        EXPECT_EQ(zrdbWriteDxf(db.get(), out), Nimb::eOk);
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty());
        return objects(out.str());
    }

    static const DxfObject& find(const std::vector<DxfObject>& all, const std::string& type, int nth = 0)
    {
        for (const DxfObject& object : all)
            if (object.type == type && nth-- == 0)
                return object;
        static const DxfObject none{"(none)", {}};
        return none;
    }
};

} // namespace

TEST_F(DxfOut, NamesInUtf8AndEveryObjectWithItsHandleAndOwner)
{
    const ZrDbObjectId block = addBlock(L"\u87BA\u6813 M8 \U0001F529");
    auto* point = new ZrDbPoint(ZrGePoint3d(1, 2.5, -3));
    const ZrDbObjectId pointId = append(block, point);
    const ZrDbObjectId referenceId = append(db->modelSpaceId(), new ZrDbBlockReference(ZrGePoint3d(), block));
    const auto all = written();

    const std::string name = "\xE8\x9E\xBA\xE6\xA0\x93 M8 \xF0\x9F\x94\xA9";
    EXPECT_EQ(all.front().value(2), "HEADER");
    EXPECT_EQ(find(all, "BLOCK_RECORD", 2).value(2), name);
    EXPECT_EQ(find(all, "BLOCK_RECORD", 2).value(5), hex(block.handle()));
    EXPECT_EQ(find(all, "BLOCK", 2).value(2), name);
    const DxfObject& reference = find(all, "INSERT");
    EXPECT_EQ(reference.value(5), hex(referenceId.handle()));
    EXPECT_EQ(reference.value(330), hex(db->modelSpaceId().handle()));
    EXPECT_EQ(reference.value(2), name);
    EXPECT_EQ(find(all, "POINT").value(5), hex(pointId.handle()));
    EXPECT_EQ(find(all, "POINT").value(330), hex(block.handle()));

    // Handles are unique and below the seed; owners are objects of the file.
    std::set<std::string> handles;
    for (const DxfObject& object : all) {
        const std::string handle = object.value(object.type == "DIMSTYLE" ? 105 : 5);
        if (object.type != "SECTION" && handle != "(none)") {
            EXPECT_TRUE(handles.insert(handle).second) << object.type << " " << handle;
        }
    }
    std::size_t seed = 0;
    for (std::size_t i = 0; i + 1 < all.front().groups.size(); ++i)
        if (all.front().groups[i].second == "$HANDSEED")
            seed = std::stoull(all.front().groups[i + 1].second, nullptr, 16);
    for (const std::string& handle : handles)
        EXPECT_LT(std::stoull(handle, nullptr, 16), seed);
    for (const DxfObject& object : all) {
        if (object.has(330) && object.value(330) != "0") {
            EXPECT_TRUE(handles.count(object.value(330))) << object.type << " owned by " << object.value(330);
        }
    }
    EXPECT_EQ(all.back().type, "EOF");
}

TEST_F(DxfOut, ColoursAsTheirMethodSays)
{
    struct Case {
        std::function<void(ZrCmColor&)> set;
        const char* index;
        const char* trueColour;
    } cases[] = {
        {[](ZrCmColor&) {}, "256", "(none)"},
        {[](ZrCmColor& c) { c.setColorIndex(0); }, "0", "(none)"},
        {[](ZrCmColor& c) { c.setColorIndex(5); }, "5", "(none)"},
        {[](ZrCmColor& c) { c.setRGB(254, 0, 0); }, "1", "16646144"},
        {[](ZrCmColor& c) { c.setRGB(123, 148, 203); }, "161", "8099019"},
    };
    for (const Case& c : cases) {
        auto* point = new ZrDbPoint(ZrGePoint3d());
        ZrCmColor colour;
        c.set(colour);
        point->setColor(colour);
        append(db->modelSpaceId(), point);
    }
    const auto all = written();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(find(all, "POINT", i).value(62), cases[i].index) << i;
        EXPECT_EQ(find(all, "POINT", i).value(420), cases[i].trueColour) << i;
    }
}

TEST_F(DxfOut, CurvesExactly)
{
    appendCurve(new ZrDbLine, ZrGeLineSeg3d(ZrGePoint3d(0, 0, 0), ZrGePoint3d(3, 4, 0)));
    // A quarter arc in the plane x = 2, normal +X: its centre is written in
    // that plane's own coordinates.
    appendCurve(new ZrDbArc, ZrGeCircArc3d(ZrGePoint3d(2, 0, 0), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 5, 0,
                                           1.5707963267948966));
    appendCurve(new ZrDbEllipse, ZrGeEllipArc3d(ZrGePoint3d(1, 2, 3), ZrGeVector3d(0, 1, 0), ZrGeVector3d(-1, 0, 0),
                                                10, 5, 0.5, 2.0));
    ZrGeKnotVector knots;
    for (double k : {0, 0, 0, 0, 1, 2, 2, 2, 2})
        knots.append(k);
    ZrGePoint3dArray points;
    for (int i = 0; i < 5; ++i)
        points.append(ZrGePoint3d(i, i % 2, 0));
    ZrGeDoubleArray weights;
    for (double w : {1.0, 2.0, 1.0, 2.0, 1.0})
        weights.append(w);
    appendCurve(new ZrDbSpline, ZrGeNurbCurve3d(3, knots, points, weights));
    const auto all = written();

    const DxfObject& line = find(all, "LINE");
    EXPECT_EQ(line.value(11), "3");
    EXPECT_EQ(line.value(21), "4");
    const DxfObject& arc = find(all, "ARC");
    EXPECT_EQ(arc.value(30), "2");
    EXPECT_EQ(arc.value(40), "5");
    EXPECT_EQ(arc.value(210), "1");
    EXPECT_EQ(arc.value(100, 1), "AcDbCircle");
    EXPECT_EQ(arc.value(100, 2), "AcDbArc");
    const DxfObject& ellipse = find(all, "ELLIPSE");
    EXPECT_EQ(ellipse.value(10) + ellipse.value(20) + ellipse.value(30), "123");
    EXPECT_EQ(ellipse.value(11) + " " + ellipse.value(21) + " " + ellipse.value(31), "0 10 0");
    EXPECT_EQ(ellipse.value(230), "1");
    EXPECT_EQ(ellipse.value(40), "0.5");
    EXPECT_EQ(ellipse.value(41), "0.5");
    EXPECT_EQ(ellipse.value(42), "2");
    const DxfObject& spline = find(all, "SPLINE");
    EXPECT_EQ(spline.value(70), "4"); // rational
    EXPECT_EQ(spline.value(71), "3");
    EXPECT_EQ(spline.value(72), "9");
    EXPECT_EQ(spline.value(73), "5");
    EXPECT_EQ(spline.value(40, 4), "1");
    EXPECT_EQ(spline.value(41, 1), "2");
    EXPECT_EQ(spline.value(10, 4), "4");
}

TEST_F(DxfOut, RefusesWhatTheFileCannotCarryAndWritesNothing)
{
    ZrDbObject* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
    std::ostringstream out;
    EXPECT_EQ(zrdbWriteDxf(db.get(), out), Nimb::eWasOpenForWrite);
    EXPECT_TRUE(out.str().empty());
    space->close();

    // Symbol names may hold a line break; a DXF line cannot.
    addBlock(L"two\nlines");
    std::string error;
    EXPECT_EQ(zrdbWriteDxf(db.get(), out), Nimb::eInvalidInput);
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(zrdbSaveAsDxf(db.get(), "unused.dxf", error), Nimb::eInvalidInput);
    EXPECT_EQ(error, "the name \"two\nlines\" holds U+A, which a DXF file cannot carry");

    ZrDbDatabasePtr plain = zrdbHostApplicationServices()->createDatabase(true, true);
    EXPECT_EQ(zrdbSaveAsDxf(plain.get(), "/nonexistent-folder/x.dxf", error), Nimb::eInvalidInput);
    EXPECT_EQ(error, "cannot write /nonexistent-folder/x.dxf");
}

// Two faces of a tessellation, each with points of its own: a square of two
// triangles and a triangle on its right side, plus a sliver whose corners
// fall together.
TEST(BodyMesh, SharesPointsWhereFacesMeetAndKnowsFaceBoundaries)
{
    ZrModelerMesh mesh;
    for (const ZrGePoint3d& p : {ZrGePoint3d(0, 0, 0), ZrGePoint3d(1, 0, 0), ZrGePoint3d(1, 1, 0), ZrGePoint3d(0, 1, 0),
                                 ZrGePoint3d(1, 0, 0), ZrGePoint3d(2, 0.5, 0), ZrGePoint3d(1, 1, 0),
                                 ZrGePoint3d(1, 1, 1e-13)})
        mesh.points.append(p);
    for (int corner : {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7})
        mesh.triangles.append(corner);
    ZrModelerMesh::Face square, wedge;
    square.numTriangles = 2;
    wedge.firstTriangle = 2;
    wedge.numTriangles = 2;
    mesh.faces.append(square);
    mesh.faces.append(wedge);

    const ZrDbBodyMesh joined = zrdbJoinBodyMesh(mesh);
    ASSERT_EQ(joined.points.size(), 5u);
    ASSERT_EQ(joined.triangles.size(), 3u);
    const ZrDbBodyMesh::Triangle& first = joined.triangles[0];
    const ZrDbBodyMesh::Triangle& wedgeTriangle = joined.triangles[2];
    EXPECT_EQ(wedgeTriangle.face, 1);
    // The wedge's side on the square runs between the square's own points.
    EXPECT_EQ(wedgeTriangle.corners[0], first.corners[1]);
    EXPECT_EQ(wedgeTriangle.corners[2], first.corners[2]);
    // The square's diagonal lies inside its face; every other side is a boundary.
    EXPECT_TRUE(first.onBoundary[0]);
    EXPECT_TRUE(first.onBoundary[1]);
    EXPECT_FALSE(first.onBoundary[2]);
    EXPECT_TRUE(wedgeTriangle.onBoundary[0] && wedgeTriangle.onBoundary[1] && wedgeTriangle.onBoundary[2]);
}
