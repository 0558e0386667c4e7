#pragma once
// Area, enclosed volume and centroid of a triangle mesh: a second measure of
// a body, independent of how its surfaces are parameterised, for where the
// kernel's integration of a surface strays.
#include <zrbase/ZrGePoint3d.h>

struct MeshMeasure {
    double area = 0.0;
    double volume = 0.0; // signed; a closed mesh facing outward encloses a positive one
    ZrGePoint3d centroid; // of the volume when there is one, of the area otherwise

    // Triangles counter-clockwise seen from outside.
    void addTriangle(const ZrGePoint3d& a, const ZrGePoint3d& b, const ZrGePoint3d& c);
    // Finishes the centroid, of the volume for a closed mesh; call once,
    // after the last triangle.
    void finish(bool closed);

private:
    double m_areaMoment[3] = {0, 0, 0};
    double m_volumeMoment[3] = {0, 0, 0};
};

// Mesh settings for the second measure: a mesh's area and volume stray by a
// few ten-thousandths with these, and both bodies' meshes stray alike.
constexpr double kMeshChordShare = 2e-4; // of the body's size
constexpr double kMeshAngle = 0.05;      // radians
