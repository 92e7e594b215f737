#pragma once
// The list of the thumbnail column: one item per series key, each carrying the index of its
// key. A thumbnail dragged by hand out of the list and released over a viewport shows its
// series there; a double-click shows it in the selected viewport. The selected label takes
// its own colours; each item's tooltip is its label.

// Qt
#include <QBasicTimer>
#include <QList>
#include <QListWidget>
#include <QPoint>
#include <QPointer>

// Orvane
#include "platform/WinTypes.h"

class CVantrelView;

/// The thumbnail list. UI thread only.
class CDragListCtrl : public QListWidget
{
    Q_OBJECT
public:
    /// Item data role holding the index of the item's key in theApp.m_astrSeriesKeys.
    static constexpr int KeyIndexRole = Qt::UserRole + 1;

    explicit CDragListCtrl(QWidget* parent = nullptr);
    /// Ends a drag without a drop and stops the auto-scroll.
    ~CDragListCtrl() override;

    /// The thumbnail side, which sizes the items; the label goes below the picture.
    void SetThumbnailSide(int nSide);
    /// Appends the item of key `nKeyIndex`: `picture` (made on the UI thread from the worker's
    /// image) and `strLabel`, whose first 79 characters are its tooltip.
    QListWidgetItem* AddThumbnail(int nKeyIndex, const QImage& picture, const QString& strLabel);
    /// The item whose key index is `nKeyIndex`, or null.
    QListWidgetItem* ItemOfKey(int nKeyIndex) const;
    /// The key index of `item`; -1 for null.
    static int KeyIndexOf(const QListWidgetItem* item);

    /// The double-click road: series `nIndex` (a key index) into the selected viewport, or into
    /// every pane when the grid shows consecutive images. Nothing for a negative index or
    /// without a selected viewport.
    void ShowItemInView(int nIndex);
    /// The drop road at `globalPos` (screen pixels): series m_anDragIndexes[0] into the
    /// viewport under that point. Nothing over the list, another window or no viewport.
    void DropOnView(QPoint globalPos);

    /// A drag is in progress.
    bool IsDragging() const { return !m_pDragImage.isNull(); }
    /// The drag picture (a child of the main window, transparent for the mouse), or null.
    QWidget* DragImage() const { return m_pDragImage; }

    COLORREF m_crSelectedText = 0xFFFF00; ///< label text of the selected item (0x00BBGGRR)
    COLORREF m_crSelectedBack = 0xA57B73; ///< label background of the selected item
    QList<int> m_anDragIndexes;           ///< key indexes of the items being dragged
    int m_nDropIndex = -1;                ///< row last highlighted as drop target
    int m_nPrevDropIndex = -1;            ///< row whose selection the highlight changed
    bool m_bPrevDropSelected = false;     ///< its selection before
    int m_nScrollDirection = 0;           ///< 0 none, 1 up, 2 down
    static constexpr int kScrollPeriodMs = 100;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool BeginDrag(QPoint pos);
    void MoveDrag(QPoint globalPos);
    void EndDrag(bool bDrop, QPoint globalPos);
    void SelectDropTarget(int nRow);
    void RestorePrevDropItemState();
    void SetScrollTimer(int nDirection);
    void KillScrollTimer();
    /// Series `nIndex`'s first image into `view` alone, made the selected viewport.
    void LoadSeriesIntoView(CVantrelView* view, int nIndex);

    QPointer<QWidget> m_pDragImage; // the drag picture (a QLabel) while a drag runs
    QPoint m_ptHotSpot;            // pointer position inside the drag picture
    QPoint m_ptPress;              // left press over an item, viewport pixels
    bool m_bPressOnItem = false;
    QBasicTimer m_scrollTimer;     // the auto-scroll
    int m_nSide = 74;
};
