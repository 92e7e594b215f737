// The custom layout picker: the command of every cell, hover over a cell colouring the block
// of the grid it stands for (drawn green, with the 4-pixel strips of the background between
// cells), and a click sending the cell's command.

// Qt
#include <QtTest>

// Orvane
#include "platform/Gdi.h"
#include "res/resource.h"
#include "toolpanes/CLayoutCellButton.h"
#include "toolpanes/CLayoutPickerDlg.h"

class tst_CLayoutPickerDlg : public QObject
{
    Q_OBJECT
private slots:
    void cellsStandForTheirGrids_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("id");
        QTest::newRow("1 x 1") << 0 << 0 << ID_FRAME_SINGLELAYOUT << 1033;
        QTest::newRow("1 x 4") << 0 << 3 << ID_FRAME_LAYOUT1X4 << 1043;
        QTest::newRow("2 x 1") << 1 << 0 << ID_FRAME_LAYOUT2X1 << 1168;
        QTest::newRow("2 x 4") << 1 << 3 << ID_FRAME_LAYOUT2X4 << 1174;
        QTest::newRow("3 x 2") << 2 << 1 << 61471 << 1172;
        QTest::newRow("3 x 3") << 2 << 2 << 61372 << 1173;
        QTest::newRow("3 x 4") << 2 << 3 << 61373 << 1175;
        QTest::newRow("4 x 1") << 3 << 0 << 61374 << 1176;
        QTest::newRow("4 x 2") << 3 << 1 << 61375 << 1177;
        QTest::newRow("4 x 3") << 3 << 2 << 61376 << 1178;
        QTest::newRow("4 x 4") << 3 << 3 << 61477 << 1179;
        QTest::newRow("outside") << 4 << 0 << 0 << 0;
    }

    void cellsStandForTheirGrids()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, command);
        QFETCH(int, id);
        QCOMPARE(CLayoutPickerDlg::CommandOfCell(row, column), command);
        QCOMPARE(CLayoutPickerDlg::IdOfCell(row, column), id);
        CLayoutPickerDlg picker(nullptr, nullptr);
        if (CLayoutCellButton* cell = picker.Cell(row, column))
            QCOMPARE(cell->GetDlgCtrlID(), id);
    }

    void hoverFillsTheBlock_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("green");
        QTest::newRow("row 2, column 1") << 2 << 1 << 6;
        QTest::newRow("bottom right") << 3 << 3 << 16;
        QTest::newRow("top left") << 0 << 0 << 1;
    }

    void hoverFillsTheBlock()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, green);
        CLayoutPickerDlg picker(nullptr, nullptr);
        picker.show();
        QCOMPARE(picker.size(), QSize(Gdi::DluX(80), Gdi::DluY(72)));
        CLayoutCellButton* cell = picker.Cell(row, column);
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), cell->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &move);
        int n = 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                const bool inBlock = r <= row && c <= column;
                CLayoutCellButton* each = picker.Cell(r, c);
                QCOMPARE(each->m_bWhite, BYTE(inBlock ? 0 : 1));
                n += inBlock;
                // What the picker shows: the cell's colour, and the background at its edges
                const QImage shot = picker.grab(each->geometry()).toImage();
                QCOMPARE(shot.pixel(2, 2) & 0xFFFFFF, inBlock ? 0x00FF00u : 0xFFFFFFu);
                const QRgb strip = shot.pixel(shot.width() - 2, 2);
                QVERIFY(qRed(strip) == qGreen(strip) && qRed(strip) <= 120);
            }
        QCOMPARE(n, green);
    }

    void clickHidesThePicker()
    {
        QWidget panel;
        panel.show();
        CLayoutPickerDlg picker(&panel, nullptr);
        picker.show();
        QTest::mouseClick(picker.Cell(2, 1), Qt::LeftButton);
        QVERIFY(!picker.isVisible());
        QVERIFY(!panel.isVisible());
    }
};

QTEST_MAIN(tst_CLayoutPickerDlg)
#include "tst_CLayoutPickerDlg.moc"
