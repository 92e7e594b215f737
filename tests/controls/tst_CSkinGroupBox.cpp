// Qt
#include <QtTest>

// Orvane
#include "controls/CSkinGroupBox.h"

namespace {

const QColor kGrey(128, 128, 128);

// The box over a black parent, as the layout panel has it
QImage Painted(CSkinGroupBox& box)
{
    QWidget top;
    top.setAutoFillBackground(true);
    QPalette pal = top.palette();
    pal.setColor(QPalette::Window, Qt::black);
    top.setPalette(pal);
    top.resize(box.size());
    box.setParent(&top);
    box.move(0, 0);
    const QImage image = top.grab().toImage().convertToFormat(QImage::Format_RGB32);
    box.setParent(nullptr);
    return image;
}

} // namespace

class tst_CSkinGroupBox : public QObject
{
    Q_OBJECT
private slots:
    void placesCaptionSpan_data();
    void placesCaptionSpan();
    void leavesGapForCaption_data();
    void leavesGapForCaption();
    void emptyCaptionLeavesTopLineWhole();
    void drawsFrame();
    void childrenDrawOnBlack();
};

void tst_CSkinGroupBox::placesCaptionSpan_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("xs");
    QTest::addColumn<int>("xe");
    QTest::newRow("left") << int(Qt::AlignLeft) << 10 << 40;
    QTest::newRow("right") << int(Qt::AlignRight) << 60 << 90;
    QTest::newRow("centre") << int(Qt::AlignHCenter) << 35 << 65;
}

void tst_CSkinGroupBox::placesCaptionSpan()
{
    QFETCH(int, alignment);
    QFETCH(int, xs);
    QFETCH(int, xe);
    const GroupBoxCaptionSpan span = CaptionSpan(RECT{0, 0, 100, 50}, 30, 13, Qt::Alignment(alignment));
    QCOMPARE(span.xs, xs);
    QCOMPARE(span.xe, xe);
    QCOMPARE(span.y, 6);
}

void tst_CSkinGroupBox::leavesGapForCaption_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left") << int(Qt::AlignLeft);
    QTest::newRow("right") << int(Qt::AlignRight);
    QTest::newRow("centre") << int(Qt::AlignHCenter);
}

void tst_CSkinGroupBox::leavesGapForCaption()
{
    QFETCH(int, alignment);
    CSkinGroupBox box;
    box.resize(120, 60);
    // Blanks: a caption of known width with no ink of its own
    box.setTitle("        ");
    box.setAlignment(Qt::Alignment(alignment));
    const QFontMetrics fm(box.font());
    const GroupBoxCaptionSpan span = CaptionSpan(RECT{0, 0, 120, 60}, fm.horizontalAdvance(box.title()), fm.height(),
                                                 Qt::Alignment(alignment));
    QVERIFY(span.xe > span.xs);
    const QImage image = Painted(box);
    for (int row : {span.y, span.y + 1}) {
        for (int x = 2; x < 118; ++x) {
            // Lines leave out their end points: the caption's own first column is drawn
            const bool inGap = x > span.xs && x <= span.xe;
            QCOMPARE(QColor(image.pixel(x, row)) == kGrey, !inGap);
        }
    }
}

void tst_CSkinGroupBox::emptyCaptionLeavesTopLineWhole()
{
    CSkinGroupBox box;
    box.resize(120, 60);
    const int y = QFontMetrics(box.font()).height() / 2;
    const QImage image = Painted(box);
    for (int x = 0; x < 120; ++x)
        QCOMPARE(QColor(image.pixel(x, y)), kGrey);
}

void tst_CSkinGroupBox::drawsFrame()
{
    CSkinGroupBox box;
    box.resize(80, 50);
    const int y = QFontMetrics(box.font()).height() / 2;
    QImage image = Painted(box);
    // Two grey lines on the left and at the bottom, one on the right, nothing above the top
    QCOMPARE(QColor(image.pixel(0, 30)), kGrey);
    QCOMPARE(QColor(image.pixel(1, 30)), kGrey);
    QCOMPARE(QColor(image.pixel(2, 30)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(79, 30)), kGrey);
    QCOMPARE(QColor(image.pixel(78, 30)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(40, 49)), kGrey);
    QCOMPARE(QColor(image.pixel(40, 48)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(40, y - 1)), QColor(Qt::black));

    // Flat: an outer black and an inner green line
    box.setFlat(true);
    image = Painted(box);
    QCOMPARE(QColor(image.pixel(0, 30)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(1, 30)), QColor(0, 255, 0));
    QCOMPARE(QColor(image.pixel(79, 30)), QColor(0, 255, 0));
    QCOMPARE(QColor(image.pixel(40, 49)), QColor(0, 255, 0));
    QCOMPARE(QColor(image.pixel(40, y + 1)), QColor(0, 255, 0));
}

void tst_CSkinGroupBox::childrenDrawOnBlack()
{
    CSkinGroupBox box;
    QCOMPARE(box.palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(box.palette().color(QPalette::WindowText), QColor(Qt::white));
    QWidget child(&box);
    QCOMPARE(child.palette().color(QPalette::Window), QColor(Qt::black));
}

QTEST_MAIN(tst_CSkinGroupBox)
#include "tst_CSkinGroupBox.moc"
