#include "toolpanes/CLayoutPickerDlg.h"

// Qt
#include <QPainter>

// Orvane
#include "state/CAppState.h"
#include "platform/Gdi.h"
#include "res/resource.h"
#include "toolpanes/CLayoutCellButton.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"

namespace {

constexpr int kCellIds[4][4] = {
    {1033, 1034, 1042, 1043},
    {1168, 1169, 1170, 1174},
    {1171, 1172, 1173, 1175},
    {1176, 1177, 1178, 1179},
};

constexpr int kCellCommands[4][4] = {
    {ID_FRAME_SINGLELAYOUT, ID_FRAME_LAYOUT1X2, ID_FRAME_LAYOUT1X3, ID_FRAME_LAYOUT1X4},
    {ID_FRAME_LAYOUT2X1, ID_FRAME_LAYOUT2X2, ID_FRAME_LAYOUT2X3, ID_FRAME_LAYOUT2X4},
    {ID_FRAME_LAYOUT3X1, ID_FRAME_LAYOUT3X2, ID_FRAME_LAYOUT3X3, ID_FRAME_LAYOUT3X4},
    {ID_FRAME_LAYOUT4X1, ID_FRAME_LAYOUT4X2, ID_FRAME_LAYOUT4X3, ID_FRAME_LAYOUT4X4},
};

bool InField(int row, int column)
{
    return row >= 0 && row < 4 && column >= 0 && column < 4;
}

} // namespace

CLayoutPickerDlg::CLayoutPickerDlg(QWidget* panel, QWidget* parent)
    : QWidget(parent)
    , m_pPanel(panel)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    resize(Gdi::DluX(80), Gdi::DluY(72));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            auto* cell = new CLayoutCellButton(
                kCellIds[r][c], r, c, [this](int row, int column) { HoverCell(row, column); }, this);
            cell->setGeometry(Gdi::DluX(20 * c), Gdi::DluY(18 * r), Gdi::DluX(19), Gdi::DluY(17));
            connect(cell, &QAbstractButton::clicked, this, [this, r, c] { OnCell(r, c); });
            m_apCells[size_t(r * 4 + c)] = cell;
        }
}

int CLayoutPickerDlg::CommandOfCell(int row, int column)
{
    return InField(row, column) ? kCellCommands[row][column] : 0;
}

int CLayoutPickerDlg::IdOfCell(int row, int column)
{
    return InField(row, column) ? kCellIds[row][column] : 0;
}

CLayoutCellButton* CLayoutPickerDlg::Cell(int row, int column) const
{
    return InField(row, column) ? m_apCells[size_t(row * 4 + column)] : nullptr;
}

void CLayoutPickerDlg::HoverCell(int row, int column)
{
    for (CLayoutCellButton* cell : m_apCells) {
        const BYTE white = cell->Row() <= row && cell->Column() <= column ? 0 : 1;
        if (cell->m_bWhite != white) {
            cell->m_bWhite = white;
            cell->m_bRepaintPending = 1;
            cell->update();
        }
    }
}

void CLayoutPickerDlg::OnCell(int row, int column)
{
    try {
        const int command = CommandOfCell(row, column);
        g_bLayoutPopupShown = 0;
        if (m_pPanel)
            m_pPanel->hide();
        hide();
        if (CMyFrameWnd* grid = theApp.m_pViewGridFrame; grid && command)
            grid->OnCommand(command);
    } catch (...) {
    }
}

void CLayoutPickerDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int h = height();
    for (int y = 0; y < h; ++y) {
        const int grey = ToolBarGeometry::GradientGrey(y, h);
        painter.fillRect(0, y, width(), 1, QColor(grey, grey, grey));
    }
}
