#pragma once
// The tool bar below the viewport grid (placeholder: an empty black pane).

// Qt
#include <QWidget>

/// The tool bar. UI thread only.
class CToolView : public QWidget
{
    Q_OBJECT
public:
    explicit CToolView(QWidget* parent = nullptr);
    ~CToolView() override;

    /// Lays the buttons out again from theApp's m_nViewAreaWidth and m_nToolRowHeight, after a
    /// pane size changed. Returns 1.
    int OnRelayoutToolbar();
};
