#include "zrdb/ZrDbBodyMesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include <zrbr/ZrModelerGeometry.h>

namespace {

// Points closer than this fraction of the mesh's extent are one point.
constexpr double kJoinFraction = 1e-9;

struct CellHash {
    std::size_t operator()(const std::array<std::int64_t, 3>& cell) const
    {
        std::uint64_t h = 1469598103934665603ull;
        for (std::int64_t c : cell)
            h = (h ^ static_cast<std::uint64_t>(c)) * 1099511628211ull;
        return static_cast<std::size_t>(h);
    }
};

// Shares points closer than tolerance through a grid of cells of that size:
// a point's partner lies in its own cell or a neighbouring one.
class PointJoiner {
public:
    PointJoiner(std::vector<ZrGePoint3d>& points, double tolerance) : m_points(points), m_tolerance(tolerance) {}

    int join(const ZrGePoint3d& p)
    {
        const std::array<std::int64_t, 3> cell = cellOf(p);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    auto found = m_cells.find({cell[0] + dx, cell[1] + dy, cell[2] + dz});
                    if (found == m_cells.end())
                        continue;
                    for (int index : found->second)
                        if (m_points[static_cast<std::size_t>(index)].distanceTo(p) <= m_tolerance)
                            return index;
                }
        const int index = static_cast<int>(m_points.size());
        m_points.push_back(p);
        m_cells[cell].push_back(index);
        return index;
    }

private:
    std::array<std::int64_t, 3> cellOf(const ZrGePoint3d& p) const
    {
        return {static_cast<std::int64_t>(std::floor(p.x / m_tolerance)),
                static_cast<std::int64_t>(std::floor(p.y / m_tolerance)),
                static_cast<std::int64_t>(std::floor(p.z / m_tolerance))};
    }

    std::vector<ZrGePoint3d>& m_points;
    double m_tolerance;
    std::unordered_map<std::array<std::int64_t, 3>, std::vector<int>, CellHash> m_cells;
};

double joinTolerance(const ZrModelerMesh& mesh)
{
    double extent = 0.0;
    if (!mesh.points.isEmpty()) {
        ZrGePoint3d low = mesh.points[0], high = mesh.points[0];
        for (const ZrGePoint3d& p : mesh.points) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        extent = low.distanceTo(high);
    }
    return extent > 0.0 ? extent * kJoinFraction : 1e-12;
}

// A side of a triangle without its direction, within one face.
std::uint64_t sideKey(int a, int b)
{
    const auto low = static_cast<std::uint64_t>(std::min(a, b));
    const auto high = static_cast<std::uint64_t>(std::max(a, b));
    return (low << 32) | high;
}

void markFaceBoundaries(ZrDbBodyMesh& joined, std::size_t first, std::size_t end)
{
    std::unordered_map<std::uint64_t, int> uses;
    for (std::size_t t = first; t < end; ++t)
        for (int k = 0; k < 3; ++k)
            ++uses[sideKey(joined.triangles[t].corners[k], joined.triangles[t].corners[(k + 1) % 3])];
    for (std::size_t t = first; t < end; ++t) {
        ZrDbBodyMesh::Triangle& triangle = joined.triangles[t];
        for (int k = 0; k < 3; ++k)
            triangle.onBoundary[k] = uses[sideKey(triangle.corners[k], triangle.corners[(k + 1) % 3])] == 1;
    }
}

} // namespace

ZrDbBodyMesh zrdbJoinBodyMesh(const ZrModelerMesh& mesh)
{
    ZrDbBodyMesh joined;
    PointJoiner joiner(joined.points, joinTolerance(mesh));
    std::vector<int> shared;
    shared.reserve(static_cast<std::size_t>(mesh.points.length()));
    for (const ZrGePoint3d& p : mesh.points)
        shared.push_back(joiner.join(p));
    for (int f = 0; f < mesh.faces.length(); ++f) {
        const ZrModelerMesh::Face& face = mesh.faces[f];
        const std::size_t first = joined.triangles.size();
        for (int t = face.firstTriangle; t < face.firstTriangle + face.numTriangles; ++t) {
            ZrDbBodyMesh::Triangle triangle;
            triangle.face = f;
            for (int k = 0; k < 3; ++k)
                triangle.corners[k] = shared[static_cast<std::size_t>(mesh.triangles[3 * t + k])];
            const int* c = triangle.corners;
            if (c[0] != c[1] && c[1] != c[2] && c[2] != c[0])
                joined.triangles.push_back(triangle);
        }
        markFaceBoundaries(joined, first, joined.triangles.size());
    }
    return joined;
}
