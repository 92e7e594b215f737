// The text shape: its box at any zoom and point order, word wrapping and clipping with fixed
// metrics, "&" as a character, and its hit tests.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeText.h"

namespace {
const COLORREF kYellow = RGB(255, 255, 0);

struct Line
{
    int x, y;
    QString text;
};
} // namespace

Q_DECLARE_METATYPE(QList<QPoint>)

class tst_CShapeText : public QObject
{
    Q_OBJECT

private slots:
    void boxFromEitherCorner_data();
    void boxFromEitherCorner();
    void wrapsAndClips_data();
    void wrapsAndClips();
    void hitTest_data();
    void hitTest();
    void textCanBeReplaced();
};

void tst_CShapeText::boxFromEitherCorner_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::newRow("bottom right first") << QPointF(50, 40) << QPointF(10, 10);
    QTest::newRow("top left first") << QPointF(10, 10) << QPointF(50, 40);
    QTest::newRow("other diagonal") << QPointF(10, 40) << QPointF(50, 10);
}

void tst_CShapeText::boxFromEitherCorner()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    const CDoublePoint a(start.x(), start.y()), b(end.x(), end.y());
    CShapeText text(&a, &b, nullptr, QStringLiteral("aaaa bbbb cccc dddd"), kYellow);
    QCOMPARE(text.GetTextBox(2.0f), (RECT{20, 20, 100, 80}));
    // At zoom 2 the box is 80 wide: "aaaa bbbb" (63 pixels) fits, " cccc" would not.
    ShapeTestSurface s;
    text.Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.canvas->texts.size(), 2);
    QCOMPARE(s.canvas->texts[0].text, QStringLiteral("aaaa bbbb"));
    QCOMPARE(QPoint(s.canvas->texts[0].x, s.canvas->texts[0].y), QPoint(20, 20));
    QCOMPARE(s.canvas->texts[1].text, QStringLiteral("cccc dddd"));
    QCOMPARE(QPoint(s.canvas->texts[1].x, s.canvas->texts[1].y), QPoint(20, 33));
    QCOMPARE(s.canvas->texts[1].color, kYellow);
}

void tst_CShapeText::wrapsAndClips_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("box"); // from (0, 0), zoom 1
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one line") << "R&D notes" << QSizeF(100, 40) << QStringList{"R&D notes"};
    QTest::newRow("lines beyond the bottom are not written") << "one two three four" << QSizeF(30, 27)
                                                             << QStringList{"one", "two", "three"};
    QTest::newRow("line ends kept") << "left\r\nright" << QSizeF(100, 40) << QStringList{"left", "right"};
    QTest::newRow("empty box writes nothing") << "text" << QSizeF(0, 0) << QStringList{};
    QTest::newRow("empty text") << "" << QSizeF(100, 40) << QStringList{};
}

void tst_CShapeText::wrapsAndClips()
{
    QFETCH(QString, text);
    QFETCH(QSizeF, box);
    QFETCH(QStringList, lines);
    const CDoublePoint a(0, 0), b(box.width(), box.height());
    CShapeText shape(&a, &b, nullptr, text, kYellow);
    ShapeTestSurface s;
    shape.Draw(s.canvas, 0, 1.0f);
    QStringList written;
    for (int i = 0; i < s.canvas->texts.size(); ++i) {
        written << s.canvas->texts[i].text;
        QCOMPARE(s.canvas->texts[i].y, i * 13);
    }
    QCOMPARE(written, lines);
}

void tst_CShapeText::hitTest_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<bool>("border");
    // Box (10, 10)-(50, 40) at zoom 1.
    QTest::newRow("inside") << QPointF(30, 25) << true << false;
    QTest::newRow("top-left corner") << QPointF(10, 10) << true << true;
    QTest::newRow("right edge") << QPointF(50, 25) << false << true;
    QTest::newRow("bottom edge") << QPointF(30, 40) << false << true;
    QTest::newRow("just inside the right edge") << QPointF(49, 25) << true << true;
    QTest::newRow("outside") << QPointF(60, 25) << false << false;
}

void tst_CShapeText::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(bool, inside);
    QFETCH(bool, border);
    const CDoublePoint a(50, 40), b(10, 10), p(point.x(), point.y());
    CShapeText shape(&a, &b, nullptr, QStringLiteral("x"), kYellow);
    QCOMPARE(bool(shape.HitTest(&p, 1.0f)), inside);
    QCOMPARE(bool(shape.HitTestBorder(&p, 1.0f)), border);
}

void tst_CShapeText::textCanBeReplaced()
{
    const CDoublePoint a(0, 0), b(100, 40);
    CShapeText shape(&a, &b, nullptr, QString(), kYellow);
    shape.SetText(QStringLiteral("Fish & chips"));
    QCOMPARE(shape.GetText(), QStringLiteral("Fish & chips"));
    const POINT delta{5, 5};
    shape.MoveBy(&delta);
    QCOMPARE(shape.GetTextBox(1.0f), (RECT{5, 5, 105, 45}));
}

QTEST_MAIN(tst_CShapeText)
#include "tst_CShapeText.moc"
