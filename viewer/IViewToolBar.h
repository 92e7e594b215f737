#pragma once
// What the views ask of the tool bar above them: the tool state shown again after a view
// changed it, and the tool bar's panels closed by input in a view. The application sets the
// tool panes' link at start-up.

/// The tool bar as the views see it. UI thread only.
class IViewToolBar
{
public:
    virtual ~IViewToolBar() = default;
    /// Every tool-bar button and every viewport's pointer as the tool state wants them.
    virtual void SyncToolButtons() = 0;
    /// A move (`bPress` false) hides the orientation panel, a left press the layout panel.
    virtual void HidePanelsOnViewInput(bool bPress) = 0;
};

/// The views' tool bar, or null when none is set.
IViewToolBar* GetViewToolBar();
/// Sets the views' tool bar (null: none); returns the one set before.
IViewToolBar* SetViewToolBar(IViewToolBar* toolBar);
