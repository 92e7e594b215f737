#include "study/DicomDateTime.h"

// Qt
#include <QDate>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcvrda.h>
#include <dcmtk/dcmdata/dcvrtm.h>
#include <dcmtk/ofstd/ofdate.h>
#include <dcmtk/ofstd/oftime.h>

namespace DicomDateTime {

namespace {

QString TwoDigits(unsigned int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

OFString Trimmed(const QString& value)
{
    return OFString(value.trimmed().toLatin1().constData());
}

} // namespace

QString DateText(const QString& value, QChar separator)
{
    const OFString text = Trimmed(value);
    OFDate date;
    if (text.empty() || DcmDate::getOFDateFromString(text, date, OFTrue).bad())
        return {};
    // The toolkit takes any day up to 31
    if (!QDate::isValid(int(date.getYear()), int(date.getMonth()), int(date.getDay())))
        return {};
    return TwoDigits(date.getDay()) + separator + TwoDigits(date.getMonth()) + separator
           + QStringLiteral("%1").arg(date.getYear(), 4, 10, QLatin1Char('0'));
}

QString TimeText(const QString& value)
{
    const OFString text = Trimmed(value);
    OFTime time;
    // Time zone 0: the value is shown as stored, never converted
    if (text.empty() || DcmTime::getOFTimeFromString(text, time, OFTrue, 0.0).bad() || !time.isValid())
        return {};
    return TwoDigits(time.getHour()) + QLatin1Char(':') + TwoDigits(time.getMinute()) + QLatin1Char(':')
           + TwoDigits(time.getIntSecond());
}

} // namespace DicomDateTime
