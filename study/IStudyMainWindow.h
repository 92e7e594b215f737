#pragma once
// What the study load asks of the main window above it: the owner of its progress window and
// messages, and the active child frame whose panes take the study. The application sets its
// main frame's link at start-up; tests set their own.

class IStudyChildFrame;
class QWidget;

/// The main window as the study load sees it. UI thread only.
class IStudyMainWindow
{
public:
    virtual ~IStudyMainWindow() = default;
    /// The main window, or null while there is none.
    virtual QWidget* GetWindow() = 0;
    /// The active child frame, or null.
    virtual IStudyChildFrame* MDIGetActive() = 0;
};

/// The main window the study load hands its studies to, or null when none is set.
IStudyMainWindow* GetStudyMainWindow();
/// Sets the main window of the study load (null: none); returns the one set before.
IStudyMainWindow* SetStudyMainWindow(IStudyMainWindow* window);
