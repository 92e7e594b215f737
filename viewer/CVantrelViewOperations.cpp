// CVantrelView: the reset of a pane and the operations repeated in the other panes of an
// image layout (zoom, pan, window, reset).

#include "viewer/CVantrelView.h"

// Orvane
#include "annotation/CShapeCollection.h"
#include "platform/CxImage.h"
#include "platform/ReportSystemError.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/RenderWindow.h"
#include "viewer/ViewOrientation.h"

namespace {

// A pane whose zoom, pan and window follow another's: one that shows a picture of its own
bool TakesZoomPanAndWindow(const CVantrelView* pane)
{
    return pane->m_pImage && !pane->m_bCineRunning;
}

} // namespace

void CVantrelView::ForEachOtherPane(const char* pszWhere, const std::function<bool(CVantrelView*)>& f)
{
    try {
        // Every other pane that exists; a single view has none
        for (CVantrelView* pane : PanesForRepetition()) {
            if (!f(pane))
                break;
        }
    } catch (...) {
        ReportSystemError(GetLastError(), pszWhere);
    }
}

BOOL CVantrelView::ResetViewImage()
{
    m_fZoom = 1.0f;
    m_ptPanOffset = QPoint(0, 0);
    m_bNegative = 0;
    m_bMirror = 0;
    m_bFlip = 0;
    m_nRotationAngle = 0;
    g_nRotationAngle = 0;
    CxImage* current = m_pDocument ? m_pDocument->GetCurrentImage() : nullptr;
    if (!current)
        return FALSE;
    // Through the one copy that marks the picture as not yet transformed
    SetDisplayedBitmap(*current);
    m_bZoomPanChanged = 0;
    FitImageToWindow();
    SetZoomScrollSizes(GetZoomedImageSize());
    CenterImageInView();
    if (!g_bMagnifierMode)
        HideMagnifierWindow();
    if (CMyFrameWnd* grid = GetGridFrame())
        for (const std::unique_ptr<CShapeCollection>& shape : grid->m_arrShapes)
            if (shape && !m_strImageKey.isEmpty() && shape->GetImageKey() == m_strImageKey)
                shape->RestoreOriginalPoints();
    Invalidate(TRUE);
    return TRUE;
}

void CVantrelView::ZoomImagesInOtherViewPort()
{
    ForEachOtherPane("CVantrelView::ZoomImagesInOtherViewPort", [this](CVantrelView* pane) {
        if (!TakesZoomPanAndWindow(pane) || !pane->m_pDisplayImage)
            return true;
        pane->m_fZoom = m_fZoom;
        const QSize before = pane->GetTotalDeviceSize();
        pane->m_bViewAdjusted = 1;
        pane->m_bZoomPanChanged = 1;
        pane->SetZoomScrollSizes(pane->GetZoomedImageSize());
        const QSize after = pane->GetTotalDeviceSize();
        pane->m_ptPanOffset -= QPoint((after.width() - before.width()) / 2, (after.height() - before.height()) / 2);
        pane->Invalidate(TRUE);
        return true;
    });
}

void CVantrelView::PanImageInOtherViewPort()
{
    std::vector<CVantrelView*> panned;
    ForEachOtherPane("CVantrelView::PanImageInOtherViewPort", [this, &panned](CVantrelView* pane) {
        if (!TakesZoomPanAndWindow(pane))
            return true;
        pane->m_ptPanOffset = m_ptPanOffset;
        pane->m_ptDragLast = m_ptDragLast;
        pane->m_bViewAdjusted = 1;
        pane->m_bZoomPanChanged = 1;
        panned.push_back(pane);
        return true;
    });
    for (CVantrelView* pane : panned)
        pane->Invalidate(TRUE);
}

void CVantrelView::ApplyWW_WLInOtherViewPort()
{
    if (!m_pDocument)
        return;
    ForEachOtherPane("CVantrelView::ApplyWW_WLInOtherViewPort", [this](CVantrelView* pane) {
        CVantrelDoc* document = pane->GetDocument();
        if (!document || !TakesZoomPanAndWindow(pane))
            return true;
        document->m_fWindowWidth = m_pDocument->m_fWindowWidth;
        document->m_fWindowCenter = m_pDocument->m_fWindowCenter;
        const RenderWindow window = ToRenderWindow(document->m_fWindowWidth, document->m_fWindowCenter);
        pane->RenderWithWindowLevel(window.nWidth, window.nCentre);
        pane->ApplyViewTransforms();
        pane->DrawImageInfoOverlay();
        pane->m_bViewAdjusted = 1;
        pane->Invalidate(TRUE);
        return true;
    });
}

void CVantrelView::ResetImagesInOtherViewPort()
{
    ForEachOtherPane("CVantrelView::ResetImagesInOtherViewPort", [](CVantrelView* pane) {
        CVantrelDoc* document = pane->GetDocument();
        if (pane->m_bCineRunning) {
            // The loop's frame shown is brought back to the picture as rendered; its next
            // frames come so
            pane->ResetPlayingView();
            return true;
        }
        if (!document || document->m_arrImages.empty()) {
            // An empty pane forgets the turns and flips for the image it shows next
            pane->ResetViewImage();
            pane->m_bMinZoomReached = 0;
            pane->m_bViewAdjusted = 0;
            return true;
        }
        // A pane whose current bitmap is missing ends the walk
        if (!pane->ResetViewImage())
            return false;
        pane->m_bMinZoomReached = 0;
        // The picture is the document's again: a window other than the default (the user's,
        // or one chosen for the series) goes back to the default
        const bool otherWindow = document->m_fWindowWidth != document->m_fDefaultWindowWidth
                                 || document->m_fWindowCenter != document->m_fDefaultWindowCenter;
        if (pane->m_bViewAdjusted || otherWindow) {
            pane->m_bViewAdjusted = 0;
            document->m_fWindowWidth = document->m_fDefaultWindowWidth;
            document->m_fWindowCenter = document->m_fDefaultWindowCenter;
            const RenderWindow window = ToRenderWindow(document->m_fWindowWidth, document->m_fWindowCenter);
            pane->RenderWithWindowLevel(window.nWidth, window.nCentre);
            pane->DrawWindowLevelText();
        } else {
            pane->m_bEraseBackground = 0;
        }
        return true;
    });
}

void CVantrelView::ResetPlayingView()
{
    if (m_pDisplayImage && m_bTransformsApplied) {
        Orientation::Undo(*m_pDisplayImage, GetOrientation());
        if (m_bNegative)
            m_pDisplayImage->Negative();
    }
    m_bNegative = 0;
    m_bMirror = 0;
    m_bFlip = 0;
    m_nRotationAngle = 0;
    m_fZoom = 1.0f;
    m_ptPanOffset = QPoint(0, 0);
    m_bZoomPanChanged = 0;
    m_bMinZoomReached = 0;
    FitImageToWindow();
    SetZoomScrollSizes(GetZoomedImageSize());
    CenterImageInView();
    m_bEraseBackground = 1;
    Invalidate(TRUE);
}
