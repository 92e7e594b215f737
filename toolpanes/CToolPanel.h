#pragma once
// What the small tool panels (annotation, erase, orientation) share: a frameless child of the
// main window painted black with a one-pixel white frame, skinned toggle buttons whose clicks
// (a release over the button) become commands, the button side from the monitor, and the
// viewport they act on.

// Qt
#include <QWidget>

// Orvane
#include "platform/WinTypes.h"

class CImageButton;
class CVantrelView;

/// The base of the three small tool panels. UI thread only.
class CToolPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CToolPanel(QWidget* parent = nullptr);
    ~CToolPanel() override;

    /// A click on one of the panel's buttons (its control id).
    virtual void OnCommand(int nID) = 0;

    /// The button side (real pixels) on theApp's monitor.
    static double ButtonSide();
    /// Shows a toggle button pressed or released.
    static void SetPressed(CImageButton& button, bool bPressed);
    static bool IsPressed(const CImageButton& button);
    /// The selected viewport of the grid frame, or null.
    static CVantrelView* SelectedView();

protected:
    /// Makes `button` one of the panel's toggle buttons with its skins and tooltip; call it
    /// after the button has its size.
    void SetUpButton(CImageButton& button, UINT nNormal, UINT nPressed, UINT nHover, const char* pszToolTip);
    /// The tooltip font of the tool surfaces; `pszWhere` names the panel in a failure report.
    void SetToolTipFont(const char* pszWhere);

    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnButtonCommand(int nID);

    int m_nReleasedInside = 0; // id of the button last released over itself
};
