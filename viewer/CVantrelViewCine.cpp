// CVantrelView: cine playback. The loop's timing and states are CineLoop's; this file gives it
// what to decode (plain data), shows the frames it hands over, marks the source and brings the
// view back to the frame shown when the loop pauses or ends.

#include "viewer/CVantrelView.h"

// Qt
#include <QFile>
#include <QList>
#include <QMetaObject>
#include <QStringList>

// std
#include <algorithm>
#include <atomic>
#include <memory>

// Orvane
#include "platform/CxImage.h"
#include "platform/ReportSystemError.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CineNewControls.h"
#include "viewer/RenderWindow.h"

namespace {

// What a worker decodes, copied from the UI thread's records when the loop starts. The worker
// opens its own image objects: the view's are the UI thread's.
struct CineSource
{
    bool bFrames = false;                // frames of `path`, else the files of `paths`
    QByteArray path;
    std::vector<QByteArray> paths;
    std::atomic<int> nWidth{1};          // the window the view shows, set again at every resume
    std::atomic<int> nCentre{0};
    std::atomic<int> nFailed{-1};        // the index that could not be read, which ended the loop
    std::unique_ptr<CxImageDCM> pDicom;  // the worker's own object of a frame loop
};

// Runs on the worker: one frame (or image) rendered into a new bitmap; null when it can't be
// read
std::unique_ptr<CxImage> RenderCineIndex(CineSource& source, int index)
{
    if (source.bFrames) {
        if (!source.pDicom) {
            source.pDicom = std::make_unique<CxImageDCM>();
            QList<CxImage*> first;
            const int loaded = source.pDicom->LoadDCM(source.path.constData(), &first, FALSE);
            qDeleteAll(first);
            if (!loaded)
                return nullptr;
        }
        source.pDicom->m_nCurrentFrame = index + 1;
        return std::unique_ptr<CxImage>(source.pDicom->WindowLevelling(source.nWidth, source.nCentre));
    }
    if (index < 0 || size_t(index) >= source.paths.size())
        return nullptr;
    // Every image at the window the view shows, not at its own file's
    CxImageDCM dicom;
    QList<CxImage*> rendered;
    const int loaded = dicom.LoadDCM(source.paths[size_t(index)].constData(), &rendered, FALSE);
    qDeleteAll(rendered);
    if (!loaded)
        return nullptr;
    return std::unique_ptr<CxImage>(dicom.WindowLevelling(source.nWidth, source.nCentre));
}

// The window the view shows, as the view renders it
RenderWindow ShownWindow(const CVantrelDoc* document)
{
    return document ? ToRenderWindow(document->m_fWindowWidth, document->m_fWindowCenter) : RenderWindow();
}

} // namespace

CineNewControls* CVantrelView::GetCineBar() const
{
    return qobject_cast<CineNewControls*>(m_wndCineControls.data());
}

long long CVantrelView::GetCineFramesDropped() const
{
    return m_pCineLoop ? m_pCineLoop->GetDropped() : 0;
}

void CVantrelView::SetCineFrameRate()
{
    try {
        if (!m_pDicomImage)
            return;
        const int rate = CineSchedule::RateFromInterval(m_pDicomImage->GetFrameInterval());
        if (rate == 0) {
            // An interval of 0 gives no rate: the slider stays as it was
            ReportSystemError(GetLastError(), "SetCineFrameRate");
            return;
        }
        m_nCineRate = rate;
        if (CineNewControls* bar = GetCineBar())
            bar->ShowFileRate(rate);
    } catch (...) {
        ReportSystemError(GetLastError(), "SetCineFrameRate");
    }
}

void CVantrelView::SetCineMark()
{
    if (m_bFrameCine) {
        m_pCineMarkedImage = m_pImage;
        if (m_pImage)
            m_pImage->SetCineRunning(1);
        if (m_pDicomImage)
            m_pDicomImage->SetCineRunning(1);
    } else {
        m_pCineMarkedSeries = m_pSeries;
        if (m_pSeries)
            m_pSeries->SetCineRunning(1);
    }
}

void CVantrelView::ClearCineMark()
{
    // The records this view marked, whatever it shows now
    if (m_pCineMarkedImage)
        m_pCineMarkedImage->SetCineRunning(0);
    if (m_pCineMarkedSeries)
        m_pCineMarkedSeries->SetCineRunning(0);
    m_pCineMarkedImage = nullptr;
    m_pCineMarkedSeries = nullptr;
    if (m_pDicomImage)
        m_pDicomImage->SetCineRunning(0);
}

