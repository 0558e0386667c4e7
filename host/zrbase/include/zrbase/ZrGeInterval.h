#pragma once
// A parameter range, bounded, half-bounded or unbounded.

// Bounds are compared with the interval's own tolerance: a value lies in the
// interval when it is no further than the tolerance below the lower bound or
// above the upper one. An open side has the bound -infinity or +infinity.
class ZrGeInterval {
public:
    // Unbounded on both sides.
    explicit ZrGeInterval(double tol = 1e-12);
    // Bounded on both sides. Bounds given in the wrong order are swapped.
    ZrGeInterval(double lower, double upper, double tol = 1e-12);

    double lowerBound() const { return m_lower; }
    double upperBound() const { return m_upper; }
    double tolerance() const { return m_tol; }
    void setTolerance(double tol) { m_tol = tol; }

    bool isBoundedBelow() const;
    bool isBoundedAbove() const;
    bool isBounded() const { return isBoundedBelow() && isBoundedAbove(); }
    bool isUnBounded() const { return !isBoundedBelow() && !isBoundedAbove(); }
    // Upper minus lower; +infinity unless bounded.
    double length() const { return m_upper - m_lower; }
    // Bounded with lower and upper within the tolerance of each other.
    bool isSingleton() const;

    void set(double lower, double upper);
    void setUnbounded();
    void setLower(double lower) { m_lower = lower; }
    void setUpper(double upper) { m_upper = upper; }

    bool contains(double value) const;
    bool isEqualTo(const ZrGeInterval& other) const;

private:
    double m_lower;
    double m_upper;
    double m_tol;
};
