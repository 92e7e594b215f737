// Fuzz target: the bytes are a DICOMDIR; it is read into rows and records, and every row's
// study is built over a file set whose files exist (empty stand-ins of the sample set).

// Qt
#include <QApplication>
#include <QFile>

// Orvane
#include "app/COstrevanApp.h"
#include "study/CStudyList.h"
#include "study/DicomDirReader.h"
#include "tests/fuzz/FuzzCommon.h"
#include "tools/fixtures/DicomDirFixtures.h"

// std
#include <memory>

namespace {

QByteArray g_path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::Quiet();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    FuzzCommon::Quiet();
    const QString folder = FuzzCommon::ScratchFolder() + QStringLiteral("/set");
    Fixtures::FileSetOptions options;
    options.placeholderFiles = true;
    Fixtures::WriteFileSetFiles(Fixtures::SampleFileSet(), folder, options);
    theApp.m_strMediaFolder = folder;
    g_path = QFile::encodeName(FuzzCommon::ScratchFolder() + QStringLiteral("/DICOMDIR"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FuzzCommon::WriteInput(g_path, data, size))
        return 0;
    DicomDirContents contents = ReadDicomDir(g_path.constData());
    CStudyList list;
    list.SetDicomDirContents(std::move(contents));
    for (int row = 0; row < int(list.m_aRows.size()); ++row)
        list.BuildStudyOfRow(row);
    return 0;
}
