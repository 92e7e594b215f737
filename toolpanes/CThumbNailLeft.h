#pragma once
// The thumbnail column on the left of the child frame: one thumbnail per series key (the first
// image of each series, every image for XA) with its label, made by a worker of its own after
// each study load while the viewports are already in use. It marks the series of the selected
// viewport, and a double-click or a drop shows a series (CDragListCtrl).

// Qt
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

// std
#include <atomic>
#include <functional>
#include <map>
#include <thread>
#include <vector>

// Orvane
#include "platform/WinTypes.h"
#include "study/IThumbnailRun.h"
#include "toolpanes/CDragListCtrl.h"
#include "toolpanes/ThumbnailMaker.h"
#include "viewer/IThumbnailSelection.h"

/// The thumbnail column.
///
/// Thread contract: every method is UI thread only. A run has a few workers (one per spare
/// core, at most kMaxWorkers) that take the keys in turn from one counter; each gets a copy of
/// the keys and the box size at the start, makes QImages only and hands each one over with a
/// queued call tagged with the run number, behind the paints already pending. The UI thread
/// shows them in key order and drops the results of a run that was stopped or replaced.
/// Workers never touch widgets or theApp, and never wait for the UI thread.
class CThumbNailLeft : public QWidget, public IThumbnailRun, public IThumbnailSelection
{
    Q_OBJECT
public:
    explicit CThumbNailLeft(QWidget* parent = nullptr);
    /// Stops and joins a run that still exists.
    ~CThumbNailLeft() override;

    /// The first update: no run; thumbnail side and list size from theApp.m_rcMonitor's height
    /// and theApp.m_nThumbColumnWidth, the list's height fitted into the column.
    virtual void OnInitialUpdate();

    /// Stops a run that still exists, empties the list and starts a run over a copy of
    /// theApp.m_astrSeriesKeys: sets m_bThreadRunning and theApp.m_bThumbThreadRunning and
    /// shows the wait cursor until the run ends or is stopped.
    void StartThumbnailThread() override;
    /// Asks the worker to stop at the next key, joins it and clears the running flags and the
    /// wait cursor. Thumbnails already shown stay. TRUE.
    BOOL StopThumbnailThread() override;
    /// Selects the thumbnail of key `nIndex` when the list holds at least two and the index is
    /// one of them; otherwise nothing changes.
    void OnSelectThumbnail(int nIndex) override;
    /// The list's double-click: the selected thumbnail's series is shown (ShowItemInView).
    void OnDblclkThumbnail();

    /// The run number of the current (or last) run.
    int GetRunNumber() const { return m_nRun; }
    /// A worker thread exists (running, or ended and not yet joined), or is queued to start.
    bool HasWorker() const { return !m_threads.empty() || m_bStartPending; }
    /// Workers of one run: one per core beside the UI thread, at least one, at most this.
    static constexpr int kMaxWorkers = 3;

    int m_nMaxWorkers = kMaxWorkers; ///< workers a run may use (1 runs the keys on one core)
    int m_nThumbWidth = 74;       ///< thumbnail width in pixels
    int m_nThumbHeight = 74;      ///< thumbnail height in pixels
    CDragListCtrl m_wndThumbList; ///< the list, a child at (2, 2)
    BYTE m_bThreadRunning = 0;    ///< a run is in progress

protected:
    /// The background: a vertical grey gradient, 120 at the top to nearly black at the bottom.
    void paintEvent(QPaintEvent* event) override;
    /// A press over the column (the list included) closes the layout panel and ends the
    /// in-place text entries of the viewports.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    /// The list keeps within the column, whose last label stays in view.
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    /// A worker's body: the next key not taken yet, its thumbnail handed over by a queued call,
    /// until the keys are done or a stop is asked; then its end notice, whatever way the loop
    /// ended. Runs on a worker.
    void ThumbnailThreadProc(int nRun, const QStringList& keys, QSize box);
    /// The workers of run `nRun` over `keys`; a start queued by StartThumbnailThread.
    void StartWorkers(int nRun, const QStringList& keys);
    /// Queues `call` for the UI thread, behind the paints already pending. Thread safe.
    void PostToColumn(std::function<void()> call);
    void OnThumbnailReady(int nRun, const ThumbnailResult& result);
    void OnWorkerEnded(int nRun);
    void OnPressOverColumn(Qt::MouseButton button);
    void JoinWorker();
    void BeginWaitCursor();
    void EndWaitCursor();
    void FitThumbList();

    int m_nListHeight = 0;            // the list's height for the monitor, before the fit
    QPixmap m_background;             // the shaded background as last painted, for its size
    std::vector<std::thread> m_threads;
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nNextKey{0};   // the next key a worker takes
    int m_nWorkersLeft = 0;           // workers of the current run whose end notice is due
    int m_nNextToShow = 0;            // key index of the next item to append
    std::map<int, ThumbnailResult> m_pending; // results that came before their turn
    int m_nRun = 0;
    bool m_bWaitCursor = false;
    bool m_bStartPending = false;     // a run's workers are queued to start
};
