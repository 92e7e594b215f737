#pragma once
// The base of the image view: maps the view's logical drawing onto the widget 1:1 plus its pan
// offset, and carries the zoom operations (by factor around a point, to a rectangle) whose mouse
// modes this system leaves off. Views pan; they show no scroll bars, so the scroll position
// stays (0, 0).

// Qt
#include <QCursor>
#include <QPoint>
#include <QSize>
#include <QWidget>

// std
#include <optional>

// Orvane
#include "platform/WinTypes.h"

class QPainter;

/// The zoom view base. Logical units are the view's drawing units; device units are widget
/// pixels. UI thread only.
class CZoomView : public QWidget
{
    Q_OBJECT
public:
    explicit CZoomView(QWidget* parent = nullptr);
    ~CZoomView() override;

    /// Sets the total logical size (page and line sizes are ignored), derives the total device
    /// size from it 1:1 into m_sizeBaseDev and repaints the whole view.
    void SetZoomBaseSize(QSize sizeTotal, const QSize& sizePage, const QSize& sizeLine);

    /// Prepares a painter of this view: logical (0, 0) lands on m_ptPanOffset minus the
    /// scroll position.
    void OnPrepareDC(QPainter* pDC) const;

    /// Zooms by `fFactor` around `pCenter` (logical), or the client centre when null. A factor
    /// that is not a positive finite number changes nothing. Return TRUE.
    BOOL ZoomIn(const QPoint* pCenter = nullptr, float fFactor = 1.25f);
    BOOL ZoomOut(const QPoint* pCenter = nullptr, float fFactor = 1.25f);
    /// Zooms so that the rectangle (logical, corners in any order) fills the client area; one
    /// less than 10 device pixels both ways zooms in by 1.25 around its centre instead.
    BOOL ZoomToRect(const RECT* pRect);

    /// Recomputes the page and line scroll sizes for the current total device size.
    void UpdateZoomScrollSizes();
    /// Would scroll so that the logical point lies in the middle; with no scroll bars the
    /// scroll position stays (0, 0).
    void CenterOnPoint(QPoint ptLogical);
    /// The client area's centre in logical units.
    QPoint GetClientCenter() const;
    /// Draws the rectangle's outline in black, clockwise from its top-left corner; with bXor
    /// dotted and inverting (the painter must be on a raster picture such as a back buffer).
    void DrawRubberBand(QPainter* pDC, const RECT* pRect, BOOL bXor) const;
    void DeviceToLogical(QPoint* pts, int n) const;
    void LogicalToDevice(QPoint* pts, int n) const;
    /// Adds the scroll position to the point.
    void AddScrollPosition(QPoint* pt) const;
    static void NormalizeZoomRect(RECT* prc);
    static void FitAspectRatio(const QSize* pOrig, QSize* pDest, QPoint* pRemainder);

    /// Called after every zoom operation; does nothing here.
    virtual void OnZoomChanged() {}

    /// The total logical size given to SetZoomBaseSize.
    QSize GetTotalSize() const { return m_sizeTotal; }
    /// The total device size at the current zoom scale.
    QSize GetTotalDeviceSize() const { return m_sizeTotalDev; }
    /// The scroll position, device units; always (0, 0).
    QPoint GetScrollPosition() const { return m_ptScrollPosition; }

    QPoint m_ptPanOffset;            ///< device offset of the drawing; written by the view when it pans or centres
    BOOL m_bMouseDown = FALSE;       ///< the left button is held in the view; set and cleared by the derived view
    int m_nZoomMode = 0;             ///< 0 off, 1 zoom in by dragging a rectangle, 2 zoom out by clicking; stays 0
    BOOL m_bCaptured = FALSE;        ///< a zoom-rectangle drag holds the mouse
    RECT m_rcZoomDrag{};             ///< the zoom rectangle being dragged, logical units
    QSize m_sizeBaseDev{0, 0};       ///< total device size at zoom scale 1
    QSize m_sizeBasePageDev{0, 0};   ///< page scroll size at scale 1; 0 means a tenth of the total
    QSize m_sizeBaseLineDev{0, 0};   ///< line scroll size at scale 1; 0 means a tenth of the page
    float m_fZoomScale = 1.0f;       ///< scale of the zoom operations; the image view keeps its own zoom
    std::optional<QCursor> m_hZoomCursor; ///< cursor of the zoom modes; none is set in this system

protected:
    /// The left-button release of the zoom modes; derived views call it from their own handler.
    void OnLButtonUp(QPoint point);
    /// The right-button press of the zoom modes: ends a zoom drag, or switches the modes off.
    void OnRButtonDown(QPoint point);
    /// Shows the zoom cursor in the zoom modes, else the arrow.
    void OnSetCursor();

    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyScale(float scale, QPoint center);

    QSize m_sizeTotal{0, 0};         // total logical size
    QSize m_sizeTotalDev{0, 0};      // total device size at the current scale
    QSize m_sizePage{0, 0};
    QSize m_sizeLine{0, 0};
    QPoint m_ptScrollPosition;       // no scroll bars: stays (0, 0)
};
