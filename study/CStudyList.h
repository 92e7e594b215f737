#pragma once
// The Study List dialog: reads the DICOMDIR on its loading thread, lists one row per study and
// builds a chosen study's series and images from the record chains.

// Qt
#include <QDialog>
#include <QStringList>

// std
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// Orvane
#include "platform/PathResolver.h"
#include "platform/WinTypes.h"
#include "study/COffsetListValue.h"
#include "study/CPatientList.h"
#include "study/DicomDirReader.h"
#include "study/RecordChain.h"

class DcmFileFormat;
class DcmSequenceOfItems;
class QTreeWidget;

/// The modeless Study List dialog. UI thread only, except OpnDICOMDIRFile, which runs on the
/// loading thread and touches no widget and no published record.
class CStudyList : public QDialog
{
    Q_OBJECT
public:
    explicit CStudyList(QWidget* parent = nullptr);
    /// Stops and joins the loading thread before the records are freed.
    ~CStudyList() override;

    /// Creates the dialog hidden from its template and starts the loading thread on the
    /// application's DICOMDIR copy.
    BOOL Create(int templateId, QWidget* parent);
    /// Centres the dialog on its screen.
    void CenterWindow();

    // --- The DICOMDIR reader -------------------------------------------------------------

    /// Starts the loading thread on the DICOMDIR at `path` when that file exists (a running
    /// one is stopped first). Its result arrives on the UI thread as the end notice
    /// ID_LOAD_DICOM_IMAGE: the records are taken over, then OnLoadData runs. TRUE when
    /// started; without the file no thread starts and the notice comes with nothing read.
    BOOL StartLoaderThread(const QString& path);
    /// Stops the loading thread (flag, then join); a result it still sends is dropped.
    void StopLoaderThread();
    /// Reads the DICOMDIR at `path` and hands the records to the UI thread in one queued
    /// call, also when the read failed (with nothing read). TRUE when the records were walked,
    /// FALSE when the file cannot be loaded. Runs on the loading thread; safe on any thread.
    BOOL OpnDICOMDIRFile(const char* path);
    /// Takes over a read's records, replacing everything read before, and fills the rows of
    /// m_listStudies. UI thread.
    void SetDicomDirContents(DicomDirContents&& contents);
    /// Deletes every record of the five offset lists and the record chain.
    void ClearOffsetListValues();
    /// Inserts the nine columns of the study list.
    void InitListColumns();
    /// The handler of the end notice ID_LOAD_DICOM_IMAGE; emits dicomDirLoaded.
    void OnLoadData();

    // --- The study builder (UI thread) ---------------------------------------------------

    /// Builds all studies of the first patient whose key is `key`, unless it has studies.
    void AddStudiesToPatient(const QString& key);
    /// Builds all studies of `patient` from its study chain, unless it has studies.
    void AddStudiesToPatient(CPatientInfo* patient);
    /// Builds the series and images of `study` from the chain of series records that starts
    /// at `firstSeries`. "PR" series add their presentation-state paths to m_astrPSPaths.
    void FillSeriesData(CStudyInfo* study, const COffsetListValue* firstSeries);
    /// Builds the images of `series` from the chain of image records that starts at
    /// `firstImage`: only records whose file exists (found case-insensitively, components
    /// checked) become images.
    void FillImageData(CSeriesInfo* series, const COffsetListValue* firstImage);
    /// Appends the paths of the presentation-state files of the chain that starts at
    /// `firstPresentation` that exist to m_astrPSPaths, in chain order.
    void FillImageData(const COffsetListValue* firstPresentation);
    /// The study of row `row`, built and sorted at its first call: its patient's studies, then
    /// its series and images. Empties m_astrPSPaths first; a build collects the study's
    /// presentation-state paths. Null when the row, its patient, its study or its first series
    /// record is missing.
    CStudyInfo* BuildStudyOfRow(int row);

    // --- Members ---------------------------------------------------------------------------

    QString m_strSeriesModality;        ///< modality of the series record the builder read last
    QString m_strDicomdirPath;          ///< the DICOMDIR the loading thread reads
    QStringList m_astrPSPaths;          ///< presentation-state paths of the study built last
    class CProgressWnd* m_pProgressWnd = nullptr; ///< the progress window while a study is handed to the viewports, owned
    std::thread m_hLoaderThread;        ///< the loading thread; joinable until its result is taken over
    CPatientList m_patientList;         ///< all patients
    QTreeWidget* m_listStudies = nullptr; ///< the study list (control 1277), one row per STUDY record
    std::vector<StudyRow> m_aRows;      ///< the texts and records of the rows, in row order
    BOOL m_bDicomdirRead = FALSE;       ///< the last read loaded its file
    COffsetList m_lstPatientOffsets;
    COffsetList m_lstStudyOffsets;
    COffsetList m_lstSeriesOffsets;
    COffsetList m_lstImageOffsets;
    COffsetList m_lstPresentationOffsets;
    RecordChain m_chain;                ///< every directory record by offset and index
    std::unique_ptr<DcmFileFormat> m_pDicomdirFile; ///< the loaded DICOMDIR, owned; null until read
    DcmSequenceOfItems* m_pRecordSequence = nullptr; ///< its Directory Record Sequence; null when none

signals:
    /// The end notice arrived and the records were taken over; `read` is FALSE when the
    /// DICOMDIR could not be loaded.
    void dicomDirLoaded(bool read);

private:
    void StudyListThreadProc(const QByteArray& path);
    void OnLoaderDone(int run, const std::shared_ptr<DicomDirContents>& contents);
    void AddSeries(CStudyInfo* study, const DirectoryLink& record, bool first);
    void AddImage(CSeriesInfo* series, const DirectoryLink& record);
    QString ResolveFileId(const DirectoryLink& record);

    std::atomic<bool> m_bStopLoader{false};
    std::atomic<int> m_nLoaderRun{0};
    PathResolver m_pathResolver; // one per build, so folder listings are read once
};
