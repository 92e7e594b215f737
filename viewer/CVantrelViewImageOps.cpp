// CVantrelView: the image commands (invert, mirror, flip, turns) on the displayed bitmap, their
// repetition in the other panes of an image layout, the keypad zoom steps, the shapes brought
// into the view's orientation, removing an image's shapes and repainting the grid.

#include "viewer/CVantrelView.h"

// Orvane
#include "annotation/CShapeCollection.h"
#include "platform/CxImage.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/ViewOrientation.h"

void CVantrelView::ApplyImageOperation()
{
    try {
        if (!m_pDisplayImage)
            return;
        switch (g_nLastImageCommand) {
        case ID_IMAGE_MIRROR:
            m_pDisplayImage->Mirror();
            break;
        case ID_IMAGE_FLIP:
            m_pDisplayImage->Flip();
            break;
        case ID_IMAGE_NEGATIVE:
            m_pDisplayImage->Negative();
            break;
        case ID_IMAGE_ROTATERIGHT:
        case ID_IMAGE_ROTATELEFT:
            if (g_nLastImageCommand == ID_IMAGE_ROTATERIGHT)
                m_pDisplayImage->RotateRight();
            else
                m_pDisplayImage->RotateLeft();
            // The turned bitmap has other sides: the pane is black around it at the next paint
            m_bEraseBackground = 1;
            Invalidate(TRUE);
            break;
        default:
            break;
        }
    } catch (...) {
    }
}

void CVantrelView::TakeImageCommand(int nImageCommand)
{
    g_nLastImageCommand = nImageCommand;
    if (nImageCommand == ID_IMAGE_NEGATIVE)
        m_bNegative = m_bNegative ? 0 : 1;
    else
        ComposeOrientation(nImageCommand);
    ApplyImageOperation();
    SetZoomScrollSizes(GetZoomedImageSize());
    const bool turn = nImageCommand == ID_IMAGE_ROTATERIGHT || nImageCommand == ID_IMAGE_ROTATELEFT;
    if (turn && !m_bZoomPanChanged && m_pDisplayImage) {
        FitImageToWindow();
        SetZoomScrollSizes(GetZoomedImageSize());
        CenterImageInView();
    }
    Invalidate(TRUE);
}

std::vector<CVantrelView*> CVantrelView::PanesForRepetition() const
{
    std::vector<CVantrelView*> panes;
    CMyFrameWnd* grid = GetGridFrame();
    if (!grid || grid->m_bSeriesLayout || (grid->m_nRows == -1 && grid->m_nCols == -1))
        return panes;
    // Every other pane, also an empty one and one that plays a loop: each keeps its own state
    // for the images it shows later
    for (CVantrelView* pane : grid->GetPanes())
        if (pane != this)
            panes.push_back(pane);
    return panes;
}

void CVantrelView::RotateRightImagesInOtherViewPort()
{
    const int command = g_nLastImageCommand;
    if (command != ID_IMAGE_ROTATERIGHT && command != ID_IMAGE_ROTATELEFT)
        return;
    ForEachOtherPane("CVantrelView::RotateRightImagesInOtherViewPort", [command](CVantrelView* pane) {
        pane->TakeImageCommand(command);
        return true;
    });
    g_nLastImageCommand = command;
}

void CVantrelView::FlipImagesInOtherViewPort()
{
    ForEachOtherPane("CVantrelView::FlipImagesInOtherViewPort", [](CVantrelView* pane) {
        pane->TakeImageCommand(ID_IMAGE_MIRROR);
        return true;
    });
}

void CVantrelView::FlipVImagesInOtherViewPort()
{
    ForEachOtherPane("CVantrelView::FlipVImagesInOtherViewPort", [](CVantrelView* pane) {
        pane->TakeImageCommand(ID_IMAGE_FLIP);
        return true;
    });
}

void CVantrelView::InvertImagesInOtherViewPort()
{
    ForEachOtherPane("CVantrelView::InvertImagesInOtherViewPort", [](CVantrelView* pane) {
        pane->TakeImageCommand(ID_IMAGE_NEGATIVE);
        return true;
    });
}

void CVantrelView::ZoomInStep()
{
    m_bMinZoomReached = 0;
    m_fZoom = float(m_fZoom + 2.0 * m_dZoomStep);
    if (!m_pDisplayImage || !m_pDisplayImage->IsValid())
        return;
    const QSize before = GetTotalDeviceSize();
    SetZoomScrollSizes(GetZoomedImageSize());
    m_bViewAdjusted = 1;
    m_bZoomPanChanged = 1;
    const QSize after = GetTotalDeviceSize();
    // The image grows about its centre
    m_ptPanOffset -= QPoint((after.width() - before.width()) / 2, (after.height() - before.height()) / 2);
    Invalidate(TRUE);
}

void CVantrelView::ZoomOutStep()
{
    if (m_bMinZoomReached)
        return;
    double zoom = m_fZoom - 2.0 * m_dZoomStep;
    const double width = m_pDisplayImage ? m_pDisplayImage->GetWidth() : 0.0;
    if (width <= 0.0)
        return;
    // Never narrower than 150 pixels
    if (width * zoom < 150.0) {
        m_bMinZoomReached = 1;
        zoom = 150.0 / width;
    }
    m_fZoom = float(zoom);
    m_bViewAdjusted = 1;
    m_bZoomPanChanged = 1;
    const QSize before = GetTotalDeviceSize();
    SetZoomScrollSizes(GetZoomedImageSize());
    const QSize after = GetTotalDeviceSize();
    m_ptPanOffset += QPoint((before.width() - after.width()) / 2, (before.height() - after.height()) / 2);
    // The bands the smaller image leaves are black in the next paint, which composes the pane
    Invalidate(TRUE);
}

BOOL CVantrelView::DeleteAllShapeControls()
{
    CMyFrameWnd* grid = GetGridFrame();
    if (!grid || grid->m_arrShapes.empty() || m_strImageKey.isEmpty())
        return FALSE;
    bool removed = false;
    try {
        auto& shapes = grid->m_arrShapes;
        for (std::size_t i = 0; i < shapes.size();) {
            CShapeCollection* shape = shapes[i].get();
            if (shape && shape->GetImageKey() == m_strImageKey) {
                // A half-drawn Cobb angle of any view ends with its first line
                ForgetDrawingShape(shape);
                shapes.erase(shapes.begin() + std::ptrdiff_t(i));
                removed = true;
            } else {
                ++i;
            }
        }
        if (removed)
            InvalidateAllViewPorts();
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::DeleteAllShapeControls");
    }
    return removed ? TRUE : FALSE;
}

void CVantrelView::InvalidateAllViewPorts()
{
    try {
        if (CMyFrameWnd* grid = GetGridFrame())
            for (CVantrelView* pane : grid->GetPanes())
                pane->Invalidate(TRUE);
    } catch (...) {
    }
}

void CVantrelView::OrientShape(CShapeCollection& shape) const
{
    const ViewOrientation o = GetOrientation();
    // A quarter turn swaps the sides both ways
    const QSize source = Orientation::DisplayedSize(o, FullDisplayedSize());
    Orientation::OrientShape(shape, o, source);
}
