#include "zrdb/ZrDbDxfOut.h"

#include "DxfDrawing.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>
#include <utility>
#include <vector>

#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbase/ZrString.h>
#include <zrbr/ZrModelerGeometry.h>

#include "zrdb/ZrDbBlockReference.h"
#include "zrdb/ZrDbBody.h"
#include "zrdb/ZrDbBodyMesh.h"
#include "zrdb/ZrDbCurves.h"
#include "zrdb/ZrDbDatabase.h"
#include "zrdb/ZrDbObjectPtr.h"
#include "zrdb/ZrDbSymbolTable.h"

namespace {

using Handle = std::uint64_t;

// Something the drawing holds that the file cannot carry.
struct Unwritable {
    std::string reason;
};

constexpr double kPi = 3.141592653589793;

std::string hex(std::uint64_t value)
{
    char text[20];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

// ---------------------------------------------------------------- tags

// Group codes and their values, each on a line of its own.
class TagWriter {
public:
    explicit TagWriter(std::ostream& out) : m_out(out) {}

    void tag(int code, const std::string& value) { m_out << code << '\n' << value << '\n'; }
    void integer(int code, long long value) { tag(code, std::to_string(value)); }
    void handle(int code, Handle value) { tag(code, hex(value)); }
    void real(int code, double value)
    {
        if (!std::isfinite(value))
            throw Unwritable{"a coordinate is not a number"};
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        tag(code, text);
    }
    void point(int code, const ZrGePoint3d& p) { triple(code, p.x, p.y, p.z); }
    void vector(int code, const ZrGeVector3d& v) { triple(code, v.x, v.y, v.z); }
    void text(int code, const ZrString& value) { tag(code, lineText(value)); }

private:
    void triple(int code, double x, double y, double z)
    {
        real(code, x);
        real(code + 10, y);
        real(code + 20, z);
    }

    // UTF-8 of text that fits on one line; anything else is refused rather
    // than changed, since two names must not come out as one.
    static std::string lineText(const ZrString& value)
    {
        for (int i = 0; i < value.length(); ++i) {
            const auto c = static_cast<unsigned long>(value[i]);
            if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
                throw Unwritable{"the name \"" + value.utf8() + "\" holds U+" + hex(c) +
                                 ", which a DXF file cannot carry"};
        }
        return value.utf8();
    }

    std::ostream& m_out;
};

void writeColour(TagWriter& tags, ZrCmEntityColor colour)
{
    switch (colour.colorMethod()) {
    case ZrCmEntityColor::kByBlock:
        tags.integer(62, 0);
        break;
    case ZrCmEntityColor::kByIndex:
        tags.integer(62, colour.colorIndex());
        break;
    case ZrCmEntityColor::kByColor:
        tags.integer(62, colour.colorIndex());
        tags.integer(420, colour.value() & 0xFFFFFF);
        break;
    default:
        tags.integer(62, 256);
        break;
    }
}

// ---------------------------------------------------------------- objects

// What the file adds to the database's objects, handed out once.
struct FixedHandles {
    Handle lineTypeTable, styleTable, viewTable, ucsTable, appTable, dimStyleTable;
    Handle byBlock, byLayer, continuous, standardStyle, acadApp, standardDimStyle;
    Handle rootDictionary, groups, layouts, plotStyles, normalPlotStyle, modelLayout, paperLayout;
};

struct BlockEntry {
    ZrDbObjectId id;
    ZrString name;
    bool layout = false;
};

// The colours a body's faces show, and whether they all show one.
struct MeshColours {
    ZrCmEntityColor mesh;                // the mesh entity's colour
    bool perFace = false;                // face records carry their own
    std::vector<ZrCmEntityColor> shown;  // by face of the tessellation
};

MeshColours meshColours(const ZrModelerMesh& mesh, const ZrDbBodyMesh& joined, ZrCmEntityColor entityColour)
{
    MeshColours colours;
    for (const ZrModelerMesh::Face& face : mesh.faces)
        colours.shown.push_back(face.hasColor ? ZrCmEntityColor::fromValue(face.color) : entityColour);
    colours.mesh = entityColour;
    if (joined.triangles.empty())
        return colours;
    const ZrCmEntityColor first = colours.shown[static_cast<std::size_t>(joined.triangles.front().face)];
    for (const ZrDbBodyMesh::Triangle& triangle : joined.triangles)
        if (colours.shown[static_cast<std::size_t>(triangle.face)] != first)
            colours.perFace = true;
    if (!colours.perFace)
        colours.mesh = first;
    return colours;
}

// A point in the object coordinates of the plane with normal n.
ZrGePoint3d inPlane(const ZrGePoint3d& p, const ZrGeVector3d& n)
{
    const ZrGeVector3d x = zrdbPlaneXAxis(n);
    const ZrGeVector3d y = n.crossProduct(x);
    const ZrGeVector3d v = p - ZrGePoint3d::kOrigin;
    return ZrGePoint3d(v.dotProduct(x), v.dotProduct(y), v.dotProduct(n));
}

double degrees(double radians) { return radians * 180.0 / kPi; }

// Writes one drawing: the sections from classes to objects as they come,
// the header last, when the handle seed is known.
class DrawingWriter {
public:
    DrawingWriter(ZrDbDatabase* db, std::ostream& out, std::size_t maxMeshCount)
        : m_db(db), m_tags(out), m_next(db->handseed()), m_maxMeshCount(maxMeshCount)
    {
        Handle* fixed[] = {&m_fixed.lineTypeTable, &m_fixed.styleTable,     &m_fixed.viewTable,
                           &m_fixed.ucsTable,      &m_fixed.appTable,       &m_fixed.dimStyleTable,
                           &m_fixed.byBlock,       &m_fixed.byLayer,        &m_fixed.continuous,
                           &m_fixed.standardStyle, &m_fixed.acadApp,        &m_fixed.standardDimStyle,
                           &m_fixed.rootDictionary, &m_fixed.groups,        &m_fixed.layouts,
                           &m_fixed.plotStyles,    &m_fixed.normalPlotStyle, &m_fixed.modelLayout,
                           &m_fixed.paperLayout};
        for (Handle* handle : fixed)
            *handle = newHandle();
        if (!zrdbModelSpaceExtents(db, m_extents))
            m_extents.addPoint(ZrGePoint3d::kOrigin);
        readBlocks();
    }

    void writeSections()
    {
        writeClasses();
        writeTables();
        writeBlocks();
        writeEntities();
        writeObjects();
        m_tags.tag(0, "EOF");
    }

    void writeHeader(std::ostream& out) const
    {
        TagWriter tags(out);
        tags.tag(0, "SECTION");
        tags.tag(2, "HEADER");
        const auto variable = [&tags](const char* name) { tags.tag(9, name); };
        variable("$ACADVER");
        tags.tag(1, "AC1024");
        variable("$DWGCODEPAGE");
        tags.tag(3, "ANSI_1252");
        variable("$INSBASE");
        tags.point(10, ZrGePoint3d::kOrigin);
        variable("$EXTMIN");
        tags.point(10, m_extents.minPoint());
        variable("$EXTMAX");
        tags.point(10, m_extents.maxPoint());
        variable("$MEASUREMENT");
        tags.integer(70, m_db->isMetric() ? 1 : 0);
        variable("$HANDSEED");
        tags.handle(5, m_next);
        tags.tag(0, "ENDSEC");
    }

private:
    Handle newHandle() { return m_next++; }

    // ------------------------------------------------------------ structure

    void beginSection(const char* name)
    {
        m_tags.tag(0, "SECTION");
        m_tags.tag(2, name);
    }
    void endSection() { m_tags.tag(0, "ENDSEC"); }

    // The head every entity shares: type, handle, owner, layer and colour
    // (none for the parts of a polyline), then its own subclass.
    void entityHead(const char* type, Handle handle, Handle owner, const ZrCmEntityColor* colour,
                    const char* subclass)
    {
        m_tags.tag(0, type);
        m_tags.handle(5, handle);
        m_tags.handle(330, owner);
        m_tags.tag(100, "AcDbEntity");
        if (m_inPaperSpace)
            m_tags.integer(67, 1);
        m_tags.tag(8, "0");
        if (colour)
            writeColour(m_tags, *colour);
        if (subclass)
            m_tags.tag(100, subclass);
    }

    void entityHead(const char* type, const ZrDbEntity& entity, Handle owner, const char* subclass)
    {
        const ZrCmEntityColor colour = entity.entityColor();
        entityHead(type, entity.objectId().handle(), owner, &colour, subclass);
    }

    void tableHead(const char* name, Handle handle, std::size_t count)
    {
        m_tags.tag(0, "TABLE");
        m_tags.tag(2, name);
        m_tags.handle(5, handle);
        m_tags.tag(330, "0");
        m_tags.tag(100, "AcDbSymbolTable");
        m_tags.integer(70, static_cast<long long>(count));
    }

    void recordHead(const char* type, Handle handle, Handle table, const char* subclass, const ZrString& name)
    {
        m_tags.tag(0, type);
        m_tags.handle(std::string(type) == "DIMSTYLE" ? 105 : 5, handle);
        m_tags.handle(330, table);
        m_tags.tag(100, "AcDbSymbolTableRecord");
        m_tags.tag(100, subclass);
        m_tags.text(2, name);
        m_tags.integer(70, 0);
    }

    void dictionaryHead(const char* type, Handle handle, Handle owner,
                        const std::vector<std::pair<const char*, Handle>>& entries)
    {
        m_tags.tag(0, type);
        m_tags.handle(5, handle);
        m_tags.handle(330, owner);
        m_tags.tag(100, "AcDbDictionary");
        m_tags.integer(281, 1);
        for (const auto& entry : entries) {
            m_tags.tag(3, entry.first);
            m_tags.handle(350, entry.second);
        }
    }

    // ------------------------------------------------------------ sections

    void writeClasses()
    {
        beginSection("CLASSES");
        const char* classes[][3] = {{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", "1"},
                                    {"ACDBPLACEHOLDER", "AcDbPlaceHolder", "1"},
                                    {"LAYOUT", "AcDbLayout", "2"}};
        for (const auto& c : classes) {
            m_tags.tag(0, "CLASS");
            m_tags.tag(1, c[0]);
            m_tags.tag(2, c[1]);
            m_tags.tag(3, "ObjectDBX Classes");
            m_tags.integer(90, 0);
            m_tags.tag(91, c[2]);
            m_tags.integer(280, 0);
            m_tags.integer(281, 0);
        }
        endSection();
    }

    void writeTables()
    {
        beginSection("TABLES");
        writeViewports();
        writeLineTypes();
        writeLayers();
        tableHead("STYLE", m_fixed.styleTable, 1);
        recordHead("STYLE", m_fixed.standardStyle, m_fixed.styleTable, "AcDbTextStyleTableRecord", L"Standard");
        m_tags.real(40, 0.0);
        m_tags.real(41, 1.0);
        m_tags.real(50, 0.0);
        m_tags.integer(71, 0);
        m_tags.real(42, 2.5);
        m_tags.tag(3, "txt");
        m_tags.tag(4, "");
        m_tags.tag(0, "ENDTAB");
        tableHead("VIEW", m_fixed.viewTable, 0);
        m_tags.tag(0, "ENDTAB");
        tableHead("UCS", m_fixed.ucsTable, 0);
        m_tags.tag(0, "ENDTAB");
        tableHead("APPID", m_fixed.appTable, 1);
        recordHead("APPID", m_fixed.acadApp, m_fixed.appTable, "AcDbRegAppTableRecord", L"ACAD");
        m_tags.tag(0, "ENDTAB");
        tableHead("DIMSTYLE", m_fixed.dimStyleTable, 1);
        m_tags.tag(100, "AcDbDimStyleTable");
        m_tags.integer(71, 0);
        recordHead("DIMSTYLE", m_fixed.standardDimStyle, m_fixed.dimStyleTable, "AcDbDimStyleTableRecord",
                   L"Standard");
        m_tags.tag(0, "ENDTAB");
        writeBlockRecords();
        endSection();
    }

    void writeViewports()
    {
        ZrDbObjectId activeId;
        {
            ZrDbObjectPtr<ZrDbViewportTable> viewports(m_db->viewportTableId(), ZrDb::kForRead);
            if (viewports)
                activeId = viewports->findName(L"*Active", false);
        }
        ZrDbObjectPtr<ZrDbViewportTableRecord> active(activeId, ZrDb::kForRead);
        tableHead("VPORT", m_db->viewportTableId().handle(), active ? 1 : 0);
        if (active) {
            recordHead("VPORT", activeId.handle(), m_db->viewportTableId().handle(), "AcDbViewportTableRecord",
                       L"*Active");
            m_tags.real(10, 0.0);
            m_tags.real(20, 0.0);
            m_tags.real(11, 1.0);
            m_tags.real(21, 1.0);
            m_tags.real(12, active->centerX());
            m_tags.real(22, active->centerY());
            m_tags.vector(16, ZrGeVector3d(0, 0, 1));
            m_tags.point(17, ZrGePoint3d::kOrigin);
            m_tags.real(40, active->height());
            m_tags.real(41, active->width() / active->height());
        }
        m_tags.tag(0, "ENDTAB");
    }

    void writeLineTypes()
    {
        tableHead("LTYPE", m_fixed.lineTypeTable, 3);
        const std::pair<Handle, const wchar_t*> types[] = {
            {m_fixed.byBlock, L"ByBlock"}, {m_fixed.byLayer, L"ByLayer"}, {m_fixed.continuous, L"Continuous"}};
        for (const auto& type : types) {
            recordHead("LTYPE", type.first, m_fixed.lineTypeTable, "AcDbLinetypeTableRecord", type.second);
            m_tags.tag(3, type.first == m_fixed.continuous ? "Solid line" : "");
            m_tags.integer(72, 65);
            m_tags.integer(73, 0);
            m_tags.real(40, 0.0);
        }
        m_tags.tag(0, "ENDTAB");
    }

    void writeLayers()
    {
        std::vector<std::pair<Handle, ZrString>> layers;
        {
            ZrDbObjectPtr<ZrDbLayerTable> table(m_db->layerTableId(), ZrDb::kForRead);
            for (ZrDbObjectId id : table ? table->recordIds() : std::vector<ZrDbObjectId>()) {
                ZrDbObjectPtr<ZrDbLayerTableRecord> layer(id, ZrDb::kForRead);
                ZrString name;
                if (layer && layer->getName(name) == Nimb::eOk)
                    layers.emplace_back(id.handle(), name);
            }
        }
        const Handle table = m_db->layerTableId().handle();
        tableHead("LAYER", table, layers.size());
        for (const auto& layer : layers) {
            recordHead("LAYER", layer.first, table, "AcDbLayerTableRecord", layer.second);
            m_tags.integer(62, 7);
            m_tags.tag(6, "Continuous");
            m_tags.integer(370, -3);
            m_tags.handle(390, m_fixed.normalPlotStyle);
        }
        m_tags.tag(0, "ENDTAB");
    }

    // Every block of the table that is not erased, in table order.
    void readBlocks()
    {
        std::vector<ZrDbObjectId> ids;
        {
            ZrDbObjectPtr<ZrDbBlockTable> table(m_db->blockTableId(), ZrDb::kForRead);
            if (table)
                ids = table->recordIds();
        }
        for (ZrDbObjectId id : ids) {
            ZrDbObjectPtr<ZrDbBlockTableRecord> block(id, ZrDb::kForRead);
            if (!block)
                continue;
            BlockEntry entry;
            entry.id = id;
            block->getName(entry.name);
            entry.layout = block->isLayout();
            m_blockNames[id] = entry.name;
            m_blocks.push_back(entry);
        }
    }

    Handle layoutOf(ZrDbObjectId block) const
    {
        if (block == m_db->modelSpaceId())
            return m_fixed.modelLayout;
        return block == m_db->paperSpaceId() ? m_fixed.paperLayout : 0;
    }

    void writeBlockRecords()
    {
        const Handle table = m_db->blockTableId().handle();
        tableHead("BLOCK_RECORD", table, m_blocks.size());
        for (const BlockEntry& block : m_blocks) {
            recordHead("BLOCK_RECORD", block.id.handle(), table, "AcDbBlockTableRecord", block.name);
            m_tags.handle(340, layoutOf(block.id));
            m_tags.integer(280, 1);
            m_tags.integer(281, 0);
        }
        m_tags.tag(0, "ENDTAB");
    }

    // Layouts keep their entities in the entities section; their blocks stay empty.
    void writeBlocks()
    {
        beginSection("BLOCKS");
        for (const BlockEntry& block : m_blocks) {
            const Handle owner = block.id.handle();
            m_inPaperSpace = block.id == m_db->paperSpaceId();
            entityHead("BLOCK", newHandle(), owner, nullptr, "AcDbBlockBegin");
            m_tags.text(2, block.name);
            m_tags.integer(70, 0);
            m_tags.point(10, ZrGePoint3d::kOrigin);
            m_tags.text(3, block.name);
            m_tags.tag(1, "");
            if (!block.layout)
                writeEntitiesOf(block.id);
            entityHead("ENDBLK", newHandle(), owner, nullptr, "AcDbBlockEnd");
            m_inPaperSpace = false;
        }
        endSection();
    }

    void writeEntities()
    {
        beginSection("ENTITIES");
        writeEntitiesOf(m_db->modelSpaceId());
        m_inPaperSpace = true;
        writeEntitiesOf(m_db->paperSpaceId());
        m_inPaperSpace = false;
        endSection();
    }

    void writeObjects()
    {
        beginSection("OBJECTS");
        const FixedHandles& f = m_fixed;
        dictionaryHead("DICTIONARY", f.rootDictionary, 0,
                       {{"ACAD_GROUP", f.groups}, {"ACAD_LAYOUT", f.layouts}, {"ACAD_PLOTSTYLENAME", f.plotStyles}});
        dictionaryHead("DICTIONARY", f.groups, f.rootDictionary, {});
        dictionaryHead("DICTIONARY", f.layouts, f.rootDictionary, {{"Model", f.modelLayout}, {"Layout1", f.paperLayout}});
        dictionaryHead("ACDBDICTIONARYWDFLT", f.plotStyles, f.rootDictionary, {{"Normal", f.normalPlotStyle}});
        m_tags.tag(100, "AcDbDictionaryWithDefault");
        m_tags.handle(340, f.normalPlotStyle);
        m_tags.tag(0, "ACDBPLACEHOLDER");
        m_tags.handle(5, f.normalPlotStyle);
        m_tags.handle(330, f.plotStyles);
        writeLayout(f.modelLayout, "Model", 0, m_db->modelSpaceId().handle());
        writeLayout(f.paperLayout, "Layout1", 1, m_db->paperSpaceId().handle());
        endSection();
    }

    void writeLayout(Handle handle, const char* name, int tabOrder, Handle blockRecord)
    {
        m_tags.tag(0, "LAYOUT");
        m_tags.handle(5, handle);
        m_tags.handle(330, m_fixed.layouts);
        m_tags.tag(100, "AcDbPlotSettings");
        m_tags.tag(1, "");
        m_tags.tag(4, "");
        m_tags.tag(6, "");
        for (int code = 40; code <= 49; ++code)
            m_tags.real(code, 0.0);
        m_tags.real(140, 0.0);
        m_tags.real(141, 0.0);
        m_tags.real(142, 1.0);
        m_tags.real(143, 1.0);
        m_tags.integer(70, 0);
        m_tags.integer(72, m_db->isMetric() ? 1 : 0);
        m_tags.integer(73, 0);
        m_tags.integer(74, 0);
        m_tags.tag(7, "");
        m_tags.integer(75, 0);
        m_tags.real(147, 1.0);
        m_tags.tag(100, "AcDbLayout");
        m_tags.tag(1, name);
        m_tags.integer(70, 1);
        m_tags.integer(71, tabOrder);
        m_tags.real(10, 0.0);
        m_tags.real(20, 0.0);
        m_tags.real(11, 420.0);
        m_tags.real(21, 297.0);
        m_tags.point(12, ZrGePoint3d::kOrigin);
        m_tags.point(14, m_extents.minPoint());
        m_tags.point(15, m_extents.maxPoint());
        m_tags.real(146, 0.0);
        m_tags.point(13, ZrGePoint3d::kOrigin);
        m_tags.vector(16, ZrGeVector3d(1, 0, 0));
        m_tags.vector(17, ZrGeVector3d(0, 1, 0));
        m_tags.integer(76, 0);
        m_tags.handle(330, blockRecord);
    }

    // ------------------------------------------------------------ entities

    using EntityWriter = void (DrawingWriter::*)(const ZrDbEntity&, Handle owner);

    static const std::map<const ZrRxClass*, EntityWriter>& entityWriters()
    {
        static const std::map<const ZrRxClass*, EntityWriter> writers = {
            {ZrDbPoint::desc(), &DrawingWriter::writePoint},
            {ZrDbBlockReference::desc(), &DrawingWriter::writeInsert},
            {ZrDbLine::desc(), &DrawingWriter::writeLine},
            {ZrDbCircle::desc(), &DrawingWriter::writeCircle},
            {ZrDbArc::desc(), &DrawingWriter::writeArc},
            {ZrDbEllipse::desc(), &DrawingWriter::writeEllipse},
            {ZrDbSpline::desc(), &DrawingWriter::writeSpline},
            {ZrDb3dSolid::desc(), &DrawingWriter::writeSolid},
            {ZrDbSurface::desc(), &DrawingWriter::writeSurface},
        };
        return writers;
    }

    // The block's entities of a class the file knows; erased ones and
    // curves without geometry are left out.
    void writeEntitiesOf(ZrDbObjectId blockId)
    {
        ZrDbObjectPtr<ZrDbBlockTableRecord> block(blockId, ZrDb::kForRead);
        if (!block)
            return;
        for (ZrDbObjectId id : block->entityIds()) {
            ZrDbObjectPtr<ZrDbEntity> entity(id, ZrDb::kForRead);
            const ZrDbCurve* curve = ZrDbCurve::cast(entity.get());
            if (!entity || (curve && !curve->hasGeometry()))
                continue;
            auto writer = entityWriters().find(entity->isA());
            if (writer != entityWriters().end())
                (this->*writer->second)(*entity.get(), blockId.handle());
        }
    }

    void writePoint(const ZrDbEntity& entity, Handle owner)
    {
        entityHead("POINT", entity, owner, "AcDbPoint");
        m_tags.point(10, static_cast<const ZrDbPoint&>(entity).position());
    }

    void writeInsert(const ZrDbEntity& entity, Handle owner)
    {
        const auto& reference = static_cast<const ZrDbBlockReference&>(entity);
        auto block = m_blockNames.find(reference.blockTableRecord());
        if (block == m_blockNames.end())
            throw Unwritable{"a block reference (handle " + hex(entity.objectId().handle()) +
                             ") refers to a block that is not there"};
        entityHead("INSERT", entity, owner, "AcDbBlockReference");
        m_tags.text(2, block->second);
        m_tags.point(10, reference.position());
    }

    void writeLine(const ZrDbEntity& entity, Handle owner)
    {
        const auto& line = static_cast<const ZrDbLine&>(entity);
        entityHead("LINE", entity, owner, "AcDbLine");
        m_tags.point(10, line.startPoint());
        m_tags.point(11, line.endPoint());
    }

    // Circles and arcs lie in the object coordinates of their plane.
    void writeCircleBody(const ZrGePoint3d& centre, double radius, const ZrGeVector3d& normal)
    {
        m_tags.point(10, inPlane(centre, normal));
        m_tags.real(40, radius);
        m_tags.vector(210, normal);
    }

    void writeCircle(const ZrDbEntity& entity, Handle owner)
    {
        const auto& circle = static_cast<const ZrDbCircle&>(entity);
        entityHead("CIRCLE", entity, owner, "AcDbCircle");
        writeCircleBody(circle.center(), circle.radius(), circle.normal());
    }

    void writeArc(const ZrDbEntity& entity, Handle owner)
    {
        const auto& arc = static_cast<const ZrDbArc&>(entity);
        entityHead("ARC", entity, owner, "AcDbCircle");
        writeCircleBody(arc.center(), arc.radius(), arc.normal());
        m_tags.tag(100, "AcDbArc");
        m_tags.real(50, degrees(arc.startAngle()));
        m_tags.real(51, degrees(std::fmod(arc.endAngle(), 2.0 * kPi)));
    }

    void writeEllipse(const ZrDbEntity& entity, Handle owner)
    {
        const auto& ellipse = static_cast<const ZrDbEllipse&>(entity);
        entityHead("ELLIPSE", entity, owner, "AcDbEllipse");
        m_tags.point(10, ellipse.center());
        m_tags.vector(11, ellipse.majorAxis());
        m_tags.vector(210, ellipse.normal());
        m_tags.real(40, ellipse.radiusRatio());
        m_tags.real(41, ellipse.startParam());
        m_tags.real(42, ellipse.endParam());
    }

    void writeSpline(const ZrDbEntity& entity, Handle owner)
    {
        const auto& spline = static_cast<const ZrDbSpline&>(entity);
        int degree = 0;
        bool rational = false, closed = false, periodic = false;
        ZrGePoint3dArray controlPoints;
        ZrGeKnotVector knots;
        ZrGeDoubleArray weights;
        if (spline.getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights) != Nimb::eOk)
            return;
        entityHead("SPLINE", entity, owner, "AcDbSpline");
        // Closed (1) and periodic (2) go together in the format; rational is 4.
        m_tags.integer(70, (periodic ? 3 : 0) | (rational ? 4 : 0));
        m_tags.integer(71, degree);
        m_tags.integer(72, knots.length());
        m_tags.integer(73, controlPoints.length());
        m_tags.integer(74, 0);
        m_tags.real(42, 1e-10);
        m_tags.real(43, 1e-10);
        for (int i = 0; i < knots.length(); ++i)
            m_tags.real(40, knots[i]);
        if (rational)
            for (double weight : weights)
                m_tags.real(41, weight);
        for (const ZrGePoint3d& p : controlPoints)
            m_tags.point(10, p);
    }

    void writeSolid(const ZrDbEntity& entity, Handle owner)
    {
        writeBody(entity, owner, static_cast<const ZrDb3dSolid&>(entity).modelerGeometry());
    }

    void writeSurface(const ZrDbEntity& entity, Handle owner)
    {
        writeBody(entity, owner, static_cast<const ZrDbSurface&>(entity).modelerGeometry());
    }

    // A body as polyface meshes of its tessellation: one when it fits the
    // format's counts, the first under the entity's own handle.
    void writeBody(const ZrDbEntity& entity, Handle owner, const ZrModelerGeometry* body)
    {
        if (!body || body->isNull())
            return;
        ZrModelerMesh mesh;
        // A body that tessellates only in part is written with the faces that did.
        body->tessellate(ZrModelerMeshParams(), mesh);
        const ZrDbBodyMesh joined = zrdbJoinBodyMesh(mesh);
        const MeshColours colours = meshColours(mesh, joined, entity.entityColor());
        Handle handle = entity.objectId().handle();
        for (std::size_t first = 0; first < joined.triangles.size(); handle = newHandle())
            first = writePolyface(joined, first, colours, handle, owner);
    }

    // Writes the triangles from first on that fit one mesh; returns the
    // first triangle left for the next.
    std::size_t writePolyface(const ZrDbBodyMesh& joined, std::size_t first, const MeshColours& colours,
                              Handle handle, Handle owner)
    {
        std::unordered_map<int, int> numberOf; // shared point -> 1-based vertex number
        std::vector<int> vertices;
        std::size_t end = first;
        for (; end < joined.triangles.size() && end - first < m_maxMeshCount; ++end) {
            const int* corners = joined.triangles[end].corners;
            std::size_t fresh = 0;
            for (int k = 0; k < 3; ++k)
                fresh += numberOf.count(corners[k]) ? 0 : 1;
            if (vertices.size() + fresh > m_maxMeshCount)
                break;
            for (int k = 0; k < 3; ++k)
                if (numberOf.emplace(corners[k], static_cast<int>(vertices.size()) + 1).second)
                    vertices.push_back(corners[k]);
        }
        entityHead("POLYLINE", handle, owner, &colours.mesh, "AcDbPolyFaceMesh");
        m_tags.integer(66, 1);
        m_tags.point(10, ZrGePoint3d::kOrigin);
        m_tags.integer(70, 64);
        m_tags.integer(71, static_cast<long long>(vertices.size()));
        m_tags.integer(72, static_cast<long long>(end - first));
        for (int point : vertices) {
            entityHead("VERTEX", newHandle(), handle, nullptr, "AcDbVertex");
            m_tags.tag(100, "AcDbPolyFaceMeshVertex");
            m_tags.point(10, joined.points[static_cast<std::size_t>(point)]);
            m_tags.integer(70, 192);
        }
        for (std::size_t t = first; t < end; ++t) {
            const ZrDbBodyMesh::Triangle& triangle = joined.triangles[t];
            const ZrCmEntityColor& shown = colours.shown[static_cast<std::size_t>(triangle.face)];
            entityHead("VERTEX", newHandle(), handle, colours.perFace ? &shown : nullptr, "AcDbFaceRecord");
            m_tags.point(10, ZrGePoint3d::kOrigin);
            m_tags.integer(70, 128);
            // A negative number starts an invisible edge: a side inside the face.
            for (int k = 0; k < 3; ++k)
                m_tags.integer(71 + k, numberOf[triangle.corners[k]] * (triangle.onBoundary[k] ? 1 : -1));
        }
        entityHead("SEQEND", newHandle(), handle, nullptr, nullptr);
        return end;
    }

    ZrDbDatabase* m_db;
    TagWriter m_tags;
    Handle m_next;
    std::size_t m_maxMeshCount;
    FixedHandles m_fixed{};
    ZrDbExtents m_extents;
    std::vector<BlockEntry> m_blocks;
    std::map<ZrDbObjectId, ZrString> m_blockNames;
    bool m_inPaperSpace = false;
};

} // namespace

Nimb::ErrorStatus zrdbWriteDxfDrawing(ZrDbDatabase* db, std::ostream& out, std::string& error, std::size_t maxMeshCount)
{
    if (!db) {
        error = Nimb::errorStatusText(Nimb::eNullObjectPointer);
        return Nimb::eNullObjectPointer;
    }
    for (ZrDbObjectId id : db->openObjects())
        if (id.stub()->object->isWriteEnabled()) {
            error = "the drawing has objects open for write";
            return Nimb::eWasOpenForWrite;
        }
    std::ostringstream header, sections;
    try {
        DrawingWriter writer(db, sections, maxMeshCount);
        writer.writeSections();
        writer.writeHeader(header);
    } catch (const Unwritable& unwritable) {
        error = unwritable.reason;
        return Nimb::eInvalidInput;
    }
    out << header.str() << sections.str();
    return out ? Nimb::eOk : Nimb::eInvalidInput;
}

Nimb::ErrorStatus zrdbWriteDxf(ZrDbDatabase* db, std::ostream& out)
{
    std::string error;
    return zrdbWriteDxfDrawing(db, out, error, kMaxDxfMeshCount);
}

Nimb::ErrorStatus zrdbSaveAsDxf(ZrDbDatabase* db, const std::string& path, std::string& error)
{
    std::ostringstream text;
    const Nimb::ErrorStatus status = zrdbWriteDxfDrawing(db, text, error, kMaxDxfMeshCount);
    if (status != Nimb::eOk)
        return status;
    std::ofstream file(path, std::ios::binary);
    file << text.str();
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return Nimb::eInvalidInput;
    }
    return Nimb::eOk;
}
