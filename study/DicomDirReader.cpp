#include "study/DicomDirReader.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcdirrec.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcistrmb.h>
#include <dcmtk/dcmdata/dcistrmf.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcstack.h>
#include <dcmtk/dcmdata/dcvrpn.h>

// POSIX
#include <sys/stat.h>

// std
#include <cstdio>
#include <new>
#include <unordered_map>
#include <vector>

// Orvane
#include "platform/ReportSystemError.h"
#include "study/DicomDateTime.h"
#include "study/DicomText.h"

namespace {

// A record's text in the character set the record names (DICOMDIR writers copy the file's)
QString Text(DcmItem* record, const OFString& value)
{
    return DicomText::Decode(value, DicomText::CharacterSetOf(record));
}

QString Value(DcmItem* item, const DcmTagKey& tag)
{
    return RecordText(item, tag);
}

std::uint32_t Offset(DcmObject* element)
{
    Uint32 value = 0;
    if (static_cast<DcmElement*>(element)->getUint32(value, 0).bad())
        return 0;
    return value;
}

// The next and lower offsets of a record in one pass over its elements, not one search each
void Offsets(DcmItem* record, std::uint32_t& next, std::uint32_t& lower)
{
    next = 0;
    lower = 0;
    bool haveNext = false;
    bool haveLower = false;
    for (DcmObject* o = record->nextInContainer(nullptr); o && !(haveNext && haveLower); o = record->nextInContainer(o)) {
        const DcmTagKey tag = o->getTag();
        if (!haveNext && tag == DCM_OffsetOfTheNextDirectoryRecord) {
            next = Offset(o);
            haveNext = true;
        } else if (!haveLower && tag == DCM_OffsetOfReferencedLowerLevelDirectoryEntity) {
            lower = Offset(o);
            haveLower = true;
        }
    }
}

// The texts of a STUDY record, kept until the linkage says which patient it belongs to.
struct StudyStub
{
    std::uint32_t nIndex = 0;
    std::uint32_t nLowerOffset = 0;
    QString strAccession;
    QString strDescription;
    QString strDateTime;
    QString strUid;
};

std::unique_ptr<COffsetListValue> OffsetRecord(const DirectoryLink& link)
{
    auto value = std::make_unique<COffsetListValue>();
    value->m_nOffset = link.nOffset;
    value->m_nNextOffset = link.nNextOffset;
    value->m_nLowerOffset = link.nLowerOffset;
    value->m_nIndex = link.nIndex;
    return value;
}

std::unique_ptr<CPatientInfo> PatientOf(DcmItem* record, std::uint32_t index)
{
    auto patient = std::make_unique<CPatientInfo>();
    patient->m_nRecordIndex = int(index);
    patient->m_strPatientID = Value(record, DCM_PatientID);
    if (record->tagExistsWithValue(DCM_PatientName, OFFalse)) {
        OFString name, last, first, middle, prefix, suffix;
        record->findAndGetOFString(DCM_PatientName, name, 0, OFFalse);
        DcmPersonName::getNameComponentsFromString(name, last, first, middle, prefix, suffix, 0);
        patient->m_strPatientName = DisplayName(Text(record, last), Text(record, first), Text(record, middle));
    }
    return patient;
}

StudyStub StudyOf(DcmItem* record, const DirectoryLink& link)
{
    StudyStub stub;
    stub.nIndex = link.nIndex;
    stub.nLowerOffset = link.nLowerOffset;
    stub.strAccession = Value(record, DCM_AccessionNumber);
    stub.strDescription = Value(record, DCM_StudyDescription);
    const QString date = FormatStudyDate(Value(record, DCM_StudyDate));
    if (!date.isEmpty())
        stub.strDateTime = QStringLiteral("%1 %2").arg(date, FormatStudyTime(Value(record, DCM_StudyTime)));
    stub.strUid = Value(record, DCM_StudyInstanceUID);
    return stub;
}

// The file's bytes as the parser's stream. A value longer than the parser's limit stays in the
// file, as with the file stream: it is skipped now and read from the file when asked for, so
// that a length past the end of the bytes is a parse error, not an allocation of that size.
class FileBytesStream : public DcmInputBufferStream
{
public:
    explicit FileBytesStream(const char* path)
        : m_path(path)
    {
    }
    DcmInputStreamFactory* newFactory() const override { return new DcmInputFileStreamFactory(m_path, tell()); }

private:
    OFFilename m_path;
};

// The whole file read at once and parsed from memory, as loadFile parses it from the file:
// the parser then reads no small pieces through the file stream. False when the file cannot
// be read whole or does not parse.
bool ReadFromMemory(const char* path, DcmFileFormat& file)
{
    std::FILE* stream = std::fopen(path, "rb");
    if (!stream)
        return false;
    // A file larger than any DICOMDIR of a medium is left to the file reader
    constexpr off_t kMaxBytes = off_t(256) << 20;
    std::vector<char> bytes;
    bool whole = false;
    struct stat st;
    if (::fstat(::fileno(stream), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= kMaxBytes) {
        try {
            bytes.resize(size_t(st.st_size));
            whole = std::fread(bytes.data(), 1, bytes.size(), stream) == bytes.size() && std::fgetc(stream) == EOF;
        } catch (const std::bad_alloc&) {
            whole = false;
        }
    }
    std::fclose(stream);
    if (!whole)
        return false;
    FileBytesStream input(path);
    input.setBuffer(bytes.data(), offile_off_t(bytes.size()));
    input.setEos();
    file.transferInit();
    const OFCondition status = file.read(input, EXS_Unknown, EGL_noChange, 4096);
    file.transferEnd();
    return status.good();
}

QString OrDashes(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("--") : text;
}

// The modality of a study row: that of the first series of the study's chain that has one;
// "--" when its series have none; empty without series.
QString ModalityOf(const RecordChain& chain, std::uint32_t firstSeries)
{
    QString modality;
    bool anySeries = false;
    chain.Walk(firstSeries, RecordType::Series, [&](const DirectoryLink& series) {
        anySeries = true;
        modality = Value(series.pItem, DCM_Modality);
        return modality.isEmpty();
    });
    if (!modality.isEmpty())
        return modality;
    return anySeries ? QStringLiteral("--") : QString();
}

void MakeRows(DicomDirContents& c, const std::vector<StudyStub>& studies)
{
    // A study belongs to the first patient whose study chain reaches it
    std::unordered_map<std::uint32_t, const CPatientInfo*> owner;
    for (const auto& patient : c.patients) {
        const DirectoryLink* link = c.chain.AtIndex(std::uint32_t(patient->m_nRecordIndex));
        if (!link)
            continue;
        c.chain.Walk(link->nLowerOffset, RecordType::Study, [&](const DirectoryLink& study) {
            // A study already claimed means this chain has joined another one: the rest is known
            return owner.emplace(study.nIndex, patient.get()).second;
        });
    }

    c.rows.reserve(studies.size());
    for (const StudyStub& stub : studies) {
        StudyRow row;
        const auto it = owner.find(stub.nIndex);
        const CPatientInfo* patient = it == owner.end() ? nullptr : it->second;
        row.nStudyRecord = int(stub.nIndex);
        row.nPatientRecord = patient ? patient->m_nRecordIndex : -1;
        row.astrText[0] = QString::number(c.rows.size() + 1);
        row.astrText[1] = OrDashes(patient ? patient->m_strPatientID : QString());
        row.astrText[2] = OrDashes(patient ? patient->m_strPatientName : QString());
        row.astrText[3] = ModalityOf(c.chain, stub.nLowerOffset);
        row.astrText[4] = OrDashes(stub.strAccession);
        row.astrText[5] = OrDashes(stub.strDescription);
        row.astrText[6] = OrDashes(stub.strDateTime);
        row.astrText[7] = stub.strUid;
        row.astrText[8] = patient ? patient->GetKey() : QString();
        c.rows.push_back(std::move(row));
    }
}

} // namespace

QString RecordText(DcmItem* record, const DcmTagKey& tag)
{
    OFString value;
    if (!record || record->findAndGetOFString(tag, value, 0, OFFalse).bad())
        return {};
    return Text(record, value);
}

DicomDirContents::DicomDirContents() = default;
DicomDirContents::~DicomDirContents() = default;
DicomDirContents::DicomDirContents(DicomDirContents&&) noexcept = default;
DicomDirContents& DicomDirContents::operator=(DicomDirContents&&) noexcept = default;

QString FormatStudyDate(const QString& stored)
{
    return DicomDateTime::DateText(stored, QLatin1Char('/'));
}

QString FormatStudyTime(const QString& stored)
{
    return DicomDateTime::TimeText(stored);
}

DicomDirContents ReadDicomDir(const char* path, const std::atomic<bool>* stop)
{
    // Runs on the loading thread
    DicomDirContents c;
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };

