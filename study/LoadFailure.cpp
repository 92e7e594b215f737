#include "study/LoadFailure.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcxfer.h>

// std
#include <cstring>

namespace LoadFailure {

QString RefusedTransferSyntax(const char* uid)
{
    const char* id = uid ? uid : "";
    static const struct { const char* uid; const char* text; } known[] = {
        {"1.2.840.10008.1.2.4.52", kJpegProcess35},
        {"1.2.840.10008.1.2.4.80", kJpegLs},
        {"1.2.840.10008.1.2.4.81", kJpegLs},
        {"1.2.840.10008.1.2.4.90", kJpeg2000},
        {"1.2.840.10008.1.2.4.91", kJpeg2000},
        {"1.2.840.10008.1.2.4.92", kJpeg2000},
        {"1.2.840.10008.1.2.4.93", kJpeg2000},
    };
    for (const auto& row : known)
        if (std::strcmp(id, row.uid) == 0)
            return QString::fromLatin1(row.text);
    const DcmXfer xfer(id);
    const QString name = xfer.getXfer() != EXS_Unknown ? QString::fromLatin1(xfer.getXferName()) : QString::fromLatin1(id);
    return QStringLiteral("%1 images are not shown").arg(name);
}

} // namespace LoadFailure
