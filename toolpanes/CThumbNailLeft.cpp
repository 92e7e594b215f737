#include "toolpanes/CThumbNailLeft.h"

// Qt
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QThread>

// std
#include <algorithm>
#include <functional>
#include <utility>

// Orvane
#include "state/CAppState.h"
#include "toolpanes/IToolPanesChildFrame.h"
#include "toolpanes/IToolPanesMainWindow.h"
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "toolpanes/CToolView.h"
#include "toolpanes/ThumbnailGeometry.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"

namespace {

// A call handed from a worker to the column
class ColumnCallEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 105);
    explicit ColumnCallEvent(std::function<void()> call)
        : QEvent(kType)
        , m_call(std::move(call))
    {
    }
    std::function<void()> m_call;
};

} // namespace

void CThumbNailLeft::PostToColumn(std::function<void()> call)
{
    // Thread safe. Below the priority of the paints already asked for: a viewport's first
    // picture never waits behind a thumbnail
    QCoreApplication::postEvent(this, new ColumnCallEvent(std::move(call)), Qt::LowEventPriority - 1);
}

bool CThumbNailLeft::event(QEvent* event)
{
    if (event->type() != ColumnCallEvent::kType)
        return QWidget::event(event);
    try {
        static_cast<ColumnCallEvent*>(event)->m_call();
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::OnThumbnailReady");
    }
    return true;
}

CThumbNailLeft::CThumbNailLeft(QWidget* parent)
    : QWidget(parent)
    , m_wndThumbList(this)
{
    m_wndThumbList.move(2, 2);
    m_wndThumbList.installEventFilter(this);
    m_wndThumbList.viewport()->installEventFilter(this);
    connect(&m_wndThumbList, &QListWidget::itemDoubleClicked, this, [this] { OnDblclkThumbnail(); });
}

CThumbNailLeft::~CThumbNailLeft()
{
    try {
        m_bStop = true;
        JoinWorker();
        if (m_bThreadRunning)
            theApp.m_bThumbThreadRunning = 0;
        EndWaitCursor();
    } catch (...) {
    }
}

void CThumbNailLeft::OnInitialUpdate()
{
    try {
        m_bThreadRunning = 0;
        theApp.m_bThumbThreadRunning = 0;
        const ThumbnailPaneSize s = ThumbnailSizeForMonitor(theApp.m_rcMonitor.Height());
        m_nThumbWidth = m_nThumbHeight = s.nSide;
        m_wndThumbList.SetThumbnailSide(s.nSide);
        m_nListHeight = s.nListHeight;
        FitThumbList();
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::OnInitialUpdate");
    }
}

void CThumbNailLeft::FitThumbList()
{
    m_wndThumbList.setGeometry(2, 2, int(theApp.m_nThumbColumnWidth * 0.99), FitListHeight(m_nListHeight, height()));
}

void CThumbNailLeft::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    try {
        // Before the first update the list keeps its place
        if (m_nListHeight > 0)
            FitThumbList();
    } catch (...) {
    }
}

void CThumbNailLeft::StartThumbnailThread()
{
    try {
        StopThumbnailThread();
        m_wndThumbList.clear();
        m_pending.clear();
        m_nNextToShow = 0;
        m_nNextKey = 0;
        const QStringList keys = theApp.m_astrSeriesKeys;
        const int run = ++m_nRun;
        m_bThreadRunning = 1;
        theApp.m_bThumbThreadRunning = 1;
        BeginWaitCursor();
        // The workers begin behind the paints already asked for: the first image of a load is
        // decoded and painted without their decodes beside it
        m_bStartPending = true;
        PostToColumn([this, run, keys] {
            if (run == m_nRun && m_bStartPending)
                StartWorkers(run, keys);
        });
    } catch (...) {
        m_bStartPending = false;
        ++m_nRun;
        m_bThreadRunning = 0;
        theApp.m_bThumbThreadRunning = 0;
        EndWaitCursor();
        ReportSystemError(GetLastError(), "CThumbNailLeft::StartThumbnailThread");
    }
}

void CThumbNailLeft::StartWorkers(int nRun, const QStringList& keys)
{
    m_bStartPending = false;
    try {
        const QSize box(m_nThumbWidth, m_nThumbHeight);
        const int workers = std::clamp(std::min(QThread::idealThreadCount() - 1, int(keys.size())), 1, std::max(1, m_nMaxWorkers));
        m_nWorkersLeft = 0;
        for (int w = 0; w < workers; ++w) {
            m_threads.emplace_back([this, nRun, keys, box] { ThumbnailThreadProc(nRun, keys, box); });
            ++m_nWorkersLeft;
        }
    } catch (...) {
        // A worker that could not start: the others are stopped, nothing looks as if loading
        m_bStop = true;
        JoinWorker();
        ++m_nRun;
        m_bThreadRunning = 0;
        theApp.m_bThumbThreadRunning = 0;
        EndWaitCursor();
        ReportSystemError(GetLastError(), "CThumbNailLeft::StartThumbnailThread");
    }
}

