#include "annotation/CShapeCanvas.h"

// Qt
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygon>

// std
#include <cstdlib>
#include <iterator>

// Orvane
#include "annotation/ShapeGeometry.h"
#include "platform/CxImage.h"
#include "platform/Gdi.h"

namespace {

bool IsPixelFormat(const QImage* image)
{
    if (!image || image->isNull())
        return false;
    const QImage::Format f = image->format();
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// On/off run lengths of the styled one-pixel pens, in pixels.
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};

// Lines reaching further than this beyond the device are clipped before they are walked, so
// that a shape far outside the view costs nothing.
constexpr int kClipMargin = 64;

} // namespace

CShapeCanvas::CShapeCanvas(QPainter& painter, QImage* pBackBuffer, const IShapeFontMetrics& metrics)
    : m_painter(painter), m_pBackBuffer(pBackBuffer), m_metrics(metrics), m_font(painter.font())
{
}

POINT CShapeCanvas::SetViewportOrg(int x, int y)
{
    const POINT old = m_ptOrigin;
    m_ptOrigin = POINT{x, y};
    return old;
}

CShapeCanvas::Pen CShapeCanvas::SelectPen(const Pen& pen)
{
    const Pen old = m_pen;
    m_pen = pen;
    return old;
}

int CShapeCanvas::SetBkMode(int nMode)
{
    const int old = m_nBkMode;
    m_nBkMode = nMode;
    return old;
}

COLORREF CShapeCanvas::SetBkColor(COLORREF cr)
{
    const COLORREF old = m_crBk;
    m_crBk = cr;
    return old;
}

COLORREF CShapeCanvas::SetTextColor(COLORREF cr)
{
    const COLORREF old = m_crText;
    m_crText = cr;
    return old;
}

QFont CShapeCanvas::SelectFont(const QFont& font)
{
    const QFont old = m_font;
    m_font = font;
    return old;
}

ShapeTextMetrics CShapeCanvas::GetTextMetrics() const
{
    return m_metrics.GetTextMetrics(m_font);
}

int CShapeCanvas::GetTextWidth(const QString& text) const
{
    return m_metrics.GetTextWidth(m_font, text);
}

void CShapeCanvas::MoveTo(int x, int y)
{
    m_ptCurrent = POINT{x, y};
}

void CShapeCanvas::LineTo(int x, int y)
{
    const POINT from = m_ptCurrent;
    m_ptCurrent = POINT{x, y};
    if (from.x == x && from.y == y)
        return;
    if (m_pen.nWidth <= 1) {
        DrawStyledLine(from.x, from.y, x, y);
        return;
    }
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen = Gdi::Pen(m_pen.crColor, m_pen.nWidth);
    if (m_pen.nStyle == PS_DASHDOTDOT)
        pen.setStyle(Qt::DashDotDotLine);
    m_painter.setPen(pen);
    m_painter.drawLine(QPoint(from.x + m_ptOrigin.x, from.y + m_ptOrigin.y),
                       QPoint(x + m_ptOrigin.x, y + m_ptOrigin.y));
    m_painter.restore();
}

void CShapeCanvas::DrawStyledLine(int x0, int y0, int x1, int y1)
{
    const QPaintDevice* device = m_painter.device();
    if (!device)
        return;
    // Device coordinates.
    x0 += m_ptOrigin.x;
    y0 += m_ptOrigin.y;
    x1 += m_ptOrigin.x;
    y1 += m_ptOrigin.y;
    const RECT reach{-kClipMargin, -kClipMargin, device->width() + kClipMargin, device->height() + kClipMargin};
    const bool inside = x0 >= reach.left && x0 <= reach.right && y0 >= reach.top && y0 <= reach.bottom &&
                        x1 >= reach.left && x1 <= reach.right && y1 >= reach.top && y1 <= reach.bottom;
    if (!inside) {
        double fx0 = x0, fy0 = y0, fx1 = x1, fy1 = y1;
        if (!ShapeGeometry::ClipSegment(fx0, fy0, fx1, fy1, reach))
            return;
        x0 = ShapeGeometry::Trunc(fx0);
        y0 = ShapeGeometry::Trunc(fy0);
        x1 = ShapeGeometry::Trunc(fx1);
        y1 = ShapeGeometry::Trunc(fy1);
    }

    // Bresenham, end point left out.
    QPolygon on, off;
    const bool styled = m_pen.nStyle == PS_DASHDOTDOT;
    int run = 0, left = kDashDotDot[0];
    int x = x0, y = y0;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (!(x == x1 && y == y1)) {
        if (!styled || run % 2 == 0)
            on.append(QPoint(x, y));
        else
            off.append(QPoint(x, y));
        if (styled && --left == 0) {
            run = (run + 1) % int(std::size(kDashDotDot));
            left = kDashDotDot[run];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(QPen(Gdi::ColorFromRef(m_pen.crColor), 1));
    m_painter.drawPoints(on);
    if (!off.isEmpty() && m_nBkMode == OPAQUE) {
        m_painter.setPen(QPen(Gdi::ColorFromRef(m_crBk), 1));
        m_painter.drawPoints(off);
    }
    m_painter.restore();
}

void CShapeCanvas::Rectangle(const RECT& rc)
{
    if (rc.IsRectEmpty())
        return;
    if (m_pen.nWidth <= 1) {
        const POINT saved = m_ptCurrent;
        MoveTo(rc.left, rc.top);
        LineTo(rc.right - 1, rc.top);
        LineTo(rc.right - 1, rc.bottom - 1);
        LineTo(rc.left, rc.bottom - 1);
        LineTo(rc.left, rc.top);
        if (rc.right - rc.left == 1 && rc.bottom - rc.top == 1) // a one-pixel box has no line to walk
            m_painter.fillRect(QRect(rc.left + m_ptOrigin.x, rc.top + m_ptOrigin.y, 1, 1), Gdi::ColorFromRef(m_pen.crColor));
        m_ptCurrent = saved;
        return;
    }
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Gdi::Pen(m_pen.crColor, m_pen.nWidth));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRect(rc.left + m_ptOrigin.x, rc.top + m_ptOrigin.y, rc.Width() - 1, rc.Height() - 1));
    m_painter.restore();
}

