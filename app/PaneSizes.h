#pragma once
// The sizes of the child frame's panes, from the monitor's width and height.

/// The pane sizes in pixels.
struct PaneSizes
{
    int nThumbColumnWidth = 0; ///< T: the thumbnail column
    int nViewAreaHeight = 0;   ///< V: the viewport row
    int nViewAreaWidth = 0;    ///< G = W - T: the grid column
    int nToolRowHeight = 0;    ///< R = H - V: the tool-bar row
};

/// Which column of the viewport-height table applies: the one used when the panes are built,
/// or the one used when the thumbnail column is shown or hidden (they differ for H >= 1600).
enum class PaneSizeTable { CreateClient, ToggleThumbnails };

/// The pane sizes of a monitor W x H; every product truncated toward zero.
/// T = 0.13 W (W <= 800), 0.12 W (<= 1152), 0.10 W (above), at most 160.
/// V, first match: portrait with H > 1200 0.93 H; W > 1024 and H <= 800 0.87 H; H = 600 500;
/// H <= 800 675; H < 1000 0.90 H; H = 1000 0.93 H; H < 1600 0.89 H; H < 2000 0.93 H (0.89 H
/// when toggling); H = 2000 0.93 H; above 0.93 H (0.92 H when toggling). V never exceeds H,
/// so R is never negative.
PaneSizes ComputePaneSizes(int nWidth, int nHeight, PaneSizeTable table);
