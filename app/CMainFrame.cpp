#include "app/CMainFrame.h"

// Qt
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QVBoxLayout>

// Orvane
#include "app/CChildFrmView.h"
#include "app/COstrevanApp.h"
#include "study/IThumbnailRun.h"
#include "platform/ReportSystemError.h"
#include "platform/CDocument.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/Gdi.h"
#include "toolpanes/CToolView.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CZoomView.h"

const char* const kBottomBarNotice = "Perlisk Orvane - DICOM file set viewer";

namespace {

void SetUpFrameButton(QPushButton& button, const RECT& rc, const char* iconPath)
{
    button.setGeometry(Gdi::ToQRect(rc));
    button.setFlat(true);
    button.setFocusPolicy(Qt::NoFocus);
    button.setIcon(QIcon(QString::fromLatin1(iconPath)));
    button.setIconSize(QSize(16, 16));
    // Flat on the caption bar; the pushed look while held down
    button.setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"
                                        "QPushButton:pressed { background: rgba(0, 0, 0, 110); }"));
    button.show();
    button.raise();
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame(int)
{
    // The frame's own text, seen only in the task bar
    setWindowTitle(QStringLiteral("Orvane"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    m_monitor = m_monitors.GetMonitor(0);
    m_monitor.GetMonitorRect(&theApp.m_rcMonitor);

    m_wndTopBar.setParent(this);
    m_wndTopBar.SetBarRect(RECT{0, 0, 0, 20});
    m_wndTopBar.SetGradient(TRUE);
    m_wndTopBar.SetBackColor(RGB(0, 0, 0));
    m_wndTopBar.SetGradientColor(0x808080);
    m_wndTopBar.SetFontName(QStringLiteral("Verdana"));
    m_wndTopBar.SetFontSize(100);
    m_wndTopBar.SetText(theApp.m_strTitle);
    m_wndTopBar.SetNoBorder(TRUE);

    m_wndBottomBar.setParent(this);
    m_wndBottomBar.SetTextShadow(TRUE);
    m_wndBottomBar.SetBarRect(RECT{0, 0, 0, 10});
    m_wndBottomBar.SetGradient(TRUE);
    m_wndBottomBar.SetBackColor(RGB(0, 0, 0));
    m_wndBottomBar.SetGradientColor(0x808080);
    m_wndBottomBar.SetFontName(QStringLiteral("Verdana"));
    m_wndBottomBar.SetFontSize(70);
    m_wndBottomBar.SetText(QString::fromLatin1(kBottomBarNotice));
    m_wndBottomBar.SetNoBorder(TRUE);

    m_pClient = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(m_pClient);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&m_wndTopBar);
    layout->addWidget(m_pClient, 1);
    layout->addWidget(&m_wndBottomBar);

    // Real buttons: they act only when released over the button that was pressed
    const int cx = theApp.m_rcMonitor.Width();
    m_rcClose = RECT{cx - 25, 2, cx - 5, 22};
    m_btnClose.setParent(this);
    SetUpFrameButton(m_btnClose, m_rcClose, ":/icon/260.png");
    m_rcMinimize = RECT{cx - 45, 2, cx - 25, 22};
    m_btnMinimize.setParent(this);
    m_btnMinimize.setText(QString());
    SetUpFrameButton(m_btnMinimize, m_rcMinimize, ":/icon/261.png");

    m_btnClose.installEventFilter(this);
    m_btnMinimize.installEventFilter(this);
    connect(&m_btnClose, &QPushButton::clicked, this, [this] { close(); });
    connect(&m_btnMinimize, &QPushButton::clicked, this, [this] { showMinimized(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { OnActivateApp(state == Qt::ApplicationActive); });
    return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // Which of the two buttons is held down, wherever the release happens
    if (watched == &m_btnClose || watched == &m_btnMinimize) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_bButtonPressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton ? 1 : m_bButtonPressed;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_bButtonPressed = 0;
    }
    return QWidget::eventFilter(watched, event);
}

CChildFrmView* CMainFrame::MDIGetActive() const
{
    return m_pClient ? m_pClient->findChild<CChildFrmView*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

CZoomView* CMainFrame::GetActiveView() const
{
    auto* view = qobject_cast<CZoomView*>(QApplication::focusWidget());
    return view && isAncestorOf(view) ? view : nullptr;
}

void CMainFrame::OnActivateApp(BOOL)
{
    try {
        if (CZoomView* view = GetActiveView()) {
            view->update();
            return;
        }
        if (CChildFrmView* child = MDIGetActive())
            if (CToolView* toolBar = child->GetToolView())
                toolBar->update();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMainFrame::OnActivateApp");
    }
}

void CMainFrame::EscapeFullScreen(int, int)
{
    try {
        const QRect monitor = Gdi::ToQRect(theApp.m_rcMonitor);
        if (m_pFullScreenChild) {
            setGeometry(monitor);
            m_pFullScreenChild = nullptr;
        } else {
            m_pFullScreenChild = MDIGetActive();
            setGeometry(monitor.adjusted(-1, 0, 1, 0));
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CMainFrame::EscapeFullScreen");
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Ending the loop closes the open windows, this one again: the sequence runs once
    if (m_bClosed) {
        event->accept();
        return;
    }
    try {
        if (CChildFrmView* child = MDIGetActive())
            if (IThumbnailRun* run = child->GetThumbnailRun())
                run->StopThumbnailThread();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMainFrame::OnClose");
    }
    try {
        // Removed, not closed: the close asks nothing about them
        if (theApp.m_pDocTemplate) {
            const std::vector<CDocument*> documents = theApp.m_pDocTemplate->GetDocuments();
            for (CDocument* document : documents)
                if (qobject_cast<CVantrelDoc*>(document))
                    theApp.m_pDocTemplate->RemoveDocument(document);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CMainFrame::OnClose");
    }
    m_bClosed = true;
    event->accept();
    QCoreApplication::quit();
}
