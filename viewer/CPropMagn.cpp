#include "viewer/CPropMagn.h"

// Qt
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

// std
#include <array>

// Orvane
#include "state/CAppState.h"
#include "viewer/IViewMainWindow.h"
#include "platform/Gdi.h"
#include "viewer/CImageWnd.h"

namespace {

constexpr std::array<int, 6> kSizes = {100, 200, 300, 400, 500, 600};
constexpr std::array<int, 4> kZooms = {18, 20, 25, 30};

} // namespace

int MagnifierSizeRadio(int size)
{
    for (size_t i = 0; i < kSizes.size(); ++i)
        if (kSizes[i] == size)
            return int(i);
    return 0;
}

int MagnifierSizeFromRadio(int radio)
{
    return radio >= 0 && radio < int(kSizes.size()) ? kSizes[size_t(radio)] : 100;
}

int MagnifierZoomRadio(int zoom)
{
    switch (zoom) {
    case 18: return 0;
    case 25: return 2;
    case 30: return 3;
    default: return 1;
    }
}

int MagnifierZoomFromRadio(int radio)
{
    return radio >= 0 && radio < int(kZooms.size()) ? kZooms[size_t(radio)] : 18;
}

CMagnPage::CMagnPage(int templateId, const char* title, std::vector<Radio> radios, QWidget* parent)
    : QWidget(parent)
    , m_nTemplateId(templateId)
    , m_strTitle(QLatin1String(title))
{
    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("1068"));
    auto* buttons = new QVBoxLayout(m_group);
    for (const Radio& radio : radios) {
        auto* button = new QRadioButton(QLatin1String(radio.text), m_group);
        button->setObjectName(QString::number(radio.id));
        buttons->addWidget(button);
        m_radios.push_back(button);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    DoDataExchange(false);
}

void CMagnPage::DoDataExchange(bool bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_nRadio = -1;
        for (size_t i = 0; i < m_radios.size(); ++i)
            if (m_radios[i]->isChecked())
                m_nRadio = int(i);
        return;
    }
    for (size_t i = 0; i < m_radios.size(); ++i) {
        // Unchecking needs the group's exclusivity off for a moment
        m_radios[i]->setAutoExclusive(false);
        m_radios[i]->setChecked(int(i) == m_nRadio);
        m_radios[i]->setAutoExclusive(true);
    }
}

CPPSize::CPPSize(QWidget* parent)
    : CMagnPage(164, "Size", {{1023, "100"}, {1025, "200"}, {1026, "300"}, {1006, "400"}, {1007, "500"}, {1008, "600"}}, parent)
{
}

CPPZoom::CPPZoom(QWidget* parent)
    : CMagnPage(165, "Zoom", {{1023, "100"}, {1025, "120"}, {1026, "150"}, {1006, "180"}}, parent)
{
}

CPPShape::CPPShape(QWidget* parent)
    : CMagnPage(163, "Shape", {{1023, "Rectangular"}, {1025, "Round"}}, parent)
{
}

CPropMagn::CPropMagn(const char* title, QWidget* parent, UINT selectPage)
    : QDialog(parent)
{
    setWindowTitle(QLatin1String(title));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(Gdi::PointFont(QStringLiteral("MS Sans Serif"), 80));
    m_tabs = new QTabWidget(this);
    // The order of the tabs: size, zoom, shape
    for (CMagnPage* page : {static_cast<CMagnPage*>(&m_pageSize), static_cast<CMagnPage*>(&m_pageZoom),
                            static_cast<CMagnPage*>(&m_pageShape)})
        m_tabs->addTab(page, page->GetTitle());
    if (int(selectPage) < m_tabs->count())
        m_tabs->setCurrentIndex(int(selectPage));
    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    connect(m_btnOK, &QPushButton::clicked, this, &CPropMagn::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CPropMagn::~CPropMagn() = default;

void CPropMagn::SetValues(int shape, int size, int zoom)
{
    m_pageShape.m_nRadio = shape;
    m_pageSize.m_nRadio = MagnifierSizeRadio(size);
    m_pageZoom.m_nRadio = MagnifierZoomRadio(zoom);
    for (CMagnPage* page : {static_cast<CMagnPage*>(&m_pageSize), static_cast<CMagnPage*>(&m_pageZoom),
                            static_cast<CMagnPage*>(&m_pageShape)})
        page->DoDataExchange(false);
}

void CPropMagn::GetValues(int* shape, int* sizeRadio, int* zoomRadio) const
{
    if (shape)
        *shape = m_pageShape.m_nRadio;
    if (sizeRadio)
        *sizeRadio = m_pageSize.m_nRadio;
    if (zoomRadio)
        *zoomRadio = m_pageZoom.m_nRadio;
}

void CPropMagn::accept()
{
    for (CMagnPage* page : {static_cast<CMagnPage*>(&m_pageSize), static_cast<CMagnPage*>(&m_pageZoom),
                            static_cast<CMagnPage*>(&m_pageShape)})
        page->DoDataExchange(true);
    QDialog::accept();
}

int CPropMagn::DoModal()
{
    return exec();
}

void CPropMagn::ApplyToMagnifier(CImageWnd* pMagnifier) const
{
    int shape = 0;
    int sizeRadio = 0;
    int zoomRadio = 0;
    GetValues(&shape, &sizeRadio, &zoomRadio);
    const int size = MagnifierSizeFromRadio(sizeRadio);
    const int zoom = MagnifierZoomFromRadio(zoomRadio);
    if (pMagnifier)
        pMagnifier->SetMagnifierSettings(shape, size, zoom, 1);
    theApp.m_nMagnifierOption = 1;
    theApp.m_nMagnifierZoom = zoom;
    theApp.m_nMagnifierSize = size;
}

CPropMagn* CPropMagn::OpenMagnifierSettings(QWidget* pView)
{
    CImageWnd* magnifier = CImageWnd::GetMagnifierWindow(pView);
    if (magnifier)
        magnifier->hide();
    QWidget* owner = pView ? pView->window() : GetViewMainWindow() ? GetViewMainWindow()->GetWindow() : nullptr;
    auto* sheet = new CPropMagn("Magnifying Glass Properties", owner);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    int shape = 0;
    int size = theApp.m_nMagnifierSize;
    int zoom = theApp.m_nMagnifierZoom;
    if (magnifier)
        magnifier->GetMagnifierSettings(&shape, &size, &zoom);
    sheet->SetValues(shape, size, zoom);
    QPointer<CImageWnd> target(magnifier);
    connect(sheet, &QDialog::accepted, sheet, [sheet, target] { sheet->ApplyToMagnifier(target); });
    sheet->setWindowModality(Qt::ApplicationModal);
    sheet->show();
    return sheet;
}
