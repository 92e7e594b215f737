#include "toolpanes/CLayoutCellButton.h"

// Qt
#include <QPainter>

CLayoutCellButton::CLayoutCellButton(int nID, int row, int column, std::function<void(int, int)> onHover,
                                     QWidget* parent)
    : QAbstractButton(parent)
    , m_nID(nID)
    , m_nRow(row)
    , m_nColumn(column)
    , m_fnHover(std::move(onHover))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void CLayoutCellButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect cell(0, 0, width() - 4, height() - 4);
    painter.fillRect(cell, m_bWhite ? QColor(255, 255, 255) : QColor(0, 255, 0));
    m_bRepaintPending = 0;
}

void CLayoutCellButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_fnHover)
        m_fnHover(m_nRow, m_nColumn);
    QAbstractButton::mouseMoveEvent(event);
}

void CLayoutCellButton::enterEvent(QEnterEvent* event)
{
    if (m_fnHover)
        m_fnHover(m_nRow, m_nColumn);
    QAbstractButton::enterEvent(event);
}
