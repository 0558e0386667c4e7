#pragma once
// The flat knot sequence of a spline.
#include "ZrArray.h"

// Knots in non-decreasing order, with a repeated knot written once per
// multiplicity. Two knots closer than the vector's tolerance count as one
// knot of higher multiplicity.
class ZrGeKnotVector {
public:
    // The tolerance new knot vectors get unless told otherwise.
    static double globalKnotTolerance;

    explicit ZrGeKnotVector(double tol = globalKnotTolerance) : m_tol(tol) {}
    ZrGeKnotVector(const ZrGeDoubleArray& knots, double tol = globalKnotTolerance) : m_knots(knots), m_tol(tol) {}

    // Appends at the end as given: neither sorted nor merged. Returns the index.
    int append(double knot) { return m_knots.append(knot); }

    int length() const { return m_knots.length(); }
    int logicalLength() const { return m_knots.length(); }
    bool isEmpty() const { return m_knots.isEmpty(); }
    double operator[](int index) const { return m_knots[index]; }
    double& operator[](int index) { return m_knots[index]; }
    const ZrGeDoubleArray& asArray() const { return m_knots; }

    double startParam() const { return m_knots.first(); }
    double endParam() const { return m_knots.last(); }
    double tolerance() const { return m_tol; }
    void setTolerance(double tol) { m_tol = tol; }

    // The number of knots equal to the one at index, within the tolerance.
    int multiplicityAt(int index) const;
    // True when value equals one of the knots within the tolerance.
    bool isOn(double value) const;
    // The distinct knots in order, each the first of its group of equal
    // knots, and optionally how often each occurs.
    void getDistinctKnots(ZrGeDoubleArray& knots, ZrGeIntArray* multiplicities = nullptr) const;
    int numIntervals() const;
    // True when the knots never decrease.
    bool isNonDecreasing() const;

private:
    ZrGeDoubleArray m_knots;
    double m_tol;
};
