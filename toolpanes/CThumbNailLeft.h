#pragma once
// The thumbnail column on the left of the child frame: one thumbnail per series key (the first
// image of each series, every image for XA) with its label, made by a worker of its own after
// each study load while the viewports are already in use. It marks the series of the selected
// viewport, and a double-click or a drop shows a series (CDragListCtrl).

// Qt
#include <QImage>
#include <QStringList>
#include <QWidget>

// std
#include <atomic>
#include <thread>

// Orvane
#include "platform/WinTypes.h"
#include "study/IThumbnailRun.h"
#include "toolpanes/CDragListCtrl.h"
#include "toolpanes/ThumbnailMaker.h"
#include "viewer/IThumbnailSelection.h"

/// The thumbnail column.
///
/// Thread contract: every method is UI thread only. The worker gets a copy of the keys and
/// the box size at the start, makes QImages only and hands each one over with a queued call
/// tagged with the run number; results of a run that was stopped or replaced are dropped. The
/// worker never touches widgets or theApp, and never waits for the UI thread.
class CThumbNailLeft : public QWidget, public IThumbnailRun, public IThumbnailSelection
{
    Q_OBJECT
public:
    explicit CThumbNailLeft(QWidget* parent = nullptr);
    /// Stops and joins a run that still exists.
    ~CThumbNailLeft() override;

    /// The first update: no run; thumbnail side and list size from theApp.m_rcMonitor's height
    /// and theApp.m_nThumbColumnWidth.
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
    /// A worker thread exists (running, or ended and not yet joined).
    bool HasWorker() const { return m_thread.joinable(); }

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

private:
    /// The worker's body: one thumbnail per key, each handed over by a queued call, then the
    /// end notice, whatever way the loop ended. Runs on the worker.
    void ThumbnailThreadProc(int nRun, const QStringList& keys, QSize box);
    void OnThumbnailReady(int nRun, const ThumbnailResult& result);
    void OnRunEnded(int nRun);
    void OnPressOverColumn(Qt::MouseButton button);
    void JoinWorker();
    void BeginWaitCursor();
    void EndWaitCursor();

    std::thread m_thread;
    std::atomic<bool> m_bStop{false};
    int m_nRun = 0;
    bool m_bWaitCursor = false;
};