    try {
        auto file = std::make_unique<DcmFileFormat>();
        if (!path)
            return c;
        if (!ReadFromMemory(path, *file)) {
            // Whatever the parse from memory does not take, the file reader decides
            file = std::make_unique<DcmFileFormat>();
            if (file->loadFile(path, EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect).bad())
                return c;
        }
        c.pFile = std::move(file);
        c.bRead = true;
        DcmStack stack;
        if (c.pFile->getDataset()->search(DCM_DirectoryRecordSequence, stack, ESM_fromHere, OFFalse) == EC_Normal
            && stack.top() && stack.top()->ident() == EVR_SQ)
            c.pRecordSequence = static_cast<DcmSequenceOfItems*>(stack.top());
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OpnDICOMDIRFile");
    }
    if (!c.pRecordSequence)
        return c;

    std::vector<StudyStub> studies;
    try {
        // In sequence: asking for item i each time would walk the list from its head
        std::uint32_t index = 0;
        DcmSequenceOfItems* sequence = c.pRecordSequence;
        for (DcmObject* object = sequence->nextInContainer(nullptr); object; object = sequence->nextInContainer(object), ++index) {
            if (stopped())
                return c;
            if (object->ident() != EVR_dirRecord)
                continue;
            auto* record = static_cast<DcmDirectoryRecord*>(object);
            DirectoryLink link;
            link.nOffset = record->getFileOffset();
            Offsets(record, link.nNextOffset, link.nLowerOffset);
            link.nIndex = index;
            link.pItem = record;

            std::unique_ptr<COffsetListValue> value;
            COffsetList* list = nullptr;
            switch (record->getRecordType()) {
            case ERT_Patient:
                // A patient without studies is left out entirely
                if (link.nLowerOffset == 0)
                    break;
                value = OffsetRecord(link);
                c.patients.push_back(PatientOf(record, index));
                value->SetKey(c.patients.back()->GetKey());
                link.nType = RecordType::Patient;
                list = &c.patientOffsets;
                break;
            case ERT_Study:
                value = OffsetRecord(link);
                studies.push_back(StudyOf(record, link));
                value->SetKey(studies.back().strUid);
                link.nType = RecordType::Study;
                list = &c.studyOffsets;
                break;
            case ERT_Series:
                value = OffsetRecord(link);
                link.nType = RecordType::Series;
                list = &c.seriesOffsets;
                break;
            case ERT_Image:
                value = OffsetRecord(link);
                link.nType = RecordType::Image;
                list = &c.imageOffsets;
                break;
            case ERT_Presentation:
                value = OffsetRecord(link);
                link.nType = RecordType::Presentation;
                list = &c.presentationOffsets;
                break;
            default:
                break; // kept only so that chains can step over it
            }
            link.pValue = value.get();
            if (list)
                list->push_back(std::move(value));
            c.chain.Add(link);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OpnDICOMDIRFile");
    }

    try {
        MakeRows(c, studies);
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OpnDICOMDIRFile");
    }
    return c;
}
