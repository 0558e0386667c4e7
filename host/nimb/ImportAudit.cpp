#include "ImportAudit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>
#include <vector>

#include <zrbase/ZrString.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbBody.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "SourceModel.h"

namespace {

// Deepest block nesting followed.
constexpr int kMaxDepth = 64;

// One body of the drawing, measured.
struct MadeBody {
    std::string block;
    bool closed = false; // it bounds a volume
    bool valid = false;
    std::string report;
    double volume = 0.0;
    double area = 0.0;
    ZrGePoint3d centroid;
    bool hasCentroid = false;
    int freeEdges = 0;
};

MadeBody measured(const ZrModelerGeometry& geometry, const std::string& block)
{
    MadeBody body;
    body.block = block;
    body.closed = geometry.numSolids() > 0;
    body.valid = geometry.isValid();
    body.report = geometry.validityReport();
    body.volume = geometry.volume();
    body.area = geometry.area();
    body.hasCentroid = geometry.getCentroid(body.centroid);
    return body;
}

ZrModelerGeometry* geometryOf(ZrDbObjectId id)
{
    const ZrRxClass* kind = id.objectClass();
    if (kind->isDerivedFrom(ZrDb3dSolid::desc())) {
        ZrDbObjectPtr<ZrDb3dSolid> solid(id, ZrDb::kForRead);
        return solid ? solid->modelerGeometry() : nullptr;
    }
    if (kind->isDerivedFrom(ZrDbSurface::desc())) {
        ZrDbObjectPtr<ZrDbSurface> surface(id, ZrDb::kForRead);
        return surface ? surface->modelerGeometry() : nullptr;
    }
    return nullptr;
}

bool isBodyEntity(const ZrRxClass* kind)
{
    return kind->isDerivedFrom(ZrDb3dSolid::desc()) || kind->isDerivedFrom(ZrDbSurface::desc());
}

// The bodies of a block and of the blocks it refers to. Entities without a
// body count as bodies that bound nothing.
void collectMade(ZrDbObjectId blockId, int depth, std::vector<MadeBody>& bodies)
{
    std::string name;
    std::vector<ZrDbObjectId> ids;
    {
        ZrDbObjectPtr<ZrDbBlockTableRecord> block(blockId, ZrDb::kForRead);
        if (!block)
            return;
        ZrString blockName;
        block->getName(blockName);
        name = blockName.utf8();
        ids = block->entityIds();
    }
    for (ZrDbObjectId id : ids) {
        if (id.isErased() || !id.objectClass())
            continue;
        if (id.objectClass()->isDerivedFrom(ZrDbBlockReference::desc())) {
            ZrDbObjectId inner;
            {
                ZrDbObjectPtr<ZrDbBlockReference> reference(id, ZrDb::kForRead);
                if (reference)
                    inner = reference->blockTableRecord();
            }
            if (depth < kMaxDepth && inner.isValid())
                collectMade(inner, depth + 1, bodies);
        } else if (isBodyEntity(id.objectClass())) {
            ZrModelerGeometry* geometry = geometryOf(id);
            if (geometry) {
                zrrxAddRef(geometry);
                bodies.push_back(measured(*geometry, name));
                zrrxRelease(geometry);
            } else {
                MadeBody empty;
                empty.block = name;
                empty.report = "no body";
                bodies.push_back(empty);
            }
        }
    }
}

// (made - source) / |source|; 1 when only the source is zero.
double relativeDifference(double made, double source)
{
    if (source != 0.0)
        return (made - source) / std::fabs(source);
    return made == 0.0 ? 0.0 : 1.0;
}

// How unlike two bodies are, for pairing: centroid distance against the
// source's size, plus the relative difference of what they measure.
double unlikeness(const SourceBody& source, const MadeBody& made)
{
    const double size = source.size > 0.0 ? source.size : 1.0;
    const double away = made.hasCentroid ? source.centroid.distanceTo(made.centroid) / size : 1e6;
    const double measure = source.closed && made.closed ? relativeDifference(made.volume, source.volume)
                                                        : relativeDifference(made.area, source.area);
    return away + std::min(std::fabs(measure), 10.0);
}

// Pairs source bodies with made ones: closest first, kinds kept apart in
// the first round and mixed in the second (a solid that came out open).
// Buckets on a grid keep it near linear for models of many bodies.
class Pairing {
public:
    Pairing(const std::vector<SourceBody>& sources, const std::vector<MadeBody>& made)
        : m_sources(sources), m_made(made), m_partner(sources.size(), -1), m_taken(made.size(), false)
    {
    }

