// Qt
#include <QtTest>

// Orvane
#include "controls/CTransparentStatic.h"

class tst_CTransparentStatic : public QObject
{
    Q_OBJECT
private slots:
    void shorterTextLeavesNoRemains();
};

void tst_CTransparentStatic::shorterTextLeavesNoRemains()
{
    QWidget top;
    top.setAutoFillBackground(true);
    QPalette pal = top.palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 90));
    top.setPalette(pal);
    top.resize(300, 40);
    CTransparentStatic label(&top);
    label.setGeometry(0, 0, 300, 40);
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::white));
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    label.SetWindowText("A much longer series description");
    label.SetWindowText("Short");
    QCOMPARE(label.text(), QString("Short"));
    const int end = QFontMetrics(label.font()).horizontalAdvance("Short") + 4;
    const QImage shot = top.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = end; x < 300; ++x)
            QCOMPARE(QColor(shot.pixel(x, y)), QColor(0, 0, 90));
}

QTEST_MAIN(tst_CTransparentStatic)
#include "tst_CTransparentStatic.moc"
