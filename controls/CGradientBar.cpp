#include "controls/CGradientBar.h"

// Qt
#include <QPainter>
#include <QResizeEvent>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/Gdi.h"
#include "controls/CMemoryDC.h"

// std
#include <algorithm>
#include <cstring>

COLORREF GradientColumnColor(COLORREF left, COLORREF right, int x, int w)
{
    if (w <= 0)
        return 0;
    const auto mix = [x, w](int c1, int c2) { return BYTE(c1 * (w - x) / w + c2 * x / w); };
    return RGB(mix(GetRValue(left), GetRValue(right)), mix(GetGValue(left), GetGValue(right)),
               mix(GetBValue(left), GetBValue(right)));
}

namespace {

// a * b / c rounded to the nearest, halves away from zero; 0 for c == 0
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -static_cast<long long>(c) : c))
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    return int(quotient);
}

} // namespace

void PaintBandGradient(QPainter& painter, const RECT& rect, int bands, int direction)
{
    if (bands <= 0)
        return;
    const bool stacked = direction == 0 || direction == 1;
    const int extent = stacked ? rect.Height() : rect.Width();
    const int origin = stacked ? rect.top : rect.left;
    int start = origin;
    for (int i = 0; i < bands; ++i) {
        const int end = origin + MulDiv(i + 1, extent, bands);
        const int grey = std::max(0, (255 - i) / 2);
        const RECT band = stacked ? RECT{rect.left, start, rect.right, end} : RECT{start, rect.top, end, rect.bottom};
        Gdi::FillSolidRect(painter, band, RGB(grey, grey, grey));
        start = end;
    }
}

CGradientBar::CGradientBar(QWidget* parent)
    : QWidget(parent)
    , m_brBack(Gdi::ColorFromRef(0x808080))
{
}

CGradientBar::~CGradientBar() = default;

void CGradientBar::Redraw()
{
    update();
}

void CGradientBar::SetBarRect(RECT rc)
{
    m_rcBar = rc;
    m_nBarHeight = rc.bottom - rc.top;
    setFixedHeight(std::max(0, m_nBarHeight + 2));
    Redraw();
}

void CGradientBar::SetGradient(BOOL bGradient)
{
    m_bGradient = bGradient;
    Redraw();
}

void CGradientBar::SetGradientColor(COLORREF cr)
{
    m_crGradient = cr;
    Redraw();
}

void CGradientBar::SetBackColor(COLORREF cr)
{
    m_crBack = cr;
    m_brBack = QBrush(Gdi::ColorFromRef(cr));
    Redraw();
}

void CGradientBar::SetText(const QString& text)
{
    m_strText = text;
    Redraw();
}

void CGradientBar::SetFontName(const QString& face)
{
    if (!face.isEmpty())
        m_strFontName = face;
    Redraw();
}

void CGradientBar::SetFontSize(int nSize)
{
    m_nFontSize = nSize;
    Redraw();
}

void CGradientBar::SetNoBorder(BOOL bNoBorder)
{
    m_bNoBorder = bNoBorder;
    Redraw();
}

void CGradientBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int width = parentWidget() ? parentWidget()->width() : event->size().width();
    m_rcBar = RECT{0, 0, width, m_nBarHeight + 2};
}

void CGradientBar::paintEvent(QPaintEvent*)
{
    try {
        QPainter target(this);
        CMemoryDC dc(&target, &m_rcBar);
        if (!dc.m_bMemDC)
            return;
        const RECT& r = m_rcBar;
        if (m_bGradient == 1) {
            const int w = r.Width();
            if (dc.m_bitmap.devicePixelRatio() == 1.0 && dc.m_bitmap.format() == QImage::Format_RGB32) {
                // One pixel a column: the columns are written straight into the buffer, one row
                // made and copied to the others, as the one-pixel fills would set them
                QImage& bitmap = dc.m_bitmap;
                const int left = std::max(r.left, dc.m_rect.left);
                const int right = std::min(r.left + w, dc.m_rect.left + bitmap.width());
                const int top = std::max(r.top, dc.m_rect.top);
                const int bottom = std::min(r.bottom, dc.m_rect.top + bitmap.height());
                if (left < right && top < bottom) {
                    auto* first = reinterpret_cast<QRgb*>(bitmap.scanLine(top - dc.m_rect.top));
                    for (int x = left; x < right; ++x)
                        first[x - dc.m_rect.left] = Gdi::ColorFromRef(GradientColumnColor(m_crBack, m_crGradient, x - r.left, w)).rgb();
                    const size_t bytes = size_t(right - left) * sizeof(QRgb);
                    for (int y = top + 1; y < bottom; ++y)
                        std::memcpy(reinterpret_cast<QRgb*>(bitmap.scanLine(y - dc.m_rect.top)) + (left - dc.m_rect.left),
                                    first + (left - dc.m_rect.left), bytes);
                }
            } else {
                for (int x = 0; x < w; ++x)
                    dc.fillRect(QRect(r.left + x, r.top, 1, r.Height()), Gdi::ColorFromRef(GradientColumnColor(m_crBack, m_crGradient, x, w)));
            }
        } else {
            dc.fillRect(Gdi::ToQRect(r), m_brBack);
        }
        if (!m_strText.isEmpty()) {
            dc.setFont(Gdi::PointFont(m_strFontName, m_nFontSize));
            const RECT textRect{r.left + 2, r.top, r.right - 5, r.bottom};
            if (m_bTextShadow) {
                dc.setPen(Qt::black);
                dc.drawText(Gdi::ToQRect(RECT{r.left + 2, r.top + 2, r.right - 3, r.bottom + 2}),
                            Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, m_strText);
                dc.setPen(Gdi::ColorFromRef(m_crText));
                dc.drawText(Gdi::ToQRect(textRect), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, m_strText);
            } else {
                dc.setPen(Gdi::ColorFromRef(m_crText));
                dc.drawText(Gdi::ToQRect(textRect), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_strText);
            }
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CGradientBar::OnEraseBkgnd");
    }
}
