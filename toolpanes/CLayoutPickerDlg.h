#pragma once
// The custom layout picker beside the layout panel's Custom button: four by four cells, each
// standing for the grid from one by one up to its own row and column; hovering a cell shows
// that grid green, a click sends its layout command to the viewport grid.

// Qt
#include <QWidget>

// std
#include <array>

class CLayoutCellButton;

/// The picker: a frameless child of the layout panel's parent, owned by the layout panel.
/// UI thread only.
class CLayoutPickerDlg : public QWidget
{
    Q_OBJECT
public:
    /// A picker whose clicks hide `panel` (the layout panel) too; `parent` holds it.
    CLayoutPickerDlg(QWidget* panel, QWidget* parent);

    /// The layout command of the cell at (row, column), 0-based: the grid of row + 1 rows by
    /// column + 1 columns; 0 outside the field.
    static int CommandOfCell(int row, int column);
    /// The control id of that cell; 0 outside the field.
    static int IdOfCell(int row, int column);
    /// The cells of rows 0..row and columns 0..column green, every other cell white.
    void HoverCell(int row, int column);
    /// A cell's click: its command to the grid frame, then the panel and the picker hidden.
    void OnCell(int row, int column);
    /// The cell at (row, column), or null.
    CLayoutCellButton* Cell(int row, int column) const;

    std::array<CLayoutCellButton*, 16> m_apCells{}; ///< row by row from the top left

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_pPanel = nullptr;
};
