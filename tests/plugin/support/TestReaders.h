#pragma once
// Readers for tests: real STEP and IGES reading, with a stand-in conversion
// that gives every work item one point entity and records who converted what.
#include <mutex>
#include <thread>
#include <vector>

#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <zrdb/ZrDbCurves.h>

#include "reading/ControlReader.h"

template <class Base>
class RecordingReader : public Base {
public:
    explicit RecordingReader(const std::string& path) : Base(ZrString(path.c_str(), ZrString::kUtf8)) {}

    // Stands in for the geometry conversion, which the geometry tests cover.
    void convertItem(bool* noSurfaces, std::size_t index) override
    {
        WorkItem& item = this->items[index];
        gp_Pnt at(0, 0, 0);
        TopExp_Explorer vertices(item.shape, TopAbs_VERTEX);
        if (vertices.More())
            at = BRep_Tool::Pnt(TopoDS::Vertex(vertices.Current())).Transformed(item.transformation);
        item.entities.push_back(std::make_unique<ZrDbPoint>(ZrGePoint3d(at.X(), at.Y(), at.Z())));
        std::lock_guard<std::mutex> guard(lock);
        converted.push_back(index);
        threads.push_back(std::this_thread::get_id());
        flags.push_back(*noSurfaces);
    }

    bool hasDocument() const { return !this->document.IsNull(); }
    const std::vector<WorkItem>& allItems() const { return this->items; }

    std::mutex lock;
    std::vector<std::size_t> converted;
    std::vector<std::thread::id> threads;
    std::vector<bool> flags;
};

using RecordingStepReader = RecordingReader<STEP_Reader>;
using RecordingIgesReader = RecordingReader<IGES_Reader>;
