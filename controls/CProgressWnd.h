#pragma once
// A small top-most window with one line of text over a progress bar, shown while a study is
// loaded into the viewports. It is made modal by disabling the main window; its position comes
// from the profile's "Settings" "X" and "Y" when they lie on the screen.

// Qt
#include <QFont>
#include <QPointer>
#include <QString>

// Orvane
#include "platform/WinTypes.h"

class QLabel;
class QProgressBar;
class QWidget;

/// Profile section and entries of the remembered position.
extern const char* const kProgressSection; // "Settings"

/// Where the window goes: the remembered (x, y) when 0 <= x < screen width and
/// 0 <= y < screen height, else centred on the screen. `screen` is the desktop rectangle.
QPoint ProgressWindowPosition(int x, int y, const QSize& windowSize, const QRect& screen);

/// The progress window. The object and its window live apart: the window exists from OpenModal
/// until DestroyWindow or the destructor. UI thread only.
class CProgressWnd
{
public:
    CProgressWnd();
    /// Saves the position when the window still exists, gives the input back to the disabled
    /// window and destroys the window.
    ~CProgressWnd();
    CProgressWnd(const CProgressWnd&) = delete;
    CProgressWnd& operator=(const CProgressWnd&) = delete;

    /// Creates the window (owned by `pOwner`, the main window; may be null) when it does not
    /// exist and makes it modal: the topmost enabled window above it is disabled, the progress
    /// window itself stays enabled. False when the window can't be created. `bSmooth` asks for
    /// a continuous bar.
    BOOL OpenModal(const QString& title, BOOL bSmooth, QWidget* pOwner);
    /// Sets the text line from a printf format; any length, and paints the window at once.
    /// Nothing without a window. The window's first paint comes with its text.
    void SetText(const char* format, ...) __attribute__((format(printf, 2, 3)));
    /// The bar's range and the step of StepIt. Nothing without a window.
    void SetRange(int lower, int upper, int step = 1);
    /// Shows a hidden window and moves the bar to `pos` clamped to the range. Returns the bar's
    /// previous position, or m_nPos without a window.
    int SetPos(int pos);
    /// SetPos(m_nPos + m_nStep).
    int StepIt();
    /// Gives the input back to the disabled window (enabled and activated) and destroys the
    /// window, without saving its position.
    void DestroyWindow();

    /// The window, or null when there is none.
    QWidget* GetSafeHwnd() const { return m_pWnd; }
    QString GetText() const;

    QPointer<QWidget> m_pWndDisabled;     ///< the window OpenModal disabled
    BOOL m_bModal = FALSE;                ///< OpenModal disabled it
    BOOL m_bPersistentPosition = TRUE;    ///< keep the position in the profile
    int m_nPos = 0;                       ///< current bar position
    int m_nStep = 1;                      ///< step of StepIt
    int m_nNumTextLines = 1;              ///< text lines the window is sized for
    QLabel* m_wndText = nullptr;          ///< the text line (in the window)
    QProgressBar* m_wndProgress = nullptr;///< the bar (in the window)
    QString m_strTitle = QStringLiteral("Perlisk Orvane");
    QString m_strCancelLabel = QStringLiteral("Cancel ");
    QFont m_font;                         ///< the system's message-box font

private:
    bool Create(QWidget* parent, BOOL bSmooth);
    void Layout(int nLines, int width);
    void PlaceWindow();
    void SavePosition();
    void EndModal();
    void ShowNow();

    QPointer<QWidget> m_pWnd;
    int m_nLower = 0;
    int m_nUpper = 100;
};
