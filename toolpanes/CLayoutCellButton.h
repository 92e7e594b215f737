#pragma once
// One cell of the custom layout picker: a square that is white, or green while it belongs to
// the grid the pointer hovers (the block from the top left cell to the cell under the pointer).

// Qt
#include <QAbstractButton>

// std
#include <functional>

// Orvane
#include "platform/WinTypes.h"

/// A picker cell. Its click is the picker's. UI thread only.
class CLayoutCellButton : public QAbstractButton
{
    Q_OBJECT
public:
    /// The cell at (`row`, `column`) of the picker `parent`, with control id `nID`; `onHover`
    /// is told the cell's row and column when the pointer enters or moves over it.
    CLayoutCellButton(int nID, int row, int column, std::function<void(int, int)> onHover, QWidget* parent);

    int GetDlgCtrlID() const { return m_nID; }
    int Row() const { return m_nRow; }
    int Column() const { return m_nColumn; }

    BYTE m_bRepaintPending = 1; ///< the next paint repaints the cell once more
    BYTE m_bWhite = 1;          ///< white (1) or green (0, part of the hovered grid)

protected:
    /// The cell less 4 pixels to the right and below, white or green; the strips show the
    /// picker's background, which separates the cells.
    void paintEvent(QPaintEvent* event) override;
    /// The hovered grid is this cell's: the picker colours every cell.
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    int m_nID = 0;
    int m_nRow = 0;
    int m_nColumn = 0;
    std::function<void(int, int)> m_fnHover;
};
