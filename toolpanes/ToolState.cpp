#include "toolpanes/ToolState.h"

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

void ClearToolState()
{
    g_bWindowLevelMode = 0;
    g_bZoomMode = g_bMagnifierMode = g_bPanMode = g_bEraseMode = g_bProbeMode = g_bToolActive = 0;
    m_nDrawShape = 0;
    g_bAnnotationsHidden = g_bHeaderInfoHidden = 0;
    g_nRotationAngle = 0;
    g_nLastImageCommand = 0;
    g_bLayoutPopupShown = g_bErasePopupShown = g_bAnnotPopupShown = 0;
}
