#include "viewer/CImageWnd.h"

// Qt
#include <QGuiApplication>
#include <QHideEvent>
#include <QPainter>

// Orvane
#include "state/CAppState.h"
#include "viewer/IViewMainWindow.h"
#include "platform/ReportSystemError.h"
#include "viewer/CMagnWnd.h"
#include "viewer/LensGeometry.h"

QPointer<CImageWnd> g_wndMagnifier;

CImageWnd::CImageWnd(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Another application taking over ends the stroke, as losing the capture did
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive && m_bActive)
            EndStroke(false);
    });
}

CImageWnd::~CImageWnd()
{
    try {
        if (m_bActive)
            EndStroke(false);
        Watch(false);
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::~CImageWnd");
    }
}

CImageWnd* CImageWnd::GetMagnifierWindow(QWidget* host)
{
    QWidget* window = host ? host->window() : GetViewMainWindow() ? GetViewMainWindow()->GetWindow() : nullptr;
    if (!window)
        return g_wndMagnifier;
    if (!g_wndMagnifier) {
        g_wndMagnifier = new CImageWnd(window);
    } else if (g_wndMagnifier->parentWidget() != window) {
        g_wndMagnifier->EndStroke(false);
        g_wndMagnifier->setParent(window);
        g_wndMagnifier->hide();
    }
    return g_wndMagnifier;
}

void CImageWnd::InitMembers(QWidget* pView)
{
    try {
        if (m_bActive)
            EndStroke(false);
        if (!m_pLens)
            m_pLens = new CMagnWnd(this);
        m_pLens->hide();
        m_bActive = 0;
        m_nZoom = theApp.m_nMagnifierZoom;
        m_nSize = theApp.m_nMagnifierSize;
        m_nOption = theApp.m_nMagnifierOption;
        m_hwndView = pView;
        PlaceOverView();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::InitMembers");
    }
}

void CImageWnd::PlaceOverView()
{
    if (!m_hwndView)
        return;
    QWidget* host = parentWidget();
    if (!host || !host->isAncestorOf(m_hwndView)) {
        setParent(m_hwndView->window());
        host = parentWidget();
        hide();
    }
    setGeometry(QRect(m_hwndView->mapTo(host, QPoint(0, 0)), m_hwndView->size()));
}

void CImageWnd::SetMagnifierSettings(int shape, int size, int zoom, int option)
{
    m_nShape = shape;
    m_nSize = size;
    m_nZoom = zoom;
    m_nOption = option;
    theApp.m_nMagnifierSize = size;
    theApp.m_nMagnifierZoom = zoom;
    theApp.m_nMagnifierOption = option;
    if (m_pLens)
        m_pLens->update();
}

void CImageWnd::GetMagnifierSettings(int* shape, int* size, int* zoom) const
{
    if (shape)
        *shape = m_nShape;
    if (size)
        *size = m_nSize;
    if (zoom)
        *zoom = m_nZoom;
}

void CImageWnd::DeleteMagnifier()
{
    try {
        if (m_bActive)
            EndStroke(false);
        delete m_pLens;
        m_pLens = nullptr;
        m_bmpCapture = QImage();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::DeleteMagnifier");
    }
}

QImage CImageWnd::GrabPicture(QWidget* pView)
{
    if (!pView)
        return QImage();
    return pView->grab().toImage();
}

void CImageWnd::SaveImage(const QImage& picture)
{
    try {
        const QSize size = m_hwndView ? m_hwndView->size() : picture.size();
        QImage capture = picture.convertToFormat(QImage::Format_RGB32);
        // A grab on a high-density screen has more pixels than the view has points
        if (!capture.isNull() && capture.size() != size)
            capture = capture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        capture.setDevicePixelRatio(1.0);
        m_bmpCapture = capture;
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::SaveImage");
    }
}

void CImageWnd::RefreshImage(BOOL)
{
    try {
        if (m_hwndView)
            m_hwndView->update();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::RefreshImage");
    }
}

void CImageWnd::PlaceLens(QPoint point)
{
    const RECT client{0, 0, width(), height()};
    const QPoint centre = LensGeometry::ClampCentre(point, LensGeometry::CentreBounds(client, m_nSize));
    m_ptLens = LensGeometry::LensTopLeft(centre, m_nSize);
    if (m_pLens)
        m_pLens->setGeometry(QRect(m_ptLens, QSize(m_nSize, m_nSize)));
}

