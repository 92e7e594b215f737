#pragma once
// What the main frame needs of the thumbnail column when it closes: its thumbnail run stopped
// and joined. The thumbnail column implements it.

// Orvane
#include "platform/WinTypes.h"

/// The thumbnail run's stop. UI thread only.
class IThumbnailRun
{
public:
    virtual ~IThumbnailRun() = default;
    /// Asks a running thumbnail worker to stop, waits for it to end and forgets it; does
    /// nothing when none runs. Returns TRUE.
    virtual BOOL StopThumbnailThread() { return TRUE; }
};
