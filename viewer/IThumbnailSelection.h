#pragma once
// What a viewport asks of the thumbnail column: mark the series it shows. The thumbnail column
// implements it; until it does, marking does nothing.

/// The thumbnail column's selection. UI thread only.
class IThumbnailSelection
{
public:
    virtual ~IThumbnailSelection() = default;
    /// Marks thumbnail `nIndex` (the series index in the study, or the image index for XA).
    virtual void OnSelectThumbnail(int nIndex) = 0;
};
