#pragma once
// What the study load and its presentation-state import ask of the viewport grid above them:
// a fresh layout, the first series in one view, and the imported shapes. The application
// links the grid frame of its active child frame.

// std
#include <memory>

// Orvane
#include "platform/WinTypes.h"

class CShapeCollection;

/// The viewport grid as the study load sees it. UI thread only.
class IStudyGrid
{
public:
    virtual ~IStudyGrid() = default;
    /// Forgets the grid's recorded rows and columns (-1 by -1), so that the next layout
    /// command builds its grid.
    virtual void ForgetLayout() = 0;
    /// The grid shows series (1) or consecutive images of one series (0).
    virtual void SetSeriesLayout(BYTE bSeriesLayout) = 0;
    /// One view showing the first series key (blank without keys or records).
    virtual void DisplaySingleFrame() = 0;
    /// Appends `shape` to the grid's one shape array, which owns it from then on.
    virtual void AddShape(std::unique_ptr<CShapeCollection> shape) = 0;
    /// Repaints every view of the grid (the empty viewer's loading text changed).
    virtual void RepaintViews() {}
    /// Gives the keyboard focus to the selected view, if one is shown.
    virtual void FocusSelectedView() {}
};
