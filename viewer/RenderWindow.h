#pragma once
// A window as the view renders it: RenderWithWindowLevel takes whole numbers.

/// Width and centre in the image's values after the modality transformation.
struct RenderWindow
{
    int nWidth = 1;
    int nCentre = 0;
};

/// (width, centre) for RenderWithWindowLevel: each rounded to the nearest whole number
/// (halves away from zero, so a 1-bit image's 1/0.5 keeps both levels) and kept inside the int
/// range; the width at least 1. A value that is not finite counts as 0.
RenderWindow ToRenderWindow(double width, double centre);
