// CVantrelView: loading an image into the viewport, the empty pane, the reduced rendering of
// large images, the pixel scale and the probe value.

#include "viewer/CVantrelView.h"

// Qt
#include <QFile>
#include <QList>
#include <QWidget>

// std
#include <algorithm>
#include <cmath>

// Orvane
#include "state/CAppState.h"
#include "viewer/IViewChildFrame.h"
#include "viewer/IViewMainWindow.h"
#include "controls/CProgressWnd.h"
#include "platform/MemoryTrim.h"
#include "platform/ParallelFor.h"
#include "platform/ReportSystemError.h"
#include "platform/CxImage.h"
#include "study/CImageInfo.h"
#include "study/CStudyList.h"
#include "study/CxImageDCM.h"
#include "study/LoadFailure.h"
#include "state/ToolState.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/DicomImageAccess.h"
#include "viewer/RenderWindow.h"
#include "viewer/ScaleGeometry.h"
#include "viewer/ViewGeometry.h"

namespace {

// The image key of the shown file: its SOP Instance UID, or the record's when the file has
// none, so that a view never takes the shapes of images without a key
QString ImageKeyOf(CxImageDCM& dicom, const CImageInfo* image)
{
    QString key;
    dicom.GetSOPInstanceUID(&key);
    if (key.isEmpty() && image)
        key = image->m_strSOPInstanceUID;
    return key;
}

// The progress window the Study List shows while a study is handed to the viewports
CProgressWnd* LoadProgressWindow()
{
    return theApp.m_pStudyListDlg ? theApp.m_pStudyListDlg->m_pProgressWnd : nullptr;
}

} // namespace

CVantrelView::DecodedImage::DecodedImage() = default;

CVantrelView::DecodedImage::~DecodedImage()
{
    for (CxImage* bitmap : bitmaps)
        delete bitmap;
}

std::unique_ptr<CVantrelView::DecodedImage> CVantrelView::DecodeImage(const QString& path, BOOL bAtLastFrame)
{
    auto decoded = std::make_unique<DecodedImage>();
    decoded->pDicom = std::make_unique<CxImageDCM>();
    QList<CxImage*> rendered;
    const QByteArray name = QFile::encodeName(path);
    decoded->nLoaded = decoded->pDicom->LoadDCM(name.constData(), &rendered, bAtLastFrame);
    decoded->bitmaps.assign(rendered.begin(), rendered.end());
    return decoded;
}

std::vector<std::unique_ptr<CVantrelView::DecodedImage>> CVantrelView::DecodeImages(const QStringList& paths, BOOL bAtLastFrame)
{
    std::vector<std::unique_ptr<DecodedImage>> decoded(std::size_t(paths.size()));
    // Each task writes its own slot; the decoders were registered once for the process
    ParallelFor(decoded.size(), 0, [&](std::size_t i) { decoded[i] = DecodeImage(paths[qsizetype(i)], bAtLastFrame); });
    // The workers' freed decode buffers would otherwise stay in their arenas
    GiveBackFreedMemory();
    return decoded;
}

void CVantrelView::LoadImageIntoViewPort(BOOL bAtLastFrame)
{
    try {
        if (!m_pImage)
            return;
        AttachDecodedImage(DecodeImage(m_pImage->m_strFilePath, bAtLastFrame));
    } catch (...) {
    }
}

void CVantrelView::AttachDecodedImage(std::unique_ptr<DecodedImage> decoded)
{
    try {
        if (!m_pImage)
            return;
        // An angle begun on the image shown so far never ends on this one
        DropUnfinishedAngles(true);
        if (m_pDicomImage) {
            m_arrDicomBitmaps.clear();
            m_pDicomImage.reset();
        }
        if (m_pDocument)
            m_pDocument->ClearImageArray();
        if (!decoded || !decoded->pDicom) // a task that failed: as a file that can't be read
            decoded = DecodeImage(QString(), FALSE);

        m_pDicomImage = std::move(decoded->pDicom);
        m_bBlankPane = false;
        m_dReducedScale = 1.0; // a new object is never shown reduced
        const int loaded = decoded->nLoaded;
        for (CxImage*& bitmap : decoded->bitmaps) {
            if (m_pDocument)
                m_pDocument->m_arrImages.push_back(bitmap);
            else
                delete bitmap;
            bitmap = nullptr;
        }
        decoded->bitmaps.clear();

        // Shapes belong to the image they were drawn on: the key follows every load
        m_strImageKey = ImageKeyOf(*m_pDicomImage, m_pImage);
        m_nCurrentFrame = std::max(0, m_pDicomImage->m_nCurrentFrame - 1);
        if (loaded) {
            if (m_pDocument)
                m_pDocument->SetWindowValues(*m_pDicomImage);
            unsigned short rows = 0;
            unsigned short columns = 0;
            m_pDicomImage->GetImageRow(&rows);
            m_pDicomImage->GetImageColummn(&columns);
            m_fWindowLevelFactor = ViewGeometry::WindowLevelFactor(rows, columns);
        } else if (m_pDisplayImage) {
            // Never the previous picture under this image's texts
            m_pDisplayImage->Destroy();
        }
        UpdatePixelScale();

        if (CProgressWnd* progress = LoadProgressWindow()) {
            if (progress->GetSafeHwnd()) {
                progress->StepIt();
                // Shown now, while the load goes on without the event loop
                progress->GetSafeHwnd()->repaint();
            }
        }
    } catch (...) {
    }
}

