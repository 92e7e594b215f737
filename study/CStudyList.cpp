#include "study/CStudyList.h"

// Qt
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QTreeWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>

// std
#include <algorithm>

// Orvane
#include "controls/CGradientBar.h"
#include "controls/CIconButton.h"
#include "state/CAppState.h"
#include "controls/CProgressWnd.h"
#include "platform/DialogFont.h"
#include "platform/MessageNotifier.h"
#include "platform/ReportSystemError.h"
#include "platform/Gdi.h"

namespace {

struct Column
{
    const char* header;
    int width; // pixels
};

const Column kColumns[StudyRow::kColumns] = {
    {"No", 30},
    {"Patient ID", 80},
    {"Patient Name", 230},
    {"Modality", 60},
    {"Accession No", 80},
    {"Study Description.", 160},
    {"Study Date Time", 120},
    {"Study Instance UID", 0},
    {"Patient Name - ID", 0},
};

// Icons of the two buttons: normal and selected
constexpr UINT kIconNormal = 373;
constexpr UINT kIconSelected = 374;

QRect DluRect(int x, int y, int cx, int cy)
{
    return QRect(Gdi::DluX(x), Gdi::DluY(y), Gdi::DluX(cx), Gdi::DluY(cy));
}

} // namespace

CStudyList::CStudyList(QWidget* parent)
    : QDialog(parent)
{
    // Template 321: a fixed-size pop-up with caption and system menu
    setWindowTitle(QStringLiteral("Study List"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Gdi::DluX(517), Gdi::DluY(274));
    // The list, its headers, the buttons and the labels inherit the dialog font
    ApplyDialogFont(this);

    m_listStudies = new QTreeWidget(this);
    m_listStudies->setObjectName(QStringLiteral("1277"));
    m_listStudies->setGeometry(DluRect(2, 10, 511, 207));
    InitListColumns();

    m_btnLoad = new CIconButton(this);
    m_btnLoad->setObjectName(QStringLiteral("1"));
    m_btnLoad->setText(QStringLiteral("Load"));
    m_btnLoad->setGeometry(DluRect(406, 226, 50, 14));
    m_btnLoad->setDefault(true);
    m_btnCancel = new CIconButton(this);
    m_btnCancel->setObjectName(QStringLiteral("2"));
    m_btnCancel->setText(QStringLiteral("Cancel"));
    m_btnCancel->setGeometry(DluRect(464, 226, 50, 14));
    // The list comes first in the tab order, as in the template
    setTabOrder(m_listStudies, m_btnLoad);
    setTabOrder(m_btnLoad, m_btnCancel);

    connect(m_btnLoad, &QPushButton::clicked, this, [this] { OnLoad(); });
    // Cancel and the close box hide the modeless dialog
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_listStudies, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        OnDblclkStudyList(item ? m_listStudies->indexOfTopLevelItem(item) : -1);
    });
}

CStudyList::~CStudyList()
{
    OnDestroy();
}

BOOL CStudyList::Create(int, QWidget*)
{
    return OnInitDialog();
}

BOOL CStudyList::OnInitDialog()
{
    hide();
    // Load first, then Cancel: white captions on the icon
    for (CIconButton* button : {m_btnLoad, m_btnCancel}) {
        button->SetIcons(kIconNormal, kIconNormal, kIconSelected, kIconSelected, kIconNormal);
        button->SetFontName(QStringLiteral("MS Sans Serif"));
        button->LoadIconImage(kIconNormal);
        button->SetTextColor(0xFFFFFF);
    }
    StartLoaderThread(theApp.m_strDicomDirPath);
    return TRUE;
}

void CStudyList::OnDestroy()
{
    // The loading thread first: nothing it may still use is freed under it
    StopLoaderThread();
    try {
        delete m_pProgressWnd;
        m_pProgressWnd = nullptr;
        m_pCurrentStudy = nullptr;
        m_patientList.RemoveAllPatients();
        ClearOffsetListValues();
        m_pRecordSequence = nullptr;
        m_pDicomdirFile.reset();
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnDestroy");
    }
}

void CStudyList::paintEvent(QPaintEvent*)
{
    // OnPaint: the gradient under the controls
    try {
        QPainter painter(this);
        const RECT rc = {0, 0, width(), height()};
        PaintGradient(&painter, &rc);
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnPaint");
    }
}

void CStudyList::PaintGradient(QPainter* pDC, const RECT* pRect) const
{
    if (pDC && pRect)
        PaintBandGradient(*pDC, *pRect, m_nGradientBands, m_nGradientDirection);
}

void CStudyList::CenterWindow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void CStudyList::InitListColumns()
{
    // Report view: one row per study, whole rows selected, one at a time, never sorted
    m_listStudies->setColumnCount(StudyRow::kColumns);
    QStringList headers;
    for (const Column& column : kColumns)
        headers << QString::fromLatin1(column.header);
    m_listStudies->setHeaderLabels(headers);
    m_listStudies->setRootIsDecorated(false);
    m_listStudies->setItemsExpandable(false);
    m_listStudies->setUniformRowHeights(true);
    m_listStudies->setSortingEnabled(false);
    m_listStudies->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listStudies->setSelectionBehavior(QAbstractItemView::SelectRows);
    QHeaderView* header = m_listStudies->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The last two columns are hidden keys: width 0
    for (int i = 0; i < StudyRow::kColumns; ++i)
        header->resizeSection(i, kColumns[i].width);
}

