// CVantrelView: the keys and the wheel: paging through frames, images and series, paging the
// grid of an image layout, the keypad zoom steps, the end of a half-drawn angle.

#include "viewer/CVantrelView.h"

// Qt
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

// std
#include <algorithm>
#include <cstdlib>

// Orvane
#include "annotation/CShapeCollection.h"
#include "state/CAppState.h"
#include "platform/CxImage.h"
#include "platform/ReportSystemError.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CxImageDCM.h"
#include "state/ToolState.h"
#include "viewer/IViewToolBar.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"

namespace {

// The virtual-key codes the view handles
constexpr UINT kKeyEscape = 27;
constexpr UINT kKeyUp = 38;
constexpr UINT kKeyDown = 40;
constexpr UINT kKeyKeypadPlus = 107;
constexpr UINT kKeyKeypadMinus = 109;
constexpr UINT kKeyF11 = 122;

// One wheel notch
constexpr int kWheelStep = 120;

int FramesOf(CxImageDCM* dicom)
{
    return dicom ? std::max(1, dicom->GetFrameCount()) : 1;
}

// Image layout with a grid of panes pages the whole grid
bool PagesTheGrid(const CMyFrameWnd* grid)
{
    return grid && !grid->m_bSeriesLayout && grid->GetPaneRows() > 0 && grid->GetPaneColumns() > 0;
}

// An empty pane of a grid: keys and the wheel over it page the selected pane
bool IsBlankGridPane(const CVantrelView* view, const CMyFrameWnd* grid)
{
    return !view->m_pImage && grid && grid->GetPaneRows() > 0 && grid->FindPane(view, nullptr, nullptr);
}

// A loop, paused or playing, belongs to what its pane shows: it ends before the pane shows
// another image, so that a Play starts a new loop on what is shown then
void EndLoopBeforeAnotherImage(CVantrelView* view)
{
    if (view->m_bCineRunning || view->m_nCineState != 0)
        view->StopCine();
}

} // namespace

// --- Events ---------------------------------------------------------------------------------

void CVantrelView::keyPressEvent(QKeyEvent* event)
{
    UINT key = 0;
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Escape:
        key = kKeyEscape;
        break;
    case Qt::Key_Up:
        key = kKeyUp;
        break;
    case Qt::Key_Down:
        key = kKeyDown;
        break;
    case Qt::Key_F11:
        key = kKeyF11;
        break;
    // Only the keypad's plus and minus zoom; the main keyboard's do nothing
    case Qt::Key_Plus:
        key = keypad ? kKeyKeypadPlus : 0;
        break;
    case Qt::Key_Minus:
        key = keypad ? kKeyKeypadMinus : 0;
        break;
    default:
        break;
    }
    if (!key) {
        CZoomView::keyPressEvent(event);
        return;
    }
    event->accept();
    OnKeyDown(key, 1, 0);
}

void CVantrelView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    // A horizontal turn, and the zero delta that ends a trackpad gesture, page nothing
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    // Small trackpad deltas add up to a notch; a turn the other way starts afresh
    if ((m_nWheelDelta > 0) != (delta > 0))
        m_nWheelDelta = 0;
    m_nWheelDelta += delta;
    while (std::abs(m_nWheelDelta) >= kWheelStep) {
        const int step = m_nWheelDelta > 0 ? kWheelStep : -kWheelStep;
        m_nWheelDelta -= step;
        OnMouseWheel(0, short(step), event->position().toPoint());
    }
}

