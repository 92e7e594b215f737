#pragma once
// What the views ask of the child frame above them: its thumbnail column shown or shrunk for
// full screen, whether it has one, and the column's selection.

// Orvane
#include "platform/WinTypes.h"

class IThumbnailSelection;

/// The active child frame as the views see it. UI thread only.
class IViewChildFrame
{
public:
    virtual ~IViewChildFrame() = default;
    /// Shows (TRUE) or shrinks to nothing (FALSE) the thumbnail column and sizes the panes again.
    virtual void ToggleThumbnailPane(BOOL bShow) = 0;
    /// Shows the frame.
    virtual void Show() = 0;
    /// Whether the frame has its thumbnail column.
    virtual bool HasThumbnailPane() = 0;
    /// The thumbnail column's selection, or null when the column does not mark series.
    virtual IThumbnailSelection* GetThumbnailSelection() = 0;
};
