// Qt
#include <QtTest>

// std
#include <cfloat>
#include <climits>

// Orvane
#include "platform/NumberParse.h"

class tst_NumberParse : public QObject
{
    Q_OBJECT
private slots:
    void parsesLeadingInteger_data();
    void parsesLeadingInteger();
    void parsesLeadingNumber_data();
    void parsesLeadingNumber();
};

void tst_NumberParse::parsesLeadingInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QByteArray("42") << 42;
    QTest::newRow("blanks and sign") << QByteArray("  -7") << -7;
    QTest::newRow("rest ignored") << QByteArray("12abc") << 12;
    QTest::newRow("decimal") << QByteArray("3.9") << 3;
    QTest::newRow("none") << QByteArray("abc") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("overflow") << QByteArray("99999999999999999999") << INT_MAX;
    QTest::newRow("underflow") << QByteArray("-99999999999") << INT_MIN;
}

void tst_NumberParse::parsesLeadingInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(AtoI(text.constData()), value);
    QCOMPARE(AtoI(nullptr), 0);
}

void tst_NumberParse::parsesLeadingNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << QByteArray("0.5\\0.25") << 0.5;
    QTest::newRow("exponent") << QByteArray(" 1e2") << 100.0;
    QTest::newRow("none") << QByteArray("x") << 0.0;
    QTest::newRow("huge") << QByteArray("1e999") << DBL_MAX;
    QTest::newRow("nan") << QByteArray("nan") << 0.0;
}

void tst_NumberParse::parsesLeadingNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QCOMPARE(AtoF(text.constData()), value);
}

QTEST_MAIN(tst_NumberParse)
#include "tst_NumberParse.moc"