BOOL CVantrelView::IsCineRunningOnSource() const
{
    if (!m_pDicomImage)
        return FALSE;
    if (m_pDicomImage->GetNumberOfFrames() > 1)
        return m_pImage && m_pImage->IsCineRunning() ? TRUE : FALSE;
    return m_pSeries && m_pSeries->IsCineRunning() ? TRUE : FALSE;
}

void CVantrelView::RunDCMCine()
{
    try {
        if (m_nCineState == 1)
            return;
        if (!m_pDicomImage || !m_pImage)
            return;
        const RenderWindow window = ShownWindow(m_pDocument);

        // Paused: the same worker goes on after the frame shown, at the window shown now
        if (m_nCineState == 2 && m_pCineLoop && m_pCineLoop->GetState() == CineSchedule::kPaused) {
            m_nCineState = 1;
            m_bCineRunning = 1;
            SetCineMark();
            m_pCineLoop->SetRate(m_nCineRate);
            m_pCineLoop->Seek(m_nCineShown + 1);
            if (m_fnCineWindow)
                m_fnCineWindow(window.nWidth, window.nCentre);
            m_pCineLoop->Start(0, m_nCineRate, {}, {});
            return;
        }

        const int frames = m_pDicomImage->GetFrameCount();
        const bool frameCine = frames > 1;
        const int count = frameCine ? frames : (m_pSeries ? m_pSeries->GetImageCount() : 0);
        if (count <= 1) {
            // A single-frame image alone in its series: nothing to play
            m_bCineRunning = 0;
            m_nCineState = 0;
            return;
        }
        StopCineThread();

        auto source = std::make_shared<CineSource>();
        source->bFrames = frameCine;
        source->nWidth = window.nWidth;
        source->nCentre = window.nCentre;
        if (frameCine) {
            source->path = QFile::encodeName(m_pImage->m_strFilePath);
        } else {
            for (int i = 0; i < count; ++i) {
                const CImageInfo* image = m_pSeries->GetImageAt(i);
                source->paths.push_back(image ? QFile::encodeName(image->m_strFilePath) : QByteArray());
            }
        }
        // Resuming hands the window shown now to the loop
        m_fnCineWindow = [source](int w, int c) {
            source->nWidth = w;
            source->nCentre = c;
        };

        m_bFrameCine = frameCine;
        m_nCineShown = 0;
        m_nCineFramesShown = 0;
        const int run = ++m_nCineRun;
        m_bCineRunning = 1;
        m_nCineState = 1;
        m_hCineDoneEvent = false;
        SetCineMark();
        if (!m_pCineLoop)
            m_pCineLoop = std::make_unique<CineLoop>();
        CVantrelView* view = this;
        const char* where = frameCine ? "CVantrelView::RunDCMCineLoop" : "CVantrelView::RunDCMCineLoopFile";
        // Runs on the worker
        auto render = [source, view, run, where](int index) -> bool {
            try {
                std::unique_ptr<CxImage> bitmap = RenderCineIndex(*source, index);
                if (!bitmap || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0) {
                    source->nFailed = index;
                    return false;
                }
                const QImage frame = bitmap->GetQImage();
                QMetaObject::invokeMethod(
                    view, [view, run, index, frame] { view->OnCineFrame(run, index, frame); }, Qt::QueuedConnection);
                return true;
            } catch (...) {
                ReportSystemError(GetLastError(), where);
            }
            source->nFailed = index;
            return false;
        };
        // Runs on the worker as its last act
        auto ended = [view, run, source](bool failed) {
            const int index = failed ? source->nFailed.load() : -1;
            QMetaObject::invokeMethod(
                view, [view, run, failed, index] { view->OnCineEnded(run, failed, index); }, Qt::QueuedConnection);
        };
        if (!m_pCineLoop->Start(count, m_nCineRate, render, ended)) {
            ClearCineMark();
            m_bCineRunning = 0;
            m_nCineState = 0;
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::RunDCMCine");
    }
}

void CVantrelView::OnCineFrame(int nRun, int nIndex, const QImage& frame)
{
    try {
        if (m_pCineLoop)
            m_pCineLoop->FrameTaken();
        if (nRun != m_nCineRun || m_nCineState != 1)
            return;
        CxImage bitmap;
        if (!bitmap.CreateFromHBITMAP(frame))
            return;
        // The view's orientation and inversion apply to every frame
        SetDisplayedBitmap(bitmap);
        m_nCineShown = nIndex;
        ++m_nCineFramesShown;
        if (m_bFrameCine) {
            m_nCurrentFrame = nIndex;
        } else if (m_pSeries) {
            if (CImageInfo* image = m_pSeries->GetImageAt(nIndex))
                m_pImage = image;
        }
        DrawImageInfoOverlay();
        Invalidate(FALSE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnCineFrame");
    }
}

void CVantrelView::OnCineEnded(int nRun, bool bFailed, int nFailedIndex)
{
    try {
        if (nRun != m_nCineRun)
            return; // a loop stopped from here, told after the stop
        if (bFailed && nFailedIndex >= 0 && m_nCineState == 1) {
            // The loop settles on the index it could not read: the pane says why, as for a
            // refused image, and paging goes back to the ones shown before it
            m_nCineShown = nFailedIndex;
            if (!m_bFrameCine && m_pSeries) {
                if (CImageInfo* image = m_pSeries->GetImageAt(nFailedIndex))
                    m_pImage = image;
            }
        }
        StopCine();
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnCineEnded");
    }
}

void CVantrelView::SetCineRate(int nRate)
{
    m_nCineRate = CineSchedule::ClampRate(nRate);
    if (m_pCineLoop)
        m_pCineLoop->SetRate(m_nCineRate);
}

void CVantrelView::SeekCine(int nIndex)
{
    if (m_pCineLoop)
        m_pCineLoop->Seek(nIndex);
}

void CVantrelView::SettleAfterCine()
{
    // The view's own image object goes to the frame shown, so frame steps, paging and the probe
    // go on from there, at the window shown during the loop
    const RenderWindow window = ShownWindow(m_pDocument);
    if (m_bFrameCine) {
        if (!m_pDicomImage)
            return;
        m_pDicomImage->m_nCurrentFrame = m_nCineShown + 1;
        m_nCurrentFrame = m_nCineShown;
        // Into the document's picture, as paging puts a frame there; a frame that cannot be
        // read leaves no picture, and the pane says why
        CxImage* current = m_pDocument ? m_pDocument->GetCurrentImage() : nullptr;
        if (!current) {
            RenderWithWindowLevel(window.nWidth, window.nCentre);
        } else if (m_pDicomImage->WindowLevellingInto(current, window.nWidth, window.nCentre)) {
            SetDisplayedBitmap(*current);
        } else {
            current->Destroy();
            if (m_pDisplayImage)
                m_pDisplayImage->Destroy();
        }
    } else if (m_pImage && (!m_pDicomImage || m_pDicomImage->GetFilePath() != m_pImage->m_strFilePath)) {
        const float width = m_pDocument ? m_pDocument->m_fWindowWidth : 0.0f;
        const float centre = m_pDocument ? m_pDocument->m_fWindowCenter : 0.0f;
        if (m_pDocument)
            m_pDocument->m_strFilePath = m_pImage->m_strFilePath;
        LoadImageIntoViewPort(FALSE);
        InitialiseImageData(FALSE);
        // The load took the file's window: the one shown during the loop comes back
        if (m_pDocument && HasPicture()) {
            m_pDocument->m_fWindowWidth = width;
            m_pDocument->m_fWindowCenter = centre;
            RenderWithWindowLevel(window.nWidth, window.nCentre);
        }
    }
    DrawImageInfoOverlay();
}

BOOL CVantrelView::PauseCine()
{
    try {
        if (m_nCineState != 1)
            return TRUE;
        if (m_pCineLoop)
            m_pCineLoop->Pause();
        m_bCineRunning = 0;
        m_nCineState = 2;
        ClearCineMark();
        SettleAfterCine();
        Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "PauseCine");
    }
    return TRUE;
}

void CVantrelView::StopCineThread()
{
    // The one stop of a loop, however it ends: the worker is joined, frames it queued are stale
    // and the mark is off the source
    if (m_pCineLoop)
        m_pCineLoop->Stop();
    ++m_nCineRun;
    // A running view plays its own source: its mark goes even when not recorded here
    if (m_nCineState == 1 && !m_pCineMarkedImage && !m_pCineMarkedSeries) {
        if (m_pDicomImage && m_pDicomImage->GetNumberOfFrames() > 1)
            m_pCineMarkedImage = m_pImage;
        else
            m_pCineMarkedSeries = m_pSeries;
    }
    ClearCineMark();
    m_bCineRunning = 0;
    m_nCineState = 0;
    m_hCineDoneEvent = true;
}

BOOL CVantrelView::StopCine()
{
    try {
        const bool active = m_nCineState != 0;
        if (!active && !(m_pCineLoop && m_pCineLoop->HasThread()))
            return TRUE;
        StopCineThread();
        if (active)
            SettleAfterCine();
        Invalidate(TRUE);
        if (CineNewControls* bar = GetCineBar())
            bar->SyncPlayFace();
    } catch (...) {
        ReportSystemError(GetLastError(), "StopCine");
    }
    return TRUE;
}
