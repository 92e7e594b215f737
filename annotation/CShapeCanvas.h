#pragma once
// The drawing surface the shapes draw on: a painter for pens, fills, texts and pictures, and the
// RGB32 back buffer the painter draws into for per-pixel work, with the state a device context
// keeps (viewport origin, pen, font, text and background colours, current position).

// Qt
#include <QFont>
#include <QImage>
#include <QString>

// Orvane
#include "annotation/IShapeFontMetrics.h"
#include "platform/WinTypes.h"

class CxImage;
class QPainter;

/// A device context for shapes. All coordinates are logical pixels: a logical point (x, y) is
/// the device pixel (x + origin.x, y + origin.y) of the painter and of the back buffer, which
/// share their pixel grid (the back buffer is the painter's device, or an image of the same
/// size, and the painter has no transform of its own). Rectangles exclude their right and
/// bottom edges, LineTo leaves out its end point, TextOut places the top of the text at y.
/// Shapes are outlines only: Rectangle, RoundRect and Ellipse never fill.
/// UI thread only; the painter, the back buffer and the metrics must outlive the canvas.
class CShapeCanvas
{
public:
    /// Pen styles.
    enum PenStyle { PS_SOLID = 0, PS_DASHDOTDOT = 4 };
    /// Background modes of texts and styled lines.
    enum BkMode { TRANSPARENT = 1, OPAQUE = 2 };

    /// A pen as CreatePen makes it; widths below 1 draw one pixel wide.
    struct Pen
    {
        int nStyle = PS_SOLID;
        int nWidth = 1;
        COLORREF crColor = RGB(0, 0, 0);
    };

    /// `pBackBuffer` (Format_RGB32 or ARGB32) receives the per-pixel drawing and may be null,
    /// in which case per-pixel drawing does nothing. The font starts as the painter's font;
    /// the state starts as a fresh device context's: origin (0, 0), black one-pixel solid pen,
    /// opaque white background, black text.
    CShapeCanvas(QPainter& painter, QImage* pBackBuffer, const IShapeFontMetrics& metrics);
    CShapeCanvas(const CShapeCanvas&) = delete;
    CShapeCanvas& operator=(const CShapeCanvas&) = delete;
    virtual ~CShapeCanvas() = default;

    /// Sets the device position of logical (0, 0); returns the previous one.
    POINT SetViewportOrg(int x, int y);
    POINT GetViewportOrg() const { return m_ptOrigin; }

    /// Selects a pen; returns the previous one.
    Pen SelectPen(const Pen& pen);
    const Pen& GetPen() const { return m_pen; }
    int SetBkMode(int nMode);
    int GetBkMode() const { return m_nBkMode; }
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const { return m_crBk; }
    COLORREF SetTextColor(COLORREF cr);
    COLORREF GetTextColor() const { return m_crText; }
    /// Selects a font for the texts; returns the previous one.
    QFont SelectFont(const QFont& font);
    const QFont& GetFont() const { return m_font; }

    /// Measurements of the current font.
    ShapeTextMetrics GetTextMetrics() const;
    /// Width of a text on one line in the current font.
    int GetTextWidth(const QString& text) const;

    /// Sets the current position.
    void MoveTo(int x, int y);
    /// Draws with the current pen from the current position to (x, y), end point left out, and
    /// makes (x, y) the current position.
    void LineTo(int x, int y);
    POINT GetCurrentPosition() const { return m_ptCurrent; }
    /// The outline of the rectangle with the current pen.
    void Rectangle(const RECT& rc);
    /// The outline of the rectangle with corners rounded by an ellipse of cx x cy.
    void RoundRect(const RECT& rc, int cx, int cy);
    /// The outline of the ellipse inscribed in the rectangle.
    void Ellipse(const RECT& rc);
    /// Fills the rectangle with a colour.
    void FillSolidRect(const RECT& rc, COLORREF cr);
    /// Writes one line of text with its top-left corner at (x, y) in the text colour, over a
    /// background-colour box in opaque mode. Every character is drawn as it is ("&" too).
    virtual void TextOut(int x, int y, const QString& text);
    /// Writes the text word-wrapped into the rectangle, one line per text height from its top,
    /// clipped to it (word-breaking text output).
    void DrawText(const QString& text, const RECT& rc);
    /// Draws a bitmap stretched into (x, y, cx, cy) without smoothing.
    void DrawBitmap(const CxImage& image, int x, int y, int cx, int cy);
    /// Draws a picture stretched into (x, y, cx, cy).
    void DrawIcon(const QImage& icon, int x, int y, int cx, int cy);

    /// The colour of the back-buffer pixel at a logical point; false outside the buffer.
    bool GetPixel(int x, int y, COLORREF* pColor) const;
    /// Sets the back-buffer pixel at a logical point; nothing outside the buffer.
    void SetPixel(int x, int y, COLORREF cr);
    /// The logical rectangle the back buffer covers; empty without one.
    RECT GetPixelBounds() const;

    QPainter& GetPainter() { return m_painter; }

    /// Selects a pen for its lifetime and the previous pen again at its end.
    class ScopedPen
    {
    public:
        ScopedPen(CShapeCanvas& dc, const Pen& pen) : m_dc(dc), m_previous(dc.SelectPen(pen)) {}
        ~ScopedPen() { m_dc.SelectPen(m_previous); }
        ScopedPen(const ScopedPen&) = delete;
        ScopedPen& operator=(const ScopedPen&) = delete;

    private:
        CShapeCanvas& m_dc;
        Pen m_previous;
    };

private:
    void DrawStyledLine(int x0, int y0, int x1, int y1);

    QPainter& m_painter;
    QImage* m_pBackBuffer = nullptr;
    const IShapeFontMetrics& m_metrics;
    POINT m_ptOrigin{};
    POINT m_ptCurrent{};
    Pen m_pen;
    int m_nBkMode = OPAQUE;
    COLORREF m_crBk = RGB(255, 255, 255);
    COLORREF m_crText = RGB(0, 0, 0);
    QFont m_font;
};
