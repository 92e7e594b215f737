#include "toolpanes/CAnotTools.h"

// std
#include <cmath>

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "toolpanes/CToolView.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CVantrelView.h"

CAnotTools::CAnotTools(QWidget* parent)
    : CToolPanel(parent)
    , m_btnLine(IDC_BTN_LINE, this)
    , m_btnText(IDC_BTN_TEXT, this)
{
    m_apButtons = {&m_btnLine, &m_btnText};
}

BOOL CAnotTools::OnInitDialog()
{
    ResizeButtons();
    SetToolTipFont("CAnotTools::SetToolTipFont");
    SetUpButton(m_btnLine, 297, 289, 296, "Line");
    SetUpButton(m_btnText, 315, 307, 314, "Text");
    return TRUE;
}

void CAnotTools::ResizeButtons()
{
    const double s = ButtonSide();
    const int b = int(std::trunc(s));
    setGeometry(QRect(QPoint(0, 0), ToolBarGeometry::TwoButtonPanelSize(s)));
    m_btnLine.setGeometry(b + 2, 1, b, b);
    m_btnText.setGeometry(1, 1, b, b);
}

void CAnotTools::OnCommand(int nID)
{
    if (!theApp.m_bImagesLoaded)
        return;
    if (nID == IDC_BTN_LINE) {
        onDrawLine();
        SetButtonStates(0);
    } else if (nID == IDC_BTN_TEXT) {
        OnDrawText();
        SetButtonStates(1);
    }
}

void CAnotTools::SetButtonStates(int index)
{
    if (index < 0 || index >= int(m_apButtons.size()))
        return;
    for (int i = 0; i < int(m_apButtons.size()); ++i)
        if (i != index && IsPressed(*m_apButtons[size_t(i)]))
            SetPressed(*m_apButtons[size_t(i)], false);
    CImageButton& button = *m_apButtons[size_t(index)];
    SetPressed(button, !IsPressed(button));
    if (!IsPressed(button)) {
        g_bAnnotPopupShown = 0;
        hide();
    }
}

void CAnotTools::ReleaseButtons()
{
    for (CImageButton* button : m_apButtons)
        SetPressed(*button, false);
}

void CAnotTools::onDrawLine()
{
    try {
        if (g_bAnnotationsHidden)
            return;
        CVantrelView* view = SelectedView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        ClearToolModes();
        view->HideMagnifierWindow();
        // A pressed button: this click ends the tool
        if (IsPressed(m_btnLine)) {
            g_bToolActive = 0;
            m_nDrawShape = 0;
        } else {
            g_bToolActive = 1;
            m_nDrawShape = LINEARROW;
        }
        FallBackToDefaultTool();
        if (CToolView* bar = CToolView::GetToolBar())
            bar->ReleaseToolButtons();
        else
            SyncToolButtons();
        view->Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CAnotTools::onDrawLine");
    }
}

void CAnotTools::OnDrawText()
{
    try {
        if (g_bAnnotationsHidden)
            return;
        CVantrelView* view = SelectedView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        ClearToolModes();
        view->HideMagnifierWindow();
        CToolView* bar = CToolView::GetToolBar();
        if (IsPressed(m_btnText)) {
            g_bToolActive = 0;
            m_nDrawShape = 0;
            view->Invalidate(TRUE);
            if (bar)
                bar->ResetToolState();
            else
                SetDefaultToolState();
        } else {
            g_bToolActive = 1;
            m_nDrawShape = TEXTOUT;
            view->Invalidate(TRUE);
            if (bar)
                bar->ReleaseToolButtons();
        }
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnAnnotation");
    }
}
