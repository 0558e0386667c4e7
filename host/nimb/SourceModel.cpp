#include "SourceModel.h"
#include "QuietKernel.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SweptSurface.hxx>
#include <IGESCAFControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <OSD.hxx>
#include <Poly_Triangulation.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <ShapeCustom.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <TDF_LabelSequence.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include <algorithm>
#include <filesystem>
#include <cctype>

namespace {

constexpr double kRelativePrecision = 1e-7;

bool contains(const TopoDS_Shape& shape, TopAbs_ShapeEnum kind) { return TopExp_Explorer(shape, kind).More(); }

double diagonalOf(const TopoDS_Shape& shape)
{
    Bnd_Box box;
    BRepBndLib::Add(shape, box, false);
    return box.IsVoid() ? 0.0 : std::sqrt(box.SquareExtent());
}

// The kernel integrates swept and offset surfaces poorly (by several
// percent on extrusions of splines); their spline form is exact.
bool hasSweptFaces(const TopoDS_Shape& shape)
{
    for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next()) {
        Handle(Geom_Surface) surface = BRep_Tool::Surface(TopoDS::Face(faces.Current()));
        while (auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(surface))
            surface = trimmed->BasisSurface();
        if (surface->IsKind(STANDARD_TYPE(Geom_SweptSurface)) || surface->IsKind(STANDARD_TYPE(Geom_OffsetSurface)))
            return true;
    }
    return false;
}

TopoDS_Shape integrable(const TopoDS_Shape& shape)
{
    if (!hasSweptFaces(shape))
        return shape;
    try {
        const TopoDS_Shape converted = ShapeCustom::ConvertToBSpline(shape, true, true, true);
        if (!converted.IsNull())
            return converted;
    } catch (const Standard_Failure&) {
    }
    return shape;
}

MeshMeasure meshMeasureOf(const TopoDS_Shape& shape, double size, bool closed)
{
    MeshMeasure measure;
    const TopoDS_Shape copy = BRepBuilderAPI_Copy(shape).Shape();
    BRepMesh_IncrementalMesh(copy, std::max(size, 1e-9) * kMeshChordShare, false, kMeshAngle);
    for (TopExp_Explorer faces(copy, TopAbs_FACE); faces.More(); faces.Next()) {
        const TopoDS_Face& face = TopoDS::Face(faces.Current());
        TopLoc_Location location;
        const Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(face, location);
        if (triangulation.IsNull())
            continue;
        const gp_Trsf placement = location.Transformation();
        const auto point = [&](int node) {
            const gp_Pnt p = triangulation->Node(node).Transformed(placement);
            return ZrGePoint3d(p.X(), p.Y(), p.Z());
        };
        for (int i = 1; i <= triangulation->NbTriangles(); ++i) {
            int a = 0, b = 0, c = 0;
            triangulation->Triangle(i).Get(a, b, c);
            if (face.Orientation() == TopAbs_REVERSED)
                std::swap(b, c);
            measure.addTriangle(point(a), point(b), point(c));
        }
    }
    measure.finish(closed);
    return measure;
}

SourceBody measured(const TopoDS_Shape& original, bool closed)
{
    const TopoDS_Shape shape = integrable(original);
    SourceBody body;
    body.closed = closed;
    GProp_GProps surface;
    BRepGProp::SurfaceProperties(shape, surface, kRelativePrecision);
    body.area = surface.Mass();
    gp_Pnt centre = surface.CentreOfMass();
    if (closed) {
        GProp_GProps volume;
        BRepGProp::VolumeProperties(shape, volume, kRelativePrecision);
        body.volume = volume.Mass();
        centre = volume.CentreOfMass();
    }
    body.centroid = ZrGePoint3d(centre.X(), centre.Y(), centre.Z());
    body.size = diagonalOf(shape);
    const double size = body.size;
    body.measureMesh = [original, size, closed] { return meshMeasureOf(original, size, closed); };
    try {
        body.valid = BRepCheck_Analyzer(original).IsValid();
    } catch (const Standard_Failure&) {
        body.valid = false;
    }
    return body;
}

// The bodies an import makes of a shape: one per solid; the shells outside
// solids as one body (a solid when they close); loose faces as one sheet.
void collectBodies(const TopoDS_Shape& shape, std::vector<SourceBody>& bodies)
{
    switch (shape.ShapeType()) {
    case TopAbs_COMPOUND:
        if (contains(shape, TopAbs_FACE))
            for (TopoDS_Iterator it(shape); it.More(); it.Next())
                collectBodies(it.Value(), bodies);
        return;
    case TopAbs_COMPSOLID:
    case TopAbs_SOLID:
        for (TopExp_Explorer solids(shape, TopAbs_SOLID); solids.More(); solids.Next())
            bodies.push_back(measured(solids.Current(), true));
        return;
    case TopAbs_SHELL:
        // A closed shell on its own is a solid, whichever way its faces turn.
        bodies.push_back(measured(shape, BRep_Tool::IsClosed(shape)));
        if (bodies.back().closed && bodies.back().volume < 0.0)
            bodies.back() = measured(shape.Reversed(), true);
        return;
    case TopAbs_FACE:
        bodies.push_back(measured(shape, false));
        return;
    default:
        return;
    }
}

std::string lowerExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

template <class Reader>
bool transferInto(Reader& reader, const std::string& path, Handle(TDocStd_Document)& document)
{
    // A full path, as the import gives the kernel, so that parts in files of
    // their own are found from the file's folder.
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    if (reader.ReadFile((error ? path : full.string()).c_str()) != IFSelect_RetDone)
        return false;
    document = new TDocStd_Document("MDTV-XCAF");
    return reader.Transfer(document);
}

} // namespace

SourceModel readSourceModel(const std::string& path)
{
    SourceModel model;
    QuietKernel quiet;
    try {
        OCC_CATCH_SIGNALS
        Handle(TDocStd_Document) document;
        const std::string extension = lowerExtension(path);
        bool read = false;
        if (extension == ".step" || extension == ".stp" || extension == ".ste") {
            STEPCAFControl_Reader reader;
            read = transferInto(reader, path, document);
        } else if (extension == ".iges" || extension == ".igs") {
            IGESCAFControl_Reader reader;
            read = transferInto(reader, path, document);
        } else {
            model.failure = "not a STEP or IGES file";
            return model;
        }
        if (!read) {
            model.failure = "the kernel cannot read it";
            return model;
        }
        TDF_LabelSequence freeShapes;
        XCAFDoc_DocumentTool::ShapeTool(document->Main())->GetFreeShapes(freeShapes);
        for (int i = 1; i <= freeShapes.Length(); ++i)
            collectBodies(XCAFDoc_ShapeTool::GetShape(freeShapes.Value(i)), model.bodies);
    } catch (const Standard_Failure& failure) {
        model.failure = std::string("the kernel failed reading it: ") + failure.DynamicType()->Name();
        model.bodies.clear();
    }
    return model;
}