bool CVantrelView::event(QEvent* event)
{
    try {
        IViewToolBar* toolBar = GetViewToolBar();
        if (toolBar && event->type() == QEvent::MouseMove)
            toolBar->HidePanelsOnViewInput(false);
        else if (toolBar && event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            toolBar->HidePanelsOnViewInput(true);
    } catch (...) {
    }
    return CZoomView::event(event);
}

// --- Handlers -------------------------------------------------------------------------------

void CVantrelView::OnKeyDown(UINT nChar, UINT, UINT)
{
    try {
        CMyFrameWnd* grid = GetGridFrame();
        const bool paging = nChar == kKeyUp || nChar == kKeyDown;
        if (m_bCineRunning || m_bMouseDown || CheckLoading())
            return;
        if (!(paging && IsBlankGridPane(this, grid)) && (!m_pImage || !m_pSeries || !m_pStudy))
            return;
        CVantrelView* selected = grid ? grid->GetSelectedView() : nullptr;
        if (!selected || !selected->m_pImage || !selected->m_pDicomImage)
            return;
        const QSize before = selected->DisplayedSize();

        switch (nChar) {
        case kKeyEscape:
            DropUnfinishedAngles(true);
            break;
        case kKeyKeypadPlus:
        case kKeyKeypadMinus:
            if (nChar == kKeyKeypadMinus && m_bMinZoomReached)
                return;
            // The keys zoom as the zoom tool does: it becomes the tool
            if (!g_bZoomMode) {
                ToggleToolMode(ToolMode::Zoom);
                if (IViewToolBar* toolBar = GetViewToolBar())
                    toolBar->SyncToolButtons();
            }
            if (nChar == kKeyKeypadPlus)
                ZoomInStep();
            else
                ZoomOutStep();
            // The image stays: no new window, no render of a large image per step
            return;
        case kKeyF11:
            m_bSelected = 1;
            OnFullScreenKey();
            Invalidate(TRUE);
            break;
        default:
            break;
        }

        if (!selected->GetDocument() || selected->GetDocument()->m_strFilePath.isEmpty())
            return;
        if (paging) {
            const BOOL down = nChar == kKeyDown ? TRUE : FALSE;
            if (PagesTheGrid(grid))
                selected->Image_MultiView_Up_Down(selected, down);
            else
                selected->Series_MultiView_Up_Down(selected, down);
            // A step that blanked the selected pane moved the selection
            if (CVantrelView* now = grid->GetSelectedView())
                selected = now;
        }
        RefreshAfterPaging(selected, before);
    } catch (...) {
    }
}

BOOL CVantrelView::OnMouseWheel(UINT, short zDelta, QPoint)
{
    try {
        CMyFrameWnd* grid = GetGridFrame();
        if (m_bCineRunning || theApp.m_bThumbThreadRunning)
            return TRUE;
        if (!IsBlankGridPane(this, grid) && (!m_pImage || !m_pSeries || !m_pStudy || !m_pDisplayImage))
            return TRUE;
        CVantrelView* selected = grid ? grid->GetSelectedView() : nullptr;
        if (!selected || !selected->m_pImage || !selected->m_pDicomImage || selected->m_bCineRunning)
            return TRUE;
        const QSize before = selected->DisplayedSize();
        const BOOL down = zDelta < 0 ? TRUE : FALSE;
        if (PagesTheGrid(grid))
            selected->Image_MultiView_Up_Down(selected, down);
        else
            selected->Series_MultiView_Up_Down(selected, down);
        if (CVantrelView* now = grid->GetSelectedView())
            selected = now;
        RefreshAfterPaging(selected, before);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnMouseWheel");
    }
    return TRUE;
}

void CVantrelView::RefreshAfterPaging(CVantrelView* pSelected, QSize before)
{
    CVantrelView* s = pSelected;
    if (!s || !s->m_pImage || !s->m_pDicomImage)
        return;
    CVantrelDoc* document = s->GetDocument();
    if (!document || document->m_arrImages.empty())
        return;
    document->SetWindowValues(*s->m_pDicomImage);
    // A frame without a picture keeps the fit of the one before
    if (s->DisplayedSize() != before && !s->DisplayedSize().isEmpty()) {
        s->FitImageToWindow();
        s->SetZoomScrollSizes(s->GetZoomedImageSize());
        s->CenterImageInView();
    }
    if (!s->m_pSeries)
        return;
    CMyFrameWnd::ShowSeriesWindow(s);
    s->DrawImageInfoOverlay();
    UpdatePixelScale();
    if (s != this)
        s->UpdatePixelScale();
    s->Invalidate(TRUE);
}

// --- Paging ---------------------------------------------------------------------------------

void CVantrelView::ShowPagedImage(CImageInfo* pImage, CSeriesInfo* pSeries, BOOL bAtLastFrame)
{
    const QSize before = DisplayedSize();
    // A text being typed belongs to the image it was started on
    CloseTextEdit();
    m_pSeries = pSeries;
    m_pImage = pImage;
    if (pSeries && pSeries->m_pStudy)
        m_pStudy = pSeries->m_pStudy;
    LoadImageIntoViewPort(bAtLastFrame);
    if (m_pDocument)
        m_pDocument->m_strFilePath = pImage->m_strFilePath;
    SetSelectImage();
    if (m_pDisplayImage && DisplayedSize() != before && !DisplayedSize().isEmpty()) {
        FitImageToWindow();
        SetZoomScrollSizes(GetZoomedImageSize());
        CenterImageInView();
    } else {
        SetZoomScrollSizes(GetZoomedImageSize());
    }
    m_bBlankPane = false;
}

void CVantrelView::ShowPagedFrame(BOOL bDown)
{
    if (!m_pDicomImage)
        return;
    // The frame goes into the document's bitmap, so that a reset shows the frame shown
    CxImage* target = m_pDocument ? m_pDocument->GetCurrentImage() : nullptr;
    CxImage scratch;
    if (!target)
        target = &scratch;
    // A frame that cannot be read leaves no picture (the pane says why), not the one before
    target->Destroy();
    if (bDown)
        m_pDicomImage->GetMultiFrameNextImage(target);
    else
        m_pDicomImage->GetMultiframePrevImage(target);
    m_nCurrentFrame = std::max(0, m_pDicomImage->m_nCurrentFrame - 1);
    SetDisplayedBitmap(*target);
}

void CVantrelView::BlankPagedPane()
{
    CloseTextEdit();
    m_bSelected = 0;
    m_pPatient = nullptr;
    ReleaseDicomImage();
    if (m_pDocument) {
        m_pDocument->ClearImageArray();
        m_pDocument->m_strFilePath.clear();
    }
    m_strImageKey.clear();
    for (QString* text : {&m_strFrameText, &m_strPatientName, &m_strPatientID, &m_strBirthDate, &m_strSex,
                          &m_strStudyText, &m_strSeriesText, &m_strImageText, &m_strAccessionNo, &m_strStudyDescription,
                          &m_strDateTime, &m_strInstitutionName, &m_strWindowWidthText, &m_strWindowLevelText,
                          &m_strSeriesDescription, &m_strModality, &m_strReferringPhysician})
        text->clear();
    CreateBlankViewPort();
}

void CVantrelView::Series_MultiView_Up_Down(CVantrelView* pView, BOOL bDown)
{
    try {
        CVantrelView* v = pView ? pView : this;
        if (!v->m_pStudy || !v->m_pSeries || !v->m_pImage)
            return;
        CStudyInfo* study = v->m_pStudy;
        const int s = study->GetSeriesIndex(v->m_pSeries);
        const int i = v->m_pSeries->GetImageIndex(v->m_pImage);
        const int n = v->m_pSeries->GetImageCount();
        CSeriesInfo* series = v->m_pSeries;
        CImageInfo* image = nullptr;
        bool atLastFrame = false;
        bool frameStep = false;

        const bool multiFrame = v->m_pDicomImage && v->m_pDicomImage->IsMultiFrame();
        if (bDown) {
            if (multiFrame && v->m_nCurrentFrame < FramesOf(v->m_pDicomImage.get()) - 1) {
                frameStep = true;
            } else if (i + 1 < n) {
                image = series->GetImageAt(i + 1);
            } else if (CSeriesInfo* next = study->GetSeriesAt(s + 1)) {
                series = next;
                image = next->GetImageAt(0);
            }
        } else {
            if (multiFrame && v->m_nCurrentFrame > 0) {
                frameStep = true;
            } else if (i > 0) {
                image = series->GetImageAt(i - 1);
                atLastFrame = true;
            } else if (CSeriesInfo* previous = s > 0 ? study->GetSeriesAt(s - 1) : nullptr) {
                series = previous;
                image = previous->GetImageAt(previous->GetImageCount() - 1);
                atLastFrame = true;
            }
        }

        if (frameStep) {
            // A paused loop of the frames stays on its image; a playing one owns the picture
            if (v->m_bCineRunning)
                v->StopCine();
            v->ShowPagedFrame(bDown);
        } else if (image) {
            EndLoopBeforeAnotherImage(v);
            // Back lands on the last frame of a multi-frame image
            v->ShowPagedImage(image, series, atLastFrame ? TRUE : FALSE);
        } else {
            return; // before the first or after the last series
        }
        v->ApplyViewTransforms();
        v->DrawImageInfoOverlay();
        v->Invalidate(TRUE);
        v->SelectThumbnail(v->GetThumbnailIndex());
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::Series_MultiView_Up_Down");
    }
}

void CVantrelView::Image_MultiView_Up_Down(CVantrelView* pView, BOOL bDown)
{
    try {
        CMyFrameWnd* grid = GetGridFrame();
        CVantrelView* v = pView ? pView : this;
        if (!grid)
            return;
        std::vector<CVantrelView*> panes = grid->GetPanes();
        if (panes.empty())
            return;
        if (!v->m_pStudy && !v->m_pSeries && !v->m_pImage) {
            v->m_pStudy = panes.front()->m_pStudy;
            v->m_pSeries = panes.front()->m_pSeries;
        }
        CStudyInfo* study = v->m_pStudy;
        if (!study)
            return;

        // A full-screen view pages within its series only
        if (v->m_bFullScreen) {
            if (!v->m_pSeries || !v->m_pImage)
                return;
            const int i = v->m_pSeries->GetImageIndex(v->m_pImage);
            CImageInfo* image = v->m_pSeries->GetImageAt(bDown ? i + 1 : i - 1);
            if (!image || i < 0)
                return;
            EndLoopBeforeAnotherImage(v);
            v->ShowPagedImage(image, v->m_pSeries, FALSE);
            v->ApplyViewTransforms();
            v->DrawImageInfoOverlay();
            v->Invalidate(TRUE);
            return;
        }

        // A multi-frame image pages its own frames first; past its first or last frame the
        // whole grid pages, so that every pane stays on one series
        if (v->m_pImage && v->m_pDicomImage && v->m_pDicomImage->IsMultiFrame()
            && (bDown ? v->m_nCurrentFrame < FramesOf(v->m_pDicomImage.get()) - 1 : v->m_nCurrentFrame > 0)) {
            if (v->m_bCineRunning)
                v->StopCine();
            v->ShowPagedFrame(bDown);
            v->ApplyViewTransforms();
            v->DrawImageInfoOverlay();
            v->Invalidate(TRUE);
            v->SelectThumbnail(v->GetThumbnailIndex());
            return;
        }

        CSeriesInfo* series = nullptr;
        int k = 0;
        if (bDown) {
            CVantrelView* last = panes.back();
            if (!last->m_pSeries) {
                series = study->GetSeriesAt(study->GetSeriesIndex(v->m_pSeries) + 1);
                if (!series || !v->m_pSeries)
                    return;
                k = -1;
            } else {
                series = last->m_pSeries;
                k = series->GetImageIndex(last->m_pImage);
                if (k == series->GetImageCount() - 1) {
                    series = study->GetSeriesAt(study->GetSeriesIndex(last->m_pSeries) + 1);
                    if (!series)
                        return;
                    k = -1;
                }
            }
        } else {
            CVantrelView* first = panes.front();
            if (!first->m_pSeries)
                return;
            series = first->m_pSeries;
            k = series->GetImageIndex(first->m_pImage);
            if (k <= 0) {
                const int s = study->GetSeriesIndex(first->m_pSeries);
                series = s > 0 ? study->GetSeriesAt(s - 1) : nullptr;
                if (!series)
                    return;
                // The previous series' last page, rounded up to whole pages
                const int cells = int(panes.size());
                const int n = series->GetImageCount();
                k = n < cells ? cells : (n % cells == 0 ? n : n + cells - n % cells);
            }
        }

        // A text being typed would land on the next image of its pane
        grid->CloseTextEditsInAllViews();
        v->m_pStudy = study;
        v->m_pSeries = series;
        const auto page = [&](CVantrelView* pane, int index) {
            // A loop reads the pane's records: it ends before the page changes them
            EndLoopBeforeAnotherImage(pane);
            CImageInfo* image = index >= 0 ? series->GetImageAt(index) : nullptr;
            if (!image) {
                pane->BlankPagedPane();
                return;
            }
            pane->m_pPatient = v->m_pPatient;
            pane->ShowPagedImage(image, series, FALSE);
            CMyFrameWnd::ShowSeriesWindow(pane);
            pane->ApplyViewTransforms();
            pane->DrawImageInfoOverlay();
            pane->Invalidate(TRUE);
        };
        if (bDown) {
            for (CVantrelView* pane : panes)
                page(pane, ++k);
        } else {
            for (auto it = panes.rbegin(); it != panes.rend(); ++it)
                page(*it, --k);
        }

        // The selection stays on a pane that shows an image
        CVantrelView* selected = grid->GetSelectedView();
        if (!selected || !selected->m_pImage) {
            for (CVantrelView* pane : panes)
                if (pane->m_pImage) {
                    pane->SelectCurrentView();
                    grid->SetActiveView(pane);
                    pane->setFocus(Qt::OtherFocusReason);
                    selected = pane;
                    break;
                }
        }
        if (selected)
            selected->SelectThumbnail(selected->GetThumbnailIndex());
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::Image_MultiView_Up_Down");
    }
}
