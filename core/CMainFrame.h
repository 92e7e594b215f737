#pragma once
// The caption-less main window.

// Qt
#include <QWidget>

/// The main frame. UI thread only.
class CMainFrame : public QWidget
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// Creates the frame and records the first monitor's rectangle in theApp.m_rcMonitor.
    bool LoadFrame(int resourceId);
    /// The area that holds the child frame.
    QWidget* GetClientArea() const { return m_pClient; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_pClient = nullptr;
};
