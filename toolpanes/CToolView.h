#pragma once
// The tool bar below the viewport grid: sixteen skinned tool buttons in a centred row and an
// Exit button at the right edge. Its handlers select the mouse tool (the tool state), act on the
// viewport grid and its selected or active view, open and close the tool panels, show the
// Study List again and end the program.

// Qt
#include <QPointer>
#include <QWidget>

// std
#include <array>

// Orvane
#include "controls/CImageButton.h"
#include "platform/WinTypes.h"

class CVantrelView;

/// The tool bar. The buttons take no keyboard focus, so keys go on reaching the views after a
/// click on the bar. UI thread only.
class CToolView : public QWidget
{
    Q_OBJECT
public:
    explicit CToolView(QWidget* parent = nullptr);
    /// The panels still open go with it.
    ~CToolView() override;

    /// The tool bar that shows the tool state (the one made last that still exists), or null.
    static CToolView* GetToolBar();

    /// The first update: the tooltip font, the button layout, the skins, the toggle flags, the
    /// tooltips and the default tool state (window/level on, its button checked).
    virtual void OnInitialUpdate();
    /// Lays the buttons out again from the monitor and theApp's m_nViewAreaWidth and
    /// m_nToolRowHeight, after a pane size changed. Returns 1.
    int OnRelayoutToolbar();

    // --- The tool state on the buttons --------------------------------------------------------

    /// Sets every button's checked state from the tool state (IsToolButtonChecked): the one
    /// place that checks and releases the buttons. SyncToolButtons calls it.
    void ShowToolState();
    /// The default tool state, shown (window/level on and its button checked). The panels call
    /// it when their tool ends.
    void ResetToolState();
    /// Shows the tool state after a panel selected a tool of its own: no button of the bar is
    /// checked for it.
    void ReleaseToolButtons();
    /// Ends a tool change made by the button at `nIndex`: the default state when no tool is on
    /// any more (the button ended unchecked), then the state shown on every button. `bToggle` is
    /// kept for the callers; the buttons show the state, whatever the index.
    void CheckToolButton(int nIndex, BYTE bToggle);
    /// Enables or disables the Probe button; the study loader and the reset call it.
    virtual void EnableProbeButton(BOOL bEnable);

    /// A command (a button's control id), as a click on the button or a panel sends it.
    void OnCommand(int nID);

    // --- Handlers ----------------------------------------------------------------------------
    // Unless said otherwise each does nothing before a study is shown (theApp.m_bImagesLoaded)
    // and acts on the grid frame's active view.

    void OnZoom();
    /// On the selected view.
    void OnMagnify();
    void OnPan();
    void OnProbe();
    /// On the selected view.
    void OnWindowWidthLevel();
    /// The three drawing tools of the bar; nothing while annotations are hidden.
    void OnDrawLinear();
    void OnDrawLineAngle();
    void OnEllipse();
    /// Shows the Study List dialog again, centred (also before a study is shown).
    void OnStudyList();
    /// Closes the main window: the ordered shut-down.
    void OnExit();
    /// The command IDC_BTN_RESET: ends every mode and resets the active view's image (zoom,
    /// pan, inversion, orientation, window, the points of its shapes) and, in image layout, the
    /// other panes'. Nothing until theApp.m_bImagesLoaded is set; the study loader sends it
    /// before every load.
    virtual void OnResetImage();

    // The panels' handlers: CToolViewPanels.cpp.
    /// The Cine button: the selected view's cine bar, which it sends IDC_BTN_PLAYCINENEW
    /// (CToolViewCine.cpp). A second press stops the loop and destroys the bar.
    virtual void OnCine();
    /// The Invert button: the active view's image inverted, and the other panes' in image layout.
    virtual void OnInvert();
    /// The Line/Text button: opens or closes the annotation panel.
    virtual void OnAnottools();
    /// The EraseTools button (and the erase panel's Erase All): opens or closes the erase panel.
    virtual void OnErasetools();
    /// The Orientation Tools button: opens or closes the orientation panel.
    virtual void OnOrientation();
    /// The Layout button: opens or closes the layout panel.
    virtual void OnChangeayout();

    /// The button at tool index `nIndex` (0..15), or null.
    CImageButton* GetToolButton(int nIndex) const;

    // The buttons, in the order of their declaration on the first platform
    CImageButton m_btnCine;
    CImageButton m_btnLineAngle;
    CImageButton m_btnAnnotation;
    CImageButton m_btnStudyList;
    CImageButton m_btnEllipse;
    CImageButton m_btnProbe;
    CImageButton m_btnWindowLevel;
    CImageButton m_btnEraseTools;
    CImageButton m_btnPan;
    CImageButton m_btnMagnify;
    CImageButton m_btnZoom;
    CImageButton m_btnReset;
    CImageButton m_btnInvert;
    CImageButton m_btnOrientation;
    CImageButton m_btnLinear;
    CImageButton m_btnLayout;
    CImageButton m_btnExit;
    /// The sixteen tool buttons in tool index order (ToolButtonIndex).
    std::array<CImageButton*, 16> m_apToolButtons{};

    // The panels, made by their buttons' handlers: frameless children of the main window. A
    // press anywhere on the bar but on a panel's own button hides it.
    int m_bOrientationPopupShown = 0;          ///< the orientation panel is shown
    QPointer<QWidget> m_pOrientationPopup;     ///< the orientation panel
    QPointer<QWidget> m_pLayoutPopup;          ///< the layout panel (shown: g_bLayoutPopupShown)
    QPointer<QWidget> m_pErasePopup;           ///< the erase panel (g_bErasePopupShown)
    QPointer<QWidget> m_pAnnotPopup;           ///< the annotation panel (g_bAnnotPopupShown)

protected:
    /// The tooltip font by the monitor width.
    void SetToolTipFont();
    /// A left or right press on the bar or a button: every text entry of the viewports ends,
    /// and every open panel whose button was not pressed is hidden.
    void OnPress(QObject* pTarget);

    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The grid frame's active view, or null.
    static CVantrelView* ActiveView();
    /// The grid frame's selected view, or null.
    static CVantrelView* SelectedView();
    /// A button's click: its command, when the release ended over the button.
    void OnButtonCommand(int nID);

    int m_nReleasedInside = 0; // id of the button last released over itself

    // The panels (CToolViewPanels.cpp)
    /// Where a panel of `size` opens beside `button`, in the coordinates of the panel's parent.
    QPoint PanelPlace(const CImageButton& button, QSize size, int nPanel) const;
    /// Hides a panel and has it deleted once the handler running now has returned (a panel's
    /// own button may be closing it).
    static void ClosePanel(QPointer<QWidget>& panel);
};
