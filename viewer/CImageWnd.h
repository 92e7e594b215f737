#pragma once
// The magnifier overlay: a frameless child of the main window laid over one view while the left
// button is held in magnifier mode. On the press it freezes a copy of the view's picture,
// paints it, and moves the lens (CMagnWnd) with the pointer; on the release, or when the
// stroke is lost (focus, deactivation, hiding, destruction), it goes away.

// Qt
#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QWidget>

// Orvane
#include "platform/WinTypes.h"

class CImageWnd;
class CMagnWnd;

/// The one magnifier overlay of the process; null until first used, and again once the window
/// it belongs to is gone. Use CImageWnd::GetMagnifierWindow to make it.
extern QPointer<CImageWnd> g_wndMagnifier;

/// The overlay. Points handed in are view pixels (the client coordinates of the view being
/// magnified); the overlay covers that view exactly, so its own coordinates are the same.
/// Takes no mouse input and no focus: the view keeps the pointer for the whole stroke and
/// hands its press, moves and release on. UI thread only.
class CImageWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CImageWnd(QWidget* parent = nullptr);
    ~CImageWnd() override;

    /// g_wndMagnifier, made on first use as a hidden child of `host`'s top-level window (the
    /// main frame; theApp's main frame when `host` is null), and moved there when it belongs to
    /// another window. Null when there is no window to put it in.
    static CImageWnd* GetMagnifierWindow(QWidget* host);

    /// Lays the overlay, hidden, over `pView`, makes the lens when there is none and takes
    /// size, zoom and option from theApp; the shape keeps its value. A stroke still shown ends.
    void InitMembers(QWidget* pView);
    /// Stores the four values and copies size, zoom and option into theApp, from which the
    /// overlay takes them each time it is laid over a view.
    void SetMagnifierSettings(int shape, int size, int zoom, int option);
    /// The current shape, size and zoom.
    void GetMagnifierSettings(int* shape, int* size, int* zoom) const;
    /// Ends a stroke, deletes the lens and drops the captured picture.
    void DeleteMagnifier();

    // --- The stroke, as the view hands it on ------------------------------------------------

    /// The press at `point`: laid over `pView` with fresh settings, the frozen `picture` (the
    /// view's client area as it paints without the overlay), the lens shown centred on the
    /// point clamped into CentreBounds.
    void OnLButtonDown(QWidget* pView, const QImage& picture, QPoint point);
    /// The press with the view's picture grabbed here (GrabPicture).
    void OnLButtonDown(QWidget* pView, QPoint point);
    /// A move while the stroke runs (nFlags the MK_ flags held): with MK_LBUTTON the lens
    /// follows the clamped point and the pointer is hidden; without it the release was lost
    /// and the stroke ends. Nothing while no stroke runs.
    void OnMouseMove(UINT nFlags, QPoint point);
    /// The release: the lens and the overlay go, the view is repainted and takes the focus.
    void OnLButtonUp(QPoint point);
    /// Hides the lens, ends the stroke and repaints the view and the overlay.
    void ReleaseMagnifier();
    /// Repaints the view under the overlay.
    void RefreshImage(BOOL bErase);
    /// Holds `picture` as the frozen capture, at the view's size, as RGB32.
    void SaveImage(const QImage& picture);
    /// The view's client area as it paints (the overlay is no part of it).
    static QImage GrabPicture(QWidget* pView);

    // --- Members ---------------------------------------------------------------------------

    QPointer<QWidget> m_hwndView;   ///< the view under the overlay
    int m_bActive = 0;              ///< the lens is shown and follows the pointer
    CMagnWnd* m_pLens = nullptr;    ///< the lens window, a child; null after DeleteMagnifier
    QPoint m_ptLens;                ///< top-left corner of the lens, view pixels
    QImage m_bmpCapture;            ///< the frozen picture of the view while a stroke runs (RGB32)
    int m_nShape = 0;               ///< 1 round lens, any other value square
    int m_nZoom = 0;                ///< zoom in tenths: the lens shows a square of (size / zoom) * 10
    int m_nSize = 0;                ///< side of the lens in pixels
    int m_nOption = 0;              ///< resampling option of the square lens (0, 1 or 2)

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Ends the stroke: lens and overlay hidden, the pointer shown again, the capture dropped;
    /// with bGiveFocus the view takes the focus back (a real release).
    void EndStroke(bool bGiveFocus);
    void PlaceOverView();
    void PlaceLens(QPoint point);
    void Watch(bool bWatch);

    QPointer<QWidget> m_watchedView;
    QPointer<QWidget> m_watchedWindow;
    bool m_bCursorHidden = false;
    bool m_bViewHadCursor = false;
    QCursor m_viewCursor;
};
