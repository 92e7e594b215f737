#pragma once
// The static splitter of the viewport grid: up to four by four view panes, 1-pixel bars and
// 2-pixel gaps that take no mouse input, and a black double frame around the active pane.

// Orvane
#include "controls/CThinSplitterWnd.h"

/// The grid's splitter. It owns its panes. UI thread only.
class CFrameSplitterWnd : public CThinSplitterWnd
{
    Q_OBJECT
public:
    explicit CFrameSplitterWnd(QWidget* parent = nullptr);
    ~CFrameSplitterWnd() override;

    /// The pane whose border is drawn as the active one, or null.
    void SetActivePane(QWidget* pane);
    QWidget* GetActivePane() const { return m_pActivePane; }
    /// Repaints every split bar and pane border.
    void RedrawSplitBars();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> m_pActivePane;
};
