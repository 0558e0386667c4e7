#include "DrawingScene.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbBody.h>
#include <zrdb/ZrDbBodyMesh.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Segments of a polyline standing in for a full turn of a circle or ellipse.
constexpr int kSegmentsPerTurn = 96;
// Deepest nesting followed; deeper levels would only come from a broken drawing.
constexpr int kMaxDepth = 64;
// Every layer of this host shows in colour 7: white.
const ZrGsRgb kLayerColour{255, 255, 255};

ZrGsRgb shown(ZrCmEntityColor colour, ZrGsRgb blockColour)
{
    switch (colour.colorMethod()) {
    case ZrCmEntityColor::kByColor: return {colour.red(), colour.green(), colour.blue()};
    case ZrCmEntityColor::kByIndex: {
        ZrGsRgb rgb;
        zrcmPaletteColor(colour.colorIndex(), rgb.red, rgb.green, rgb.blue);
        return rgb;
    }
    case ZrCmEntityColor::kByBlock: return blockColour;
    default: return kLayerColour;
    }
}

int segmentsFor(double angle) { return std::max(4, static_cast<int>(std::ceil(std::fabs(angle) / kTwoPi * kSegmentsPerTurn))); }

// Points along the curve entity, or none for a curve without geometry.
std::vector<ZrGePoint3d> curvePoints(const ZrDbEntity& entity)
{
    std::vector<ZrGePoint3d> points;
    const auto turn = [&points](const ZrGePoint3d& centre, const ZrGeVector3d& x, const ZrGeVector3d& y, double from,
                                double to) {
        const int segments = segmentsFor(to - from);
        for (int i = 0; i <= segments; ++i) {
            const double t = from + (to - from) * i / segments;
            points.push_back(centre + x * std::cos(t) + y * std::sin(t));
        }
    };
    const ZrDbCurve* curve = ZrDbCurve::cast(&entity);
    if (!curve || !curve->hasGeometry())
        return points;
    if (auto* line = ZrDbLine::cast(&entity)) {
        points = {line->startPoint(), line->endPoint()};
    } else if (auto* circle = ZrDbCircle::cast(&entity)) {
        const ZrGeVector3d x = zrdbPlaneXAxis(circle->normal());
        turn(circle->center(), x * circle->radius(), circle->normal().crossProduct(x) * circle->radius(), 0, kTwoPi);
    } else if (auto* arc = ZrDbArc::cast(&entity)) {
        const ZrGeVector3d x = zrdbPlaneXAxis(arc->normal());
        turn(arc->center(), x * arc->radius(), arc->normal().crossProduct(x) * arc->radius(), arc->startAngle(),
             arc->endAngle());
    } else if (auto* ellipse = ZrDbEllipse::cast(&entity)) {
        turn(ellipse->center(), ellipse->majorAxis(), ellipse->minorAxis(), ellipse->startParam(), ellipse->endParam());
    } else if (auto* spline = ZrDbSpline::cast(&entity)) {
        int degree = 0;
        bool rational = false, closed = false, periodic = false;
        ZrGePoint3dArray controlPoints;
        ZrGeKnotVector knots;
        ZrGeDoubleArray weights;
        if (spline->getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights) == Nimb::eOk) {
            const ZrGeNurbCurve3d nurbs = rational ? ZrGeNurbCurve3d(degree, knots, controlPoints, weights, periodic)
                                                   : ZrGeNurbCurve3d(degree, knots, controlPoints, periodic);
            ZrGeInterval range;
            nurbs.getInterval(range);
            const int segments = std::min(4096, std::max(16, controlPoints.length() * 16));
            for (int i = 0; i <= segments; ++i)
                points.push_back(nurbs.evalPoint(range.lowerBound() +
                                                 (range.upperBound() - range.lowerBound()) * i / segments));
        }
    }
    return points;
}

class SceneBuilder {
public:
    explicit SceneBuilder(ZrGsScene& scene) : m_scene(scene) {}

