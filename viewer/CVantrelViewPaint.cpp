// CVantrelView: the drawing pipeline (image, shapes, scales, rubber band, frame, corner texts),
// the overlay texts, the selected viewport and the point conversion.

#include "viewer/CVantrelView.h"

// Qt
#include <QPainter>

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

// Orvane
#include "annotation/CQtFontMetrics.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/CShapeCollection.h"
#include "state/CAppState.h"
#include "viewer/IViewChildFrame.h"
#include "viewer/IViewMainWindow.h"
#include "platform/ReportSystemError.h"
#include "platform/CxImage.h"
#include "platform/Gdi.h"
#include "study/CPatientInfo.h"
#include "study/CStudyList.h"
#include "study/CxImageDCM.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/IThumbnailSelection.h"
#include "viewer/ScaleGeometry.h"
#include "viewer/StretchBlit.h"
#include "viewer/ViewOverlay.h"

namespace {

const IShapeFontMetrics& ScreenMetrics()
{
    static const CQtFontMetrics metrics;
    return metrics;
}

} // namespace

void CVantrelView::PaintEmptyPane(QPainter& dc, bool withLoadingText)
{
    const RECT client{0, 0, width(), height()};
    Gdi::FillSolidRect(dc, client, RGB(0, 0, 0));
    if (m_bBlankPane)
        Gdi::FrameRect(dc, client, RGB(255, 255, 255));
    const QString text = withLoadingText ? ViewOverlay::EmptyPaneText(theApp.m_bEmptyViewText, theApp.m_bShowLoadingText)
                                         : QString();
    if (text.isEmpty())
        return;
    dc.save();
    dc.setFont(Gdi::PointFont(QStringLiteral("Times New Roman"), 140));
    dc.setPen(Qt::white);
    dc.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
    dc.restore();
}

void CVantrelView::DrawImageAndEmbedShape(QPainter* pDC)
{
    try {
        if (!pDC)
            return;
        const COLORREF frameColour = m_bSelected ? RGB(0, 255, 0) : RGB(255, 255, 255);
        if (!m_pStudy && !m_pSeries && !m_pImage) {
            PaintEmptyPane(*pDC, false);
            return;
        }
        const QSize client = size();
        if (client.isEmpty())
            return;
        // One client-sized buffer, kept from paint to paint
        if (m_backBuffer.size() != client)
            m_backBuffer = QImage(client, QImage::Format_RGB32);
        if (m_backBuffer.isNull())
            return; // the pane stays as it was
        m_backBuffer.fill(Qt::black);
        {
            QPainter memory(&m_backBuffer);
            CShapeCanvas canvas(memory, &m_backBuffer, ScreenMetrics());
            const QPoint origin = m_ptPanOffset - GetScrollPosition();
            const QSize extent = GetTotalDeviceSize();
            // Stretched straight into the buffer; the bitmap's own drawing for any other kind
            if (m_pDisplayImage
                && !StretchBlit(m_pDisplayImage->GetQImage(), m_backBuffer, QRect(origin, extent)))
                m_pDisplayImage->Draw2(&memory, origin.x(), origin.y(), extent.width(), extent.height());

            // The shapes of this image only
            CMyFrameWnd* grid = GetGridFrame();
            if (grid && !m_bCineRunning && !g_bAnnotationsHidden && !g_bMagnifierMode && !m_strImageKey.isEmpty()) {
                const float zoom = GetShapeZoom();
                const bool sideways = (GetOrientation().nAngle / 90) % 2 != 0;
                for (const std::unique_ptr<CShapeCollection>& shape : grid->m_arrShapes) {
                    if (!shape || shape->GetImageKey() != m_strImageKey)
                        continue;
                    OrientShape(*shape);
                    shape->SetViewExtent(extent.width(), extent.height());
                    // A measurement is taken at the shape's first drawing, along the axes as
                    // this view shows them
                    const bool swapSpacing = sideways && shape->GetText().isEmpty();
                    if (swapSpacing)
                        std::swap(shape->m_dSpacingX, shape->m_dSpacingY);
                    const POINT previous = canvas.SetViewportOrg(origin.x(), origin.y());
                    shape->Draw(&canvas, 0, zoom);
                    canvas.SetViewportOrg(previous.x, previous.y);
                    if (swapSpacing)
                        std::swap(shape->m_dSpacingX, shape->m_dSpacingY);
                }
            }

            DrawReferenceLine(&canvas);
            if (m_bSelected)
                DrawShapeOnMouseMove(&canvas);

            // The pane frame: green around the selected viewport; a one-pixel outline as the
            // rectangle shape draws it, in four fills
            const RECT box{0, 0, client.width(), m_sizePane == QSize(0, 0) ? client.height() - 1 : client.height()};
            canvas.FillSolidRect(RECT{box.left, box.top, box.right, box.top + 1}, frameColour);
            canvas.FillSolidRect(RECT{box.left, box.bottom - 1, box.right, box.bottom}, frameColour);
            canvas.FillSolidRect(RECT{box.left, box.top, box.left + 1, box.bottom}, frameColour);
            canvas.FillSolidRect(RECT{box.right - 1, box.top, box.right, box.bottom}, frameColour);

            if (!g_bHeaderInfoHidden)
                DrawPatientOverlay(&canvas);
        }
        pDC->drawImage(0, 0, m_backBuffer);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::DrawImageAndEmbedShape");
    }
}

