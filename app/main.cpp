// Qt
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

// std
#include <clocale>

// Orvane
#include "app/COstrevanApp.h"
#include "platform/ReportSystemError.h"
#include "study/DicomCodecs.h"

namespace {

// A viewer folder made for a file set carries the toolkit's data dictionary and the mapped
// fonts beside the program; a build folder has neither, and nothing changes there.
void UseFilesBesideProgram()
{
    const QDir folder(QCoreApplication::applicationDirPath());

    const QStringList dictionaries = folder.entryList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
    if (!dictionaries.isEmpty() && qEnvironmentVariableIsEmpty("DCMDICTPATH")) {
        QStringList paths;
        for (const QString& name : dictionaries)
            paths << folder.filePath(name);
        qputenv("DCMDICTPATH", QFile::encodeName(paths.join(QLatin1Char(':'))));
    }

    // Only faces the system lacks; its own copies stay in use
    const QStringList installed = QFontDatabase::families();
    const QFileInfoList fonts = QDir(folder.filePath(QStringLiteral("fonts"))).entryInfoList({QStringLiteral("*.ttf")}, QDir::Files);
    for (const QFileInfo& font : fonts) {
        const int id = QFontDatabase::addApplicationFont(font.filePath());
        if (id < 0)
            continue;
        bool missing = false;
        for (const QString& family : QFontDatabase::applicationFontFamilies(id))
            missing = missing || !installed.contains(family);
        if (!missing)
            QFontDatabase::removeApplicationFont(id);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Qt sets the user's locale; every number parsed and printed here is in the C one
    std::setlocale(LC_NUMERIC, "C");
    UseFilesBesideProgram();
    const DicomCodecs codecs;
    ReportToolkitErrorsOnly();

    int result = 0;
    try {
        if (theApp.InitInstance(QCoreApplication::applicationFilePath()))
            result = QApplication::exec();
    } catch (...) {
        ReportSystemError(GetLastError(), "COstrevanApp::InitInstance");
    }
    const int exitCode = theApp.ExitInstance();
    return result != 0 ? result : exitCode;
}
