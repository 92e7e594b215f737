#include "viewer/CFrameSplitterWnd.h"

// Qt
#include <QPainter>

CFrameSplitterWnd::CFrameSplitterWnd(QWidget* parent)
    : CThinSplitterWnd(parent)
{
}

CFrameSplitterWnd::~CFrameSplitterWnd() = default;

void CFrameSplitterWnd::SetActivePane(QWidget* pane)
{
    if (m_pActivePane == pane)
        return;
    m_pActivePane = pane;
    update();
}

void CFrameSplitterWnd::RedrawSplitBars()
{
    update();
}

void CFrameSplitterWnd::paintEvent(QPaintEvent* event)
{
    CThinSplitterWnd::paintEvent(event);
    // With more than one pane, the active pane's border is a black double frame in the gaps
    if ((GetRowCount() <= 1 && GetColumnCount() <= 1) || !m_pActivePane || m_pActivePane->parentWidget() != this)
        return;
    QPainter p(this);
    const QRect pane = m_pActivePane->geometry();
    p.setPen(Qt::black);
    p.drawRect(pane.adjusted(-2, -2, 1, 1));
    p.drawRect(pane.adjusted(-1, -1, 0, 0));
}
