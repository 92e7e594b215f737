#include "viewer/CMagnWnd.h"

// Qt
#include <QPainter>

// Orvane
#include "platform/CxImage.h"
#include "platform/Gdi.h"
#include "platform/ReportSystemError.h"
#include "viewer/CImageWnd.h"
#include "viewer/LensGeometry.h"

CMagnWnd::CMagnWnd(CImageWnd* pOwner)
    : QWidget(pOwner)
    , m_pLensImage(std::make_unique<CxImage>())
    , m_pOwner(pOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

CMagnWnd::~CMagnWnd() = default;

void CMagnWnd::paintEvent(QPaintEvent*)
{
    try {
        QPainter dc(this);
        if (m_pOwner->m_nShape == 1)
            DrawRoundLens(&dc);
        else
            DrawUsingCxImage_Ex(&dc);
    } catch (...) {
        // A lens that cannot be painted shows nothing new
    }
}

void CMagnWnd::DrawRoundLens(QPainter* pDC)
{
    try {
        const QImage lens = LensGeometry::RoundLens(m_pOwner->m_bmpCapture, m_pOwner->m_ptLens, m_pOwner->m_nSize, m_pOwner->m_nZoom);
        if (!lens.isNull())
            pDC->drawImage(0, 0, lens);
    } catch (...) {
    }
}

void CMagnWnd::DrawUsingCxImage_Ex(QPainter* pDC)
{
    try {
        const int a = m_pOwner->m_nSize;
        if (a <= 0 || m_pOwner->m_bmpCapture.isNull())
            return;
        // The whole source square, black where it lies beyond the capture
        const QRect source = LensGeometry::SourceRect(m_pOwner->m_ptLens, a, m_pOwner->m_nZoom);
        if (!m_pLensImage->CreateFromHBITMAP(LensGeometry::CropWithBlack(m_pOwner->m_bmpCapture, source)))
            return;
        const auto method = static_cast<CxImage::InterpolationMethod>(LensGeometry::SquareLensMethod(m_pOwner->m_nOption));
        m_pLensImage->Resample2(a, a, method, CxImage::OM_TRANSPARENT);
        m_pLensImage->Draw(pDC, 0, 0, a, a);
        pDC->setPen(Gdi::Pen(0x000000));
        const QPoint outer[] = {{0, 0}, {a - 1, 0}, {a - 1, a - 1}, {0, a - 1}, {0, 0}};
        const QPoint inner[] = {{2, 2}, {a - 3, 2}, {a - 3, a - 3}, {2, a - 3}, {2, 2}};
        for (int i = 0; i < 4; ++i) {
            Gdi::LineTo(*pDC, outer[i], outer[i + 1]);
            Gdi::LineTo(*pDC, inner[i], inner[i + 1]);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CMagnWnd::DrawUsingCxImage_Ex");
    }
}
