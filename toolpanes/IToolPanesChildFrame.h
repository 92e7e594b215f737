#pragma once
// What the tool panes ask of the child frame above them: its tool bar and its grid frame.

class CMyFrameWnd;
class CToolView;

/// The active child frame's panes as the tool panes see them; each null while the frame has
/// no such pane. UI thread only.
class IToolPanesChildFrame
{
public:
    virtual ~IToolPanesChildFrame() = default;
    virtual CToolView* GetToolView() = 0;
    virtual CMyFrameWnd* GetViewGridFrame() = 0;
};
