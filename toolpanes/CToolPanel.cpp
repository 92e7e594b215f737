#include "toolpanes/CToolPanel.h"

// Qt
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

// Orvane
#include "state/CAppState.h"
#include "controls/CImageButton.h"
#include "controls/CMemoryDC.h"
#include "platform/Gdi.h"
#include "platform/ReportSystemError.h"
#include "toolpanes/ToolBarGeometry.h"
#include "viewer/CMyFrameWnd.h"

CToolPanel::CToolPanel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keys stay with the views
    setFocusPolicy(Qt::NoFocus);
}

CToolPanel::~CToolPanel() = default;

double CToolPanel::ButtonSide()
{
    return ToolBarGeometry::ButtonSize(theApp.m_rcMonitor.Width(), theApp.m_rcMonitor.Height());
}

void CToolPanel::SetPressed(CImageButton& button, bool bPressed)
{
    button.m_bChecked = bPressed ? TRUE : FALSE;
    button.m_nState = bPressed ? 1 : 0;
    button.update();
}

bool CToolPanel::IsPressed(const CImageButton& button)
{
    return button.m_bChecked != FALSE;
}

CVantrelView* CToolPanel::SelectedView()
{
    CMyFrameWnd* grid = theApp.m_pViewGridFrame;
    return grid ? grid->GetSelectedView() : nullptr;
}

void CToolPanel::SetUpButton(CImageButton& button, UINT nNormal, UINT nPressed, UINT nHover, const char* pszToolTip)
{
    button.m_nState = 0;
    button.SetImages(nNormal, nPressed, nHover);
    button.m_bToggle = TRUE;
    button.setToolTip(QString::fromLatin1(pszToolTip));
    button.setFocusPolicy(Qt::NoFocus);
    button.installEventFilter(this);
    connect(&button, &CImageButton::Command, this, &CToolPanel::OnButtonCommand, Qt::UniqueConnection);
    button.update();
}

void CToolPanel::SetToolTipFont(const char* pszWhere)
{
    try {
        QToolTip::setFont(ToolBarGeometry::ToolTipFont(theApp.m_rcMonitor.Width()));
    } catch (...) {
        ReportSystemError(GetLastError(), pszWhere);
    }
}

void CToolPanel::OnButtonCommand(int nID)
{
    // A release that ended away from the button is no click
    if (nID != m_nReleasedInside)
        return;
    m_nReleasedInside = 0;
    OnCommand(nID);
}

bool CToolPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (auto* button = qobject_cast<CImageButton*>(watched); button && mouse->button() == Qt::LeftButton)
            m_nReleasedInside = button->rect().contains(mouse->position().toPoint()) ? button->GetDlgCtrlID() : 0;
    }
    return QWidget::eventFilter(watched, event);
}

void CToolPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const RECT client{0, 0, width(), height()};
    CMemoryDC dc(&painter, &client);
    Gdi::FillSolidRect(dc, client, RGB(0, 0, 0));
    Gdi::FrameRect(dc, client, RGB(255, 255, 255));
}
