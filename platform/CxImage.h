#pragma once
// The bitmap class: 8-bit grey or 24-bit red-green-blue pictures over QImage, with exactly the
// operations the viewer calls. A failed operation leaves an empty 0 x 0 bitmap that draws nothing.

// Qt
#include <QImage>
#include <QString>

// Orvane
#include "platform/WinTypes.h"

class QPainter;

/// Image type code of JPEG pictures, as LoadResource takes it.
constexpr DWORD CXIMAGE_FORMAT_JPG = 3;

/// A bitmap with a width, a height, a depth of 8 (grey levels 0..255) or 24 (bytes red, green,
/// blue, the toolkit's own order) bits per pixel and its rows, top row first. Copies share the
/// picture until one of them changes pixels. Not thread safe: one thread per object.
class CxImage
{
public:
    /// Resampling filters of Resample2; any value is accepted, all but IM_NEAREST_NEIGHBOUR smooth.
    enum InterpolationMethod { IM_NEAREST_NEIGHBOUR = 1, IM_BILINEAR = 2, IM_BSPLINE = 3, IM_BICUBIC = 4, IM_BICUBIC2 = 5 };
    enum OverflowMethod { OM_COLOR = 1, OM_BACKGROUND = 2, OM_TRANSPARENT = 3, OM_WRAP = 4, OM_REPEAT = 5, OM_MIRROR = 6 };

    /// An empty bitmap object, not yet valid; `imageType` is ignored.
    explicit CxImage(DWORD imageType = 0);
    /// A new bitmap of the source's size, depth and (with copyPixels) pixels; the other flags are ignored.
    CxImage(const CxImage& source, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    CxImage& operator=(const CxImage& source);
    virtual ~CxImage() = default;

    /// Rebuilds the bitmap from `bytesPerLine`-spaced rows of `array` (copied). With `flip` true
    /// the first row of the array becomes the top row, otherwise the bottom row.
    /// Depth 8 or 24 (red, green, blue) only. False (and an empty bitmap) on bad arguments.
    bool CreateFromArray(const BYTE* array, DWORD width, DWORD height, DWORD bitsPerPixel, DWORD bytesPerLine, bool flip);
    /// Holds a copy of a device picture (a grab of a window or a back buffer), raised to 24 bits
    /// or kept at 8 bits when it is grey.
    bool CreateFromHBITMAP(const QImage& picture);
    /// Decodes the "JPG" resource of that number from the program's resources
    /// (":/jpg/<number>.jpg"). False (and an empty bitmap) when there is none.
    bool LoadResource(int resourceNumber, DWORD imageType = CXIMAGE_FORMAT_JPG);
    /// Makes the bitmap `width` x `height` at depth 8 or 24 for a renderer to fill: its own
    /// picture is kept when it has that size and depth and shares its pixels with no other
    /// bitmap, else a new one is made. The pixels are left undefined. False (and an empty
    /// bitmap) on bad arguments or when it can't be allocated.
    bool Prepare(DWORD width, DWORD height, DWORD bitsPerPixel);
    /// The writable pixels of a bitmap made by Prepare: GetHeight() rows GetRowBytes() apart,
    /// top row first. Null for an empty bitmap. Writing through it changes no other bitmap.
    BYTE* GetBits();
    /// Bytes from one row to the next (the width's bytes rounded up to a multiple of 4).
    DWORD GetRowBytes() const { return DWORD(m_image.bytesPerLine()); }
    /// Becomes the source's picture: size, depth and pixels, shared until either changes.
    bool Copy(const CxImage& source, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    /// Frees the picture; the object stays usable as an empty bitmap.
    bool Destroy();

    bool IsValid() const { return !m_image.isNull(); }
    DWORD GetWidth() const { return DWORD(m_image.width()); }
    DWORD GetHeight() const { return DWORD(m_image.height()); }
    /// 8 or 24; 0 for an empty bitmap.
    DWORD GetBpp() const;

    /// Converts to 24 bits per pixel in place (only 24 is accepted).
    bool IncreaseBpp(DWORD bits);
    /// Sets every pixel byte to `value`; size and depth kept.
    void Clear(BYTE value = 0);
    /// Inverts every pixel value in place.
    bool Negative();
    /// Exchanges left and right in place.
    bool Mirror();
    /// Exchanges top and bottom in place.
    bool Flip();
    /// Turns 90 degrees clockwise, in place or into `destination`.
    bool RotateRight(CxImage* destination = nullptr);
    /// Turns 90 degrees anticlockwise, in place or into `destination`.
    bool RotateLeft(CxImage* destination = nullptr);
    /// Scales to exactly the new size (mode ignored: nearest pixel), in place or into `destination`.
    bool Resample(long newWidth, long newHeight, int mode = 0, CxImage* destination = nullptr);
    /// Scales to exactly the new size with a smooth filter, in place or into `destination`.
    bool Resample2(long newWidth, long newHeight, InterpolationMethod method = IM_BICUBIC,
                   OverflowMethod overflow = OM_TRANSPARENT, CxImage* destination = nullptr, bool disableAveraging = false);
    /// `destination` receives the part of the bitmap inside `rect` (image pixels), clipped to it.
    bool Crop(const RECT& rect, CxImage* destination);

    /// Draws the whole bitmap stretched into (x, y, cx, cy) without smoothing; a negative
    /// extent means the bitmap's own. Nothing for an empty bitmap.
    bool Draw2(QPainter* painter, long x, long y, long cx = -1, long cy = -1) const;
    /// As Draw2, limited to `clip` when given, smooth when asked.
    bool Draw(QPainter* painter, long x, long y, long cx = -1, long cy = -1, const RECT* clip = nullptr, bool smooth = false) const;

    /// The picture itself (Format_Grayscale8 or Format_RGB888), for drawing and reading pixels.
    const QImage& GetQImage() const { return m_image; }

private:
    bool Replace(CxImage* destination, QImage image);
    QImage m_image;
};
