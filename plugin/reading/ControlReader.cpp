#include "ControlReader.h"

#include <XCAFDoc_DocumentTool.hxx>

#include <zrbase/ZrRxThreadPoolService.h>

ControlReader::ControlReader(const ZrString& filePath) : path(filePath) {}

ControlReader::~ControlReader() { zrrxRelease(threadPool); }

std::vector<ShapeNode> ControlReader::rootNodes() { return roots; }

void ControlReader::itemEntities(std::size_t index, EntityList& list)
{
    EntityList& own = items[index].entities;
    for (std::unique_ptr<ZrDbEntity>& entity : own)
        list.push_back(std::move(entity));
    own.clear();
}

bool ControlReader::isReadOk(IFSelect_ReturnStatus status) { return status == IFSelect_RetDone; }

bool ControlReader::hasSurfaces() { return surfacesSeen; }

void ControlReader::addItem(const TopoDS_Shape& shape, const gp_Trsf& transformation)
{
    items.emplace_back(shape, transformation);
}

std::size_t ControlReader::countItems()
{
    itemCount = items.size();
    return itemCount;
}

void ControlReader::walkTransferredDocument()
{
    shapeTool = XCAFDoc_DocumentTool::ShapeTool(document->Main());
    TDF_LabelSequence freeShapes;
    shapeTool->GetFreeShapes(freeShapes);
    for (const TDF_Label& label : freeShapes) {
        ShapeNode node;
        node.name = labelName(label, nameCounter);
        buildTree(label, gp_Trsf(), node);
        roots.push_back(std::move(node));
    }
}
