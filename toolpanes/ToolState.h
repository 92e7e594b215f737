#pragma once
// The one set of mouse tools for all viewports: process-wide, UI thread only.

// Orvane
#include "platform/WinTypes.h"

/// Drawing tools: the kind of shape the next drag creates.
enum DrawShape : int {
    LINE = 10001,
    ELLIPSE = 10003,
    CIRCLE = 10004,
    LINEARROW = 10006,
    LINELENGTH = 10010,
    TEXTOUT = 10011,
    FREEHANDDRAW = 10012,
    LINEANGLE = 10013,
    COBBANGLE = 10014,
    PROBE = 10015,
};

extern int g_bWindowLevelMode;   ///< the left drag adjusts window width and level (the default tool)
extern BYTE g_bZoomMode;         ///< the zoom drag tool
extern BYTE g_bMagnifierMode;    ///< the magnifier is active
extern BYTE g_bPanMode;          ///< the pan tool
extern BYTE g_bEraseMode;        ///< a click removes the shape under the pointer
extern BYTE g_bProbeMode;        ///< the pixel-value probe
extern BYTE g_bToolActive;       ///< a tool or drawing tool is selected
extern int m_nDrawShape;         ///< 0 or a DrawShape value
extern BYTE g_bAnnotationsHidden; ///< annotations are hidden
extern BYTE g_bHeaderInfoHidden; ///< the overlay texts are hidden
extern int g_nRotationAngle;     ///< accumulated rotation of the images, degrees
extern int g_nLastImageCommand;  ///< the last image operation, replayed on new images
extern int g_bLayoutPopupShown;
extern int g_bErasePopupShown;
extern int g_bAnnotPopupShown;

/// Every variable back to 0, as when the program is loaded (for tests).
void ClearToolState();
