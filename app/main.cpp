// Qt
#include <QApplication>

// std
#include <clocale>

// Orvane
#include "app/COstrevanApp.h"
#include "platform/ReportSystemError.h"
#include "study/DicomCodecs.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Qt sets the user's locale; every number parsed and printed here is in the C one
    std::setlocale(LC_NUMERIC, "C");
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
