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

/// Whether StretchBlit draws `source` over `destination` (into a buffer of its formats): a
/// bitmap of one of its formats and a destination that is not empty.
bool CanStretchBlit(const QImage& source, const QRect& destination);