BOOL CStudyList::StartLoaderThread(const QString& path)
{
    StopLoaderThread();
    m_strDicomdirPath = path;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        // No thread, but the end notice still comes, with nothing read
        const int run = m_nLoaderRun;
        QMetaObject::invokeMethod(
            this, [this, run] { OnLoaderDone(run, std::make_shared<DicomDirContents>()); }, Qt::QueuedConnection);
        return FALSE;
    }
    m_bStopLoader = false;
    const QByteArray file = QFile::encodeName(path);
    try {
        m_hLoaderThread = std::thread([this, file] { StudyListThreadProc(file); });
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnInitDialog");
        return FALSE;
    }
    return TRUE;
}

void CStudyList::StopLoaderThread()
{
    m_bStopLoader = true;
    if (m_hLoaderThread.joinable())
        m_hLoaderThread.join();
    ++m_nLoaderRun; // a result still queued belongs to a stopped run
}

void CStudyList::StudyListThreadProc(const QByteArray& path)
{
    // Runs on the loading thread
    try {
        OpnDICOMDIRFile(path.constData());
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OpnDICOMDIRFile");
    }
}

BOOL CStudyList::OpnDICOMDIRFile(const char* path)
{
    // Runs on the loading thread: fills plain data only, then hands it over in one step
    auto contents = std::make_shared<DicomDirContents>();
    try {
        *contents = ReadDicomDir(path, &m_bStopLoader);
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OpnDICOMDIRFile");
    }
    const BOOL read = contents->bRead ? TRUE : FALSE;
    // The end notice goes also after a failed read, so the dialog never waits for it
    if (!m_bStopLoader) {
        const int run = m_nLoaderRun;
        QMetaObject::invokeMethod(
            this, [this, run, contents] { OnLoaderDone(run, contents); }, Qt::QueuedConnection);
    }
    return read;
}

void CStudyList::OnLoaderDone(int run, const std::shared_ptr<DicomDirContents>& contents)
{
    try {
        if (run != m_nLoaderRun || !contents)
            return;
        // The thread's last act was to send this: it ends at once
        if (m_hLoaderThread.joinable() && m_hLoaderThread.get_id() != std::this_thread::get_id())
            m_hLoaderThread.join();
        SetDicomDirContents(std::move(*contents));
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OpnDICOMDIRFile");
    }
    OnLoadData();
}

void CStudyList::SetDicomDirContents(DicomDirContents&& contents)
{
    // Nothing may point into the records replaced here
    m_pCurrentStudy = nullptr;
    m_nShownRow = -1;
    m_listStudies->clear();
    m_aRows.clear();
    m_patientList.RemoveAllPatients();
    ClearOffsetListValues();
    m_pRecordSequence = nullptr;
    m_pDicomdirFile.reset();

    m_bDicomdirRead = contents.bRead ? TRUE : FALSE;
    m_pDicomdirFile = std::move(contents.pFile);
    m_pRecordSequence = contents.pRecordSequence;
    m_patientList.m_lstPatients = std::move(contents.patients);
    m_lstPatientOffsets = std::move(contents.patientOffsets);
    m_lstStudyOffsets = std::move(contents.studyOffsets);
    m_lstSeriesOffsets = std::move(contents.seriesOffsets);
    m_lstImageOffsets = std::move(contents.imageOffsets);
    m_lstPresentationOffsets = std::move(contents.presentationOffsets);
    m_chain = std::move(contents.chain);
    m_aRows = std::move(contents.rows);

    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_aRows.size()));
    for (const StudyRow& row : m_aRows) {
        QStringList texts;
        for (const QString& text : row.astrText)
            texts << text;
        items << new QTreeWidgetItem(texts);
    }
    m_listStudies->addTopLevelItems(items);
}

void CStudyList::ClearOffsetListValues()
{
    try {
        m_chain.Clear();
        m_lstPatientOffsets.clear();
        m_lstStudyOffsets.clear();
        m_lstSeriesOffsets.clear();
        m_lstImageOffsets.clear();
        m_lstPresentationOffsets.clear();
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::ClearOffsetListValues");
    }
}

void CStudyList::OnLoadData()
{
    try {
        if (!m_bDicomdirRead) {
            // Nothing to list: say why and stay hidden until the user asks for the list
            ShowLoadingText(false);
            MessageBox(nullptr, QStringLiteral("The DICOMDIR could not be read."), QStringLiteral("Perlisk Orvane"),
                       MB_OK | MB_ICONINFORMATION);
        } else if (m_listStudies->topLevelItemCount() == 1) {
            OnLoad(0);
        } else {
            // Nothing loads until the user picks a row
            ShowLoadingText(false);
            show();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnLoadData");
    }
    emit dicomDirLoaded(m_bDicomdirRead != FALSE);
}
