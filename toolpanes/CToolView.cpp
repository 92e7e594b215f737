#include "toolpanes/CToolView.h"

// Qt
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

// Orvane
#include "state/CAppState.h"
#include "toolpanes/IToolPanesMainWindow.h"
#include "controls/CMemoryDC.h"
#include "platform/CxImage.h"
#include "platform/Gdi.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyList.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/RenderWindow.h"

namespace {

QPointer<CToolView> g_pToolBar;

// The buttons by tool index, then Exit: id, tooltip, skins (normal, pressed, hover)
struct ButtonSpec
{
    int nID;
    const char* tooltip;
    UINT nNormal, nPressed, nHover;
};
constexpr ButtonSpec kButtons[17] = {
    {IDC_BTN_RESET, "Reset", 312, 313, 311},
    {IDC_BTN_MAGNIFY, "Magnify", 303, 304, 302},
    {IDC_BTN_ZOOM, "Zoom", 318, 316, 317},
    {IDC_BTN_PAN, "Pan", 306, 298, 305},
    {IDC_BTN_INVERT, "Invert", 294, 295, 293},
    {IDC_BTN_ORIENTATION, "Orientation Tools", 358, 359, 357},
    {IDC_BTN_PROBE, "Probe", 309, 310, 308},
    {IDC_BTN_WINDOWLEVEL, "Window Width/Level", 340, 337, 339},
    {IDC_BTN_LINEAR, "Linear Measurement", 300, 301, 299},
    {IDC_BTN_LINEANGLE, "Line Angle", 356, 354, 355},
    {IDC_BTN_ANNOTATION, "Line/Text", 368, 366, 367},
    {IDC_BTN_ELLIPSE, "Ellipse", 282, 283, 281},
    {IDC_BTN_ERASETOOLS, "EraseTools", 371, 369, 370},
    {IDC_BTN_STUDYLIST, "Study List", 352, 353, 351},
    {IDC_BTN_LAYOUT, "Layout", 343, 341, 342},
    {IDC_BTN_CINE, "Cine", 374, 372, 373},
    {IDC_BTN_EXIT, "Exit", 338, 338, 338},
};

bool IsCtOrMr(const QString& modality)
{
    return modality == QLatin1String("CT") || modality == QLatin1String("MR");
}

} // namespace

CToolView::CToolView(QWidget* parent)
    : QWidget(parent)
    , m_btnCine(IDC_BTN_CINE, this)
    , m_btnLineAngle(IDC_BTN_LINEANGLE, this)
    , m_btnAnnotation(IDC_BTN_ANNOTATION, this)
    , m_btnStudyList(IDC_BTN_STUDYLIST, this)
    , m_btnEllipse(IDC_BTN_ELLIPSE, this)
    , m_btnProbe(IDC_BTN_PROBE, this)
    , m_btnWindowLevel(IDC_BTN_WINDOWLEVEL, this)
    , m_btnEraseTools(IDC_BTN_ERASETOOLS, this)
    , m_btnPan(IDC_BTN_PAN, this)
    , m_btnMagnify(IDC_BTN_MAGNIFY, this)
    , m_btnZoom(IDC_BTN_ZOOM, this)
    , m_btnReset(IDC_BTN_RESET, this)
    , m_btnInvert(IDC_BTN_INVERT, this)
    , m_btnOrientation(IDC_BTN_ORIENTATION, this)
    , m_btnLinear(IDC_BTN_LINEAR, this)
    , m_btnLayout(IDC_BTN_LAYOUT, this)
    , m_btnExit(IDC_BTN_EXIT, this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    m_apToolButtons = {&m_btnReset, &m_btnMagnify, &m_btnZoom, &m_btnPan, &m_btnInvert, &m_btnOrientation,
                       &m_btnProbe, &m_btnWindowLevel, &m_btnLinear, &m_btnLineAngle, &m_btnAnnotation,
                       &m_btnEllipse, &m_btnEraseTools, &m_btnStudyList, &m_btnLayout, &m_btnCine};
    installEventFilter(this);
    for (CImageButton* button : m_apToolButtons) {
        // A click on the bar leaves the keyboard with the view
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        connect(button, &CImageButton::Command, this, &CToolView::OnButtonCommand);
    }
    m_btnExit.setFocusPolicy(Qt::NoFocus);
    m_btnExit.installEventFilter(this);
    connect(&m_btnExit, &CImageButton::Command, this, &CToolView::OnButtonCommand);
    g_pToolBar = this;
}

