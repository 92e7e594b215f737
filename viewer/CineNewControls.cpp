// CineNewControls: the cine bar's buttons, slider, layout and placement over its view.

#include "viewer/CineNewControls.h"

// Qt
#include <QEvent>
#include <QPainter>
#include <QThread>

// Orvane
#include "state/CAppState.h"
#include "platform/MessageNotifier.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CxImageDCM.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/CineBarGeometry.h"

namespace {

constexpr int kIdStop = 1115;
constexpr int kIdPrevious = 1036;
constexpr int kIdNext = 1037;
constexpr int kIdPrevFrame = 1038;
constexpr int kIdNextFrame = 1039;
constexpr int kIdMore = 1042;

const char* const kCaption = "Perlisk Orvane";

bool IsMultiFrame(CVantrelView* view)
{
    return view->m_pDicomImage && view->m_pDicomImage->GetNumberOfFrames() > 1;
}

} // namespace

CineNewControls::CineNewControls(CVantrelView* pView)
    : QWidget(pView ? pView->window() : nullptr)
    , m_pView(pView)
    , m_btnPrevFrame(kIdPrevFrame, this)
    , m_btnNextFrame(kIdNextFrame, this)
    , m_btnMore(kIdMore, this)
    , m_btnPrevious(kIdPrevious, this)
    , m_btnNext(kIdNext, this)
    , m_btnStop(kIdStop, this)
    , m_btnPlay(IDC_BTN_PLAYCINENEW, this)
    , m_lblSpeed(this)
    , m_sliderSpeed(this)
{
    try {
        setAttribute(Qt::WA_OpaquePaintEvent);
        if (pView)
            pView->m_wndCineControls = this;
        for (CImageButton* button : {&m_btnPrevFrame, &m_btnNextFrame, &m_btnMore, &m_btnPrevious, &m_btnNext,
                                     &m_btnStop, &m_btnPlay})
            connect(button, &CImageButton::Command, this, &CineNewControls::OnCommand);
        m_btnStop.hide(); // the template makes it hidden and nothing shows it
        m_btnPlay.setToolTip(QStringLiteral("Play/Pause"));
        m_btnPrevious.setToolTip(QStringLiteral("Previous"));
        m_btnNext.setToolTip(QStringLiteral("Next"));
        m_btnPrevFrame.setToolTip(QStringLiteral("Prev Frame"));
        m_btnNextFrame.setToolTip(QStringLiteral("Next Frame"));
        m_btnMore.setToolTip(QStringLiteral("More"));
        m_sliderSpeed.setToolTip(QStringLiteral("Adjust Speed"));
        m_lblSpeed.setToolTip(QStringLiteral("Adjust Speed"));

        // Slider: the selection lies inside the range (the template's 25..75 ends at 45)
        m_sliderSpeed.SetRange(0, 45);
        m_sliderSpeed.SetSelection(25, 75);
        m_sliderSpeed.SetPos(theApp.m_nInitialCineSpeed);
        m_sliderSpeed.SetFaceColor(0x00FF00);
        m_sliderSpeed.SetSelectionColor(0x635048);
        m_sliderSpeed.SetChannelColor(0x635048);
        connect(&m_sliderSpeed, &QSlider::actionTriggered, this, [this](int action) {
            // The left end is 1 frame per second, never 0
            if (action == QAbstractSlider::SliderToMinimum)
                m_sliderSpeed.setSliderPosition(1);
        });
        connect(&m_sliderSpeed, &QSlider::valueChanged, this, &CineNewControls::OnHScroll);
        m_lblSpeed.SetLabelFont(QStringLiteral("Verdana"), 12, true, false, false, false);
        m_lblSpeed.SetTextColor(0xFFFFFF);
        m_lblSpeed.SetText(QString::asprintf("%d", m_sliderSpeed.GetPos()), false);

        m_imgPlay.LoadResource(798);
        m_imgPause.LoadResource(799);
        m_imgNext.LoadResource(794);
        m_imgPrevious.LoadResource(795);
        m_imgMore.LoadResource(796);
        m_imgNextFrame.LoadResource(1050);
        m_imgPrevFrame.LoadResource(1051);
        m_imgExpanded.LoadResource(797);
        m_imgCollapsed.LoadResource(791);

        WatchView();
        // Laid out collapsed, then the first toggle expands it
        m_bExpandNext = 1;
        m_bExpanded = 0;
        Reposition();
        m_sliderSpeed.hide();
        m_lblSpeed.hide();
        ResizeControlsOnToggle();
        raise();
    } catch (...) {
        ReportSystemError(GetLastError(), "DoubleBufferingImage");
    }
}

