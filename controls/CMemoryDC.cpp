#include "controls/CMemoryDC.h"

// Qt
#include <QPaintDevice>

// std
#include <cmath>

CMemoryDC::CMemoryDC(QPainter* pDC, const RECT* prc)
    : m_pDC(pDC)
    , m_rect(prc ? *prc : RECT{})
    , m_bMemDC(FALSE)
{
    if (!m_pDC || !m_pDC->isActive())
        return;
    // Only the part that will be shown needs drawing
    if (m_pDC->hasClipping()) {
        const QRect clip = m_pDC->clipBoundingRect().toAlignedRect();
        m_rect = RECT{clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height()};
    }
    if (m_rect.IsRectEmpty())
        return;
    const QPaintDevice* device = m_pDC->device();
    const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
    m_bitmap = QImage(int(std::ceil(m_rect.Width() * ratio)), int(std::ceil(m_rect.Height() * ratio)), QImage::Format_RGB32);
    if (m_bitmap.isNull())
        return; // too large: the drawing stays unseen
    m_bitmap.setDevicePixelRatio(ratio);
    m_bitmap.fill(Qt::black);
    begin(&m_bitmap);
    setFont(m_pDC->font());
    translate(-m_rect.left, -m_rect.top);
    m_bMemDC = TRUE;
}

CMemoryDC::~CMemoryDC()
{
    if (!m_bMemDC)
        return;
    end();
    m_pDC->drawImage(QPoint(m_rect.left, m_rect.top), m_bitmap);
}
