// CToolView: the Invert button and the four buttons that open and close the tool panels
// (orientation, annotation, erase, layout) beside themselves.

#include "toolpanes/CToolView.h"

// Qt
#include <QGuiApplication>

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "toolpanes/CAnotTools.h"
#include "toolpanes/CEraseTools.h"
#include "toolpanes/CLayout.h"
#include "toolpanes/COrientationTools.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

namespace {

enum Panel { kOrientation, kTwoButtons, kLayout };

} // namespace

QPoint CToolView::PanelPlace(const CImageButton& button, QSize size, int nPanel) const
{
    QWidget* top = window();
    const QRect b(button.mapTo(top, QPoint(0, 0)), button.size());
    const int h = theApp.m_rcMonitor.Height();
    switch (nPanel) {
    case kOrientation:
        return ToolBarGeometry::OrientationPanelPlace(b, h);
    case kTwoButtons:
        return ToolBarGeometry::TwoButtonPanelPlace(b, h);
    default:
        return ToolBarGeometry::LayoutPanelPlace(b, size);
    }
}

void CToolView::ClosePanel(QPointer<QWidget>& panel)
{
    if (!panel)
        return;
    panel->hide();
    panel->deleteLater();
    panel = nullptr;
}

void CToolView::OnInvert()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        view->TakeImageCommand(ID_IMAGE_NEGATIVE);
        view->m_bViewAdjusted = 1;
        view->Invalidate(TRUE);
        if (!g_bMagnifierMode)
            view->HideMagnifierWindow();
        view->InvertImagesInOtherViewPort();
        view->setFocus(Qt::OtherFocusReason);
        view->Invalidate(TRUE);
        QGuiApplication::restoreOverrideCursor();
    } catch (...) {
        QGuiApplication::restoreOverrideCursor();
        ReportSystemError(GetLastError(), "CToolView::OnInvert");
    }
}

void CToolView::OnOrientation()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        if (!m_bOrientationPopupShown) {
            auto* panel = qobject_cast<COrientationTools*>(m_pOrientationPopup.data());
            if (!panel) {
                panel = new COrientationTools(window());
                panel->OnInitDialog();
                m_pOrientationPopup = panel;
            }
            panel->move(PanelPlace(m_btnOrientation, panel->size(), kOrientation));
            m_bOrientationPopupShown = 1;
            panel->show();
            panel->raise();
        } else {
            ClosePanel(m_pOrientationPopup);
            m_bOrientationPopupShown = 0;
            ResetToolState();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnOrientation");
    }
}

void CToolView::OnAnottools()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        if (!g_bAnnotPopupShown) {
            auto* panel = qobject_cast<CAnotTools*>(m_pAnnotPopup.data());
            if (!panel) {
                panel = new CAnotTools(window());
                panel->OnInitDialog();
                m_pAnnotPopup = panel;
            }
            panel->move(PanelPlace(m_btnAnnotation, panel->size(), kTwoButtons));
            g_bAnnotPopupShown = 1;
            panel->ReleaseButtons();
            panel->show();
            panel->raise();
        } else {
            g_bToolActive = 0;
            m_nDrawShape = 0;
            ClosePanel(m_pAnnotPopup);
            g_bAnnotPopupShown = 0;
            ResetToolState();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnAnottools");
    }
}

void CToolView::OnErasetools()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        // No drawing tool while the panel is open: no drawing button shows checked
        m_nDrawShape = 0;
        SyncToolButtons();
        if (!g_bErasePopupShown) {
            auto* panel = qobject_cast<CEraseTools*>(m_pErasePopup.data());
            if (!panel) {
                panel = new CEraseTools(window());
                panel->OnInitDialog();
                m_pErasePopup = panel;
            }
            panel->move(PanelPlace(m_btnEraseTools, panel->size(), kTwoButtons));
            g_bErasePopupShown = 1;
            panel->show();
            panel->raise();
            panel->ReleaseEraseButton();
        } else {
            g_bToolActive = 0;
            g_bEraseMode = 0;
            // Erase All closes its own panel from inside its handler
            ClosePanel(m_pErasePopup);
            g_bErasePopupShown = 0;
            ResetToolState();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnErasetools");
    }
}

void CToolView::OnChangeayout()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        if (!g_bLayoutPopupShown) {
            // A fresh panel every time: it shows the current mode
            ClosePanel(m_pLayoutPopup);
            auto* panel = new CLayout(window());
            panel->OnInitDialog();
            m_pLayoutPopup = panel;
            panel->move(PanelPlace(m_btnLayout, panel->size(), kLayout));
            g_bLayoutPopupShown = 1;
            panel->show();
            panel->raise();
        } else {
            if (auto* panel = qobject_cast<CLayout*>(m_pLayoutPopup.data()))
                panel->ShowCustomLayout(FALSE);
            ClosePanel(m_pLayoutPopup);
            g_bLayoutPopupShown = 0;
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnChangeayout");
    }
}
