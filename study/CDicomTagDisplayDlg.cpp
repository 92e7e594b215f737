#include "study/CDicomTagDisplayDlg.h"

// Qt
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QTreeWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcfcache.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dctag.h>
#include <dcmtk/dcmdata/dcxfer.h>

// std
#include <algorithm>
#include <string>

// Orvane
#include "controls/CGradientBar.h"
#include "controls/CIconButton.h"
#include "platform/Gdi.h"
#include "platform/ReportSystemError.h"
#include "study/DicomText.h"

const char* const CDicomTagDisplayDlg::kColumnTitles[6] = {
    "[Group-Element]", "Title", "Value Representation", "Value Mulitplicity", "Value ", "Value Length",
};
const int CDicomTagDisplayDlg::kColumnWidths[6] = {100, 200, 120, 100, 200, 80};

namespace {

// Values longer than this stay in the file until they are asked for
constexpr Uint32 kMaxReadLength = 4096;
// A text value still in the file and longer than this is read only as far as it is shown
constexpr Uint32 kPartialReadLength = 1024 * 1024;
const QLatin1String kValueCutMark("...");

// Icons of the buttons: normal and selected
constexpr UINT kIconNormal = 373;
constexpr UINT kIconSelected = 374;
constexpr UINT kApplicationIcon = 128;

bool IsText(DcmEVR vr)
{
    switch (vr) {
    case EVR_AE: case EVR_AS: case EVR_CS: case EVR_DA: case EVR_DS: case EVR_DT: case EVR_IS:
    case EVR_LO: case EVR_LT: case EVR_PN: case EVR_SH: case EVR_ST: case EVR_TM: case EVR_UC:
    case EVR_UI: case EVR_UR: case EVR_UT:
        return true;
    default:
        return false;
    }
}

bool IsNumber(DcmEVR vr)
{
    switch (vr) {
    case EVR_AT: case EVR_FL: case EVR_FD: case EVR_SL: case EVR_SS: case EVR_UL: case EVR_US:
    case EVR_SV: case EVR_UV: case EVR_xs: case EVR_up:
        return true;
    default:
        return false;
    }
}

// Texts hold one value each by definition
bool IsSingleValuedText(DcmEVR vr)
{
    return vr == EVR_LT || vr == EVR_ST || vr == EVR_UT || vr == EVR_UR;
}

// Text for a list cell in the data set's character set: line breaks and other control
// characters become spaces
QString CellText(const char* text, size_t length, const OFString& characterSet)
{
    QString cell = DicomText::Decode(text, length, characterSet);
    for (QChar& c : cell) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    return cell;
}

bool CutForDisplay(QString& text)
{
    if (text.size() <= CDicomTagDisplayDlg::kValueDisplayLimit)
        return false;
    text.truncate(CDicomTagDisplayDlg::kValueDisplayLimit);
    text += kValueCutMark;
    return true;
}

// The values 0 to vm - 1 joined with "\", stopping once the shown part is full
QString JoinedValues(DcmElement* element, unsigned long vm, const OFString& characterSet)
{
    QString text;
    for (unsigned long i = 0; i < vm; ++i) {
        if (i > 0)
            text += QLatin1Char('\\');
        OFString value;
        if (element->getOFString(value, i, OFTrue).good())
            text += CellText(value.c_str(), value.length(), characterSet);
        if (CutForDisplay(text))
            break;
    }
    return text;
}

// A long text value that is still in the file: its first part read from there, and its
// multiplicity counted from the delimiters in chunks, without reading the value into memory
void ReadPartialText(DcmElement* element, QString* value, unsigned long* vm, const OFString& characterSet)
{
    const Uint32 length = element->getLengthField();
    constexpr Uint32 kChunk = 64 * 1024;
    std::string buffer(kChunk, '\0');
    DcmFileCache cache;
    unsigned long delimiters = 0;
    const bool counting = !IsSingleValuedText(element->ident());
    for (Uint32 offset = 0; offset < length; offset += kChunk) {
        const Uint32 n = std::min(kChunk, length - offset);
        if (element->getPartialValue(buffer.data(), offset, n, &cache).bad())
            break;
        if (offset == 0) {
            *value = CellText(buffer.data(), std::min<size_t>(n, CDicomTagDisplayDlg::kValueDisplayLimit + 1), characterSet);
            CutForDisplay(*value);
        }
        if (!counting)
            break;
        delimiters += static_cast<unsigned long>(std::count(buffer.begin(), buffer.begin() + n, '\\'));
    }
    *vm = counting ? delimiters + 1 : 1;
}

// The value length; compressed pixel data has its length only in the encoding of the data set
// it belongs to (the default encoding asks for uncompressed pixels, which it does not hold)
Uint32 ValueLength(DcmElement* element)
{
    if (element->ident() == EVR_PixelData) {
        DcmItem* root = element->getRootItem();
        if (root && root->ident() == EVR_dataset) {
            const E_TransferSyntax xfer = static_cast<DcmDataset*>(root)->getCurrentXfer();
            if (DcmXfer(xfer).isEncapsulated())
                return element->getLength(xfer);
        }
    }
    return element->getLength();
}

// "[gggg-eeee]" with four lower-case hexadecimal digits each, as "[%04x-%04x]" formats it
QString TagText(Uint16 group, Uint16 element)
{
    static const char digits[] = "0123456789abcdef";
    QChar text[11];
    text[0] = QLatin1Char('[');
    text[5] = QLatin1Char('-');
    text[10] = QLatin1Char(']');
    for (int i = 0; i < 4; ++i) {
        text[4 - i] = QLatin1Char(digits[(group >> (4 * i)) & 0xF]);
        text[9 - i] = QLatin1Char(digits[(element >> (4 * i)) & 0xF]);
    }
    return QString(text, 11);
}

QRect DluRect(int x, int y, int cx, int cy)
{
    return QRect(Gdi::DluX(x), Gdi::DluY(y), Gdi::DluX(cx), Gdi::DluY(cy));
}

} // namespace

