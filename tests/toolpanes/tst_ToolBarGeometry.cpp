// The button side, the tool bar's button row and the tooltip font by the monitor.

// Qt
#include <QFontInfo>
#include <QtTest>

// Orvane
#include "app/PaneSizes.h"
#include "toolpanes/ToolBarGeometry.h"

using namespace ToolBarGeometry;

class tst_ToolBarGeometry : public QObject
{
    Q_OBJECT
private slots:
    void sizesButtonsByMonitor_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<double>("side");
        QTest::newRow("800 x 600") << 800 << 600 << 29.5;
        QTest::newRow("1024 x 768") << 1024 << 768 << 37.5;
        QTest::newRow("1152 x 864") << 1152 << 864 << 40.0;
        QTest::newRow("1280 x 800 (height decides)") << 1280 << 800 << 37.5;
        QTest::newRow("1280 x 1024") << 1280 << 1024 << 40.0;
        QTest::newRow("1600 x 1200") << 1600 << 1200 << 40.0;
        QTest::newRow("1920 x 1080") << 1920 << 1080 << 40.0;
        QTest::newRow("1920 x 1440") << 1920 << 1440 << 60.0;
        QTest::newRow("portrait 1024 x 1280") << 1024 << 1280 << 37.5;
        QTest::newRow("portrait 1200 x 1920") << 1200 << 1920 << 40.0;
        QTest::newRow("1366 x 600 (height 600)") << 1366 << 600 << 29.5;
    }

    void sizesButtonsByMonitor()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(double, side);
        QCOMPARE(ButtonSize(W, H), side);
    }

    // The row in the tool pane the child frame gives each monitor
    void laysTheRowOut_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("G");    // grid column
        QTest::addColumn<int>("R");    // tool row
        QTest::addColumn<int>("side");
        QTest::addColumn<QPoint>("reset");
        QTest::addColumn<int>("lastX"); // the sixteenth tool button
        QTest::addColumn<int>("exitX");
        QTest::newRow("800 x 600") << 800 << 600 << 696 << 100 << 29 << QPoint(92, 15) << 572 << 649;
        QTest::newRow("1024 x 768") << 1024 << 768 << 902 << 93 << 37 << QPoint(129, 7) << 729 << 847;
        QTest::newRow("1280 x 1024") << 1280 << 1024 << 1152 << 113 << 40 << QPoint(236, 16) << 881 << 1094;
        QTest::newRow("1600 x 1200") << 1600 << 1200 << 1440 << 132 << 40 << QPoint(380, 26) << 1025 << 1382;
        QTest::newRow("1920 x 1080") << 1920 << 1080 << 1760 << 119 << 40 << QPoint(540, 19) << 1185 << 1702;
    }

    void laysTheRowOut()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(int, G);
        QFETCH(int, R);
        QFETCH(int, side);
        QFETCH(QPoint, reset);
        QFETCH(int, lastX);
        QFETCH(int, exitX);
        const PaneSizes panes = ComputePaneSizes(W, H, PaneSizeTable::CreateClient);
        QCOMPARE(panes.nViewAreaWidth, G);
        QCOMPARE(panes.nToolRowHeight, R);
        const Layout layout = ToolBarLayout(W, H, G, R);
        QCOMPARE(layout.tools[0], QRect(reset, QSize(side, side)));
        for (size_t i = 1; i < layout.tools.size(); ++i) {
            QCOMPARE(layout.tools[i].left(), layout.tools[i - 1].left() + side + 3);
            QCOMPARE(layout.tools[i].top(), reset.y());
            QCOMPARE(layout.tools[i].size(), QSize(side, side));
        }
        QCOMPARE(layout.tools[15].left(), lastX);
        QCOMPARE(layout.exit, QRect(exitX, reset.y(), side, side));
        // Every button lies inside the pane, the row clear of Exit
        const QRect pane(0, 0, G - 2, R);
        for (const QRect& button : layout.tools)
            QVERIFY(pane.contains(button));
        QVERIFY(pane.contains(layout.exit));
        QVERIFY(layout.tools[15].right() < layout.exit.left());
    }

    void choosesTheTooltipFont_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("height");
        QTest::newRow("800") << 800 << -12;
        QTest::newRow("1024") << 1024 << -16;
        QTest::newRow("1280") << 1280 << -16;
        QTest::newRow("1600") << 1600 << 20;
    }

    void choosesTheTooltipFont()
    {
        QFETCH(int, W);
        QFETCH(int, height);
        QCOMPARE(ToolTipFontHeight(W), height);
        const QFont font = ToolTipFont(W);
        QVERIFY(font.bold());
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    }

    // The small tool panels: two buttons side by side, the orientation panel two by two
    void sizesThePanels_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<QSize>("twoButtons");
        QTest::addColumn<QSize>("orientation");
        QTest::newRow("1280 x 1024") << 1280 << 1024 << QSize(85, 42) << QSize(84, 84);
        QTest::newRow("800 x 600") << 800 << 600 << QSize(64, 31) << QSize(63, 63);
        QTest::newRow("1024 x 768") << 1024 << 768 << QSize(80, 39) << QSize(79, 79);
        QTest::newRow("1600 x 1200") << 1600 << 1200 << QSize(85, 42) << QSize(84, 84);
        QTest::newRow("1920 x 1440") << 1920 << 1440 << QSize(125, 62) << QSize(124, 124);
    }

    void sizesThePanels()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(QSize, twoButtons);
        QFETCH(QSize, orientation);
        QCOMPARE(TwoButtonPanelSize(ButtonSize(W, H)), twoButtons);
        QCOMPARE(OrientationPanelSize(ButtonSize(W, H)), orientation);
    }

    void placesThePanelsBesideTheirButtons_data()
    {
        QTest::addColumn<int>("H");
        QTest::addColumn<QPoint>("orientation");
        QTest::addColumn<QPoint>("twoButtons");
        // A 40-pixel button at (400, 900)
        QTest::newRow("600 high") << 600 << QPoint(360, 834) << QPoint(342, 866);
        QTest::newRow("1000 high") << 1000 << QPoint(360, 820) << QPoint(342, 858);
        QTest::newRow("1200 high") << 1200 << QPoint(360, 808) << QPoint(342, 850);
    }

    void placesThePanelsBesideTheirButtons()
    {
        QFETCH(int, H);
        QFETCH(QPoint, orientation);
        QFETCH(QPoint, twoButtons);
        const QRect button(400, 900, 40, 40);
        QCOMPARE(OrientationPanelPlace(button, H), orientation);
        QCOMPARE(TwoButtonPanelPlace(button, H), twoButtons);
        // The layout panel ends 5 pixels right of the button's left side, 10 above it
        QCOMPARE(LayoutPanelPlace(button, QSize(178, 191)), QPoint(227, 699));
    }

    void shadesTheLayoutPanels()
    {
        QCOMPARE(GradientGrey(0, 191), 120);
        QCOMPARE(GradientGrey(95, 191), 60);
        QCOMPARE(GradientGrey(190, 191), 0);
        QCOMPARE(GradientGrey(0, 0), 0);
    }
};

QTEST_MAIN(tst_ToolBarGeometry)
#include "tst_ToolBarGeometry.moc"
