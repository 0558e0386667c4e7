#include "zrdb/ZrDbDxfOut.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <zrbase/ZrString.h>

#include <cmath>

#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbr/ZrModelerGeometry.h>

#include "zrdb/ZrDbBlockReference.h"
#include "zrdb/ZrDbBody.h"
#include "zrdb/ZrDbCurves.h"
#include "zrdb/ZrDbDatabase.h"
#include "zrdb/ZrDbObjectPtr.h"
#include "zrdb/ZrDbSymbolTable.h"

namespace {

class DxfWriter {
public:
    explicit DxfWriter(std::ostream& out) : m_out(out) {}

    void code(int group, const std::string& value) { m_out << group << '\n' << value << '\n'; }
    void code(int group, int value) { code(group, std::to_string(value)); }
    void real(int group, double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        code(group, text);
    }
    void point(int group, const ZrGePoint3d& p)
    {
        real(group, p.x);
        real(group + 10, p.y);
        real(group + 20, p.z);
    }
    void text(int group, const ZrString& value) { code(group, encode(value)); }

    void beginSection(const char* name)
    {
        code(0, "SECTION");
        code(2, name);
    }
    void endSection() { code(0, "ENDSEC"); }

    // Common head of an entity: its type, layer and colour.
    void entityHead(const char* type, const ZrDbEntity& entity)
    {
        code(0, type);
        code(8, "0");
        const ZrCmEntityColor colour = entity.entityColor();
        if (colour.colorMethod() != ZrCmEntityColor::kByLayer)
            code(62, colour.colorIndex());
        if (colour.colorMethod() == ZrCmEntityColor::kByColor)
            code(420, static_cast<int>(colour.value() & 0xFFFFFF));
    }

private:
    // Printable ASCII as it is, everything else as \U+XXXX (UTF-16 units).
    static std::string encode(const ZrString& value)
    {
        std::string out;
        for (int i = 0; i < value.length(); ++i) {
            const unsigned int c = static_cast<unsigned int>(value[i]);
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
                continue;
            }
            auto unit = [&out](unsigned int u) {
                char escaped[12];
                std::snprintf(escaped, sizeof escaped, "\\U+%04X", u & 0xFFFF);
                out += escaped;
            };
            if (c > 0xFFFF) {
                unit(0xD800 + ((c - 0x10000) >> 10));
                unit(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                unit(c);
            }
        }
        return out;
    }

