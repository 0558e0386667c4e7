#include "geometry/BrepRecord.h"

void BrepBuilderInitialData::clear()
{
    complexes.setLogicalLength(0);
    edges.setLogicalLength(0);
    vertices.setLogicalLength(0);
}
