#include "zrbr/ZrModelerGeometry.h"

#include <BRepBndLib.hxx>
#include <BRepCheck.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_ListOfStatus.hxx>
#include <BRepCheck_Result.hxx>
#include <BRepGProp.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <GeomLProp_SLProps.hxx>
#include <Poly_Triangulation.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>

#include <cctype>
#include <cmath>
#include <sstream>

#include "ModelerBody.h"

ZRRX_DEFINE_MEMBERS(ZrModelerGeometry, ZrRxObject, [] { return static_cast<ZrRxObject*>(new ZrModelerGeometry); })

ZrModelerGeometry::ZrModelerGeometry() : m_body(new Body) {}
ZrModelerGeometry::ZrModelerGeometry(std::unique_ptr<Body> body) : m_body(std::move(body)) {}
ZrModelerGeometry::~ZrModelerGeometry() = default;

BrepType ZrModelerGeometry::brepType() const { return m_body->type; }
bool ZrModelerGeometry::isNull() const { return m_body->faces.IsEmpty(); }

namespace {

// Volumes and areas are integrated until their relative error is below this.
constexpr double kRelativePrecision = 1e-7;

int count(const TopoDS_Shape& shape, TopAbs_ShapeEnum kind)
{
    if (shape.IsNull())
        return 0;
    TopTools_IndexedMapOfShape found;
    TopExp::MapShapes(shape, kind, found);
    return found.Extent();
}

ZrGeVector3d hostVector(const gp_Dir& direction) { return ZrGeVector3d(direction.X(), direction.Y(), direction.Z()); }

} // namespace

