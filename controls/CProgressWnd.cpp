#include "controls/CProgressWnd.h"

// Qt
#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

// std
#include <algorithm>
#include <cstdarg>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/MonitorProvider.h"
#include "platform/Profile.h"

const char* const kProgressSection = "Settings";

namespace {

constexpr int kMargin = 10;
constexpr int kEdge = 2; // the system's edge size, both ways

// The arrow with the hourglass, made once for every progress window of the run
const QCursor& WaitCursor()
{
    static const QCursor cursor(Qt::BusyCursor);
    return cursor;
}

} // namespace

QPoint ProgressWindowPosition(int x, int y, const QSize& windowSize, const QRect& screen)
{
    if (x >= 0 && x < screen.width() && y >= 0 && y < screen.height())
        return QPoint(x, y);
    return QPoint(screen.left() + (screen.width() - windowSize.width()) / 2,
                  screen.top() + (screen.height() - windowSize.height()) / 2);
}

CProgressWnd::CProgressWnd()
{
    m_font = QApplication::font("QMessageBox");
}

CProgressWnd::~CProgressWnd()
{
    try {
        if (m_bPersistentPosition && m_pWnd)
            SavePosition();
        EndModal();
        delete m_pWnd.data();
    } catch (...) {
        ReportSystemError(GetLastError(), "CProgressWnd::~CProgressWnd");
    }
}

bool CProgressWnd::Create(QWidget* parent, BOOL bSmooth)
{
    auto* window = new QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                           | Qt::WindowStaysOnTopHint);
    window->setWindowTitle(m_strTitle);
    window->setCursor(WaitCursor());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(300, 80);
    m_pWnd = window;

    m_wndText = new QLabel(window);
    m_wndText->setTextFormat(Qt::PlainText);
    m_wndText->setWordWrap(false);
    m_wndText->setFont(m_font);
    m_wndProgress = new QProgressBar(window);
    m_wndProgress->setTextVisible(false);
    m_wndProgress->setRange(m_nLower, m_nUpper);
    m_wndProgress->setValue(m_nLower);
    // A segmented bar is the style's own choice; nothing to change for a smooth one
    (void)bSmooth;

    Layout(m_nNumTextLines, 300);
    PlaceWindow();
    // Painted when its text and bar are set, so that its first paint shows them
    window->show();
    return true;
}

void CProgressWnd::Layout(int nLines, int width)
{
    // The font's measures are taken once: every load opens a window in the same font
    struct Measures
    {
        QString font; // the font's key: no font object outlives the application
        QString label;
        int lineHeight = 0;
        int labelWidth = 0;
    };
    static Measures measured;
    const QString key = m_font.key();
    if (measured.lineHeight == 0 || measured.font != key || measured.label != m_strCancelLabel) {
        const QFontMetrics fm(m_font);
        measured = {key, m_strCancelLabel, fm.height(), fm.horizontalAdvance(m_strCancelLabel + QStringLiteral("  "))};
    }
    const int lines = std::max(1, nLines);
    const QRect text(kMargin, kMargin, width, measured.lineHeight * lines);
    const int reservedWidth = measured.labelWidth + 4 * kEdge;
    const int reservedHeight = measured.lineHeight + 3 * kEdge;
    const QRect reserved(text.right() + 1 - reservedWidth, text.bottom() + 1 + kMargin, reservedWidth, reservedHeight);
    const QRect bar(text.left(), reserved.top() + kEdge, reserved.left() - kMargin - text.left(),
                    reservedHeight - 2 * kEdge);
    m_wndText->setGeometry(text);
    m_wndProgress->setGeometry(bar);
    m_pWnd->setFixedSize(kMargin + text.width() + kMargin,
                         kMargin + text.height() + kMargin + reservedHeight + kMargin);
}

