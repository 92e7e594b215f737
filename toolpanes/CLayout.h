#pragma once
// The layout panel beside the tool bar's Layout button: six buttons for the common grids, a
// Custom button that opens the four by four picker beside it while the pointer stays there,
// and the choice of filling the grid by series or by image.

// Qt
#include <QPointer>
#include <QRadioButton>
#include <QRect>
#include <QWidget>

// std
#include <array>

// Orvane
#include "controls/CImageButton.h"
#include "controls/CSkinGroupBox.h"
#include "controls/CTransparentStatic.h"
#include "platform/WinTypes.h"

class CLayoutPickerDlg;

/// The layout panel: a frameless child of the main window. UI thread only.
class CLayout : public QWidget
{
    Q_OBJECT
public:
    explicit CLayout(QWidget* parent = nullptr);
    /// The picker goes with the panel.
    ~CLayout() override;

    /// Places the controls, loads the skins, shows the application's layout mode (study mode
    /// becomes series mode), gives the labels their font. TRUE.
    BOOL OnInitDialog();
    /// The layout command of one of the six layout buttons (IDC_BTN_LAYOUT1X1 ...), else 0.
    static int LayoutCommandOf(int nButtonID);
    /// A button's click: a layout button hides the panel and the picker and sends its command
    /// to the grid frame; Custom opens the picker.
    void OnCommand(int nID);
    /// The radio buttons: the mode, when it changes, with the grid frame's series flag, and the
    /// grid rebuilt by it.
    void OnRadioSeries();
    void OnRadioImage();
    void OnRadioStudy();
    void OnCustom();
    /// A click on a label: that mode (0 study, 1 series, 2 image) shown and the grid rebuilt
    /// by it, also when it is the mode already; the series flag is left as it is.
    void SelectMode(int mode);
    /// Rebuilds the recorded grid by `mode` (2 by image, 1 by series, 0 nothing); without a
    /// grid the single-view layout command.
    void ChangeLayout(int mode);
    /// TRUE: opens the picker beside the Custom button unless it is open; FALSE: closes it.
    void ShowCustomLayout(BOOL bShow);

    QRect m_rcCustomHover;                    ///< the Custom button widened 10 pixels to the right
    QPointer<CLayoutPickerDlg> m_pLayoutPicker; ///< the open picker, owned
    std::array<CSkinGroupBox*, 8> m_apGroups{}; ///< the frames 1524 ... 1531
    CImageButton m_btnLayout1x1;
    CImageButton m_btnLayout1x2;
    CImageButton m_btnLayout2x1;
    CImageButton m_btnLayout2x2;
    CImageButton m_btnLayout4x2;
    CImageButton m_btnLayout4x4;
    CImageButton m_btnCustom;
    CTransparentStatic m_lblStudy;
    CTransparentStatic m_lblSeries;
    CTransparentStatic m_lblImage;
    QRadioButton m_radStudy;
    QRadioButton m_radSeries;
    QRadioButton m_radImage;
    int m_nLayoutRadio = 1;                   ///< 0 study, 1 series, 2 image

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateRadios();
    void ReadRadios();
    void Watch(QWidget* widget);

    int m_nReleasedInside = 0; // id of the button last released over itself
};
