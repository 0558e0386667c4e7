// IGES: what the kernel's transfer leaves out of the document, set right
// after it from the kernel's model of the file.
#include <optional>
#include <vector>

#include <IGESBasic_SubfigureDef.hxx>
#include <IGESCAFControl.hxx>
#include <IGESCAFControl_Reader.hxx>
#include <IGESData_IGESEntity.hxx>
#include <IGESData_IGESModel.hxx>
#include <IGESGeom_CompositeCurve.hxx>
#include <IGESGraph_Color.hxx>
#include <Quantity_Color.hxx>
#include <TCollection_AsciiString.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TDataStd_Name.hxx>
#include <TopExp_Explorer.hxx>
#include <Transfer_TransientProcess.hxx>
#include <TransferBRep.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <XSControl_TransferReader.hxx>
#include <XSControl_WorkSession.hxx>

#include "reading/AnsiText.h"
#include "reading/ExchangeHooks.h"

namespace {

// The colour an entity gives itself, as the kernel's reader decodes it.
std::optional<Quantity_Color> ownColour(const Handle(IGESData_IGESEntity)& entity)
{
    if (entity->DefColor() == IGESData_DefValue)
        return IGESCAFControl::DecodeColor(entity->RankColor());
    if (entity->DefColor() == IGESData_DefReference) {
        const Handle(IGESGraph_Color) colour = Handle(IGESGraph_Color)::DownCast(entity->Color());
        if (colour.IsNull())
            return std::nullopt;
        Standard_Real r = 0, g = 0, b = 0;
        colour->RGBIntensity(r, g, b);
        const auto clamp = [](Standard_Real v) { return v < 0 ? 0.0 : v > 100 ? 1.0 : 0.01 * v; };
        return Quantity_Color(clamp(r), clamp(g), clamp(b), Quantity_TOC_sRGB);
    }
    return std::nullopt;
}

std::string trimmed(const Handle(TCollection_HAsciiString)& text)
{
    TCollection_AsciiString copy = text->String();
    copy.LeftAdjust();
    copy.RightAdjust();
    return copy.ToCString();
}

struct Transferred {
    Handle(IGESData_IGESEntity) entity;
    TopoDS_Shape shape;
};

// Every entity of the model with the shape the transfer made of it.
std::vector<Transferred> transferredEntities(IGESCAFControl_Reader& exchange)
{
    std::vector<Transferred> found;
    const Handle(XSControl_WorkSession)& session = exchange.WS();
    const Handle(IGESData_IGESModel) model = Handle(IGESData_IGESModel)::DownCast(session->Model());
    if (model.IsNull() || session->TransferReader().IsNull())
        return found;
    const Handle(Transfer_TransientProcess)& process = session->TransferReader()->TransientProcess();
    if (process.IsNull())
        return found;
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
        const Handle(IGESData_IGESEntity) entity = Handle(IGESData_IGESEntity)::DownCast(model->Value(i));
        if (entity.IsNull())
            continue;
        const Handle(Transfer_Binder) binder = process->Find(entity);
        if (binder.IsNull())
            continue;
        const TopoDS_Shape shape = TransferBRep::ShapeResult(binder);
        if (!shape.IsNull())
            found.push_back({entity, shape});
    }
    return found;
}

