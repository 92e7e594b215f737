#include "controls/CThinSplitterWnd.h"

// Qt
#include <QPainter>

// std
#include <algorithm>

std::vector<int> LayoutSplitterPanes(int total, const std::vector<int>& ideals, int gap)
{
    std::vector<int> sizes(ideals.size(), 0);
    int left = std::max(0, total);
    for (std::size_t i = 0; i < ideals.size(); ++i) {
        if (i + 1 == ideals.size()) {
            sizes[i] = left;
            break;
        }
        sizes[i] = std::min(std::max(0, ideals[i]), left);
        left -= sizes[i];
        left = std::max(0, left - gap);
    }
    return sizes;
}

CThinSplitterWnd::CThinSplitterWnd(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::ArrowCursor);
}

CThinSplitterWnd::~CThinSplitterWnd() = default;

bool CThinSplitterWnd::CreateStatic(QWidget* parent, int nRows, int nCols, int nID)
{
    if (nRows < 1 || nCols < 1 || m_nRows != 0)
        return false;
    m_nID = nID;
    m_nRows = nRows;
    m_nCols = nCols;
    m_panes.assign(std::size_t(nRows * nCols), nullptr);
    m_rowIdeal.assign(std::size_t(nRows), 0);
    m_rowMin.assign(std::size_t(nRows), 0);
    m_rowCur.assign(std::size_t(nRows), 0);
    m_colIdeal.assign(std::size_t(nCols), 0);
    m_colMin.assign(std::size_t(nCols), 0);
    m_colCur.assign(std::size_t(nCols), 0);
    if (parent != parentWidget())
        setParent(parent);
    show();
    return true;
}

bool CThinSplitterWnd::CreateView(int row, int col, QWidget* pane)
{
    if (!pane || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return false;
    QPointer<QWidget>& cell = m_panes[std::size_t(row * m_nCols + col)];
    if (cell)
        return false;
    cell = pane;
    if (pane->parentWidget() != this)
        pane->setParent(this);
    pane->show();
    RecalcLayout();
    return true;
}

QWidget* CThinSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    return m_panes[std::size_t(row * m_nCols + col)];
}

void CThinSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    if (row < 0 || row >= m_nRows)
        return;
    m_rowIdeal[std::size_t(row)] = cyIdeal;
    m_rowMin[std::size_t(row)] = cyMin;
}

void CThinSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    if (col < 0 || col >= m_nCols)
        return;
    m_colIdeal[std::size_t(col)] = cxIdeal;
    m_colMin[std::size_t(col)] = cxMin;
}

void CThinSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyIdeal) const
{
    cyCur = cyIdeal = 0;
    if (row < 0 || row >= m_nRows)
        return;
    cyCur = m_rowCur[std::size_t(row)];
    cyIdeal = m_rowIdeal[std::size_t(row)];
}

void CThinSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxIdeal) const
{
    cxCur = cxIdeal = 0;
    if (col < 0 || col >= m_nCols)
        return;
    cxCur = m_colCur[std::size_t(col)];
    cxIdeal = m_colIdeal[std::size_t(col)];
}

void CThinSplitterWnd::RecalcLayout()
{
    if (m_nRows == 0)
        return;
    m_rowCur = LayoutSplitterPanes(height(), m_rowIdeal, m_cySplitterGap);
    m_colCur = LayoutSplitterPanes(width(), m_colIdeal, m_cxSplitterGap);
    int y = 0;
    for (int r = 0; r < m_nRows; ++r) {
        int x = 0;
        for (int c = 0; c < m_nCols; ++c) {
            if (QWidget* pane = m_panes[std::size_t(r * m_nCols + c)])
                pane->setGeometry(x, y, m_colCur[std::size_t(c)], m_rowCur[std::size_t(r)]);
            x += m_colCur[std::size_t(c)] + m_cxSplitterGap;
        }
        y += m_rowCur[std::size_t(r)] + m_cySplitterGap;
    }
    update();
}

void CThinSplitterWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
}

void CThinSplitterWnd::paintEvent(QPaintEvent*)
{
    // The gaps: a thin grey bar beside a black border
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QColor bar(0x50, 0x50, 0x50);
    int x = 0;
    for (int c = 0; c + 1 < m_nCols; ++c) {
        x += m_colCur[std::size_t(c)];
        p.fillRect(QRect(x, 0, m_cxSplitter, height()), bar);
        x += m_cxSplitterGap;
    }
    int y = 0;
    for (int r = 0; r + 1 < m_nRows; ++r) {
        y += m_rowCur[std::size_t(r)];
        p.fillRect(QRect(0, y, width(), m_cySplitter), bar);
        y += m_cySplitterGap;
    }
}