namespace {

// Findings of one kind printed at most; the rest are counted.
constexpr int kFindingsPerKind = 4;

// "BRepCheck_InvalidCurveOnSurface" -> "invalid curve on surface".
std::string statusText(BRepCheck_Status status)
{
    std::ostringstream printed;
    BRepCheck::Print(status, printed);
    std::string name = printed.str();
    const std::string prefix = "BRepCheck_";
    if (name.rfind(prefix, 0) == 0)
        name = name.substr(prefix.size());
    std::string text;
    for (char c : name) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (std::isupper(static_cast<unsigned char>(c)) && !text.empty())
            text += ' ';
        text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

void addStatuses(const BRepCheck_ListOfStatus& statuses, const std::string& where, std::vector<std::string>& found)
{
    for (BRepCheck_ListIteratorOfListOfStatus it(statuses); it.More(); it.Next())
        if (it.Value() != BRepCheck_NoError)
            found.push_back(where + ": " + statusText(it.Value()));
}

// What the kernel's check finds, by sub-shape: "face 3: ..." (1-based, in
// the order the body's explorer meets them).
std::vector<std::string> kernelFindings(const TopoDS_Shape& shape)
{
    std::vector<std::string> lines;
    const BRepCheck_Analyzer analyzer(shape);
    if (analyzer.IsValid())
        return lines;
    const std::pair<TopAbs_ShapeEnum, const char*> kinds[] = {{TopAbs_SOLID, "solid"}, {TopAbs_SHELL, "shell"},
                                                              {TopAbs_FACE, "face"},   {TopAbs_WIRE, "wire"},
                                                              {TopAbs_EDGE, "edge"},   {TopAbs_VERTEX, "vertex"}};
    for (const auto& kind : kinds) {
        TopTools_IndexedMapOfShape parts;
        TopExp::MapShapes(shape, kind.first, parts);
        std::vector<std::string> found;
        for (int i = 1; i <= parts.Extent(); ++i) {
            const Handle(BRepCheck_Result)& result = analyzer.Result(parts(i));
            if (result.IsNull())
                continue;
            const std::string where = std::string(kind.second) + " " + std::to_string(i);
            addStatuses(result->Status(), where, found);
            for (result->InitContextIterator(); result->MoreShapeInContext(); result->NextShapeInContext())
                addStatuses(result->StatusOnShape(), where, found);
        }
        for (std::size_t i = 0; i < found.size() && i < kFindingsPerKind; ++i)
            lines.push_back(found[i]);
        if (found.size() > kFindingsPerKind)
            lines.push_back("... " + std::to_string(found.size() - kFindingsPerKind) + " more of " + kind.second +
                            "s");
    }
    if (lines.empty())
        lines.push_back("the kernel's check fails");
    return lines;
}

} // namespace

namespace {

// "the faces of complex N point inward" for each solid whose largest shell
// encloses a negative volume.
void addInwardSolids(const std::vector<ZrModelerGeometry::Body::SolidToFaceOut>& solids,
                     std::vector<std::string>& lines)
{
    for (const auto& entry : solids) {
        double outer = 0.0;
        for (TopoDS_Iterator shells(entry.solid); shells.More(); shells.Next()) {
            try {
                GProp_GProps properties;
                BRepGProp::VolumeProperties(shells.Value(), properties);
                if (std::fabs(properties.Mass()) > std::fabs(outer))
                    outer = properties.Mass();
            } catch (const Standard_Failure&) {
            }
        }
        if (outer < 0.0)
            lines.push_back("the faces of complex " + std::to_string(entry.complex) + " point inward");
    }
}

} // namespace

bool ZrModelerGeometry::isValid() const
{
    std::lock_guard<std::mutex> guard(m_body->lock);
    if (m_body->validity < 0) {
        std::vector<std::string> lines = m_body->problems;
        try {
            addInwardSolids(m_body->solidsToFaceOut, lines);
            if (m_body->shape.IsNull())
                lines.push_back("the body has no faces");
            else
                for (std::string& line : kernelFindings(m_body->shape))
                    lines.push_back(std::move(line));
        } catch (const Standard_Failure& failure) {
            lines.push_back(std::string("the check failed: ") + failure.GetMessageString());
        }
        m_body->validity = lines.empty() ? 1 : 0;
        for (const std::string& line : lines)
            m_body->report += line + '\n';
    }
    return m_body->validity == 1;
}

std::string ZrModelerGeometry::validityReport() const
{
    isValid();
    std::lock_guard<std::mutex> guard(m_body->lock);
    return m_body->report;
}

bool ZrModelerGeometry::isClosed() const
{
    if (isNull())
        return false;
    for (TopExp_Explorer shells(m_body->shape, TopAbs_SHELL); shells.More(); shells.Next())
        if (!BRep_Tool::IsClosed(shells.Current()))
            return false;
    return true;
}

int ZrModelerGeometry::numSolids() const { return count(m_body->shape, TopAbs_SOLID); }
int ZrModelerGeometry::numShells() const { return count(m_body->shape, TopAbs_SHELL); }
int ZrModelerGeometry::numFaces() const { return m_body->faces.Extent(); }
int ZrModelerGeometry::numEdges() const { return count(m_body->shape, TopAbs_EDGE); }
int ZrModelerGeometry::numVertices() const { return count(m_body->shape, TopAbs_VERTEX); }

bool ZrModelerGeometry::faceColor(int face, std::uint32_t& colour) const
{
    if (face < 0 || face >= numFaces() || !m_body->hasColour[face])
        return false;
    colour = m_body->colours[face];
    return true;
}

double ZrModelerGeometry::volume() const
{
    double total = 0.0;
    for (TopExp_Explorer solids(m_body->shape, TopAbs_SOLID); solids.More(); solids.Next()) {
        GProp_GProps properties;
        BRepGProp::VolumeProperties(solids.Current(), properties, kRelativePrecision);
        total += properties.Mass();
    }
    return total;
}

double ZrModelerGeometry::area() const
{
    if (isNull())
        return 0.0;
    GProp_GProps properties;
    BRepGProp::SurfaceProperties(m_body->shape, properties, kRelativePrecision);
    return properties.Mass();
}

bool ZrModelerGeometry::getCentroid(ZrGePoint3d& centroid) const
{
    if (isNull())
        return false;
    GProp_GProps properties;
    if (numSolids() > 0) {
        for (TopExp_Explorer solids(m_body->shape, TopAbs_SOLID); solids.More(); solids.Next()) {
            GProp_GProps solid;
            BRepGProp::VolumeProperties(solids.Current(), solid, kRelativePrecision);
            properties.Add(solid);
        }
    } else {
        BRepGProp::SurfaceProperties(m_body->shape, properties, kRelativePrecision);
    }
    if (!(std::fabs(properties.Mass()) > 0.0))
        return false;
    const gp_Pnt centre = properties.CentreOfMass();
    centroid = ZrGePoint3d(centre.X(), centre.Y(), centre.Z());
    return true;
}

bool ZrModelerGeometry::getExtents(ZrGePoint3d& minPoint, ZrGePoint3d& maxPoint) const
{
    if (isNull())
        return false;
    // The quick box: exact for planes and elementary surfaces, bounded by the
    // control points of spline faces. The tight one costs as much as a whole
    // import of a large body, and views and files only need a box.
    Bnd_Box box;
    try {
        BRepBndLib::Add(m_body->shape, box, false);
    } catch (const Standard_Failure&) {
        box.SetVoid();
    }
    if (box.IsVoid())
        return false;
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    minPoint = ZrGePoint3d(x0, y0, z0);
    maxPoint = ZrGePoint3d(x1, y1, z1);
    return true;
}

namespace {

// The face's outward normal at a node, from the surface where it has one.
bool surfaceNormal(const TopoDS_Face& face, const gp_Pnt2d& uv, gp_Dir& normal)
{
    TopLoc_Location location;
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
    GeomLProp_SLProps properties(surface, uv.X(), uv.Y(), 1, 1e-9);
    if (!properties.IsNormalDefined())
        return false;
    normal = properties.Normal().Transformed(location.Transformation());
    if (face.Orientation() == TopAbs_REVERSED)
        normal.Reverse();
    return true;
}

// Appends the face's triangles; false when it has none.
bool appendFace(const TopoDS_Face& face, ZrModelerMesh& mesh)
{
    TopLoc_Location location;
    const Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(face, location);
    if (triangulation.IsNull())
        return false;
    const gp_Trsf placement = location.Transformation();
    const int base = mesh.points.length();
    for (int i = 1; i <= triangulation->NbNodes(); ++i) {
        const gp_Pnt point = triangulation->Node(i).Transformed(placement);
        mesh.points.append(ZrGePoint3d(point.X(), point.Y(), point.Z()));
        gp_Dir normal(0, 0, 1);
        const bool known = triangulation->HasUVNodes() && surfaceNormal(face, triangulation->UVNode(i), normal);
        mesh.normals.append(known ? hostVector(normal) : ZrGeVector3d());
    }
    const bool flip = face.Orientation() == TopAbs_REVERSED;
    for (int i = 1; i <= triangulation->NbTriangles(); ++i) {
        int a = 0, b = 0, c = 0;
        triangulation->Triangle(i).Get(a, b, c);
        if (flip)
            std::swap(b, c);
        mesh.triangles.append(base + a - 1);
        mesh.triangles.append(base + b - 1);
        mesh.triangles.append(base + c - 1);
        // Nodes where the surface has no normal (a pole, an apex) take the
        // normal of a triangle that uses them.
        const ZrGePoint3d& pa = mesh.points[base + a - 1];
        const ZrGeVector3d facet = (mesh.points[base + b - 1] - pa).crossProduct(mesh.points[base + c - 1] - pa);
        for (int node : {a, b, c})
            if (mesh.normals[base + node - 1].isZeroLength() && !facet.isZeroLength())
                mesh.normals[base + node - 1] = facet.normal();
    }
    return true;
}

} // namespace

Nimb::ErrorStatus ZrModelerGeometry::tessellate(const ZrModelerMeshParams& params, ZrModelerMesh& mesh) const
{
    mesh = ZrModelerMesh();
    if (params.chordTolerance < 0.0 || params.angleTolerance < 0.0)
        return Nimb::eInvalidInput;
    if (isNull())
        return Nimb::eOk;
    double chord = params.chordTolerance;
    if (chord == 0.0) {
        ZrGePoint3d low, high;
        chord = getExtents(low, high) ? low.distanceTo(high) * 1e-3 : 1e-3;
        if (!(chord > 0.0))
            chord = 1e-3;
    }
    bool complete = true;
    // The triangulation is kept in the body's faces: one tessellation at a time.
    std::lock_guard<std::mutex> guard(m_body->lock);
    try {
        OCC_CATCH_SIGNALS
        BRepMesh_IncrementalMesh(m_body->shape, chord, false, params.angleTolerance > 0.0 ? params.angleTolerance : 0.5,
                                 false);
    } catch (const Standard_Failure&) {
        complete = false;
    }
    for (int i = 1; i <= m_body->faces.Extent(); ++i) {
        ZrModelerMesh::Face entry;
        entry.firstTriangle = mesh.numTriangles();
        // The map holds each face as the body first uses it, orientation included.
        if (!appendFace(TopoDS::Face(m_body->faces(i)), mesh))
            complete = false;
        entry.numTriangles = mesh.numTriangles() - entry.firstTriangle;
        entry.hasColor = m_body->hasColour[i - 1];
        entry.color = m_body->colours[i - 1];
        mesh.faces.append(entry);
    }
    return complete ? Nimb::eOk : Nimb::eGeneralModelingFailure;
}