CToolView::~CToolView()
{
    for (QPointer<QWidget>* panel : {&m_pOrientationPopup, &m_pLayoutPopup, &m_pErasePopup, &m_pAnnotPopup})
        delete panel->data();
}

CToolView* CToolView::GetToolBar()
{
    return g_pToolBar.data();
}

CImageButton* CToolView::GetToolButton(int nIndex) const
{
    return nIndex >= 0 && nIndex < int(m_apToolButtons.size()) ? m_apToolButtons[size_t(nIndex)] : nullptr;
}

void CToolView::OnInitialUpdate()
{
    try {
        SetToolTipFont();
        OnRelayoutToolbar();
        for (size_t i = 0; i < 17; ++i) {
            CImageButton* button = i < 16 ? m_apToolButtons[i] : &m_btnExit;
            const ButtonSpec& spec = kButtons[i];
            button->SetImages(spec.nNormal, spec.nPressed, spec.nHover);
            button->m_bToggle = spec.nID != IDC_BTN_RESET;
            button->m_nState = 0;
            button->setToolTip(QString::fromLatin1(spec.tooltip));
            button->update();
        }
        ResetToolState();
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnInitialUpdate");
    }
}

void CToolView::SetToolTipFont()
{
    try {
        // One font for the tooltips of every tool surface
        QToolTip::setFont(ToolBarGeometry::ToolTipFont(theApp.m_rcMonitor.Width()));
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::SetToolTipFont");
    }
}

int CToolView::OnRelayoutToolbar()
{
    const ToolBarGeometry::Layout layout = ToolBarGeometry::ToolBarLayout(
        theApp.m_rcMonitor.Width(), theApp.m_rcMonitor.Height(), theApp.m_nViewAreaWidth, theApp.m_nToolRowHeight);
    for (size_t i = 0; i < m_apToolButtons.size(); ++i)
        m_apToolButtons[i]->setGeometry(layout.tools[i]);
    m_btnExit.setGeometry(layout.exit);
    update();
    return 1;
}

// --- The tool state on the buttons ---------------------------------------------------------

void CToolView::ShowToolState()
{
    for (size_t i = 0; i < m_apToolButtons.size(); ++i) {
        CImageButton* button = m_apToolButtons[i];
        const BOOL checked = button->m_bToggle && IsToolButtonChecked(int(i)) ? TRUE : FALSE;
        if (button->m_bChecked != checked || (button->m_nState == 1) != bool(checked)) {
            button->m_bChecked = checked;
            button->m_nState = checked ? 1 : 0;
        }
        button->update();
    }
}

void CToolView::ResetToolState()
{
    SetDefaultToolState();
    SyncToolButtons();
    // The bar shows the state also before it is a pane of the child frame
    ShowToolState();
}

void CToolView::ReleaseToolButtons()
{
    SyncToolButtons();
}

void CToolView::CheckToolButton(int, BYTE)
{
    FallBackToDefaultTool();
    SyncToolButtons();
}

void CToolView::EnableProbeButton(BOOL bEnable)
{
    m_btnProbe.setEnabled(bEnable != 0);
}

// --- Commands and the press filter -----------------------------------------------------------

void CToolView::OnButtonCommand(int nID)
{
    // A release that ended away from the button is no click
    if (nID != m_nReleasedInside)
        return;
    m_nReleasedInside = 0;
    OnCommand(nID);
}

