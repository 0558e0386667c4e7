#include <cmath>

#include "zrbase/ZrGeKnotVector.h"

double ZrGeKnotVector::globalKnotTolerance = 1e-9;

int ZrGeKnotVector::multiplicityAt(int index) const
{
    int count = 0;
    for (double knot : m_knots)
        if (std::fabs(knot - m_knots[index]) <= m_tol)
            ++count;
    return count;
}

bool ZrGeKnotVector::isOn(double value) const
{
    for (double knot : m_knots)
        if (std::fabs(knot - value) <= m_tol)
            return true;
    return false;
}

void ZrGeKnotVector::getDistinctKnots(ZrGeDoubleArray& knots, ZrGeIntArray* multiplicities) const
{
    knots.removeAll();
    if (multiplicities)
        multiplicities->removeAll();
    for (int i = 0; i < m_knots.length(); ++i) {
        if (!knots.isEmpty() && m_knots[i] - knots.last() <= m_tol) {
            if (multiplicities)
                ++multiplicities->last();
            continue;
        }
        knots.append(m_knots[i]);
        if (multiplicities)
            multiplicities->append(1);
    }
}

int ZrGeKnotVector::numIntervals() const
{
    ZrGeDoubleArray distinct;
    getDistinctKnots(distinct);
    return distinct.length() > 1 ? distinct.length() - 1 : 0;
}

bool ZrGeKnotVector::isNonDecreasing() const
{
    for (int i = 1; i < m_knots.length(); ++i)
        if (m_knots[i] < m_knots[i - 1])
            return false;
    return true;
}
