#include "annotation/CQtFontMetrics.h"

// Qt
#include <QFont>
#include <QFontMetrics>

ShapeTextMetrics CQtFontMetrics::GetTextMetrics(const QFont& font) const
{
    const QFontMetrics fm(font);
    ShapeTextMetrics tm;
    tm.nHeight = fm.height();
    tm.nAscent = fm.ascent();
    tm.nExternalLeading = fm.leading() > 0 ? fm.leading() : 0;
    tm.nAveCharWidth = fm.averageCharWidth();
    return tm;
}

int CQtFontMetrics::GetTextWidth(const QFont& font, const QString& text) const
{
    return QFontMetrics(font).horizontalAdvance(text);
}
