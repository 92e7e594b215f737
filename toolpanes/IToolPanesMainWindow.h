#pragma once
// What the tool panes ask of the main window above them: the window the Exit button closes,
// and the active child frame. The application sets its main frame's link at start-up.

class IToolPanesChildFrame;
class QWidget;

/// The main window as the tool panes see it. UI thread only.
class IToolPanesMainWindow
{
public:
    virtual ~IToolPanesMainWindow() = default;
    /// The main window, or null while there is none.
    virtual QWidget* GetWindow() = 0;
    /// The active child frame, or null.
    virtual IToolPanesChildFrame* MDIGetActive() = 0;
};

/// The main window of the tool panes, or null when none is set.
IToolPanesMainWindow* GetToolPanesMainWindow();
/// Sets the tool panes' main window (null: none); returns the one set before.
IToolPanesMainWindow* SetToolPanesMainWindow(IToolPanesMainWindow* window);
