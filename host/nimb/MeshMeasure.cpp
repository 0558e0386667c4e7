#include "MeshMeasure.h"

void MeshMeasure::addTriangle(const ZrGePoint3d& a, const ZrGePoint3d& b, const ZrGePoint3d& c)
{
    const ZrGeVector3d ab = b - a, ac = c - a;
    const double triangle = 0.5 * ab.crossProduct(ac).length();
    area += triangle;
    const ZrGePoint3d o = ZrGePoint3d::kOrigin;
    const ZrGeVector3d va = a - o, vb = b - o, vc = c - o;
    const double tetra = va.dotProduct(vb.crossProduct(vc)) / 6.0;
    volume += tetra;
    const double middle[3] = {(a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0, (a.z + b.z + c.z) / 3.0};
    for (int i = 0; i < 3; ++i) {
        m_areaMoment[i] += triangle * middle[i];
        m_volumeMoment[i] += tetra * middle[i] * 0.75; // a tetrahedron's centroid from the origin
    }
}

void MeshMeasure::finish(bool closed)
{
    const bool byVolume = closed && volume != 0.0;
    const double* moment = byVolume ? m_volumeMoment : m_areaMoment;
    const double mass = byVolume ? volume : area;
    if (mass != 0.0)
        centroid = ZrGePoint3d(moment[0] / mass, moment[1] / mass, moment[2] / mass);
}
