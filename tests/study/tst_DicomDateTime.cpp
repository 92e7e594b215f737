// Dates and times in the current and the older forms of the standard, as the overlay
// (DD-MM-YYYY) and the study list (DD/MM/YYYY) show them.

// Qt
#include <QtTest>

// Orvane
#include "study/DicomDateTime.h"

class tst_DicomDateTime : public QObject
{
    Q_OBJECT
private slots:
    void dates_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("current") << "19990524" << "24-05-1999";
        QTest::newRow("dotted, older standard") << "1999.05.24" << "24-05-1999";
        QTest::newRow("trailing space") << "19990524 " << "24-05-1999";
        QTest::newRow("leading space, dotted") << " 1999.05.24" << "24-05-1999";
        QTest::newRow("first of January") << "20000101" << "01-01-2000";
        QTest::newRow("year only") << "2011" << "";
        QTest::newRow("year and month") << "201108" << "";
        QTest::newRow("month 13") << "20111301" << "";
        QTest::newRow("30 February") << "20240230" << "";
        QTest::newRow("dashes") << "1999-05-24" << "";
        QTest::newRow("garbage") << "5.-.0-19" << "";
        QTest::newRow("letters") << "ABCDEFGH" << "";
        QTest::newRow("nine digits") << "199905241" << "";
        QTest::newRow("blanks") << "        " << "";
        QTest::newRow("empty") << "" << "";
    }
    void dates()
    {
        QFETCH(QString, value);
        QFETCH(QString, shown);
        QCOMPARE(DicomDateTime::DateText(value, QLatin1Char('-')), shown);
        QString slashed = shown;
        slashed.replace(QLatin1Char('-'), QLatin1Char('/'));
        QCOMPARE(DicomDateTime::DateText(value, QLatin1Char('/')), slashed);
    }

    void times_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("current") << "114221" << "11:42:21";
        QTest::newRow("colons, older standard") << "11:42:21" << "11:42:21";
        QTest::newRow("hours only") << "11" << "11:00:00";
        QTest::newRow("hours and minutes") << "1142" << "11:42:00";
        QTest::newRow("hours and minutes, colon") << "11:42" << "11:42:00";
        QTest::newRow("fraction") << "114221.123456" << "11:42:21";
        QTest::newRow("fraction near the next second") << "235959.999999" << "23:59:59";
        QTest::newRow("fraction, colons") << "11:42:21.5" << "11:42:21";
        QTest::newRow("trailing space") << "114221 " << "11:42:21";
        QTest::newRow("midnight") << "000000" << "00:00:00";
        QTest::newRow("hour 25") << "250000" << "";
        QTest::newRow("minute 60") << "1160" << "";
        QTest::newRow("odd digit count") << "11422" << "";
        QTest::newRow("garbage") << "11::4:2:" << "";
        QTest::newRow("letters") << "HHMMSS" << "";
        QTest::newRow("empty") << "" << "";
    }
    void times()
    {
        QFETCH(QString, value);
        QFETCH(QString, shown);
        QCOMPARE(DicomDateTime::TimeText(value), shown);
    }
};

QTEST_GUILESS_MAIN(tst_DicomDateTime)
#include "tst_DicomDateTime.moc"