    std::ostream& m_out;
};

constexpr double kPi = 3.141592653589793;
// Polylines standing in for ellipses and splines keep within this fraction
// of the curve's size from the curve.
constexpr double kRelativeChord = 1e-3;
constexpr int kMaxPolylineSegments = 4096;

double degrees(double radians) { return radians * 180.0 / kPi; }

// A point in the object coordinates of the plane with normal n.
ZrGePoint3d inPlane(const ZrGePoint3d& p, const ZrGeVector3d& n)
{
    const ZrGeVector3d x = zrdbPlaneXAxis(n);
    const ZrGeVector3d y = n.crossProduct(x);
    const ZrGeVector3d v = p - ZrGePoint3d::kOrigin;
    return ZrGePoint3d(v.dotProduct(x), v.dotProduct(y), v.dotProduct(n));
}

void writeNormal(DxfWriter& dxf, const ZrGeVector3d& n)
{
    dxf.real(210, n.x);
    dxf.real(220, n.y);
    dxf.real(230, n.z);
}

// A 3D polyline through points, for curves the 1992 format has no entity for.
void writePolyline(DxfWriter& dxf, const ZrDbEntity& entity, const std::vector<ZrGePoint3d>& points, bool closed)
{
    dxf.entityHead("POLYLINE", entity);
    dxf.code(66, 1);
    dxf.point(10, ZrGePoint3d::kOrigin);
    dxf.code(70, 8 | (closed ? 1 : 0));
    for (std::size_t i = 0; i < points.size() - (closed ? 1 : 0); ++i) {
        dxf.code(0, "VERTEX");
        dxf.code(8, "0");
        dxf.point(10, points[i]);
        dxf.code(70, 32);
    }
    dxf.code(0, "SEQEND");
    dxf.code(8, "0");
}

// Segments needed to follow an arc of radius r over angle within the chord tolerance.
int segmentsFor(double angle, double chord, double r)
{
    if (!(r > 0.0) || !(chord > 0.0) || chord >= r)
        return 8;
    const double step = 2.0 * std::acos(1.0 - chord / r);
    return std::max(8, std::min(kMaxPolylineSegments, static_cast<int>(std::ceil(std::fabs(angle) / step))));
}

void writeLine(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& line = static_cast<const ZrDbLine&>(entity);
    if (!line.hasGeometry())
        return;
    dxf.entityHead("LINE", entity);
    dxf.point(10, line.startPoint());
    dxf.point(11, line.endPoint());
}

void writeCircle(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& circle = static_cast<const ZrDbCircle&>(entity);
    if (!circle.hasGeometry())
        return;
    dxf.entityHead("CIRCLE", entity);
    dxf.point(10, inPlane(circle.center(), circle.normal()));
    dxf.real(40, circle.radius());
    writeNormal(dxf, circle.normal());
}

void writeArc(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& arc = static_cast<const ZrDbArc&>(entity);
    if (!arc.hasGeometry())
        return;
    dxf.entityHead("ARC", entity);
    dxf.point(10, inPlane(arc.center(), arc.normal()));
    dxf.real(40, arc.radius());
    writeNormal(dxf, arc.normal());
    dxf.real(50, degrees(arc.startAngle()));
    dxf.real(51, degrees(std::fmod(arc.endAngle(), 2.0 * kPi)));
}

void writeEllipse(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& ellipse = static_cast<const ZrDbEllipse&>(entity);
    if (!ellipse.hasGeometry())
        return;
    const double major = ellipse.majorAxis().length();
    const double span = ellipse.endParam() - ellipse.startParam();
    const int segments = segmentsFor(span, major * kRelativeChord, major);
    std::vector<ZrGePoint3d> points;
    for (int i = 0; i <= segments; ++i) {
        const double t = ellipse.startParam() + span * i / segments;
        points.push_back(ellipse.center() + ellipse.majorAxis() * std::cos(t) + ellipse.minorAxis() * std::sin(t));
    }
    writePolyline(dxf, entity, points, ellipse.isClosed());
}

void writeSpline(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& spline = static_cast<const ZrDbSpline&>(entity);
    int degree = 0;
    bool rational = false, closed = false, periodic = false;
    ZrGePoint3dArray controlPoints;
    ZrGeKnotVector knots;
    ZrGeDoubleArray weights;
    if (!spline.hasGeometry() ||
        spline.getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights) != Nimb::eOk)
        return;
    const ZrGeNurbCurve3d curve = rational ? ZrGeNurbCurve3d(degree, knots, controlPoints, weights, periodic)
                                           : ZrGeNurbCurve3d(degree, knots, controlPoints, periodic);
    ZrGeInterval range;
    curve.getInterval(range);
    // Enough points per span that the polyline follows every bend.
    const int segments = std::min(kMaxPolylineSegments, std::max(16, controlPoints.length() * 16));
    std::vector<ZrGePoint3d> points;
    for (int i = 0; i <= segments; ++i)
        points.push_back(curve.evalPoint(range.lowerBound() + (range.upperBound() - range.lowerBound()) * i / segments));
    writePolyline(dxf, entity, points, closed);
}

// A body as a polyface mesh: its vertices, then one face record per triangle
// (1-based vertex numbers), each face record in its face's colour.
void writeBody(DxfWriter& dxf, const ZrDbEntity& entity, const ZrModelerGeometry* body)
{
    ZrModelerMesh mesh;
    if (!body || body->isNull())
        return;
    body->tessellate(ZrModelerMeshParams(), mesh);
    if (mesh.numTriangles() == 0)
        return;
    dxf.entityHead("POLYLINE", entity);
    dxf.code(66, 1);
    dxf.point(10, ZrGePoint3d::kOrigin);
    dxf.code(70, 64);
    dxf.code(71, mesh.points.length());
    dxf.code(72, mesh.numTriangles());
    for (const ZrGePoint3d& p : mesh.points) {
        dxf.code(0, "VERTEX");
        dxf.code(8, "0");
        dxf.point(10, p);
        dxf.code(70, 192);
    }
    for (const ZrModelerMesh::Face& face : mesh.faces) {
        for (int t = face.firstTriangle; t < face.firstTriangle + face.numTriangles; ++t) {
            dxf.code(0, "VERTEX");
            dxf.code(8, "0");
            if (face.hasColor) {
                const ZrCmEntityColor colour = ZrCmEntityColor::fromValue(face.color);
                dxf.code(62, colour.colorIndex());
                if (colour.colorMethod() == ZrCmEntityColor::kByColor)
                    dxf.code(420, static_cast<int>(colour.value() & 0xFFFFFF));
            }
            dxf.point(10, ZrGePoint3d::kOrigin);
            dxf.code(70, 128);
            for (int k = 0; k < 3; ++k)
                dxf.code(71 + k, mesh.triangles[3 * t + k] + 1);
        }
    }
    dxf.code(0, "SEQEND");
    dxf.code(8, "0");
}