void CVantrelView::InitialiseImageData(BOOL bFit)
{
    try {
        m_pDisplayImage.reset();
        if (!m_pDocument || m_pDocument->m_arrImages.empty()) {
            // No picture: the patient and study texts still name the image
            DrawImageInfoOverlay();
            return;
        }
        if (m_pDicomImage) {
            m_strImageKey = ImageKeyOf(*m_pDicomImage, m_pImage);
            m_pDocument->SetWindowValues(*m_pDicomImage);
        }
        DrawImageInfoOverlay();
        SetSelectImage();
        if (bFit) {
            FitImageToWindow();
            CenterImageInView();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::InitialiseImageData");
    }
}

void CVantrelView::CreateBlankViewPort()
{
    try {
        DropUnfinishedAngles(true);
        m_pDisplayImage.reset();
        m_pImage = nullptr;
        m_pSeries = nullptr;
        m_pStudy = nullptr;
        // Black with a white frame, painted by the next paint
        m_bBlankPane = true;
        Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::CreateBlankViewPort");
    }
}

BOOL CVantrelView::CheckLoading()
{
    try {
        // The column's run flag and the application's are set and cleared together
        IViewChildFrame* child = GetViewMainWindow() ? GetViewMainWindow()->MDIGetActive() : nullptr;
        return child && child->HasThumbnailPane() && theApp.m_bThumbThreadRunning ? TRUE : FALSE;
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::CheckLoading");
    }
    return FALSE;
}

void CVantrelView::ReleaseDicomImage()
{
    try {
        if (m_pDicomImage)
            m_pDicomImage->DestroyImageObject();
        m_pDicomImage.reset();
        m_arrDicomBitmaps.clear();
    } catch (...) {
    }
}

bool CVantrelView::HasPicture() const
{
    if (!m_pDocument || m_pDocument->m_arrImages.empty())
        return false;
    const CxImage* bitmap = m_pDocument->m_arrImages.front();
    return bitmap && bitmap->GetWidth() > 0 && bitmap->GetHeight() > 0;
}

QString CVantrelView::NoPictureText() const
{
    if (!m_pImage || HasPicture())
        return QString();
    const QString failure = m_pDicomImage ? m_pDicomImage->GetLoadFailure() : QString();
    if (!failure.isEmpty())
        return failure;
    // A multi-frame image that opened and shows no picture: the frame shown could not be read
    if (m_pDicomImage && m_pDicomImage->IsMultiFrame())
        return QString::fromLatin1(LoadFailure::kFrameUnreadable);
    return QString::fromLatin1(LoadFailure::kPixelDataUnreadable);
}

bool CVantrelView::IsReducedImageShown() const
{
    return m_pDicomImage && m_pDicomImage->m_pFullDicomImage
           && m_pDicomImage->m_pFullDicomImage != m_pDicomImage->m_pDicomImage;
}

QSize CVantrelView::FullDisplayedSize() const
{
    if (!IsReducedImageShown())
        return DisplayedSize();
    return Orientation::DisplayedSize(GetOrientation(), DicomImageAccess::ImageSize(m_pDicomImage->m_pFullDicomImage));
}

float CVantrelView::GetShapeZoom() const
{
    if (!IsReducedImageShown())
        return m_fZoom;
    return ViewGeometry::ExtentZoom(GetTotalDeviceSize(), FullDisplayedSize());
}

void CVantrelView::UseReducedImage()
{
    try {
        if (!m_pImage || width() <= 0 || !m_pDicomImage || !HasPicture())
            return;
        unsigned short columns = 0;
        unsigned short rows = 0;
        m_pDicomImage->GetImageColummn(&columns);
        m_pDicomImage->GetImageRow(&rows);
        const ViewGeometry::ReducedPlan plan = ViewGeometry::PlanReducedImage(columns, rows);
        CxImageDCM& dicom = *m_pDicomImage;
        if (dicom.m_pDicomImage && plan.bReduce) {
            if (dicom.m_pReducedDicomImage && dicom.m_pReducedDicomImage == dicom.m_pDicomImage)
                return; // already shown reduced
            if (!dicom.m_pReducedDicomImage)
                dicom.m_pReducedDicomImage = DicomImageAccess::CreateReducedImage(dicom.m_pDicomImage, plan.nWidth, plan.nHeight);
            if (dicom.m_pReducedDicomImage) {
                dicom.m_pFullDicomImage = dicom.m_pDicomImage;
                m_dReducedScale = plan.dScale;
                dicom.m_pDicomImage = dicom.m_pReducedDicomImage;
                if (m_pDocument) {
                    const RenderWindow window = ToRenderWindow(m_pDocument->m_fWindowWidth, m_pDocument->m_fWindowCenter);
                    RenderWithWindowLevel(window.nWidth, window.nCentre);
                }
                // The smaller bitmap fills the same extent; shapes keep their points and are
                // drawn at the full image's zoom
                m_fZoom = ViewGeometry::ExtentZoom(GetTotalDeviceSize(), DisplayedSize());
                UpdatePixelScale();
            }
        }
        if (m_pDisplayImage && m_pWorkImage) {
            m_pWorkImage->Copy(*m_pDisplayImage, true, true, true);
            if (m_pWorkImage->GetBpp() != 24)
                m_pWorkImage->IncreaseBpp(24);
        }
    } catch (...) {
    }
}

void CVantrelView::RestoreFullImage()
{
    try {
        if (!m_pImage || width() <= 0 || !HasPicture())
            return;
        unsigned short columns = 0;
        unsigned short rows = 0;
        if (m_pDicomImage) {
            m_pDicomImage->GetImageColummn(&columns);
            m_pDicomImage->GetImageRow(&rows);
        }
        const RenderWindow window = m_pDocument ? ToRenderWindow(m_pDocument->m_fWindowWidth, m_pDocument->m_fWindowCenter)
                                                : RenderWindow();
        const int windowWidth = window.nWidth;
        const int windowCentre = window.nCentre;
        if (columns > 800 || rows > 800) {
            if (IsReducedImageShown()) {
                m_pDicomImage->m_pDicomImage = m_pDicomImage->m_pFullDicomImage;
                m_dReducedScale = 1.0;
                RenderWithWindowLevel(windowWidth, windowCentre);
                m_fZoom = ViewGeometry::ExtentZoom(GetTotalDeviceSize(), DisplayedSize());
                UpdatePixelScale();
                Invalidate(TRUE);
            }
        } else {
            RenderWithWindowLevel(windowWidth, windowCentre);
            Invalidate(TRUE);
        }
        if (m_pWorkImage)
            m_pWorkImage->Clear(0);
    } catch (...) {
    }
}

void CVantrelView::UpdatePixelScale()
{
    try {
        if (!m_pImage || !m_pDisplayImage || m_fZoom == 0.0f || !m_pDicomImage)
            return;
        // Row spacing (along y) first, column spacing (along x) second; the spacing the
        // lengths and areas drawn on the image use
        double spacing[2] = {1.0, 1.0};
        m_pDicomImage->GetMeasurementSpacing(spacing);
        m_dPixelsPerCm = ScaleGeometry::PixelsPerCm(spacing[1], m_dReducedScale);
        m_dPixelsPerCmY = ScaleGeometry::PixelsPerCm(spacing[0], m_dReducedScale);
    } catch (...) {
    }
}

double CVantrelView::GetPixelValue(const CDoublePoint& pt)
{
    try {
        if (!m_pDicomImage || !m_pDicomImage->m_pDicomImage || !HasPicture())
            return 0.0;
        const CxImageDCM& dicom = *m_pDicomImage;
        // The point is a pixel of the full image, also while the reduced one is shown
        const DicomImage* full = IsReducedImageShown() ? dicom.m_pFullDicomImage : dicom.m_pDicomImage;
        const QSize source = DicomImageAccess::ImageSize(full);
        const ViewOrientation orientation = GetOrientation();
        const QSize displayed = Orientation::DisplayedSize(orientation, source);
        if (!std::isfinite(pt.x) || !std::isfinite(pt.y))
            return 0.0;
        const double tx = std::trunc(pt.x);
        const double ty = std::trunc(pt.y);
        if (tx < 0 || ty < 0 || tx >= displayed.width() || ty >= displayed.height())
            return 0.0;
        // Back to the unturned image
        const QPoint pixel = Orientation::SourcePixel(orientation, QPoint(int(tx), int(ty)), source);
        const int frame = std::max(0, dicom.m_nCurrentFrame - 1);
        return DicomImageAccess::PixelValue(full, frame, pixel.x(), pixel.y()).value_or(0.0);
    } catch (...) {
    }
    return 0.0;
}

BOOL CVantrelView::IsProbeAvailable() const
{
    return g_bProbeMode && HasPicture() && (m_strModality == QLatin1String("CT") || m_strModality == QLatin1String("MR"));
}

void CVantrelView::GetPixelSpacing(double spacing[2])
{
    if (m_pDicomImage && spacing)
        m_pDicomImage->GetPixelSpacing(spacing);
}
