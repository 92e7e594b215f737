#include "toolpanes/COrientationTools.h"

// Qt
#include <QGuiApplication>

// std
#include <cmath>

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CVantrelView.h"

namespace {

// The wait cursor while an operation runs
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The eraser and the probe end with a turn or flip
void EndEraserAndProbe()
{
    g_bEraseMode = 0;
    if (g_bProbeMode) {
        g_bProbeMode = 0;
        m_nDrawShape = 0;
    }
    FallBackToDefaultTool();
    SyncToolButtons();
}

} // namespace

COrientationTools::COrientationTools(QWidget* parent)
    : CToolPanel(parent)
    , m_btnRotateClockwise(IDC_BTN_ROTATE_CLOCKWISE, this)
    , m_btnRotateAntiClockwise(IDC_BTN_ROTATE_ANTICLOCKWISE, this)
    , m_btnFlipVertical(IDC_BTN_FLIP_VERTICAL, this)
    , m_btnFlipHorizontal(IDC_BTN_FLIP_HORIZONTAL, this)
{
    m_apButtons = {&m_btnRotateAntiClockwise, &m_btnRotateClockwise, &m_btnFlipHorizontal, &m_btnFlipVertical};
}

BOOL COrientationTools::OnInitDialog()
{
    ResizeButtons();
    SetToolTipFont("COrientationTools::SetToolTipFont");
    SetUpButton(m_btnRotateClockwise, 330, 325, 329, "Rotate Clockwise");
    SetUpButton(m_btnRotateAntiClockwise, 327, 328, 326, "Rotate Anti-Clockwise");
    SetUpButton(m_btnFlipVertical, 363, 364, 365, "Flip Vertical");
    SetUpButton(m_btnFlipHorizontal, 360, 361, 362, "Flip Horizontal");
    return TRUE;
}

void COrientationTools::ResizeButtons()
{
    const double s = ButtonSide();
    const int b = int(std::trunc(s));
    setGeometry(QRect(QPoint(0, 0), ToolBarGeometry::OrientationPanelSize(s)));
    m_btnRotateAntiClockwise.setGeometry(1, 1, b, b);
    m_btnRotateClockwise.setGeometry(b + 3, 1, b, b);
    m_btnFlipHorizontal.setGeometry(1, b + 3, b, b);
    m_btnFlipVertical.setGeometry(b + 3, b + 3, b, b);
}

void COrientationTools::OnCommand(int nID)
{
    if (!theApp.m_bImagesLoaded)
        return;
    int index = -1;
    void (COrientationTools::*operation)() = nullptr;
    switch (nID) {
    case IDC_BTN_ROTATE_ANTICLOCKWISE:
        index = 0;
        operation = &COrientationTools::OnRotateAntiClockwise;
        break;
    case IDC_BTN_ROTATE_CLOCKWISE:
        index = 1;
        operation = &COrientationTools::OnRotateClockwise;
        break;
    case IDC_BTN_FLIP_HORIZONTAL:
        index = 2;
        operation = &COrientationTools::OnFlipHorizontal;
        break;
    case IDC_BTN_FLIP_VERTICAL:
        index = 3;
        operation = &COrientationTools::OnFlipVertical;
        break;
    default:
        return;
    }
    // Pressed while the operation runs
    ToggleButton(index);
    repaint();
    (this->*operation)();
    ToggleButton(index);
}

void COrientationTools::ToggleButton(int index)
{
    if (index < 0 || index >= int(m_apButtons.size()))
        return;
    for (int i = 0; i < int(m_apButtons.size()); ++i)
        if (i != index && IsPressed(*m_apButtons[size_t(i)]))
            SetPressed(*m_apButtons[size_t(i)], false);
    CImageButton& button = *m_apButtons[size_t(index)];
    SetPressed(button, !IsPressed(button));
}

void COrientationTools::Rotate(int nCommand, const char* pszWhere)
{
    try {
        CVantrelView* view = SelectedView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        WaitCursor wait;
        // The bitmap, the view's orientation, the extent and (unless zoomed or panned) the fit
        view->TakeImageCommand(nCommand);
        view->m_bViewAdjusted = 1;
        view->ClearImageMargins();
        view->m_bViewAdjusted = 1;
        g_nRotationAngle = (g_nRotationAngle + (nCommand == ID_IMAGE_ROTATERIGHT ? 90 : 270)) % 360;
        view->Invalidate(TRUE);
        EndEraserAndProbe();
        view->RotateRightImagesInOtherViewPort();
        if (!g_bMagnifierMode)
            view->HideMagnifierWindow();
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), pszWhere);
    }
}

void COrientationTools::OnRotateClockwise()
{
    Rotate(ID_IMAGE_ROTATERIGHT, "COrientationTools::OnRotateClockwise");
}

void COrientationTools::OnRotateAntiClockwise()
{
    Rotate(ID_IMAGE_ROTATELEFT, "COrientationTools::OnRotateAntiClockwise");
}

void COrientationTools::OnFlipHorizontal()
{
    try {
        CVantrelView* view = SelectedView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        // A mirror ends the magnifier tool
        g_bMagnifierMode = 0;
        EndEraserAndProbe();
        WaitCursor wait;
        view->FlipImagesInOtherViewPort();
        view->TakeImageCommand(ID_IMAGE_MIRROR);
        view->m_bViewAdjusted = 1;
        view->Invalidate(TRUE);
        view->HideMagnifierWindow();
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), "COrientationTools::OnFlipHorizontal");
    }
}

void COrientationTools::OnFlipVertical()
{
    try {
        CVantrelView* view = SelectedView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        WaitCursor wait;
        view->TakeImageCommand(ID_IMAGE_FLIP);
        view->m_bViewAdjusted = 1;
        view->Invalidate(TRUE);
        EndEraserAndProbe();
        view->FlipVImagesInOtherViewPort();
        if (!g_bMagnifierMode)
            view->HideMagnifierWindow();
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), "COrientationTools::OnFlipVertical");
    }
}