CDicomTagDisplayDlg::ElementRow CDicomTagDisplayDlg::RowOf(DcmElement* element)
{
    return element ? RowIn(element, DicomText::CharacterSetOf(element->getRootItem())) : ElementRow();
}

CDicomTagDisplayDlg::ElementRow CDicomTagDisplayDlg::RowIn(DcmElement* element, const OFString& characterSet)
{
    ElementRow row;
    if (!element)
        return row;
    DcmTag tag = element->getTag();
    row.tag = TagText(tag.getGroup(), tag.getElement());
    row.name = QString::fromLatin1(tag.getTagName());
    row.vr = QString::fromLatin1(tag.getVRName());
    const DcmEVR kind = element->ident();
    unsigned long vm = 0;
    Uint32 length = 0;
    if (IsText(kind) && !element->valueLoaded() && element->getLengthField() > kPartialReadLength) {
        ReadPartialText(element, &row.value, &vm, characterSet);
        length = element->getLengthField();
    } else {
        // Binary values and sequences report multiplicity and length without reading a value
        vm = element->getVM();
        if (IsText(kind) || IsNumber(kind))
            row.value = JoinedValues(element, vm, characterSet);
        length = ValueLength(element);
    }
    row.vm = QString::number(vm);
    row.length = QString::number(length);
    return row;
}

std::vector<CDicomTagDisplayDlg::ElementRow> CDicomTagDisplayDlg::RowsOf(DcmItem* item)
{
    std::vector<ElementRow> rows;
    if (!item)
        return rows;
    rows.reserve(item->card());
    // One walk through the item's list, in its order. Every element names the character set
    // of the data set it belongs to: looked up once, not once per element (a search through
    // the whole list each time when there is none)
    bool setKnown = false;
    OFString characterSet;
    for (DcmObject* object = item->nextInContainer(nullptr); object; object = item->nextInContainer(object)) {
        auto* element = dynamic_cast<DcmElement*>(object);
        if (!element)
            continue;
        if (!setKnown) {
            characterSet = DicomText::CharacterSetOf(element->getRootItem());
            setKnown = true;
        }
        rows.push_back(RowIn(element, characterSet));
    }
    return rows;
}

