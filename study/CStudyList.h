#pragma once
// The Study List dialog: reads the DICOMDIR on its loading thread, lists one row per study,
// builds a chosen study's series and images from the record chains and hands the study to the
// thumbnail column and the viewport grid while a progress window is shown.

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

class IStudyChildFrame;
class CIconButton;
class CProgressWnd;
class DcmElement;
class DcmFileFormat;
class DcmSequenceOfItems;
class QPainter;
class QTreeWidget;
class QTreeWidgetItem;

/// The modeless Study List dialog. UI thread only, except OpnDICOMDIRFile, which runs on the
/// loading thread and touches no widget and no published record.
class CStudyList : public QDialog
{
    Q_OBJECT
public:
    /// Builds the controls of template 321 (the list with its columns, Load and Cancel).
    explicit CStudyList(QWidget* parent = nullptr);
    /// OnDestroy: the loading thread is stopped and joined before the records are freed.
    ~CStudyList() override;

    /// Creates the dialog hidden (OnInitDialog), which starts the loading thread on the
    /// application's DICOMDIR.
    BOOL Create(int templateId, QWidget* parent);
    /// Centres the dialog on its screen.
    void CenterWindow();

    // --- The dialog (UI thread) ----------------------------------------------------------

    /// Hides the dialog, skins the two buttons and starts the loading thread on
    /// theApp.m_strDicomDirPath. Returns TRUE.
    BOOL OnInitDialog();
    /// The end notice of the loading thread: a DICOMDIR that could not be read is said so in a
    /// message and the dialog stays hidden; the only study is loaded at once without showing
    /// the dialog; otherwise (none or several) the dialog is shown. Then emits dicomDirLoaded.
    void OnLoadData();
    /// The Load button and Enter: nothing without rows; with one row the dialog is hidden when
    /// that study is shown already, else it is loaded (again); otherwise the selected row is
    /// loaded, and nothing happens without a selection.
    void OnLoad();
    /// Loads the study of row `nRow` and hands it to the panes of the active child frame.
    /// A load that is running ignores a second one.
    void OnLoad(int nRow);
    /// A double-click in the list: a row (`nItem` not -1) is loaded, with
    /// theApp.m_bStudyListDblClk set first.
    void OnDblclkStudyList(int nItem);
    /// Applies every collected presentation-state path to the current study, once, through
    /// one presentation-state import: with the first image of the first series and tag "1".
    void ApplyPresentationStates();
    /// ID_CALL_VIEWER: hands the loaded study to the active child frame's panes, then destroys
    /// the progress window's window.
    void OnViewerStartup();
    /// Starts the thumbnail run, sets the layout mode by the first series' modality and shows
    /// the study's first series in one viewport. A study without series gets a blank viewport
    /// and no images loaded. FALSE when nothing was handed over.
    BOOL SetImagePropertiesAfterLoading(IStudyChildFrame* pChild);
    /// Fills `rect` (dialog pixels) with the background gradient of m_nGradientBands bands.
    void PaintGradient(QPainter* pDC, const RECT* pRect) const;
    /// The end of the dialog: the loading thread joined, then the progress window, the
    /// patients, the offset records and the DICOMDIR freed.
    void OnDestroy();

    /// The series keys of a study: per series in sorted order the path of its first image, or
    /// with `bEveryImage` (modality "XA") the paths of all its images.
    static QStringList SeriesKeysOf(const CStudyInfo* study, bool bEveryImage);
    /// The layout mode a study opens in, by the modality of its first series: 2 (image
    /// layout) for "US", "MG" and "CR", else 1 (series layout).
    static int LayoutModeFor(const QString& modality);
    /// The Probe button is for rows of modality "CT" or "MR" exactly.
    static BOOL IsProbeModality(const QString& modality);

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
    /// presentation-state paths. A study no PATIENT record leads to gets a patient of its own
    /// with empty texts. Null when the row, its study or its first series record is missing.
    CStudyInfo* BuildStudyOfRow(int row);

    // --- Members ---------------------------------------------------------------------------

    int m_nGradientBands = 236;         ///< bands of the background
    int m_nGradientDirection = 1;       ///< 0, 1: bands stacked from the top; others: from the left
    QString m_strSeriesModality;        ///< modality of the series record the builder read last, then of the loaded study's first series
    QString m_strDicomdirPath;          ///< the DICOMDIR the loading thread reads
    CStudyInfo* m_pCurrentStudy = nullptr; ///< the study loaded last; owned by its patient
    /// The progress window of a load, owned; set while the study is handed to the panes
    /// (image loads into viewports repaint it), null otherwise.
    CProgressWnd* m_pProgressWnd = nullptr;
    QStringList m_astrPSPaths;          ///< presentation-state paths of the study built last
    std::thread m_hLoaderThread;        ///< the loading thread; joinable until its result is taken over
    CPatientList m_patientList;         ///< all patients
    CIconButton* m_btnCancel = nullptr; ///< control 2
    CIconButton* m_btnLoad = nullptr;   ///< control 1, the default button
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

    int m_nShownRow = -1;               ///< the row whose study the panes show; -1 none

signals:
    /// The end notice arrived and the records were taken over; `read` is FALSE when the
    /// DICOMDIR could not be loaded.
    void dicomDirLoaded(bool read);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// Empty viewports show the loading text exactly while `bLoading`; they repaint when
    /// that changes.
    static void ShowLoadingText(bool bLoading);
    /// The main window becomes active and its selected view takes the keys.
    static void FocusSelectedView();
    void StudyListThreadProc(const QByteArray& path);
    void OnLoaderDone(int run, const std::shared_ptr<DicomDirContents>& contents);
    void AddSeries(CStudyInfo* study, const DirectoryLink& record, bool first);
    void AddImage(CSeriesInfo* series, const DirectoryLink& record);
    QString ResolveFileId(const DirectoryLink& record);
    QString ResolveFileId(DcmElement* fileIdElement);
    CPatientInfo* PatientOfOrphanStudy(int studyRecord);

    std::atomic<bool> m_bStopLoader{false};
    std::atomic<int> m_nLoaderRun{0};
    PathResolver m_pathResolver; // one per build, so folder listings are read once
    bool m_bLoading = false;     // a load is running
    bool m_bNoImages = false;    // the load found none of the study's images
    bool m_bHandedOver = false;  // the last hand-over showed the study
};
