#pragma once
// Converting kernel shapes the way a worker does, for the geometry tests:
// the host's modeler service, entity ownership and file round trips.
#include <memory>
#include <string>
#include <vector>

#include <TopoDS_Shape.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <gp_Trsf.hxx>

#include <zrbase/ZrRxDictionary.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBody.h>

#include "Fixtures.h"
#include "geometry/BrepAssembly.h"
#include "reading/ControlReader.h"

namespace support {

// The host's modeler service (number 4) for as long as it lives.
struct HostServices {
    HostServices() { zrrxRegisterService(ZrDbModelerService::kServiceNumber, new ZrDbModelerService); }
    ~HostServices() { zrrxRegisterService(ZrDbModelerService::kServiceNumber, nullptr); }
};

// Entities conversion made, deleted with the holder.
struct Converted {
    EntityList entities;
};

inline Converted convert(const TopoDS_Shape& shape, const gp_Trsf& trsf = gp_Trsf(), bool wantFreeGeometry = true,
                         const Handle(XCAFDoc_ColorTool)& colourTool = nullptr)
{
    ConversionContext context;
    context.colourTool = colourTool;
    Converted converted;
    convertShape(context, shape, trsf, wantFreeGeometry, converted.entities);
    return converted;
}

// The modeler geometry of a 3D solid or surface entity, or null.
inline const ZrModelerGeometry* bodyOf(ZrDbEntity* entity)
{
    if (auto* solid = ZrDb3dSolid::cast(entity))
        return solid->modelerGeometry();
    if (auto* surface = ZrDbSurface::cast(entity))
        return surface->modelerGeometry();
    return nullptr;
}
inline const ZrModelerGeometry* bodyOf(const std::unique_ptr<ZrDbEntity>& entity) { return bodyOf(entity.get()); }

// Writes model to a STEP or IGES file, reads it back and converts every work
// item; one entry per item, in item order.
inline std::vector<Converted> readBack(fixtures::Model& model, bool iges, const std::string& name = "part")
{
    static int counter = 0;
    const std::string path = fixtures::tempPath(name + std::to_string(++counter) + (iges ? ".igs" : ".stp"));
    std::unique_ptr<ControlReader> reader;
    if (iges) {
        model.writeIges(path);
        reader = std::make_unique<IGES_Reader>(ZrString(path.c_str(), ZrString::kUtf8));
    } else {
        model.writeStep(path);
        reader = std::make_unique<STEP_Reader>(ZrString(path.c_str(), ZrString::kUtf8));
    }
    std::vector<Converted> items;
    if (reader->read() == 0)
        return items;
    reader->prepareWorkers();
    reader->runWorkers();
    for (WorkItem& item : reader->workItems()) {
        items.emplace_back();
        items.back().entities.swap(item.entities);
    }
    return items;
}

inline std::vector<Converted> readItems(const TopoDS_Shape& shape, bool iges)
{
    fixtures::Model model;
    model.addPart(shape, "part");
    return readBack(model, iges);
}

} // namespace support
