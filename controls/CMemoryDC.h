#pragma once
// The back buffer that custom-painted windows draw into: a painter on an off-screen picture
// that is copied onto the target painter when it goes out of scope.

// Qt
#include <QImage>
#include <QPainter>

// Orvane
#include "platform/WinTypes.h"

/// A painter on an off-screen RGB32 picture covering `m_rect` of the target: the target's clip
/// box when it has one, else the rectangle given. Coordinates are the target's (the buffer's
/// origin is moved to the rectangle's top-left corner). The users clear the buffer themselves
/// (FillSolidRect) and draw; the destructor copies the buffer onto the target. Lives for one
/// paint. UI thread only.
class CMemoryDC : public QPainter
{
public:
    /// `pDC` is borrowed and must be active; `prc` is in its logical coordinates.
    CMemoryDC(QPainter* pDC, const RECT* prc);
    ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    QImage m_bitmap;         ///< the off-screen picture, of the size of m_rect (device pixels)
    QPainter* m_pDC;         ///< the target (borrowed)
    RECT m_rect;             ///< the buffered rectangle in the target's logical coordinates
    BOOL m_bMemDC;           ///< a buffer was made (the target is active and the rectangle not empty)
};
