#pragma once
// Font measurements the shapes place their texts with, behind an interface so that texts can be
// placed exactly whatever fonts are installed.

// Qt
#include <QString>

class QFont;

/// The measurements of one font that the shapes read (the fields of a text-metrics query).
struct ShapeTextMetrics
{
    int nHeight = 0;          ///< cell height in pixels (ascent + descent)
    int nAscent = 0;          ///< pixels from the top of the cell to the base line
    int nExternalLeading = 0; ///< extra pixels between lines the font suggests
    int nAveCharWidth = 0;    ///< average character width in pixels
};

/// Measures texts in a font. UI thread only.
class IShapeFontMetrics
{
public:
    virtual ~IShapeFontMetrics() = default;
    /// The measurements of `font`.
    virtual ShapeTextMetrics GetTextMetrics(const QFont& font) const = 0;
    /// Width in pixels of `text` on one line in `font`.
    virtual int GetTextWidth(const QFont& font, const QString& text) const = 0;
};
