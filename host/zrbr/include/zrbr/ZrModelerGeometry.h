#pragma once
// Modeler geometry: one body built by the B-rep builder, held by 3D solid
// and surface entities. A body is never changed after it is made; it may be
// read from several threads at once. Counted like every runtime object
// (zrrxAddRef, zrrxRelease).
#include <cstdint>
#include <memory>
#include <string>

#include <zrbase/ZrArray.h>
#include <zrbase/ZrGePoint3d.h>
#include <zrbase/ZrHeap.h>
#include <zrbase/ZrRxObject.h>

#include "ZrBrepBuilder.h"

// Triangles that approximate a body's faces.
struct ZrModelerMesh {
    // One entry per face of the body, in face order.
    struct Face {
        int firstTriangle = 0; // index into the triangles, counted in triangles
        int numTriangles = 0;
        bool hasColor = false;
        std::uint32_t color = 0; // a ZrCmEntityColor value; no colour unless hasColor
    };

    ZrArray<ZrGePoint3d> points;
    // The unit normal of the surface at each point, pointing out of the
    // face (the face's outward normal).
    ZrArray<ZrGeVector3d> normals;
    // Three point indices per triangle, counter-clockwise seen from the
    // outside of the face.
    ZrArray<int> triangles;
    ZrArray<Face> faces;

    int numTriangles() const { return triangles.length() / 3; }
};

struct ZrModelerMeshParams {
    // Largest distance between a triangle and its face. 0: a thousandth of
    // the diagonal of the body's extents.
    double chordTolerance = 0.0;
    // Largest angle, in radians, between the normals of neighbouring
    // points of one face.
    double angleTolerance = 0.5;
};

class ZrModelerGeometry : public ZrRxObject, public ZrHeapOperators {
public:
    ZRRX_DECLARE_MEMBERS(ZrModelerGeometry);
    ZrModelerGeometry(); // an empty body
    ~ZrModelerGeometry() override;
    ZrModelerGeometry(const ZrModelerGeometry&) = delete;
    ZrModelerGeometry& operator=(const ZrModelerGeometry&) = delete;

    // The body kind the builder was asked for.
    BrepType brepType() const;
    // True for a body without faces.
    bool isNull() const;

    // The modeler's check of the body: topology, geometry, tolerances and
    // orientation of its shells, and what the builder found wrong in the
    // description it was given. Computed once, on first use.
    bool isValid() const;
    // Why the body is not valid, one problem a line (the first few of
    // each kind); empty for a valid body.
    std::string validityReport() const;
    // True when the body has faces and every shell is closed (no free edge).
    bool isClosed() const;

    int numSolids() const; // closed volumes (a solid body only)
    int numShells() const;
    int numFaces() const;
    int numEdges() const;
    int numVertices() const;
    // The face's colour (index in face order, as in ZrModelerMesh); false
    // when the face has none or the index is out of range.
    bool faceColor(int face, std::uint32_t& colour) const;

    // Volume enclosed by the solids (0 for a surface body or open shells);
    // negative for a solid that is inside out.
    double volume() const;
    double area() const;
    // The centre of the enclosed volume for a body with solids, of its
    // faces' area otherwise. False for an empty body.
    bool getCentroid(ZrGePoint3d& centroid) const;
    // A box around the body: tight along planes and elementary surfaces, as
    // far as the control points reach along spline faces. False for an
    // empty body.
    bool getExtents(ZrGePoint3d& minPoint, ZrGePoint3d& maxPoint) const;

    // Triangles for every face. eInvalidInput for negative tolerances,
    // eGeneralModelingFailure when the body could not be tessellated
    // (mesh then holds the faces that could).
    Nimb::ErrorStatus tessellate(const ZrModelerMeshParams& params, ZrModelerMesh& mesh) const;

    struct Body; // host-internal
    explicit ZrModelerGeometry(std::unique_ptr<Body> body);
    const Body& body() const { return *m_body; }

private:
    std::unique_ptr<Body> m_body;
};
