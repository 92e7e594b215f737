#pragma once
// The two centimetre scales of a viewport: whether an image gets them, their pixels per
// centimetre, and the lines and labels of each scale. Plain functions, no widget needed.

// Qt
#include <QPoint>
#include <QString>

// std
#include <vector>

namespace ScaleGeometry {

/// Whether an image shows scales at all: a modality that is neither empty nor "XA" and more
/// than 8 bits (Bits Allocated above 16, Bits Stored above 8 or High Bit above 8).
bool ImageHasScales(const QString& modality, int bitsAllocated, int bitsStored, int highBit);

/// Bitmap pixels per centimetre for a pixel spacing in millimetres of the full image, shown
/// reduced by `reducedScale`: 1 / (reducedScale * spacing * 0.1). 0 for a spacing or scale
/// that is zero, negative or not finite.
double PixelsPerCm(double spacingMm, double reducedScale);

/// Whether a scale with this many screen pixels per centimetre is drawn: a finite value of at
/// least one pixel (closer ticks would merge, and a zero step would never end).
bool StepDrawable(double step);

/// Every how many ticks a scale is labelled: 20 when step < 3.0, 10 when step < 8.0, else 5.
int LabelPeriod(double step);

/// A line from `from` to `to`, end point left out, in client pixels.
struct Line
{
    QPoint from;
    QPoint to;
};
/// A label with its top-left corner at `pos`.
struct Label
{
    QPoint pos;
    QString text;
};
struct Scale
{
    std::vector<Line> lines;   ///< the ticks in order, then the base line
    std::vector<Label> labels; ///< the centimetre counts of the labelled ticks
};

/// The vertical scale of a client area `height` pixels high: base line x = 25 from q = height / 4
/// to height - q; a tick every `step` pixels from y = q on, from x = 26 to 41 with its count
/// at (46, y - 8) when labelled, else to 34. Empty when the step is not drawable.
Scale VerticalScale(int height, double step);

/// The horizontal scale of a client area `width` pixels wide: base line y = 25 from q = width / 4
/// to width - q; a tick every `step` pixels from x = q on, from y = 26 to 41 with its count at
/// (x - 4, 41) when labelled, else to 34. Empty when the step is not drawable.
Scale HorizontalScale(int width, double step);

} // namespace ScaleGeometry