BOOL CThumbNailLeft::StopThumbnailThread()
{
    try {
        if (!m_threads.empty() || m_bStartPending) {
            m_bStop = true;
            JoinWorker();
            // What the stopped run still had queued is dropped, a start not made yet too
            m_bStartPending = false;
            ++m_nRun;
        }
        m_bThreadRunning = 0;
        theApp.m_bThumbThreadRunning = 0;
        EndWaitCursor();
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::StopThumbnailThread");
    }
    return TRUE;
}

void CThumbNailLeft::ThumbnailThreadProc(int nRun, const QStringList& keys, QSize box)
{
    // Runs on the thumbnail worker: it reads only its arguments and m_bStop
    try {
        for (int i = m_nNextKey++; i < keys.size(); i = m_nNextKey++) {
            if (m_bStop.load())
                break;
            ThumbnailResult result = ThumbnailMaker::Make(keys[i], i, box);
            PostToColumn([this, nRun, result] { OnThumbnailReady(nRun, result); });
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::ThumbnailThreadProc");
    }
    // Every exit tells the UI thread, which clears the flags
    PostToColumn([this, nRun] { OnWorkerEnded(nRun); });
}

void CThumbNailLeft::JoinWorker()
{
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
    m_threads.clear();
    m_bStop = false;
}

void CThumbNailLeft::OnThumbnailReady(int nRun, const ThumbnailResult& result)
{
    try {
        if (nRun != m_nRun)
            return;
        // In key order, so that an item's row is its key's index; pixmaps are made here
        m_pending.emplace(result.nIndex, result);
        for (auto next = m_pending.find(m_nNextToShow); next != m_pending.end(); next = m_pending.find(m_nNextToShow)) {
            m_wndThumbList.AddThumbnail(next->second.nIndex, next->second.image, next->second.strLabel);
            m_pending.erase(next);
            ++m_nNextToShow;
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::OnThumbnailReady");
    }
}

void CThumbNailLeft::OnWorkerEnded(int nRun)
{
    try {
        if (nRun != m_nRun || --m_nWorkersLeft > 0)
            return;
        // The workers have nothing left to do but return
        JoinWorker();
        m_pending.clear();
        m_bThreadRunning = 0;
        theApp.m_bThumbThreadRunning = 0;
        EndWaitCursor();
        m_wndThumbList.viewport()->update();
        OnSelectThumbnail(0);
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::OnRunEnded");
    }
}

void CThumbNailLeft::OnSelectThumbnail(int nIndex)
{
    try {
        const int count = m_wndThumbList.count();
        if (count < 2 || nIndex < 0 || nIndex > count - 1)
            return;
        if (QListWidgetItem* item = m_wndThumbList.ItemOfKey(nIndex))
            m_wndThumbList.setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    } catch (...) {
    }
}

void CThumbNailLeft::OnDblclkThumbnail()
{
    try {
        if (m_wndThumbList.count() == 0)
            return;
        const QList<QListWidgetItem*> selected = m_wndThumbList.selectedItems();
        if (!selected.isEmpty())
            m_wndThumbList.ShowItemInView(CDragListCtrl::KeyIndexOf(selected.front()));
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::OnDblclkThumbnail");
    }
}

void CThumbNailLeft::BeginWaitCursor()
{
    if (m_bWaitCursor)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bWaitCursor = true;
}

void CThumbNailLeft::EndWaitCursor()
{
    if (!m_bWaitCursor)
        return;
    QApplication::restoreOverrideCursor();
    m_bWaitCursor = false;
}

void CThumbNailLeft::paintEvent(QPaintEvent*)
{
    const int h = height();
    if (h <= 0)
        return;
    // The shading depends on the size alone: made once a size, then copied
    const qreal ratio = devicePixelRatioF();
    if (m_background.isNull() || m_background.deviceIndependentSize() != QSizeF(size())
        || m_background.devicePixelRatio() != ratio) {
        m_background = QPixmap((QSizeF(size()) * ratio).toSize());
        m_background.setDevicePixelRatio(ratio);
        QPainter shade(&m_background);
        for (int y = 0; y < h; ++y) {
            const int v = (h - y) * 120 / h;
            shade.fillRect(0, y, width(), 1, QColor(v, v, v));
        }
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_background);
}

void CThumbNailLeft::mousePressEvent(QMouseEvent* event)
{
    OnPressOverColumn(event->button());
    QWidget::mousePressEvent(event);
}

bool CThumbNailLeft::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        OnPressOverColumn(static_cast<QMouseEvent*>(event)->button());
    return QWidget::eventFilter(watched, event);
}

void CThumbNailLeft::OnPressOverColumn(Qt::MouseButton button)
{
    try {
        IToolPanesChildFrame* child = GetToolPanesMainWindow() ? GetToolPanesMainWindow()->MDIGetActive() : nullptr;
        if (!child)
            return;
        if ((button == Qt::LeftButton || button == Qt::RightButton) && g_bLayoutPopupShown) {
            g_bLayoutPopupShown = 0;
            CToolView* toolBar = child->GetToolView();
            if (toolBar && toolBar->m_pLayoutPopup)
                toolBar->m_pLayoutPopup->hide();
        }
        if (CMyFrameWnd* grid = child->GetViewGridFrame())
            grid->CloseTextEditsInAllViews();
    } catch (...) {
        ReportSystemError(GetLastError(), "CThumbNailLeft::PreTranslateMessage");
    }
}