void writeSolid(DxfWriter& dxf, const ZrDbEntity& entity)
{
    writeBody(dxf, entity, static_cast<const ZrDb3dSolid&>(entity).modelerGeometry());
}

void writeSurface(DxfWriter& dxf, const ZrDbEntity& entity)
{
    writeBody(dxf, entity, static_cast<const ZrDbSurface&>(entity).modelerGeometry());
}

// Entity writers by class; an entity of a class without one is left out.
using EntityWriter = std::function<void(DxfWriter&, const ZrDbEntity&)>;

void writePoint(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& point = static_cast<const ZrDbPoint&>(entity);
    dxf.entityHead("POINT", entity);
    dxf.point(10, point.position());
}

void writeInsert(DxfWriter& dxf, const ZrDbEntity& entity)
{
    const auto& reference = static_cast<const ZrDbBlockReference&>(entity);
    ZrDbObjectPtr<ZrDbBlockTableRecord> block(reference.blockTableRecord(), ZrDb::kForRead);
    if (!block)
        return;
    ZrString name;
    block->getName(name);
    dxf.entityHead("INSERT", entity);
    dxf.text(2, name);
    dxf.point(10, reference.position());
}

const std::map<const ZrRxClass*, EntityWriter>& entityWriters()
{
    static const std::map<const ZrRxClass*, EntityWriter> writers = {
        {ZrDbPoint::desc(), writePoint},
        {ZrDbBlockReference::desc(), writeInsert},
        {ZrDbLine::desc(), writeLine},
        {ZrDbCircle::desc(), writeCircle},
        {ZrDbArc::desc(), writeArc},
        {ZrDbEllipse::desc(), writeEllipse},
        {ZrDbSpline::desc(), writeSpline},
        {ZrDb3dSolid::desc(), writeSolid},
        {ZrDbSurface::desc(), writeSurface},
    };
    return writers;
}

void writeEntities(DxfWriter& dxf, const ZrDbBlockTableRecord& block)
{
    for (ZrDbObjectId id : block.entityIds()) {
        ZrDbObjectPtr<ZrDbEntity> entity(id, ZrDb::kForRead);
        if (!entity)
            continue; // erased
        auto writer = entityWriters().find(entity->isA());
        if (writer != entityWriters().end())
            writer->second(dxf, *entity.get());
    }
}

void writeHeader(DxfWriter& dxf, ZrDbDatabase* db)
{
    dxf.beginSection("HEADER");
    ZrDbExtents extents;
    if (!zrdbModelSpaceExtents(db, extents)) {
        extents.addPoint(ZrGePoint3d(0, 0, 0));
        extents.addPoint(ZrGePoint3d(0, 0, 0));
    }
    dxf.code(9, "$EXTMIN");
    dxf.point(10, extents.minPoint());
    dxf.code(9, "$EXTMAX");
    dxf.point(10, extents.maxPoint());
    dxf.code(9, "$INSBASE");
    dxf.point(10, ZrGePoint3d::kOrigin);
    dxf.code(9, "$MEASUREMENT");
    dxf.code(70, db->isMetric() ? 1 : 0);
    dxf.endSection();
}

// A table of one or more entries written by body.
void writeTable(DxfWriter& dxf, const char* name, int count, const std::function<void()>& body)
{
    dxf.code(0, "TABLE");
    dxf.code(2, name);
    dxf.code(70, count);
    body();
    dxf.code(0, "ENDTAB");
}

