#include "geometry/Wireframe.h"

#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>

#include <zrdb/ZrDbCurves.h>

#include <memory>

#include "geometry/CurveConversion.h"

namespace {

ZrGePoint3d worldPoint(const TopoDS_Vertex& vertex, const gp_Trsf& itemTrsf)
{
    const gp_Pnt point = BRep_Tool::Pnt(vertex).Transformed(itemTrsf);
    return ZrGePoint3d(point.X(), point.Y(), point.Z());
}

// The entity kind for a host curve, default-made; null for kinds without one.
std::unique_ptr<ZrDbCurve> entityFor(const ZrGeCurve3d& curve)
{
    switch (curve.type()) {
    case ZrGe::kCircArc3d:
        if (curve.isClosed(ZrGeContext::gTol))
            return std::make_unique<ZrDbCircle>();
        return std::make_unique<ZrDbArc>();
    case ZrGe::kEllipArc3d: return std::make_unique<ZrDbEllipse>();
    case ZrGe::kLineSeg3d: return std::make_unique<ZrDbLine>();
    case ZrGe::kNurbCurve3d: return std::make_unique<ZrDbSpline>();
    default: return nullptr;
    }
}

std::unique_ptr<ZrGeCurve3d> edgeCurve(const TopoDS_Edge& edge, const gp_Trsf& itemTrsf)
{
    const TopoDS_Vertex first = TopExp::FirstVertex(edge, false);
    const TopoDS_Vertex last = TopExp::LastVertex(edge, false);
    if (first.IsNull() || last.IsNull())
        return nullptr;
    EdgeCurve edgeCurve = edgeCurveOf(edge, itemTrsf);
    return convertEdgeCurve(edge, std::move(edgeCurve.curve), worldPoint(first, itemTrsf), worldPoint(last, itemTrsf),
                            edgeCurve.placement);
}

} // namespace

void convertFreeEdges(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
                      const ShapeColour& shapeColour, EntityList& entities)
{
    // STEP files give a shape of curves its colour as a curve colour, which
    // the shape's general colour does not find.
    ShapeColour curvesColour = shapeColour;
    if (!curvesColour.hasColour)
        colourOf(curvesColour, context.colourTool, shapeColour, shape, XCAFDoc_ColorCurv);
    for (TopExp_Explorer edges(shape, TopAbs_EDGE); edges.More(); edges.Next()) {
        const TopoDS_Edge& edge = TopoDS::Edge(edges.Current());
        const std::unique_ptr<ZrGeCurve3d> curve = edgeCurve(edge, itemTrsf);
        if (!curve)
            continue;
        ShapeColour edgeColour;
        colourOf(edgeColour, context.colourTool, curvesColour, edge, XCAFDoc_ColorCurv);
        std::unique_ptr<ZrDbCurve> entity = entityFor(*curve);
        if (!entity || entity->setFromGeCurve(*curve, nullptr, ZrGeContext::gTol) != Nimb::eOk)
            continue;
        if (edgeColour.hasColour) {
            // The colour as found: red, green and blue, or the index a white
            // colour became.
            ZrCmColor colour;
            colour.setEntityColor(edgeColour.colour);
            entity->setColor(colour, true);
        }
        entities.push_back(std::move(entity));
    }
}

void convertFreeVertices(const TopoDS_Shape& shape, const gp_Trsf& itemTrsf, EntityList& entities)
{
    for (TopExp_Explorer vertices(shape, TopAbs_VERTEX); vertices.More(); vertices.Next()) {
        entities.push_back(std::make_unique<ZrDbPoint>(worldPoint(TopoDS::Vertex(vertices.Current()), itemTrsf)));
    }
}