bool hasHighBytes(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// Names: the kernel decodes them as UTF-8, garbling any other bytes, and
// subfigure names byte by byte. When any name is not ASCII, every name is
// decoded again from its bytes (UTF-8 when it is UTF-8, else in the ANSI
// code page) and set on the label the kernel gave it to, in the kernel's
// order, so that the last one set wins as it did.
void decodeNames(IGESCAFControl_Reader& exchange, const Handle(XCAFDoc_ShapeTool)& shapes,
                 const std::vector<Transferred>& entities)
{
    const Resource_FormatType format = ansiFormat();
    if (!exchange.GetNameMode())
        return;
    bool foreign = false;
    for (const Transferred& t : entities) {
        if (t.entity->HasName() && !t.entity->NameValue().IsNull())
            foreign = foreign || hasHighBytes(trimmed(t.entity->NameValue()));
        const Handle(IGESBasic_SubfigureDef) subfigure = Handle(IGESBasic_SubfigureDef)::DownCast(t.entity);
        if (!subfigure.IsNull() && !subfigure->Name().IsNull())
            foreign = foreign || hasHighBytes(trimmed(subfigure->Name()));
    }
    if (!foreign)
        return;
    for (const Transferred& t : entities) {
        TDF_Label label;
        const bool coloured = exchange.GetColorMode() && ownColour(t.entity).has_value();
        if (t.entity->HasName() && !t.entity->NameValue().IsNull() &&
            shapes->SearchUsingMap(t.shape, label, false, coloured))
            TDataStd_Name::Set(label, textOfBytes(trimmed(t.entity->NameValue()), format));
        const Handle(IGESBasic_SubfigureDef) subfigure = Handle(IGESBasic_SubfigureDef)::DownCast(t.entity);
        if (!subfigure.IsNull() && !subfigure->Name().IsNull() && shapes->Search(t.shape, label, true, true))
            TDataStd_Name::Set(label, textOfBytes(trimmed(subfigure->Name()), format));
    }
}

// Composite curves: the kernel's writer gives the colour to the curves of a
// composite curve, not to the composite curve, and the kernel's reader
// keeps colours only of what it transfers on its own (a composite curve
// reads as one wire). A wire without a colour of its own takes its curves':
// their common colour as its own, or, curve by curve, each edge its curve's
// colour when the wire has one edge per curve.
void takeCurveColours(const Handle(XCAFDoc_ShapeTool)& shapes, const Handle(XCAFDoc_ColorTool)& colours,
                      const std::vector<Transferred>& entities)
{
    for (const Transferred& t : entities) {
        const Handle(IGESGeom_CompositeCurve) composite = Handle(IGESGeom_CompositeCurve)::DownCast(t.entity);
        if (composite.IsNull() || ownColour(composite) || t.shape.ShapeType() != TopAbs_WIRE)
            continue;
        TDF_Label label;
        if (!shapes->SearchUsingMap(t.shape, label, false, false) || colours->IsSet(label, XCAFDoc_ColorGen) ||
            colours->IsSet(label, XCAFDoc_ColorCurv))
            continue;
        std::vector<std::optional<Quantity_Color>> curveColours;
        bool common = true;
        for (Standard_Integer i = 1; i <= composite->NbCurves(); ++i) {
            curveColours.push_back(ownColour(composite->Curve(i)));
            common = common && curveColours.back() && curveColours.front() &&
                     curveColours.back()->IsEqual(*curveColours.front());
        }
        if (curveColours.empty())
            continue;
        if (common) {
            colours->SetColor(label, *curveColours.front(), XCAFDoc_ColorGen);
            continue;
        }
        std::vector<TopoDS_Shape> edges;
        for (TopExp_Explorer explorer(t.shape, TopAbs_EDGE); explorer.More(); explorer.Next())
            edges.push_back(explorer.Current());
        if (edges.size() != curveColours.size())
            continue;
        for (std::size_t i = 0; i < edges.size(); ++i)
            if (curveColours[i])
                colours->SetColor(edges[i], *curveColours[i], XCAFDoc_ColorCurv);
    }
}

} // namespace

IFSelect_ReturnStatus readExchangeFile(IGESCAFControl_Reader& exchange, const ZrString& path)
{
    return exchange.ReadFile(kernelPath(path).c_str());
}

void afterTransfer(IGESCAFControl_Reader& exchange, const Handle(TDocStd_Document)& document)
{
    const Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(document->Main());
    const std::vector<Transferred> entities = transferredEntities(exchange);
    decodeNames(exchange, shapes, entities);
    if (exchange.GetColorMode())
        takeCurveColours(shapes, XCAFDoc_DocumentTool::ColorTool(document->Main()), entities);
}
