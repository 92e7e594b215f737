#pragma once
// Dates (DA) and times (TM) of DICOM attributes as the viewer shows them, read by the
// toolkit's own parsers, which also take the forms of the older standard.

// Qt
#include <QChar>
#include <QString>

namespace DicomDateTime {

/// A date value "YYYYMMDD" (or "YYYY.MM.DD" of the older standard) as DD<sep>MM<sep>YYYY.
/// Padding blanks are ignored; empty when the value is no date. Thread safe.
QString DateText(const QString& value, QChar separator);

/// A time value "HH[MM[SS[.FFFFFF]]]" (or "HH[:MM[:SS[.FFFFFF]]]" of the older standard) as
/// HH:MM:SS, missing minutes and seconds as 00 and the fraction dropped. Padding blanks are
/// ignored; empty when the value is no time. Thread safe.
QString TimeText(const QString& value);

} // namespace DicomDateTime
