// Conversion of the work items, on the host's thread pool when it has
// workers to spare, otherwise on the calling thread.
#include <algorithm>
#include <mutex>

#include <Standard_ErrorHandler.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>

#include <zrbase/ZrMutex.h>
#include <zrbase/ZrRxDictionary.h>
#include <zrbase/ZrRxThreadPoolService.h>

#include "ControlReader.h"
#include "KernelScope.h"
#include "geometry/BrepAssembly.h"

namespace {

// Guards fetching the colour tool from the document; made on first use,
// kept while the module is loaded.
ZrMutex& documentLock()
{
    static ZrMutex lock;
    return lock;
}

// The document's colour tool, fetched under documentLock. A kernel fault
// becomes a kernel exception here, inside the locked block, so that the
// lock is released on that path too (the jump to the handler skips the
// destructors of the frames it crosses).
Handle(XCAFDoc_ColorTool) colourToolOf(const Handle(TDocStd_Document)& document)
{
    const std::lock_guard<ZrMutex> guard(documentLock());
    OCC_CATCH_SIGNALS
    return XCAFDoc_DocumentTool::ColorTool(document->Main());
}

// The task every worker runs: claim the next unconverted item until none is left.
class Proc : public ZrRxTask {
public:
    using Position = std::vector<WorkItem>::iterator;
    Proc(bool noSurfacesFlag, Position first, Position last) : noSurfaces(noSurfacesFlag), next(first), end(last) {}

    void cancel() override {}

    // Items are claimed from the front but converted from the last to the
    // first. The claim lock is never held across a call into the kernel, so
    // a kernel fault cannot leave it held.
    void run(ZrRxObject* argument) override
    {
        auto* reader = static_cast<ControlReader*>(argument);
        std::unique_lock<ZrMutex> guard(lock);
        while (next != end) {
            const std::size_t index = static_cast<std::size_t>(end - next) - 1;
            ++next;
            guard.unlock();
            reader->convertItem(&noSurfaces, index);
            guard.lock();
        }
    }

private:
    ZrMutex lock;
    bool noSurfaces;
    Position next;
    Position end;
};

// Releases a task group when it goes, also when a task's failure leaves wait.
struct GroupReference {
    ZrRxTaskGroup* group = nullptr;
    ~GroupReference() { zrrxRelease(group); }
};

} // namespace

void ControlReader::prepareWorkers()
{
    if (itemCount == 0)
        return;
    ZrRxThreadPoolService* pool = nullptr;
    if (ZrRxObject* found = zrrxSysRegistry()->at(L"ZrRxThreadPoolService")) {
        pool = ZrRxThreadPoolService::cast(found->queryX(ZrRxThreadPoolService::desc()));
        if (!pool)
            throw ZrError_NotThatKindOfClass(found->isA(), ZrRxThreadPoolService::desc());
        zrrxAddRef(pool);
    }
    zrrxRelease(threadPool);
    threadPool = pool;
    if (threadPool)
        workerCount = std::min(itemCount, static_cast<std::size_t>(threadPool->numThreads()));
}

void ControlReader::runWorkers()
{
    // While the workers convert, memory faults in kernel calls on any of
    // them become kernel exceptions (each worker catches its own in
    // convertItem) instead of ending the host; the host's signal handling
    // is back when the run ends.
    KernelScope kernel;
    Proc proc(!hasSurfaces(), items.begin(), items.end());
    if (workerCount <= 1) {
        proc.run(this);
        return;
    }
    GroupReference reference;
    if (threadPool->createTaskGroup(reference.group, 16, static_cast<int>(workerCount), 1) != Nimb::eOk ||
        !reference.group) {
        proc.run(this); // the pool refused a group: convert here rather than not at all
        return;
    }
    for (std::size_t i = 0; i < workerCount; ++i)
        reference.group->addTask(&proc, this);
    reference.group->wait();
}

void ControlReader::convertItem(bool* noSurfaces, std::size_t index)
{
    ConversionContext context;
    context.colourTool = colourToolOf(document);
    WorkItem& item = items[index];
    // A kernel fault while converting becomes a kernel exception here, which
    // ends the import like any other failure (see runWorkers).
    OCC_CATCH_SIGNALS
    convertShape(context, item.shape, item.transformation, *noSurfaces, item.entities);
}
