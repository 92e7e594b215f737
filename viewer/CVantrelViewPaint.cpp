// CVantrelView: the drawing pipeline (image, shapes, scales, rubber band, frame, corner texts),
// the overlay texts, the selected viewport and the point conversion.

#include "viewer/CVantrelView.h"

// Qt
#include <QFontMetricsF>
#include <QPainter>

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
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
    if (m_pTextFont && m_pTextFont->GetFont())
        dc.setFont(*m_pTextFont->GetFont()); // the overlay's font, as every other text
    dc.setPen(Qt::white);
    dc.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
    dc.restore();
}

// What one paint keeps for the next
struct ViewPaintCache
{
    QImage buffer;                    // the pane, where shapes or the rubber band need its pixels
    QImage band;                      // rows of the stretched picture on their way to the target
    ViewOverlay::LayoutCache overlay; // the corner texts as laid out last
    QFont bufferFont;                 // the font a painter on a fresh picture starts with
    bool bBufferFont = false;
};

namespace {

// Black over the client outside `area` (which lies inside it)
void FillOutside(QPainter& dc, const QRect& client, const QRect& area)
{
    if (area.isEmpty()) {
        dc.fillRect(client, Qt::black);
        return;
    }
    const QRect bands[] = {
        QRect(client.left(), client.top(), client.width(), area.top() - client.top()),
        QRect(client.left(), area.bottom() + 1, client.width(), client.bottom() - area.bottom()),
        QRect(client.left(), area.top(), area.left() - client.left(), area.height()),
        QRect(area.right() + 1, area.top(), client.right() - area.right(), area.height()),
    };
    for (const QRect& band : bands)
        if (!band.isEmpty())
            dc.fillRect(band, Qt::black);
}

// Bytes of one band of the stretched picture: small enough to stay in the cache between its
// stretch and its copy to the target
constexpr int kBandBytes = 256 * 1024;

} // namespace

ViewPaintCache& CVantrelView::PaintCache()
{
    if (!m_pPaintCache)
        m_pPaintCache = std::make_shared<ViewPaintCache>();
    return *m_pPaintCache;
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
        ViewPaintCache& cache = PaintCache();
        if (!cache.bBufferFont) {
            QImage probe(1, 1, QImage::Format_RGB32);
            cache.bufferFont = QPainter(&probe).font();
            cache.bBufferFont = true;
        }
        const QRect clientRect(QPoint(0, 0), client);
        const QPoint origin = m_ptPanOffset - GetScrollPosition();
        const QSize extent = GetTotalDeviceSize();

        // The shapes of this image, unless hidden
        CMyFrameWnd* grid = GetGridFrame();
        bool shapes = false;
        if (grid && !m_bCineRunning && !g_bAnnotationsHidden && !g_bMagnifierMode && !m_strImageKey.isEmpty())
            for (const std::unique_ptr<CShapeCollection>& shape : grid->m_arrShapes)
                if (shape && shape->GetImageKey() == m_strImageKey) {
                    shapes = true;
                    break;
                }
        // Shapes and the rubber band read the pixels they draw over: they are drawn on a
        // buffer of the pane. Everything else is painted on the target, at one to one.
        const bool rubberBand = m_bSelected && m_nDrawShape != 0 && !g_bAnnotationsHidden;
        const QPaintDevice* device = pDC->device();
        const bool oneToOne = !device || device->devicePixelRatioF() == 1.0;
        const QRect destination(origin, extent);
        const bool stretched = m_pDisplayImage && CanStretchBlit(m_pDisplayImage->GetQImage(), destination);
        // The part of the pane the picture covers
        const QRect area = stretched ? destination.intersected(clientRect) : QRect();

        // Scales, rubber band, frame and corner texts, over the picture and the shapes
        const auto drawMarks = [&](CShapeCanvas& canvas) {
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
        };

        if (!shapes && !rubberBand && oneToOne && (stretched || !m_pDisplayImage)) {
            pDC->save();
            FillOutside(*pDC, clientRect, area);
            if (!area.isEmpty()) {
                // Band by band: each one stretched and copied while it is still in the cache
                const int rows = std::clamp(kBandBytes / (4 * area.width()), 1, area.height());
                if (cache.band.width() != area.width() || cache.band.height() != rows)
                    cache.band = QImage(area.width(), rows, QImage::Format_RGB32);
                if (cache.band.isNull()) {
                    pDC->restore();
                    return;
                }
                for (int top = area.top(); top <= area.bottom(); top += rows) {
                    const int count = std::min(rows, area.bottom() + 1 - top);
                    QImage part(cache.band.bits(), area.width(), count, cache.band.bytesPerLine(), QImage::Format_RGB32);
                    StretchBlit(m_pDisplayImage->GetQImage(), part, destination.translated(-area.left(), -top));
                    pDC->drawImage(QPoint(area.left(), top), part);
                }
            }
            pDC->setFont(cache.bufferFont);
            {
                CShapeCanvas canvas(*pDC, nullptr, ScreenMetrics());
                drawMarks(canvas);
            }
            pDC->restore();
            return;
        }

        // One client-sized buffer, kept from paint to paint
        if (cache.buffer.size() != client)
            cache.buffer = QImage(client, QImage::Format_RGB32);
        if (cache.buffer.isNull())
            return; // the pane stays as it was
        {
            QPainter memory(&cache.buffer);
            CShapeCanvas canvas(memory, &cache.buffer, ScreenMetrics());
            FillOutside(memory, clientRect, area);
            if (stretched)
                StretchBlit(m_pDisplayImage->GetQImage(), cache.buffer, destination);
            else if (m_pDisplayImage) // the bitmap's own drawing for any other kind
                m_pDisplayImage->Draw2(&memory, origin.x(), origin.y(), extent.width(), extent.height());

            if (shapes) {
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
            drawMarks(canvas);
        }
        pDC->drawImage(0, 0, cache.buffer);
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
        // Laid out again only when a text, the size or the font changed
        ViewOverlay::LayoutCache& layout = PaintCache().overlay;
        const std::vector<ViewOverlay::Line>& lines = layout.Lines(texts, multiFrame, width(), height(), font, ScreenMetrics());

        // Transparent, in the text colour, the top of each text at its y
        QPainter& painter = pDC->GetPainter();
        painter.save();
        painter.setFont(font);
        painter.setPen(Gdi::ColorFromRef(m_crTextColor));
        const POINT origin = pDC->GetViewportOrg();
        // Each line shaped once per layout; its base line where a text drawn at the top of
        // its line puts it
        const QFontMetricsF metrics(font);
        const qreal base = metrics.ascent() + std::max<qreal>(0.0, metrics.leading());
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (!lines[i].text.isEmpty())
                painter.drawStaticText(QPointF(lines[i].x + origin.x, lines[i].y + origin.y + layout.Ascent() - base),
                                       layout.StaticText(i));
        painter.restore();
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
