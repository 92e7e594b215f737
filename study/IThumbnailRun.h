#pragma once
// What the main frame and the study loader need of the thumbnail column: its thumbnail run
// started over the application's series keys, and stopped and joined. The thumbnail column
// implements it.

// Orvane
#include "platform/WinTypes.h"

/// The thumbnail run. UI thread only.
class IThumbnailRun
{
public:
    virtual ~IThumbnailRun() = default;
    /// Stops a run that still exists, then starts a new one that builds one thumbnail per entry
    /// of theApp.m_astrSeriesKeys and sets the running flags. Does nothing by default.
    virtual void StartThumbnailThread() {}
    /// Asks a running thumbnail worker to stop, waits for it to end and forgets it; does
    /// nothing when none runs. Returns TRUE.
    virtual BOOL StopThumbnailThread() { return TRUE; }
};
