#pragma once
// The annotation panel beside the tool bar's Line/Text button: the Line (arrow) and Text
// tools. Pressing a tool selects it and keeps its button pressed; pressing it again ends the
// tool and hides the panel.

// std
#include <array>

// Orvane
#include "controls/CImageButton.h"
#include "toolpanes/CToolPanel.h"

/// The annotation panel. UI thread only.
class CAnotTools : public CToolPanel
{
    Q_OBJECT
public:
    explicit CAnotTools(QWidget* parent = nullptr);

    /// Sizes the panel and its buttons, loads the skins and tooltips. TRUE.
    BOOL OnInitDialog();
    /// The panel (2 s + 5) x (s + 2) at (0, 0), Line at (b + 2, 1), Text at (1, 1), b = trunc(s).
    void ResizeButtons();
    /// IDC_BTN_LINE and IDC_BTN_TEXT, once a study is shown.
    void OnCommand(int nID) override;
    /// The other button released, the button at `index` (0 Line, 1 Text) toggled; a button
    /// that ends released hides the panel and clears g_bAnnotPopupShown.
    void SetButtonStates(int index);
    /// Both buttons released; the tool bar calls it whenever it shows the panel.
    void ReleaseButtons();
    /// The Line tool (LINEARROW) on, or off when its button is pressed.
    void onDrawLine();
    /// The Text tool (TEXTOUT) on, or off when its button is pressed.
    void OnDrawText();

    CImageButton m_btnLine;
    CImageButton m_btnText;
    std::array<CImageButton*, 2> m_apButtons{}; ///< 0 Line, 1 Text
};
