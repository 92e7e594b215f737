#include "toolpanes/CEraseTools.h"

// std
#include <cmath>

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "toolpanes/CToolView.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "viewer/CVantrelView.h"

CEraseTools::CEraseTools(QWidget* parent)
    : CToolPanel(parent)
    , m_btnEraseAll(IDC_BTN_ERASEALL, this)
    , m_btnErase(IDC_BTN_ERASE, this)
{
    m_apButtons = {&m_btnErase, &m_btnEraseAll};
}

BOOL CEraseTools::OnInitDialog()
{
    ResizeButtons();
    SetToolTipFont("CEraseTools::SetToolTipFont");
    SetUpButton(m_btnEraseAll, 288, 280, 287, "Erase All");
    SetUpButton(m_btnErase, 285, 286, 284, "Erase");
    return TRUE;
}

void CEraseTools::ResizeButtons()
{
    const double s = ButtonSide();
    const int b = int(std::trunc(s));
    setGeometry(QRect(QPoint(0, 0), ToolBarGeometry::TwoButtonPanelSize(s)));
    m_btnEraseAll.setGeometry(b + 2, 1, b, b);
    m_btnErase.setGeometry(1, 1, b, b);
}

void CEraseTools::OnCommand(int nID)
{
    if (!theApp.m_bImagesLoaded)
        return;
    if (nID == IDC_BTN_ERASE) {
        OnErase();
        ToggleButton(0);
    } else if (nID == IDC_BTN_ERASEALL) {
        OnEraseAll();
    }
}

void CEraseTools::ToggleButton(int index)
{
    if (index < 0 || index >= int(m_apButtons.size()))
        return;
    if (index != 0)
        SetPressed(m_btnErase, false);
    CImageButton& button = *m_apButtons[size_t(index)];
    SetPressed(button, !IsPressed(button));
    if (!IsPressed(button)) {
        g_bErasePopupShown = 0;
        hide();
    }
}

void CEraseTools::ReleaseEraseButton()
{
    SetPressed(m_btnErase, false);
}

void CEraseTools::OnErase()
{
    try {
        CVantrelView* view = SelectedView();
        if (!view || view->m_bCineRunning)
            return;
        const BYTE erase = g_bEraseMode ? 0 : 1;
        ClearToolModes();
        m_nDrawShape = 0;
        g_bEraseMode = erase;
        CToolView* bar = CToolView::GetToolBar();
        // A pressed button: this click ends the eraser
        if (IsPressed(m_btnErase) || !erase) {
            if (bar)
                bar->ResetToolState();
            else
                SetDefaultToolState();
        } else if (bar) {
            bar->ReleaseToolButtons();
        }
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), "CEraseTools::OnErase");
    }
}

void CEraseTools::OnEraseAll()
{
    try {
        if (CVantrelView* view = SelectedView()) {
            view->setFocus(Qt::OtherFocusReason);
            if (view->DeleteAllShapeControls())
                view->Invalidate(TRUE);
        }
        // The tool bar closes this panel; it is deleted once this handler has returned
        if (CToolView* bar = CToolView::GetToolBar())
            bar->OnCommand(IDC_BTN_ERASETOOLS);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnEraseall");
    }
}