void writeTables(DxfWriter& dxf, ZrDbDatabase* db)
{
    dxf.beginSection("TABLES");
    ZrDbObjectId activeId;
    {
        ZrDbObjectPtr<ZrDbViewportTable> viewports(db->viewportTableId(), ZrDb::kForRead);
        if (viewports)
            activeId = viewports->findName(L"*Active", false);
    }
    ZrDbObjectPtr<ZrDbViewportTableRecord> active(activeId, ZrDb::kForRead);
    writeTable(dxf, "VPORT", active ? 1 : 0, [&] {
        if (!active)
            return;
        dxf.code(0, "VPORT");
        dxf.code(2, "*ACTIVE");
        dxf.code(70, 0);
        dxf.real(12, active->centerX());
        dxf.real(22, active->centerY());
        dxf.real(40, active->height());
        dxf.real(41, active->width() / active->height());
    });
    writeTable(dxf, "LTYPE", 1, [&] {
        dxf.code(0, "LTYPE");
        dxf.code(2, "CONTINUOUS");
        dxf.code(70, 0);
        dxf.code(3, "Solid line");
        dxf.code(72, 65);
        dxf.code(73, 0);
        dxf.real(40, 0.0);
    });
    std::vector<ZrString> layerNames;
    {
        ZrDbObjectPtr<ZrDbLayerTable> layers(db->layerTableId(), ZrDb::kForRead);
        for (ZrDbObjectId id : layers ? layers->recordIds() : std::vector<ZrDbObjectId>()) {
            ZrDbObjectPtr<ZrDbLayerTableRecord> layer(id, ZrDb::kForRead);
            ZrString name;
            if (layer && layer->getName(name) == Nimb::eOk)
                layerNames.push_back(name);
        }
    }
    writeTable(dxf, "LAYER", static_cast<int>(layerNames.size()), [&] {
        for (const ZrString& name : layerNames) {
            dxf.code(0, "LAYER");
            dxf.text(2, name);
            dxf.code(70, 0);
            dxf.code(62, 7);
            dxf.code(6, "CONTINUOUS");
        }
    });
    dxf.endSection();
}

void writeBlocks(DxfWriter& dxf, ZrDbDatabase* db)
{
    dxf.beginSection("BLOCKS");
    std::vector<ZrDbObjectId> blockIds;
    {
        ZrDbObjectPtr<ZrDbBlockTable> table(db->blockTableId(), ZrDb::kForRead);
        if (table)
            blockIds = table->recordIds();
    }
    for (ZrDbObjectId id : blockIds) {
        ZrDbObjectPtr<ZrDbBlockTableRecord> block(id, ZrDb::kForRead);
        if (!block || block->isLayout())
            continue;
        ZrString name;
        block->getName(name);
        dxf.code(0, "BLOCK");
        dxf.code(8, "0");
        dxf.text(2, name);
        dxf.code(70, 0);
        dxf.point(10, ZrGePoint3d::kOrigin);
        dxf.text(3, name);
        writeEntities(dxf, *block.get());
        dxf.code(0, "ENDBLK");
        dxf.code(8, "0");
    }
    dxf.endSection();
}

} // namespace

Nimb::ErrorStatus zrdbWriteDxf(ZrDbDatabase* db, std::ostream& out)
{
    if (!db)
        return Nimb::eNullObjectPointer;
    for (ZrDbObjectId id : db->openObjects())
        if (id.stub()->object->isWriteEnabled())
            return Nimb::eWasOpenForWrite;
    DxfWriter dxf(out);
    writeHeader(dxf, db);
    writeTables(dxf, db);
    writeBlocks(dxf, db);
    dxf.beginSection("ENTITIES");
    {
        ZrDbObjectPtr<ZrDbBlockTableRecord> space(db->modelSpaceId(), ZrDb::kForRead);
        if (space)
            writeEntities(dxf, *space.get());
    }
    dxf.endSection();
    dxf.code(0, "EOF");
    return out ? Nimb::eOk : Nimb::eInvalidInput;
}

Nimb::ErrorStatus zrdbSaveAsDxf(ZrDbDatabase* db, const std::string& path, std::string& error)
{
    std::ostringstream text;
    Nimb::ErrorStatus status = zrdbWriteDxf(db, text);
    if (status != Nimb::eOk) {
        error = status == Nimb::eWasOpenForWrite ? "the drawing has objects open for write"
                                                 : Nimb::errorStatusText(status);
        return status;
    }
    std::ofstream file(path, std::ios::binary);
    file << text.str();
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return Nimb::eInvalidInput;
    }
    return Nimb::eOk;
}
