#pragma once
// Geometric tolerances.

// Point tolerance: two points are equal when their distance is at most
// equalPoint. Vector tolerance: two directions are equal when the angle
// between them (in radians) is at most equalVector.
class ZrGeTol {
public:
    ZrGeTol() = default;
    ZrGeTol(double point, double vector) : m_point(point), m_vector(vector) {}
    double equalPoint() const { return m_point; }
    double equalVector() const { return m_vector; }
    void setEqualPoint(double value) { m_point = value; }
    void setEqualVector(double value) { m_vector = value; }

private:
    double m_point = 1e-10;
    double m_vector = 1e-12;
};

struct ZrGeContext {
    // The global tolerance every geometric test uses unless told otherwise:
    // point tolerance 1e-10, vector tolerance 1e-12.
    static ZrGeTol gTol;
};
