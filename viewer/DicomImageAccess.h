#pragma once
// What the viewport reads of the toolkit's image objects directly: their size, a reduced copy
// for the rendering while a button is held, and the value of one pixel. The only place of the
// viewer that includes the toolkit.

// Qt
#include <QSize>

// std
#include <optional>

class DicomImage;

namespace DicomImageAccess {

/// Width and height of the image; (0, 0) for none or one the toolkit could not set up.
QSize ImageSize(const DicomImage* image);

/// A new copy of `image` scaled to `width` x `height` (bicubic, aspect not kept), owned by the
/// caller; null when it can't be made.
DicomImage* CreateReducedImage(const DicomImage* image, int width, int height);

/// The value of pixel (x, y) of frame `frame` (counted from 0 in the file) after the modality
/// transformation, in the representation the toolkit keeps for the file (8, 16 or 32 bits,
/// signed or not); for colour images the first sample. None when the image holds no such
/// pixel or frame.
std::optional<double> PixelValue(const DicomImage* image, int frame, int x, int y);

} // namespace DicomImageAccess
