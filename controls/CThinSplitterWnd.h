#pragma once
// A static splitter of rows by columns of panes whose bars cannot be moved: each row and column
// but the last gets its ideal size, the last takes what remains, and 2-pixel gaps lie between.

// Qt
#include <QPointer>
#include <QWidget>

// std
#include <vector>

/// First pane id of a splitter; pane (row, col) has the id first + 16 * row + col.
constexpr int AFX_IDW_PANE_FIRST = 0xE900;

/// Sizes of the panes of one direction: every pane but the last gets its ideal size (0 for a
/// negative one) as far as room is left, a gap follows every pane but the last, and the last
/// pane takes what remains (never less than 0).
std::vector<int> LayoutSplitterPanes(int total, const std::vector<int>& ideals, int gap);

/// The thin static splitter. Its bars and gaps never react to the mouse: no resize cursor and
/// no dragging. It owns its panes. UI thread only.
class CThinSplitterWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CThinSplitterWnd(QWidget* parent = nullptr);
    ~CThinSplitterWnd() override;

    /// Makes this splitter a child of `parent` with nRows x nCols empty panes. False for a
    /// size below 1 x 1 or a second call.
    bool CreateStatic(QWidget* parent, int nRows, int nCols, int nID = AFX_IDW_PANE_FIRST);
    /// Puts `pane` (a new widget, or another splitter) at (row, col); the splitter becomes its
    /// parent. False, with `pane` left alone, for a bad cell, a taken cell or no pane.
    bool CreateView(int row, int col, QWidget* pane);
    /// The pane at (row, col), or null.
    QWidget* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return m_nID + 16 * row + col; }
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }

    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    /// The current height of the row after the last layout, and its ideal one.
    void GetRowInfo(int row, int& cyCur, int& cyIdeal) const;
    void GetColumnInfo(int col, int& cxCur, int& cxIdeal) const;
    /// Places the panes for the current size.
    void RecalcLayout();

    int m_cxSplitter = 1;     ///< bar width
    int m_cySplitter = 1;     ///< bar height
    int m_cxBorderShare = 0;
    int m_cyBorderShare = 0;
    int m_cxSplitterGap = 2;  ///< room between two columns
    int m_cySplitterGap = 2;  ///< room between two rows

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nID = AFX_IDW_PANE_FIRST;
    int m_nRows = 0;
    int m_nCols = 0;
    std::vector<QPointer<QWidget>> m_panes;
    std::vector<int> m_rowIdeal, m_colIdeal, m_rowMin, m_colMin, m_rowCur, m_colCur;
};
