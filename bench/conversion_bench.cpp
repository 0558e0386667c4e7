// Converting a generated model into host entities, one item after another
// and on the host's thread pool, as an import does. Prints figures.
//
//   conversion_bench [PARTS]
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <gp_Ax2.hxx>

#include <zrbase/ZrRxDictionary.h>
#include <zrbase/ZrRxThreadPoolService.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBody.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "geometry/BrepAssembly.h"

namespace {

struct Item {
    Item(const TopoDS_Shape& itemShape, const gp_Trsf& itemPlacement) : shape(itemShape), placement(itemPlacement) {}
    Item(Item&& other) noexcept : shape(other.shape), placement(other.placement), entities(std::move(other.entities)) {}

    TopoDS_Shape shape;
    gp_Trsf placement;
    EntityList entities;
};

// A plate with holes, a NURBS cylinder, a sphere and a torus per part; the
// shapes repeat, so items share kernel geometry as assembly instances do.
std::vector<Item> generatedModel(int parts)
{
    TopoDS_Shape plate = BRepPrimAPI_MakeBox(gp_Pnt(-30, -20, 0), 60, 40, 8).Shape();
    for (int i = 0; i < 4; ++i)
        plate = BRepAlgoAPI_Cut(plate, BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(-20 + 13.0 * i, 0, -1), gp::DZ()), 4, 10)
                                           .Shape())
                    .Shape();
    const TopoDS_Shape shapes[] = {
        plate,
        BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeCylinder(6, 20).Shape()).Shape(),
        BRepPrimAPI_MakeSphere(9).Shape(),
        BRepPrimAPI_MakeTorus(15, 3).Shape(),
    };
    std::vector<Item> items;
    for (int p = 0; p < parts; ++p)
        for (const TopoDS_Shape& shape : shapes) {
            gp_Trsf placement;
            placement.SetTranslation(gp_Vec(100.0 * p, 50.0 * static_cast<double>(items.size() % 4), 0));
            items.emplace_back(shape, placement);
        }
    return items;
}

void convertItem(Item& item)
{
    ConversionContext context;
    convertShape(context, item.shape, item.placement, true, item.entities);
}

// Claims items one at a time, as the import's workers do.
class ClaimingTask : public ZrRxTask {
public:
    explicit ClaimingTask(std::vector<Item>& items) : m_items(items) {}
    void run(ZrRxObject*) override
    {
        for (std::size_t i = m_next++; i < m_items.size(); i = m_next++)
            convertItem(m_items[i]);
    }

private:
    std::vector<Item>& m_items;
    std::atomic<std::size_t> m_next{0};
};

struct Tally {
    std::size_t entities = 0;
    long faces = 0;
};

Tally tallyAndFree(std::vector<Item>& items)
{
    Tally tally;
    for (Item& item : items) {
        for (const std::unique_ptr<ZrDbEntity>& entity : item.entities)
            if (auto* solid = ZrDb3dSolid::cast(entity.get()))
                tally.faces += solid->modelerGeometry() ? solid->modelerGeometry()->numFaces() : 0;
        tally.entities += item.entities.size();
        item.entities.clear();
    }
    return tally;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int parts = argc > 1 ? std::atoi(argv[1]) : 25;
    zrrxRegisterService(ZrDbModelerService::kServiceNumber, new ZrDbModelerService);
    std::vector<Item> items = generatedModel(parts);
    std::printf("model: %zu items (%d parts)\n", items.size(), parts);

    auto start = std::chrono::steady_clock::now();
    for (Item& item : items)
        convertItem(item);
    const double serial = secondsSince(start);
    const Tally serialTally = tallyAndFree(items);
    std::printf("serial: %.3f s, %zu entities, %ld faces, %.2f ms per item\n", serial, serialTally.entities,
                serialTally.faces, 1000.0 * serial / static_cast<double>(items.size()));

    ZrRxThreadPoolService pool;
    ZrRxTaskGroup* group = nullptr;
    pool.createTaskGroup(group, ZrRxThreadPoolService::kNormalPriority, pool.numThreads(),
                         ZrRxThreadPoolService::kPropagateExceptions);
    ClaimingTask task(items);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < pool.numThreads(); ++i)
        group->addTask(&task, nullptr);
    group->wait();
    const double pooled = secondsSince(start);
    zrrxRelease(group);
    const Tally pooledTally = tallyAndFree(items);
    std::printf("pool of %d threads: %.3f s, %zu entities, speed-up %.2f\n", pool.numThreads(), pooled,
                pooledTally.entities, serial / pooled);
    zrrxRegisterService(ZrDbModelerService::kServiceNumber, nullptr);
    return pooledTally.entities == serialTally.entities ? 0 : 1;
}