    void addBlock(ZrDbObjectId blockId, const ZrGeVector3d& offset, ZrGsRgb blockColour, int depth)
    {
        ZrDbObjectPtr<ZrDbBlockTableRecord> block(blockId, ZrDb::kForRead);
        if (!block || depth > kMaxDepth)
            return;
        for (ZrDbObjectId id : block->entityIds()) {
            ZrDbObjectPtr<ZrDbEntity> entity(id, ZrDb::kForRead);
            if (entity)
                addEntity(*entity.get(), offset, blockColour, depth);
        }
    }

private:
    void addEntity(const ZrDbEntity& entity, const ZrGeVector3d& offset, ZrGsRgb blockColour, int depth)
    {
        const ZrGsRgb colour = shown(entity.entityColor(), blockColour);
        if (auto* reference = ZrDbBlockReference::cast(&entity)) {
            addBlock(reference->blockTableRecord(), offset + (reference->position() - ZrGePoint3d::kOrigin), colour,
                     depth + 1);
        } else if (auto* point = ZrDbPoint::cast(&entity)) {
            m_scene.points.emplace_back(colour, point->position() + offset);
            m_scene.extents.addPoint(point->position() + offset);
        } else if (auto* solid = ZrDb3dSolid::cast(&entity)) {
            addBody(solid->modelerGeometry(), entity.entityColor(), blockColour, offset);
        } else if (auto* surface = ZrDbSurface::cast(&entity)) {
            addBody(surface->modelerGeometry(), entity.entityColor(), blockColour, offset);
        } else {
            ZrGsPolyline curve{colour, curvePoints(entity)};
            for (ZrGePoint3d& p : curve.points) {
                p = p + offset;
                m_scene.extents.addPoint(p);
            }
            if (curve.points.size() > 1)
                m_scene.curves.push_back(std::move(curve));
        }
    }

    void addBody(const ZrModelerGeometry* body, ZrCmEntityColor entityColour, ZrGsRgb blockColour,
                 const ZrGeVector3d& offset)
    {
        if (!body || body->isNull())
            return;
        ZrModelerMesh mesh;
        // A body that tessellates only in part shows the faces that did.
        body->tessellate(ZrModelerMeshParams(), mesh);
        const bool closed = body->isClosed();
        const ZrGsRgb bodyColour = shown(entityColour, blockColour);
        for (const ZrModelerMesh::Face& face : mesh.faces) {
            const ZrGsRgb colour =
                face.hasColor ? shown(ZrCmEntityColor::fromValue(face.color), blockColour) : bodyColour;
            ZrGsTriangles& triangles = m_scene.faces[{colour, closed}];
            std::map<int, int> numberOf;
            for (int t = face.firstTriangle; t < face.firstTriangle + face.numTriangles; ++t)
                for (int k = 0; k < 3; ++k) {
                    const int point = mesh.triangles[3 * t + k];
                    auto found = numberOf.emplace(point, static_cast<int>(triangles.points.size()));
                    if (found.second) {
                        triangles.points.push_back(mesh.points[point] + offset);
                        triangles.normals.push_back(mesh.normals[point]);
                        m_scene.extents.addPoint(triangles.points.back());
                    }
                    triangles.corners.push_back(found.first->second);
                }
        }
        addEdges(zrdbJoinBodyMesh(mesh), offset);
    }

    // The sides on face boundaries, each once though two faces share it.
    void addEdges(const ZrDbBodyMesh& joined, const ZrGeVector3d& offset)
    {
        std::set<std::pair<int, int>> drawn;
        for (const ZrDbBodyMesh::Triangle& triangle : joined.triangles)
            for (int k = 0; k < 3; ++k) {
                const int a = triangle.corners[k], b = triangle.corners[(k + 1) % 3];
                if (triangle.onBoundary[k] && drawn.emplace(std::min(a, b), std::max(a, b)).second)
                    m_scene.edges.emplace_back(joined.points[static_cast<std::size_t>(a)] + offset,
                                               joined.points[static_cast<std::size_t>(b)] + offset);
            }
    }

    ZrGsScene& m_scene;
};

} // namespace

ZrGsScene zrgsBuildScene(ZrDbDatabase* db)
{
    ZrGsScene scene;
    SceneBuilder(scene).addBlock(db->modelSpaceId(), ZrGeVector3d(), kLayerColour, 0);
    return scene;
}
