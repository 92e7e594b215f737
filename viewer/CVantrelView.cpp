// CVantrelView: life cycle, fitting, rendering at a window, the view's orientation.

#include "viewer/CVantrelView.h"

// Qt
#include <QFocusEvent>
#include <QMenu>
#include <QPainter>

// Orvane
#include "state/CAppState.h"
#include "viewer/IViewMainWindow.h"
#include "platform/ReportSystemError.h"
#include "platform/CxImage.h"
#include "platform/Gdi.h"
#include "study/CxImageDCM.h"
#include "state/ToolState.h"
#include "viewer/CFrameSplitterWnd.h"
#include "viewer/CImageWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/ViewGeometry.h"

namespace {

// "MS Sans Serif" is a bitmap face whose smallest size has a 13-pixel cell: the 8-pixel font
// the view asks for is shown at that size
constexpr int kOverlayFontPixels = 11;

} // namespace

CVantrelView::CVantrelView(CVantrelDoc* pDocument, QWidget* parent)
    : CZoomView(parent)
    , m_pDocument(pDocument)
{
    m_bMouseDown = FALSE;
    m_pDisplayImage = std::make_unique<CxImage>();
    m_pWorkImage = std::make_unique<CxImage>();
    g_nRotationAngle = 0;
    m_fontText.Attach(Gdi::Font(QStringLiteral("MS Sans Serif"), kOverlayFontPixels));
    m_pTextFont = &m_fontText;
    // Every paint covers the whole pane
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    // Moves without a button reach the view too (the angle's second arm, the magnifier)
    setMouseTracking(true);
    // The right button opens the view's own menu on its release: no context-menu event
    setContextMenuPolicy(Qt::PreventContextMenu);
}

CVantrelView::~CVantrelView()
{
    try {
        StopCineThread();
        // The cine bar goes with its view
        delete m_wndCineControls.data();
        // A text entry still open makes no shape when the view goes
        if (m_pTextEdit) {
            m_pTextEdit->setParent(nullptr);
            delete m_pTextEdit;
        }
        ReleaseDicomImage();
        m_pDisplayImage.reset();
        m_pWorkImage.reset();
        m_fontText.DeleteObject();
        m_pCineThreadParam.reset();
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::~CVantrelView()");
    }
}

CMyFrameWnd* CVantrelView::GetGridFrame()
{
    return theApp.m_pViewGridFrame;
}

void CVantrelView::OnInitialUpdate()
{
    try {
        SetZoomScrollSizes(QSize(100, 100));
        SetSelectImage();
        Invalidate(TRUE);
        if (!m_pDisplayImage)
            return; // a blank pane stays shown as it is
        // The refit shows the view again once it is fitted
        hide();
        CreateMagnifierWindow();
        if (m_pDocument)
            m_pDocument->m_bRefitPending = 1;
        UpdateZoomStep();
        m_bInitialRefit = 1;
        PostRefitView();
        if (m_pDocument)
            m_pDocument->GetSOPInstanceUID(m_strImageKey);
        if (m_pDicomImage) {
            QString key;
            m_pDicomImage->GetSOPInstanceUID(&key);
            if (!key.isEmpty())
                m_strImageKey = key;
        }
    } catch (...) {
    }
}

void CVantrelView::SetSelectImage()
{
    try {
        CxImage* current = m_pDocument ? m_pDocument->GetCurrentImage() : nullptr;
        if (!current)
            return;
        SetDisplayedBitmap(*current);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::SetSelectImage");
    }
}

void CVantrelView::SetDisplayedBitmap(const CxImage& bitmap)
{
    if (!m_pDisplayImage)
        m_pDisplayImage = std::make_unique<CxImage>();
    // Shared with the document until the view changes its pixels
    m_pDisplayImage->Copy(bitmap, true, true, true);
    m_bTransformsApplied = false;
    ApplyViewTransforms();
}

void CVantrelView::SetZoomScrollSizes(QSize size)
{
    if (size.width() > 0 && size.height() > 0)
        SetZoomBaseSize(size, QSize(), QSize());
}

void CVantrelView::FitImageToWindow()
{
    try {
        if (!m_pDisplayImage)
            return;
        const bool frameFullScreen = GetViewMainWindow() && GetViewMainWindow()->IsFullScreen();
        const QSize target = m_sizePane != QSize(0, 0) && !frameFullScreen && !m_bFullScreen ? m_sizePane : size();
        m_fZoom = ViewGeometry::FitZoom(DisplayedSize(), target);
        UpdateZoomStep();
    } catch (...) {
    }
}

void CVantrelView::RenderWithWindowLevel(int nWidth, int nCentre)
{
    try {
        if (nWidth == 0)
            nWidth = 1;
        if (m_pDicomImage) {
            // The toolkit renders into the shown picture itself when the view owns it alone
            // at that size; a picture shared with the document is left to the document
            if (!m_pDisplayImage)
                m_pDisplayImage = std::make_unique<CxImage>();
            if (m_pDicomImage->WindowLevellingInto(m_pDisplayImage.get(), nWidth, nCentre)) {
                m_bTransformsApplied = false;
                ApplyViewTransforms();
            }
        }
        Invalidate(TRUE);
    } catch (...) {
    }
}