CineNewControls::~CineNewControls()
{
    try {
        for (const QPointer<QObject>& watched : m_watched)
            if (watched)
                watched->removeEventFilter(this);
    } catch (...) {
        ReportSystemError(GetLastError(), "CineNewControls::OnDestroy");
    }
}

void CineNewControls::WatchView()
{
    // The view moves with its ancestors: a rebuild, full screen or the thumbnail column moves
    // them and not the view itself
    for (QObject* o = m_pView.data(); o && o != parentWidget(); o = o->parent()) {
        o->installEventFilter(this);
        m_watched.emplace_back(o);
    }
}

bool CineNewControls::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        Reposition();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QRect CineNewControls::ViewRect() const
{
    if (!m_pView || !parentWidget())
        return QRect();
    return QRect(m_pView->mapTo(parentWidget(), QPoint(0, 0)), m_pView->size());
}

void CineNewControls::Reposition()
{
    try {
        if (!m_pView)
            return;
        const QRect view = ViewRect();
        CMyFrameWnd* grid = CVantrelView::GetGridFrame();
        const int rows = grid ? grid->GetPaneRows() : 0;
        const int cols = grid ? grid->GetPaneColumns() : 0;
        const int monitor = theApp.m_rcMonitor.right - theApp.m_rcMonitor.left;
        m_rcExpanded = CineBarGeometry::ExpandedRect(view, monitor > 0 ? monitor : 1920, rows, cols);
        m_rcCollapsed = CineBarGeometry::CollapsedRect(view);
        setGeometry(m_bExpanded ? m_rcExpanded : m_rcCollapsed);
        LayOut();
        const bool viewShown = parentWidget() && m_pView->isVisibleTo(parentWidget());
        if (!viewShown && isVisible()) {
            m_bFollowing = true;
            hide();
            m_bFollowing = false;
        } else if (viewShown && m_bFollowing == false && m_bShown && !isVisible()) {
            show();
            raise();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "ResizeControlsOnToggle");
    }
}

void CineNewControls::LayOut()
{
    const CineBarGeometry::Controls c = CineBarGeometry::Layout(rect());
    m_btnNext.setGeometry(c.next);
    m_btnNextFrame.setGeometry(c.nextFrame);
    m_btnPlay.setGeometry(c.play);
    m_btnPrevFrame.setGeometry(c.prevFrame);
    m_btnPrevious.setGeometry(c.previous);
    m_btnMore.setGeometry(c.more);
    m_lblSpeed.setGeometry(c.label);
    m_sliderSpeed.setGeometry(c.slider);
    m_lblSpeed.raise();
}

void CineNewControls::ResizeControlsOnToggle()
{
    try {
        const bool expand = m_bExpandNext != 0;
        m_bExpandNext = !m_bExpandNext;
        m_bExpanded = !m_bExpanded;
        setGeometry(expand ? m_rcExpanded : m_rcCollapsed);
        LayOut();
        m_sliderSpeed.setVisible(m_bExpanded);
        m_lblSpeed.setVisible(m_bExpanded);
        m_lblSpeed.update();
        update();
    } catch (...) {
        ReportSystemError(GetLastError(), "ResizeControlsOnToggle");
    }
}

void CineNewControls::paintEvent(QPaintEvent*)
{
    try {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        const CxImage& background = m_bExpanded ? m_imgExpanded : m_imgCollapsed;
        background.Draw2(&p, 0, 0, width(), height());
        auto face = [&p](const CxImage& image, const QWidget& button) {
            if (button.isVisible() || !button.isHidden())
                image.Draw2(&p, button.x(), button.y(), button.width(), button.height());
        };
        face(m_bPauseFace ? m_imgPause : m_imgPlay, m_btnPlay);
        face(m_imgNext, m_btnNext);
        face(m_imgNextFrame, m_btnNextFrame);
        face(m_imgPrevFrame, m_btnPrevFrame);
        face(m_imgPrevious, m_btnPrevious);
        face(m_imgMore, m_btnMore);
    } catch (...) {
        ReportSystemError(GetLastError(), "DoubleBufferingImage");
    }
}

void CineNewControls::hideEvent(QHideEvent* event)
{
    // Hidden by anyone but its view: a paused loop does not stay paused behind it
    if (!m_bFollowing && m_pView && m_pView->m_nCineState == 2)
        m_pView->StopCine();
    QWidget::hideEvent(event);
}

void CineNewControls::OnCommand(int nID)
{
    switch (nID) {
    case IDC_BTN_PLAYCINENEW: OnBtnPlaycinenew(); break;
    case kIdStop: OnBtnStaycinenew(); break;
    case kIdNext: OnCineLast(); break;
    case kIdPrevious: OnCineFirst(); break;
    case kIdNextFrame: OnNextFrame(); break;
    case kIdPrevFrame: OnPrevFrame(); break;
    case kIdMore: ResizeControlsOnToggle(); break;
    default: break;
    }
}

