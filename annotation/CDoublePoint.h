#pragma once
// A point of two doubles in image pixels, the coordinate type of every annotation shape.

/// A point in image pixels of the displayed image (or in view pixels where a caller says so).
/// Copied memberwise; passed by value and by pointer.
class CDoublePoint
{
public:
    CDoublePoint() = default;
    CDoublePoint(int nX, int nY) : x(nX), y(nY) {}
    CDoublePoint(double dX, double dY) : x(dX), y(dY) {}
    CDoublePoint(const CDoublePoint&) = default;
    CDoublePoint& operator=(const CDoublePoint&) = default;
    virtual ~CDoublePoint() = default;

    /// The point with the sums of the coordinates.
    CDoublePoint operator+(CDoublePoint other) const { return CDoublePoint(x + other.x, y + other.y); }
    /// True when x or y differs (exact comparison).
    bool operator!=(CDoublePoint other) const { return x != other.x || y != other.y; }
    bool operator==(CDoublePoint other) const { return !(*this != other); }
    /// Assigns both coordinates.
    void Set(int nX, int nY)
    {
        x = nX;
        y = nY;
    }

    double x = 0.0; ///< horizontal coordinate
    double y = 0.0; ///< vertical coordinate
};