CDicomTagDisplayDlg::CDicomTagDisplayDlg(QWidget* parent)
    : QDialog(parent)
{
    // Template 672: a modal frame with caption and system menu
    setWindowTitle(QStringLiteral("DICOM Information"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(Gdi::PointFont(QStringLiteral("MS Sans Serif"), 80));
    setFixedSize(Gdi::DluX(520), Gdi::DluY(326));

    m_listElements = new QTreeWidget(this);
    m_listElements->setObjectName(QStringLiteral("1000"));
    m_listElements->setGeometry(DluRect(0, 0, 516, 307));

    const auto makeButton = [this](const char* id, const char* text, QRect geometry) {
        auto* button = new CIconButton(this);
        button->setObjectName(QLatin1String(id));
        button->setText(QLatin1String(text));
        button->setGeometry(geometry);
        return button;
    };
    m_btnOK = makeButton("1", "OK", DluRect(468, 310, 50, 14));
    m_btnOK->setDefault(true);
    m_btnPatient = makeButton("1001", "Patient", DluRect(0, 1, 50, 13));
    m_btnStudy = makeButton("1002", "Study", DluRect(51, 1, 50, 13));
    m_btnSeries = makeButton("1003", "Series", DluRect(101, 1, 50, 13));
    m_btnImage = makeButton("1004", "Image", DluRect(151, 1, 50, 13));
    // The data buttons are hidden in the template and nothing shows them
    for (CIconButton* button : {m_btnPatient, m_btnStudy, m_btnSeries, m_btnImage})
        button->hide();
    setTabOrder(m_btnOK, m_listElements);

    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnPatient, &QPushButton::clicked, this, [this] { OnPatient(); });
    connect(m_btnStudy, &QPushButton::clicked, this, [this] { OnStudy(); });
    connect(m_btnSeries, &QPushButton::clicked, this, [this] { OnSeries(); });
    connect(m_btnImage, &QPushButton::clicked, this, [this] { OnImage(); });

    m_hIcon = LoadIconResource(kApplicationIcon);
}

CDicomTagDisplayDlg::~CDicomTagDisplayDlg()
{
    // The list goes before the file whose elements it was filled from
    delete m_listElements;
    m_listElements = nullptr;
}

void CDicomTagDisplayDlg::SetImageItem(DcmItem* item)
{
    m_pImageItem = item;
}

BOOL CDicomTagDisplayDlg::SetImageFile(const QString& path)
{
    m_pImageItem = nullptr;
    m_pFile.reset();
    try {
        auto file = std::make_unique<DcmFileFormat>();
        const QByteArray name = path.toLocal8Bit();
        if (path.isEmpty() || file->loadFile(name.constData(), EXS_Unknown, EGL_noChange, kMaxReadLength, ERM_autoDetect).bad())
            return FALSE;
        m_pFile = std::move(file);
        m_pImageItem = m_pFile->getDataset();
        return m_pImageItem ? TRUE : FALSE;
    } catch (...) {
        ReportSystemError(GetLastError(), "CDicomTagDisplayDlg::SetImageFile");
        return FALSE;
    }
}

int CDicomTagDisplayDlg::DoModal()
{
    return exec();
}

void CDicomTagDisplayDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

BOOL CDicomTagDisplayDlg::OnInitDialog()
{
    m_bInitialised = true;
    PositionDialog();
    if (!m_hIcon.isNull())
        setWindowIcon(QIcon(m_hIcon));
    for (CIconButton* button : {m_btnOK, m_btnStudy, m_btnSeries, m_btnPatient, m_btnImage}) {
        button->SetIcons(kIconNormal, kIconNormal, kIconSelected, kIconSelected, kIconNormal);
        button->SetFontName(QStringLiteral("MS Sans Serif"));
    }
    m_btnPatient->Select();
    for (CIconButton* button : {m_btnStudy, m_btnSeries, m_btnImage, m_btnOK})
        button->LoadIconImage(kIconNormal);
    InsertColumns();
    ShowItemElements(m_pImageItem);
    return TRUE;
}

void CDicomTagDisplayDlg::InsertColumns()
{
    // Report view: six left-aligned columns whose headers do not sort; whole rows selected
    m_listElements->setColumnCount(6);
    QStringList titles;
    for (const char* title : kColumnTitles)
        titles << QLatin1String(title);
    m_listElements->setHeaderLabels(titles);
    m_listElements->setRootIsDecorated(false);
    m_listElements->setItemsExpandable(false);
    m_listElements->setUniformRowHeights(true);
    m_listElements->setSortingEnabled(false);
    m_listElements->setSelectionBehavior(QAbstractItemView::SelectRows);
    QHeaderView* header = m_listElements->header();
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < 6; ++i)
        header->resizeSection(i, kColumnWidths[i]);
}

void CDicomTagDisplayDlg::ShowItemElements(DcmItem* item)
{
    m_listElements->clear();
    if (!item)
        return;
    QList<QTreeWidgetItem*> items;
    for (const ElementRow& row : RowsOf(item))
        items << new QTreeWidgetItem(QStringList{row.tag, row.name, row.vr, row.vm, row.value, row.length});
    m_listElements->addTopLevelItems(items);
}

void CDicomTagDisplayDlg::SelectDataButton(CIconButton* pressed, DcmItem* item)
{
    for (CIconButton* button : {m_btnPatient, m_btnStudy, m_btnSeries, m_btnImage}) {
        if (button == pressed)
            button->Select();
        else
            button->Deselect();
    }
    ShowItemElements(item);
}

void CDicomTagDisplayDlg::OnPatient()
{
    SelectDataButton(m_btnPatient, m_pPatientItem);
}

void CDicomTagDisplayDlg::OnStudy()
{
    SelectDataButton(m_btnStudy, m_pStudyItem);
}

void CDicomTagDisplayDlg::OnSeries()
{
    SelectDataButton(m_btnSeries, m_pSeriesItem);
}

void CDicomTagDisplayDlg::OnImage()
{
    SelectDataButton(m_btnImage, m_pImageItem);
}

void CDicomTagDisplayDlg::PositionDialog()
{
    try {
        QRect area;
        if (const QWidget* owner = parentWidget())
            area = owner->window()->geometry();
        else if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->geometry();
        if (area.isValid())
            move(area.center() - rect().center());
    } catch (...) {
        ReportSystemError(GetLastError(), "CDicomTagDisplayDlg::PositionDialog");
    }
}

void CDicomTagDisplayDlg::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        PaintBandGradient(painter, RECT{0, 0, width(), height()}, m_nBands, m_nGradientDirection);
    } catch (...) {
        // The background stops at the first failure
    }
}
