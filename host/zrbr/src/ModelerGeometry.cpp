#include "zrbr/ZrModelerGeometry.h"

#include <BRepBndLib.hxx>
#include <BRepCheck_Analyzer.hxx>
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

#include <cmath>

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

bool ZrModelerGeometry::isValid() const
{
    std::lock_guard<std::mutex> guard(m_body->lock);
    if (m_body->validity < 0) {
        try {
            m_body->validity = !m_body->shape.IsNull() && BRepCheck_Analyzer(m_body->shape).IsValid() ? 1 : 0;
        } catch (const Standard_Failure&) {
            m_body->validity = 0;
        }
    }
    return m_body->validity == 1;
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

bool ZrModelerGeometry::getExtents(ZrGePoint3d& minPoint, ZrGePoint3d& maxPoint) const
{
    if (isNull())
        return false;
    Bnd_Box box;
    try {
        BRepBndLib::AddOptimal(m_body->shape, box, false, false);
    } catch (const Standard_Failure&) {
        box.SetVoid();
        BRepBndLib::Add(m_body->shape, box, false);
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
