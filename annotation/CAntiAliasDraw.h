#pragma once
// One-pixel lines and ellipse outlines blended into what is already drawn, pixel by pixel.

// Orvane
#include "platform/WinTypes.h"

class CShapeCanvas;

/// Anti-aliased drawing into the canvas's back buffer (logical pixels of the canvas). Each
/// touched pixel is read, mixed with the line colour by the share of the ideal line that falls
/// on it and written back; pixels outside the back buffer are left alone. One pixel wide
/// whatever the pen. UI thread only.
class CAntiAliasDraw
{
public:
    CAntiAliasDraw() = default;
    virtual ~CAntiAliasDraw() = default;

    /// The line from (x0, y0) to (x1, y1): both end pixels in `col`, and two blended pixels
    /// for every step along the major axis between them.
    void DrawLine(CShapeCanvas* pDC, int x0, int y0, int x1, int y1, COLORREF col);
    /// The outline of the ellipse inscribed in the box, blended.
    void DrawEllipse(CShapeCanvas* pDC, int left, int top, int right, int bottom, COLORREF col);

    /// Mixes `col` into `bg` at weight `w` (clamped to 0..1): per channel
    /// int(bg * (1 - w)) + int(col * w), clamped to 255.
    static COLORREF Blend(COLORREF bg, COLORREF col, double w);

private:
    static void BlendPixel(CShapeCanvas* pDC, long long x, long long y, COLORREF col, double w);
};