void CVantrelView::DeleteUnwantedObjects()
{
    try {
        m_pDisplayImage.reset();
        m_pWorkImage.reset();
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::DeleteUnwantedObjects");
    }
}

void CVantrelView::CreateMagnifierWindow()
{
    try {
        // The overlay is made on first use; once it exists it is laid, hidden, over this view
        if (g_wndMagnifier)
            g_wndMagnifier->InitMembers(this);
    } catch (...) {
    }
}

void CVantrelView::PostRefitView()
{
    const unsigned long pending = m_pDocument ? m_pDocument->m_bRefitPending : 0;
    QMetaObject::invokeMethod(this, [this, pending] { OnRefitView(pending, 0); }, Qt::QueuedConnection);
}

long CVantrelView::OnRefitView(unsigned long, long)
{
    try {
        if ((m_pDocument && m_pDocument->m_bRefitPending) || m_rcFirstClient.IsRectEmpty())
            m_rcFirstClient = RECT{0, 0, width(), height()};
        if (m_bInitialRefit) {
            setFocus(Qt::OtherFocusReason);
            m_bInitialRefit = 0;
        }
        FitImageToWindow();
        if (m_pDocument)
            m_pDocument->m_bRefitPending = 0;
        SetZoomScrollSizes(GetZoomedImageSize());
        CenterImageInView();
        show();
        Invalidate(TRUE);
    } catch (...) {
    }
    return 1;
}

void CVantrelView::CenterImageInView()
{
    m_ptPanOffset = ViewGeometry::CenterOffset(size(), GetTotalDeviceSize());
}

void CVantrelView::UpdateZoomStep()
{
    m_dZoomStep = ViewGeometry::ZoomStep(DisplayedSize());
}

QSize CVantrelView::GetZoomedImageSize() const
{
    return ViewGeometry::ZoomedSize(DisplayedSize(), m_fZoom);
}

QSize CVantrelView::DisplayedSize() const
{
    if (!m_pDisplayImage)
        return QSize(0, 0);
    return QSize(int(m_pDisplayImage->GetWidth()), int(m_pDisplayImage->GetHeight()));
}

void CVantrelView::ApplyViewTransforms()
{
    try {
        if (!m_pDisplayImage || m_bTransformsApplied)
            return;
        m_bTransformsApplied = true;
        if (m_bNegative)
            m_pDisplayImage->Negative();
        Orientation::Apply(*m_pDisplayImage, GetOrientation());
    } catch (...) {
    }
}

ViewOrientation CVantrelView::GetOrientation() const
{
    return ViewOrientation{m_bMirror != 0, m_bFlip != 0, m_nRotationAngle};
}

void CVantrelView::ComposeOrientation(int nImageCommand)
{
    const ViewOrientation o = Orientation::Compose(GetOrientation(), nImageCommand);
    m_bMirror = o.bMirror ? 1 : 0;
    m_bFlip = o.bFlip ? 1 : 0;
    m_nRotationAngle = o.nAngle;
}

void CVantrelView::Invalidate(BOOL bErase)
{
    if (bErase)
        m_bErasePending = true;
    update();
}

BOOL CVantrelView::OnEraseBkgnd(QPainter* pDC)
{
    try {
        if (!m_pImage || !m_pDisplayImage || !pDC)
            return TRUE;
        if (m_bEraseBackground) {
            const RECT client{0, 0, width(), height()};
            Gdi::FillSolidRect(*pDC, client, RGB(0, 0, 0));
        }
        m_bEraseBackground = 0;
    } catch (...) {
    }
    return TRUE;
}

void CVantrelView::paintEvent(QPaintEvent*)
{
    try {
        QPainter dc(this);
        if (m_bErasePending) {
            m_bErasePending = false;
            OnEraseBkgnd(&dc);
        }
        if (!m_pImage && theApp.m_bEmptyViewText) {
            PaintEmptyPane(dc, true);
            return;
        }
        m_ptPanBase = -m_ptPanOffset;
        DrawImageAndEmbedShape(&dc);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnPaint");
    }
}

void CVantrelView::focusOutEvent(QFocusEvent* event)
{
    try {
        CZoomView::focusOutEvent(event);
        CMyFrameWnd* frame = nullptr;
        for (QWidget* w = parentWidget(); w && !frame; w = w->parentWidget())
            frame = qobject_cast<CMyFrameWnd*>(w);
        if (frame && frame->m_pSplitter
            && (frame->m_pSplitter->GetRowCount() > 1 || frame->m_pSplitter->GetColumnCount() > 1))
            frame->m_pSplitter->RedrawSplitBars();
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnKillFocus");
    }
}

void CVantrelView::mouseDoubleClickEvent(QMouseEvent*)
{
    // Double clicks are told apart by the press timer; the second press does nothing here
}
