// Writes the demo file set (phantom CT, MR, CR, US and XA studies with presentation states and
// a DICOMDIR) into a folder.
//
// Usage: orvane_demo_fileset <folder>

// Qt
#include <QCoreApplication>
#include <QDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <cstdio>

// Orvane
#include "tools/fixtures/DemoFixtures.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The toolkit reports every file it adds to the DICOMDIR otherwise
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (QDir(folder).exists(QStringLiteral("DICOMDIR"))) {
        std::fprintf(stderr, "%s already holds a DICOMDIR\n", qPrintable(folder));
        return 1;
    }
    const QString error = Fixtures::WriteDemoFileSet(folder);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "cannot write the demo file set: %s\n", qPrintable(error));
        return 1;
    }
    int studies = 0;
    for (const Fixtures::FsPatient& patient : Fixtures::DemoFileSet().patients)
        studies += int(patient.studies.size());
    std::printf("demo file set with %d studies written to %s\n", studies, qPrintable(folder));
    return 0;
}
