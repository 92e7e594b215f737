#pragma once
// Drawing a bitmap stretched without smoothing straight into an RGB32 back buffer: only the
// pixels of the buffer it covers are computed, whatever the size of the bitmap. Plain
// function, no widget needed.

// Qt
#include <QImage>
#include <QRect>

/// Draws `source` (Format_Grayscale8, Format_RGB888 or Format_BGR888) stretched over `destination` (buffer
/// pixels, may reach outside the buffer) into `target` (Format_RGB32 or ARGB32), nearest pixel:
/// buffer pixel x shows source column (x - left) * width / destination width. False, with
/// nothing drawn, for other formats or an empty source or destination.
bool StretchBlit(const QImage& source, QImage& target, const QRect& destination);

/// The part of a bitmap stretched over `destination` that lies inside `clip`, kept as an RGB32
/// picture of that part's size from one update to the next, with the pixels StretchBlit gives:
/// nothing is stretched again while the bitmap's pixels (its cache key), the destination and
/// the clip stay the same.
class StretchedPicture
{
public:
    /// Brings the picture up to date. False, with nothing kept, where StretchBlit draws
    /// nothing (another format, an empty bitmap or destination) or the picture can't be made.
    bool Update(const QImage& source, const QRect& destination, const QRect& clip);
    /// The part of the clip the bitmap covers (empty when none), in the clip's coordinates.
    const QRect& Area() const { return m_area; }
    /// The pixels of Area(), its top-left pixel first.
    const QImage& Picture() const { return m_picture; }
    /// Forgets the picture: the next update stretches anew.
    void Clear();

private:
    QImage m_picture;
    QRect m_area;
    QRect m_destination;
    qint64 m_nSourceKey = 0;
    bool m_bValid = false;
};
