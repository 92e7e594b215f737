#pragma once
// The caption-less main window over the first monitor: its own caption bar with the title, a
// bottom bar, its own Close and Minimize buttons, and the client area that holds the one child
// frame. Creating it records the first monitor's rectangle, from which every size follows.

// Qt
#include <QPushButton>
#include <QWidget>

// Orvane
#include "controls/CGradientBar.h"
#include "controls/CMonitor.h"
#include "controls/CMonitors.h"
#include "platform/WinTypes.h"

class CChildFrmView;
class CZoomView;

/// Control ids of the frame's own buttons.
constexpr int ID_FRAME_CLOSE = 61478;
constexpr int ID_FRAME_MINIMIZE = 61479;

/// The one-line notice of the bottom bar.
extern const char* const kBottomBarNotice;

/// The main frame. UI thread only.
class CMainFrame : public QWidget
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// Creates the frame's bars, buttons and client area, and records the first monitor's
    /// rectangle in theApp.m_rcMonitor. True when it succeeds.
    bool LoadFrame(int nIDResource);
    /// The area that holds the child frame.
    QWidget* GetClientArea() const { return m_pClient; }
    /// The child frame, or null while there is none.
    CChildFrmView* MDIGetActive() const;
    /// The view inside this frame that has the keyboard focus, or null.
    CZoomView* GetActiveView() const;

    /// The full-screen toggle of the views (the two arguments are not used): on, the frame
    /// covers the recorded monitor widened by one pixel on the left and on the right; off, it
    /// is placed exactly over the monitor again.
    void EscapeFullScreen(int, int);
    /// The application was activated or deactivated: the active view (or, without one, the
    /// tool bar) is repainted.
    void OnActivateApp(BOOL bActive);

    CChildFrmView* m_pFullScreenChild = nullptr; ///< the child frame while in full screen, else null
    CGradientBar m_wndTopBar;      ///< the caption bar
    CGradientBar m_wndBottomBar;   ///< the bar at the bottom with the notice
    QPushButton m_btnClose;        ///< own Close button
    QPushButton m_btnMinimize;     ///< own Minimize button
    BYTE m_bButtonPressed = 0;     ///< one of the two buttons is held down
    RECT m_rcClose{};              ///< Close button rectangle, frame client coordinates
    RECT m_rcMinimize{};           ///< Minimize button rectangle
    CMonitor m_monitor;            ///< the monitor whose rectangle is recorded
    CMonitors m_monitors;          ///< all monitors, enumerated when the frame is constructed

protected:
    /// The ordered part of the shut-down: the thumbnail run is stopped and joined, the image
    /// documents are removed from the template, and the event loop ends.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_pClient = nullptr;
    bool m_bClosed = false;
};
