#pragma once
// The orientation panel beside the tool bar's Orientation Tools button: turn anticlockwise and
// clockwise, flip horizontally and vertically, on the selected viewport and, in an image
// layout, on the other panes. A button shows pressed while its operation runs.

// std
#include <array>

// Orvane
#include "controls/CImageButton.h"
#include "toolpanes/CToolPanel.h"

/// The orientation panel. UI thread only.
class COrientationTools : public CToolPanel
{
    Q_OBJECT
public:
    explicit COrientationTools(QWidget* parent = nullptr);

    /// Sizes the panel and its buttons, loads the skins and tooltips. TRUE.
    BOOL OnInitDialog();
    /// The panel 2 s + 4 square at (0, 0): anticlockwise (1, 1), clockwise (b + 3, 1), flip
    /// horizontal (1, b + 3), flip vertical (b + 3, b + 3).
    void ResizeButtons();
    /// The four buttons, once a study is shown: pressed, the operation, released.
    void OnCommand(int nID) override;
    /// The other buttons released, the button at `index` (0 anticlockwise, 1 clockwise, 2 flip
    /// horizontal, 3 flip vertical) toggled.
    void ToggleButton(int index);
    void OnRotateClockwise();
    void OnRotateAntiClockwise();
    /// Also turns the magnifier tool off.
    void OnFlipHorizontal();
    void OnFlipVertical();

    CImageButton m_btnRotateClockwise;
    CImageButton m_btnRotateAntiClockwise;
    CImageButton m_btnFlipVertical;
    CImageButton m_btnFlipHorizontal;
    std::array<CImageButton*, 4> m_apButtons{};

private:
    void Rotate(int nCommand, const char* pszWhere);
};
