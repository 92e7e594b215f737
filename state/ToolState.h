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

// --- The exclusion rule: at most one of window/level, zoom, magnifier, pan, eraser, probe and
// the drawing tools is on. Every change of a tool goes: one of the selections below, then
// FallBackToDefaultTool when the selection may have switched its tool off, then
// SyncToolButtons (toolpanes/ToolStateDisplay.h).

/// The modes that exclude each other and the drawing tools.
enum class ToolMode { WindowLevel, Zoom, Magnifier, Pan, Erase, Probe };

/// The default state: window/level on, every other mode off, no drawing tool, a tool active.
void SetDefaultToolState();
/// Window/level, zoom, magnifier, pan, eraser and probe off; the drawing tool and
/// g_bToolActive are left as they are.
void ClearToolModes();
/// Whether `mode` is on.
bool IsToolModeOn(ToolMode mode);
/// Toggles `mode` and switches every other mode and the drawing tool off; g_bToolActive takes
/// the new value of the mode. The probe also selects the PROBE drawing tool (or none).
/// The eraser leaves g_bToolActive as it is. Returns the mode's new value.
bool ToggleToolMode(ToolMode mode);
/// A drawing-tool button: every mode off; the tool `shape` is selected and g_bToolActive set,
/// or, when `shape` was the tool already, no drawing tool and g_bToolActive clear. Returns
/// whether `shape` is now the tool.
bool ToggleDrawingTool(int shape);
/// Whether any mode or drawing tool is on.
bool IsAnyToolOn();
/// The default state when no tool is on (a toggle switched its tool off); nothing otherwise.
void FallBackToDefaultTool();

/// Tool-bar button indexes (left to right) whose checked state mirrors a tool.
enum ToolButtonIndex : int {
    TB_RESET = 0,
    TB_MAGNIFY = 1,
    TB_ZOOM = 2,
    TB_PAN = 3,
    TB_INVERT = 4,
    TB_ORIENTATION = 5,
    TB_PROBE = 6,
    TB_WINDOWLEVEL = 7,
    TB_LINEAR = 8,
    TB_LINEANGLE = 9,
    TB_ANNOTATION = 10,
    TB_ELLIPSE = 11,
    TB_ERASETOOLS = 12,
    TB_STUDYLIST = 13,
    TB_LAYOUT = 14,
    TB_CINE = 15,
    TB_TOOL_BUTTONS = 16,
};
/// Whether the tool-bar button at `index` is checked in the current tool state: Magnify,
/// Zoom, Pan, Probe and Window Width/Level with their modes, Linear Measurement, Line Angle
/// and Ellipse with their drawing tools; every other button is never checked.
bool IsToolButtonChecked(int index);

/// True when the part of the tool state a pane's picture depends on (magnifier mode, drawing
/// tool) changed since the last call; the state now shown is remembered. ClearToolState forgets it.
bool TakeDrawnToolStateChange();