void CImageWnd::OnLButtonDown(QWidget* pView, QPoint point)
{
    OnLButtonDown(pView, GrabPicture(pView), point);
}

void CImageWnd::OnLButtonDown(QWidget* pView, const QImage& picture, QPoint point)
{
    try {
        if (!pView)
            return;
        // Laid over the view again with the application's settings, as each new overlay window was
        InitMembers(pView);
        if (m_nSize <= 0 || picture.isNull() || !m_pLens)
            return;
        RefreshImage(TRUE);
        SaveImage(picture);
        m_bActive = 1;
        Watch(true);
        PlaceLens(point);
        m_pLens->show();
        m_pLens->update();
        raise();
        show();
        update();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::OnLButtonDown");
    }
}

void CImageWnd::OnMouseMove(UINT nFlags, QPoint point)
{
    try {
        if (!m_bActive)
            return;
        if (!(nFlags & MK_LBUTTON)) {
            // The release never came: the stroke ends where it stands
            EndStroke(false);
            return;
        }
        if (!m_bCursorHidden && m_hwndView) {
            m_bViewHadCursor = m_hwndView->testAttribute(Qt::WA_SetCursor);
            m_viewCursor = m_hwndView->cursor();
            m_hwndView->setCursor(Qt::BlankCursor);
            m_bCursorHidden = true;
        }
        PlaceLens(point);
        m_pLens->update();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::OnMouseMove");
    }
}

void CImageWnd::OnLButtonUp(QPoint)
{
    try {
        EndStroke(true);
    } catch (...) {
    }
}

void CImageWnd::ReleaseMagnifier()
{
    try {
        if (m_pLens)
            m_pLens->hide();
        m_bActive = 0;
        RefreshImage(TRUE);
        update();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageWnd::ReleaseMagnifier");
    }
}

void CImageWnd::EndStroke(bool bGiveFocus)
{
    const bool wasActive = m_bActive != 0;
    ReleaseMagnifier();
    Watch(false);
    if (m_bCursorHidden) {
        if (m_hwndView) {
            if (m_bViewHadCursor)
                m_hwndView->setCursor(m_viewCursor);
            else
                m_hwndView->unsetCursor();
        }
        m_bCursorHidden = false;
    }
    m_bmpCapture = QImage();
    if (!isHidden())
        hide();
    if (bGiveFocus && wasActive && m_hwndView)
        m_hwndView->setFocus(Qt::MouseFocusReason);
}

void CImageWnd::Watch(bool bWatch)
{
    if (m_watchedView) {
        m_watchedView->removeEventFilter(this);
        disconnect(m_watchedView, &QObject::destroyed, this, nullptr);
    }
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedView = nullptr;
    m_watchedWindow = nullptr;
    if (!bWatch || !m_hwndView)
        return;
    m_watchedView = m_hwndView;
    m_watchedWindow = m_hwndView->window();
    m_watchedView->installEventFilter(this);
    if (m_watchedWindow != m_watchedView)
        m_watchedWindow->installEventFilter(this);
    connect(m_watchedView, &QObject::destroyed, this, [this] {
        if (m_bActive)
            EndStroke(false);
    });
}

bool CImageWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (m_bActive) {
        const QEvent::Type type = event->type();
        const bool viewLost = watched == m_watchedView
            && (type == QEvent::FocusOut || type == QEvent::Hide || type == QEvent::UngrabMouse);
        const bool windowLost = watched == m_watchedWindow && (type == QEvent::WindowDeactivate || type == QEvent::Hide);
        if (viewLost || windowLost)
            EndStroke(false);
    }
    return QWidget::eventFilter(watched, event);
}

void CImageWnd::hideEvent(QHideEvent* event)
{
    // Hidden from outside (another tool hides the lens): the stroke ends with it
    if (m_bActive)
        EndStroke(false);
    QWidget::hideEvent(event);
}

void CImageWnd::paintEvent(QPaintEvent*)
{
    try {
        if (!m_bActive || m_bmpCapture.isNull())
            return;
        QPainter painter(this);
        painter.drawImage(0, 0, m_bmpCapture);
    } catch (...) {
    }
}