void CToolView::OnCommand(int nID)
{
    switch (nID) {
    case IDC_BTN_RESET:
        OnResetImage();
        break;
    case IDC_BTN_MAGNIFY:
        OnMagnify();
        break;
    case IDC_BTN_ZOOM:
        OnZoom();
        break;
    case IDC_BTN_PAN:
        OnPan();
        break;
    case IDC_BTN_INVERT:
        OnInvert();
        break;
    case IDC_BTN_ORIENTATION:
        OnOrientation();
        break;
    case IDC_BTN_PROBE:
        OnProbe();
        break;
    case IDC_BTN_WINDOWLEVEL:
        OnWindowWidthLevel();
        break;
    case IDC_BTN_LINEAR:
        OnDrawLinear();
        break;
    case IDC_BTN_LINEANGLE:
        OnDrawLineAngle();
        break;
    case IDC_BTN_ANNOTATION:
        OnAnottools();
        break;
    case IDC_BTN_ELLIPSE:
        OnEllipse();
        break;
    case IDC_BTN_ERASETOOLS:
        OnErasetools();
        break;
    case IDC_BTN_STUDYLIST:
        OnStudyList();
        break;
    case IDC_BTN_LAYOUT:
        OnChangeayout();
        break;
    case IDC_BTN_CINE:
        OnCine();
        break;
    case IDC_BTN_EXIT:
        OnExit();
        break;
    default:
        break;
    }
}

bool CToolView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton)
            OnPress(watched);
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (auto* button = qobject_cast<CImageButton*>(watched); button && mouse->button() == Qt::LeftButton)
            m_nReleasedInside = button->rect().contains(mouse->position().toPoint()) ? button->GetDlgCtrlID() : 0;
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CToolView::OnPress(QObject* pTarget)
{
    try {
        if (CMyFrameWnd* grid = theApp.m_pViewGridFrame)
            grid->CloseTextEditsInAllViews();
        // Hidden, not deleted: the panel's own button shows it again
        if (g_bLayoutPopupShown && pTarget != &m_btnLayout) {
            g_bLayoutPopupShown = 0;
            if (m_pLayoutPopup)
                m_pLayoutPopup->hide();
        }
        if (m_bOrientationPopupShown && pTarget != &m_btnOrientation) {
            m_bOrientationPopupShown = 0;
            if (m_pOrientationPopup)
                m_pOrientationPopup->hide();
        }
        if (g_bErasePopupShown && pTarget != &m_btnEraseTools) {
            g_bErasePopupShown = 0;
            if (m_pErasePopup)
                m_pErasePopup->hide();
        }
        if (g_bAnnotPopupShown && pTarget != &m_btnAnnotation) {
            g_bAnnotPopupShown = 0;
            if (m_pAnnotPopup)
                m_pAnnotPopup->hide();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::PreTranslateMessage");
    }
}

void CToolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const RECT client{0, 0, width(), height()};
    CMemoryDC dc(&painter, &client);
    Gdi::FillSolidRect(dc, client, RGB(0, 0, 0));
    Gdi::FrameRect(dc, client, RGB(255, 255, 255));
}

// --- Handlers --------------------------------------------------------------------------------

CVantrelView* CToolView::ActiveView()
{
    CMyFrameWnd* grid = theApp.m_pViewGridFrame;
    return grid ? grid->GetActiveView() : nullptr;
}

CVantrelView* CToolView::SelectedView()
{
    CMyFrameWnd* grid = theApp.m_pViewGridFrame;
    return grid ? grid->GetSelectedView() : nullptr;
}

void CToolView::OnZoom()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        ToggleToolMode(ToolMode::Zoom);
        view->HideMagnifierWindow();
        view->m_bViewAdjusted = 1;
        view->m_bZoomPanChanged = 1;
        CheckToolButton(TB_ZOOM, TRUE);
        view->setFocus(Qt::OtherFocusReason);
        view->Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnZoom");
    }
}

void CToolView::OnMagnify()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        if (CVantrelView* view = SelectedView()) {
            view->setFocus(Qt::OtherFocusReason);
            ToggleToolMode(ToolMode::Magnifier);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnMagnify");
    }
    CheckToolButton(TB_MAGNIFY, TRUE);
}