void CVantrelView::DrawPatientOverlay(CShapeCanvas* pDC)
{
    try {
        if (!pDC || !m_pTextFont)
            return;
        const QFont font = m_pTextFont->GetFont() ? *m_pTextFont->GetFont() : pDC->GetFont();
        const QFont previousFont = pDC->SelectFont(font);
        const int previousMode = pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
        const COLORREF previousColour = pDC->SetTextColor(m_crTextColor);

        ViewOverlay::Texts texts;
        texts.strPatientName = m_strPatientName;
        texts.strPatientID = m_strPatientID;
        texts.strBirthDate = m_strBirthDate;
        texts.strSex = m_strSex;
        texts.strStudyText = m_strStudyText;
        texts.strSeriesText = m_strSeriesText;
        texts.strImageText = m_strImageText;
        texts.strFrameText = m_strFrameText;
        texts.strAccessionNo = m_strAccessionNo;
        texts.strStudyDescription = m_strStudyDescription;
        texts.strDateTime = m_strDateTime;
        texts.strInstitutionName = m_strInstitutionName;
        texts.strWindowWidthText = m_strWindowWidthText;
        texts.strWindowLevelText = m_strWindowLevelText;
        texts.strSeriesDescription = m_strSeriesDescription;
        texts.strModality = m_strModality;
        texts.strReferringPhysician = m_strReferringPhysician;
        texts.strNoPictureText = NoPictureText();
        const bool multiFrame = m_pDicomImage && m_pDicomImage->IsMultiFrame();
        for (const ViewOverlay::Line& line : ViewOverlay::Layout(texts, multiFrame, width(), height(), font, ScreenMetrics()))
            pDC->TextOut(line.x, line.y, line.text);

        pDC->SetTextColor(previousColour);
        pDC->SetBkMode(previousMode);
        pDC->SelectFont(previousFont);
    } catch (...) {
    }
}

