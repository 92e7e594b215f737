// Shared shape geometry: truncation, arrowheads, word wrapping and segment clipping.

// Qt
#include <QtTest>

// std
#include <cmath>
#include <vector>

// Orvane
#include "annotation/ShapeGeometry.h"

using Strokes = std::vector<std::vector<POINT>>;
Q_DECLARE_METATYPE(Strokes)

class tst_ShapeGeometry : public QObject
{
    Q_OBJECT

private slots:
    void truncates_data();
    void truncates();
    void arrowHeads_data();
    void arrowHeads();
    void arrowHeadOfAVeryLongLine();
    void wrapsWords_data();
    void wrapsWords();
    void clipsSegments();
};

void tst_ShapeGeometry::truncates_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("positive") << 2.9 << 2;
    QTest::newRow("negative toward zero") << -2.9 << -2;
    QTest::newRow("nan") << std::nan("") << 0;
    QTest::newRow("huge") << 1e300 << ShapeGeometry::kMaxCoordinate;
    QTest::newRow("minus infinity") << -HUGE_VAL << -ShapeGeometry::kMaxCoordinate;
}

void tst_ShapeGeometry::truncates()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(ShapeGeometry::Trunc(value), expected);
}

void tst_ShapeGeometry::arrowHeads_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<Strokes>("strokes");
    QTest::newRow("down") << QPoint(0, 0) << QPoint(0, 20) << Strokes{{{5, 15}, {0, 20}, {-5, 15}}};
    QTest::newRow("up") << QPoint(0, 20) << QPoint(0, 0) << Strokes{{{-5, 5}, {0, 0}, {5, 5}}};
    QTest::newRow("right") << QPoint(0, 0) << QPoint(20, 0) << Strokes{{{15, -5}, {20, 0}, {15, 5}}};
    QTest::newRow("left") << QPoint(20, 0) << QPoint(0, 0) << Strokes{{{5, -5}, {0, 0}, {5, 5}}};
    // len 50, base (25, 33) 8 pixels behind the tip, wings 8 to each side.
    QTest::newRow("sloped") << QPoint(0, 0) << QPoint(30, 40) << Strokes{{{30, 40}, {31, 29}}, {{30, 40}, {19, 37}}};
    QTest::newRow("sloped back") << QPoint(30, 40) << QPoint(0, 0) << Strokes{{{0, 0}, {-1, 11}}, {{0, 0}, {11, 3}}};
    QTest::newRow("same point") << QPoint(7, 7) << QPoint(7, 7) << Strokes{};
}

void tst_ShapeGeometry::arrowHeads()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(Strokes, strokes);
    const Strokes actual = ShapeGeometry::ArrowHeadStrokes(POINT{from.x(), from.y()}, POINT{to.x(), to.y()});
    QCOMPARE(actual.size(), strokes.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        QCOMPARE(actual[i].size(), strokes[i].size());
        for (size_t j = 0; j < strokes[i].size(); ++j) {
            QCOMPARE(actual[i][j].x, strokes[i][j].x);
            QCOMPARE(actual[i][j].y, strokes[i][j].y);
        }
    }
}

void tst_ShapeGeometry::arrowHeadOfAVeryLongLine()
{
    // The squares of these deltas do not fit an int; the head must still sit at the tip.
    const POINT from{0, 0}, to{60000, 45000};
    const Strokes strokes = ShapeGeometry::ArrowHeadStrokes(from, to);
    QCOMPARE(strokes.size(), size_t(2));
    for (const auto& stroke : strokes) {
        QCOMPARE(stroke[0].x, to.x);
        QCOMPARE(stroke[0].y, to.y);
        const double d = std::hypot(stroke[1].x - to.x, stroke[1].y - to.y);
        QVERIFY2(d > 9.0 && d < 13.0, qPrintable(QString::number(d)));
    }
}

void tst_ShapeGeometry::wrapsWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width"); // one pixel per character below
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("fits") << "one two" << 10 << QStringList{"one two"};
    QTest::newRow("breaks before the word that crosses") << "aaaa bbbb cccc dddd" << 11
                                                          << QStringList{"aaaa bbbb", "cccc dddd"};
    QTest::newRow("exact width") << "aaaa bbbb" << 9 << QStringList{"aaaa bbbb"};
    QTest::newRow("long word keeps its line") << "a verylongword b" << 5 << QStringList{"a", "verylongword", "b"};
    QTest::newRow("line ends") << "one\r\ntwo\nthree\rfour" << 40 << QStringList{"one", "two", "three", "four"};
    QTest::newRow("empty line kept") << "one\n\ntwo" << 40 << QStringList{"one", "", "two"};
    QTest::newRow("blanks at a break dropped") << "aaa   bbb" << 4 << QStringList{"aaa", "bbb"};
    QTest::newRow("ampersand is a character") << "R&D & QA" << 3 << QStringList{"R&D", "&", "QA"};
}

void tst_ShapeGeometry::wrapsWords()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    QCOMPARE(ShapeGeometry::WrapText(text, width, [](const QString& s) { return int(s.size()); }), lines);
}

void tst_ShapeGeometry::clipsSegments()
{
    double x0 = -100, y0 = 5, x1 = 100, y1 = 5;
    QVERIFY(ShapeGeometry::ClipSegment(x0, y0, x1, y1, RECT{0, 0, 10, 10}));
    QCOMPARE(x0, 0.0);
    QCOMPARE(x1, 10.0);
    QCOMPARE(y0, 5.0);
    double a = -100, b = -5, c = 100, d = -5;
    QVERIFY(!ShapeGeometry::ClipSegment(a, b, c, d, RECT{0, 0, 10, 10}));
}

QTEST_MAIN(tst_ShapeGeometry)
#include "tst_ShapeGeometry.moc"