void CProgressWnd::PlaceWindow()
{
    const QRect screen = FirstMonitorRect();
    if (!m_bPersistentPosition) {
        m_pWnd->move(ProgressWindowPosition(-1, -1, m_pWnd->size(), screen));
        return;
    }
    const int x = Profile::GetProfileInt(QString::fromLatin1(kProgressSection), QStringLiteral("X"), -1);
    const int y = Profile::GetProfileInt(QString::fromLatin1(kProgressSection), QStringLiteral("Y"), -1);
    m_pWnd->move(ProgressWindowPosition(x, y, m_pWnd->size(), screen));
}

void CProgressWnd::SavePosition()
{
    const QPoint at = m_pWnd->pos();
    Profile::WriteProfileInt(QString::fromLatin1(kProgressSection), QStringLiteral("X"), at.x());
    Profile::WriteProfileInt(QString::fromLatin1(kProgressSection), QStringLiteral("Y"), at.y());
}

BOOL CProgressWnd::OpenModal(const QString& title, BOOL bSmooth, QWidget* pOwner)
{
    try {
        m_strTitle = title;
        if (!m_pWnd) {
            if (!Create(pOwner, bSmooth))
                return FALSE;
        }
        // The topmost enabled window above this one takes no input meanwhile
        QWidget* top = nullptr;
        for (QWidget* w = m_pWnd->parentWidget(); w && w->isEnabled(); w = w->parentWidget())
            top = w;
        if (top) {
            m_pWndDisabled = top;
            top->setEnabled(false);
        }
        m_pWnd->setEnabled(true);
        m_bModal = TRUE;
        return TRUE;
    } catch (...) {
        ReportSystemError(GetLastError(), "CProgressWnd::OpenModal");
        return FALSE;
    }
}

void CProgressWnd::SetText(const char* format, ...)
{
    if (!m_pWnd || !m_wndText || !format)
        return;
    va_list args;
    va_start(args, format);
    const QString text = QString::vasprintf(format, args);
    va_end(args);
    m_wndText->setText(text);
    ShowNow();
}

void CProgressWnd::ShowNow()
{
    // The caller keeps the event loop busy while the window is up: an exposed window is
    // painted at once with what was set
    if (m_pWnd && m_pWnd->isVisible())
        m_pWnd->repaint();
}

QString CProgressWnd::GetText() const
{
    return m_wndText ? m_wndText->text() : QString();
}

void CProgressWnd::SetRange(int lower, int upper, int step)
{
    if (!m_pWnd || !m_wndProgress)
        return;
    m_nLower = std::min(lower, upper);
    m_nUpper = std::max(lower, upper);
    m_wndProgress->setRange(m_nLower, m_nUpper);
    m_nStep = step;
    ShowNow();
}

int CProgressWnd::SetPos(int pos)
{
    if (!m_pWnd || !m_wndProgress)
        return m_nPos;
    if (!m_pWnd->isVisible())
        m_pWnd->show();
    const int previous = m_wndProgress->value() < m_nLower ? m_nLower : m_wndProgress->value();
    m_nPos = std::clamp(pos, m_nLower, m_nUpper);
    m_wndProgress->setValue(m_nPos);
    ShowNow();
    return previous;
}

int CProgressWnd::StepIt()
{
    if (!m_pWnd)
        return m_nPos;
    // Without overflow near INT_MAX
    const long long next = static_cast<long long>(m_nPos) + m_nStep;
    return SetPos(int(std::clamp<long long>(next, m_nLower, m_nUpper)));
}

void CProgressWnd::EndModal()
{
    if (!m_bModal)
        return;
    m_bModal = FALSE;
    if (m_pWndDisabled) {
        m_pWndDisabled->setEnabled(true);
        m_pWndDisabled->activateWindow();
    }
    m_pWndDisabled = nullptr;
}

void CProgressWnd::DestroyWindow()
{
    try {
        // The owner takes the input back before this window goes, so it is the one activated
        EndModal();
        delete m_pWnd.data();
        m_wndText = nullptr;
        m_wndProgress = nullptr;
    } catch (...) {
        ReportSystemError(GetLastError(), "CProgressWnd::DestroyWindow");
    }
}