void CVantrelView::DrawImageInfoOverlay()
{
    try {
        if (!m_pImage || !m_pDicomImage)
            return;
        // A view without records finds them by its document's path and loads the image again
        if (!m_pPatient && theApp.m_pStudyListDlg && m_pDocument) {
            CPatientInfo* patient = nullptr;
            CStudyInfo* study = nullptr;
            CSeriesInfo* series = nullptr;
            CImageInfo* image = nullptr;
            theApp.m_pStudyListDlg->m_patientList.FindImage(m_pDocument->m_strFilePath, patient, study, series, image);
            if (patient && image) {
                m_pPatient = patient;
                m_pStudy = study;
                m_pSeries = series;
                m_pImage = image;
                LoadImageIntoViewPort(FALSE);
            }
        }
        if (!m_pDicomImage)
            return;
        CxImageDCM& dicom = *m_pDicomImage;

        ViewOverlay::Attributes a;
        QString prefix, suffix;
        dicom.GetPatientName(&a.strFirstName, &a.strLastName, &a.strMiddleName, &prefix, &suffix);
        dicom.GetPatientID(&a.strPatientID);
        dicom.GetPatientBirthDate(&a.strBirthDate);
        dicom.GetPatienrSex(&a.strSex);
        dicom.GetAccessionNo(&a.strAccessionNo);
        dicom.GetStudyDescr(&a.strStudyDescription);
        dicom.GetSeriesDescription(&a.strSeriesDescription);
        dicom.GetContentDate(&a.strContentDate);
        dicom.GetContentTime(&a.strContentTime);
        dicom.GetStudyDate(&a.strStudyDate);
        dicom.GetStudyTime(&a.strStudyTime);
        dicom.GetStudyInstitutionName(&a.strInstitutionName);
        dicom.GetReferringPhysiciansName(&a.strReferringPhysician);
        dicom.GetImageModality(&a.strModality);

        ViewOverlay::Position p;
        if (m_pPatient && m_pStudy)
            p.nStudyIndex = m_pPatient->GetStudyIndex(m_pStudy);
        if (m_pStudy) {
            p.nSeriesIndex = m_pSeries ? m_pStudy->GetSeriesIndex(m_pSeries) : -1;
            p.nSeriesCount = int(m_pStudy->m_lstSeries.size());
        }
        if (m_pSeries) {
            p.nImageIndex = m_pSeries->GetImageIndex(m_pImage);
            p.nImageCount = m_pSeries->GetImageCount();
        }
        p.nCurrentFrame = m_nCurrentFrame;
        p.nFrameCount = dicom.GetNumberOfFrames();

        const ViewOverlay::Texts t = ViewOverlay::Compose(a, p);
        m_strPatientName = t.strPatientName;
        m_strPatientID = t.strPatientID;
        m_strBirthDate = t.strBirthDate;
        m_strSex = t.strSex;
        m_strStudyText = t.strStudyText;
        m_strSeriesText = t.strSeriesText;
        m_strImageText = t.strImageText;
        m_strFrameText = t.strFrameText;
        m_strAccessionNo = t.strAccessionNo;
        m_strStudyDescription = t.strStudyDescription;
        m_strSeriesDescription = t.strSeriesDescription;
        m_strDateTime = t.strDateTime;
        m_strInstitutionName = t.strInstitutionName;
        m_strReferringPhysician = t.strReferringPhysician;
        // The modality is this image's too: one without it shows none
        m_strModality = t.strModality;

        DrawWindowLevelText();
        m_bPixelSpacingKnown = dicom.IsImagePixelSpacingExists() ? 1 : 0;
    } catch (...) {
    }
}

void CVantrelView::DrawWindowLevelText()
{
    try {
        if (!m_pDocument)
            return;
        if (!HasPicture()) {
            // No window is shown over no picture
            m_strWindowWidthText.clear();
            m_strWindowLevelText.clear();
            return;
        }
        m_strWindowWidthText = ViewOverlay::WindowWidthText(m_pDocument->m_fWindowWidth);
        m_strWindowLevelText = ViewOverlay::WindowLevelText(m_pDocument->m_fWindowCenter);
    } catch (...) {
    }
}

