#pragma once
// Readers: one STEP or IGES file read into an XCAF document, walked into
// assembly trees and work items, and the conversion of those items.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <IFSelect_ReturnStatus.hxx>
#include <TDF_Label.hxx>
#include <TDocStd_Document.hxx>
#include <TopoDS_Shape.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <gp_Trsf.hxx>

#include <zrbase/ZrRxObject.h>
#include <zrbase/ZrString.h>

#include "geometry/EntityList.h"

class ZrRxThreadPoolService;

// One shape to convert. Items move (their entities with them) but are not copied.
struct WorkItem {
    WorkItem(const TopoDS_Shape& itemShape, const gp_Trsf& itemTransformation)
        : shape(itemShape), transformation(itemTransformation)
    {
    }
    WorkItem(WorkItem&& other) noexcept
        : shape(other.shape), transformation(other.transformation), entities(std::move(other.entities))
    {
    }
    WorkItem& operator=(WorkItem&& other) noexcept
    {
        shape = other.shape;
        transformation = other.transformation;
        entities = std::move(other.entities);
        return *this;
    }

    TopoDS_Shape shape;         // with its own location
    gp_Trsf transformation;     // product of the assembly placements above the shape
    EntityList entities;        // filled only by convertItem; owned here until itemEntities moves them on
};

// One node of an assembly tree. A node has work items (isShape, no
// children), or children, or neither. Copies are deep.
struct ShapeNode {
    ZrString name;
    bool isShape = false;
    std::size_t firstItem = 0;
    std::size_t lastItem = 0; // one past the node's last item
    std::vector<ShapeNode> children;
};

class ControlReader : public ZrRxObject {
public:
    explicit ControlReader(const ZrString& path);
    ~ControlReader() override;
    ControlReader(const ControlReader&) = delete;
    ControlReader& operator=(const ControlReader&) = delete;

    // Reads the file; the number of work items, 0 when nothing will be converted.
    virtual std::size_t read() = 0;
    virtual void convertItem(bool* noSurfaces, std::size_t index);
    virtual std::vector<ShapeNode> rootNodes();
    // Moves the entities of item index, in order, to the end of list; the
    // item's own list is left empty (an entity has one owner).
    virtual void itemEntities(std::size_t index, EntityList& list);
    virtual bool isReadOk(IFSelect_ReturnStatus status);
    virtual void buildTree(const TDF_Label& label, const gp_Trsf& transformation, ShapeNode& node);
    virtual void collectItems(const TopoDS_Shape& shape, const gp_Trsf& transformation);
    virtual bool hasSurfaces();
    virtual ZrString labelName(const TDF_Label& label, int& counter);
    virtual void prepareWorkers();
    virtual void runWorkers();

    // The items, for the driver's clean-up and for tests.
    std::vector<WorkItem>& workItems() { return items; }
    std::size_t workerCountChosen() const { return workerCount; }

    // Steps of read: walks the free shapes of the transferred document into
    // roots, then notes the number of work items.
    void walkTransferredDocument();
    std::size_t countItems();

protected:
    std::vector<WorkItem> items;
    ZrString path;
    Handle(TDocStd_Document) document;
    Handle(XCAFDoc_ShapeTool) shapeTool;
    std::vector<ShapeNode> roots;
    bool surfacesSeen = false;
    std::int32_t nameCounter = 0;
    std::size_t itemCount = 0;
    std::size_t workerCount = 0;
    ZrRxThreadPoolService* threadPool = nullptr; // counted reference

private:
    void addItem(const TopoDS_Shape& shape, const gp_Trsf& transformation);
};

class STEP_Reader : public ControlReader {
public:
    explicit STEP_Reader(const ZrString& path) : ControlReader(path) {}
    ~STEP_Reader() override;
    std::size_t read() override;
};

class IGES_Reader : public ControlReader {
public:
    explicit IGES_Reader(const ZrString& path) : ControlReader(path) {}
    ~IGES_Reader() override;
    std::size_t read() override;
};
