#pragma once
// Font measurements that are the same for every font: every character has the average width.
// Tests place texts with it so that positions do not depend on the installed fonts.

// Orvane
#include "annotation/IShapeFontMetrics.h"

/// Gives `metrics` for every font and (number of characters) x average width for every text.
class CFixedFontMetrics : public IShapeFontMetrics
{
public:
    explicit CFixedFontMetrics(const ShapeTextMetrics& metrics) : m_metrics(metrics) {}
    /// Height 13, ascent 10, no leading, average width 7.
    CFixedFontMetrics() : m_metrics{13, 10, 0, 7} {}

    ShapeTextMetrics GetTextMetrics(const QFont&) const override { return m_metrics; }
    int GetTextWidth(const QFont&, const QString& text) const override
    {
        return int(text.size()) * m_metrics.nAveCharWidth;
    }

private:
    ShapeTextMetrics m_metrics;
};
