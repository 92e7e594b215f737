// The DICOM Information dialog on a file of 30,000 top-level elements, beside the plain toolkit
// dump of the same file read the same way: the rows built, and the list filled with them, against
// DcmFileFormat::print and a walk that reads every element's values as text. Each time is the
// median of repeated runs. One file without Specific Character Set and one with it.
//
// Usage: bench_dicom_information [runs]

// Qt
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>

// Orvane
#include "bench/BenchTiming.h"
#include "study/CDicomTagDisplayDlg.h"

// std
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>

using namespace Bench;

namespace {

// An output stream that keeps nothing
class NullBuffer : public std::streambuf
{
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// 120 private groups of a creator and 250 elements each (texts, numbers, decimal strings), and
// a few standard elements: 30,000 and some top-level elements
QString WriteManyElements(const QString& path, bool characterSet)
{
    DcmFileFormat file;
    DcmDataset& data = *file.getDataset();
    if (characterSet)
        data.putAndInsertString(DCM_SpecificCharacterSet, "ISO_IR 100");
    data.putAndInsertString(DCM_SOPClassUID, "1.2.840.10008.5.1.4.1.1.7");
    data.putAndInsertString(DCM_SOPInstanceUID, "1.2.826.0.1.3680043.9.7.1");
    data.putAndInsertString(DCM_PatientName, "DOE^JOHN");
    data.putAndInsertString(DCM_Modality, "OT");
    for (Uint16 g = 0; g < 120; ++g) {
        const Uint16 group = Uint16(0x0011 + 2 * g);
        data.putAndInsertString(DcmTag(group, 0x0010, EVR_LO), "ORVANE BENCH");
        for (Uint16 e = 0; e < 250; ++e) {
            const DcmTagKey key(group, Uint16(0x1000 + e));
            switch (e % 3) {
            case 0:
                data.putAndInsertString(DcmTag(key, EVR_LO), ("value " + std::to_string(e)).c_str());
                break;
            case 1:
                data.putAndInsertUint16(DcmTag(key, EVR_US), e);
                break;
            default:
                data.putAndInsertString(DcmTag(key, EVR_DS), "0.5\\0.25\\1.75");
                break;
            }
        }
    }
    const OFCondition status = file.saveFile(QFile::encodeName(path).constData(), EXS_LittleEndianExplicit);
    return status.good() ? QString() : QString::fromLatin1(status.text());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    for (const bool characterSet : {false, true}) {
        const QString path = dir.filePath(characterSet ? QStringLiteral("many-latin1.dcm") : QStringLiteral("many.dcm"));
        const QString problem = WriteManyElements(path, characterSet);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        const QByteArray name = QFile::encodeName(path);
        // Read as the dialog reads it: values above 4096 bytes stay in the file
        DcmFileFormat file;
        if (file.loadFile(name.constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect).bad()) {
            std::fprintf(stderr, "cannot read %s\n", name.constData());
            return 1;
        }
        DcmDataset* data = file.getDataset();
        NullBuffer nothing;
        std::ostream sink(&nothing);
        std::size_t rows = 0;
        std::size_t characters = 0;
        CDicomTagDisplayDlg dlg;
        dlg.InsertColumns();
        const std::vector<double> ms = TimeWhole(
            runs, {[&] { data->print(sink); },
                   [&] {
                       // Every element's tag name and values as text, in one walk
                       characters = 0;
                       for (DcmObject* o = data->nextInContainer(nullptr); o; o = data->nextInContainer(o)) {
                           auto* element = static_cast<DcmElement*>(o);
                           OFString value;
                           DcmTag tag = element->getTag();
                           characters += std::strlen(tag.getTagName());
                           if (element->getOFStringArray(value).good())
                               characters += value.length();
                       }
                   },
                   [&] { rows = CDicomTagDisplayDlg::RowsOf(data).size(); },
                   [&] { dlg.ShowItemElements(data); }});
        std::printf("%s, %zu rows: DcmDataset::print (plain DCMTK dump) %.1f ms | plain DCMTK walk (names + values) %.1f ms"
                    " | rows built %.1f ms | list filled (rows + list items) %.1f ms | rows / print %.2f\n",
                    characterSet ? "with Specific Character Set" : "without Specific Character Set", rows, ms[0], ms[1],
                    ms[2], ms[3], Ratio(ms[2], ms[0]));
    }
    return 0;
}