void CShapeCanvas::RoundRect(const RECT& rc, int cx, int cy)
{
    if (rc.IsRectEmpty())
        return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Gdi::Pen(m_pen.crColor, m_pen.nWidth));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRoundedRect(QRect(rc.left + m_ptOrigin.x, rc.top + m_ptOrigin.y, rc.Width() - 1, rc.Height() - 1),
                              cx / 2.0, cy / 2.0);
    m_painter.restore();
}

void CShapeCanvas::Ellipse(const RECT& rc)
{
    const RECT r = ShapeGeometry::NormalizedRect(rc.left, rc.top, rc.right, rc.bottom);
    if (r.IsRectEmpty())
        return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Gdi::Pen(m_pen.crColor, m_pen.nWidth));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawEllipse(QRect(r.left + m_ptOrigin.x, r.top + m_ptOrigin.y, r.Width() - 1, r.Height() - 1));
    m_painter.restore();
}

void CShapeCanvas::FillSolidRect(const RECT& rc, COLORREF cr)
{
    if (rc.IsRectEmpty())
        return;
    m_painter.fillRect(QRect(rc.left + m_ptOrigin.x, rc.top + m_ptOrigin.y, rc.Width(), rc.Height()),
                       Gdi::ColorFromRef(cr));
}

void CShapeCanvas::TextOut(int x, int y, const QString& text)
{
    if (text.isEmpty())
        return;
    const ShapeTextMetrics tm = GetTextMetrics();
    const int dx = x + m_ptOrigin.x, dy = y + m_ptOrigin.y;
    m_painter.save();
    if (m_nBkMode == OPAQUE)
        m_painter.fillRect(QRect(dx, dy, GetTextWidth(text), tm.nHeight), Gdi::ColorFromRef(m_crBk));
    m_painter.setFont(m_font);
    m_painter.setPen(Gdi::ColorFromRef(m_crText));
    // Plain drawText: no mnemonic handling, so "&" shows as itself.
    m_painter.drawText(QPoint(dx, dy + tm.nAscent), text);
    m_painter.restore();
}

void CShapeCanvas::DrawText(const QString& text, const RECT& rc)
{
    if (rc.IsRectEmpty() || text.isEmpty())
        return;
    const ShapeTextMetrics tm = GetTextMetrics();
    const int lineHeight = tm.nHeight > 0 ? tm.nHeight : 1;
    const QStringList lines =
        ShapeGeometry::WrapText(text, rc.Width(), [this](const QString& s) { return GetTextWidth(s); });
    m_painter.save();
    m_painter.setClipRect(QRect(rc.left + m_ptOrigin.x, rc.top + m_ptOrigin.y, rc.Width(), rc.Height()),
                          Qt::IntersectClip);
    int top = rc.top;
    for (const QString& line : lines) {
        if (top >= rc.bottom)
            break;
        TextOut(rc.left, top, line);
        top += lineHeight;
    }
    m_painter.restore();
}

void CShapeCanvas::DrawBitmap(const CxImage& image, int x, int y, int cx, int cy)
{
    image.Draw(&m_painter, x + m_ptOrigin.x, y + m_ptOrigin.y, cx, cy, nullptr, false);
}

void CShapeCanvas::DrawIcon(const QImage& icon, int x, int y, int cx, int cy)
{
    if (icon.isNull() || cx <= 0 || cy <= 0)
        return;
    m_painter.drawImage(QRect(x + m_ptOrigin.x, y + m_ptOrigin.y, cx, cy), icon);
}

bool CShapeCanvas::GetPixel(int x, int y, COLORREF* pColor) const
{
    if (!IsPixelFormat(m_pBackBuffer))
        return false;
    const long long dx = (long long)x + m_ptOrigin.x, dy = (long long)y + m_ptOrigin.y;
    if (dx < 0 || dy < 0 || dx >= m_pBackBuffer->width() || dy >= m_pBackBuffer->height())
        return false;
    const QRgb rgb = reinterpret_cast<const QRgb*>(m_pBackBuffer->constScanLine(int(dy)))[dx];
    if (pColor)
        *pColor = RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
    return true;
}

void CShapeCanvas::SetPixel(int x, int y, COLORREF cr)
{
    if (!IsPixelFormat(m_pBackBuffer))
        return;
    const long long dx = (long long)x + m_ptOrigin.x, dy = (long long)y + m_ptOrigin.y;
    if (dx < 0 || dy < 0 || dx >= m_pBackBuffer->width() || dy >= m_pBackBuffer->height())
        return;
    reinterpret_cast<QRgb*>(m_pBackBuffer->scanLine(int(dy)))[dx] = qRgb(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

RECT CShapeCanvas::GetPixelBounds() const
{
    if (!IsPixelFormat(m_pBackBuffer))
        return RECT{};
    return RECT{-m_ptOrigin.x, -m_ptOrigin.y, m_pBackBuffer->width() - m_ptOrigin.x,
                m_pBackBuffer->height() - m_ptOrigin.y};
}
