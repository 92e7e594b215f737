#pragma once
// The tool state shown: the tool bar's buttons and the viewports' pointers, and the panels that
// input in a viewport closes. UI thread only.

/// Shows the tool state: every button of the tool bar checked exactly when its tool is on
/// (IsToolButtonChecked), every viewport's pointer as its tool wants it, a half-drawn angle
/// dropped once its tool is no longer on, and every viewport repainted when what it draws
/// changed (the magnifier hides the shapes; the drawing tool draws its stroke). Every path that
/// changes the tool state (tool bar, panels, drops, turns and flips, the magnifier) ends with
/// this call. Nothing is shown without a tool bar or viewports.
void SyncToolButtons();

/// Input in a viewport closes panels: a move hides the orientation panel, a press hides the
/// layout panel and its picker (hidden, not deleted; their buttons show them again).
void HidePanelsOnViewInput(bool bPress);
