#pragma once
// The viewport grid frame above the tool bar (placeholder: an empty black pane).

// Qt
#include <QWidget>

/// The viewport grid frame. UI thread only.
class CMyFrameWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CMyFrameWnd(QWidget* parent = nullptr);
    ~CMyFrameWnd() override;
};