void CToolView::OnPan()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        CVantrelView* view = ActiveView();
        if (view) {
            view->setFocus(Qt::OtherFocusReason);
            if (view->m_bCineRunning)
                return;
            view->m_bViewAdjusted = 1;
            view->m_bZoomPanChanged = 1;
        }
        ToggleToolMode(ToolMode::Pan);
        if (view)
            view->Invalidate(TRUE);
        CheckToolButton(TB_PAN, TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnPan");
    }
}

void CToolView::OnProbe()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        // The probe is the PROBE drawing tool while it is on
        ToggleToolMode(ToolMode::Probe);
        view->Invalidate(TRUE);
        CheckToolButton(TB_PROBE, TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnProbe");
    }
}

void CToolView::OnWindowWidthLevel()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        CVantrelView* view = SelectedView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        ToggleToolMode(ToolMode::WindowLevel);
        CheckToolButton(TB_WINDOWLEVEL, TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnWindowWidthLevel");
    }
}

void CToolView::OnDrawLinear()
{
    try {
        if (!theApp.m_bImagesLoaded || g_bAnnotationsHidden)
            return;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        ToggleDrawingTool(LINELENGTH);
        view->HideMagnifierWindow();
        view->Invalidate(TRUE);
        CheckToolButton(TB_LINEAR, TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnDrawLinear");
    }
}

void CToolView::OnDrawLineAngle()
{
    try {
        if (!theApp.m_bImagesLoaded || g_bAnnotationsHidden)
            return;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        ToggleDrawingTool(LINEANGLE);
        view->HideMagnifierWindow();
        CheckToolButton(TB_LINEANGLE, TRUE);
        view->Invalidate(TRUE);
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnDrawLinear");
    }
}

void CToolView::OnEllipse()
{
    try {
        if (!theApp.m_bImagesLoaded || g_bAnnotationsHidden)
            return;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;
        ToggleDrawingTool(ELLIPSE);
        view->HideMagnifierWindow();
        view->Invalidate(TRUE);
        CheckToolButton(TB_ELLIPSE, TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnEllipse");
    }
}

void CToolView::OnStudyList()
{
    CStudyList* list = theApp.m_pStudyListDlg;
    if (list && !list->isVisible()) {
        list->show();
        list->CenterWindow();
    }
}

void CToolView::OnExit()
{
    if (QWidget* main = GetToolPanesMainWindow() ? GetToolPanesMainWindow()->GetWindow() : nullptr)
        main->close();
    else if (QWidget* top = window())
        top->close();
}

void CToolView::OnResetImage()
{
    try {
        if (!theApp.m_bImagesLoaded)
            return;
        m_btnReset.m_nState = 1;
        m_btnReset.update();
        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        CVantrelView* view = ActiveView();
        if (!view)
            return;
        view->setFocus(Qt::OtherFocusReason);
        if (view->m_bCineRunning)
            return;

        ClearToolModes();
        g_bToolActive = 0;
        m_nDrawShape = 0;
        g_nRotationAngle = 0;
        view->m_nCheckedPresetId = ID_WINDOW_PRESET_DEFAULT;
        view->m_bZoomPanChanged = 0;
        EnableProbeButton(IsCtOrMr(view->m_strModality) ? TRUE : FALSE);
        CheckToolButton(TB_RESET, TRUE);
        grid->SetActiveView(view);

        view->m_bMinZoomReached = 0;
        view->m_bEraseBackground = view->m_bViewAdjusted ? 1 : 0;
        view->m_bViewAdjusted = 0;
        if (!view->ResetViewImage())
            return;

        CVantrelDoc* document = view->GetDocument();
        if (document) {
            document->m_fWindowWidth = document->m_fDefaultWindowWidth;
            document->m_fWindowCenter = document->m_fDefaultWindowCenter;
            const RenderWindow window = ToRenderWindow(document->m_fWindowWidth, document->m_fWindowCenter);
            view->RenderWithWindowLevel(window.nWidth, window.nCentre);
        }
        if (view->m_pSeries)
            view->m_pSeries->SetWindowChanged(FALSE);
        view->ResetImagesInOtherViewPort();
        view->DrawWindowLevelText();

        ResetToolState();
        view->Invalidate(TRUE);
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), "CToolView::OnResetImage");
    }
}
