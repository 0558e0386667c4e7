// Geometry value types and the GDI brush wrapper.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int width, int height) : SIZE{width, height} {}
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(int l, int t, int r, int b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    bool operator==(const CRect& o) const { return ::EqualRect(this, &o) != FALSE; }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

// Owns a GDI brush; stock brushes are held but never deleted.
class CBrush {
public:
    CBrush() = default;
    ~CBrush() { DeleteObject(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    BOOL CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour), true); }
    BOOL CreateStockObject(int index) { return Attach(static_cast<HBRUSH>(::GetStockObject(index)), false); }
    void DeleteObject() {
        if (m_hBrush && m_bOwned) ::DeleteObject(m_hBrush);
        m_hBrush = nullptr;
        m_bOwned = false;
    }
    HBRUSH GetSafeHandle() const { return m_hBrush; }
    operator HBRUSH() const { return m_hBrush; }

private:
    BOOL Attach(HBRUSH brush, bool owned) {
        DeleteObject();
        m_hBrush = brush;
        m_bOwned = owned;
        return brush != nullptr;
    }

    HBRUSH m_hBrush = nullptr;
    bool m_bOwned = false;
};
