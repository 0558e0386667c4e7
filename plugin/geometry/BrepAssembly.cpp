#include "geometry/BrepAssembly.h"

#include <BRepGProp.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <zrbase/ZrRxDictionary.h>
#include <zrbr/ZrBrepBuilderFiller.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBody.h>

#include <memory>

#include "assembly/Colours.h"
#include "geometry/SurfaceConversion.h"
#include "geometry/Wireframe.h"

namespace {

// Isolines the host draws across each face of an imported surface.
constexpr std::uint16_t kSurfaceIsolines = 2;

bool contains(const TopoDS_Shape& shape, TopAbs_ShapeEnum kind) { return TopExp_Explorer(shape, kind).More(); }

// A record and the context's look-up maps start empty together, so that
// every index the maps hold refers to this record.
void startRecord(BrepBuilderInitialData& record, ConversionContext& context)
{
    record.clear();
    context.edgeMap.clear();
    context.vertexMap.clear();
}

ShapeColour colourOfPart(ConversionContext& context, const ShapeColour& parent, const TopoDS_Shape& part)
{
    ShapeColour colour;
    colourOf(colour, context.colourTool, parent, part, XCAFDoc_ColorSurf);
    return colour;
}

void faceWalk(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
              const ShapeColour& parent, BrepBuilderInitialData& record, Shell& faces)
{
    for (TopExp_Explorer explorer(shape, TopAbs_FACE); explorer.More(); explorer.Next()) {
        const TopoDS_Face& face = TopoDS::Face(explorer.Current());
        if (face.IsNull())
            continue;
        TopLoc_Location location;
        const Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
        gp_Trsf faceTrsf = itemTrsf;
        if (!location.IsIdentity())
            faceTrsf.Multiply(location.Transformation());
        convertFace(context, face, surface, faceTrsf, itemTrsf, colourOfPart(context, parent, face), record, faces);
    }
}

// A closed shell on its own bounds a solid; files give some with their
// faces turned inward, which would make the solid inside out. Shells inside
// solids are as the solid has them (an inner shell faces into its void).
TopoDS_Shape facingOut(const TopoDS_Shape& shell)
{
    if (!BRep_Tool::IsClosed(shell))
        return shell;
    try {
        GProp_GProps properties;
        BRepGProp::VolumeProperties(shell, properties);
        return properties.Mass() < 0.0 ? shell.Reversed() : shell;
    } catch (const Standard_Failure&) {
        return shell;
    }
}

void shellWalk(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
               const ShapeColour& parent, BrepBuilderInitialData& record, Complex& shells, bool freeShells)
{
    for (TopExp_Explorer explorer(shape, TopAbs_SHELL); explorer.More(); explorer.Next()) {
        const TopoDS_Shape& shell = explorer.Current();
        if (shell.IsNull())
            continue;
        Shell faces;
        if (contains(shell, TopAbs_FACE))
            faceWalk(context, freeShells ? facingOut(shell) : shell, itemTrsf, colourOfPart(context, parent, shell),
                     record, faces);
        shells.append(std::move(faces));
    }
}

void solidWalk(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
               const ShapeColour& shapeColour, EntityList& entities)
{
    BrepBuilderInitialData record;
    for (TopExp_Explorer explorer(shape, TopAbs_SOLID); explorer.More(); explorer.Next()) {
        const TopoDS_Shape& solid = explorer.Current();
        if (solid.IsNull())
            continue;
        startRecord(record, context);
        Complex shells;
        if (contains(solid, TopAbs_SHELL))
            shellWalk(context, solid, itemTrsf, colourOfPart(context, shapeColour, solid), record, shells, false);
        if (shells.isEmpty())
            continue;
        record.complexes.append(std::move(shells));
        buildBody(record, kSolidBody, entities);
    }
}

// Holds one reference to modeler geometry.
struct GeometryReference {
    ZrModelerGeometry* geometry = nullptr;
    ~GeometryReference() { zrrxRelease(geometry); }
};

ZrDbModelerService* modelerService()
{
    return ZrDbModelerService::cast(zrrxGetService(ZrDbModelerService::kServiceNumber));
}

template <class Entity>
std::unique_ptr<Entity> createEntity()
{
    return std::unique_ptr<Entity>(Entity::cast(Entity::desc()->create()));
}

} // namespace

namespace {

// The body the host's builder makes of the record; none when it makes none.
void buildGeometry(const BrepBuilderInitialData& record, BrepType brepType, GeometryReference& held)
{
    ZrBrepBuilderFiller filler;
    ZrBrepBuilder builder;
    builder.set(new AcisBrepBuilderTD(brepType));
    builder.enableValidator(false);
    filler.initFrom(builder, record);
    const ZrRxObjectPtr result = builder.finish();
    if (!result)
        return;
    ZrRxObject* found = result->queryX(ZrModelerGeometry::desc());
    if (!found)
        throw ZrError_NotThatKindOfClass(result->isA(), ZrModelerGeometry::desc());
    held.geometry = ZrModelerGeometry::cast(found);
    zrrxAddRef(held.geometry);
}

} // namespace

void buildBody(const BrepBuilderInitialData& record, BrepType brepType, EntityList& entities)
{
    GeometryReference held;
    buildGeometry(record, brepType, held);
    // No body is no entity: an empty one would stand in the drawing for
    // nothing. Faces that make no solid may still make a surface.
    if (!held.geometry && brepType == kSolidBody) {
        buildGeometry(record, kSurfaceBody, held);
        brepType = kSurfaceBody;
    }
    if (!held.geometry)
        return;
    ZrDbModelerService* service = modelerService();
    if (brepType == kSolidBody) {
        std::unique_ptr<ZrDb3dSolid> solid = createEntity<ZrDb3dSolid>();
        if (service)
            service->attachToSolid(solid.get(), held.geometry);
        entities.push_back(std::move(solid));
        return;
    }
    std::unique_ptr<ZrDbSurface> surface = createEntity<ZrDbSurface>();
    if (service)
        service->attachToSurface(surface.get(), held.geometry);
    surface->setUIsolineDensity(kSurfaceIsolines);
    surface->setVIsolineDensity(kSurfaceIsolines);
    entities.push_back(std::move(surface));
}

void convertShape(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
                  bool wantFreeGeometry, EntityList& entities)
{
    ShapeColour shapeColour;
    colourOf(shapeColour, context.colourTool, ShapeColour(), shape, XCAFDoc_ColorGen);
    if (contains(shape, TopAbs_SOLID)) {
        solidWalk(context, shape, itemTrsf, shapeColour, entities);
        return;
    }
    BrepBuilderInitialData record;
    if (contains(shape, TopAbs_SHELL)) {
        startRecord(record, context);
        Complex shells;
        shellWalk(context, shape, itemTrsf, shapeColour, record, shells, true);
        if (!shells.isEmpty()) {
            record.complexes.append(std::move(shells));
            buildBody(record, kSolidBody, entities);
        }
        return;
    }
    if (contains(shape, TopAbs_FACE)) {
        startRecord(record, context);
        Shell faces;
        faceWalk(context, shape, itemTrsf, shapeColour, record, faces);
        if (!faces.isEmpty()) {
            Complex shells;
            shells.append(std::move(faces));
            record.complexes.append(std::move(shells));
            buildBody(record, kSurfaceBody, entities);
        }
        return;
    }
    if (!wantFreeGeometry)
        return;
    if (contains(shape, TopAbs_EDGE))
        convertFreeEdges(context, shape, itemTrsf, shapeColour, entities);
    else
        convertFreeVertices(shape, itemTrsf, entities);
}
