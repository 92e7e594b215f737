#pragma once
// What the study load asks of the child frame above it: the panes it hands a study to.

class IStudyGrid;
class IStudyToolBar;
class IThumbnailRun;

/// The active child frame's panes as the study load sees them; each null while the frame has
/// no such pane. UI thread only.
class IStudyChildFrame
{
public:
    virtual ~IStudyChildFrame() = default;
    virtual IStudyToolBar* GetToolView() = 0;
    virtual IThumbnailRun* GetThumbnailRun() = 0;
    virtual IStudyGrid* GetViewGridFrame() = 0;
};
