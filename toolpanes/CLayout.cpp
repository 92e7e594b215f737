#include "toolpanes/CLayout.h"

// Qt
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

// Orvane
#include "state/CAppState.h"
#include "platform/Gdi.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "toolpanes/CLayoutPickerDlg.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"

namespace {

QRect Dlu(int x, int y, int w, int h)
{
    return QRect(Gdi::DluX(x), Gdi::DluY(y), Gdi::DluX(w), Gdi::DluY(h));
}

// The wait cursor while a command runs
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CLayout::CLayout(QWidget* parent)
    : QWidget(parent)
    , m_btnLayout1x1(IDC_BTN_LAYOUT1X1, this)
    , m_btnLayout1x2(IDC_BTN_LAYOUT1X2, this)
    , m_btnLayout2x1(IDC_BTN_LAYOUT2X1, this)
    , m_btnLayout2x2(IDC_BTN_LAYOUT2X2, this)
    , m_btnLayout4x2(IDC_BTN_LAYOUT4X2, this)
    , m_btnLayout4x4(IDC_BTN_LAYOUT4X4, this)
    , m_btnCustom(IDC_BTN_CUSTOM, this)
    , m_lblStudy(this)
    , m_lblSeries(this)
    , m_lblImage(this)
    , m_radStudy(this)
    , m_radSeries(this)
    , m_radImage(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    for (CSkinGroupBox*& group : m_apGroups)
        group = new CSkinGroupBox(this);
}

CLayout::~CLayout()
{
    delete m_pLayoutPicker.data();
}

BOOL CLayout::OnInitDialog()
{
    resize(Gdi::DluX(119), Gdi::DluY(118));
    // The frames first, so that the controls lie above them
    const QRect groups[8] = {Dlu(3, 2, 46, 113),  Dlu(49, 2, 33, 31), Dlu(82, 2, 33, 31),  Dlu(49, 32, 33, 31),
                             Dlu(82, 32, 33, 31), Dlu(49, 62, 33, 31), Dlu(82, 62, 33, 31), Dlu(49, 93, 66, 22)};
    for (size_t i = 0; i < m_apGroups.size(); ++i) {
        m_apGroups[i]->setGeometry(groups[i]);
        m_apGroups[i]->lower();
    }
    m_radStudy.setGeometry(Dlu(6, 14, 9, 9));
    m_radStudy.hide();
    m_radSeries.setGeometry(Dlu(6, 29, 9, 9));
    m_radImage.setGeometry(Dlu(5, 60, 9, 9));
    m_lblStudy.setGeometry(Dlu(18, 14, 42, 13));
    m_lblStudy.setText(QStringLiteral("Study"));
    m_lblStudy.hide();
    m_lblSeries.setGeometry(Dlu(18, 29, 41, 13));
    m_lblSeries.setText(QStringLiteral("Series"));
    m_lblImage.setGeometry(Dlu(17, 59, 41, 13));
    m_lblImage.setText(QStringLiteral("Image"));

    struct Button
    {
        CImageButton* button;
        QRect rect;
        UINT skin;
    };
    const Button buttons[7] = {
        {&m_btnLayout1x1, Dlu(53, 7, 26, 22), 345},  {&m_btnLayout1x2, Dlu(86, 7, 26, 22), 346},
        {&m_btnLayout2x1, Dlu(53, 37, 26, 22), 347}, {&m_btnLayout2x2, Dlu(86, 37, 26, 22), 348},
        {&m_btnLayout4x2, Dlu(53, 67, 26, 22), 349}, {&m_btnLayout4x4, Dlu(86, 67, 26, 22), 350},
        {&m_btnCustom, Dlu(53, 96, 59, 18), 344},
    };
    for (const Button& b : buttons) {
        b.button->setGeometry(b.rect);
        b.button->SetImages(b.skin, b.skin, b.skin);
        b.button->setFocusPolicy(Qt::NoFocus);
        connect(b.button, &CImageButton::Command, this, [this](int nID) {
            // A release that ended away from the button is no click
            if (nID == m_nReleasedInside) {
                m_nReleasedInside = 0;
                OnCommand(nID);
            }
        });
    }
    m_rcCustomHover = m_btnCustom.geometry().adjusted(0, 0, 10, 0);

    // The mode the grid was filled by; study mode is shown as series mode
    if (theApp.m_nLayoutMode != 2)
        theApp.m_nLayoutMode = 1;
    m_nLayoutRadio = theApp.m_nLayoutMode;
    UpdateRadios();
    connect(&m_radSeries, &QRadioButton::clicked, this, &CLayout::OnRadioSeries);
    connect(&m_radImage, &QRadioButton::clicked, this, &CLayout::OnRadioImage);
    connect(&m_radStudy, &QRadioButton::clicked, this, &CLayout::OnRadioStudy);

    try {
        // 16 points at the screen's 96 dots per inch
        const QFont font = Gdi::Font(QStringLiteral("Arial"), -((16 * 96 + 36) / 72));
        for (CTransparentStatic* label : {&m_lblStudy, &m_lblSeries, &m_lblImage})
            label->setFont(font);
    } catch (...) {
        ReportSystemError(GetLastError(), "CLayout::OnInitDialog() - Font");
    }

    // Every move over the panel decides whether the picker stays
    Watch(this);
    for (QWidget* child : findChildren<QWidget*>())
        Watch(child);
    return TRUE;
}

void CLayout::Watch(QWidget* widget)
{
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

int CLayout::LayoutCommandOf(int nButtonID)
{
    switch (nButtonID) {
    case IDC_BTN_LAYOUT1X1:
        return ID_FRAME_SINGLELAYOUT;
    case IDC_BTN_LAYOUT1X2:
        return ID_FRAME_LAYOUT1X2;
    case IDC_BTN_LAYOUT2X1:
        return ID_FRAME_LAYOUT2X1;
    case IDC_BTN_LAYOUT2X2:
        return ID_FRAME_LAYOUT2X2;
    case IDC_BTN_LAYOUT4X2:
        return ID_FRAME_LAYOUT4X2;
    case IDC_BTN_LAYOUT4X4:
        return ID_FRAME_LAYOUT4X4;
    default:
        return 0;
    }
}

void CLayout::OnCommand(int nID)
{
    try {
        WaitCursor wait;
        if (const int command = LayoutCommandOf(nID)) {
            hide();
            g_bLayoutPopupShown = 0;
            if (m_pLayoutPicker)
                m_pLayoutPicker->hide();
            if (CMyFrameWnd* grid = theApp.m_pViewGridFrame)
                grid->OnCommand(command);
        } else if (nID == IDC_BTN_CUSTOM) {
            OnCustom();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "Layout::WindowProc");
    }
}

void CLayout::UpdateRadios()
{
    m_radStudy.setChecked(m_nLayoutRadio == 0);
    m_radSeries.setChecked(m_nLayoutRadio == 1);
    m_radImage.setChecked(m_nLayoutRadio == 2);
}

void CLayout::ReadRadios()
{
    m_nLayoutRadio = m_radImage.isChecked() ? 2 : m_radStudy.isChecked() ? 0 : 1;
}

void CLayout::OnRadioSeries()
{
    ReadRadios();
    if (theApp.m_nLayoutMode == 1)
        return;
    if (CMyFrameWnd* grid = theApp.m_pViewGridFrame)
        grid->m_bSeriesLayout = 1;
    theApp.m_nLayoutMode = 1;
    ChangeLayout(1);
}

void CLayout::OnRadioImage()
{
    ReadRadios();
    if (theApp.m_nLayoutMode == 2)
        return;
    if (CMyFrameWnd* grid = theApp.m_pViewGridFrame)
        grid->m_bSeriesLayout = 0;
    theApp.m_nLayoutMode = 2;
    ChangeLayout(2);
}

void CLayout::OnRadioStudy()
{
    ReadRadios();
    if (theApp.m_nLayoutMode == 0)
        return;
    theApp.m_nLayoutMode = 0;
    ChangeLayout(0);
}

void CLayout::OnCustom()
{
    ShowCustomLayout(TRUE);
}

void CLayout::SelectMode(int mode)
{
    m_nLayoutRadio = mode;
    UpdateRadios();
    theApp.m_nLayoutMode = mode;
    ChangeLayout(mode);
}

void CLayout::ChangeLayout(int mode)
{
    try {
        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        if (!grid)
            return;
        if (grid->m_nRows <= 0 && grid->m_nCols <= 0) {
            grid->OnCommand(ID_FRAME_SINGLELAYOUT);
            return;
        }
        if (mode == 2)
            grid->RebuildSplitterForImageLayout();
        else if (mode == 1)
            grid->RebuildSplitter();
    } catch (...) {
        ReportSystemError(GetLastError(), "CLayout::ChangeLayout");
    }
}

void CLayout::ShowCustomLayout(BOOL bShow)
{
    if (!bShow) {
        if (m_pLayoutPicker) {
            m_pLayoutPicker->hide();
            // Deleted from the event loop: the move that closes it may come from inside it
            m_pLayoutPicker->deleteLater();
            m_pLayoutPicker = nullptr;
        }
        return;
    }
    if (m_pLayoutPicker)
        return;
    QWidget* holder = parentWidget() ? parentWidget() : this;
    auto* picker = new CLayoutPickerDlg(this, holder);
    m_pLayoutPicker = picker;
    g_bLayoutPopupShown = 1;
    // Left edge 10 pixels right of the Custom button, bottoms level
    const QRect custom(m_btnCustom.mapTo(holder, QPoint(0, 0)), m_btnCustom.size());
    picker->move(custom.right() + 1 + 10, custom.bottom() + 1 - picker->height());
    picker->show();
    picker->raise();
}

void CLayout::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int h = height();
    for (int y = 0; y < h; ++y) {
        const int grey = ToolBarGeometry::GradientGrey(y, h);
        painter.fillRect(0, y, width(), 1, QColor(grey, grey, grey));
    }
}

void CLayout::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_pLayoutPicker)
        m_pLayoutPicker->hide();
}

bool CLayout::eventFilter(QObject* watched, QEvent* event)
{
    try {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            // A click on a label chooses its mode
            if (watched == &m_lblStudy)
                SelectMode(0);
            else if (watched == &m_lblSeries)
                SelectMode(1);
            else if (watched == &m_lblImage)
                SelectMode(2);
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (auto* button = qobject_cast<CImageButton*>(watched); button && mouse->button() == Qt::LeftButton)
                m_nReleasedInside = button->rect().contains(mouse->position().toPoint()) ? button->GetDlgCtrlID() : 0;
            break;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint p = mapFromGlobal(mouse->globalPosition().toPoint());
            ShowCustomLayout(m_rcCustomHover.contains(p) ? TRUE : FALSE);
            break;
        }
        default:
            break;
        }
    } catch (...) {
    }
    return QWidget::eventFilter(watched, event);
}
