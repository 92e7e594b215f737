#pragma once
// The erase panel beside the tool bar's EraseTools button: the eraser (a click removes the
// shape under the pointer) and Erase All (every shape of the selected view's image at once,
// then the panel closes).

// std
#include <array>

// Orvane
#include "controls/CImageButton.h"
#include "toolpanes/CToolPanel.h"

/// The erase panel. UI thread only.
class CEraseTools : public CToolPanel
{
    Q_OBJECT
public:
    explicit CEraseTools(QWidget* parent = nullptr);

    /// Sizes the panel and its buttons, loads the skins and tooltips. TRUE.
    BOOL OnInitDialog();
    /// The panel (2 s + 5) x (s + 2) at (0, 0), Erase All at (b + 2, 1), Erase at (1, 1).
    void ResizeButtons();
    /// IDC_BTN_ERASE and IDC_BTN_ERASEALL, once a study is shown.
    void OnCommand(int nID) override;
    /// The button at `index` (0 Erase, 1 Erase All) toggled (another index also releases
    /// Erase); a button that ends released hides the panel and clears g_bErasePopupShown.
    void ToggleButton(int index);
    /// Erase released; the tool bar calls it whenever it shows the panel.
    void ReleaseEraseButton();
    /// The eraser toggled.
    void OnErase();
    /// Every shape of the selected view's image removed; the tool bar then closes the panel,
    /// which goes once this handler has returned.
    void OnEraseAll();

    CImageButton m_btnEraseAll;
    CImageButton m_btnErase;
    std::array<CImageButton*, 2> m_apButtons{}; ///< 0 Erase, 1 Erase All
};