    std::vector<int> run()
    {
        pairClose(true);
        pairRest();
        return m_partner;
    }

private:
    // Pairs within a small distance of each other, using a grid.
    void pairClose(bool sameKind)
    {
        // Cells of about a body's size: a body's partner is in its own
        // cell or a neighbour, and few other bodies are.
        std::vector<double> sizes;
        for (const SourceBody& source : m_sources)
            if (source.size > 0.0)
                sizes.push_back(source.size);
        if (sizes.empty())
            return;
        std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
        const double cell = sizes[sizes.size() / 2];
        std::map<std::tuple<long, long, long>, std::vector<int>> grid;
        for (std::size_t j = 0; j < m_made.size(); ++j)
            if (m_made[j].hasCentroid)
                grid[cellOf(m_made[j].centroid, cell)].push_back(static_cast<int>(j));
        struct Candidate {
            double cost;
            int source, made;
        };
        std::vector<Candidate> candidates;
        for (std::size_t i = 0; i < m_sources.size(); ++i) {
            const auto centre = cellOf(m_sources[i].centroid, cell);
            for (long dx = -1; dx <= 1; ++dx)
                for (long dy = -1; dy <= 1; ++dy)
                    for (long dz = -1; dz <= 1; ++dz) {
                        const auto found = grid.find({std::get<0>(centre) + dx, std::get<1>(centre) + dy,
                                                      std::get<2>(centre) + dz});
                        if (found == grid.end())
                            continue;
                        for (int j : found->second)
                            if (!sameKind || m_made[j].closed == m_sources[i].closed)
                                candidates.push_back({unlikeness(m_sources[i], m_made[j]), static_cast<int>(i), j});
                    }
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
        for (const Candidate& candidate : candidates)
            if (m_partner[candidate.source] < 0 && !m_taken[candidate.made]) {
                m_partner[candidate.source] = candidate.made;
                m_taken[candidate.made] = true;
            }
    }

    // Whatever is left, however far apart: the nearest pairs first.
    void pairRest()
    {
        for (int round = 0; round < 2; ++round)
            for (std::size_t i = 0; i < m_sources.size(); ++i) {
                if (m_partner[i] >= 0)
                    continue;
                int best = -1;
                double bestCost = std::numeric_limits<double>::infinity();
                for (std::size_t j = 0; j < m_made.size(); ++j) {
                    if (m_taken[j] || (round == 0 && m_made[j].closed != m_sources[i].closed))
                        continue;
                    const double cost = unlikeness(m_sources[i], m_made[j]);
                    if (cost < bestCost) {
                        bestCost = cost;
                        best = static_cast<int>(j);
                    }
                }
                if (best >= 0) {
                    m_partner[i] = best;
                    m_taken[best] = true;
                }
            }
    }

    static std::tuple<long, long, long> cellOf(const ZrGePoint3d& point, double cell)
    {
        return {std::lround(std::floor(point.x / cell)), std::lround(std::floor(point.y / cell)),
                std::lround(std::floor(point.z / cell))};
    }

    const std::vector<SourceBody>& m_sources;
    const std::vector<MadeBody>& m_made;
    std::vector<int> m_partner;
    std::vector<bool> m_taken;
};

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string percent(double fraction)
{
    char text[64];
    std::snprintf(text, sizeof text, "%+.3f%%", fraction * 100.0);
    return text;
}

std::string firstLine(const std::string& text)
{
    const std::size_t end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end);
}

// What is wrong with a pair, empty when nothing is.
std::vector<std::string> differences(const SourceBody& source, const MadeBody& made, double tolerance)
{
    std::vector<std::string> found;
    if (!made.valid)
        found.push_back("not valid (" + firstLine(made.report) + ")" + (source.valid ? "" : ", the source is not valid either"));
    if (source.closed && !made.closed)
        found.push_back("open, the source is closed");
    if (source.closed && made.closed) {
        if (made.volume < 0.0)
            found.push_back("inside out");
        const double volume = relativeDifference(made.volume, source.volume);
        if (std::fabs(volume) > tolerance)
            found.push_back("volume " + number(made.volume) + " instead of " + number(source.volume) + " (" +
                            percent(volume) + ")");
    }
    const double area = relativeDifference(made.area, source.area);
    if (std::fabs(area) > tolerance)
        found.push_back("area " + number(made.area) + " instead of " + number(source.area) + " (" + percent(area) +
                        ")");
    if (!made.hasCentroid) {
        found.push_back("no centroid");
    } else if (source.size > 0.0) {
        const double away = source.centroid.distanceTo(made.centroid) / source.size;
        if (away > tolerance * 0.1)
            found.push_back("centroid " + number(source.centroid.distanceTo(made.centroid)) + " away (" +
                            percent(away).substr(1) + " of its size)");
    }
    return found;
}

std::string join(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string kindName(bool closed) { return closed ? "solid" : "surface"; }

} // namespace

AuditResult auditImport(const std::string& file, const std::string& label, ZrDbDatabase* drawing,
                        const AuditOptions& options, std::ostream& out)
{
    AuditResult result;
    const SourceModel source = readSourceModel(file);
    if (!source.failure.empty()) {
        out << label << ": cannot compare: " << source.failure << '\n';
        result.misses = 1;
        return result;
    }
    std::vector<MadeBody> made;
    collectMade(drawing->modelSpaceId(), 0, made);

    const std::vector<int> partner = Pairing(source.bodies, made).run();
    std::vector<bool> paired(made.size(), false);
    for (std::size_t i = 0; i < source.bodies.size(); ++i) {
        const SourceBody& body = source.bodies[i];
        (body.closed ? result.solids : result.sheets) += 1;
        if (!body.closed)
            result.sheetArea += body.area;
        std::vector<std::string> found;
        std::string block = "-";
        if (partner[i] < 0) {
            found.push_back("not imported");
        } else {
            const MadeBody& match = made[static_cast<std::size_t>(partner[i])];
            paired[static_cast<std::size_t>(partner[i])] = true;
            block = match.block;
            found = differences(body, match, options.tolerance);
            if (!body.closed && match.valid)
                result.sheetAreaMade += std::min(match.area, body.area);
        }
        if (found.empty()) {
            (body.closed ? result.solidsWithin : result.sheetsWithin) += 1;
            continue;
        }
        ++result.misses;
        out << label << ": " << block << ": " << kindName(body.closed) << ' ' << (i + 1) << ": " << join(found)
            << '\n';
    }
    for (std::size_t j = 0; j < made.size(); ++j)
        if (!paired[j]) {
            ++result.misses;
            out << label << ": " << made[j].block << ": " << kindName(made[j].closed)
                << ": not in the file (area " << number(made[j].area) << ")\n";
        }
    char tolerance[32];
    std::snprintf(tolerance, sizeof tolerance, "%g%%", options.tolerance * 100.0);
    out << label << ": " << result.solidsWithin << '/' << result.solids << " solids, " << result.sheetsWithin << '/'
        << result.sheets << " surfaces within " << tolerance;
    if (result.sheets > 0) {
        char kept[64];
        std::snprintf(kept, sizeof kept, "%.2f%% of %.6g",
                      result.sheetArea > 0.0 ? 100.0 * result.sheetAreaMade / result.sheetArea : 100.0,
                      result.sheetArea);
        out << ", surface area kept " << kept;
    }
    out << '\n';
    return result;
}
