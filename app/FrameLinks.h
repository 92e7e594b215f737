#pragma once
// The links through which the floors below reach the frames above them: the study load, the
// views and the tool panes each see the main frame (theApp.m_pMainWnd), its active child frame
// and that frame's panes through interfaces of their own; these links forward to the real ones.

/// Sets the links of the study load, the views and the tool panes (once for the process; a
/// test may replace one with its own). UI thread only.
void LinkFrames();