void CVantrelView::DrawReferenceLine(CShapeCanvas* pDC)
{
    try {
        if (!pDC || m_fZoom == 0.0f || !m_pDisplayImage || !m_pTextFont || !m_pDicomImage || !HasPicture())
            return;
        if (!ScaleGeometry::ImageHasScales(m_strModality, m_pDicomImage->GetBitsAllocated(), m_pDicomImage->GetBitsStored(),
                                           m_pDicomImage->GetHighBit()))
            return;
        // Each scale follows the spacing of the image axis shown along it
        const bool turned = (m_nRotationAngle / 90) % 2 != 0;
        const double horizontal = m_fZoom * (turned ? m_dPixelsPerCmY : m_dPixelsPerCm);
        const double vertical = m_fZoom * (turned ? m_dPixelsPerCm : m_dPixelsPerCmY);

        const int previousMode = pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
        const COLORREF previousColour = pDC->SetTextColor(m_crTextColor);
        for (const ScaleGeometry::Scale& scale :
             {ScaleGeometry::VerticalScale(height(), vertical), ScaleGeometry::HorizontalScale(width(), horizontal)}) {
            // Every line is horizontal or vertical: a one-pixel fill without its end point
            for (const ScaleGeometry::Line& line : scale.lines) {
                const QPoint a = line.from;
                const QPoint b = line.to;
                if (a.y() == b.y())
                    pDC->FillSolidRect(RECT{std::min(a.x(), b.x() + 1), a.y(), std::max(a.x() + 1, b.x()), a.y() + 1}, m_crTextColor);
                else
                    pDC->FillSolidRect(RECT{a.x(), std::min(a.y(), b.y() + 1), a.x() + 1, std::max(a.y() + 1, b.y())}, m_crTextColor);
            }
            for (const ScaleGeometry::Label& label : scale.labels)
                pDC->TextOut(label.pos.x(), label.pos.y(), label.text);
        }
        pDC->SetTextColor(previousColour);
        pDC->SetBkMode(previousMode);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::DrawReferenceLine");
    }
}

void CVantrelView::SelectCurrentView()
{
    try {
        CMyFrameWnd* grid = GetGridFrame();
        const std::vector<CVantrelView*> panes = grid ? grid->GetPanes() : std::vector<CVantrelView*>();
        if (panes.empty()) {
            m_bSelected = 1;
            return;
        }
        for (CVantrelView* pane : panes) {
            if (pane == this) {
                m_bSelected = 1;
            } else {
                pane->m_bSelected = 0;
                pane->Invalidate(FALSE);
            }
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "SelectCurrentView");
    }
}

void CVantrelView::SelectThumbnail(int nIndex)
{
    try {
        IViewChildFrame* child = GetViewMainWindow() ? GetViewMainWindow()->MDIGetActive() : nullptr;
        if (IThumbnailSelection* selection = child ? child->GetThumbnailSelection() : nullptr)
            selection->OnSelectThumbnail(nIndex);
    } catch (...) {
    }
}

QPoint CVantrelView::ClientToImagePoint(QPoint point) const
{
    const CDoublePoint p = ClientToImagePoint(CDoublePoint(point.x(), point.y()));
    const auto truncated = [](double v) {
        return std::isfinite(v) ? int(std::clamp(std::trunc(v), double(INT_MIN), double(INT_MAX))) : 0;
    };
    return QPoint(truncated(p.x), truncated(p.y));
}

CDoublePoint CVantrelView::ClientToImagePoint(const CDoublePoint& point) const
{
    if (m_fZoom == 0.0f || !std::isfinite(m_fZoom))
        return CDoublePoint(0, 0);
    const QPoint scroll = GetScrollPosition();
    return CDoublePoint((point.x + scroll.x()) / m_fZoom, (point.y + scroll.y()) / m_fZoom);
}

void CVantrelView::ClearImageMargins()
{
    try {
        if (!m_bViewAdjusted)
            return;
        m_bViewAdjusted = 0;
        // Every paint composes the whole pane on black: a repaint clears the bands
        Invalidate(TRUE);
    } catch (...) {
    }
}
