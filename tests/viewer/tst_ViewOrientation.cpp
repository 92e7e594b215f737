// Qt
#include <QtTest>

// Orvane
#include "annotation/CShapeLine.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "viewer/ViewOrientation.h"

namespace {

// A 5 x 3 grey bitmap whose every pixel has its own value
CxImage NumberedBitmap()
{
    BYTE values[15];
    for (int i = 0; i < 15; ++i)
        values[i] = BYTE(10 + 10 * i);
    CxImage image;
    image.CreateFromArray(values, 5, 3, 8, 5, true);
    return image;
}

int CommandOf(QChar c)
{
    switch (c.toLatin1()) {
    case 'M': return ID_IMAGE_MIRROR;
    case 'F': return ID_IMAGE_FLIP;
    case 'R': return ID_IMAGE_ROTATERIGHT;
    case 'L': return ID_IMAGE_ROTATELEFT;
    }
    return 0;
}

// The bitmap with the operations applied one after the other, as the user chose them
CxImage StepByStep(const QString& operations)
{
    CxImage image = NumberedBitmap();
    for (QChar c : operations) {
        switch (CommandOf(c)) {
        case ID_IMAGE_MIRROR: image.Mirror(); break;
        case ID_IMAGE_FLIP: image.Flip(); break;
        case ID_IMAGE_ROTATERIGHT: image.RotateRight(); break;
        case ID_IMAGE_ROTATELEFT: image.RotateLeft(); break;
        }
    }
    return image;
}

ViewOrientation Composed(const QString& operations)
{
    ViewOrientation o;
    for (QChar c : operations)
        o = Orientation::Compose(o, CommandOf(c));
    return o;
}

} // namespace

class tst_ViewOrientation : public QObject
{
    Q_OBJECT
private slots:
    void sequences_data();
    void rendersLikeTheOperationsInOrder_data() { sequences_data(); }
    void rendersLikeTheOperationsInOrder();
    void findsTheSourcePixel_data() { sequences_data(); }
    void findsTheSourcePixel();
    void givesShapesTheirUnturnedPoints_data() { sequences_data(); }
    void givesShapesTheirUnturnedPoints();
    void otherCommandsChangeNothing();
    void undoTakesThePictureBack_data();
    void undoTakesThePictureBack();
};

void tst_ViewOrientation::sequences_data()
{
    QTest::addColumn<QString>("operations");
    for (const char* s : {"", "R", "L", "M", "F", "RR", "RM", "MR", "RF", "FR", "LM", "ML", "RMR", "MRF",
                          "FLM", "RRRR", "MM", "FMRL", "LLLF", "RMFLR"})
        QTest::newRow(*s ? s : "none") << QString::fromLatin1(s);
}

void tst_ViewOrientation::rendersLikeTheOperationsInOrder()
{
    QFETCH(QString, operations);
    const ViewOrientation o = Composed(operations);
    QVERIFY(!o.bFlip);
    CxImage fresh = NumberedBitmap();
    Orientation::Apply(fresh, o);
    const CxImage expected = StepByStep(operations);
    QCOMPARE(fresh.GetQImage(), expected.GetQImage());
    QCOMPARE(Orientation::DisplayedSize(o, QSize(5, 3)), expected.GetQImage().size());
}

void tst_ViewOrientation::findsTheSourcePixel()
{
    QFETCH(QString, operations);
    const ViewOrientation o = Composed(operations);
    const QImage source = NumberedBitmap().GetQImage();
    const QImage shown = StepByStep(operations).GetQImage();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QPoint s = Orientation::SourcePixel(o, QPoint(x, y), source.size());
            QVERIFY(QRect(QPoint(0, 0), source.size()).contains(s));
            QCOMPARE(source.pixel(s), shown.pixel(x, y));
        }
}

void tst_ViewOrientation::givesShapesTheirUnturnedPoints()
{
    // A shape drawn on the turned display goes back to the unturned image with the same form
    QFETCH(QString, operations);
    const ViewOrientation o = Composed(operations);
    const QSize shown = Orientation::DisplayedSize(o, QSize(5, 3));
    const QPoint displayed(1, 2);
    const CDoublePoint start(displayed.x() + 0.5, displayed.y() + 0.5);
    const CDoublePoint end(start);
    const COLORREF colour = RGB(255, 0, 0);
    const int width = 1;
    CShapeLine line(&start, &end, &colour, &width);
    line.StoreOriginalPoints(o.nAngle, o.bFlip, o.bMirror, shown.width(), shown.height(), 1.0f);
    const QPoint source = Orientation::SourcePixel(o, displayed, QSize(5, 3));
    QCOMPARE(line.GetOrigStartPoint().x, source.x() + 0.5);
    QCOMPARE(line.GetOrigStartPoint().y, source.y() + 0.5);
}

void tst_ViewOrientation::otherCommandsChangeNothing()
{
    const ViewOrientation turned{true, false, 90};
    QCOMPARE(Orientation::Compose(turned, ID_IMAGE_NEGATIVE), turned);
    QCOMPARE(Orientation::Compose(turned, 0), turned);
}

void tst_ViewOrientation::undoTakesThePictureBack_data()
{
    QTest::addColumn<bool>("mirror");
    QTest::addColumn<bool>("flip");
    QTest::addColumn<int>("angle");
    for (int m = 0; m < 2; ++m)
        for (int f = 0; f < 2; ++f)
            for (int angle : {0, 90, 180, 270})
                QTest::addRow("mirror %d flip %d angle %d", m, f, angle) << bool(m) << bool(f) << angle;
}

// A picture shown in an orientation comes back unturned, whatever the orientation
void tst_ViewOrientation::undoTakesThePictureBack()
{
    QFETCH(bool, mirror);
    QFETCH(bool, flip);
    QFETCH(int, angle);
    const ViewOrientation o{mirror, flip, angle};
    CxImage image = NumberedBitmap();
    Orientation::Apply(image, o);
    Orientation::Undo(image, o);
    QCOMPARE(image.GetQImage(), NumberedBitmap().GetQImage());
}

QTEST_MAIN(tst_ViewOrientation)
#include "tst_ViewOrientation.moc"