void CineNewControls::SyncPlayFace()
{
    m_bPauseFace = m_pView && m_pView->m_nCineState == 1 ? 1 : 0;
    m_bPlaying = m_bPauseFace;
    update();
}

void CineNewControls::OnBtnPlaycinenew()
{
    try {
        CVantrelView* view = m_pView;
        if (!view)
            return;
        view->SelectCurrentView();
        if (view->m_nCineState == 0 || view->m_nCineState == 2) {
            // When nothing starts the face says so, also on a bar just made (which begins with
            // the pause face)
            if (IsMultiFrame(view)) {
                if (view->IsCineRunningOnSource()) {
                    MessageBox(this, QStringLiteral("Same Image is running in another view port"),
                               QString::fromLatin1(kCaption), MB_ICONINFORMATION);
                    SyncPlayFace();
                    return;
                }
            } else {
                if (!view->m_pSeries || view->m_pSeries->GetImageCount() == 1) {
                    SyncPlayFace();
                    return;
                }
                if (view->IsCineRunningOnSource()) {
                    MessageBox(this, QStringLiteral("Same Series is running in another view port"),
                               QString::fromLatin1(kCaption), MB_ICONINFORMATION);
                    SyncPlayFace();
                    return;
                }
            }
            if (view->m_nCineState == 0) {
                if (!view->m_bSelected) {
                    view->m_bSelected = 1;
                    view->Invalidate(TRUE);
                }
                view->setFocus(Qt::OtherFocusReason);
                StartCineLoop();
            } else {
                // Resumed at the frame after the one shown, at the slider's rate
                m_bPlaying = 1;
                view->SetCineRate(m_sliderSpeed.GetPos());
                view->RunDCMCine();
            }
        } else {
            PauseCineloop();
        }
        SyncPlayFace();
        view->update();
    } catch (...) {
        ReportSystemError(GetLastError(), "OnBtnPlaycinenew");
    }
}

void CineNewControls::StartCineLoop()
{
    try {
        if (!m_pView)
            return;
        m_bPlaying = 1;
        m_pView->SetCineFrameRate();
        m_pView->SetCineRate(m_sliderSpeed.GetPos());
        m_pView->RunDCMCine();
        SyncPlayFace();
    } catch (...) {
        ReportSystemError(GetLastError(), "StartCineLoop");
    }
}

void CineNewControls::PauseCineloop()
{
    try {
        m_bPlaying = 0;
        if (m_pView)
            m_pView->PauseCine();
    } catch (...) {
        ReportSystemError(GetLastError(), "PauseCineloop");
    }
}

void CineNewControls::OnBtnStaycinenew()
{
    try {
        m_bPlaying = 0;
        if (m_pView) {
            m_pView->SelectCurrentView();
            m_pView->setFocus(Qt::OtherFocusReason);
            if (CMyFrameWnd* grid = CVantrelView::GetGridFrame())
                grid->SetActiveView(m_pView);
            m_pView->StopCine();
        }
        SyncPlayFace();
    } catch (...) {
        ReportSystemError(GetLastError(), "OnBtnStaycinenew");
    }
}

void CineNewControls::CloseBar()
{
    if (m_pView && (m_pView->m_nCineState != 0 || m_pView->m_bCineRunning))
        m_pView->StopCine();
    m_bShown = 0;
    // The view forgets the bar at once: a Cine press before it is deleted makes a new one
    if (m_pView && m_pView->m_wndCineControls == this)
        m_pView->m_wndCineControls = nullptr;
    hide();
    deleteLater();
}

void CineNewControls::OnHScroll(int nPos)
{
    try {
        const int rate = std::max(1, nPos);
        if (rate != nPos) {
            m_sliderSpeed.SetPos(rate); // comes back here with the rate
            return;
        }
        if (m_pView)
            m_pView->SetCineRate(rate);
        m_lblSpeed.SetText(QString::asprintf("%d", rate), false);
        m_lblSpeed.update();
    } catch (...) {
        ReportSystemError(GetLastError(), "OnHScroll");
    }
}

void CineNewControls::SetSliderRange(int nMin, int nMax)
{
    m_sliderSpeed.SetRange(nMin, nMax);
}

