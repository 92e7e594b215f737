#pragma once
// What the study load asks of the tool bar above it: every mode ended with the shown image
// reset, and the Probe button for the modality of the study. The application links the tool
// bar of its active child frame.

// Orvane
#include "platform/WinTypes.h"

/// The tool bar as the study load sees it. UI thread only.
class IStudyToolBar
{
public:
    virtual ~IStudyToolBar() = default;
    /// The Reset button's command (nothing until theApp.m_bImagesLoaded is set).
    virtual void OnResetImage() = 0;
    /// Enables (TRUE) or disables the Probe button.
    virtual void EnableProbeButton(BOOL bEnable) = 0;
};
