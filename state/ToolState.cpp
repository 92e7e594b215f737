#include "state/ToolState.h"

int g_bWindowLevelMode = 0;
BYTE g_bZoomMode = 0;
BYTE g_bMagnifierMode = 0;
BYTE g_bPanMode = 0;
BYTE g_bEraseMode = 0;
BYTE g_bProbeMode = 0;
BYTE g_bToolActive = 0;
int m_nDrawShape = 0;
BYTE g_bAnnotationsHidden = 0;
BYTE g_bHeaderInfoHidden = 0;
int g_nRotationAngle = 0;
int g_nLastImageCommand = 0;
int g_bLayoutPopupShown = 0;
int g_bErasePopupShown = 0;
int g_bAnnotPopupShown = 0;

namespace {

// The part of the tool state a pane's picture depends on (shapes are hidden under the
// magnifier; the drawing tool draws its rubber band or readout), as the panes last showed it
struct DrawnToolState
{
    BYTE bMagnifier = 0;
    int nDrawShape = 0;
    bool operator==(const DrawnToolState&) const = default;
};
DrawnToolState g_shownToolState;

} // namespace

void ClearToolState()
{
    g_bWindowLevelMode = 0;
    g_bZoomMode = g_bMagnifierMode = g_bPanMode = g_bEraseMode = g_bProbeMode = g_bToolActive = 0;
    m_nDrawShape = 0;
    g_bAnnotationsHidden = g_bHeaderInfoHidden = 0;
    g_nRotationAngle = 0;
    g_nLastImageCommand = 0;
    g_bLayoutPopupShown = g_bErasePopupShown = g_bAnnotPopupShown = 0;
    g_shownToolState = DrawnToolState();
}

void SetDefaultToolState()
{
    ClearToolModes();
    g_bWindowLevelMode = 1;
    m_nDrawShape = 0;
    g_bToolActive = 1;
}

void ClearToolModes()
{
    g_bWindowLevelMode = 0;
    g_bZoomMode = g_bMagnifierMode = g_bPanMode = g_bEraseMode = g_bProbeMode = 0;
}

bool IsToolModeOn(ToolMode mode)
{
    switch (mode) {
    case ToolMode::WindowLevel:
        return g_bWindowLevelMode != 0;
    case ToolMode::Zoom:
        return g_bZoomMode != 0;
    case ToolMode::Magnifier:
        return g_bMagnifierMode != 0;
    case ToolMode::Pan:
        return g_bPanMode != 0;
    case ToolMode::Erase:
        return g_bEraseMode != 0;
    case ToolMode::Probe:
        return g_bProbeMode != 0;
    }
    return false;
}

bool ToggleToolMode(ToolMode mode)
{
    const bool on = !IsToolModeOn(mode);
    ClearToolModes();
    m_nDrawShape = 0;
    switch (mode) {
    case ToolMode::WindowLevel:
        g_bWindowLevelMode = on ? 1 : 0;
        break;
    case ToolMode::Zoom:
        g_bZoomMode = on ? 1 : 0;
        break;
    case ToolMode::Magnifier:
        g_bMagnifierMode = on ? 1 : 0;
        break;
    case ToolMode::Pan:
        g_bPanMode = on ? 1 : 0;
        break;
    case ToolMode::Erase:
        // The eraser is no tool of the drags: the active flag stays
        g_bEraseMode = on ? 1 : 0;
        return on;
    case ToolMode::Probe:
        g_bProbeMode = on ? 1 : 0;
        m_nDrawShape = on ? PROBE : 0;
        break;
    }
    g_bToolActive = on ? 1 : 0;
    return on;
}

bool ToggleDrawingTool(int shape)
{
    ClearToolModes();
    const bool on = m_nDrawShape != shape;
    m_nDrawShape = on ? shape : 0;
    g_bToolActive = on ? 1 : 0;
    return on;
}

bool IsAnyToolOn()
{
    return g_bWindowLevelMode || g_bZoomMode || g_bMagnifierMode || g_bPanMode || g_bEraseMode || g_bProbeMode
           || m_nDrawShape != 0;
}

void FallBackToDefaultTool()
{
    if (!IsAnyToolOn())
        SetDefaultToolState();
}

bool IsToolButtonChecked(int index)
{
    switch (index) {
    case TB_MAGNIFY:
        return g_bMagnifierMode != 0;
    case TB_ZOOM:
        return g_bZoomMode != 0;
    case TB_PAN:
        return g_bPanMode != 0;
    case TB_PROBE:
        return g_bProbeMode != 0;
    case TB_WINDOWLEVEL:
        return g_bWindowLevelMode != 0;
    case TB_LINEAR:
        return m_nDrawShape == LINELENGTH;
    case TB_LINEANGLE:
        return m_nDrawShape == LINEANGLE;
    case TB_ELLIPSE:
        return m_nDrawShape == ELLIPSE;
    default:
        return false;
    }
}

bool TakeDrawnToolStateChange()
{
    const DrawnToolState drawn{g_bMagnifierMode, m_nDrawShape};
    const bool changed = !(drawn == g_shownToolState);
    g_shownToolState = drawn;
    return changed;
}
