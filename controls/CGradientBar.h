#pragma once
// A bar painted as a horizontal colour gradient (or a solid colour) with one line of text,
// optionally centred with a shadow: the main frame's caption bar and bottom bar.

// Qt
#include <QBrush>
#include <QString>
#include <QWidget>

// Orvane
#include "platform/WinTypes.h"

class QPainter;

/// Colour of column x of a gradient w columns wide from `left` to `right`: per component
/// c1 * (w - x) / w + c2 * x / w, each product divided separately (integer division), the
/// two quotients added in eight bits. Black for w <= 0.
COLORREF GradientColumnColor(COLORREF left, COLORREF right, int x, int w);

/// The grey background of the dialogs: `bands` bands over the edge-exclusive `rect`, stacked
/// from the top for direction 0 or 1, else from the left. Band i spans MulDiv(i, extent, bands)
/// to MulDiv(i + 1, extent, bands) and has the grey (255 - i) / 2 (127 down to 10 for 236
/// bands). Nothing for bands <= 0.
void PaintBandGradient(QPainter& painter, const RECT& rect, int bands, int direction);

/// The gradient bar. Every setter but SetTextShadow repaints it. UI thread only.
class CGradientBar : public QWidget
{
    Q_OBJECT
public:
    explicit CGradientBar(QWidget* parent = nullptr);
    ~CGradientBar() override;

    /// m_rcBar = rc and m_nBarHeight = its height; the bar is m_nBarHeight + 2 pixels high.
    void SetBarRect(RECT rc);
    void SetGradient(BOOL bGradient);
    void SetGradientColor(COLORREF cr);
    void SetBackColor(COLORREF cr);
    void SetText(const QString& text);
    /// Keeps the current face when `face` is empty.
    void SetFontName(const QString& face);
    /// Tenths of a point.
    void SetFontSize(int nSize);
    void SetNoBorder(BOOL bNoBorder);
    /// Stores the flag without repainting.
    void SetTextShadow(BOOL bShadow) { m_bTextShadow = bShadow; }

    BOOL m_bTextShadow = FALSE;                ///< text centred with a black shadow
    QBrush m_brBack;                           ///< solid brush of m_crBack, used without the gradient
    COLORREF m_crBack = 0x808080;              ///< background; the gradient's left colour
    COLORREF m_crGradient = 0;                 ///< the gradient's right colour
    BOOL m_bGradient = FALSE;                  ///< paint the gradient, else the solid brush
    QString m_strText;                         ///< the bar's text
    COLORREF m_crText = 0xFFFFFF;              ///< text colour
    QString m_strFontName = QStringLiteral("Verdana");
    int m_nFontSize = 140;                     ///< tenths of a point
    RECT m_rcBar{};                            ///< the painted rectangle, bar coordinates
    int m_nBarHeight = 0;                      ///< height of the rectangle given to SetBarRect
    BOOL m_bNoBorder = FALSE;                  ///< the bar draws no border (it never does here)

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Redraw();
};
