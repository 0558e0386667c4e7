#include "FileContents.h"
#include "QuietKernel.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include <IGESCAFControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <OSD.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <TDF_LabelSequence.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Iterator.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

namespace {

std::string lowerExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string counted(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A compound with nothing in it at any depth.
bool isEmptyCompound(const TopoDS_Shape& shape)
{
    if (shape.ShapeType() != TopAbs_COMPOUND)
        return false;
    for (TopoDS_Iterator it(shape); it.More(); it.Next())
        if (!isEmptyCompound(it.Value()))
            return false;
    return true;
}

std::string describeDocument(const Handle(TDocStd_Document)& document)
{
    const Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(document->Main());
    TDF_LabelSequence freeLabels;
    shapes->GetFreeShapes(freeLabels);
    if (freeLabels.IsEmpty())
        return "it holds no shape";
    TopTools_IndexedMapOfShape solids, shells, faces, wires, edges, vertices;
    int hollowAssemblies = 0, emptyCompounds = 0, nullShapes = 0;
    for (const TDF_Label& label : freeLabels) {
        const TopoDS_Shape shape = XCAFDoc_ShapeTool::GetShape(label);
        if (shape.IsNull()) {
            ++nullShapes;
            continue;
        }
        TopExp::MapShapes(shape, TopAbs_SOLID, solids);
        TopExp::MapShapes(shape, TopAbs_SHELL, shells);
        TopExp::MapShapes(shape, TopAbs_FACE, faces);
        TopExp::MapShapes(shape, TopAbs_WIRE, wires);
        TopExp::MapShapes(shape, TopAbs_EDGE, edges);
        TopExp::MapShapes(shape, TopAbs_VERTEX, vertices);
        if (isEmptyCompound(shape))
            ++(XCAFDoc_ShapeTool::IsAssembly(label) ? hollowAssemblies : emptyCompounds);
    }
    if (solids.IsEmpty() && shells.IsEmpty() && faces.IsEmpty() && edges.IsEmpty() && vertices.IsEmpty()) {
        std::vector<std::string> what;
        if (hollowAssemblies)
            what.push_back(counted(hollowAssemblies, "assembly without parts", "assemblies without parts"));
        if (emptyCompounds)
            what.push_back(counted(emptyCompounds, "empty compound", "empty compounds"));
        if (nullShapes)
            what.push_back(counted(nullShapes, "label without shape", "labels without shape"));
        std::string text = "it holds no geometry";
        for (std::size_t i = 0; i < what.size(); ++i)
            text += (i ? ", " : ": ") + what[i];
        return text;
    }
    int edgesWithoutVertices = 0;
    for (int i = 1; i <= edges.Extent(); ++i) {
        TopoDS_Vertex first, last;
        TopExp::Vertices(TopoDS::Edge(edges(i)), first, last);
        if (first.IsNull() || last.IsNull())
            ++edgesWithoutVertices;
    }
    std::vector<std::string> what;
    const auto add = [&](int count, const char* one, const char* many) {
        if (count)
            what.push_back(counted(count, one, many));
    };
    add(solids.Extent(), "solid", "solids");
    add(shells.Extent(), "shell", "shells");
    add(faces.Extent(), "face", "faces");
    add(wires.Extent(), "wire", "wires");
    add(edges.Extent(), "edge", "edges");
    add(vertices.Extent(), "vertex", "vertices");
    std::string text = "it holds";
    for (std::size_t i = 0; i < what.size(); ++i)
        text += (i ? ", " : " ") + what[i];
    if (edgesWithoutVertices == edges.Extent() && edgesWithoutVertices > 0)
        text += edgesWithoutVertices == 1 ? ", without vertices" : ", none with vertices";
    else if (edgesWithoutVertices > 0)
        text += " (" + counted(edgesWithoutVertices, "edge", "edges") + " without vertices)";
    return text;
}

template <class Reader>
std::string describeWith(Reader& reader, const std::string& path)
{
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return "the kernel cannot read it";
    Handle(TDocStd_Document) document = new TDocStd_Document("MDTV-XCAF");
    if (!reader.Transfer(document))
        return "the kernel reads it but transfers nothing";
    return describeDocument(document);
}

} // namespace

std::string describeFileContents(const std::string& path)
{
    QuietKernel quiet;
    try {
        OCC_CATCH_SIGNALS
        const std::string extension = lowerExtension(path);
        if (extension == ".step" || extension == ".stp" || extension == ".ste") {
            STEPCAFControl_Reader reader;
            reader.SetNameMode(true);
            reader.SetColorMode(true);
            return describeWith(reader, path);
        }
        if (extension == ".iges" || extension == ".igs") {
            IGESCAFControl_Reader reader;
            return describeWith(reader, path);
        }
        return "it is not a STEP or IGES file";
    } catch (const Standard_Failure& failure) {
        return std::string("the kernel fails on it: ") + failure.DynamicType()->Name();
    }
}
