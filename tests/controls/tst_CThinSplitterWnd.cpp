// Qt
#include <QtTest>

// Orvane
#include "controls/CThinSplitterWnd.h"

class tst_CThinSplitterWnd : public QObject
{
    Q_OBJECT
private slots:
    void laysOutPanes_data();
    void laysOutPanes();
    void barsIgnoreTheMouse();
    void refusesBadCells();
};

void tst_CThinSplitterWnd::laysOutPanes_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<std::vector<int>>("ideals");
    QTest::addColumn<std::vector<int>>("sizes");
    QTest::newRow("ideal first, rest last") << 1280 << std::vector<int>{128, 0} << std::vector<int>{128, 1150};
    QTest::newRow("ideal of the last ignored") << 1000 << std::vector<int>{911, 113} << std::vector<int>{911, 87};
    QTest::newRow("empty first keeps its gap") << 1280 << std::vector<int>{0, 1280} << std::vector<int>{0, 1278};
    QTest::newRow("first too large") << 100 << std::vector<int>{150, 10} << std::vector<int>{100, 0};
    QTest::newRow("no room for the gap") << 101 << std::vector<int>{100, 10} << std::vector<int>{100, 0};
    QTest::newRow("single pane") << 640 << std::vector<int>{10} << std::vector<int>{640};
    QTest::newRow("negative ideal") << 50 << std::vector<int>{-5, 0} << std::vector<int>{0, 48};
    QTest::newRow("no room") << 0 << std::vector<int>{10, 10} << std::vector<int>{0, 0};
}

void tst_CThinSplitterWnd::laysOutPanes()
{
    QFETCH(int, total);
    QFETCH(std::vector<int>, ideals);
    QFETCH(std::vector<int>, sizes);
    QCOMPARE(LayoutSplitterPanes(total, ideals, 2), sizes);
}

void tst_CThinSplitterWnd::barsIgnoreTheMouse()
{
    QWidget top;
    top.resize(300, 200);
    CThinSplitterWnd splitter;
    QVERIFY(splitter.CreateStatic(&top, 1, 2));
    splitter.setGeometry(top.rect());
    auto* left = new QWidget;
    auto* right = new QWidget;
    QVERIFY(splitter.CreateView(0, 0, left));
    QVERIFY(splitter.CreateView(0, 1, right));
    splitter.SetColumnInfo(0, 100, 0);
    splitter.RecalcLayout();
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    QCOMPARE(left->geometry(), QRect(0, 0, 100, 200));
    QCOMPARE(right->geometry(), QRect(102, 0, 198, 200));

    // Over the bar the pointer keeps its shape, and a drag moves nothing
    QCOMPARE(splitter.childAt(100, 50), nullptr);
    QCOMPARE(splitter.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&splitter, Qt::LeftButton, {}, QPoint(101, 50));
    QTest::mouseMove(&splitter, QPoint(160, 50));
    QTest::mouseRelease(&splitter, Qt::LeftButton, {}, QPoint(160, 50));
    QCOMPARE(left->geometry(), QRect(0, 0, 100, 200));
    QCOMPARE(right->geometry(), QRect(102, 0, 198, 200));
    int current = 0, ideal = 0;
    splitter.GetColumnInfo(0, current, ideal);
    QCOMPARE(current, 100);
    QCOMPARE(ideal, 100);
}

void tst_CThinSplitterWnd::refusesBadCells()
{
    CThinSplitterWnd splitter;
    QVERIFY(!splitter.CreateStatic(nullptr, 0, 2));
    QVERIFY(splitter.CreateStatic(nullptr, 2, 1));
    QVERIFY(!splitter.CreateStatic(nullptr, 2, 1)); // once only
    QWidget pane;
    QVERIFY(!splitter.CreateView(2, 0, &pane));
    QVERIFY(!splitter.CreateView(0, 1, &pane));
    QVERIFY(!splitter.CreateView(0, 0, nullptr));
    QVERIFY(pane.parentWidget() == nullptr);
    QCOMPARE(splitter.GetPane(-1, 0), nullptr);
    QCOMPARE(splitter.IdFromRowCol(1, 0), AFX_IDW_PANE_FIRST + 16);
}

QTEST_MAIN(tst_CThinSplitterWnd)
#include "tst_CThinSplitterWnd.moc"
