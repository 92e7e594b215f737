#pragma once
// Font measurements from the installed fonts, through Qt.

// Orvane
#include "annotation/IShapeFontMetrics.h"

/// Measures with QFontMetrics: height, ascent, leading and average character width of the font.
/// UI thread only.
class CQtFontMetrics : public IShapeFontMetrics
{
public:
    ShapeTextMetrics GetTextMetrics(const QFont& font) const override;
    int GetTextWidth(const QFont& font, const QString& text) const override;
};
