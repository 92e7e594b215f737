// Qt
#include <QtTest>

// Orvane
#include "controls/CMemoryDC.h"

class tst_CMemoryDC : public QObject
{
    Q_OBJECT
private slots:
    void copiesBufferOnDestruction();
    void usesTheTargetsClipBox();
    void keepsTargetTransform();
    void emptyRectDrawsNothing();
};

void tst_CMemoryDC::copiesBufferOnDestruction()
{
    QImage target(100, 60, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    const RECT rc{10, 20, 50, 40};
    {
        CMemoryDC dc(&painter, &rc);
        QVERIFY(dc.m_bMemDC);
        QCOMPARE(dc.m_bitmap.size(), QSize(40, 20));
        dc.fillRect(QRect(0, 0, 100, 60), Qt::red); // in the target's coordinates, beyond the buffer too
        dc.fillRect(QRect(10, 20, 5, 5), Qt::blue);
        // Nothing reaches the target before the buffer goes
        painter.end();
        QCOMPARE(QColor(target.pixel(12, 22)), QColor(Qt::white));
        painter.begin(&target);
    }
    painter.end();
    QCOMPARE(QColor(target.pixel(12, 22)), QColor(Qt::blue));
    QCOMPARE(QColor(target.pixel(49, 39)), QColor(Qt::red));
    QCOMPARE(QColor(target.pixel(9, 30)), QColor(Qt::white));
    QCOMPARE(QColor(target.pixel(50, 30)), QColor(Qt::white));
    QCOMPARE(QColor(target.pixel(30, 40)), QColor(Qt::white));
}

void tst_CMemoryDC::usesTheTargetsClipBox()
{
    QImage target(100, 60, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    painter.setClipRect(QRect(60, 0, 20, 10));
    const RECT all{0, 0, 100, 60};
    {
        CMemoryDC dc(&painter, &all);
        QCOMPARE(dc.m_rect, (RECT{60, 0, 80, 10}));
        dc.fillRect(QRect(0, 0, 100, 60), Qt::green);
    }
    painter.end();
    QCOMPARE(QColor(target.pixel(70, 5)), QColor(Qt::green));
    QCOMPARE(QColor(target.pixel(10, 5)), QColor(Qt::white));
}

void tst_CMemoryDC::keepsTargetTransform()
{
    QImage target(100, 60, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    painter.translate(30, 10);
    const RECT rc{0, 0, 10, 10};
    {
        CMemoryDC dc(&painter, &rc);
        dc.fillRect(QRect(0, 0, 10, 10), Qt::black);
    }
    painter.end();
    QCOMPARE(QColor(target.pixel(35, 15)), QColor(Qt::black));
    QCOMPARE(QColor(target.pixel(5, 5)), QColor(Qt::white));
}

void tst_CMemoryDC::emptyRectDrawsNothing()
{
    QImage target(20, 20, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    const RECT empty{5, 5, 5, 15};
    {
        CMemoryDC dc(&painter, &empty);
        QVERIFY(!dc.m_bMemDC);
    }
    {
        CMemoryDC dc(nullptr, &empty);
        QVERIFY(!dc.m_bMemDC);
    }
    painter.end();
    QCOMPARE(QColor(target.pixel(5, 10)), QColor(Qt::white));
}

QTEST_MAIN(tst_CMemoryDC)
#include "tst_CMemoryDC.moc"
