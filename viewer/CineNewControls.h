#pragma once
// The cine bar of one view: play/pause, previous and next series (or image), previous and next
// frame, More (folds the speed slider and its label in and out), the speed slider and label.
// A frameless child of the main window laid over the bottom of its view, which it follows.

// Qt
#include <QPointer>
#include <QWidget>

// Orvane
#include "controls/CColorLabel.h"
#include "controls/CColorSliderCtrl.h"
#include "controls/CImageButton.h"
#include "platform/CxImage.h"
#include "platform/WinTypes.h"

class CVantrelView;

/// The cine bar. Rectangles are in the main window's pixels. UI thread only.
class CineNewControls : public QWidget
{
    Q_OBJECT
public:
    /// The bar of `pView`, made the view's m_wndCineControls: a child of the view's window,
    /// expanded, laid over the view and shown. The view must outlive nothing of it: the bar goes
    /// with its view.
    explicit CineNewControls(CVantrelView* pView);
    ~CineNewControls() override;

    /// The play/pause button (1114): start, pause or resume the view's loop; refuses a source
    /// another view plays.
    void OnBtnPlaycinenew();
    /// The stop button (1115, hidden): stops the loop.
    void OnBtnStaycinenew();
    /// Next (1037) and previous (1036) series, or image of a multi-frame series.
    void OnCineLast();
    void OnCineFirst();
    /// Next (1039) and previous (1038) frame while stopped or paused.
    void OnNextFrame();
    void OnPrevFrame();
    /// More (1042): expands or collapses the bar.
    void ResizeControlsOnToggle();
    /// The speed slider moved to `nPos`: the loop takes the rate (at least 1) and the label
    /// shows it.
    void OnHScroll(int nPos);
    /// The range of the speed slider, without redraw.
    void SetSliderRange(int nMin, int nMax);
    /// The rate of the shown file: range 1 to 45 (raised to the rate when above), position and
    /// label.
    void ShowFileRate(int nRate);
    /// The play face follows the view's state (pause face while it runs).
    void SyncPlayFace();
    /// Stops the view's loop (running or paused) and destroys the bar, as the tool bar's Cine
    /// button does on its second press.
    void CloseBar();
    /// Lays the bar over its view again (expanded or collapsed); hidden while the view is.
    void Reposition();

    QRect m_rcExpanded;       ///< rectangle of the expanded bar
    QRect m_rcCollapsed;      ///< rectangle of the collapsed bar
    BYTE m_bExpandNext = 0;   ///< the next More press expands
    BYTE m_bExpanded = 0;     ///< the speed slider and its label are shown
    BYTE m_bPauseFace = 1;    ///< the play button shows the pause face
    int m_bShown = 0;         ///< shown by the tool bar's Cine button
    int m_bPlaying = 0;       ///< the bar started (or resumed) the loop
    QPointer<CVantrelView> m_pView;
    CxImage m_imgBackground;
    CxImage m_imgExpanded;
    CxImage m_imgCollapsed;
    CxImage m_imgPlay;
    CxImage m_imgPause;
    CxImage m_imgNext;
    CxImage m_imgPrevious;
    CxImage m_imgMore;
    CxImage m_imgNextFrame;
    CxImage m_imgPrevFrame;
    CImageButton m_btnPrevFrame;
    CImageButton m_btnNextFrame;
    CImageButton m_btnMore;
    CImageButton m_btnPrevious;
    CImageButton m_btnNext;
    CImageButton m_btnStop;
    CImageButton m_btnPlay;
    CColorLabel m_lblSpeed;
    CColorSliderCtrl m_sliderSpeed;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnCommand(int nID);
    void StartCineLoop();
    void PauseCineloop();
    void LayOut();
    void StepSeries(bool bNext);
    void StepFrame(bool bNext);
    QRect ViewRect() const;
    void WatchView();

    bool m_bFollowing = false; // the bar hides because its view is hidden
    std::vector<QPointer<QObject>> m_watched;
};