void CineNewControls::ShowFileRate(int nRate)
{
    const QSignalBlocker block(&m_sliderSpeed);
    SetSliderRange(1, 45);
    if (nRate > m_sliderSpeed.GetRangeMax())
        m_sliderSpeed.SetRangeMax(nRate);
    m_sliderSpeed.SetPos(nRate);
    m_sliderSpeed.update();
    m_lblSpeed.SetText(QString::asprintf("%d", nRate), false);
    m_lblSpeed.update();
}

void CineNewControls::OnCineLast()
{
    StepSeries(true);
}

void CineNewControls::OnCineFirst()
{
    StepSeries(false);
}

void CineNewControls::StepSeries(bool bNext)
{
    try {
        CVantrelView* view = m_pView;
        if (!view || !view->m_pStudy || !view->m_pSeries || !view->m_pImage)
            return;
        view->SelectCurrentView();
        CStudyInfo* study = view->m_pStudy;
        const bool multiFrame = IsMultiFrame(view);
        if (multiFrame && view->m_pImage == (bNext ? study->GetLastImage() : study->GetFirstImage()))
            return;
        if (!multiFrame && view->m_pSeries == (bNext ? study->GetLastSeries() : study->GetFirstSeries()))
            return;

        const bool wasRunning = view->m_nCineState == 1;
        view->StopCine();

        CSeriesInfo* series = view->m_pSeries;
        CImageInfo* image = nullptr;
        const int step = bNext ? 1 : -1;
        if (multiFrame) {
            image = series->GetImageAt(series->GetImageIndex(view->m_pImage) + step);
            if (!image) {
                series = study->GetSeriesAt(study->GetSeriesIndex(series) + step);
                if (series)
                    image = series->GetImageAt(bNext ? 0 : series->GetImageCount() - 1);
            }
        } else {
            series = study->GetSeriesAt(study->GetSeriesIndex(series) + step);
            image = series ? series->GetImageAt(0) : nullptr;
        }
        if (!series || !image)
            return;
        view->m_pSeries = series;
        view->m_pImage = image;
        if (view->GetDocument())
            view->GetDocument()->m_strFilePath = image->m_strFilePath;
        view->LoadImageIntoViewPort(FALSE);
        view->InitialiseImageData(FALSE);

        // A running loop goes on with the new source, unless another view plays it, at the
        // window the series was given, if any
        if (wasRunning && !view->IsCineRunningOnSource()) {
            CMyFrameWnd::ShowSeriesWindow(view);
            StartCineLoop();
        } else {
            view->m_nCurrentFrame = 0;
            if (CVantrelDoc* doc = view->GetDocument())
                view->RenderWithWindowLevel(int(doc->m_fDefaultWindowWidth), int(doc->m_fDefaultWindowCenter));
            // A window the series was given (a presentation state) holds for its every image
            CMyFrameWnd::ShowSeriesWindow(view);
        }
        SyncPlayFace();
        view->DrawImageInfoOverlay();
        view->Invalidate(TRUE);
        view->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        ReportSystemError(GetLastError(), bNext ? "OnCineLast" : "OnCineFirst");
    }
}

void CineNewControls::OnNextFrame()
{
    try {
        StepFrame(true);
    } catch (...) {
        ReportSystemError(GetLastError(), "CineNewControls::OnNextFrame");
    }
}

void CineNewControls::OnPrevFrame()
{
    try {
        StepFrame(false);
    } catch (...) {
    }
}

void CineNewControls::StepFrame(bool bNext)
{
    CVantrelView* view = m_pView;
    if (!view || view->m_nCineState == 1)
        return;
    view->SelectCurrentView();
    if (IsMultiFrame(view)) {
        const int last = view->m_pDicomImage->GetFrameCount() - 1;
        if (bNext ? view->m_nCurrentFrame >= last : view->m_nCurrentFrame <= 0)
            return;
        // The view's object is at the frame shown (a loop leaves it there). The frame goes into
        // the document's picture, as paging puts it there; one that cannot be read leaves no
        // picture, and the pane says why
        view->m_pDicomImage->m_nCurrentFrame = view->m_nCurrentFrame + 1;
        CVantrelDoc* doc = view->GetDocument();
        CxImage scratch;
        CxImage* target = doc && doc->GetCurrentImage() ? doc->GetCurrentImage() : &scratch;
        target->Destroy();
        if (bNext)
            view->m_pDicomImage->GetMultiFrameNextImage(target);
        else
            view->m_pDicomImage->GetMultiframePrevImage(target);
        view->m_nCurrentFrame += bNext ? 1 : -1;
        view->SetDisplayedBitmap(*target);
    } else {
        // Single images page as the arrow keys page them
        view->Series_MultiView_Up_Down(view, bNext ? TRUE : FALSE);
    }
    view->DrawImageInfoOverlay();
    view->Invalidate(TRUE);
}
