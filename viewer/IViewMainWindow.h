#pragma once
// What the views ask of the main window above them: the window that hosts the magnifier and
// owns the magnifier settings, its full screen, and the active child frame. The application
// sets its main frame's link at start-up.

class IViewChildFrame;
class QWidget;

/// The main window as the views see it. UI thread only.
class IViewMainWindow
{
public:
    virtual ~IViewMainWindow() = default;
    /// The main window, or null while there is none.
    virtual QWidget* GetWindow() = 0;
    /// Whether the main window shows a child frame in full screen.
    virtual bool IsFullScreen() = 0;
    /// Toggles the main window's full screen: on, it covers the recorded monitor widened by
    /// one pixel on the left and on the right; off, it lies exactly over the monitor again.
    virtual void EscapeFullScreen() = 0;
    /// The active child frame, or null.
    virtual IViewChildFrame* MDIGetActive() = 0;
};

/// The main window the views live in, or null when none is set.
IViewMainWindow* GetViewMainWindow();
/// Sets the views' main window (null: none); returns the one set before.
IViewMainWindow* SetViewMainWindow(IViewMainWindow* window);
